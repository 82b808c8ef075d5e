#include "platform/folders.h"

#include <QCoreApplication>
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

}  // namespace vinkring
