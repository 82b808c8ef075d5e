#pragma once
// The document file: the document string in Windows-1252, then CR LF, with
// nothing before or after. Writing replaces the old file atomically; reading
// takes the whole file apart before anything is handed on, and also takes a
// file in UTF-8 (written on another system). Failures come back as a Dutch
// text that names the file; nothing here talks to the writer.

#include <optional>
#include <vector>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include "model/articledocument.h"
#include "model/outcome.h"

namespace vinkring {

// Where a text of the document stands: one of the 27 fields, or a link line.
struct DocumentPlace {
    enum class Kind { Field, Link };
    Kind kind = Kind::Field;
    qsizetype index = 0;  // field position 0 to 26, or link line from 0

    friend bool operator==(const DocumentPlace&, const DocumentPlace&) = default;
};

// The place as the writer knows it: a field by its label caption as shown
// ("Titel van het artikel:"), a field without label by its page caption
// ("Stap 1: Inleiding"), a link by its line number from 1 and its text.
QString describePlace(const ArticleDocument& doc, const DocumentPlace& place);

// Texts that would not read back as written: a field holding "<vbcrlf>", a
// link line holding "<ulrcrlf>" or "<vbcrlf>". In document order.
std::vector<DocumentPlace> placesWithMarkers(const ArticleDocument& doc);

struct UnencodableText {
    DocumentPlace place;
    QStringList characters;  // each once, in order of appearance
};

// Texts holding characters that Windows-1252 cannot store. In document order.
std::vector<UnencodableText> placesWithUnencodable(const ArticleDocument& doc);

// doc with each character that Windows-1252 cannot store replaced by "?".
ArticleDocument withUnencodableReplaced(const ArticleDocument& doc);

// The whole file for doc: the document string in Windows-1252, then CR LF.
// nullopt when a text holds a marker or a character without a byte. Bytes
// that the reader would take for UTF-8 (text such as "Ã©", or a text that
// starts with "ï»¿") are written as UTF-8 behind a byte-order mark instead,
// so that they read back unchanged.
std::optional<QByteArray> documentFileBytes(const ArticleDocument& doc);

// How a document file holds its text.
enum class FileEncoding { CodePage, Utf8 };

// A read's outcome (the reason names the file) and what it gave.
struct DocumentReadResult : Outcome {
    std::optional<ArticleDocument> document;  // set exactly when ok
    QString notice;                           // with a document: what of the file it leaves out
    FileEncoding encoding = FileEncoding::CodePage;  // with a document: how the file held it
};

// The document held by bytes, the content of the file at path (path only
// names the file in the texts). Removes one final line end (CR LF, or a lone
// LF) before taking the text apart. The bytes are read as UTF-8 when they
// start with its byte-order mark (which is dropped) or hold characters
// beyond ASCII that are all valid UTF-8; otherwise as Windows-1252. A file
// with more than 27 field markers gives the document and a notice that the
// texts after the links part were left out.
DocumentReadResult parseDocumentFile(QByteArrayView bytes, const QString& path);

// Reads the whole file at path and takes it apart.
DocumentReadResult ReadDocumentFile(const QString& path);

// Writes doc to path through a temporary file in the same folder that then
// takes the old file's place: on any failure the old file stays as it was.
// Refuses (writes nothing) when a text holds a marker or, in the code page,
// a character without a byte; ask the writer first and pass
// withUnencodableReplaced(doc), or write in UTF-8, which keeps every
// character (behind a byte-order mark, as the reader takes it).
Outcome WriteDocumentFile(const QString& path, const ArticleDocument& doc,
                          FileEncoding encoding = FileEncoding::CodePage);

// The largest file ReadDocumentFile takes.
constexpr qint64 kMaxDocumentFileBytes = qint64(256) * 1024 * 1024;

}  // namespace vinkring
