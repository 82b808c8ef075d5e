#include "model/texts.h"

#include <QDir>

namespace vinkring {

QString quotedPath(const QString& path)
{
    return QLatin1Char('"') + QDir::toNativeSeparators(path) + QLatin1Char('"');
}

}  // namespace vinkring
