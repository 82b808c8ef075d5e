#pragma once
// The formatting commands: the forum's tags <b>, <i>, <u> and <s> and its link
// code put around a selection or taken away again. Each command is an edit of
// one stretch of the text, so that a field applies it as one step of undo
// without touching the rest of a long text.

#include <optional>

#include <QString>
#include <QStringView>

namespace vinkring {

enum class ForumTag { Bold, Italic, Underline, StrikeOut };

// A selection from start to end (start <= end); empty is the cursor alone.
struct TextSelection {
    qsizetype start = 0;
    qsizetype end = 0;
    friend bool operator==(const TextSelection&, const TextSelection&) = default;
};

// Replaces the text from `from` to `to` by `insert`; afterwards `selection`
// is selected (in the new text).
struct TextEdit {
    qsizetype from = 0;
    qsizetype to = 0;
    QString insert;
    TextSelection selection;
};

// "<b>", "</b>" and so on.
QString openingTag(ForumTag tag);
QString closingTag(ForumTag tag);

// The tag pair around the selection; or, when the selection is exactly
// wrapped in it (the tags inside the selection or just outside it, in any
// case of letters), the pair taken away. With no selection the pair is
// inserted and the cursor stands between the tags.
TextEdit toggleTag(QStringView text, TextSelection selection, ForumTag tag);

// The link code around the selection taken away, when the selection is
// exactly wrapped in one ([URL=address]text[/URL] leaves the text,
// [URL]address[/URL] the address); nullopt otherwise.
std::optional<TextEdit> removeLink(QStringView text, TextSelection selection);

// [URL=address]selection[/URL], or [URL]address[/URL] with no selection;
// the cursor after it.
TextEdit insertLink(QStringView text, TextSelection selection, const QString& address);

// An address as the writer gives it for a link: the blanks around it go.
// Empty when it cannot stand in a link code (nothing, a line end, "[" or "]").
QString linkAddress(const QString& typed);

// Whether a text (the clipboard's) is one web or mail address, worth offering
// for a link.
bool looksLikeAddress(const QString& text);

// The text after the edit.
QString applied(const QString& text, const TextEdit& edit);

}  // namespace vinkring
