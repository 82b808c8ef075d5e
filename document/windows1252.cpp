#include "document/windows1252.h"

#include <array>

#include <QStringDecoder>

namespace vinkring {

namespace {

// The characters of the bytes 0x80 to 0x9F. Every other byte stands for the
// character of the same value; the five bytes the code page leaves open
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the C1 controls of that value, as
// Windows' own conversion has them.
constexpr std::array<char16_t, 32> kHighBlock{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 0x98
};

constexpr std::array<char16_t, 256> makeToUnicode()
{
    std::array<char16_t, 256> table{};
    for (std::size_t b = 0; b < table.size(); ++b)
        table[b] = char16_t(b);
    for (std::size_t i = 0; i < kHighBlock.size(); ++i)
        table[0x80 + i] = kHighBlock[i];
    return table;
}

constexpr std::array<char16_t, 256> kToUnicode = makeToUnicode();

// The byte for c, or -1 when the code page has none. A table lookup per
// character: documents run to megabytes.
constexpr int byteFor(char16_t c)
{
    if (c < 0x100 && kToUnicode[c] == c)
        return int(c);
    for (std::size_t i = 0; i < kHighBlock.size(); ++i) {
        if (kHighBlock[i] == c)
            return int(0x80 + i);
    }
    return -1;
}

static_assert(byteFor(u'\u20AC') == 0x80 && byteFor(u'\u0081') == 0x81 && byteFor(u'\u0080') == -1);
static_assert(byteFor(u'\u00E9') == 0xE9 && byteFor(u'\u0178') == 0x9F && byteFor(u'\u0100') == -1);

class CodePageSet {
public:
    static bool holds(char16_t c) { return byteFor(c) >= 0; }

    // Length of the character starting at text[i]: 2 for a surrogate pair.
    static qsizetype charLength(QStringView text, qsizetype i)
    {
        if (QChar::isHighSurrogate(text[i].unicode()) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode()))
            return 2;
        return 1;
    }

    // Index of the first character the code page cannot hold, from i on.
    static qsizetype firstMissing(QStringView text, qsizetype i = 0)
    {
        const char16_t* data = text.utf16();
        const qsizetype n = text.size();
        for (; i < n; ++i) {
            if (!holds(data[i]))
                return i;
        }
        return -1;
    }
};

}  // namespace

QString decodeWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = kToUnicode[in[i]];
    return text;
}

std::optional<QByteArray> encodeWindows1252(QStringView text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char* out = bytes.data();
    const char16_t* in = text.utf16();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int b = byteFor(in[i]);
        if (b < 0)
            return std::nullopt;
        out[i] = char(b);
    }
    return bytes;
}

QStringList unencodableCharacters(QStringView text)
{
    QStringList found;
    qsizetype i = CodePageSet::firstMissing(text);
    while (i >= 0) {
        const qsizetype length = CodePageSet::charLength(text, i);
        const QString c = text.sliced(i, length).toString();
        if (!found.contains(c))
            found.append(c);
        i = CodePageSet::firstMissing(text, i + length);
    }
    return found;
}

QString replaceUnencodable(QStringView text, QChar replacement)
{
    qsizetype i = CodePageSet::firstMissing(text);
    if (i < 0)
        return text.toString();
    QString out;
    out.reserve(text.size());
    qsizetype done = 0;
    while (i >= 0) {
        out.append(text.sliced(done, i - done));
        out.append(replacement);
        done = i + CodePageSet::charLength(text, i);
        i = CodePageSet::firstMissing(text, done);
    }
    out.append(text.sliced(done));
    return out;
}

QByteArray utf8WithByteOrderMark(QStringView text)
{
    QByteArray bytes = kUtf8ByteOrderMark.toByteArray();
    bytes += text.toUtf8();
    return bytes;
}

std::optional<QString> decodeUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8,
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

}  // namespace vinkring
