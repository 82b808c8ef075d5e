#pragma once
// Document files store one byte per character in Windows-1252. Every byte
// stands for one character (the five bytes the code page leaves open stand
// for the C1 control characters of the same value), so decoding never fails
// and encoding decoded text gives the same bytes back.

#include <optional>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace vinkring {

// The text the bytes stand for, one character per byte.
QString DecodeWindows1252(QByteArrayView bytes);

// The bytes for text, one per character; nullopt when text holds a character
// that Windows-1252 has no byte for.
std::optional<QByteArray> EncodeWindows1252(QStringView text);

// The characters of text that Windows-1252 cannot hold, each once, in the
// order they first appear. A character outside the Basic Multilingual Plane
// (an emoji) is one entry of two UTF-16 units; a lone surrogate is one entry.
QStringList UnencodableCharacters(QStringView text);

// text with each character that Windows-1252 cannot hold replaced by
// replacement (a surrogate pair by one replacement).
QString ReplaceUnencodable(QStringView text, QChar replacement = u'?');

// The text bytes hold in UTF-8 (a byte-order mark in them stays a
// character), or nullopt when they are not valid UTF-8.
std::optional<QString> DecodeUtf8(QByteArrayView bytes);

}  // namespace vinkring
