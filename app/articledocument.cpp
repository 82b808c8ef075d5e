#include "app/articledocument.h"

namespace vinkring {

ArticleDocument defaultDocument()
{
    ArticleDocument doc;
    for (std::size_t i = 0; i < kFields.size(); ++i)
        doc.fields[i] = QString::fromUtf8(kFields[i].defaultText.data(), qsizetype(kFields[i].defaultText.size()));
    return doc;
}

}  // namespace vinkring
