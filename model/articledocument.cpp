#include "model/articledocument.h"

#include "model/texts.h"

namespace vinkring {

ArticleDocument defaultDocument()
{
    ArticleDocument doc;
    for (std::size_t i = 0; i < kFields.size(); ++i)
        doc.fields[i] = toQString(kFields[i].defaultText);
    return doc;
}

}  // namespace vinkring
