#include "article/pdfexport.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include "model/texts.h"

namespace vinkring {

namespace {

constexpr int kLaidOutPercent = 60;  // of the progress: the rest is drawing the pages

// The parts as a QTextDocument: headings with their levels and sizes, the
// runs with their formats, each line a block of its own (Qt lays out a long
// paragraph of line separators in time that grows faster than its length),
// the space below a part under its last line.
void fillTextDocument(QTextDocument& doc, const QList<ArticlePart>& parts)
{
    const QBrush linkColour(QColor(0x00, 0x00, 0x80));
    QTextCursor cursor(&doc);
    bool first = true;
    for (const ArticlePart& part : parts) {
        if (part.lines.isEmpty() && part.kind == PartKind::Text)
            continue;
        QTextBlockFormat block;
        qreal size = 0;
        switch (part.kind) {
        case PartKind::Title: block.setHeadingLevel(1); size = 22; break;
        case PartKind::Chapter: block.setHeadingLevel(1); size = 16; break;
        case PartKind::Section: block.setHeadingLevel(2); size = 13; break;
        default: break;
        }
        for (qsizetype i = 0; i < part.lines.size(); ++i) {
            QTextBlockFormat line = block;
            line.setTopMargin(i == 0 && size > 0 ? size * 0.8 : 0);
            line.setBottomMargin(i + 1 < part.lines.size() ? 0 : size > 0 ? 4 : 8);
            if (first)
                cursor.setBlockFormat(line);
            else
                cursor.insertBlock(line);
            first = false;
            for (const ForumRun& run : part.lines[i].runs) {
                QTextCharFormat format = runCharFormat(run.styles & ~headingStyles(part.kind), run.link, linkColour);
                if (size > 0) {
                    format.setFontPointSize(size);
                    format.setFontWeight(QFont::Bold);
                }
                cursor.insertText(run.text, format);
            }
        }
    }
}

// Lays the document out block by block, so that a long one can tell its
// progress and be stopped. False when it was stopped.
bool layOut(QTextDocument& doc, const TaskControl& control)
{
    QAbstractTextDocumentLayout* layout = doc.documentLayout();
    const qint64 total = doc.characterCount();
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (control.cancelled())
            return false;
        layout->blockBoundingRect(block);
        control.report(block.position() + block.length(), total, 0, kLaidOutPercent);
    }
    return true;
}

// Where each page's text starts in the laid-out document, and at the end
// where the last one ends. A page ends before a line that would not fit on
// it whole; a heading goes to the next page with the line that follows it
// (Qt 6.4's own pagination has no way to keep a block with the next).
QList<qreal> pageTops(const QTextDocument& doc, qreal pageHeight)
{
    QList<qreal> tops{0};
    qreal headingsTop = -1;  // where the headings right before this block start
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const QTextLayout* text = block.layout();
        const qreal y = text->position().y();
        for (int i = 0; i < text->lineCount(); ++i) {
            const QTextLine line = text->lineAt(i);
            const qreal top = y + line.y();
            const qreal bottom = top + line.height();
            if (bottom <= tops.back() + pageHeight)
                continue;
            qreal cut = i == 0 && headingsTop > tops.back() ? headingsTop : top;
            if (cut <= tops.back())
                cut = bottom;  // a line higher than a page
            tops.push_back(cut);
        }
        if (block.blockFormat().headingLevel() == 0)
            headingsTop = -1;
        else if (headingsTop < 0 && text->lineCount() > 0)
            headingsTop = y + text->lineAt(0).y();
    }
    tops.push_back(doc.documentLayout()->documentSize().height());
    return tops;
}

}  // namespace

std::optional<QByteArray> pdfBytes(const QList<ArticlePart>& parts, const TaskControl& control)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(20, 20, 20, 20),
                                  QPageLayout::Millimeter));
    pdf.setResolution(300);
    pdf.setTitle(documentTitle(parts));
    pdf.setCreator(toQString(texts::kWindowCaption));

    QTextDocument doc;
    QFont font = doc.defaultFont();
    font.setPointSizeF(11);
    doc.setDefaultFont(font);
    doc.setDocumentMargin(0);
    // Filled before its layout is made: each insertion would lay the block
    // out again.
    fillTextDocument(doc, parts);
    // The text measured at the PDF's resolution, as QTextDocument::print does.
    doc.documentLayout()->setPaintDevice(&pdf);

    // A margin of 2 cm inside the page's, the page number in the lower one.
    const QRectF paper = pdf.pageLayout().paintRectPixels(pdf.resolution());
    const qreal margin = 2 / 2.54 * pdf.resolution();
    const QSizeF body(paper.width() - 2 * margin, paper.height() - 2 * margin);
    doc.setTextWidth(body.width());
    if (!layOut(doc, control))
        return std::nullopt;
    const QList<qreal> tops = pageTops(doc, body.height());

    QPainter painter(&pdf);
    painter.setFont(font);
    const qreal numberBaseline = margin + body.height() + QFontMetricsF(font, &pdf).ascent() + 5 * pdf.resolution() / 72.0;
    const qsizetype pages = tops.size() - 1;
    for (qsizetype page = 0; page < pages; ++page) {
        if (control.cancelled()) {
            painter.end();
            return std::nullopt;
        }
        if (page > 0)
            pdf.newPage();
        painter.save();
        painter.translate(margin, margin - tops[page]);
        // Qt draws every line that touches the clip, clipped or not: the
        // lines on either side of a cut, which touch it, would be in the
        // file twice (text and link areas). A hair inside leaves them out.
        const qreal hair = 0.25;
        doc.drawContents(&painter, QRectF(0, tops[page] + hair, body.width(), tops[page + 1] - tops[page] - 2 * hair));
        painter.restore();
        const QString number = QString::number(page + 1);
        painter.drawText(QPointF(margin + body.width() - painter.fontMetrics().horizontalAdvance(number), numberBaseline),
                         number);
        control.report(page + 1, pages, kLaidOutPercent, 100);
    }
    painter.end();
    return bytes;
}

}  // namespace vinkring
