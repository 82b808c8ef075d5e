#include "platform/folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace vinkring {

QString QtFolders::programFolder() const
{
    return QCoreApplication::applicationDirPath();
}

QString QtFolders::cacheFolder() const
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
}

QString QtFolders::stateFolder() const
{
    // Qt 6.4's QStandardPaths has no state location yet: the XDG rule by hand.
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QLatin1Char('/') + QCoreApplication::applicationName();
}

}  // namespace vinkring
