#include "model/texts.h"

#include <QDir>
#include <QLocale>

namespace vinkring {

QString quotedPath(const QString& path)
{
    return QLatin1Char('"') + QDir::toNativeSeparators(path) + QLatin1Char('"');
}

QString dutchNumber(qint64 number)
{
    return QLocale(QLocale::Dutch, QLocale::Netherlands).toString(number);
}

}  // namespace vinkring
