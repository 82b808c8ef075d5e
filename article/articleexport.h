#pragma once
// Delivery of the article: the clipboard export and the browser preview.

#include "app/articledocument.h"
#include "platform/platformservices.h"

namespace vinkring {

// "Klembord": clears the clipboard and places the Forum text as plain text.
void exportToClipboard(const ArticleDocument& doc, PlatformServices& services);

// "Preview in IE": writes PREVIEW.htm and shows it in a new browser window.
void showPreview(const ArticleDocument& doc, PlatformServices& services);

}  // namespace vinkring
