#include "window/form/form1.h"

#include <algorithm>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QWindow>

#include "article/articlecheck.h"
#include "article/articleexport.h"
#include "model/texts.h"
#include "platform/automation.h"
#include "platform/folders.h"
#include "platform/messagebox.h"
#include "spelling/spellingcheck.h"
#include "window/form/banner.h"
#include "window/form/controls.h"
#include "window/form/fontlayout.h"
#include "window/form/formlayout.h"
#include "window/form/keypreview.h"
#include "window/form/layout.h"
#include "window/form/linkseditor.h"
#include "window/form/navigationkeys.h"
#include "window/form/pagearea.h"
#include "window/form/passingnote.h"
#include "window/form/windowframe.h"
#include "window/form/writingmode.h"

namespace vinkring {

using layout::pixels;

namespace {

constexpr int kLinksPage = int(kPageCount) - 2;

// The window's size, place and maximized state between runs.
const QString kPlaceFileName = QStringLiteral("/venster.conf");

}  // namespace

Form1::Form1(PlatformServices& services, QWidget* parent, Pages pages)
    : QMainWindow(parent), services_(services), session_(*this, services)
{
    setObjectName(QStringLiteral("Form1"));
    scale_ = windowScale(*this);
    fields_.setBuilder([this] { complete(); });
    buildWindow();
    showTitle();
    // The key handler hears every key first; then the page keys turn the
    // page as "<" and ">" do, and nothing where that button is disabled;
    // then the history's keys and the aids' take theirs.
    keys_ = std::make_unique<KeyPreview>(
        this,
        [this](int keyCode, int shift) {
            complete();
            Form_KeyDown(keyCode, shift);
        },
        [this](const QKeyEvent& key) { return takeKey(key); });
    connect(&session_.recovery(), &RecoveryScheduler::problemChanged, this, &Form1::showRecoveryProblem);
    connect(&session_, &DocumentSession::stateChanged, this, &Form1::showTitle);
    connect(&session_, &DocumentSession::saved, this, [this](const QString& path) {
        sayBriefly(toQString(messages::kSaved).arg(QFileInfo(path).fileName()));
    });
    connect(&fields_, &ArticleFields::edited, this, [this](std::size_t field) { edited(DocumentChange::inField(field)); });
    connect(&history_, &ArticleHistory::stepTaken, this, &Form1::showPart);
    connect(&fields_, &ArticleFields::cursorMoved, this, [this](std::size_t field) {
        pageArea_->followCursor(fieldWidgets_[field]);
    });
    restorePlace(*this, placeFile());
    if (pages == Pages::AtOnce)
        complete();
    else
        // The writer's first key or click completes it, should it come first.
        QCoreApplication::instance()->installEventFilter(this);
}

Form1::~Form1()
{
    keys_.reset();
    // The fields' widgets go while the fields and their history still stand.
    delete takeCentralWidget();
}

void Form1::complete()
{
    if (complete_)
        return;
    complete_ = true;
    QCoreApplication::instance()->removeEventFilter(this);
    {
        const QScopedValueRollback<bool> quiet(loading_, true);
        for (int i = 1; i < int(kPageCount); ++i)
            buildPage(i);
    }
    setFocusOrder();
    emit pagesBuilt();
    Form_Load();
}

bool Form1::takeKey(const QKeyEvent& key)
{
    complete();
    if (writing_->takeKey(key))
        return true;
    const std::optional<int> turn = pageTurn(key);
    if (turn) {
        if (Command1[std::size_t(*turn)]->isEnabled()) {
            Command1_Click(*turn);
            focusFirstControl(Frame1[std::size_t(CurrentPage - 1)]);
        }
        return true;
    }
    if (history_.takeKey(key, QApplication::focusWidget()))
        return true;
    return std::any_of(takers_.begin(), takers_.end(), [&key](const auto& take) { return take(key); });
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
    case QEvent::InputMethod:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::Drop:
    case QEvent::TouchBegin:
        if (watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == this)
            complete();
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void Form1::buildWindow()
{
    buildMenu();

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    // Created in focus order: "<", ">", the pages, ">|". Placed by the layout.
    const QString command1 = QStringLiteral("Command1");
    Command1[0] = makeButton(client, command1, texts::kPrevious, QRect());
    Command1[1] = makeButton(client, command1, texts::kNext, QRect());

    Image1 = new QLabel(client);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAccessibleName(toQString(texts::kWindowCaption));

    lblCounter = new QLabel(client);
    lblCounter->setObjectName(QStringLiteral("lblCounter"));
    lblCounter->setTextFormat(Qt::PlainText);

    lblMelding = new PassingNote(client);
    lblMelding->setObjectName(QStringLiteral("lblMelding"));
    lblMelding->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    // The first page; the others follow in complete().
    pageArea_ = new PageArea(client);
    pageArea_->setPageSize(pixels(layout::kPageArea, scale_).size());
    // Placed by the layout (buildLayout), from the designed places at the scale.
    buildPage(0);
    // Typing at once goes into the title, also before the window is complete.
    focusTitle();

    Command1[3] = makeButton(client, command1, texts::kLast, QRect());
    describeNavigationButtons(Command1[0], Command1[1], Command1[3]);
    for (int i : {0, 1, 3}) {
        Command1[std::size_t(i)]->setProperty("Index", i);
        connect(Command1[std::size_t(i)], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    }
    // The window opens with "<" disabled.
    Command1[0]->setEnabled(false);

    showCounter();
    buildLayout(client);
}

// ---------------------------------------------------------------- layout

void Form1::buildLayout(QWidget* client)
{
    layout_ = new FormLayout({client, Image1, lblCounter, lblMelding, pageArea_, Command1}, scale_, [this](double) {
        if (painted_)
            drawBanner();
    });
    layout_->addPage(Frame1[0], Frame1[0]->findChild<QLabel*>(toQString(kPages[0].guideLabelName)));
    writing_ = new WritingMode(fields_, client,
                               {[this](std::size_t field) { return fieldWidgets_[field]; },
                                [this](std::size_t field) {
                                    showPage(kFields[field].page);
                                    fields_.focus(field);
                                },
                                [this](QWidget* field, QWidget* head) {
                                    layout_->setWriting(field, head);
                                    // Back on the page, at the cursor.
                                    if (QWidget* at = focusWidget(); !field && at) {
                                        pageArea_->ensureWidgetVisible(at, 8, 8);
                                        pageArea_->followCursor(at);
                                    }
                                },
                                [this] { return CurrentPage - 1; }});
    fitToScreen();
}

// The designed size at the font's scale is the least and the first one,
// where the screen has room for it; otherwise the room there is.
void Form1::fitToScreen()
{
    const int menu = menuBar()->sizeHint().height();
    // A bar below the pages (the search bar), while open: room for it too.
    const auto* bar = findChild<QStatusBar*>(QString(), Qt::FindDirectChildrenOnly);
    const int below = bar && bar->isVisibleTo(this) ? bar->sizeHint().height() : 0;
    const QSize room = clientRoom(*this, menu + below);
    const QSize least = pixels(layout::kClientArea, scale_).size().boundedTo(room);
    // As it is now, before the window's layout gives it the bar's change.
    const QSize current = sized_ ? centralWidget()->size() : least;
    centralWidget()->setMinimumSize(least);
    // The window's own minimum follows at once, or it would hold the resize.
    layout()->activate();
    if (!sized_ || !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
        const QSize client = current.expandedTo(least).boundedTo(room);
        resize(client.width(), menu + client.height() + below);
        // At once, for whoever reads the layout before the window is shown.
        centralWidget()->resize(client);
    }
    sized_ = true;
    layout_->apply();
}

QString Form1::placeFile() const
{
    const QString folder = services_.folders.configFolder();
    return folder.isEmpty() ? QString() : folder + kPlaceFileName;
}

QList<QRect> Form1::keptClearAreas() const
{
    QList<QRect> areas;
    for (const QWidget* kept : std::initializer_list<const QWidget*>{
             menuBar(), lblCounter, Command1[0], Command1[1], Command1[3], Command5, Command1[2], Command6}) {
        if (kept)
            areas.append(QRect(kept->mapToGlobal(QPoint(0, 0)), kept->size()));
    }
    return areas;
}

// Drawing it loads a font of its own: the first paint goes without it.
void Form1::drawBanner()
{
    if (layout_->bannerScale() > 0)
        Image1->setPixmap(makeBanner(devicePixelRatioF(), layout_->bannerScale()));
}

void Form1::buildPage(int index)
{
    Frame1[std::size_t(index)] = makePage(index, pageArea_->pages(), scale_, fields_, fieldWidgets_, [this, index](QGroupBox& page) {
        if (index == kLinksPage) {
            links_ = new LinksEditor(services_.messageBox, &page, scale_);
            fields_.watchLinks(links_);
            history_.watchLinks(*links_);
            connect(links_, &LinksEditor::linksChanged, this, [this] { edited(DocumentChange::inLinks()); });
        }
        if (index == int(kPageCount) - 1)
            buildOutputButtons(&page);
    });
    if (layout_)
        layout_->addPage(Frame1[std::size_t(index)],
                         Frame1[std::size_t(index)]->findChild<QLabel*>(toQString(kPages[std::size_t(index)].guideLabelName)));
}

void Form1::buildOutputButtons(QGroupBox* page)
{
    const auto place = [this](const Twips& where) { return pixels(where, scale_); };
    Command5 = makeButton(page, QStringLiteral("Command5"), texts::kPreview, place(layout::kPreviewButton));
    Command6 = makeButton(page, QStringLiteral("Command6"), texts::kSpelling, place(layout::kSpellingButton));
    Command1[2] = makeButton(page, QStringLiteral("Command1"), texts::kClipboard, place(layout::kCommand1[2]));
    Command1[2]->setProperty("Index", 2);
    connect(Command1[2], &QPushButton::clicked, this, [this] { Command1_Click(2); });
    // Only on the last page: "Klembord" starts disabled.
    Command1[2]->setEnabled(false);
    connect(Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Form1::Command6_Click);
    lblKlembord = new PassingNote(page);
    lblKlembord->setObjectName(QStringLiteral("lblKlembord"));
    lblKlembord->setGeometry(place(layout::kClipboardNote));
}

void Form1::buildMenu()
{
    mnuBestand = menuBar()->addMenu(toQString(texts::kMenuFile));
    mnuBestand->setObjectName(QStringLiteral("mnuBestand"));
    mnuBestandNieuw = mnuBestand->addAction(toQString(texts::kMenuNew));
    mnuBestandNieuw->setObjectName(QStringLiteral("mnuBestandNieuw"));
    mnuBestandOpenen = mnuBestand->addAction(toQString(texts::kMenuOpen));
    mnuBestandOpenen->setObjectName(QStringLiteral("mnuBestandOpenen"));
    mnuBestandBewaren = mnuBestand->addAction(toQString(texts::kMenuSave));
    mnuBestandBewaren->setObjectName(QStringLiteral("mnuBestandBewaren"));
    connect(mnuBestandNieuw, &QAction::triggered, this, &Form1::mnuBestandNieuw_Click);
    connect(mnuBestandOpenen, &QAction::triggered, this, &Form1::mnuBestandOpenen_Click);
    connect(mnuBestandBewaren, &QAction::triggered, this, &Form1::mnuBestandBewaren_Click);

    // The menu bar is whole at the first paint; the aids fill these.
    mnuBeeld = menuBar()->addMenu(toQString(texts::kMenuView));
    mnuBeeld->setObjectName(QStringLiteral("mnuBeeld"));
    mnuOpmaak = menuBar()->addMenu(toQString(texts::kMenuFormat));
    mnuOpmaak->setObjectName(QStringLiteral("mnuOpmaak"));
    mnuZoeken = menuBar()->addMenu(toQString(texts::kMenuSearch));
    mnuZoeken->setObjectName(QStringLiteral("mnuZoeken"));
}

LinksEditor& Form1::linksEditor()
{
    complete();
    return *links_;
}

void Form1::showPage(int index)
{
    complete();
    while (CurrentPage - 1 < index && CurrentPage < PageCount)
        Command1_Click(1);
    while (CurrentPage - 1 > index && CurrentPage > 1)
        Command1_Click(0);
}

void Form1::goToField(std::size_t field, qsizetype offset)
{
    showPage(kFields[field].page);
    fields_.select(field, {offset, offset});
    activateWindow();
    fields_.focus(field);
}

void Form1::showPart(std::size_t part)
{
    const int page = part < kFieldCount ? kFields[part].page : kLinksPage;
    if (page == CurrentPage - 1)
        return;
    showPage(page);
    if (part < kFieldCount)
        fields_.focus(part);
}

void Form1::setFocusOrder()
{
    std::vector<QWidget*> order{Command1[0], Command1[1]};
    for (std::size_t page = 0; page < kPageCount; ++page) {
        for (std::size_t i = 0; i < kFields.size(); ++i) {
            if (kFields[i].page == int(page))
                order.push_back(fieldWidgets_[i]);
        }
    }
    for (QWidget* w : links_->focusOrder())
        order.push_back(w);
    order.insert(order.end(), {Command5, Command1[2], Command6, Command1[3]});
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

QStringList Form1::linkLines()
{
    return linksEditor().lines();
}

void Form1::showDocument(const ArticleDocument& doc, Arrival arrival)
{
    complete();
    const QScopedValueRollback<bool> quiet(loading_, true);
    if (arrival == Arrival::NewStart) {
        for (std::size_t i = 0; i < kFieldCount; ++i)
            fields_.setText(i, doc.fields[i]);
        links_->setLines(doc.links);
        history_.clear();
        return;
    }
    // As one step of the history, each field changed only where it differs.
    const ArticleHistory::Command step(&history_);
    for (std::size_t i = 0; i < kFieldCount; ++i)
        fields_.replace(i, doc.fields[i]);
    links_->restoreLines(doc.links);
}

// ---------------------------------------------------------------- navigation

void Form1::Form_Load()
{
    complete();
    CurrentPage = 1;
    PageCount = qint16(Frame1.size());
    showCounter();
    for (QGroupBox* page : Frame1)
        page->hide();
    Frame1[0]->show();
    session_.settle(QString());
    history_.clear();
    focusTitle();
}

void Form1::focusTitle()
{
    fieldWidgets_[kTitleField]->setFocus(Qt::OtherFocusReason);
}

void Form1::showCounter()
{
    lblCounter->setText(toQString(texts::kCounterPrefix) + QString::number(CurrentPage) +
                        toQString(texts::kCounterMiddle) + QString::number(PageCount));
    // After every turn of the page.
    if (writing_)
        writing_->pageShown();
}

void Form1::Command1_Click(int index)
{
    complete();
    switch (index) {
    case 0:
        if (CurrentPage <= 1)
            return;
        --CurrentPage;
        Frame1[std::size_t(CurrentPage)]->hide();
        Frame1[std::size_t(CurrentPage - 1)]->show();
        Command1[1]->setEnabled(true);
        Command1[2]->setEnabled(false);
        if (CurrentPage == 1)
            Command1[0]->setEnabled(false);
        showCounter();
        break;
    case 1:
        if (CurrentPage >= PageCount)
            return;
        Frame1[std::size_t(CurrentPage - 1)]->hide();
        Frame1[std::size_t(CurrentPage)]->show();
        ++CurrentPage;
        Command1[0]->setEnabled(true);
        if (CurrentPage == PageCount) {
            Command1[1]->setEnabled(false);
            Command1[2]->setEnabled(true);
            probeApplications();
        }
        showCounter();
        break;
    case 2:
        if (const std::optional<qsizetype> characters = exportToClipboard(document(), services_)) {
            // The post goes as it is; the note says when its markup still has findings.
            lblKlembord->say(toQString(messages::kOnClipboard).arg(dutchNumber(*characters)),
                             [doc = document()] { return markupWarning(doc); });
        }
        break;
    case 3:
        Frame1[std::size_t(CurrentPage - 1)]->hide();
        CurrentPage = PageCount;
        Frame1[std::size_t(CurrentPage - 1)]->show();
        Command1[0]->setEnabled(true);
        Command1[1]->setEnabled(false);
        Command1[2]->setEnabled(true);
        probeApplications();
        showCounter();
        break;
    default:
        break;
    }
}

void Form1::probeApplications()
{
    // Each object is released at once; a failure only disables the button.
    if (!services_.automation.createObject(toQString(texts::kProgIdBrowser)))
        Command5->setEnabled(false);
    if (!services_.automation.createObject(toQString(texts::kProgIdSpreadsheet)))
        Command6->setEnabled(false);
}

// ---------------------------------------------------------------- output

void Form1::Command5_Click()
{
    showPreviewPage(document(), services_);
}

void Form1::Command6_Click()
{
    const ArticleDocument before = document();
    SectionTexts copy;
    std::size_t position = 0;
    for (std::size_t i = kFirstSectionField; i < kFields.size(); ++i)
        copy[position++] = before.fields[i];
    copy = runSpellingCheck(std::move(copy), services_.automation);
    // Only texts that changed, all as one step of the history.
    const ArticleHistory::Command step(&history_);
    position = 0;
    for (std::size_t i = kFirstSectionField; i < kFields.size(); ++i) {
        const QString& checked = copy[position++];
        if (checked != before.fields[i])
            fields_.replace(i, checked);
    }
}

// ---------------------------------------------------------------- lifecycle

void Form1::mnuBestandNieuw_Click()
{
    if (!session_.confirmReplace())
        return;
    linksEditor().clearInputs();
    session_.begin(ArticleDocument{});
    // A new article starts where the first one did: on the first page, in the title.
    showPage(0);
    focusTitle();
}

void Form1::mnuBestandOpenen_Click()
{
    session_.open();
}

void Form1::openAtStartup(const QString& path)
{
    complete();
    session_.openFile(path);
}

void Form1::offerLeftOverWork()
{
    complete();
    session_.offerLeftOverWork();
}

void Form1::mnuBestandBewaren_Click()
{
    session_.save();
}

void Form1::Form_KeyDown(int keyCode, int shift)
{
    // Other keys change the work only through what they do to it, which the
    // session compares with what was saved.
    if ((shift & kCtrlMask) && keyCode == kKeyCodeS)
        session_.quickSave();
}

void Form1::Form_QueryUnload(bool& cancel)
{
    // Annuleren, Escape, or Ja with a save that did not write (a cancelled
    // dialog, a full disk) keep the window open with the work.
    if (!session_.mayClose())
        cancel = true;
}

void Form1::edited(DocumentChange change)
{
    if (!loading_)
        session_.changed(change);
}

void Form1::showRecoveryProblem(const QString& reason)
{
    // The title bar cuts a long title: a few words there, the reason over the whole window.
    recoveryProblem_ = reason;
    showTitle();
    const QString why = reason.isEmpty() ? QString() : toQString(messages::kRecoveryFailed).arg(reason);
    setToolTip(why);
    setAccessibleDescription(why);
}

void Form1::showTitle()
{
    const QString path = session_.currentFileName();
    const QString caption = toQString(texts::kWindowCaption);
    QString title = path.isEmpty() ? toQString(texts::kTitleNeverSaved).arg(caption)
                                   : toQString(texts::kTitleOfFile).arg(QFileInfo(path).fileName(), caption);
    if (!recoveryProblem_.isEmpty())
        title = toQString(messages::kRecoveryFailedTitle).arg(title);
    // The title set takes precedence over the path, which the platform may show otherwise.
    setWindowFilePath(path);
    setWindowTitle(title);
    setWindowModified(session_.unsavedAsLastCompared());
}

void Form1::sayBriefly(const QString& text)
{
    lblMelding->say(text);
}

void Form1::sayBriefly(const QString& text, std::function<QString()> more)
{
    lblMelding->say(text, std::move(more));
}

void Form1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous() && !watchingForPaint_) {
        watchingForPaint_ = true;
        whenOnScreen(*this, [this] {
            painted_ = true;
            drawBanner();
            complete();
            emit completed();
        });
        // On another screen, the window fits that one.
        connect(windowHandle(), &QWindow::screenChanged, this, &Form1::fitToScreen);
    }
    // Once on the screen the desktop's frame is known; where it is larger
    // than the style's title bar, the window fits itself to the screen again.
    QTimer::singleShot(0, this, [this] {
        const QScreen* on = screen();
        if (on && !QRect(QPoint(), on->availableGeometry().size()).contains(QRect(QPoint(), frameGeometry().size())))
            fitToScreen();
    });
}

void Form1::closeEvent(QCloseEvent* event)
{
    complete();
    bool cancel = false;
    Form_QueryUnload(cancel);
    if (cancel) {
        event->ignore();
        return;
    }
    rememberPlace(*this, placeFile());
    event->accept();
}

}  // namespace vinkring
