#pragma once
// Document files store one byte per character in Windows-1252. Every byte
// stands for one character (the five bytes the code page leaves open stand
// for the C1 control characters of the same value), so decoding never fails
// and encoding decoded text gives the same bytes back. Files the program
// writes in UTF-8 start with its byte-order mark.

#include <optional>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace vinkring {

// The text the bytes stand for, one character per byte.
QString decodeWindows1252(QByteArrayView bytes);

// The bytes for text, one per character; nullopt when text holds a character
// that Windows-1252 has no byte for.
std::optional<QByteArray> encodeWindows1252(QStringView text);

// The characters of text that Windows-1252 cannot hold, each once, in the
// order they first appear. A character outside the Basic Multilingual Plane
// (an emoji) is one entry of two UTF-16 units; a lone surrogate is one entry.
QStringList unencodableCharacters(QStringView text);

// text with each character that Windows-1252 cannot hold replaced by
// replacement (a surrogate pair by one replacement).
QString replaceUnencodable(QStringView text, QChar replacement = u'?');

// UTF-8's byte-order mark. A file that starts with it is read as UTF-8 by
// the document file's reader and by browsers alike, whatever they would
// guess otherwise.
inline constexpr QByteArrayView kUtf8ByteOrderMark("\xEF\xBB\xBF");

// text in UTF-8 behind the byte-order mark.
QByteArray utf8WithByteOrderMark(QStringView text);

// The text bytes hold in UTF-8 (a byte-order mark in them stays a
// character), or nullopt when they are not valid UTF-8.
std::optional<QString> decodeUtf8(QByteArrayView bytes);

}  // namespace vinkring
