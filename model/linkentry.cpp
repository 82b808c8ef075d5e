#include "model/linkentry.h"

namespace vinkring {

QString makeLinkLine(const QString& description, const QString& url)
{
    return description + QStringLiteral(", ") + url;
}

LinkPieces splitLinkLine(const QString& line)
{
    LinkPieces pieces;
    const qsizetype first = line.indexOf(QLatin1Char(','));
    if (first < 0) {
        pieces.description = line;
        return pieces;
    }
    pieces.hasComma = true;
    pieces.description = line.left(first);
    const qsizetype second = line.indexOf(QLatin1Char(','), first + 1);
    pieces.url = second < 0 ? line.mid(first + 1) : line.mid(first + 1, second - first - 1);
    return pieces;
}

QString trimSpaces(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

}  // namespace vinkring
