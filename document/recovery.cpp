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

#include <unistd.h>

#include "document/documentfile.h"
#include "document/documentformat.h"
#include "document/plainfile.h"
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

// Whether anything, also a link to nothing, bears this name.
bool taken(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
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

// Moves what is at path out of the way, under a name no other entry has;
// returns the name it has now.
QString moveAside(const QString& path, const QString& base)
{
    QString aside = base + kSetAsideSuffix;
    for (int n = 2; taken(aside) && n < 1000; ++n)
        aside = base + QLatin1Char('-') + QString::number(n) + kSetAsideSuffix;
    return !taken(aside) && renameOver(path, aside) ? aside : path;
}

// The lock that keeps a left-over copy this run's while it is offered;
// nullopt when a living run holds it.
std::optional<std::unique_ptr<RunLock>> claim(const QDir& dir, const QString& id)
{
    const QString path = dir.filePath(id + kLockSuffix);
    RunLock::Attempt attempt = RunLock::take(path, RunLock::Make::IfMissing);
    if (attempt.outcome == RunLock::Outcome::NotAFile) {
        // No run makes its lock so, so nobody holds it; it makes way for one
        // that can be held. It holds no work: gone, or aside when it cannot
        // go (a folder with something in it). std::remove never follows a link.
        if (std::remove(QFile::encodeName(path).constData()) != 0)
            moveAside(path, path);
        attempt = RunLock::take(path, RunLock::Make::IfMissing);
    }
    if (attempt.outcome == RunLock::Outcome::Held)
        return std::nullopt;
    return std::move(attempt.lock);
}

// The copies of a document file of the largest size, with room for its header.
constexpr qint64 kMaxCopyBytes = kMaxDocumentFileBytes + 1024 * 1024;

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
                             {QStringLiteral("time"), writableTime(copy.savedAt)
                                                          ? copy.savedAt.toUTC().toString(Qt::ISODateWithMs)
                                                          : QString()},
                             {QStringLiteral("fields"), lengths(copy.document.fields)},
                             {QStringLiteral("links"), lengths(copy.document.links)}};
    QByteArray out = QJsonDocument(header).toJson(QJsonDocument::Compact);
    out += '\n';
    appendSerializedUtf8(out, copy.document);
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
    // A time that was lost or cannot be written again leaves the texts
    // intact: the copy comes back without one.
    copy.savedAt = QDateTime::fromString(header.value(QStringLiteral("time")).toString(), Qt::ISODateWithMs);
    if (!writableTime(copy.savedAt))
        copy.savedAt = QDateTime();
    // The work comes back only as a document file may hold it (so that it
    // can be saved and opened again).
    if (header.value(QStringLiteral("format")).toString() != kFormat ||
        header.value(QStringLiteral("version")).toInt() != kVersion || fields.size() != qsizetype(kFieldCount) ||
        links.size() > kMaxLinkLines)
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
    errno = 0;
    if (!QDir().mkpath(folder)) {
        const int why = errno;
        problem_ = why != 0 && why != EEXIST ? failureReason(QFileDevice::OpenError, why) : folderProblem(folder);
        return;
    }
    // The work is the writer's own.
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString id = runId(attempt);
        const QString path = dir.filePath(id + kCopySuffix);
        if (taken(path))
            continue;  // an earlier run's copy under the same name stays as it is
        RunLock::Attempt own = RunLock::take(dir.filePath(id + kLockSuffix), RunLock::Make::Fresh);
        if (own.outcome == RunLock::Outcome::Failed && own.error != EEXIST) {
            problem_ = failureReason(QFileDevice::OpenError, own.error);
            return;
        }
        if (own.outcome != RunLock::Outcome::Taken)
            continue;
        if (taken(path)) {
            own.lock->removeFile();
            continue;
        }
        copyPath_ = path;
        lock_ = std::move(own.lock);
        return;
    }
    problem_ = failureReason(QFileDevice::OpenError, EEXIST);
}

RecoveryStore::~RecoveryStore()
{
    if (lock_)
        lock_->removeFile();
}

Outcome RecoveryStore::write(const RecoveryCopy& copy)
{
    if (!isOpen())
        return Outcome::failed(problem_);
    const QByteArray bytes = recoveryBytes(copy);
    const QMutexLocker hold(&mutex_);
    return writeFileDurably(copyPath_, bytes, QFile::ReadOwner | QFile::WriteOwner);
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
    const QDir dir(folder_);
    const QString ownId = isOpen() ? idOf(QFileInfo(copyPath_).fileName(), kCopySuffix) : QString();
    // Entries of every kind: what is no plain file is never opened (below).
    const QDir::Filters every = QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot;
    for (const QString& name : dir.entryList({QLatin1Char('*') + kCopySuffix}, every)) {
        const QString id = idOf(name, kCopySuffix);
        if (isOpen() && id == ownId)
            continue;
        std::optional<std::unique_ptr<RunLock>> lock = claim(dir, id);
        if (!lock)
            continue;  // a running program's
        LeftOver left{dir.filePath(name), std::nullopt, std::move(*lock)};
        const PlainFileRead read = ReadPlainFile(left.path, kMaxCopyBytes, FollowLinks::No);
        if (read.outcome == PlainFileRead::Outcome::Read)
            left.copy = parseRecovery(read.bytes);
        found.push_back(std::move(left));
    }
    for (const QString& name : dir.entryList({QLatin1Char('*') + kLockSuffix}, every)) {
        const QString id = idOf(name, kLockSuffix);
        if (isOpen() && id == ownId)
            continue;
        // Taken only from an ended run, and while taken no run makes the copy.
        const RunLock::Attempt ended = RunLock::take(dir.filePath(name), RunLock::Make::IfMissing);
        if (ended.lock && !taken(dir.filePath(id + kCopySuffix)))
            ended.lock->removeFile();
    }
    // Newest first; a copy without a time after those with one.
    const auto rank = [](const LeftOver& left) { return left.copy ? (left.copy->savedAt.isValid() ? 0 : 1) : 2; };
    std::stable_sort(found.begin(), found.end(), [&](const LeftOver& a, const LeftOver& b) {
        if (rank(a) != rank(b))
            return rank(a) < rank(b);
        return rank(a) == 0 && a.copy->savedAt > b.copy->savedAt;
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
    if (left.lock)
        left.lock->removeFile();
    left.lock.reset();
    return true;
}

void RecoveryStore::discard(LeftOver& left)
{
    if (QFile::remove(left.path) && left.lock)
        left.lock->removeFile();
    left.lock.reset();
}

QString RecoveryStore::setAside(LeftOver& left)
{
    const QString aside = moveAside(left.path, left.path.chopped(kCopySuffix.size()));
    if (aside != left.path && left.lock)
        left.lock->removeFile();
    left.lock.reset();
    return aside;
}

}  // namespace vinkring
