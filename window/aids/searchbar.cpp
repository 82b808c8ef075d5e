#include "window/aids/searchbar.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLayout>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "model/fieldrules.h"
#include "model/texts.h"
#include "session/documentsession.h"
#include "window/form/articlefields.h"
#include "window/form/controls.h"
#include "window/form/articlehistory.h"
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

QString withLineEndMarks(const QString& text)
{
    QString marked = withCrLf(text);
    return marked.replace(QStringLiteral("\r\n"), toQString(texts::kLineEndMark));
}

QString fromLineEndMarks(const QString& shown)
{
    return QString(shown).replace(toQString(texts::kLineEndMark), QStringLiteral("\r\n"));
}

SearchBar::SearchBar(DocumentSession& session, ArticleFields& fields, ArticleHistory& history, LinksEditor& links,
                     std::function<void(int page)> showPage, QMainWindow* window, QMenu* menu)
    : session_(session), fields_(fields), history_(history), links_(links), showPage_(std::move(showPage)),
      window_(window), menu_(menu)
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
    auto* closeButton = new QToolButton(this);
    closeButton->setText(QStringLiteral("✕"));
    closeButton->setAutoRaise(true);
    closeButton->setToolTip(toQString(texts::kCloseSearch));
    closeButton->setAccessibleName(toQString(texts::kCloseSearch));

    replaceRow_ = new QWidget(this);
    replaceWith_ = new QLineEdit(replaceRow_);
    replaceWith_->setObjectName(QStringLiteral("txtVervangen"));
    // A line end pasted into a search field shows as its mark.
    for (QLineEdit* field : {find_, replaceWith_})
        field->setValidator(new LineEndRule(withLineEndMarks, field));
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
    findLabel->setMinimumWidth(labelWidth);
    replaceLabel->setMinimumWidth(labelWidth);
    fitFields();

    auto* findRow = new QHBoxLayout;
    findRow->setContentsMargins(0, 0, 0, 0);
    for (QWidget* w : std::initializer_list<QWidget*>{findLabel, find_, previous, next, matchCase_, wholeWords_})
        findRow->addWidget(w);
    findRow->setStretchFactor(find_, 2);
    findRow->addWidget(status_, 1);
    findRow->addWidget(closeButton);
    auto* replaceLayout = new QHBoxLayout(replaceRow_);
    replaceLayout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* w : std::initializer_list<QWidget*>{replaceLabel, replaceWith_, replaceButton, replaceAllButton})
        replaceLayout->addWidget(w);
    replaceLayout->setStretchFactor(replaceWith_, 2);
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
    // The count follows every change of the document while the bar is open.
    const auto recount = [this] {
        if (strip_->isVisible())
            countLater_->start();
    };
    connect(&session_, &DocumentSession::documentChanged, this, recount);
    connect(&session_, &DocumentSession::documentReplaced, this, recount);
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

    connect(menu_->addAction(itemText(texts::kFind, Qt::CTRL | Qt::Key_F)), &QAction::triggered, this,
            [this] { open(false); });
    connect(menu_->addAction(itemText(texts::kFindReplace, Qt::CTRL | Qt::Key_H)), &QAction::triggered, this,
            [this] { open(true); });
    connect(menu_->addAction(itemText(texts::kFindNext, QKeyCombination(Qt::Key_F3))), &QAction::triggered, this,
            [this] { findNext(false); });
    connect(menu_->addAction(itemText(texts::kFindPrevious, Qt::SHIFT | Qt::Key_F3)), &QAction::triggered, this,
            [this] { findNext(true); });
}

void SearchBar::fitFields()
{
    // Twenty-eight characters where the window has room, down to nine on a
    // narrow screen at a large font, so that the bar never widens the window.
    const int character = find_->fontMetrics().averageCharWidth();
    for (QLineEdit* field : {find_, replaceWith_}) {
        field->setMinimumWidth(character * 9);
        field->setMaximumWidth(character * 28);
    }
    // On a narrow screen at a large font the count gives way before the bar
    // widens the window past the screen.
    status_->setMinimumWidth(status_->fontMetrics().averageCharWidth() * 4);
}

// A style sheet's font reaches the fields when they are polished, at their
// first showing: measured again then, and whenever the font changes.
void SearchBar::showEvent(QShowEvent* event)
{
    fitFields();
    QWidget::showEvent(event);
}

void SearchBar::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        fitFields();
    QWidget::changeEvent(event);
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
    // A short selection in one line is what the writer wants to find.
    if (const std::optional<std::size_t> field = fields_.focusedField()) {
        const TextSelection selection = fields_.selection(*field);
        const QString selected =
            session_.document().fields[*field].mid(selection.start, selection.end - selection.start);
        if (!selected.isEmpty() && selected.size() <= 100 && std::none_of(selected.cbegin(), selected.cend(), isLineBreak))
            find_->setText(selected);
    }
    setOpen(true, replacing);
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
        const std::size_t part = fields_.currentPart();
        if (part < kFieldCount && fields_.isShown(part)) {
            fields_.focus(part);
            if (lastHit_ && lastHit_->part == part)
                fields_.select(part, {lastHit_->start, lastHit_->start + lastHit_->length});
        } else if (part == ArticleFields::kLinks && links_.isVisible() && links_.selectedLine() >= 0) {
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
    setOpen(false, !replaceRow_->isHidden());
}

void SearchBar::setOpen(bool open, bool replacing)
{
    // Its icon is looked up in the icon theme, a fifth of the program's
    // start-up: not before the bar is first wanted.
    if (open && !find_->isClearButtonEnabled()) {
        find_->setClearButtonEnabled(true);
        for (QToolButton* clear : find_->findChildren<QToolButton*>())
            clear->setAccessibleName(toQString(texts::kClearSearch));
    }
    const bool rowsChange = replaceRow_->isHidden() == replacing;
    if (strip_->isVisibleTo(window_) == open && !(open && rowsChange))
        return;
    replaceRow_->setVisible(replacing);
    strip_->setVisible(open);
    // The window measures the bar at once. A status bar keeps the height of
    // its tallest item as it last laid itself out (on a layout request it
    // gets later): it does so now.
    layout()->invalidate();
    QEvent relayout(QEvent::LayoutRequest);
    QCoreApplication::sendEvent(strip_, &relayout);
    emit heightChanged();
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
    return ArticleSearch(fromLineEndMarks(find_->text()), {matchCase_->isChecked(), wholeWords_->isChecked()});
}

void SearchBar::count()
{
    countLater_->stop();
    counting_ = search();
    countedDocument_ = session_.document();
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

// The hits are counted a few parts at a time, so that the window keeps
// answering while a long article is counted.
void SearchBar::countSome()
{
    if (!counting_)
        return;
    const DocumentTexts parts(countedDocument_);
    QElapsedTimer slice;
    slice.start();
    while (countPart_ < parts.partCount() && slice.elapsed() < kCountSliceMs)
        counted_ += counting_->countIn(parts.partText(countPart_++));
    if (countPart_ < parts.partCount()) {
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
    const std::size_t part = fields_.currentPart();
    if (part < kFieldCount) {
        const TextSelection selection = fields_.selection(part);
        return {part, selection.start, selection.end - selection.start};
    }
    const int row = links_.selectedLine();
    if (row < 0)
        return {kFieldCount, 0, 0};
    const std::size_t line = kFieldCount + std::size_t(row);
    if (lastHit_ && lastHit_->part == line)
        return *lastHit_;
    return {line, 0, 0};
}

bool SearchBar::findNext(bool backward)
{
    const ArticleSearch s = search();
    if (s.isEmpty()) {
        open(false);
        return false;
    }
    if (countText_.isEmpty() && !counting_ && !countLater_->isActive())
        count();
    const std::optional<ArticleSearch::Found> found = s.find(DocumentTexts(session_.document()), place(), backward);
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
    QWidget* barFocus = isAncestorOf(QApplication::focusWidget()) ? QApplication::focusWidget() : nullptr;
    if (hit.part < kFieldCount) {
        showPage_(kFields[hit.part].page);
        // The focus visits the field, so that the live view shows its
        // section; from the bar it comes back there, so that Enter goes on
        // searching instead of typing over the hit.
        fields_.focus(hit.part);
        if (barFocus)
            barFocus->setFocus(Qt::OtherFocusReason);
        fields_.select(hit.part, {hit.start, hit.start + hit.length});
    } else {
        showPage_(kLinksPage);
        links_.selectLine(int(hit.part - kFieldCount));
        if (barFocus)
            barFocus->setFocus(Qt::OtherFocusReason);
    }
}

void SearchBar::replace()
{
    const ArticleSearch s = search();
    if (s.isEmpty())
        return;
    const SearchHit at = place();
    const QString text = DocumentTexts(session_.document()).partText(at.part);
    if (s.isHitAt(text, at.start, at.length)) {
        const QString by = fromLineEndMarks(replaceWith_->text());
        const TextEdit edit{at.start, at.start + at.length, by, {at.start, at.start + by.size()}};
        qsizetype end = 0;
        if (at.part < kFieldCount) {
            fields_.apply(at.part, edit);
            end = fields_.selection(at.part).end;
        } else {
            links_.replaceLine(int(at.part - kFieldCount), applied(text, edit));
            end = at.start + fitToLinkLine(by).size();
        }
        lastHit_ = SearchHit{at.part, at.start, end - at.start};
        count();
    }
    findNext(false);
}

void SearchBar::replaceAll()
{
    const ArticleSearch s = search();
    if (s.isEmpty())
        return;
    const QString by = fromLineEndMarks(replaceWith_->text());
    // The document as it is before: each part's edits are of its text then.
    const ArticleDocument before = session_.document();
    const DocumentTexts parts(before);
    qsizetype hits = 0;
    qsizetype fields = 0;
    qsizetype links = 0;
    {
        const ArticleHistory::Command step(&history_);
        for (std::size_t part = 0; part < parts.partCount(); ++part) {
            const QString text = parts.partText(part);
            // Hit by hit, so that the text between them and the places in it stay.
            QList<TextEdit> edits;
            for (qsizetype at = s.nextIn(text, 0); at >= 0; at = s.nextIn(text, at + s.length()))
                edits.append(TextEdit{at, at + s.length(), by, {}});
            if (edits.isEmpty())
                continue;
            hits += edits.size();
            if (part < kFieldCount) {
                ++fields;
                fields_.apply(part, edits);
            } else {
                ++links;
                QString line = text;
                for (auto edit = edits.crbegin(); edit != edits.crend(); ++edit)
                    line.replace(edit->from, edit->to - edit->from, edit->insert);
                links_.replaceLine(int(part - kFieldCount), line);
            }
        }
    }
    lastHit_.reset();
    say(QString());
    count();
    replaced_->setText(hits == 0 ? toQString(texts::kNoHits)
                                 : toQString(texts::kReplacedIn).arg(dutchNumber(hits), partsText(fields, links)));
}

}  // namespace vinkring
