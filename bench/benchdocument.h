#pragma once
// Documents of a chosen size for the benchmarks: Dutch sentences in lines of
// about 70 characters (CR LF line ends), spread evenly over the 25 sections,
// plus a title, an author and twenty link lines.

#include <QString>

#include "model/articledocument.h"

namespace vinkring::bench {

// A document whose document string is about `characters` long (one byte per
// character in the file).
ArticleDocument makeDocument(qsizetype characters);

// The size in bytes of the document's file.
qsizetype documentFileSize(const ArticleDocument& doc);

}  // namespace vinkring::bench
