#include "app/startuparguments.h"

#include <QCommandLineParser>
#include <QFileInfo>

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
                                    : QStringLiteral("onbekende optie: %1%2").arg(dashes, unknown.first());
    } else if (parser.positionalArguments().size() > 1) {
        problem = QStringLiteral("niet meer dan één document tegelijk");
    }
    if (!problem.isEmpty()) {
        StartupArguments invalid;
        invalid.problem = QStringLiteral("vinkring-artikel: %1\nGebruik: vinkring-artikel [DOCUMENT.VKV]\n").arg(problem);
        return invalid;
    }
    StartupArguments result;
    result.valid = true;
    if (!parser.positionalArguments().isEmpty()) {
        const QString path = parser.positionalArguments().first();
        result.document = path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
    }
    return result;
}

}  // namespace vinkring
