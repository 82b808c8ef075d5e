#pragma once
// The command line: nothing but, optionally, one document file to open at
// start-up (a double-clicked file).

#include <optional>

#include <QStringList>

namespace vinkring {

struct StartupArguments {
    bool valid = false;
    std::optional<QString> document;  // absolute path
    QString problem;                  // the usage text when not valid
};

StartupArguments parseStartupArguments(const QStringList& arguments);

}  // namespace vinkring
