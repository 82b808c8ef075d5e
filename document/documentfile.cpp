#include "document/documentfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "model/texts.h"
#include "document/documentformat.h"
#include "document/windows1252.h"

namespace vinkring {

namespace {

// Why a file operation failed, in Dutch, with the system's own words after it.
QString reason(const QFileDevice& file)
{
    QString why;
    switch (file.error()) {
    case QFileDevice::ReadError: why = toQString(messages::kReadError); break;
    case QFileDevice::WriteError: why = toQString(messages::kWriteError); break;
    case QFileDevice::ResourceError: why = toQString(messages::kDiskFull); break;
    case QFileDevice::OpenError: why = toQString(messages::kOpenError); break;
    case QFileDevice::PermissionsError: why = toQString(messages::kNoAccess); break;
    case QFileDevice::RenameError: why = toQString(messages::kRenameError); break;
    case QFileDevice::NoError: why = toQString(messages::kShortWrite); break;
    default: why = toQString(messages::kOtherError); break;
    }
    const QString detail = file.errorString();
    if (!detail.isEmpty() && detail != QLatin1String("Unknown error"))
        why += QStringLiteral(" (") + detail + QLatin1Char(')');
    return why;
}

DocumentReadResult readFailure(const QString& text)
{
    return {std::nullopt, text + toQString(messages::kNothingChanged)};
}

// Field markers in text, counted up to the 27 a document needs.
int countFieldMarkers(QStringView text)
{
    int count = 0;
    for (qsizetype at = text.indexOf(kFieldMarker); at >= 0 && count < int(kFieldCount);
         at = text.indexOf(kFieldMarker, at + kFieldMarker.size()))
        ++count;
    return count;
}

// The file's bytes, markers not checked.
std::optional<QByteArray> encodeFile(const ArticleDocument& doc)
{
    std::optional<QByteArray> bytes = EncodeWindows1252(SerializeDocument(doc));
    if (bytes)
        bytes->append("\r\n");
    return bytes;
}

QString placeList(const ArticleDocument& doc, const std::vector<DocumentPlace>& places)
{
    QStringList lines;
    for (const DocumentPlace& place : places)
        lines << QStringLiteral("- ") + DescribePlace(doc, place);
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

QString DescribePlace(const ArticleDocument& doc, const DocumentPlace& place)
{
    if (place.kind == DocumentPlace::Kind::Field) {
        const FieldInfo& entry = kFields.at(std::size_t(place.index));
        if (!entry.labelCaption.empty())
            return QString::fromStdString(stripAccessKey(entry.labelCaption));
        return toQString(kPages.at(std::size_t(entry.page)).caption);
    }
    constexpr qsizetype kShown = 50;
    QString line = place.index < doc.links.size() ? doc.links.at(place.index) : QString();
    if (line.size() > kShown)
        line = line.left(kShown) + QChar(0x2026);
    line.replace(QLatin1String("\r\n"), QLatin1String(" "));
    return toQString(messages::kLinkPlace).arg(place.index + 1).arg(line);
}

std::vector<DocumentPlace> PlacesWithMarkers(const ArticleDocument& doc)
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

std::vector<UnencodableText> PlacesWithUnencodable(const ArticleDocument& doc)
{
    std::vector<UnencodableText> found;
    for (std::size_t i = 0; i < doc.fields.size(); ++i) {
        QStringList chars = UnencodableCharacters(doc.fields[i]);
        if (!chars.isEmpty())
            found.push_back({{DocumentPlace::Kind::Field, qsizetype(i)}, std::move(chars)});
    }
    for (qsizetype i = 0; i < doc.links.size(); ++i) {
        QStringList chars = UnencodableCharacters(doc.links.at(i));
        if (!chars.isEmpty())
            found.push_back({{DocumentPlace::Kind::Link, i}, std::move(chars)});
    }
    return found;
}

ArticleDocument WithUnencodableReplaced(const ArticleDocument& doc)
{
    ArticleDocument out;
    for (std::size_t i = 0; i < doc.fields.size(); ++i)
        out.fields[i] = ReplaceUnencodable(doc.fields[i]);
    out.links.reserve(doc.links.size());
    for (const QString& line : doc.links)
        out.links.append(ReplaceUnencodable(line));
    return out;
}

std::optional<QByteArray> DocumentFileBytes(const ArticleDocument& doc)
{
    if (!PlacesWithMarkers(doc).empty())
        return std::nullopt;
    return encodeFile(doc);
}

DocumentReadResult ParseDocumentFile(QByteArrayView bytes, const QString& path)
{
    // CR and LF are the same bytes in Windows-1252: the text is taken apart
    // without being decoded whole (a document can run to megabytes).
    QByteArrayView text = bytes;
    if (text.endsWith("\r\n"))
        text.chop(2);
    else if (text.endsWith('\n'))
        text.chop(1);
    if (text.isEmpty())
        return readFailure(toQString(messages::kFileEmpty).arg(quotedPath(path)));

    std::optional<ArticleDocument> doc = ParseDocumentWindows1252(text);
    if (!doc) {
        return readFailure(toQString(messages::kNotADocument)
                               .arg(quotedPath(path))
                               .arg(countFieldMarkers(DecodeWindows1252(text)))
                               .arg(kFieldCount)
                               .arg(kFieldMarker));
    }
    if (doc->links.size() > kMaxLinkLines) {
        return readFailure(toQString(messages::kFileTooManyLinks)
                               .arg(quotedPath(path))
                               .arg(doc->links.size())
                               .arg(kMaxLinkLines));
    }
    return {std::move(doc), QString()};
}

DocumentReadResult ReadDocumentFile(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return readFailure(toQString(messages::kFileMissing).arg(quotedPath(path)));
    if (info.isDir())
        return readFailure(toQString(messages::kFileIsFolder).arg(quotedPath(path)));
    if (!info.isFile())
        return readFailure(toQString(messages::kFileNotRegular).arg(quotedPath(path)));
    if (info.size() > kMaxDocumentFileBytes) {
        return readFailure(toQString(messages::kFileTooLarge)
                               .arg(quotedPath(path))
                               .arg(info.size() / (1024 * 1024)));
    }

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return readFailure(toQString(messages::kFileUnreadable).arg(quotedPath(path), reason(file)));
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return readFailure(toQString(messages::kFileUnreadable).arg(quotedPath(path), reason(file)));
    }
    file.close();
    return ParseDocumentFile(bytes, path);
}

DocumentWriteResult WriteDocumentFile(const QString& path, const ArticleDocument& doc)
{
    const std::vector<DocumentPlace> markers = PlacesWithMarkers(doc);
    if (!markers.empty()) {
        return {false, toQString(messages::kMarkersRefused)
                           .arg(quotedPath(path), kFieldMarker, kLinkMarker, placeList(doc, markers))};
    }
    const std::optional<QByteArray> bytes = encodeFile(doc);
    if (!bytes) {
        std::vector<DocumentPlace> places;
        for (const UnencodableText& found : PlacesWithUnencodable(doc))
            places.push_back(found.place);
        return {false, toQString(messages::kUnencodableRefused).arg(quotedPath(path), placeList(doc, places))};
    }

    const bool existed = QFileInfo::exists(path);
    const QString kept = existed ? toQString(messages::kOldFileKept) : QString();
    auto failure = [&](const QString& why) {
        return DocumentWriteResult{
            false, toQString(messages::kFileNotSaved).arg(quotedPath(path), why) + kept};
    };

    // Unbuffered, so that a short write shows here and not in a flush whose
    // failure the commit would not see.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failure(reason(file));
    if (file.write(*bytes) != bytes->size()) {
        const QString why = reason(file);
        file.cancelWriting();
        file.commit();  // removes the temporary file; the old one stays
        return failure(why);
    }
    if (!file.commit())
        return failure(reason(file));
    return {true, QString()};
}

}  // namespace vinkring
