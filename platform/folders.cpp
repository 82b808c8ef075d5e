#include "platform/folders.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QDir>
#include <QStandardPaths>

namespace vinkring {

QString QtFolders::programFolder() const
{
    return QCoreApplication::applicationDirPath();
}

bool QtFolders::programFolderIsUsers() const
{
    return isUsersFolder(programFolder(), geteuid());
}

QString QtFolders::cacheFolder() const
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
}

bool isUsersFolder(const QString& folder, unsigned userId)
{
    const QFileInfo info(folder);
    // Symbolic links resolved: /bin is /usr/bin on a merged /usr.
    const QString path = info.canonicalFilePath();
    if (path.isEmpty() || !info.isDir())
        return false;
    for (const char* system : {"/usr", "/opt", "/snap", "/bin", "/sbin", "/lib"}) {
        const QString prefix = QString::fromLatin1(system);
        if (path == prefix || path.startsWith(prefix + QLatin1Char('/')))
            return false;
    }
    return info.ownerId() == userId;
}

QString QtFolders::stateFolder() const
{
    // Qt 6.4's QStandardPaths has no state location yet: the XDG rule by hand.
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QLatin1Char('/') + QCoreApplication::applicationName();
}

QString QtFolders::configFolder() const
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return base.isEmpty() ? QString() : base + QLatin1Char('/') + QCoreApplication::applicationName();
}

}  // namespace vinkring
