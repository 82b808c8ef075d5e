#pragma once
// The fixed texts of the tables as Qt strings.

#include <string_view>

#include <QString>

namespace vinkring {

inline QString toQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

}  // namespace vinkring
