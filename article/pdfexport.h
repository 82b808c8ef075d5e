#pragma once
// The export for printing and reading on any device: a PDF of A4 pages.

#include <optional>

#include <QByteArray>
#include <QList>

#include "article/articleparts.h"
#include "article/taskcontrol.h"

namespace vinkring {

// The PDF's bytes: the headings at their sizes, each kept on a page with the
// line that follows it, the runs in their styles, links clickable, page
// numbers. Made with Qt's text layout and PDF writer, which work on any
// thread for a document made there. nullopt when the control cancelled it.
std::optional<QByteArray> pdfBytes(const QList<ArticlePart>& parts, const TaskControl& control = {});

}  // namespace vinkring
