#include "document/windows1252.h"

#include <bitset>
#include <memory>

#include <QStringDecoder>
#include <QStringEncoder>

namespace vinkring {

namespace {

constexpr const char* kCodec = "windows-1252";

// The characters the code page holds, taken from its own decoder so that the
// check and the encoder agree. (Built where needed: 8 KB, a few microseconds.)
class CodePageSet {
public:
    CodePageSet() : bits_(std::make_unique<std::bitset<0x10000>>())
    {
        QByteArray all(256, Qt::Uninitialized);
        for (int i = 0; i < 256; ++i)
            all[i] = char(i);
        QStringDecoder decoder(kCodec);
        const QString chars = decoder.decode(all);
        if (decoder.hasError() || chars.size() != 256)
            return;  // no converter: nothing counts as encodable
        for (const QChar c : chars)
            bits_->set(c.unicode());
    }

    bool holds(char16_t c) const { return bits_->test(c); }

    // Length of the character starting at text[i]: 2 for a surrogate pair.
    static qsizetype charLength(QStringView text, qsizetype i)
    {
        if (QChar::isHighSurrogate(text[i].unicode()) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode()))
            return 2;
        return 1;
    }

    // Index of the first character the code page cannot hold, from i on.
    qsizetype firstMissing(QStringView text, qsizetype i = 0) const
    {
        const char16_t* data = text.utf16();
        const qsizetype n = text.size();
        for (; i < n; ++i) {
            if (!holds(data[i]))
                return i;
        }
        return -1;
    }

private:
    std::unique_ptr<std::bitset<0x10000>> bits_;
};

}  // namespace

QString DecodeWindows1252(QByteArrayView bytes)
{
    QStringDecoder decoder(kCodec);
    QString text = decoder.decode(bytes);
    return text;
}

std::optional<QByteArray> EncodeWindows1252(QStringView text)
{
    const CodePageSet set;
    if (set.firstMissing(text) >= 0)
        return std::nullopt;
    QStringEncoder encoder(kCodec);
    QByteArray bytes = encoder.encode(text);
    // One byte for every character, or something was changed on the way.
    if (encoder.hasError() || bytes.size() != text.size())
        return std::nullopt;
    return bytes;
}

QStringList UnencodableCharacters(QStringView text)
{
    const CodePageSet set;
    QStringList found;
    qsizetype i = set.firstMissing(text);
    while (i >= 0) {
        const qsizetype length = CodePageSet::charLength(text, i);
        const QString c = text.sliced(i, length).toString();
        if (!found.contains(c))
            found.append(c);
        i = set.firstMissing(text, i + length);
    }
    return found;
}

QString ReplaceUnencodable(QStringView text, QChar replacement)
{
    const CodePageSet set;
    qsizetype i = set.firstMissing(text);
    if (i < 0)
        return text.toString();
    QString out;
    out.reserve(text.size());
    qsizetype done = 0;
    while (i >= 0) {
        out.append(text.sliced(done, i - done));
        out.append(replacement);
        done = i + CodePageSet::charLength(text, i);
        i = set.firstMissing(text, done);
    }
    out.append(text.sliced(done));
    return out;
}

}  // namespace vinkring
