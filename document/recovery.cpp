#include "document/recovery.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <functional>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>

#include <unistd.h>

#include "document/documentfile.h"
#include "document/documentformat.h"
#include "document/windows1252.h"

namespace vinkring {

namespace {

const QString kFormat = QStringLiteral("vinkring-artikel herstelkopie");
constexpr int kVersion = 1;
const QString kCopySuffix = QStringLiteral(".herstel");
const QString kLockSuffix = QStringLiteral(".lock");
const QString kSetAsideSuffix = QStringLiteral(".onleesbaar");

QJsonArray lengths(const auto& texts)
{
    QJsonArray out;
    for (const QString& text : texts)
        out.append(qint64(text.size()));
    return out;
}

// Reads the texts of body whose lengths are given, each followed by marker
// (the last one only when markAfterLast). False when body does not hold them so.
bool cutTexts(QStringView body, qsizetype& at, const QJsonArray& sizes, const QString& marker, bool markAfterLast,
              const std::function<void(QString)>& take)
{
    for (qsizetype i = 0; i < sizes.size(); ++i) {
        const qint64 size = sizes.at(i).toInteger(-1);
        if (size < 0 || size > body.size() - at)
            return false;
        take(body.sliced(at, qsizetype(size)).toString());
        at += qsizetype(size);
        if (i + 1 < sizes.size() || markAfterLast) {
            if (!body.sliced(at).startsWith(marker))
                return false;
            at += marker.size();
        }
    }
    return true;
}

QString idOf(const QString& fileName, const QString& suffix)
{
    return fileName.chopped(suffix.size());
}

// A name for this run that no other run uses: its start and process number.
QString runId(int attempt)
{
    QString id = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss")) + QLatin1Char('-') +
                 QString::number(QCoreApplication::applicationPid());
    if (attempt > 0)
        id += QLatin1Char('-') + QString::number(attempt);
    return id;
}

std::unique_ptr<QLockFile> lockFor(const QDir& folder, const QString& id)
{
    auto lock = std::make_unique<QLockFile>(folder.filePath(id + kLockSuffix));
    // Only a living process holds a lock, however old.
    lock->setStaleLockTime(0);
    return lock;
}

// Why files cannot be made in folder (or in the nearest folder above it that
// exists): a read-only file system, no access, ...
QString folderProblem(QString folder)
{
    while (!QFileInfo::exists(folder) && QFileInfo(folder).absolutePath() != folder)
        folder = QFileInfo(folder).absolutePath();
    if (!QFileInfo(folder).isDir())
        return failureReason(QFileDevice::OpenError, ENOTDIR);
    errno = 0;
    ::access(QFile::encodeName(folder).constData(), W_OK);
    return failureReason(QFileDevice::OpenError, errno);
}

bool renameOver(const QString& from, const QString& to)
{
    // QFile::rename does not replace an existing file; rename(2) does, in one step.
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

// Whether the time can be written as the copy writes it: ISO 8601 in UTC
// has four digits for the year.
bool writableTime(const QDateTime& time)
{
    const int year = time.toUTC().date().year();
    return time.isValid() && year >= 1 && year <= 9999;
}

}  // namespace

QByteArray recoveryBytes(const RecoveryCopy& copy)
{
    const QJsonObject header{{QStringLiteral("format"), kFormat},
                             {QStringLiteral("version"), kVersion},
                             {QStringLiteral("file"), copy.fileName},
                             {QStringLiteral("time"), copy.savedAt.toUTC().toString(Qt::ISODateWithMs)},
                             {QStringLiteral("fields"), lengths(copy.document.fields)},
                             {QStringLiteral("links"), lengths(copy.document.links)}};
    QByteArray out = QJsonDocument(header).toJson(QJsonDocument::Compact);
    out += '\n';
    out += SerializeDocument(copy.document).toUtf8();
    return out;
}

std::optional<RecoveryCopy> parseRecovery(QByteArrayView bytes)
{
    const qsizetype lineEnd = bytes.indexOf('\n');
    if (lineEnd < 0)
        return std::nullopt;
    const QJsonObject header = QJsonDocument::fromJson(bytes.first(lineEnd).toByteArray()).object();
    const QJsonArray fields = header.value(QStringLiteral("fields")).toArray();
    const QJsonArray links = header.value(QStringLiteral("links")).toArray();
    RecoveryCopy copy;
    copy.fileName = header.value(QStringLiteral("file")).toString();
    copy.savedAt = QDateTime::fromString(header.value(QStringLiteral("time")).toString(), Qt::ISODateWithMs);
    // The work comes back only as a document file may hold it (so that it
    // can be saved and opened again), and as this copy would be written again.
    if (header.value(QStringLiteral("format")).toString() != kFormat ||
        header.value(QStringLiteral("version")).toInt() != kVersion || fields.size() != qsizetype(kFieldCount) ||
        links.size() > kMaxLinkLines || !writableTime(copy.savedAt))
        return std::nullopt;

    // Written as a document file, the texts take no more bytes than here
    // (the byte-order mark and the line end aside).
    const QByteArrayView bodyBytes = bytes.sliced(lineEnd + 1);
    if (bodyBytes.size() + 5 > kMaxDocumentFileBytes)
        return std::nullopt;
    const std::optional<QString> body = decodeUtf8(bodyBytes);
    if (!body)
        return std::nullopt;
    qsizetype at = 0;
    std::size_t field = 0;
    const bool whole =
        cutTexts(*body, at, fields, kFieldMarker, true,
                 [&](QString text) { copy.document.fields[field++] = std::move(text); }) &&
        cutTexts(*body, at, links, kLinkMarker, false, [&](QString line) { copy.document.links.append(line); });
    if (!whole || at != body->size())
        return std::nullopt;
    return copy;
}

RecoveryStore::RecoveryStore(const QString& folder) : folder_(folder)
{
    const QDir dir(folder);
    if (!QDir().mkpath(folder)) {
        problem_ = folderProblem(folder);
        return;
    }
    // The work is the writer's own.
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString id = runId(attempt);
        std::unique_ptr<QLockFile> lock = lockFor(dir, id);
        if (!lock->tryLock(0)) {
            if (lock->error() == QLockFile::LockFailedError)
                continue;
            problem_ = folderProblem(folder);
            return;
        }
        const QString path = dir.filePath(id + kCopySuffix);
        if (QFileInfo::exists(path))
            continue;  // an earlier run's copy under the same name stays as it is
        copyPath_ = path;
        lock_ = std::move(lock);
        return;
    }
    problem_ = failureReason(QFileDevice::OpenError, EEXIST);
}

RecoveryStore::~RecoveryStore() = default;

Outcome RecoveryStore::write(const RecoveryCopy& copy)
{
    if (!isOpen())
        return Outcome::failed(problem_);
    const QByteArray bytes = recoveryBytes(copy);
    const QMutexLocker hold(&mutex_);
    return writeFileDurably(copyPath_, bytes);
}

void RecoveryStore::remove()
{
    if (!isOpen())
        return;
    const QMutexLocker hold(&mutex_);
    QFile::remove(copyPath_);
}

std::vector<RecoveryStore::LeftOver> RecoveryStore::takeLeftOvers()
{
    std::vector<LeftOver> found;
    if (!isOpen())
        return found;
    const QDir dir(folder_);
    const QString ownId = idOf(QFileInfo(copyPath_).fileName(), kCopySuffix);
    for (const QString& name : dir.entryList({QLatin1Char('*') + kCopySuffix}, QDir::Files)) {
        const QString id = idOf(name, kCopySuffix);
        std::unique_ptr<QLockFile> lock = lockFor(dir, id);
        if (id == ownId || !lock->tryLock(0))
            continue;  // this run's, or a running program's
        LeftOver left{dir.filePath(name), std::nullopt, std::move(lock)};
        QFile file(left.path);
        if (file.open(QIODevice::ReadOnly))
            left.copy = parseRecovery(file.readAll());
        found.push_back(std::move(left));
    }
    for (const QString& name : dir.entryList({QLatin1Char('*') + kLockSuffix}, QDir::Files)) {
        const QString id = idOf(name, kLockSuffix);
        if (id != ownId && !QFileInfo::exists(dir.filePath(id + kCopySuffix)))
            lockFor(dir, id)->tryLock(0);  // taken and let go: the lock file of an ended run goes
    }
    std::stable_sort(found.begin(), found.end(), [](const LeftOver& a, const LeftOver& b) {
        if (a.copy && b.copy)
            return a.copy->savedAt > b.copy->savedAt;
        return a.copy.has_value() && !b.copy.has_value();
    });
    return found;
}

bool RecoveryStore::adopt(LeftOver& left)
{
    if (!isOpen())
        return false;
    const QMutexLocker hold(&mutex_);
    if (!renameOver(left.path, copyPath_))
        return false;
    left.lock.reset();
    return true;
}

void RecoveryStore::discard(LeftOver& left)
{
    QFile::remove(left.path);
    left.lock.reset();
}

QString RecoveryStore::setAside(LeftOver& left)
{
    const QString aside = left.path.chopped(kCopySuffix.size()) + kSetAsideSuffix;
    renameOver(left.path, aside);
    left.lock.reset();
    return aside;
}

}  // namespace vinkring
