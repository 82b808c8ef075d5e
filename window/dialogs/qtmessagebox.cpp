#include "window/dialogs/qtmessagebox.h"

#include <algorithm>

#include <QApplication>
#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QShowEvent>
#include <QStyle>
#include <QVBoxLayout>

#include "model/texts.h"
#include "window/form/fontlayout.h"

namespace vinkring {

namespace {

// A QMessageBox that fits its title and the screen. QMessageBox sizes itself
// to its whole text, however high, and measures the title without the title
// bar's icon and buttons; it cannot scroll its text. This one is at least as
// wide as the title with those beside it, and where the text is higher than
// the screen leaves room for, the text scrolls inside the box above the
// buttons, which stay in view.
class FittingBox final : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    bool event(QEvent* event) override
    {
        const bool taken = QMessageBox::event(event);
        // QMessageBox sizes itself again on these; the fitted size stands.
        if (fitted_.isValid() && (event->type() == QEvent::LayoutRequest || event->type() == QEvent::FontChange ||
                                  event->type() == QEvent::StyleChange))
            keepFitted();
        return taken;
    }

    void showEvent(QShowEvent* event) override
    {
        // Sizes the box to its text, then centres it over its parent.
        QMessageBox::showEvent(event);
        if (!event->spontaneous() && fit())
            adjustPosition(parentWidget());
    }

private:
    bool fit();
    void keepFitted();
    bool scrollText(const QList<QLabel*>& texts);

    QSize fitted_;
    QList<QLabel*> scrolled_;
};

// The title in a bold face, with an icon and three buttons of a title bar's
// height beside it.
int titleWidth(const QWidget& box)
{
    QFont font = box.font();
    font.setBold(true);
    const QFontMetrics metrics(font);
    const int bar = std::max(box.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &box), metrics.height() + 8);
    return metrics.horizontalAdvance(box.windowTitle()) + 5 * bar;
}

bool FittingBox::fit()
{
    const QSize room = clientRoom(*this, 0);
    const int width = std::min(std::max(this->width(), titleWidth(*this)), room.width());
    int height = this->height();
    if (width != this->width() && layout()->hasHeightForWidth())
        height = layout()->totalHeightForWidth(width);
    if (height > room.height()) {
        QList<QLabel*> texts;
        for (const char* name : {"qt_msgbox_label", "qt_msgbox_informativelabel"}) {
            if (auto* label = findChild<QLabel*>(QString::fromLatin1(name)); label && !label->text().isEmpty())
                texts << label;
        }
        if (!texts.isEmpty() && scrollText(texts))
            height = room.height();
    }
    if (QSize(width, height) == size())
        return false;
    fitted_ = QSize(width, height);
    keepFitted();
    return true;
}

void FittingBox::keepFitted()
{
    for (QLabel* label : std::as_const(scrolled_))
        label->setWordWrap(true);
    setFixedSize(fitted_);
    QCoreApplication::removePostedEvents(this, QEvent::LayoutRequest);
}

// The texts out of the box's grid into one scrolling area in their place.
bool FittingBox::scrollText(const QList<QLabel*>& texts)
{
    auto* grid = qobject_cast<QGridLayout*>(layout());
    if (!grid)
        return false;
    int top = grid->rowCount();
    int bottom = -1;
    int column = 0;
    for (QLabel* label : texts) {
        const int index = grid->indexOf(label);
        if (index < 0)
            return false;
        int row = 0;
        int rows = 0;
        int columns = 0;
        grid->getItemPosition(index, &row, &column, &rows, &columns);
        top = std::min(top, row);
        bottom = std::max(bottom, row + rows - 1);
    }
    auto* area = new QScrollArea(this);
    area->setObjectName(QStringLiteral("messageText"));
    area->setFrameShape(QFrame::NoFrame);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setWidgetResizable(true);
    auto* inside = new QWidget;
    auto* stack = new QVBoxLayout(inside);
    stack->setContentsMargins(0, 0, 0, 0);
    for (QLabel* label : texts) {
        delete grid->takeAt(grid->indexOf(label));
        label->setWordWrap(true);
        label->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Minimum);
        stack->addWidget(label);
    }
    stack->addStretch();
    area->setWidget(inside);
    grid->addWidget(area, top, column, bottom - top + 1, 1);
    scrolled_ = texts;
    return true;
}

// The text as the box shows it: a word longer than a line can be (a path,
// an address) gets a zero-width break opportunity after each '/' or backslash and
// every kEvery characters where there is none, so that it wraps inside the
// box. QLabel wraps at word boundaries only, and has no wrap-anywhere mode.
QString breakable(const QString& text)
{
    constexpr qsizetype kLongWord = 30;
    constexpr qsizetype kEvery = 20;
    constexpr QChar kBreak(0x200B);
    QString shown;
    shown.reserve(text.size() + text.size() / kEvery);
    for (qsizetype at = 0; at < text.size();) {
        qsizetype end = at;
        while (end < text.size() && !text[end].isSpace())
            ++end;
        if (end - at <= kLongWord) {
            shown += QStringView(text).sliced(at, end - at);
        } else {
            qsizetype run = 0;
            for (qsizetype i = at; i < end; ++i) {
                const QChar c = text[i];
                shown += c;
                ++run;
                if (i + 1 < end && !c.isHighSurrogate() && (c == u'/' || c == u'\\' || run >= kEvery)) {
                    shown += kBreak;
                    run = 0;
                }
            }
        }
        // The blanks as they are.
        for (at = end; at < text.size() && text[at].isSpace(); ++at)
            shown += text[at];
    }
    return shown;
}

}  // namespace

MessageAnswer QtMessageBox::show(const QString& text, const QString& title, MessageIcon icon,
                                 MessageButtons buttons, const QString& detail)
{
    FittingBox box(parent_);
    // Without a title of its own, the box shows the application's title.
    box.setWindowTitle(title.isEmpty() ? toQString(texts::kWindowCaption) : title);
    box.setText(breakable(text));
    box.setTextFormat(Qt::PlainText);
    if (!detail.isEmpty())
        box.setInformativeText(breakable(detail));
    box.setIcon(icon == MessageIcon::Information ? QMessageBox::Information : QMessageBox::Warning);
    if (buttons != MessageButtons::Ok) {
        QPushButton* yes = box.addButton(QMessageBox::Yes);
        QPushButton* no = box.addButton(QMessageBox::No);
        QPushButton* cancel = buttons == MessageButtons::YesNoCancel ? box.addButton(QMessageBox::Cancel) : nullptr;
        QPushButton* keep = buttons == MessageButtons::YesNoKeep
                                ? box.addButton(toQString(texts::kKeepAll), QMessageBox::ActionRole)
                                : nullptr;
        yes->setText(toQString(texts::kYes));
        no->setText(toQString(texts::kNo));
        if (cancel)
            cancel->setText(toQString(texts::kCancel));
        // The default loses nothing: where "Ja" gives characters up, keeping
        // them; where it replaces another's file, "Nee".
        box.setDefaultButton(keep ? keep : buttons == MessageButtons::YesNoKeepOld ? no : yes);
        box.setEscapeButton(cancel ? cancel : no);
        box.exec();
        if (box.clickedButton() == yes)
            return MessageAnswer::Yes;
        if (keep && box.clickedButton() == keep)
            return MessageAnswer::Keep;
        return cancel && box.clickedButton() != no ? MessageAnswer::Cancel : MessageAnswer::No;
    }
    box.addButton(QMessageBox::Ok);
    box.exec();
    return MessageAnswer::Ok;
}

int QtMessageBox::choose(const QString& text, const QString& title, const QStringList& answers)
{
    FittingBox box(QMessageBox::Question, title.isEmpty() ? toQString(texts::kWindowCaption) : title,
                   breakable(text), QMessageBox::NoButton, parent_);
    box.setTextFormat(Qt::PlainText);
    QList<QPushButton*> buttons;
    for (qsizetype i = 0; i < answers.size(); ++i) {
        const bool last = i + 1 == answers.size();
        buttons << box.addButton(answers[i], last ? QMessageBox::RejectRole : QMessageBox::AcceptRole);
    }
    if (buttons.isEmpty())
        return -1;
    box.setDefaultButton(buttons.front());
    box.setEscapeButton(buttons.back());
    box.exec();
    const qsizetype chosen = buttons.indexOf(qobject_cast<QPushButton*>(box.clickedButton()));
    return int(chosen < 0 ? buttons.size() - 1 : chosen);
}

}  // namespace vinkring
