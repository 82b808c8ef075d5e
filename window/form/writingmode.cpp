#include "window/form/writingmode.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QWidget>

#include "article/forumpost.h"
#include "model/fieldtable.h"
#include "model/texts.h"
#include "window/form/articlefields.h"
#include "window/form/navigationkeys.h"

namespace vinkring {

namespace {

bool isSection(std::size_t field)
{
    return field >= kFirstSectionField && field < kFieldCount;
}

}  // namespace

WritingMode::WritingMode(ArticleFields& fields, QWidget* client, Window window)
    : QObject(client), fields_(fields), window_(std::move(window))
{
    head_ = new QWidget(client);
    head_->setObjectName(QStringLiteral("writingHead"));
    heading_ = new QLabel(head_);
    heading_->setObjectName(QStringLiteral("writingHeading"));
    heading_->setTextFormat(Qt::PlainText);
    QFont font = heading_->font();
    font.setBold(true);
    heading_->setFont(font);
    count_ = new QLabel(head_);
    count_->setObjectName(QStringLiteral("writingWords"));
    count_->setTextFormat(Qt::PlainText);
    auto* row = new QHBoxLayout(head_);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(heading_, 1);
    row->addWidget(count_);
    head_->hide();

    action_ = new QAction(toQString(texts::kMenuWritingMode) + QStringLiteral("\tF11"), this);
    action_->setObjectName(QStringLiteral("mnuBeeldSchrijfmodus"));
    action_->setCheckable(true);
    connect(action_, &QAction::triggered, this, [this](bool on) {
        if (on)
            enter();
        else
            leave();
        action_->setChecked(field_.has_value());
    });

    counting_.setSingleShot(true);
    counting_.setInterval(kCountMilliseconds);
    connect(&counting_, &QTimer::timeout, this, &WritingMode::count);
    connect(&fields_, &ArticleFields::edited, this, [this](std::size_t field) {
        if (field == field_)
            counting_.start();
    });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { focusMoved(now); });
    pageShown();
}

std::optional<std::size_t> WritingMode::fieldToEnter() const
{
    const int page = window_.page();
    const std::size_t at = fields_.focusedField().value_or(fields_.currentPart());
    if (isSection(at) && kFields[at].page == page)
        return at;
    for (std::size_t field = kFirstSectionField; field < kFieldCount; ++field) {
        if (kFields[field].page == page)
            return field;
    }
    return std::nullopt;
}

void WritingMode::enter()
{
    if (const std::optional<std::size_t> field = fieldToEnter())
        enter(*field);
}

void WritingMode::pageShown()
{
    action_->setEnabled(field_ || fieldToEnter());
}

void WritingMode::enter(std::size_t field)
{
    if (!isSection(field))
        return;
    field_ = field;
    moving_ = true;
    window_.goTo(field);
    moving_ = false;
    heading_->setText(QString::fromStdString(sectionTitle(kFields[field])));
    count();
    window_.show(window_.widget(field), head_);
    action_->setChecked(true);
}

void WritingMode::leave()
{
    if (!field_)
        return;
    field_.reset();
    counting_.stop();
    window_.show(nullptr, head_);
    action_->setChecked(false);
}

bool WritingMode::takeKey(const QKeyEvent& key)
{
    const Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier;
    if (key.key() == Qt::Key_F11 && mods == Qt::NoModifier && action_->isEnabled()) {
        if (field_)
            leave();
        else
            enter();
        return true;
    }
    if (!field_)
        return false;
    if (key.key() == Qt::Key_Escape && mods == Qt::NoModifier) {
        leave();
        return true;
    }
    if (const std::optional<int> turn = pageTurn(key)) {
        step(*turn == 0 ? -1 : 1);
        return true;
    }
    return false;
}

// The page keys go from section to section; at the first and the last one
// they stay.
void WritingMode::step(int by)
{
    const std::size_t next = *field_ + std::size_t(by);
    if (isSection(next))
        enter(next);
}

// Another section field that gets the focus (a hit of the search, a click in
// the live view, an undo) takes the mode over; any other control of the
// window ends it.
void WritingMode::focusMoved(QWidget* now)
{
    if (!field_ || moving_ || !now || now->window() != head_->window())
        return;
    if (now == window_.widget(*field_) || head_->isAncestorOf(now))
        return;
    for (std::size_t i = kFirstSectionField; i < kFieldCount; ++i) {
        if (window_.widget(i) == now) {
            enter(i);
            return;
        }
    }
    leave();
}

// The words a reader sees: without the forum's tags and codes.
void WritingMode::count()
{
    if (!field_)
        return;
    const qsizetype words = countWords(parseForumPost(fields_.text(*field_)));
    count_->setText(toQString(texts::kWritingModeWords).arg(dutchNumber(words)));
}

}  // namespace vinkring
