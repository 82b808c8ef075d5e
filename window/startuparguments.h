#pragma once
// The command line: nothing but, optionally, one document file to open at
// start-up (a double-clicked file).

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

}  // namespace vinkring
