#include "window/form/formlayout.h"

#include <algorithm>

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QtMath>

#include "window/form/fontlayout.h"
#include "window/form/layout.h"
#include "window/form/linkseditor.h"
#include "window/form/pagearea.h"

namespace vinkring {

using layout::pixels;

namespace {

// Pieces whose right edge comes this near to the page's (in twips) reach across it.
constexpr int kSpanTwips = 360;
// Kept at a page's right and bottom, as at its left.
constexpr Twips kMargin{0, 0, 120, 120};

constexpr int kGuideFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

// The height of five lines of text in a section field.
int fiveLines(QPlainTextEdit& field)
{
    field.ensurePolished();
    const QMargins margins = field.contentsMargins();
    return 5 * field.fontMetrics().lineSpacing() + 2 * qCeil(field.document()->documentMargin()) + margins.top()
        + margins.bottom();
}

}  // namespace

FormLayout::FormLayout(const Parts& parts, double scale, std::function<void(double)> bannerScaled)
    : QObject(parts.client), parts_(parts), scale_(scale), margin_(pixels(kMargin, scale).width()),
      bannerScaled_(std::move(bannerScaled))
{
    parts_.client->installEventFilter(this);
}

void FormLayout::addPage(QGroupBox* box, QLabel* guide)
{
    Page page;
    page.box = box;
    page.guide = guide;
    page.guideText = guide ? guide->text() : QString();
    page.base = box->size();
    const int spanning = page.base.width() - pixels({0, 0, kSpanTwips, 0}, scale_).width();
    for (QWidget* w : box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        PagePiece piece;
        piece.base = w->geometry();
        piece.spans = piece.base.right() + 1 >= spanning;
        piece.guide = w == guide;
        if (auto* field = qobject_cast<QPlainTextEdit*>(w)) {
            piece.grows = true;
            piece.least = fiveLines(*field);
        } else if (qobject_cast<LinksEditor*>(w)) {
            piece.grows = true;
            piece.least = piece.base.height();
        }
        page.widgets.push_back(w);
        page.pieces.push_back(piece);
    }
    pages_.push_back(std::move(page));
    box->installEventFilter(this);
}

bool FormLayout::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == parts_.client && event->type() == QEvent::Resize) ||
        (watched != parts_.client && event->type() == QEvent::Show))
        apply();
    return QObject::eventFilter(watched, event);
}

FormLayout::Page* FormLayout::shownPage()
{
    const auto shown = std::find_if(pages_.begin(), pages_.end(), [](const Page& p) { return !p.box->isHidden(); });
    return shown == pages_.end() ? nullptr : &*shown;
}

GuideText FormLayout::guideOf(const Page& page) const
{
    if (!page.guide)
        return {[](int) { return 0; }, 0};
    // Measured on the whole text, also while the label shows one line of it.
    const QFontMetrics metrics(page.guide->font());
    const QString text = page.guideText;
    return {[metrics, text](int width) { return metrics.boundingRect(0, 0, width, 2000, kGuideFlags, text).height(); },
            metrics.boundingRect(0, 0, 2000, 2000, kGuideFlags, QStringLiteral("x")).height()};
}

void FormLayout::apply()
{
    // Placing the controls resizes none of the watched ones; but be sure.
    if (applying_)
        return;
    applying_ = true;
    Page* shown = shownPage();
    if (writing_ && shown && shown->box->isAncestorOf(writing_)) {
        placeWriting(*shown);
        applying_ = false;
        return;
    }
    const QSize client = parts_.client->size();
    const QSize design = pixels(layout::kClientArea, scale_).size();
    const int width = pixels(layout::kPageArea, scale_).width() + client.width() - design.width();
    int want = 0;
    for (Page& page : pages_) {
        page.box->ensurePolished();
        want = std::max(want, wantedHeight(page.pieces, page.base, width, guideOf(page), margin_));
    }
    const ClientLayout fit = layOutClient(scale_, client, want);
    parts_.banner->setGeometry(fit.banner);
    parts_.banner->setVisible(fit.bannerScale > 0);
    if (fit.bannerScale != bannerScale_) {
        bannerScale_ = fit.bannerScale;
        if (bannerScaled_)
            bannerScaled_(bannerScale_);
    }
    parts_.counter->setGeometry(fit.counter);
    parts_.counter->setAlignment((fit.counterBelow ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    parts_.counter->show();
    if (parts_.note) {
        // Beside the counter, whose text stands right in its place below
        // the pages: the note may take the place's empty part (a digit more
        // kept for the counter's next page).
        int noteRight = fit.counter.left();
        if (fit.counterBelow) {
            const QFontMetrics metrics = parts_.counter->fontMetrics();
            noteRight = fit.counter.right() + 1 - metrics.horizontalAdvance(parts_.counter->text() + u'0');
        }
        parts_.note->setGeometry(QRect(QPoint(fit.pageArea.left(), fit.counter.top()),
                                       QPoint(noteRight - fit.counter.height(), fit.counter.bottom())));
        parts_.note->show();
    }
    for (std::size_t i : {0u, 1u, 3u}) {
        parts_.command1[i]->setGeometry(fit.command1[i]);
        parts_.command1[i]->show();
    }
    parts_.pageArea->setGeometry(fit.pageArea);
    if (shown)
        placePage(*shown, fit.pageArea.size());
    applying_ = false;
}

void FormLayout::placePage(Page& page, QSize room)
{
    const GuideText guide = guideOf(page);
    PagePlan plan = planPage(page.pieces, page.base, room, guide, margin_);
    // Higher than the room, it scrolls: the scroll bar takes its width.
    if (plan.height > room.height()) {
        room.rwidth() -= parts_.pageArea->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, parts_.pageArea);
        plan = planPage(page.pieces, page.base, room, guide, margin_);
    }
    for (std::size_t i = 0; i < page.widgets.size(); ++i)
        page.widgets[i]->setGeometry(plan.rects[i]);
    if (page.guide) {
        // One line of it, the whole text where the pointer rests on it.
        const QString shown = plan.shortGuide ? page.guide->fontMetrics().elidedText(
                                                    page.guideText, Qt::ElideRight, page.guide->width())
                                              : page.guideText;
        if (page.guide->text() != shown)
            page.guide->setText(shown);
        page.guide->setToolTip(plan.shortGuide ? page.guideText : QString());
    }
    page.box->setGeometry(QRect(QPoint(0, 0), QSize(room.width(), plan.height)));
    parts_.pageArea->setPageSize(page.box->size());
}

void FormLayout::setWriting(QWidget* field, QWidget* head)
{
    if (field == writing_)
        return;
    showBesidesWriting();
    writing_ = field;
    head_ = head;
    if (head_)
        head_->setVisible(field != nullptr);
    apply();
}

// What the writing mode hid shows again.
void FormLayout::showBesidesWriting()
{
    for (const QPointer<QWidget>& w : hidden_) {
        if (w)
            w->show();
    }
    hidden_.clear();
}

void FormLayout::placeWriting(Page& page)
{
    for (QWidget* w : page.widgets) {
        if (w != writing_ && !w->isHidden()) {
            w->hide();
            hidden_.emplace_back(w);
        }
    }
    parts_.banner->hide();
    parts_.counter->hide();
    for (std::size_t i : {0u, 1u, 3u})
        parts_.command1[i]->hide();
    QRect client = parts_.client->rect().adjusted(margin_, margin_, -margin_, -margin_);
    // Lines of a measure that reads well (about a hundred characters, no
    // less than the page's width), the column in the middle of a wide window.
    const int measure = std::max(pixels(layout::kPageArea, scale_).width(),
                                 100 * writing_->fontMetrics().averageCharWidth() + 4 * margin_ +
                                     writing_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, writing_));
    if (client.width() > measure)
        client = QRect(client.left() + (client.width() - measure) / 2, client.top(), measure, client.height());
    const int headHeight = head_ ? head_->sizeHint().height() : 0;
    if (head_) {
        head_->setGeometry(client.left(), client.top(), client.width(), headHeight);
        placeNoteInHead();
    }
    const QRect area = client.adjusted(0, headHeight + margin_ / 2, 0, 0);
    parts_.pageArea->setGeometry(area);
    page.box->setGeometry(QRect(QPoint(0, 0), area.size()));
    parts_.pageArea->setPageSize(area.size());
    writing_->setGeometry(page.box->contentsRect().adjusted(margin_, 0, -margin_, -margin_));
}

// In the writing mode the note goes in the head row, between the heading's
// text and the word count, where it covers neither; too little room there
// for a few words: none.
void FormLayout::placeNoteInHead()
{
    if (!parts_.note)
        return;
    const QList<QLabel*> labels = head_->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    if (labels.size() < 2)
        return;
    if (QLayout* row = head_->layout())
        row->activate();
    QLabel* heading = labels.front();
    QLabel* count = labels.back();
    const int gap = margin_;
    const int left = heading->x() + heading->fontMetrics().horizontalAdvance(heading->text()) + gap;
    // A word count that grows by a digit or two while the note shows stays clear.
    const int countWidth = count->fontMetrics().horizontalAdvance(count->text() + QStringLiteral("00"));
    const int right = count->geometry().right() + 1 - countWidth - gap;
    QRect room(head_->mapTo(parts_.client, QPoint(left, 0)), QSize(right - left, head_->height()));
    if (room.width() < 12 * parts_.note->fontMetrics().averageCharWidth())
        room.setWidth(0);
    parts_.note->setGeometry(room);
    parts_.note->raise();
}

}  // namespace vinkring
