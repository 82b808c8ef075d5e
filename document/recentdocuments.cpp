#include "document/recentdocuments.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "document/plainfile.h"

namespace vinkring {

namespace {

// Eight paths of a few hundred bytes; a larger file is no list of ours.
constexpr qint64 kLongestList = 64 * 1024;

QString absolute(const QString& path)
{
    return QFileInfo(path).absoluteFilePath();
}

}  // namespace

QStringList withNewest(QStringList paths, const QString& path)
{
    paths.removeAll(path);
    paths.prepend(path);
    return paths.mid(0, RecentDocuments::kMaxDocuments);
}

RecentDocuments::RecentDocuments(QString listFile) : listFile_(std::move(listFile))
{
    reload();
}

void RecentDocuments::reload()
{
    if (listFile_.isEmpty())
        return;
    // A pipe or a device in its place is never opened: it may wait for ever
    // or give bytes without end. A link to a plain file is read.
    const PlainFileRead file = ReadPlainFile(listFile_, kLongestList);
    if (!file.ok())
        return;  // none yet, unreadable or no list: the list of this run stays
    QStringList read;
    // One absolute path a line, in UTF-8; anything else is passed over.
    const QList<QByteArray> lines = file.bytes.split('\n');
    for (const QByteArray& line : lines) {
        const QString path = QString::fromUtf8(line);
        if (!path.isEmpty() && QDir::isAbsolutePath(path) && !read.contains(path))
            read.append(path);
    }
    paths_ = read.mid(0, kMaxDocuments);
}

void RecentDocuments::add(const QString& path)
{
    if (path.isEmpty())
        return;
    reload();
    paths_ = withNewest(paths_, absolute(path));
    write();
}

void RecentDocuments::remove(const QString& path)
{
    reload();
    paths_.removeAll(absolute(path));
    write();
}

void RecentDocuments::write() const
{
    if (listFile_.isEmpty())
        return;
    QDir().mkpath(QFileInfo(listFile_).absolutePath());
    QSaveFile file(listFile_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return;  // kept for this run
    for (const QString& path : paths_) {
        if (!path.contains(u'\n'))
            file.write(path.toUtf8() + '\n');
    }
    file.commit();
}

}  // namespace vinkring
