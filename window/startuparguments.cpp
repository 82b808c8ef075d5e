#include "window/startuparguments.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include "model/texts.h"

namespace vinkring {

StartupArguments parseStartupArguments(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("document"), QString());
    QString problem;
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        const QString dashes = unknown.value(0).size() == 1 ? QStringLiteral("-") : QStringLiteral("--");
        problem = unknown.isEmpty() ? parser.errorText()
                                    : toQString(messages::kUnknownOption).arg(dashes, unknown.first());
    } else if (parser.positionalArguments().size() > 1) {
        problem = toQString(messages::kOneDocumentOnly);
    }
    if (!problem.isEmpty()) {
        return {Outcome::failed(toQString(messages::kUsage).arg(problem)), std::nullopt};
    }
    StartupArguments result;
    if (!parser.positionalArguments().isEmpty()) {
        const QString path = parser.positionalArguments().first();
        result.document = path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
    }
    return result;
}

}  // namespace vinkring
