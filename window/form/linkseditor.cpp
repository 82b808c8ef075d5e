#include "window/form/linkseditor.h"

#include <limits>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

#include "model/articledocument.h"
#include "model/fieldrules.h"
#include "model/linkentry.h"
#include "model/texts.h"
#include "platform/messagebox.h"
#include "window/form/controls.h"
#include "window/form/layout.h"

namespace vinkring {

namespace {

// The editor's own rectangle on the page: around all of its controls.
constexpr Twips kEditorArea{layout::kUrlLabel.left, layout::kUrlField.top,
                            layout::kLinkList.left + layout::kLinkList.width - layout::kUrlLabel.left,
                            layout::kLinkList.top + layout::kLinkList.height - layout::kUrlField.top};

// At the designed place on the page, grown with the window (scale).
template <typename T>
T* place(T* widget, const char* name, const Twips& where, double scale)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(layout::pixels(where, scale).translated(-layout::pixels(kEditorArea, scale).topLeft()));
    return widget;
}

QLineEdit* labelledField(QWidget* parent, const char* labelName, std::string_view caption, const Twips& labelArea,
                         const char* fieldName, const Twips& fieldArea, double scale)
{
    auto* label = place(new QLabel(toQString(caption), parent), labelName, labelArea, scale);
    label->setTextFormat(Qt::PlainText);
    auto* field = place(new QLineEdit(parent), fieldName, fieldArea, scale);
    field->setMaxLength(std::numeric_limits<int>::max());  // a URL of any length
    // A pasted line end is one blank here too, as in the link line it makes.
    field->setValidator(new LineEndRule([](const QString& text) { return asOneLine(text); }, field));
    label->setBuddy(field);
    field->setAccessibleName(toQString(caption));
    return field;
}

QPushButton* button(QWidget* parent, const char* name, std::string_view caption, const Twips& where, double scale)
{
    auto* b = place(new QPushButton(toQString(caption), parent), name, where, scale);
    b->setAutoDefault(false);
    return b;
}

}  // namespace

LinksEditor::LinksEditor(MessageBox& messageBox, QWidget* page, double scale)
    : QWidget(page), messageBox_(messageBox)
{
    setObjectName(QStringLiteral("linksEditor"));
    setGeometry(layout::pixels(kEditorArea, scale));
    txtURL = labelledField(this, "Label38", texts::kUrlLabel, layout::kUrlLabel, "txtURL", layout::kUrlField, scale);
    txtLinkOMS = labelledField(this, "Label40", texts::kDescriptionLabel, layout::kDescriptionLabel, "txtLinkOMS",
                               layout::kDescriptionField, scale);
    Command2 = button(this, "Command2", texts::kAddLink, layout::kAddButton, scale);
    Command3 = button(this, "Command3", texts::kRemoveLink, layout::kRemoveButton, scale);
    Command4 = button(this, "Command4", texts::kChangeLink, layout::kChangeButton, scale);
    // The window opens with "Verwijder" and "Wijzig" disabled.
    Command3->setEnabled(false);
    Command4->setEnabled(false);
    connect(Command2, &QPushButton::clicked, this, &LinksEditor::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &LinksEditor::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &LinksEditor::Command4_Click);
    // Enter in either field adds the link, as "Voeg toe" does.
    connect(txtURL, &QLineEdit::returnPressed, this, &LinksEditor::Command2_Click);
    connect(txtLinkOMS, &QLineEdit::returnPressed, this, &LinksEditor::Command2_Click);

    List1 = place(new QListWidget(this), "List1", layout::kLinkList, scale);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setUniformItemSizes(true);
    List1->setAccessibleName(toQString(texts::kLinkListName));
    connect(List1, &QListWidget::currentRowChanged, this, [this](int) { List1_Click(); });
    designed_ = size();
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        places_.push_back({w, w->geometry()});
}

// Wider than designed, the fields and the list take the width; higher, the
// list takes the height.
void LinksEditor::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const QSize more = size() - designed_;
    for (const auto& [widget, designed] : places_) {
        QRect r = designed;
        if (designed.right() + 2 >= designed_.width())
            r.setRight(designed.right() + more.width());
        if (widget == List1)
            r.setBottom(designed.bottom() + more.height());
        widget->setGeometry(r);
    }
}

QStringList LinksEditor::lines() const
{
    QStringList lines;
    lines.reserve(List1->count());
    for (int row = 0; row < List1->count(); ++row)
        lines.append(List1->item(row)->text());
    return lines;
}

void LinksEditor::setLines(const QStringList& lines)
{
    List1->clear();
    List1->addItems(lines);
}

void LinksEditor::restoreLines(const QStringList& lines)
{
    const int row = List1->currentRow();
    setLines(lines);
    if (row >= 0 && row < List1->count()) {
        const QSignalBlocker quiet(List1);
        List1->setCurrentRow(row);
    }
    emit linksChanged();
}

// Emptied as a new start (setText, not clear(): no undo of their own), so
// that Ctrl+Z right after a command takes the command back.
void LinksEditor::clearInputs()
{
    txtURL->setText(QString());
    txtLinkOMS->setText(QString());
}

QList<QWidget*> LinksEditor::focusOrder() const
{
    return {txtURL, txtLinkOMS, Command2, Command3, Command4, List1};
}

int LinksEditor::lineCount() const
{
    return List1->count();
}

QString LinksEditor::line(int row) const
{
    const QListWidgetItem* item = List1->item(row);
    return item ? item->text() : QString();
}

void LinksEditor::selectLine(int row)
{
    // Without List1_Click: the input fields keep what the writer typed.
    {
        const QSignalBlocker quiet(List1);
        List1->setCurrentRow(row);
    }
    List1->viewport()->update();
    List1->scrollToItem(List1->currentItem());
    List1->setFocus();
}

void LinksEditor::replaceLine(int row, const QString& line)
{
    QListWidgetItem* item = List1->item(row);
    const QString fitted = fitToLinkLine(line);
    if (!item || item->text() == fitted)
        return;
    item->setText(fitted);
    emit linksChanged();
}

int LinksEditor::selectedLine() const
{
    return List1->currentRow();
}

void LinksEditor::List1_Click()
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

void LinksEditor::Command2_Click()
{
    if (txtURL->text().isEmpty()) {
        warn(messageBox_, toQString(messages::kNoUrl));
        txtURL->setFocus();
        return;
    }
    if (List1->count() >= kMaxLinkLines) {
        warn(messageBox_, toQString(messages::kTooManyLinks).arg(kMaxLinkLines));
        txtURL->setFocus();
        return;
    }
    List1->addItem(fitToLinkLine(makeLinkLine(txtLinkOMS->text(), txtURL->text())));
    clearInputs();
    txtURL->setFocus();
    emit linksChanged();
}

void LinksEditor::Command3_Click()
{
    const int row = List1->currentRow();
    if (row < 0)
        return;
    {
        const QSignalBlocker quiet(List1);
        delete List1->takeItem(row);
    }
    clearInputs();
    txtURL->setFocus();
    List1->setCurrentRow(-1);
    List1->clearSelection();
    Command3->setEnabled(false);
    Command4->setEnabled(false);
    emit linksChanged();
}

void LinksEditor::Command4_Click()
{
    const int row = List1->currentRow();
    if (row < 0)
        return;
    const QString line = fitToLinkLine(makeLinkLine(txtLinkOMS->text(), txtURL->text()));
    if (List1->item(row)->text() == line)
        return;
    List1->item(row)->setText(line);
    emit linksChanged();
}

}  // namespace vinkring
