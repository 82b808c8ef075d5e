#include "document/documentfile.h"

#include <algorithm>
#include <cerrno>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <sys/stat.h>

#include "model/texts.h"
#include "document/documentformat.h"
#include "document/durablefile.h"
#include "document/plainfile.h"
#include "document/windows1252.h"

namespace vinkring {

namespace {

DocumentReadResult readFailure(const QString& text)
{
    return {Outcome::failed(text + toQString(messages::kNothingChanged)), std::nullopt, QString()};
}

// Field markers in text, counted up to the 27 a document needs.
int countFieldMarkers(QByteArrayView text)
{
    int count = 0;
    for (qsizetype at = text.indexOf(kFieldMarkerBytes); at >= 0 && count < int(kFieldCount);
         at = text.indexOf(kFieldMarkerBytes, at + kFieldMarkerBytes.size()))
        ++count;
    return count;
}

// The length of the document string of doc: a text that is longer holds
// more parts than the 27 fields and the links.
qsizetype documentLength(const ArticleDocument& doc)
{
    qsizetype length = qsizetype(kFieldCount) * kFieldMarker.size();
    for (const QString& field : doc.fields)
        length += field.size();
    for (const QString& line : doc.links)
        length += line.size();
    return length + std::max<qsizetype>(0, doc.links.size() - 1) * kLinkMarker.size();
}

bool holdsNonAscii(QByteArrayView bytes)
{
    return std::any_of(bytes.begin(), bytes.end(), [](char c) { return (uchar(c) & 0x80) != 0; });
}

// Whether bytes are valid UTF-8. Checked in pieces cut between characters,
// through a buffer of one piece, so that a Windows-1252 file is found out at
// its first non-UTF-8 byte without decoding (or making room for) all of it.
bool isUtf8(QByteArrayView bytes)
{
    constexpr qsizetype kPiece = 64 * 1024;
    QStringDecoder decoder(QStringConverter::Utf8,
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    QString buffer;
    for (qsizetype at = 0; at < bytes.size();) {
        qsizetype next = std::min(at + kPiece, bytes.size());
        while (next < bytes.size() && (uchar(bytes[next]) & 0xC0) == 0x80)
            ++next;
        const QByteArrayView piece = bytes.sliced(at, next - at);
        buffer.resize(std::max(buffer.size(), decoder.requiredSpace(piece.size())));
        decoder.appendToBuffer(buffer.data(), piece);
        if (decoder.hasError())
            return false;
        at = next;
    }
    return true;
}

// The text bytes hold in UTF-8; a file in the code page is found out by
// the cheap check before the whole text is decoded.
std::optional<QString> decodeIfUtf8(QByteArrayView bytes)
{
    return isUtf8(bytes) ? decodeUtf8(bytes) : std::nullopt;
}

// The file's bytes, markers not checked. Windows-1252; but should those
// bytes happen to be valid UTF-8 beyond ASCII (text such as "Ã©"), or start
// like a UTF-8 byte-order mark ("ï»¿"), they would read back as other
// characters, and the file is written in UTF-8 behind its byte-order mark
// instead, which reads back as it was.
std::optional<QByteArray> encodeFile(const ArticleDocument& doc)
{
    std::optional<QByteArray> bytes;
    {
        const QString text = SerializeDocument(doc);
        bytes = encodeWindows1252(text);
        if (bytes && (bytes->startsWith(kUtf8ByteOrderMark) || (holdsNonAscii(*bytes) && isUtf8(*bytes))))
            bytes = utf8WithByteOrderMark(text);
    }  // the text goes before the bytes grow
    if (bytes)
        bytes->append("\r\n");
    return bytes;
}

// Which file is at path (its inode; 0 when none): one that a failed write
// left in place is the same file as before.
ino_t fileOnDisk(const QString& path)
{
    struct stat status;
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_ino : 0;
}

QString placeList(const ArticleDocument& doc, const std::vector<DocumentPlace>& places)
{
    QStringList lines;
    for (const DocumentPlace& place : places)
        lines << QStringLiteral("- ") + describePlace(doc, place);
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

QString describePlace(const ArticleDocument& doc, const DocumentPlace& place)
{
    if (place.kind == DocumentPlace::Kind::Field)
        return QString::fromStdString(fieldCaption(kFields.at(std::size_t(place.index))));
    constexpr qsizetype kShown = 50;
    QString line = place.index < doc.links.size() ? doc.links.at(place.index) : QString();
    if (line.size() > kShown)
        line = line.left(kShown) + QChar(0x2026);
    line.replace(QLatin1String("\r\n"), QLatin1String(" "));
    return toQString(messages::kLinkPlace).arg(place.index + 1).arg(line);
}

std::vector<DocumentPlace> placesWithMarkers(const ArticleDocument& doc)
{
    std::vector<DocumentPlace> places;
    for (std::size_t i = 0; i < doc.fields.size(); ++i) {
        if (doc.fields[i].contains(kFieldMarker))
            places.push_back({DocumentPlace::Kind::Field, qsizetype(i)});
    }
    for (qsizetype i = 0; i < doc.links.size(); ++i) {
        const QString& line = doc.links.at(i);
        if (line.contains(kLinkMarker) || line.contains(kFieldMarker))
            places.push_back({DocumentPlace::Kind::Link, i});
    }
    return places;
}

std::vector<UnencodableText> placesWithUnencodable(const ArticleDocument& doc)
{
    std::vector<UnencodableText> found;
    for (std::size_t i = 0; i < doc.fields.size(); ++i) {
        QStringList chars = unencodableCharacters(doc.fields[i]);
        if (!chars.isEmpty())
            found.push_back({{DocumentPlace::Kind::Field, qsizetype(i)}, std::move(chars)});
    }
    for (qsizetype i = 0; i < doc.links.size(); ++i) {
        QStringList chars = unencodableCharacters(doc.links.at(i));
        if (!chars.isEmpty())
            found.push_back({{DocumentPlace::Kind::Link, i}, std::move(chars)});
    }
    return found;
}

ArticleDocument withUnencodableReplaced(const ArticleDocument& doc)
{
    ArticleDocument out;
    for (std::size_t i = 0; i < doc.fields.size(); ++i)
        out.fields[i] = replaceUnencodable(doc.fields[i]);
    out.links.reserve(doc.links.size());
    for (const QString& line : doc.links)
        out.links.append(replaceUnencodable(line));
    return out;
}

std::optional<QByteArray> documentFileBytes(const ArticleDocument& doc)
{
    if (!placesWithMarkers(doc).empty())
        return std::nullopt;
    return encodeFile(doc);
}

DocumentReadResult parseDocumentFile(QByteArrayView bytes, const QString& path)
{
    // CR and LF are the same bytes in Windows-1252: the text is taken apart
    // without being decoded whole (a document can run to megabytes).
    QByteArrayView text = bytes;
    const bool byteOrderMark = text.startsWith(kUtf8ByteOrderMark);
    if (byteOrderMark)
        text = text.sliced(kUtf8ByteOrderMark.size());
    if (text.endsWith("\r\n"))
        text.chop(2);
    else if (text.endsWith('\n'))
        text.chop(1);
    if (text.isEmpty())
        return readFailure(toQString(messages::kFileEmpty).arg(quotedPath(path)));

    const std::optional<QString> utf8 =
        byteOrderMark || holdsNonAscii(text) ? decodeIfUtf8(text) : std::optional<QString>();
    std::optional<ArticleDocument> doc = utf8 ? ParseDocument(*utf8) : parseDocumentWindows1252(text);
    if (!doc) {
        return readFailure(toQString(messages::kNotADocument)
                               .arg(quotedPath(path))
                               .arg(countFieldMarkers(text))
                               .arg(kFieldCount)
                               .arg(kFieldMarker));
    }
    if (doc->links.size() > kMaxLinkLines) {
        return readFailure(toQString(messages::kFileTooManyLinks)
                               .arg(quotedPath(path))
                               .arg(doc->links.size())
                               .arg(kMaxLinkLines));
    }
    QString notice;
    if (documentLength(*doc) < (utf8 ? utf8->size() : text.size()))
        notice = toQString(messages::kExtraFieldMarkers).arg(quotedPath(path)).arg(kFieldCount).arg(kFieldMarker);
    return {Outcome::done(), std::move(doc), notice, utf8 ? FileEncoding::Utf8 : FileEncoding::CodePage};
}

DocumentReadResult ReadDocumentFile(const QString& path)
{
    const PlainFileRead read = ReadPlainFile(path, kMaxDocumentFileBytes);
    if (!read.ok())
        return readFailure(read.message(path));
    return parseDocumentFile(read.bytes, path);
}

Outcome WriteDocumentFile(const QString& path, const ArticleDocument& doc, FileEncoding encoding)
{
    const std::vector<DocumentPlace> markers = placesWithMarkers(doc);
    if (!markers.empty()) {
        return Outcome::failed(toQString(messages::kMarkersRefused)
                                   .arg(quotedPath(path), kFieldMarker, kLinkMarker, placeList(doc, markers)));
    }
    std::optional<QByteArray> bytes;
    if (encoding == FileEncoding::Utf8) {
        bytes = kUtf8ByteOrderMark.toByteArray();
        appendSerializedUtf8(*bytes, doc);
        *bytes += "\r\n";
    } else {
        bytes = encodeFile(doc);
    }
    if (!bytes) {
        std::vector<DocumentPlace> places;
        for (const UnencodableText& found : placesWithUnencodable(doc))
            places.push_back(found.place);
        return Outcome::failed(toQString(messages::kUnencodableRefused).arg(quotedPath(path), placeList(doc, places)));
    }

    const ino_t before = fileOnDisk(path);
    const Outcome written = writeFileDurably(path, *bytes);
    if (!written.ok) {
        const bool kept = before != 0 && fileOnDisk(path) == before;
        return Outcome::failed(toQString(messages::kFileNotSaved).arg(quotedPath(path), written.reason) +
                               (kept ? toQString(messages::kOldFileKept) : QString()));
    }
    return Outcome::done();
}

}  // namespace vinkring
