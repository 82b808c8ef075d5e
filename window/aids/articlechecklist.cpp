#include "window/aids/articlechecklist.h"

#include <algorithm>

#include <QAction>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "model/texts.h"
#include "window/aids/viewplacement.h"
#include "window/form/articlefields.h"
#include "window/form/form1.h"
#include "window/form/linkseditor.h"

namespace vinkring {

namespace {

// The finding's index in findings_, on its item.
constexpr int kFindingRole = Qt::UserRole;

// A list of thousands of wrapped lines takes the window tenths of a second
// to lay out (a tag left open on every line of a long article); as a
// compiler does, the list shows the first ones and counts the rest.
constexpr qsizetype kMostShown = 100;

constexpr QSize kWanted(560, 420);
constexpr QSize kSmallest(320, 180);

// The page of the links list: the one after the last field's.
int linksPage()
{
    return kFields[kFieldCount - 1].page + 1;
}

}  // namespace

ArticleCheckList::ArticleCheckList(Form1& form, ContextSource context)
    : QWidget(&form, Qt::Window), form_(form), context_(std::move(context))
{
    setObjectName(QStringLiteral("articleCheck"));
    setWindowTitle(toQString(texts::kCheckTitle));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("checkFindings"));
    list_->setAccessibleName(toQString(texts::kCheckListName));
    list_->setWordWrap(true);
    // Each finding apart from the next, as it may take a few lines.
    list_->setAlternatingRowColors(true);
    list_->setSpacing(1);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("checkStatus"));
    status_->setTextFormat(Qt::PlainText);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(status_);

    // Enter, or a double click (as the platform activates an item).
    connect(list_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        const QVariant index = item->data(kFindingRole);
        if (index.isValid() && index.toInt() < findings_.size())
            goTo(findings_.at(index.toInt()));
    });

    open_ = new QAction(toQString(texts::kMenuCheck) + u'\t'
                            + QKeySequence(kKey).toString(QKeySequence::NativeText),
                        this);
    open_->setObjectName(QStringLiteral("mnuBeeldControleren"));
    // Checked while the list is open, as its siblings in "Beeld".
    open_->setCheckable(true);
    connect(open_, &QAction::toggled, this, [this](bool on) {
        if (on)
            bringUp();
        else
            hide();
    });
    pool_.setMaxThreadCount(1);
    pause_.setSingleShot(true);
    pause_.setInterval(kPauseMilliseconds);
    connect(&pause_, &QTimer::timeout, this, &ArticleCheckList::refresh);
    resize(kWanted);
}

// The writer asked for the list: the keys go to it, Enter back to the place.
void ArticleCheckList::bringUp()
{
    refresh();
    QWidget::show();
    raise();
    activateWindow();
    list_->setFocus(Qt::ShortcutFocusReason);
}

// F7 opens the list, or brings it up when it is open.
bool ArticleCheckList::takeKey(const QKeyEvent& key)
{
    if (key.key() != kKey || key.modifiers() != Qt::NoModifier)
        return false;
    if (open_->isChecked())
        bringUp();
    else
        open_->setChecked(true);
    return true;
}

void ArticleCheckList::closeEvent(QCloseEvent* event)
{
    const QSignalBlocker quiet(open_);
    open_->setChecked(false);
    QWidget::closeEvent(event);
}

void ArticleCheckList::changed()
{
    if (isVisible())
        pause_.start();
}

ArticleCheckList::~ArticleCheckList()
{
    // A check under way sends its findings here.
    pool_.waitForDone();
}

// The check reads and builds the whole post (at 1 MB some milliseconds, more
// on a busy machine): it runs on a worker, on a copy of the document (its
// texts shared, not copied), and only the latest one's findings are shown.
void ArticleCheckList::refresh()
{
    pause_.stop();
    const CheckContext context = context_ ? context_() : CheckContext{};
    const int generation = ++generation_;
    if (findings_.isEmpty() && list_->count() == 0)
        status_->setText(toQString(texts::kCheckBusy));
    pool_.start([this, doc = form_.document(), context, generation] {
        QList<CheckFinding> findings = checkArticle(doc, context);
        QMetaObject::invokeMethod(
            this,
            [this, generation, findings = std::move(findings)] {
                if (generation == generation_) {
                    shownGeneration_ = generation;
                    showFindings(findings);
                }
            },
            Qt::QueuedConnection);
    });
}

void ArticleCheckList::showFindings(const QList<CheckFinding>& findings)
{
    if (findings == findings_ && list_->count() > 0)
        return;
    const int row = list_->currentRow();
    findings_ = findings;
    list_->clear();
    // The findings of the whole article (they come first) and then the most of the rest.
    const qsizetype wide = std::find_if(findings_.cbegin(), findings_.cend(),
                                        [](const CheckFinding& f) { return !isArticleWide(f.kind); })
        - findings_.cbegin();
    const qsizetype shown = std::min(findings_.size(), wide + kMostShown);
    for (qsizetype i = 0; i < shown; ++i) {
        const CheckFinding& finding = findings_.at(i);
        auto* item = new QListWidgetItem(toQString(texts::kCheckItem).arg(finding.where, finding.what), list_);
        item->setData(kFindingRole, int(i));
    }
    if (shown < findings_.size()) {
        const QString more = toQString(texts::kCheckMore).arg(dutchNumber(findings_.size() - shown));
        auto* item = new QListWidgetItem(more, list_);
        item->setFlags(Qt::ItemIsEnabled);
    }
    if (findings_.isEmpty()) {
        // Said in the list too, where a screen reader is.
        auto* item = new QListWidgetItem(toQString(texts::kCheckNone), list_);
        item->setFlags(Qt::ItemIsEnabled);
        status_->setText(toQString(texts::kCheckNone));
    } else {
        status_->setText(findings_.size() == 1 ? toQString(texts::kCheckOne)
                                               : toQString(texts::kCheckCount).arg(dutchNumber(findings_.size())));
        // The writer's place in the list stays where it was, as near as the list allows.
        list_->setCurrentRow(std::clamp(row, 0, int(shown) - 1));
    }
}

// A finding found before the latest change may stand elsewhere now (the
// writer typed in the pause): the article is checked again at once, and the
// place taken from the finding that says the same of the same field or line.
std::optional<CheckFinding> ArticleCheckList::current(CheckFinding finding)
{
    if (!pause_.isActive() && shownGeneration_ == generation_)
        return finding;
    pause_.stop();
    shownGeneration_ = ++generation_;
    const QList<CheckFinding> now = checkArticle(form_.document(), context_ ? context_() : CheckContext{});
    // After the item's activation, whose item the list would take down.
    QMetaObject::invokeMethod(this, [this, now] { showFindings(now); }, Qt::QueuedConnection);
    std::optional<CheckFinding> same;
    for (const CheckFinding& found : now) {
        if (found.kind != finding.kind || found.place != finding.place || found.what != finding.what)
            continue;
        if (!same || std::abs(found.offset - finding.offset) < std::abs(same->offset - finding.offset))
            same = found;
    }
    return same;
}

void ArticleCheckList::goTo(const CheckFinding& chosen)
{
    const std::optional<CheckFinding> now = current(CheckFinding(chosen));
    // Mended in the meantime: to its field or line, selecting nothing.
    CheckFinding finding = now.value_or(chosen);
    if (!now)
        finding.length = 0;
    if (!finding.place) {
        if (finding.kind == CheckKind::UnknownWords) {
            // The last page, on its "Spellingscontrole" when that can run.
            form_.showPage(int(kPageCount) - 1);
            form_.activateWindow();
            if (auto* spelling = form_.findChild<QPushButton*>(QStringLiteral("Command6"));
                spelling && spelling->isEnabled())
                spelling->setFocus(Qt::OtherFocusReason);
        }
        emit wholePostChosen(finding.kind);
        return;
    }
    if (finding.place->kind == DocumentPlace::Kind::Link) {
        LinksEditor& links = form_.linksEditor();
        const int line = int(finding.place->index);
        if (line >= links.lineCount())
            return;
        form_.showPage(linksPage());
        form_.activateWindow();
        // As a click on the line: its URL and description in the fields, "Wijzig" and "Verwijder" on.
        links.selectLine(line);
        links.List1_Click();
        return;
    }
    const auto field = std::size_t(finding.place->index);
    const qsizetype size = form_.fields().text(field).size();
    finding.offset = std::min(finding.offset, size);
    form_.goToField(field, finding.offset);
    if (finding.length > 0)
        form_.fields().select(field, {finding.offset, finding.offset + finding.length});
}

void ArticleCheckList::showEvent(QShowEvent* event)
{
    placeBesideForm();
    QWidget::showEvent(event);
}

// The first time beside the wizard, where it covers least of it and of the
// live view when that is open.
void ArticleCheckList::placeBesideForm()
{
    if (placed_)
        return;
    placed_ = true;
    const QScreen* screen = form_.screen();
    const QRect room = screen ? screen->availableGeometry() : QRect();
    const QSize frame = frameGeometry().size() - size();
    QRect beside = form_.frameGeometry();
    for (const QWidget* window : form_.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (window != this && window->isWindow() && window->isVisible())
            beside = beside.united(window->frameGeometry());
    }
    QRect place = placeBeside(beside, room, size() + frame, kSmallest + frame);
    place.setSize(place.size() - frame);
    resize(place.size());
    move(place.topLeft());
}

}  // namespace vinkring
