#include "window/aids/formatting.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "model/fieldrules.h"
#include "model/texts.h"
#include "platform/clipboard.h"
#include "window/form/articlefields.h"
#include "window/form/controls.h"
#include "window/form/fontlayout.h"

namespace vinkring {

namespace {

struct Command {
    std::string_view caption;
    QKeyCombination key;
    std::optional<ForumTag> tag;  // none: the link
};

// Ctrl+Shift+X for <s>: Ctrl+S saves, and Ctrl+Shift+S must save as well.
const std::array<Command, 5> kCommands{{
    {texts::kFormatBold, Qt::CTRL | Qt::Key_B, ForumTag::Bold},
    {texts::kFormatItalic, Qt::CTRL | Qt::Key_I, ForumTag::Italic},
    {texts::kFormatUnderline, Qt::CTRL | Qt::Key_U, ForumTag::Underline},
    {texts::kFormatStrikeOut, Qt::CTRL | Qt::SHIFT | Qt::Key_X, ForumTag::StrikeOut},
    {texts::kFormatLink, Qt::CTRL | Qt::Key_K, std::nullopt},
}};

// The key is shown beside the item but not made a shortcut: the key preview
// hears it first and hands it to takeKey, as with every other key.
QString itemText(const Command& command)
{
    return toQString(command.caption) + u'\t' + QKeySequence(command.key).toString(QKeySequence::NativeText);
}

TextEdit shifted(TextEdit edit, qsizetype by)
{
    edit.from += by;
    edit.to += by;
    edit.selection.start += by;
    edit.selection.end += by;
    return edit;
}

// Asks for the address of a link; the selection is its text.
class LinkDialog final : public QDialog {
public:
    LinkDialog(QWidget* parent, const QString& linkText, const QString& offered) : QDialog(parent)
    {
        setWindowTitle(toQString(texts::kLinkTitle));
        auto* label = new QLabel(toQString(texts::kLinkAddress), this);
        address_ = new QLineEdit(offered, this);
        // An address pasted broken over lines is one address again.
        address_->setValidator(new LineEndRule([](QString text) { return text.removeIf([](QChar c) { return isLineBreak(c); }); }, address_));
        address_->selectAll();
        label->setBuddy(address_);
        auto* shows = new QLabel(this);
        shows->setTextFormat(Qt::PlainText);
        shows->setText(linkText.isEmpty()
                           ? toQString(texts::kLinkNoText)
                           : toQString(texts::kLinkText)
                                 .arg(fontMetrics().elidedText(linkText.simplified(), Qt::ElideMiddle, 360)));
        // Why OK is off, while it is.
        auto* refused = new QLabel(toQString(texts::kLinkAddressRefused), this);
        refused->setTextFormat(Qt::PlainText);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(label);
        layout->addWidget(address_);
        layout->addWidget(refused);
        layout->addWidget(shows);
        layout->addWidget(buttons);
        // Fifty characters of an address, where the screen is as wide.
        address_->setMinimumWidth(std::min(fontMetrics().averageCharWidth() * 50, clientRoom(*this, 0).width() * 3 / 4));
        QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
        const auto check = [this, ok, refused] {
            ok->setEnabled(!address().isEmpty());
            refused->setVisible(address().isEmpty() && !address_->text().trimmed().isEmpty());
        };
        connect(address_, &QLineEdit::textChanged, this, check);
        check();
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    }

    QString address() const { return linkAddress(address_->text()); }

private:
    QLineEdit* address_;
};

}  // namespace

Formatting::Formatting(ArticleFields& fields, Clipboard& clipboard, QMenu* menu, QWidget* dialogParent)
    : QObject(dialogParent), fields_(fields), clipboard_(clipboard), menu_(menu), dialogParent_(dialogParent)
{
    for (int i = 0; i < int(kCommands.size()); ++i) {
        QAction* item = menu_->addAction(itemText(kCommands[std::size_t(i)]));
        connect(item, &QAction::triggered, this, [this, i] {
            if (const std::optional<std::size_t> field = fields_.focusedField())
                run(i, *field);
        });
    }
    // Only for a field: every one takes the forum's tags.
    connect(menu_, &QMenu::aboutToShow, this, [this] {
        const bool enabled = fields_.focusedField().has_value();
        for (QAction* item : menu_->actions())
            item->setEnabled(enabled);
    });
}

bool Formatting::takeKey(const QKeyEvent& key)
{
    const QKeyCombination pressed(key.modifiers() & ~Qt::KeypadModifier, Qt::Key(key.key()));
    for (int i = 0; i < int(kCommands.size()); ++i) {
        if (kCommands[std::size_t(i)].key != pressed)
            continue;
        const std::optional<std::size_t> field = fields_.focusedField();
        if (!field)
            return false;
        if (const std::optional<ForumTag> tag = kCommands[std::size_t(i)].tag) {
            toggle(*field, *tag);
        } else if (!unlink(*field)) {
            // The link's dialog runs after the key has been delivered, not
            // in the middle of its delivery: a dialog run from inside it
            // left the window deaf to the keyboard and the mouse (X11).
            QTimer::singleShot(0, this, [this, at = *field] { link(at); });
        }
        return true;
    }
    return false;
}

void Formatting::addMenuItems(QMenu& menu, QAction* before, std::size_t field)
{
    for (int i = 0; i < int(kCommands.size()); ++i) {
        auto* item = new QAction(itemText(kCommands[std::size_t(i)]), &menu);
        item->setObjectName(QStringLiteral("format"));
        connect(item, &QAction::triggered, this, [this, i, field] { run(i, field); });
        menu.insertAction(before, item);
    }
    menu.insertSeparator(before);
}

void Formatting::run(int command, std::size_t field)
{
    if (const std::optional<ForumTag> tag = kCommands[std::size_t(command)].tag)
        toggle(field, *tag);
    else
        link(field);
}

void Formatting::toggle(std::size_t field, ForumTag tag)
{
    const FieldBinding::Span span = fields_.linesAround(field);
    fields_.apply(field, shifted(toggleTag(span.text, span.selection, tag), span.offset));
}

bool Formatting::unlink(std::size_t field)
{
    const FieldBinding::Span span = fields_.linesAround(field);
    const std::optional<TextEdit> removed = removeLink(span.text, span.selection);
    if (removed)
        fields_.apply(field, shifted(*removed, span.offset));
    return removed.has_value();
}

void Formatting::link(std::size_t field)
{
    if (unlink(field))
        return;
    const FieldBinding::Span span = fields_.linesAround(field);
    const QString clipboard = clipboard_.plainText();
    const QString selected = span.text.mid(span.selection.start, span.selection.end - span.selection.start);
    LinkDialog dialog(dialogParent_, selected, looksLikeAddress(clipboard) ? clipboard.trimmed() : QString());
    if (dialog.exec() != QDialog::Accepted)
        return;
    // What the field holds now: the dialog waited, and the field may have changed meanwhile.
    const FieldBinding::Span now = fields_.linesAround(field);
    fields_.apply(field, shifted(insertLink(now.text, now.selection, dialog.address()), now.offset));
    fields_.focus(field);
}

}  // namespace vinkring
