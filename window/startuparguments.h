#pragma once
// The command line: optionally one document file to open at start-up (a
// double-clicked file), --help and --version, and Qt's own options.

#include <optional>

#include <QStringList>

namespace vinkring {

struct StartupArguments {
    bool valid = false;
    std::optional<QString> document;  // absolute path
    QString problem;                  // the usage text when not valid
};

StartupArguments parseStartupArguments(const QStringList& arguments);

// For --help (-h) or --version among the arguments: the text to print before
// the program ends, which needs no display; nullopt otherwise. Works on the
// arguments as given, Qt's own options still among them.
std::optional<QString> immediateAnswer(const QStringList& arguments);

}  // namespace vinkring
