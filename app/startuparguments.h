#pragma once
// The command line: optionally one document file to open at start-up (a
// double-clicked file), --help and --version, and Qt's own options.

#include <optional>

#include <QStringList>

#include "model/outcome.h"

namespace vinkring {

// Not ok when the command line holds anything else; the reason is then the
// usage text.
struct StartupArguments : Outcome {
    std::optional<QString> document;  // absolute path
};

StartupArguments parseStartupArguments(const QStringList& arguments);

// For --help (-h) or --version among the arguments: the text to print before
// the program ends, which needs no display; nullopt otherwise. Works on the
// arguments as given, Qt's own options still among them.
std::optional<QString> immediateAnswer(const QStringList& arguments);

}  // namespace vinkring
