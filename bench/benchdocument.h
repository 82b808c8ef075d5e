#pragma once
// Documents of a chosen size for the benchmarks: Dutch sentences in lines of
// about 70 characters (CR LF line ends), spread evenly over the 25 sections,
// plus a title, an author and twenty link lines.

#include <QObject>
#include <QString>

#include "model/articledocument.h"

namespace vinkring::bench {

// A document whose document string is about `characters` long (one byte per
// character in the file).
ArticleDocument makeDocument(qsizetype characters);

// The size in bytes of the document's file.
qsizetype documentFileSize(const ArticleDocument& doc);

// Runs the event loop until every underline under root (a window, a field)
// is checked, with the dictionary loaded; false after a minute.
bool waitForSpelling(const QObject& root);

}  // namespace vinkring::bench
