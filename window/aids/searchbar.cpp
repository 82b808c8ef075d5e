#include "window/aids/searchbar.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "model/texts.h"
#include "window/aids/formatting.h"
#include "window/form/linkseditor.h"

namespace vinkring {

namespace {

constexpr int kLinksPage = int(kPageCount) - 2;

// The keys are shown beside the items but are no shortcuts: the key preview
// hears them first and hands them to takeKey.
QString itemText(std::string_view caption, QKeyCombination key)
{
    return toQString(caption) + u'\t' + QKeySequence(key).toString(QKeySequence::NativeText);
}

QString partsText(qsizetype fields, qsizetype links)
{
    const QString f = fields == 1 ? toQString(texts::kOneField) : toQString(texts::kFields).arg(fields);
    if (links == 0)
        return f;
    if (fields == 0)
        return links == 1 ? toQString(texts::kOnlyOneLink) : toQString(texts::kOnlyLinks).arg(links);
    return links == 1 ? toQString(texts::kAndOneLink).arg(f) : toQString(texts::kAndLinks).arg(f).arg(links);
}

}  // namespace

WindowTexts::WindowTexts(const std::array<QWidget*, kFieldCount>& fields, const LinksEditor& links,
                         std::function<void()> edited, QObject* parent)
    : QObject(parent), fields_(fields), links_(links)
{
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        if (auto* line = qobject_cast<QLineEdit*>(fields_[i])) {
            connect(line, &QLineEdit::textChanged, this, [this, i, edited] {
                cache_[i].reset();
                edited();
            });
        } else if (auto* edit = qobject_cast<QPlainTextEdit*>(fields_[i])) {
            // The spelling underline changes formats only: as many characters
            // go as come, which a replacement of the same length does too.
            connect(edit->document(), &QTextDocument::contentsChange, this,
                    [this, i, edited](int, int removed, int added) {
                        cache_[i].reset();
                        if (removed != added)
                            edited();
                    });
        }
    }
}

std::size_t WindowTexts::partCount() const
{
    return kFieldCount + std::size_t(links_.lineCount());
}

QString WindowTexts::partText(std::size_t part) const
{
    if (part >= kFieldCount)
        return links_.line(int(part - kFieldCount));
    if (!cache_[part])
        cache_[part] = fieldText(fields_[part]);
    return *cache_[part];
}

SearchBar::SearchBar(const std::array<QWidget*, kFieldCount>& fields, LinksEditor& links,
                     std::function<void(int page)> showPage, QMainWindow* window, QMenu* menu)
    : fields_(fields), links_(links), showPage_(std::move(showPage)), window_(window), menu_(menu)
{
    setObjectName(QStringLiteral("searchBar"));

    find_ = new QLineEdit(this);
    find_->setObjectName(QStringLiteral("txtZoeken"));
    auto* findLabel = new QLabel(toQString(texts::kSearchLabel), this);
    findLabel->setBuddy(find_);
    auto* previous = new QToolButton(this);
    previous->setArrowType(Qt::UpArrow);
    previous->setToolTip(itemText(texts::kPreviousHit, Qt::SHIFT | Qt::Key_F3));
    previous->setAccessibleName(toQString(texts::kPreviousHit));
    auto* next = new QToolButton(this);
    next->setArrowType(Qt::DownArrow);
    next->setToolTip(itemText(texts::kNextHit, QKeyCombination(Qt::Key_F3)));
    next->setAccessibleName(toQString(texts::kNextHit));
    matchCase_ = new QCheckBox(toQString(texts::kMatchCase), this);
    matchCase_->setToolTip(toQString(texts::kMatchCaseTip));
    wholeWords_ = new QCheckBox(toQString(texts::kWholeWords), this);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("lblZoeken"));
    status_->setTextFormat(Qt::PlainText);
    status_->setMinimumWidth(status_->fontMetrics().averageCharWidth() * 20);
    auto* closeButton = new QToolButton(this);
    closeButton->setText(QStringLiteral("✕"));
    closeButton->setAutoRaise(true);
    closeButton->setToolTip(toQString(texts::kCloseSearch));
    closeButton->setAccessibleName(toQString(texts::kCloseSearch));

    replaceRow_ = new QWidget(this);
    replaceWith_ = new QLineEdit(replaceRow_);
    replaceWith_->setObjectName(QStringLiteral("txtVervangen"));
    auto* replaceLabel = new QLabel(toQString(texts::kReplaceLabel), replaceRow_);
    replaceLabel->setBuddy(replaceWith_);
    auto* replaceButton = new QPushButton(toQString(texts::kReplace), replaceRow_);
    auto* replaceAllButton = new QPushButton(toQString(texts::kReplaceAll), replaceRow_);
    // What "Alles vervangen" did, where the replace row has room for it.
    replaced_ = new QLabel(replaceRow_);
    replaced_->setObjectName(QStringLiteral("lblVervangen"));
    replaced_->setTextFormat(Qt::PlainText);
    for (QPushButton* button : {replaceButton, replaceAllButton})
        button->setAutoDefault(false);

    // The two labels as wide as the wider, so that the fields line up.
    const int labelWidth = std::max(findLabel->sizeHint().width(), replaceLabel->sizeHint().width());
    findLabel->setFixedWidth(labelWidth);
    replaceLabel->setFixedWidth(labelWidth);
    const int fieldWidth = find_->fontMetrics().averageCharWidth() * 28;
    find_->setFixedWidth(fieldWidth);
    replaceWith_->setFixedWidth(fieldWidth);

    auto* findRow = new QHBoxLayout;
    findRow->setContentsMargins(0, 0, 0, 0);
    for (QWidget* w : std::initializer_list<QWidget*>{findLabel, find_, previous, next, matchCase_, wholeWords_})
        findRow->addWidget(w);
    findRow->addWidget(status_, 1);
    findRow->addWidget(closeButton);
    auto* replaceLayout = new QHBoxLayout(replaceRow_);
    replaceLayout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* w : std::initializer_list<QWidget*>{replaceLabel, replaceWith_, replaceButton, replaceAllButton})
        replaceLayout->addWidget(w);
    replaceLayout->addWidget(replaced_, 1);
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->addLayout(findRow);
    rows->addWidget(replaceRow_);

    // Below the central widget; hidden until it is opened.
    strip_ = new QStatusBar(window_);
    strip_->setSizeGripEnabled(false);
    strip_->addWidget(this, 1);
    window_->setStatusBar(strip_);
    strip_->hide();

    countLater_ = new QTimer(this);
    countLater_->setSingleShot(true);
    countLater_->setInterval(150);
    connect(countLater_, &QTimer::timeout, this, &SearchBar::count);
    // The count follows the writing while the bar is open.
    texts_ = new WindowTexts(
        fields_, links_,
        [this] {
            if (strip_->isVisible())
                countLater_->start();
        },
        this);
    countStep_ = new QTimer(this);
    countStep_->setSingleShot(true);
    countStep_->setInterval(0);
    connect(countStep_, &QTimer::timeout, this, &SearchBar::countSome);
    connect(find_, &QLineEdit::textChanged, this, [this] {
        lastHit_.reset();
        replaced_->clear();
        notice_.clear();
        countText_.clear();
        counting_.reset();
        countLater_->start();
    });
    for (QCheckBox* option : {matchCase_, wholeWords_}) {
        connect(option, &QCheckBox::toggled, this, [this] {
            notice_.clear();
            count();
        });
    }
    connect(find_, &QLineEdit::returnPressed, this, [this] { findNext(false); });
    connect(replaceWith_, &QLineEdit::returnPressed, this, &SearchBar::replace);
    connect(previous, &QToolButton::clicked, this, [this] { findNext(true); });
    connect(next, &QToolButton::clicked, this, [this] { findNext(false); });
    connect(closeButton, &QToolButton::clicked, this, &SearchBar::close);
    connect(replaceButton, &QPushButton::clicked, this, &SearchBar::replace);
    connect(replaceAllButton, &QPushButton::clicked, this, &SearchBar::replaceAll);

    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { follow(now); });

    connect(menu_->addAction(itemText(texts::kFind, Qt::CTRL | Qt::Key_F)), &QAction::triggered, this,
            [this] { open(false); });
    connect(menu_->addAction(itemText(texts::kFindReplace, Qt::CTRL | Qt::Key_H)), &QAction::triggered, this,
            [this] { open(true); });
    connect(menu_->addAction(itemText(texts::kFindNext, QKeyCombination(Qt::Key_F3))), &QAction::triggered, this,
            [this] { findNext(false); });
    connect(menu_->addAction(itemText(texts::kFindPrevious, Qt::SHIFT | Qt::Key_F3)), &QAction::triggered, this,
            [this] { findNext(true); });
}

void SearchBar::follow(QWidget* focus)
{
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        if (fields_[i] == focus)
            current_ = i;
    }
    if (focus && links_.isAncestorOf(focus))
        current_ = kFieldCount;
}

bool SearchBar::takeKey(const QKeyEvent& key)
{
    const Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier;
    const QKeyCombination pressed(mods, Qt::Key(key.key()));
    if (pressed == (Qt::CTRL | Qt::Key_F) || pressed == (Qt::CTRL | Qt::Key_H)) {
        open(key.key() == Qt::Key_H);
        return true;
    }
    if (key.key() == Qt::Key_F3 && (mods == Qt::NoModifier || mods == Qt::ShiftModifier)) {
        findNext(mods == Qt::ShiftModifier);
        return true;
    }
    if (!strip_->isVisible())
        return false;
    if (pressed == QKeyCombination(Qt::Key_Escape)) {
        close();
        return true;
    }
    const bool enter = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
    if (enter && mods == Qt::ShiftModifier && find_->hasFocus()) {
        findNext(true);
        return true;
    }
    return false;
}

void SearchBar::open(bool replacing)
{
    follow(window_->focusWidget());
    // A short selection in one line is what the writer wants to find.
    if (current_ < kFieldCount && window_->focusWidget() == fields_[current_]) {
        const TextSelection selection = fieldSelection(fields_[current_]);
        const QString selected = texts_->partText(current_).mid(selection.start, selection.end - selection.start);
        if (!selected.isEmpty() && selected.size() <= 100 && !selected.contains(QChar::ParagraphSeparator))
            find_->setText(selected);
    }
    replaceRow_->setVisible(replacing);
    setOpen(true);
    find_->setFocus(Qt::ShortcutFocusReason);
    find_->selectAll();
    count();
}

void SearchBar::close()
{
    if (!strip_->isVisible())
        return;
    // Back to where the writer was, with the hit still selected; the focus
    // moves before the bar hides, or it would stay in the hidden bar.
    if (isAncestorOf(QApplication::focusWidget())) {
        QWidget* back = current_ < kFieldCount ? fields_[current_] : nullptr;
        if (back && back->isVisible()) {
            back->setFocus(Qt::OtherFocusReason);
            if (lastHit_ && lastHit_->part == current_)
                select(current_, lastHit_->start, lastHit_->length);
        } else if (current_ >= kFieldCount && links_.isVisible() && links_.selectedLine() >= 0) {
            links_.selectLine(links_.selectedLine());
        } else {
            // The first control of the window that takes the focus.
            QWidget* start = window_->centralWidget();
            for (QWidget* w = start->nextInFocusChain(); w && w != start; w = w->nextInFocusChain()) {
                if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && !isAncestorOf(w)) {
                    w->setFocus(Qt::OtherFocusReason);
                    break;
                }
            }
        }
    }
    setOpen(false);
}

void SearchBar::setOpen(bool open)
{
    // Its icon is looked up in the icon theme, a fifth of the program's
    // start-up: not before the bar is first wanted.
    if (open)
        find_->setClearButtonEnabled(true);
    if (strip_->isVisibleTo(window_) == open)
        return;
    strip_->setVisible(open);
    emit openChanged();
}

int SearchBar::openHeight() const
{
    return strip_->isVisibleTo(window_) ? strip_->sizeHint().height() : 0;
}

bool SearchBar::counting() const
{
    return counting_.has_value() || countLater_->isActive() || countStep_->isActive();
}

void SearchBar::say(const QString& notice, bool withCount)
{
    notice_ = notice;
    noticeWithCount_ = withCount;
    showStatus();
}

void SearchBar::showStatus()
{
    if (notice_.isEmpty())
        status_->setText(countText_);
    else if (noticeWithCount_ && !countText_.isEmpty())
        status_->setText(toQString(texts::kCountAndNotice).arg(countText_, notice_));
    else
        status_->setText(notice_);
}

ArticleSearch SearchBar::search() const
{
    return ArticleSearch(find_->text(), {matchCase_->isChecked(), wholeWords_->isChecked()});
}

void SearchBar::count()
{
    countLater_->stop();
    counting_ = search();
    countPart_ = 0;
    counted_ = 0;
    if (counting_->isEmpty()) {
        counting_.reset();
        countText_.clear();
        showStatus();
        return;
    }
    countStep_->start();
}

// The hits are counted a few fields at a time, so that the window keeps
// answering while a long article is counted; reading the fields' texts for
// the first time is most of the work.
void SearchBar::countSome()
{
    if (!counting_)
        return;
    QElapsedTimer slice;
    slice.start();
    while (countPart_ < texts_->partCount() && slice.elapsed() < kCountSliceMs)
        counted_ += counting_->countIn(texts_->partText(countPart_++));
    if (countPart_ < texts_->partCount()) {
        countStep_->start();
        return;
    }
    counting_.reset();
    countText_ = counted_ == 0   ? toQString(texts::kNoHits)
                 : counted_ == 1 ? toQString(texts::kOneHit)
                                 : toQString(texts::kHits).arg(dutchNumber(counted_));
    showStatus();
}

SearchHit SearchBar::place() const
{
    if (current_ < kFieldCount) {
        const TextSelection selection = fieldSelection(fields_[current_]);
        return {current_, selection.start, selection.end - selection.start};
    }
    const int row = links_.selectedLine();
    if (row < 0)
        return {kFieldCount, 0, 0};
    const std::size_t part = kFieldCount + std::size_t(row);
    if (lastHit_ && lastHit_->part == part)
        return *lastHit_;
    return {part, 0, 0};
}

bool SearchBar::findNext(bool backward)
{
    follow(window_->focusWidget());
    const ArticleSearch s = search();
    if (s.isEmpty()) {
        open(false);
        return false;
    }
    if (countText_.isEmpty() && !counting_ && !countLater_->isActive())
        count();
    const std::optional<ArticleSearch::Found> found = s.find(*texts_, place(), backward);
    if (!found) {
        say(toQString(texts::kNoHits));
        return false;
    }
    showHit(found->hit);
    say(found->wrapped ? toQString(backward ? texts::kWrappedToEnd : texts::kWrappedToStart) : QString(), true);
    return true;
}

void SearchBar::showHit(const SearchHit& hit)
{
    lastHit_ = hit;
    current_ = std::min(hit.part, kFieldCount);
    QWidget* barFocus = isAncestorOf(QApplication::focusWidget()) ? QApplication::focusWidget() : nullptr;
    if (hit.part < kFieldCount) {
        showPage_(kFields[hit.part].page);
        // The focus visits the field, so that the live view shows its
        // section; from the bar it comes back there, so that Enter goes on
        // searching instead of typing over the hit.
        fields_[hit.part]->setFocus(Qt::OtherFocusReason);
        if (barFocus)
            barFocus->setFocus(Qt::OtherFocusReason);
        select(hit.part, hit.start, hit.length);
    } else {
        showPage_(kLinksPage);
        links_.selectLine(int(hit.part - kFieldCount));
        if (barFocus)
            barFocus->setFocus(Qt::OtherFocusReason);
    }
    current_ = std::min(hit.part, kFieldCount);
}

void SearchBar::select(std::size_t part, qsizetype start, qsizetype length)
{
    if (auto* line = qobject_cast<QLineEdit*>(fields_[part])) {
        line->setSelection(int(start), int(length));
        return;
    }
    auto* edit = qobject_cast<QPlainTextEdit*>(fields_[part]);
    QTextCursor cursor(edit->document());
    cursor.setPosition(int(start));
    cursor.setPosition(int(start + length), QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
    edit->centerCursor();
}

void SearchBar::replace()
{
    follow(window_->focusWidget());
    const ArticleSearch s = search();
    if (s.isEmpty())
        return;
    const SearchHit at = place();
    const QString text = texts_->partText(at.part);
    if (s.isHitAt(text, at.start, at.length)) {
        const QString by = replaceWith_->text();
        const TextEdit edit{at.start, at.start + at.length, by, {at.start, at.start + by.size()}};
        if (at.part < kFieldCount)
            applyEdit(fields_[at.part], edit);
        else
            links_.replaceLine(int(at.part - kFieldCount), applied(text, edit));
        lastHit_ = SearchHit{at.part, at.start, by.size()};
        count();
    }
    findNext(false);
}

void SearchBar::replaceAll()
{
    const ArticleSearch s = search();
    if (s.isEmpty())
        return;
    const QString by = replaceWith_->text();
    qsizetype hits = 0;
    qsizetype fields = 0;
    qsizetype links = 0;
    for (const PartReplacement& change : s.replaceAll(*texts_, by)) {
        hits += change.count;
        const qsizetype end = change.from + change.insert.size();
        const TextEdit edit{change.from, change.to, change.insert, {end, end}};
        if (change.part < kFieldCount) {
            ++fields;
            applyEdit(fields_[change.part], edit);
        } else {
            ++links;
            const int row = int(change.part - kFieldCount);
            links_.replaceLine(row, applied(links_.line(row), edit));
        }
    }
    lastHit_.reset();
    say(QString());
    count();
    replaced_->setText(hits == 0 ? toQString(texts::kNoHits)
                                 : toQString(texts::kReplacedIn).arg(dutchNumber(hits), partsText(fields, links)));
}

}  // namespace vinkring
