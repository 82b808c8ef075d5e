#include "model/fieldrules.h"

#include <algorithm>

namespace vinkring {

namespace {

// Each line end, CR LF as one, replaced by `by`; the text itself when it has none.
QString replaceLineEnds(QString text, QStringView by)
{
    if (std::none_of(text.cbegin(), text.cend(), isLineBreak))
        return text;
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!isLineBreak(c)) {
            out += c;
            continue;
        }
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        out += by;
    }
    return out;
}

}  // namespace

bool isOneLine(std::size_t field)
{
    return field < kFields.size() && !kFields[field].multiLine;
}

bool isLineBreak(QChar c)
{
    switch (c.unicode()) {
    case u'\n':
    case u'\v':
    case u'\f':
    case u'\r':
    case 0x0085:
    case 0x2028:
    case 0x2029:
        return true;
    default:
        return false;
    }
}

QString asOneLine(QString text)
{
    return replaceLineEnds(std::move(text), u" ");
}

QString withCrLf(QString text)
{
    // Already CR LF throughout (the usual case): nothing to copy. A field
    // may hold megabytes: most characters are told apart by one compare.
    const char16_t* const begin = reinterpret_cast<const char16_t*>(text.constData());
    const char16_t* const end = begin + text.size();
    for (const char16_t* at = begin; at < end; ++at) {
        if (*at > u'\r' && *at != 0x0085 && *at < 0x2028)
            continue;
        if (*at == u'\r' && at + 1 < end && at[1] == u'\n')
            ++at;
        else if (isLineBreak(QChar(*at)))
            return replaceLineEnds(std::move(text), u"\r\n");
    }
    return text;
}

QString fitToField(std::size_t field, QString text)
{
    return isOneLine(field) ? asOneLine(std::move(text)) : withCrLf(std::move(text));
}

ArticleDocument fitToRules(ArticleDocument doc)
{
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        if (isOneLine(i))
            doc.fields[i] = asOneLine(std::move(doc.fields[i]));
    }
    for (QString& line : doc.links)
        line = fitToLinkLine(std::move(line));
    return doc;
}

}  // namespace vinkring
