#include "article/tagcommands.h"

#include <algorithm>

#include "article/forummarkup.h"

namespace vinkring {

namespace {

// What both forms of the link code start with: "[URL".
const QString kCodeStart = QString(kBareLinkOpen).chopped(1);
const QString kCodeClose = QString(kLinkClose);

QString joined(QStringView a, QStringView b, QStringView c)
{
    QString text;
    text.reserve(a.size() + b.size() + c.size());
    return text.append(a).append(b).append(c);
}

quint8 styleOf(ForumTag tag)
{
    switch (tag) {
    case ForumTag::Bold: return kBold;
    case ForumTag::Italic: return kItalic;
    case ForumTag::Underline: return kUnderline;
    case ForumTag::StrikeOut: return kStrikeOut;
    }
    return kBold;
}

bool startsAt(QStringView text, qsizetype at, QStringView what)
{
    return at >= 0 && at + what.size() <= text.size() &&
           text.mid(at, what.size()).compare(what, Qt::CaseInsensitive) == 0;
}

// Every closing tag in text closes one opened before it, and none stays open:
// the selection is one whole piece, not the end of one pair and the start of
// the next.
bool balanced(QStringView text, QStringView open, QStringView close)
{
    int depth = 0;
    for (qsizetype i = text.indexOf(u'<'); i >= 0; i = text.indexOf(u'<', i + 1)) {
        if (startsAt(text, i, open))
            ++depth;
        else if (startsAt(text, i, close) && --depth < 0)
            return false;
    }
    return depth == 0;
}

TextSelection ordered(QStringView text, TextSelection selection)
{
    const qsizetype a = std::clamp<qsizetype>(selection.start, 0, text.size());
    const qsizetype b = std::clamp<qsizetype>(selection.end, 0, text.size());
    return {std::min(a, b), std::max(a, b)};
}

TextEdit unwrapped(qsizetype from, qsizetype to, QStringView kept)
{
    return {from, to, kept.toString(), {from, from + kept.size()}};
}

// The [URL...] code ending just before `at`: where it starts, or -1.
qsizetype linkCodeBefore(QStringView text, qsizetype at)
{
    if (at <= 0 || text[at - 1] != u']')
        return -1;
    if (startsAt(text, at - kCodeStart.size() - 1, QString(kBareLinkOpen)))
        return at - kCodeStart.size() - 1;
    for (qsizetype i = at - 2; i >= 0; --i) {
        const QChar c = text[i];
        if (c == u']' || c == u'\r' || c == u'\n' || c == QChar::ParagraphSeparator)
            return -1;
        if (c == u'[')
            return startsAt(text, i, QString(kLinkOpen)) ? i : -1;
    }
    return -1;
}

}  // namespace

QString openingTag(ForumTag tag)
{
    return openingTag(styleOf(tag));
}

QString closingTag(ForumTag tag)
{
    return closingTag(styleOf(tag));
}

TextEdit toggleTag(QStringView text, TextSelection selection, ForumTag tag)
{
    const QString open = openingTag(tag);
    const QString close = closingTag(tag);
    const auto [s, e] = ordered(text, selection);
    const QStringView selected = text.mid(s, e - s);

    if (selected.size() >= open.size() + close.size() && startsAt(text, s, open) &&
        startsAt(text, e - close.size(), close)) {
        const QStringView inner = selected.mid(open.size(), selected.size() - open.size() - close.size());
        if (balanced(inner, open, close))
            return unwrapped(s, e, inner);
    }
    if (startsAt(text, s - open.size(), open) && startsAt(text, e, close) && balanced(selected, open, close))
        return unwrapped(s - open.size(), e + close.size(), selected);

    return {s, e, joined(open, selected, close), {s + open.size(), e + open.size()}};
}

std::optional<TextEdit> removeLink(QStringView text, TextSelection selection)
{
    const auto [s, e] = ordered(text, selection);
    const QStringView selected = text.mid(s, e - s);
    const auto noLinkInside = [](QStringView inner) { return !inner.contains(kCodeClose, Qt::CaseInsensitive); };

    // The code inside the selection.
    if (startsAt(selected, 0, kCodeStart) && selected.size() > kCodeStart.size() + kCodeClose.size() &&
        startsAt(selected, selected.size() - kCodeClose.size(), kCodeClose)) {
        const qsizetype textStart = selected.indexOf(u']') + 1;
        const QChar after = selected[kCodeStart.size()];
        if ((after == u']' || after == u'=') && textStart > 0 && textStart <= selected.size() - kCodeClose.size()) {
            const QStringView inner = selected.mid(textStart, selected.size() - kCodeClose.size() - textStart);
            if (noLinkInside(inner))
                return unwrapped(s, e, inner);
        }
    }
    // Just outside it.
    const qsizetype codeStart = linkCodeBefore(text, s);
    if (codeStart >= 0 && startsAt(text, e, kCodeClose) && noLinkInside(selected))
        return unwrapped(codeStart, e + kCodeClose.size(), selected);
    return std::nullopt;
}

TextEdit insertLink(QStringView text, TextSelection selection, const QString& address)
{
    const auto [s, e] = ordered(text, selection);
    // The cursor after the code: the writer goes on typing behind the link.
    const QString code = linkCode(address, text.mid(s, e - s));
    return {s, e, code, {s + code.size(), s + code.size()}};
}

QString linkAddress(const QString& typed)
{
    const QString address = typed.trimmed();
    for (const QChar c : address) {
        if (c == u'[' || c == u']' || c == u'\r' || c == u'\n' || c == QChar::ParagraphSeparator ||
            c == QChar::LineSeparator)
            return {};
    }
    return address;
}

bool looksLikeAddress(const QString& text)
{
    const QString address = text.trimmed();
    if (address.isEmpty() || address.size() > 2048 || linkAddress(address).isEmpty())
        return false;
    if (std::any_of(address.begin(), address.end(), [](QChar c) { return c.isSpace(); }))
        return false;
    for (const char* start : {"http://", "https://", "ftp://", "mailto:", "www."}) {
        if (address.startsWith(QLatin1StringView(start), Qt::CaseInsensitive) &&
            address.size() > qsizetype(qstrlen(start)))
            return true;
    }
    return false;
}

QString applied(const QString& text, const TextEdit& edit)
{
    return QString(text).replace(edit.from, edit.to - edit.from, edit.insert);
}

}  // namespace vinkring
