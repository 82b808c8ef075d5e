#include "window/aids/articleview.h"

#include <algorithm>

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QtMath>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QHBoxLayout>
#include <QSpinBox>
#include <QVBoxLayout>

#include "article/articlebuilder.h"
#include "model/texts.h"
#include "platform/colours.h"
#include "window/form/articlefields.h"
#include "window/aids/viewplacement.h"

namespace vinkring {

namespace {

// The conversion links to no others; checked again at the click.
bool mayOpen(const QUrl& url)
{
    return url.isValid() && mayOpenScheme(url.scheme());
}

// Characters a text document takes for structure (paragraphs, objects,
// frames) rather than text.
QChar asText(QChar c)
{
    switch (c.unicode()) {
    case 0x2028:
    case 0x2029:
        return u' ';
    case 0xFFFC:
    case 0xFDD0:
    case 0xFDD1:
        return QChar::ReplacementCharacter;
    default:
        return c;
    }
}

QString asPlainText(const QString& text)
{
    if (std::all_of(text.cbegin(), text.cend(), [](QChar c) { return asText(c) == c; }))
        return text;
    QString out = text;
    for (QChar& c : out)
        c = asText(c);
    return out;
}

// The line that holds this offset of the forum text.
int lineAt(const QList<ForumLine>& lines, qsizetype offset)
{
    const auto after = std::upper_bound(lines.begin(), lines.end(), offset,
                                        [](qsizetype at, const ForumLine& line) { return at < line.source; });
    return int(std::max<qsizetype>(0, (after - lines.begin()) - 1));
}

}  // namespace

namespace {

// Where the view's place and the post limit are kept between runs, in the
// program's configuration folder; read when the view first opens, not at the
// program's start.
const QString kSettingsFileName = QStringLiteral("/voorbeeld.conf");

const QString kPlaceKey = QStringLiteral("plaats");
const QString kLimitKey = QStringLiteral("limiet");

}  // namespace

ArticleView::ArticleView(Source source, QWidget* parent, QString settingsFolder)
    : QWidget(parent, Qt::Window), source_(std::move(source)),
      openLink_([](const QUrl& url) { QDesktopServices::openUrl(url); }),
      settingsFile_(settingsFolder.isEmpty() ? QString() : settingsFolder + kSettingsFileName)
{
    setObjectName(QStringLiteral("articleView"));
    setWindowTitle(toQString(texts::kArticleViewTitle));
    // The writer goes on typing in the wizard while it opens.
    setAttribute(Qt::WA_ShowWithoutActivating);
    text_ = new QTextBrowser(this);
    text_->setObjectName(QStringLiteral("articleText"));
    text_->setAccessibleName(toQString(texts::kArticleViewTitle));
    text_->setOpenLinks(false);
    // Nothing to select, so nothing reaches the clipboard from here.
    text_->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    text_->setContextMenuPolicy(Qt::NoContextMenu);
    text_->installEventFilter(this);
    text_->viewport()->installEventFilter(this);
    text_->document()->setUndoRedoEnabled(false);
    size_ = new QLabel(this);
    size_->setObjectName(QStringLiteral("articleSize"));
    size_->setTextFormat(Qt::PlainText);
    size_->setWordWrap(true);  // a narrow view keeps its limit in sight
    // The forum's limit of a post, when the writer knows it: none at first.
    limit_ = new QSpinBox(this);
    limit_->setObjectName(QStringLiteral("postLimit"));
    limit_->setRange(0, 1000000);
    limit_->setSingleStep(1000);
    limit_->setSpecialValueText(toQString(texts::kNoPostLimit));
    limit_->setSuffix(toQString(texts::kPostLimitUnit));
    connect(limit_, &QSpinBox::valueChanged, this, [this](int limit) {
        if (!settingsFile_.isEmpty())
            QSettings(settingsFile_, QSettings::IniFormat).setValue(kLimitKey, limit);
        showSize();
        emit postLimitChanged();
    });
    auto* limitLabel = new QLabel(toQString(texts::kPostLimit), this);
    limitLabel->setBuddy(limit_);
    // In two lines where the view is narrow, so that it stays beside the wizard.
    limitLabel->setWordWrap(true);
    limitRow_ = new QWidget(this);
    auto* limitRow = new QHBoxLayout(limitRow_);
    limitRow->setContentsMargins(0, 0, 0, 0);
    limitRow->addWidget(limitLabel);
    limitRow->addWidget(limit_);
    limitLabel->setParent(limitRow_);
    limit_->setParent(limitRow_);
    status_ = new QBoxLayout(QBoxLayout::LeftToRight);
    status_->addWidget(size_, 1);
    status_->addWidget(limitRow_, 0, Qt::AlignRight);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addLayout(status_);

    toggle_ = new QAction(toQString(texts::kMenuArticleView), this);
    toggle_->setObjectName(QStringLiteral("mnuBeeldVoorbeeld"));
    toggle_->setCheckable(true);
    connect(toggle_, &QAction::toggled, this, &QWidget::setVisible);
    pause_.setSingleShot(true);
    pause_.setInterval(kPauseMilliseconds);
    connect(&pause_, &QTimer::timeout, this, &ArticleView::refresh);
    connect(text_, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        if (mayOpen(url))
            openLink_(url);
    });
    lines_.append(ForumLine{});  // the empty document's one block
    resize(560, 680);
}

ArticleView::~ArticleView()
{
    // Taking its widgets down moves the focus, before QObject would disconnect.
    disconnect(following_);
    if (isVisible())
        rememberPlace();
}

void ArticleView::follow(ArticleFields& fields)
{
    fields_ = &fields;
    following_ = connect(&fields, &ArticleFields::currentFieldChanged, this, &ArticleView::partEntered);
}

QString ArticleView::sizeText() const
{
    return size_->text();
}

void ArticleView::changed()
{
    // A hidden view catches up when it is shown.
    if (!isVisible())
        return;
    if (!pause_.isActive())
        waiting_.start();
    if (waiting_.elapsed() < kLongestWaitMilliseconds)
        pause_.start();
}

void ArticleView::refresh()
{
    pause_.stop();
    const ArticleDocument& doc = source_();
    // The window's texts share their characters until they change, so an
    // unchanged field compares at no cost.
    const auto same = [](const QString& a, const QString& b) {
        return a.size() == b.size() && (a.constData() == b.constData() || a == b);
    };
    std::array<bool, kPartCount> changed{};
    bool any = false;
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        changed[i] = !parts_[i].valid || !same(doc.fields[i], parts_[i].fieldText);
        any = any || changed[i];
    }
    changed[kFieldCount] = !parts_[kFieldCount].valid || doc.links != shownLinks_;
    any = any || changed[kFieldCount];
    if (!any)
        return;
    const PartLines oldStarts = partLine_;
    showLines(readParts(doc, changed), oldStarts);
    showSize();
    keepInView(writingLine());
}

QList<ForumLine> ArticleView::readParts(const ArticleDocument& doc, std::array<bool, kPartCount> changed)
{
    ArticleOutline outline;
    const QString text = BuildArticle(doc, ArticleFlavour::Forum, &outline);
    textStart_ = outline.textStart;
    fieldStart_ = outline.fieldStart;
    linksStart_ = outline.linksStart;
    // A part that looked ahead for a link's end is read again after any
    // change behind it.
    bool changedAfter = false;
    for (std::size_t i = parts_.size(); i-- > 0;) {
        if (changedAfter && parts_[i].read.readAhead)
            changed[i] = true;
        changedAfter = changedAfter || changed[i];
    }
    QList<ForumLine> lines;
    lines.reserve(lines_.size() + 16);
    ForumCarry carry;
    words_ = 0;
    characters_ = 0;
    for (std::size_t i = 0; i < parts_.size(); ++i) {
        Part& part = parts_[i];
        const qsizetype from = i < kFieldCount ? outline.fieldStart[i] : outline.linksStart;
        const qsizetype to = i + 1 < kFieldCount ? outline.fieldStart[i + 1]
            : i + 1 == kFieldCount                ? outline.linksStart
                                                  : text.size();
        if (changed[i] || part.carriedIn != carry) {
            part.read = readForumPart(text, from, to, carry);
            for (ForumLine& line : part.read.lines)
                line.source -= from;
            part.carriedIn = carry;
            part.words = countWords(part.read.lines);
            part.characters = countCharacters(QStringView(text).sliced(from, to - from));
            part.valid = true;
            if (i < kFieldCount)
                part.fieldText = doc.fields[i];
            else
                shownLinks_ = doc.links;
        }
        carry = part.read.carried;
        words_ += part.words;
        characters_ += part.characters;
        partLine_[i] = int(lines.size());
        for (const ForumLine& line : part.read.lines)
            lines.append(ForumLine{line.source + from, line.runs});
    }
    return lines;
}

// The view's document holds a block per line. The title's part stands in
// the root frame, every later part's lines but its last (always empty: the
// blank line after it) in a frame of its own, and that blank line in the root
// between two frames. So block numbers are line numbers, and Qt lays out
// again only the frame that changed: it moves the others as a whole instead
// of walking every block below the change.
void ArticleView::showLines(QList<ForumLine> lines, const PartLines& oldStarts)
{
    const qsizetype common = std::min(lines_.size(), lines.size());
    qsizetype prefix = 0;
    while (prefix < common && lines_[prefix].runs == lines[prefix].runs)
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < common - prefix
           && lines_[lines_.size() - 1 - suffix].runs == lines[lines.size() - 1 - suffix].runs)
        ++suffix;
    const int from = int(prefix);
    const int oldEnd = int(lines_.size() - suffix);
    const int newEnd = int(lines.size() - suffix);
    if (from == oldEnd && from == newEnd && framed_) {
        lines_ = std::move(lines);
        return;
    }
    // An empty view has no place to keep: it starts at the top.
    const bool wasEmpty = !framed_;
    const Reading reading = readingPlace();
    if (framed_) {
        // From the last part up, so that the blocks before keep their numbers.
        for (std::size_t i = kPartCount; i-- > 0;) {
            const int oldFirst = oldStarts[i];
            const int oldCount = (i + 1 < kPartCount ? oldStarts[i + 1] : int(lines_.size())) - 1 - oldFirst;
            const int newFirst = partLine_[i];
            const int newCount = (i + 1 < kPartCount ? partLine_[i + 1] : int(lines.size())) - 1 - newFirst;
            replacePartLines(oldFirst, oldCount, newFirst, newCount, lines);
        }
    }
    lines_ = std::move(lines);
    if (!framed_ || text_->document()->blockCount() != lines_.size()) {
        rebuild();
        if (wasEmpty)
            text_->verticalScrollBar()->setValue(0);
        return;
    }
    // The reader keeps the place: lines after the change move with it; in
    // the change itself the view stays where it is.
    if (reading.block < from || reading.block >= oldEnd) {
        const int block = reading.block < from ? reading.block : reading.block + newEnd - oldEnd;
        const int top = blockTop(block) + reading.offset;
        QScrollBar* bar = text_->verticalScrollBar();
        // The view learns the new height of its text only later.
        if (top > bar->maximum())
            bar->setMaximum(top);
        bar->setValue(top);
    }
}

// The lines of one part but its last, oldCount blocks from block oldFirst,
// become lines[newFirst, newFirst + newCount): only those that differ are
// replaced, within the part's frame. A part has one such line at least.
void ArticleView::replacePartLines(int oldFirst, int oldCount, int newFirst, int newCount,
                                   const QList<ForumLine>& lines)
{
    const int common = std::min(oldCount, newCount);
    int prefix = 0;
    while (prefix < common && lines_[oldFirst + prefix].runs == lines[newFirst + prefix].runs)
        ++prefix;
    int suffix = 0;
    while (suffix < common - prefix
           && lines_[oldFirst + oldCount - 1 - suffix].runs == lines[newFirst + newCount - 1 - suffix].runs)
        ++suffix;
    const int from = oldFirst + prefix;  // blocks
    const int to = oldFirst + oldCount - suffix;
    const int first = newFirst + prefix;  // lines
    const int last = newFirst + newCount - suffix;
    if (from == to && first == last)
        return;
    QTextDocument* doc = text_->document();
    const auto endOf = [](const QTextBlock& block) { return block.position() + block.length() - 1; };
    QTextCursor cursor(doc);
    cursor.beginEditBlock();
    if (from < to && first < last) {
        cursor.setPosition(doc->findBlockByNumber(from).position());
        cursor.setPosition(endOf(doc->findBlockByNumber(to - 1)), QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        for (int i = first; i < last; ++i) {
            if (i > first)
                cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
            insertLine(cursor, lines[i]);
        }
    } else if (from < to) {
        // Whole blocks go: with the line end after them, or, at the part's
        // end, with the one before them, so that the frame keeps its end.
        if (to < oldFirst + oldCount) {
            cursor.setPosition(doc->findBlockByNumber(from).position());
            cursor.setPosition(doc->findBlockByNumber(to).position(), QTextCursor::KeepAnchor);
        } else {
            cursor.setPosition(endOf(doc->findBlockByNumber(from - 1)));
            cursor.setPosition(endOf(doc->findBlockByNumber(to - 1)), QTextCursor::KeepAnchor);
        }
        cursor.removeSelectedText();
    } else if (from < oldFirst + oldCount) {
        cursor.setPosition(doc->findBlockByNumber(from).position());
        for (int i = first; i < last; ++i) {
            insertLine(cursor, lines[i]);
            cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
        }
    } else {
        cursor.setPosition(endOf(doc->findBlockByNumber(from - 1)));
        for (int i = first; i < last; ++i) {
            cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
            insertLine(cursor, lines[i]);
        }
    }
    cursor.endEditBlock();
}

void ArticleView::insertLine(QTextCursor& cursor, const ForumLine& line)
{
    // The theme's link colour, also where a dark theme left it dark.
    const QPalette& palette = text_->palette();
    const QBrush linkColour(readableOn(palette.color(QPalette::Link), palette.color(QPalette::Base)));
    for (const ForumRun& run : line.runs)
        cursor.insertText(asPlainText(run.text), runCharFormat(run.styles, run.link, linkColour));
}

// Where the size and the limit do not fit side by side, the limit goes
// below the size: the status takes two lines, not three or more.
void ArticleView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    foldStatus();
}

void ArticleView::foldStatus()
{
    const int besides = size_->fontMetrics().horizontalAdvance(size_->text()) + limitRow_->sizeHint().width()
        + 2 * layout()->spacing() + layout()->contentsMargins().left() + layout()->contentsMargins().right();
    const bool fold = besides > width();
    status_->setDirection(fold ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight);
    // Across, the size takes the width; folded, the text keeps the height.
    status_->setStretch(0, fold ? 0 : 1);
}

// Another theme: the links in its colour.
void ArticleView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        const int top = text_->verticalScrollBar()->value();
        rebuild();
        text_->verticalScrollBar()->setValue(top);
    }
}

void ArticleView::rebuild()
{
    QTextDocument* doc = text_->document();
    doc->clear();
    framed_ = parts_.front().valid;
    if (!framed_)
        return;
    QTextCursor cursor(doc);
    cursor.beginEditBlock();
    for (std::size_t i = 0; i < kPartCount; ++i) {
        const int first = partLine_[i];
        const int blank = (i + 1 < kPartCount ? partLine_[i + 1] : int(lines_.size())) - 1;
        QTextFrame* frame = i > 0 ? cursor.insertFrame(QTextFrameFormat()) : nullptr;
        for (int line = first; line < blank; ++line) {
            if (line > first)
                cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
            insertLine(cursor, lines_[line]);
        }
        // To the blank line after the part, in the root.
        if (frame)
            cursor.setPosition(frame->lastPosition() + 1);
        else
            cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    }
    cursor.endEditBlock();
}

// The view's top line by halving, from the blocks' places: Qt's hit test
// walks the blocks from the start, a millisecond and more at 1 MB.
ArticleView::Reading ArticleView::readingPlace() const
{
    const int top = text_->verticalScrollBar()->value();
    int low = 0;
    int high = text_->document()->blockCount() - 1;
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (blockTop(middle) <= top)
            low = middle;
        else
            high = middle - 1;
    }
    return {low, top - blockTop(low)};
}

int ArticleView::blockTop(int block) const
{
    const QTextDocument* doc = text_->document();
    return qRound(doc->documentLayout()->blockBoundingRect(doc->findBlockByNumber(block)).top());
}

void ArticleView::partEntered(std::size_t part)
{
    if (!isVisible())
        return;
    const std::optional<std::size_t> clicked = std::exchange(clickedField_, std::nullopt);
    if (clicked == part)
        return;
    const int line = partLine_[std::min(part, kFieldCount)];
    if (pause_.isActive())
        refresh();
    scrollToLine(line);
}

// Brings the line to the top, unless it is in view already.
void ArticleView::scrollToLine(int line)
{
    const QTextDocument* doc = text_->document();
    const QRectF rect = doc->documentLayout()->blockBoundingRect(doc->findBlockByNumber(line));
    QScrollBar* bar = text_->verticalScrollBar();
    if (rect.top() >= bar->value() && rect.bottom() <= bar->value() + text_->viewport()->height())
        return;
    bar->setValue(qRound(rect.top()));
}

void ArticleView::showSize()
{
    const QString size = toQString(texts::kArticleSize).arg(dutchNumber(words_), dutchNumber(characters_));
    const int limit = limit_->value();
    if (limit <= 0) {
        size_->setText(size);
    } else {
        const qint64 percent = (qint64(characters_) * 100 + limit / 2) / limit;
        size_->setText(toQString(texts::kPostLimitUsed).arg(size, dutchNumber(percent), dutchNumber(limit)));
    }
    foldStatus();
}

// The section of the field that has the wizard's focus, and the line the
// writer is at in it.
void ArticleView::showFocusedField()
{
    if (!isVisible() || !fields_)
        return;
    if (const std::optional<std::size_t> field = fields_->focusedField())
        partEntered(*field);
    keepInView(writingLine());
}

// The line of the view that holds the cursor of the wizard's focused field;
// -1 when the focus is in none.
int ArticleView::writingLine() const
{
    const std::optional<std::size_t> field = fields_ ? fields_->focusedField() : std::nullopt;
    if (!field)
        return -1;
    return lineAt(lines_, textStart_[*field] + fields_->cursor(*field));
}

// Scrolls no more than it takes to show the whole line.
void ArticleView::keepInView(int line)
{
    if (line < 0 || line >= text_->document()->blockCount())
        return;
    const QTextDocument* doc = text_->document();
    const QRectF rect = doc->documentLayout()->blockBoundingRect(doc->findBlockByNumber(line));
    QScrollBar* bar = text_->verticalScrollBar();
    const int height = text_->viewport()->height();
    if (rect.top() < bar->value()) {
        bar->setValue(qRound(rect.top()));
    } else if (rect.bottom() > bar->value() + height) {
        const int value = qCeil(rect.bottom()) - height;
        // The view learns the new height of its text only later.
        if (value > bar->maximum())
            bar->setMaximum(value);
        bar->setValue(value);
    }
}

// A click on a paragraph of a field's text: to that field, the view staying
// where it is.
void ArticleView::clicked(QPoint at)
{
    if (!text_->anchorAt(at).isEmpty())
        return;
    const QTextCursor cursor = text_->cursorForPosition(at);
    const int block = cursor.blockNumber();
    if (block < 0 || block >= lines_.size())
        return;
    // The line's characters as shown stand for its forum text, tags and
    // codes left out: the place is as near as the shown text tells.
    const qsizetype source = lines_[block].source + cursor.positionInBlock();
    if (source >= linksStart_)
        return;
    std::size_t field = 0;
    while (field + 1 < kFieldCount && fieldStart_[field + 1] <= lines_[block].source)
        ++field;
    const qsizetype offset = std::max<qsizetype>(0, source - textStart_[field]);
    clickedField_ = field;
    handedOver_.start();
    emit fieldClicked(field, offset);
}

bool ArticleView::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && handedOver_.isValid() && handedOver_.elapsed() < 500
        && parentWidget()) {
        handedOver_.invalidate();
        QWidget* wizard = parentWidget()->window();
        QTimer::singleShot(0, wizard, [wizard] { wizard->activateWindow(); });
    }
    return QWidget::event(event);
}

// Select all and copy would select and copy all the same.
bool ArticleView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == text_->viewport()) {
        const bool press = event->type() == QEvent::MouseButtonPress;
        if (press || event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (press && mouse->button() == Qt::LeftButton)
                pressedAt_ = mouse->position().toPoint();
            else if (!press && mouse->button() == Qt::LeftButton
                     && (mouse->position().toPoint() - pressedAt_).manhattanLength()
                            < QApplication::startDragDistance())
                clicked(mouse->position().toPoint());
        }
        return QWidget::eventFilter(watched, event);
    }
    if (watched == text_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        return key->matches(QKeySequence::SelectAll) || key->matches(QKeySequence::Copy)
            || key->matches(QKeySequence::Cut);
    }
    return QWidget::eventFilter(watched, event);
}

void ArticleView::showEvent(QShowEvent* event)
{
    placeBesideParent();
    refresh();
    toggle_->setChecked(true);
    QWidget::showEvent(event);
    // Once the view has its size and its text is laid out at that width.
    QTimer::singleShot(0, this, &ArticleView::showFocusedField);
}

void ArticleView::hideEvent(QHideEvent* event)
{
    rememberPlace();
    QWidget::hideEvent(event);
}

void ArticleView::closeEvent(QCloseEvent* event)
{
    const QSignalBlocker quiet(toggle_);
    toggle_->setChecked(false);
    QWidget::closeEvent(event);
}

qsizetype ArticleView::postLimit() const
{
    if (placed_ || settingsFile_.isEmpty())
        return limit_->value();
    return QSettings(settingsFile_, QSettings::IniFormat).value(kLimitKey, 0).toInt();
}

// The first time: where the writer put it last, while that is on the screen;
// otherwise beside the wizard where it covers least of it.
void ArticleView::placeBesideParent()
{
    if (placed_ || !parentWidget())
        return;
    placed_ = true;
    const QSettings settings(settingsFile_, QSettings::IniFormat);
    if (!settingsFile_.isEmpty()) {
        const QSignalBlocker quiet(limit_);
        limit_->setValue(settings.value(kLimitKey, 0).toInt());
    }
    const QScreen* screen = parentWidget()->screen();
    const QRect room = screen ? screen->availableGeometry() : QRect();
    const QRect remembered = settingsFile_.isEmpty() ? QRect() : settings.value(kPlaceKey).toRect();
    QRect place = remembered;
    if (!remembered.isValid() || !room.contains(remembered)) {
        // The frame's part; before the view was first shown, that of the
        // wizard, whose window manager will frame the view alike, its title
        // bar above the place the view is moved to.
        const QWidget* framed = frameGeometry() != geometry() ? this : parentWidget();
        const QPoint offset = framed->geometry().topLeft() - framed->frameGeometry().topLeft();
        const QSize frame = framed->frameGeometry().size() - framed->size();
        place = placeBeside(parentWidget()->frameGeometry(), room, size() + frame, kSmallest + frame,
                            keptClear_ ? keptClear_() : QList<QRect>());
        place.setSize(place.size() - frame);
        if (framed != this)
            place.translate(offset);
    }
    resize(place.size());
    move(place.topLeft());
    placedAt_ = geometry();
}

void ArticleView::rememberPlace()
{
    if (!placed_ || geometry() == placedAt_)
        return;
    placedAt_ = geometry();
    if (!settingsFile_.isEmpty())
        QSettings(settingsFile_, QSettings::IniFormat).setValue(kPlaceKey, QRect(pos(), size()));
}

}  // namespace vinkring
