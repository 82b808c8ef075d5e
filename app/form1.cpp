#include "app/form1.h"

#include <algorithm>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextDocument>

#include "app/banner.h"
#include "app/linkentry.h"
#include "app/texts.h"
#include "article/articleexport.h"
#include "platform/automation.h"
#include "platform/messagebox.h"
#include "spelling/spellingcheck.h"

namespace vinkring {

namespace {

QRect pixels(const Twips& t)
{
    return {twipsToPixels(t.left), twipsToPixels(t.top), twipsToPixels(t.width), twipsToPixels(t.height)};
}

QLabel* makeLabel(QWidget* parent, std::string_view name, const QString& caption, const Twips& where)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(toQString(name));
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(pixels(where));
    return label;
}

QPushButton* makeButton(QWidget* parent, const QString& name, std::string_view caption, const Twips& where)
{
    auto* button = new QPushButton(toQString(caption), parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setGeometry(pixels(where));
    return button;
}

// Layout of the controls that the field table does not place, in twips.
constexpr Twips kClientArea{0, 0, 11850, 8115};
constexpr Twips kBannerArea{960, 120, 9375, 1350};
constexpr Twips kCounterArea{9120, 1560, 2655, 255};
constexpr Twips kPageArea{120, 1920, 11655, 5535};
constexpr Twips kGuideArea{240, 240, 11175, 855};
constexpr std::array<Twips, 4> kNavigation{{
    {9120, 7680, 855, 375},   // "<"
    {9960, 7680, 855, 375},   // ">"
    {4350, 1320, 1935, 375},  // "Klembord", on the last page
    {10920, 7680, 855, 375},  // ">|"
}};
constexpr Twips kUrlLabel{240, 1320, 1500, 285};
constexpr Twips kUrlField{1800, 1290, 9735, 315};
constexpr Twips kDescriptionLabel{240, 1740, 1500, 285};
constexpr Twips kDescriptionField{1800, 1710, 9735, 315};
constexpr Twips kAddButton{1800, 2160, 1215, 375};
constexpr Twips kRemoveButton{3135, 2160, 1215, 375};
constexpr Twips kChangeButton{4470, 2160, 1215, 375};
constexpr Twips kLinkList{240, 2700, 11295, 2580};
constexpr Twips kPreviewButton{240, 1320, 1935, 375};
constexpr Twips kSpellingButton{2295, 1320, 1935, 375};

// Labels of section fields stand 240 twips above them; those of the
// single-line fields to their left.
Twips labelArea(const FieldInfo& field)
{
    if (!field.multiLine)
        return {240, field.geometry.top + 15, field.geometry.left - 300, 285};
    return {field.geometry.left, field.geometry.top - 240, field.geometry.width, 240};
}

}  // namespace

int vbKeyCode(int qtKey)
{
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 112 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt:
    case Qt::Key_AltGr: return 18;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: return qtKey & 0xffff;
    }
}

Form1::Form1(PlatformServices& services, QWidget* parent)
    : QMainWindow(parent), services_(services), documents_(*this, services)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(toQString(texts::kWindowCaption));
    buildWindow();
    qApp->installEventFilter(this);
    Form_Load();
}

Form1::~Form1() = default;

void Form1::buildWindow()
{
    buildMenu();

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(pixels(kClientArea).size());
    setCentralWidget(client);

    // Created in focus order: "<", ">", the pages, ">|".
    Command1[0] = makeButton(client, QStringLiteral("Command1"), texts::kPrevious, kNavigation[0]);
    Command1[1] = makeButton(client, QStringLiteral("Command1"), texts::kNext, kNavigation[1]);

    Image1 = new QLabel(client);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(pixels(kBannerArea));
    Image1->setPixmap(makeBanner(devicePixelRatioF()));
    Image1->setAccessibleName(toQString(texts::kWindowCaption));

    lblCounter = new QLabel(client);
    lblCounter->setObjectName(QStringLiteral("lblCounter"));
    lblCounter->setTextFormat(Qt::PlainText);
    lblCounter->setGeometry(pixels(kCounterArea));

    for (int i = 0; i < int(kPageCount); ++i) {
        Frame1[std::size_t(i)] = new QGroupBox(toQString(kPages[std::size_t(i)].caption), client);
        Frame1[std::size_t(i)]->setObjectName(QStringLiteral("Frame1"));
        Frame1[std::size_t(i)]->setProperty("Index", i);
        Frame1[std::size_t(i)]->setGeometry(pixels(kPageArea));
        buildPage(i);
    }

    Command1[3] = makeButton(client, QStringLiteral("Command1"), texts::kLast, kNavigation[3]);
    for (int i = 0; i < 4; ++i) {
        Command1[std::size_t(i)]->setProperty("Index", i);
        connect(Command1[std::size_t(i)], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    }
    // The window opens with "<", "Verwijder", "Wijzig" and "Klembord" disabled.
    Command1[0]->setEnabled(false);
    Command1[2]->setEnabled(false);
    Command3->setEnabled(false);
    Command4->setEnabled(false);

    setFocusOrder();
    setFixedSize(sizeHint());
}

void Form1::buildPage(int index)
{
    QGroupBox* page = Frame1[std::size_t(index)];
    const PageInfo& entry = kPages[std::size_t(index)];
    QLabel* guide = makeLabel(page, entry.guideLabelName, toQString(entry.guideText), kGuideArea);
    guide->setWordWrap(true);
    guide->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    std::vector<std::pair<QLabel*, QWidget*>> singleLine;
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        const FieldInfo& entry = kFields[i];
        if (entry.page != index)
            continue;
        Field& field = fields_[i];
        QWidget* widget = nullptr;
        if (entry.multiLine) {
            field.multi = new QPlainTextEdit(page);
            field.multi->setTabChangesFocus(true);
            field.multi->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            field.multi->setLineWrapMode(QPlainTextEdit::WidgetWidth);
            widget = field.multi;
        } else {
            field.line = new QLineEdit(page);
            widget = field.line;
        }
        widget->setObjectName(toQString(entry.name));
        widget->setGeometry(pixels(entry.geometry));
        if (!entry.labelName.empty()) {
            QLabel* label = makeLabel(page, entry.labelName, toQString(entry.labelCaption), labelArea(entry));
            label->setBuddy(widget);
            if (!entry.multiLine)
                singleLine.push_back({label, widget});
            widget->setAccessibleName(QString::fromStdString(stripAccessKey(entry.labelCaption)));
        } else {
            widget->setAccessibleName(toQString(kPages[std::size_t(index)].caption));
        }
        setFieldText(i, toQString(entry.defaultText));
    }

    // Labels wider than designed (other fonts) push their fields right
    // together, never clip.
    int needed = 0;
    for (const auto& [label, widget] : singleLine)
        needed = std::max(needed, label->x() + label->sizeHint().width() + 6);
    for (const auto& [label, widget] : singleLine) {
        if (needed > widget->x()) {
            const int right = widget->geometry().right();
            label->resize(label->sizeHint().width(), label->height());
            widget->setGeometry(needed, widget->y(), right - needed + 1, widget->height());
        }
    }

    if (index == int(kPageCount) - 2)
        buildLinkEditor(page);
    if (index == int(kPageCount) - 1)
        buildOutputButtons(page);
}

void Form1::buildLinkEditor(QGroupBox* page)
{
    QLabel* urlLabel = makeLabel(page, "Label38", toQString(texts::kUrlLabel), kUrlLabel);
    txtURL = new QLineEdit(page);
    txtURL->setObjectName(QStringLiteral("txtURL"));
    txtURL->setGeometry(pixels(kUrlField));
    urlLabel->setBuddy(txtURL);
    txtURL->setAccessibleName(toQString(texts::kUrlLabel));

    QLabel* descriptionLabel = makeLabel(page, "Label40", toQString(texts::kDescriptionLabel), kDescriptionLabel);
    txtLinkOMS = new QLineEdit(page);
    txtLinkOMS->setObjectName(QStringLiteral("txtLinkOMS"));
    txtLinkOMS->setGeometry(pixels(kDescriptionField));
    descriptionLabel->setBuddy(txtLinkOMS);
    txtLinkOMS->setAccessibleName(toQString(texts::kDescriptionLabel));

    Command2 = makeButton(page, QStringLiteral("Command2"), texts::kAddLink, kAddButton);
    Command3 = makeButton(page, QStringLiteral("Command3"), texts::kRemoveLink, kRemoveButton);
    Command4 = makeButton(page, QStringLiteral("Command4"), texts::kChangeLink, kChangeButton);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form1::Command4_Click);

    List1 = new QListWidget(page);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setGeometry(pixels(kLinkList));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setUniformItemSizes(true);
    List1->setAccessibleName(QStringLiteral("Links"));
    connect(List1, &QListWidget::currentRowChanged, this, [this](int) { List1_Click(); });
}

void Form1::buildOutputButtons(QGroupBox* page)
{
    Command5 = makeButton(page, QStringLiteral("Command5"), texts::kPreview, kPreviewButton);
    Command6 = makeButton(page, QStringLiteral("Command6"), texts::kSpelling, kSpellingButton);
    Command1[2] = makeButton(page, QStringLiteral("Command1"), texts::kClipboard, kNavigation[2]);
    connect(Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Form1::Command6_Click);
}

void Form1::buildMenu()
{
    QMenu* mnuBestand = menuBar()->addMenu(toQString(texts::kMenuFile));
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
}

void Form1::setFocusOrder()
{
    std::vector<QWidget*> order{Command1[0], Command1[1]};
    for (std::size_t page = 0; page < kPageCount; ++page) {
        for (std::size_t i = 0; i < kFields.size(); ++i) {
            if (kFields[i].page == int(page))
                order.push_back(fields_[i].line ? static_cast<QWidget*>(fields_[i].line) : fields_[i].multi);
        }
    }
    for (QWidget* w : {static_cast<QWidget*>(txtURL), static_cast<QWidget*>(txtLinkOMS),
                       static_cast<QWidget*>(Command2), static_cast<QWidget*>(Command3),
                       static_cast<QWidget*>(Command4), static_cast<QWidget*>(List1),
                       static_cast<QWidget*>(Command5), static_cast<QWidget*>(Command1[2]),
                       static_cast<QWidget*>(Command6), static_cast<QWidget*>(Command1[3])})
        order.push_back(w);
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

// ---------------------------------------------------------------- fields

QString Form1::widgetText(const Field& field) const
{
    if (field.line)
        return field.line->text();
    // Raw text keeps no-break spaces; blocks and line separators become CR LF.
    QString text = field.multi->document()->toRawText();
    QString out;
    out.reserve(text.size() + text.size() / 32);
    for (const QChar c : std::as_const(text)) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            out += QStringLiteral("\r\n");
        else
            out += c;
    }
    return out;
}

QString Form1::fieldText(std::size_t index) const
{
    const Field& field = fields_.at(index);
    QString text = widgetText(field);
    if (field.shadowed && text == field.shown)
        return field.exact;
    return text;
}

void Form1::setFieldText(std::size_t index, const QString& text)
{
    Field& field = fields_.at(index);
    if (field.line)
        field.line->setText(text);
    else
        field.multi->setPlainText(text);
    field.shadowed = false;
    field.exact.clear();
    field.shown.clear();
    QString shown = widgetText(field);
    if (shown != text) {
        field.shadowed = true;
        field.exact = text;
        field.shown = std::move(shown);
    }
}

ArticleDocument Form1::document() const
{
    ArticleDocument doc;
    for (std::size_t i = 0; i < kFieldCount; ++i)
        doc.fields[i] = fieldText(i);
    doc.links.reserve(List1->count());
    for (int row = 0; row < List1->count(); ++row)
        doc.links.append(List1->item(row)->text());
    return doc;
}

void Form1::setDocument(const ArticleDocument& doc)
{
    for (std::size_t i = 0; i < kFieldCount; ++i)
        setFieldText(i, doc.fields[i]);
    List1->clear();
    List1->addItems(doc.links);
}

// ---------------------------------------------------------------- navigation

void Form1::Form_Load()
{
    CurrentPage = 1;
    PageCount = qint16(Frame1.size());
    showCounter();
    for (QGroupBox* page : Frame1)
        page->hide();
    Frame1[0]->show();
    CurrentFileName.clear();
    UnsavedChanges = false;
}

void Form1::showCounter()
{
    lblCounter->setText(toQString(texts::kCounterPrefix) + QString::number(CurrentPage) +
                        toQString(texts::kCounterMiddle) + QString::number(PageCount));
}

void Form1::Command1_Click(int index)
{
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
        exportToClipboard(document(), services_);
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
    showPreview(document(), services_);
}

void Form1::Command6_Click()
{
    SectionTexts copy;
    std::size_t position = 0;
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        if (kFields[i].multiLine)
            copy[position++] = fieldText(i);
    }
    copy = runSpellingCheck(std::move(copy), services_.automation);
    position = 0;
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        if (kFields[i].multiLine)
            setFieldText(i, copy[position++]);
    }
}

// ---------------------------------------------------------------- links editor

void Form1::warn(const QString& text)
{
    services_.messageBox.show(text, toQString(texts::kMessageTitle), MessageIcon::Exclamation, MessageButtons::Ok);
}

void Form1::List1_Click()
{
    const int row = List1->currentRow();
    if (row < 0)
        return;
    const LinkPieces pieces = splitLinkLine(List1->item(row)->text());
    txtLinkOMS->setText(pieces.description);
    txtURL->setText(trimSpaces(pieces.url));
    txtURL->setFocus();
    Command3->setEnabled(true);
    Command4->setEnabled(true);
}

void Form1::Command2_Click()
{
    if (txtURL->text().isEmpty()) {
        warn(toQString(texts::kNoUrl));
        txtURL->setFocus();
        return;
    }
    if (List1->count() >= kMaxLinkLines) {
        warn(QStringLiteral("De lijst kan niet meer dan %1 links bevatten. Er is niets toegevoegd.")
                 .arg(kMaxLinkLines));
        txtURL->setFocus();
        return;
    }
    List1->addItem(makeLinkLine(txtLinkOMS->text(), txtURL->text()));
    txtLinkOMS->clear();
    txtURL->clear();
    txtURL->setFocus();
}

void Form1::Command3_Click()
{
    const int row = List1->currentRow();
    if (row < 0)
        return;
    {
        const QSignalBlocker quiet(List1);
        delete List1->takeItem(row);
    }
    txtLinkOMS->clear();
    txtURL->clear();
    txtURL->setFocus();
    List1->setCurrentRow(-1);
    List1->clearSelection();
    Command3->setEnabled(false);
    Command4->setEnabled(false);
}

void Form1::Command4_Click()
{
    const int row = List1->currentRow();
    if (row < 0)
        return;
    List1->item(row)->setText(makeLinkLine(txtLinkOMS->text(), txtURL->text()));
}

// ---------------------------------------------------------------- lifecycle

void Form1::mnuBestandNieuw_Click()
{
    for (std::size_t i = 0; i < kFieldCount; ++i)
        setFieldText(i, QString());
    txtURL->clear();
    txtLinkOMS->clear();
    List1->clear();
    CurrentFileName.clear();
    UnsavedChanges = false;
}

void Form1::mnuBestandOpenen_Click()
{
    documents_.open();
}

void Form1::mnuBestandBewaren_Click()
{
    documents_.save();
}

void Form1::openAtStartup(const QString& path)
{
    documents_.openFile(path);
}

SaveOutcome Form1::quickSave()
{
    if (!CurrentFileName.isEmpty()) {
        if (!documents_.write(CurrentFileName))
            return SaveOutcome::NotWritten;
        UnsavedChanges = false;
        return SaveOutcome::Written;
    }
    return documents_.save();
}

void Form1::Form_KeyDown(int keyCode, int shift)
{
    if ((shift & kCtrlMask) && keyCode == kKeyCodeS) {
        quickSave();
        return;
    }
    UnsavedChanges = true;
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        auto* key = static_cast<QKeyEvent*>(event);
        if (widget->window() == this) {
            const bool propagated = event == lastKey_ && key->timestamp() == lastKeyTime_ && lastKeyTarget_ &&
                                    lastKeyTarget_->isWidgetType() && watched != lastKeyTarget_.data() &&
                                    widget->isAncestorOf(static_cast<QWidget*>(lastKeyTarget_.data()));
            lastKey_ = event;
            lastKeyTarget_ = watched;
            lastKeyTime_ = key->timestamp();
            if (!propagated) {
                int shift = 0;
                const Qt::KeyboardModifiers mods = key->modifiers();
                if (mods & Qt::ShiftModifier)
                    shift |= kShiftMask;
                if (mods & Qt::ControlModifier)
                    shift |= kCtrlMask;
                if (mods & Qt::AltModifier)
                    shift |= kAltMask;
                Form_KeyDown(vbKeyCode(key->key()), shift);
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void Form1::Form_QueryUnload(bool& cancel)
{
    if (!UnsavedChanges)
        return;
    const MessageAnswer answer = services_.messageBox.show(toQString(texts::kSaveQuestion), QString(),
                                                           MessageIcon::Information, MessageButtons::YesNo);
    // A save the writer asked for that did not write (a full disk, a refused
    // text) keeps the window open, so the work is not lost; a cancelled
    // dialog closes it.
    if (answer == MessageAnswer::Yes && quickSave() == SaveOutcome::NotWritten)
        cancel = true;
}

void Form1::closeEvent(QCloseEvent* event)
{
    bool cancel = false;
    Form_QueryUnload(cancel);
    if (cancel)
        event->ignore();
    else
        event->accept();
}

}  // namespace vinkring
