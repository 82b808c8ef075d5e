#pragma once
// Delivery of the article: the clipboard export and the browser preview.

#include <optional>

#include "model/articledocument.h"
#include "platform/platformservices.h"

namespace vinkring {

// "Klembord": clears the clipboard and places the Forum text as plain text.
// Returns the characters placed, as a forum counts them. A clipboard that
// cannot be cleared or set is reported in a message box, and gives nullopt.
std::optional<qsizetype> exportToClipboard(const ArticleDocument& doc, PlatformServices& services);

// "Preview in IE": writes the post as the forum shows it, the whole escaped
// web page of webPage() with every heading, to PREVIEW.htm in the program
// folder when that is the user's own, else (or when it cannot be written) in
// the cache folder, and shows it in a new browser window. Without a browser
// nothing is written.
void showPreviewPage(const ArticleDocument& doc, PlatformServices& services);

}  // namespace vinkring
