#include "model/linkentry.h"

namespace vinkring {

namespace {
const QString kDivider = QStringLiteral(", ");
}  // namespace

QString makeLinkLine(const QString& description, const QString& url)
{
    QString safeUrl = url;
    safeUrl.replace(kDivider, QStringLiteral(",%20"));
    return description + kDivider + safeUrl;
}

LinkPieces splitLinkLine(const QString& line)
{
    LinkPieces pieces;
    qsizetype at = line.lastIndexOf(kDivider);
    if (at < 0)
        at = line.indexOf(QLatin1Char(','));
    if (at < 0) {
        pieces.description = line;
        return pieces;
    }
    pieces.hasComma = true;
    pieces.description = line.left(at);
    pieces.url = line.mid(at + 1);
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
