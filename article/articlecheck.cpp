#include "article/articlecheck.h"

#include <algorithm>
#include <array>
#include <tuple>

#include "article/articlebuilder.h"
#include "article/articleparts.h"
#include "article/forummarkup.h"
#include "article/forumpost.h"
#include "model/linkentry.h"
#include "model/texts.h"

namespace vinkring {

namespace {

// Of a code quoted in a finding, at most this many characters.
constexpr qsizetype kQuotedLength = 40;

// A tab shows as an arrow, where it would look like a wide blank.
QString quoted(QStringView code)
{
    QString shown = code.size() <= kQuotedLength ? code.toString()
                                                 : code.first(kQuotedLength - 1).toString() + QChar(0x2026);
    return shown.replace(u'\t', toQString(texts::kCheckTabShown));
}

// A label as a text names it: "Beschrijving" of "&Beschrijving:".
QString labelWithoutColon(std::string_view label)
{
    QString name = QString::fromStdString(stripAccessKey(label));
    name.chop(name.endsWith(u':') ? 1 : 0);
    return name;
}

// The section a field's text stands in, by its heading as the post shows it
// ("2.4 Vindplaats"; the conclusion by its chapter's); the title and the
// author by their labels.
QString partName(std::size_t field)
{
    const FieldInfo& info = kFields[field];
    const std::string_view heading = info.sectionHeading.empty() ? info.chapterHeading : info.sectionHeading;
    if (heading.empty())
        return QString::fromStdString(sectionName(info));
    return plainText(readForumText(toQString(heading)).lines.value(0)).trimmed();
}

// Lines as the field shows them, from 1: after each CR LF, lone CR and lone LF.
class LineCounter {
public:
    explicit LineCounter(QStringView text) : text_(text) {}

    // Offsets asked in increasing order cost one pass over the text in all.
    qsizetype lineOf(qsizetype offset)
    {
        if (offset < at_) {
            at_ = 0;
            line_ = 1;
        }
        offset = std::min(offset, text_.size());
        for (; at_ < offset; ++at_) {
            const QChar c = text_[at_];
            if (c == u'\n' || (c == u'\r' && (at_ + 1 == text_.size() || text_[at_ + 1] != u'\n')))
                ++line_;
        }
        return line_;
    }

private:
    QStringView text_;
    qsizetype at_ = 0;
    qsizetype line_ = 1;
};

// The name inside "<b>" or "</B>".
QStringView tagNameOf(QStringView tag)
{
    qsizetype from = 1;
    if (from < tag.size() && tag[from] == u'/')
        ++from;
    qsizetype to = from;
    while (to < tag.size() && tag[to].isLetter())
        ++to;
    return tag.mid(from, to - from);
}

quint8 styleOf(QStringView name)
{
    for (const ForumTagInfo& tag : kForumTags) {
        if (name.compare(tag.name, Qt::CaseInsensitive) == 0)
            return tag.style;
    }
    return kBold;
}

QString styleWord(quint8 style)
{
    std::size_t bit = 0;
    while (bit + 1 < texts::kStyleWords.size() && (1u << bit) != style)
        ++bit;
    return toQString(texts::kStyleWords[bit]);
}

// "<b>, <i>, <u>, <s>, <sub> en <sup>".
QString forumTagList()
{
    QStringList tags;
    for (const quint8 style : kStyleOrder)
        tags << openingTag(style);
    const QString last = tags.takeLast();
    return tags.join(QStringLiteral(", ")) + QStringLiteral(" en ") + last;
}

CheckKind kindOf(MarkupProblem problem)
{
    switch (problem) {
    case MarkupProblem::TagNotClosed:
        return CheckKind::TagNotClosed;
    case MarkupProblem::TagNotOpened:
        return CheckKind::TagNotOpened;
    case MarkupProblem::TagsCrossed:
        return CheckKind::TagsCrossed;
    case MarkupProblem::LinkNotClosed:
        return CheckKind::LinkNotClosed;
    case MarkupProblem::LinkNotOpenable:
        return CheckKind::LinkNotOpenable;
    case MarkupProblem::NotForumMarkup:
        break;
    }
    return CheckKind::NotForumMarkup;
}

// How the reading of the whole post took a finding's tag or code.
enum class Reach {
    AsRead,     // the reading's own finding
    RunsOn,     // not closed in its section, closed in a later part of the post
};

// A markup finding placed back in its field or link line.
struct Markup {
    DocumentPlace place;
    MarkupFinding finding;
    QString code;  // the tag or code as the post holds it
    Reach reach = Reach::AsRead;
    QString closedIn;  // RunsOn of a link: the place of its [/URL]
};

bool isLinkCode(QStringView code)
{
    return code.startsWith(kLinkOpen, Qt::CaseInsensitive) || code.startsWith(kBareLinkOpen, Qt::CaseInsensitive);
}

// What is wrong with the tag or code, as typed, and what to do.
QString markupText(const Markup& markup)
{
    const MarkupProblem problem = markup.finding.problem;
    const QString code = quoted(markup.code);
    const QStringView name = tagNameOf(markup.code);
    if (markup.reach == Reach::RunsOn) {
        if (problem == MarkupProblem::LinkNotClosed)
            return toQString(texts::kCheckLinkRunsOn).arg(code, markup.closedIn);
        return toQString(texts::kCheckTagRunsOn)
            .arg(code, styleWord(styleOf(name)), QStringLiteral("</%1>").arg(name));
    }
    switch (problem) {
    case MarkupProblem::TagNotClosed:
        return toQString(texts::kCheckTagNotClosed)
            .arg(code, styleWord(styleOf(name)), QStringLiteral("</%1>").arg(name));
    case MarkupProblem::TagNotOpened:
        return toQString(texts::kCheckTagNotOpened)
            .arg(code, QStringLiteral("<%1>").arg(name), styleWord(styleOf(name)));
    case MarkupProblem::TagsCrossed:
        return toQString(texts::kCheckTagsCrossed).arg(code);
    case MarkupProblem::LinkNotClosed:
        return toQString(texts::kCheckLinkNotClosed).arg(code);
    case MarkupProblem::LinkNotOpenable:
        return toQString(texts::kCheckLinkNotOpenable).arg(code);
    case MarkupProblem::NotForumMarkup:
        break;
    }
    // The reading takes a [/URL] with no link open, and a link code in the
    // text of a link, for codes it does not know.
    if (markup.code.compare(kLinkClose, Qt::CaseInsensitive) == 0)
        return toQString(texts::kCheckLinkCloseNothing).arg(code);
    if (isLinkCode(markup.code))
        return toQString(texts::kCheckLinkInLink).arg(code);
    return toQString(texts::kCheckNotForumMarkup).arg(code, forumTagList());
}

// The markup as the forum reads it: the whole post in one pass, as the live
// view shows it (a code or tag left open runs on into the next sections),
// each finding placed back in its field or link line; and each tag or link
// code that its own section leaves open but a later part of the post closes.
class PostMarkup {
public:
    explicit PostMarkup(const ArticleDocument& doc) : doc_(doc)
    {
        post_ = BuildArticle(doc, ArticleFlavour::Forum, &outline_);
    }

    QList<Markup> read(const QList<PlacedFinding>& ofSections) const
    {
        QList<Markup> found;
        for (const MarkupFinding& finding : readForumText(post_).findings) {
            Markup markup{{}, finding, post_.mid(finding.offset, finding.length), Reach::AsRead, {}};
            place(finding.offset, markup.place, markup.finding);
            found.push_back(std::move(markup));
        }
        for (const PlacedFinding& own : ofSections) {
            const MarkupProblem problem = own.finding.problem;
            if (own.place.kind != DocumentPlace::Kind::Field
                || (problem != MarkupProblem::TagNotClosed && problem != MarkupProblem::LinkNotClosed))
                continue;
            const bool told = std::any_of(found.cbegin(), found.cend(), [&own](const Markup& m) {
                return m.place == own.place && m.finding.offset == own.finding.offset;
            });
            if (told)
                continue;
            const qsizetype at = outline_.textStart[std::size_t(own.place.index)] + own.finding.offset;
            Markup markup{own.place, own.finding, post_.mid(at, own.finding.length), Reach::RunsOn, {}};
            if (problem == MarkupProblem::LinkNotClosed) {
                // The reading's rule: the link runs to the next [/URL].
                const qsizetype close = post_.indexOf(kLinkClose, at + own.finding.length, Qt::CaseInsensitive);
                if (close >= 0)
                    markup.closedIn = whereIs(close);
            }
            found.push_back(std::move(markup));
        }
        std::stable_sort(found.begin(), found.end(), [](const Markup& a, const Markup& b) {
            const auto key = [](const Markup& m) {
                return std::tuple(m.place.kind == DocumentPlace::Kind::Link, m.place.index, m.finding.offset);
            };
            return key(a) < key(b);
        });
        return found;
    }

    const QString& post() const { return post_; }

private:
    // The post's offset back in the document: in a field's text, else at the
    // nearest end of the field whose part of the template holds it; in a
    // link line's description or address.
    void place(qsizetype at, DocumentPlace& where, MarkupFinding& finding) const
    {
        for (qsizetype i = outline_.linkStart.size() - 1; at >= outline_.linksStart && i >= 0; --i) {
            const qsizetype start = outline_.linkStart.at(i);
            if (start < 0 || start > at)
                continue;
            where = {DocumentPlace::Kind::Link, i};
            placeInLink(doc_.links.at(i), at - start, finding);
            return;
        }
        std::size_t field = kFieldCount - 1;
        while (field > 0 && outline_.fieldStart[field] > at)
            --field;
        where = {DocumentPlace::Kind::Field, qsizetype(field)};
        const qsizetype size = doc_.fields[field].size();
        const qsizetype offset = at - outline_.textStart[field];
        if (offset < 0 || offset > size) {
            finding.offset = offset < 0 ? 0 : size;
            finding.length = 0;
        } else {
            finding.offset = offset;
            finding.length = std::min(finding.length, size - offset);
        }
    }

    // As the line's code is written: [URL=address]text[/URL], or [URL]address[/URL].
    static void placeInLink(const QString& line, qsizetype inCode, MarkupFinding& finding)
    {
        qsizetype descriptionAt = 0;
        qsizetype addressAt = 0;
        const std::optional<LinkCodeParts> link = linkOfLine(line, &descriptionAt, &addressAt);
        const qsizetype textStart = kLinkOpen.size() + (link ? link->address.size() : 0) + 1;
        if (link && !link->text.isEmpty() && inCode >= textStart && inCode < textStart + link->text.size()) {
            finding.offset = descriptionAt + inCode - textStart;
            finding.length = std::min(finding.length, link->text.size() - (inCode - textStart));
        } else {
            finding.offset = addressAt;
            finding.length = link ? link->address.size() : 0;
        }
    }

    QString whereIs(qsizetype at) const
    {
        DocumentPlace where;
        MarkupFinding finding{MarkupProblem::LinkNotClosed, 0, 0};
        place(at, where, finding);
        if (where.kind == DocumentPlace::Kind::Link)
            return toQString(texts::kCheckLine).arg(toQString(texts::kLinkListName)).arg(where.index + 1);
        const auto field = std::size_t(where.index);
        if (field < kFirstSectionField)
            return partName(field);
        return toQString(texts::kCheckLine).arg(partName(field)).arg(LineCounter(doc_.fields[field]).lineOf(finding.offset));
    }

    const ArticleDocument& doc_;
    ArticleOutline outline_;
    QString post_;
};

bool isBlank(const QList<ForumLine>& lines, qsizetype skip = 0)
{
    return std::all_of(lines.cbegin(), lines.cend(), [&skip](const ForumLine& line) {
        const QString text = plainText(line).mid(std::exchange(skip, 0));
        return text.trimmed().isEmpty();
    });
}

class ArticleCheck {
public:
    ArticleCheck(const ArticleDocument& doc, const CheckContext& context) : doc_(doc), context_(context) {}

    QList<CheckFinding> run()
    {
        const ArticleReading reading = readArticle(doc_, EmptySections::Kept);
        const PostMarkup post(doc_);
        const QList<Markup> markup = post.read(reading.findings);
        auto next = markup.cbegin();
        for (const ArticlePart& part : reading.parts) {
            if (part.kind == PartKind::Title && isBlank(part.lines))
                add(CheckKind::EmptyTitle, part.field, 0, 0, toQString(texts::kCheckEmptyTitle));
            else if (part.kind == PartKind::Author && isBlank(part.lines, authorWords().size()))
                add(CheckKind::EmptyAuthor, part.field, 0, 0,
                    toQString(texts::kCheckEmptyAuthor).arg(authorWords().trimmed()));
            else if (part.kind == PartKind::Text && isBlank(part.lines))
                add(CheckKind::EmptySection, part.field, 0, 0, toQString(texts::kCheckEmptySection));
            if (part.kind != PartKind::Title && part.kind != PartKind::Author && part.kind != PartKind::Text)
                continue;
            for (; next != markup.cend() && next->place.kind == DocumentPlace::Kind::Field
                   && std::size_t(next->place.index) == part.field;
                 ++next)
                add(kindOf(next->finding.problem), part.field, next->finding.offset, next->finding.length,
                    markupText(*next));
        }
        checkLinks(QList<Markup>(next, markup.cend()));
        checkPost(post.post());
        // What concerns the whole article first, so that a long list never hides it.
        std::stable_partition(findings_.begin(), findings_.end(),
                              [](const CheckFinding& f) { return isArticleWide(f.kind); });
        return std::move(findings_);
    }

private:
    void add(CheckKind kind, std::size_t field, qsizetype offset, qsizetype length, QString what)
    {
        if (field != counted_) {
            counted_ = field;
            lines_.emplace(doc_.fields[field]);
        }
        QString where = partName(field);
        if (field >= kFirstSectionField && kind != CheckKind::EmptySection)
            where = toQString(texts::kCheckLine).arg(where).arg(lines_->lineOf(offset));
        findings_.push_back({kind, DocumentPlace{DocumentPlace::Kind::Field, qsizetype(field)}, offset, length,
                             std::move(where), std::move(what)});
    }

    void addLink(CheckKind kind, qsizetype line, qsizetype offset, qsizetype length, QString what)
    {
        findings_.push_back({kind, DocumentPlace{DocumentPlace::Kind::Link, line}, offset, length,
                             toQString(texts::kCheckLine).arg(toQString(texts::kLinkListName)).arg(line + 1),
                             std::move(what)});
    }

    // Each line's findings in the order of their places in it: the reading's
    // (of the link code the line makes), then what the forum makes of it.
    void checkLinks(const QList<Markup>& markup)
    {
        const qsizetype first = findings_.size();
        for (qsizetype i = 0; i < doc_.links.size(); ++i) {
            const QString& line = doc_.links.at(i);
            qsizetype descriptionAt = 0;
            qsizetype addressAt = 0;
            const std::optional<LinkCodeParts> link = linkOfLine(line, &descriptionAt, &addressAt);
            if (!link)
                continue;
            if (link->text.isEmpty())
                addLink(CheckKind::LinkWithoutDescription, i, 0, line.size(),
                        toQString(texts::kCheckLinkWithoutDescription)
                            .arg(labelWithoutColon(texts::kDescriptionLabel), toQString(texts::kChangeLink)));
            const qsizetype blank = std::find_if(link->address.cbegin(), link->address.cend(),
                                                 [](QChar c) { return c.isSpace(); })
                - link->address.cbegin();
            if (blank < link->address.size())
                addLink(CheckKind::LinkWithBlank, i, addressAt + blank, 1,
                        toQString(texts::kCheckLinkWithBlank)
                            .arg(quoted(link->address))
                            .arg(toQString(link->address.at(blank) == u'\t' ? texts::kCheckTab : texts::kCheckSpace)));
            // A bracket ends the link's code where it stands (the line's own
            // address, not the code's reading of it, which stops there).
            const QString url = splitLinkLine(line).url;
            const auto firstBracket = std::find_if(url.cbegin(), url.cend(), [](QChar c) { return c == u'[' || c == u']'; });
            const qsizetype bracket =
                blank < link->address.size() || firstBracket == url.cend() ? -1 : firstBracket - url.cbegin();
            if (bracket >= 0)
                addLink(CheckKind::LinkWithBlank, i, line.size() - url.size() + bracket, 1,
                        toQString(texts::kCheckLinkWithBracket).arg(quoted(trimSpaces(url)), url.at(bracket)));
            if (!link->address.isEmpty() && addressScheme(link->address).isEmpty())
                addLink(CheckKind::LinkWithoutScheme, i, addressAt, link->address.size(),
                        toQString(texts::kCheckLinkWithoutScheme).arg(quoted(link->address)));
            for (const Markup& found : markup) {
                if (found.place != DocumentPlace{DocumentPlace::Kind::Link, i})
                    continue;
                const bool deadLink = found.finding.problem == MarkupProblem::LinkNotOpenable;
                // An address with a blank is told as such.
                if (deadLink && (blank < link->address.size() || bracket >= 0))
                    continue;
                const QString what = deadLink && link->address.isEmpty()
                    ? toQString(texts::kCheckLinkWithoutAddress)
                          .arg(labelWithoutColon(texts::kUrlLabel), toQString(texts::kChangeLink))
                    : markupText(found);
                addLink(kindOf(found.finding.problem), i, found.finding.offset, found.finding.length, what);
            }
        }
        std::stable_sort(findings_.begin() + first, findings_.end(),
                         [](const CheckFinding& a, const CheckFinding& b) {
                             return a.place->index != b.place->index ? a.place->index < b.place->index
                                                                     : a.offset < b.offset;
                         });
    }

    void checkPost(const QString& post)
    {
        if (context_.postLimit > 0) {
            const qsizetype characters = countCharacters(post);
            if (characters > context_.postLimit) {
                // Rounded as the live view rounds it.
                const qint64 percent = (qint64(characters) * 100 + context_.postLimit / 2) / context_.postLimit;
                const QString limitLabel = labelWithoutColon(texts::kPostLimit);
                findings_.push_back({CheckKind::PostTooLong, std::nullopt, 0, 0,
                                     toQString(texts::kCheckWholePost),
                                     toQString(texts::kCheckPostTooLong)
                                         .arg(dutchNumber(characters), dutchNumber(percent),
                                              dutchNumber(context_.postLimit), limitLabel)});
            }
        }
        if (context_.unknownWords > 0) {
            const QString command = toQString(texts::kSpelling);
            findings_.push_back({CheckKind::UnknownWords, std::nullopt, 0, 0, toQString(texts::kCheckSpelling),
                                 context_.unknownWords == 1
                                     ? toQString(texts::kCheckOneUnknownWord).arg(command)
                                     : toQString(texts::kCheckUnknownWords)
                                           .arg(dutchNumber(context_.unknownWords), command)});
        }
    }

    const ArticleDocument& doc_;
    const CheckContext& context_;
    QList<CheckFinding> findings_;
    std::size_t counted_ = kFieldCount;
    std::optional<LineCounter> lines_;
};

}  // namespace

bool isArticleWide(CheckKind kind)
{
    return kind == CheckKind::EmptyTitle || kind == CheckKind::EmptyAuthor || kind == CheckKind::PostTooLong
        || kind == CheckKind::UnknownWords;
}

QList<CheckFinding> checkArticle(const ArticleDocument& doc, const CheckContext& context)
{
    return ArticleCheck(doc, context).run();
}

QString markupWarning(const ArticleDocument& doc)
{
    struct Count {
        MarkupProblem problem;
        std::string_view one;
        std::string_view many;
    };
    static constexpr std::array<Count, 6> kCounts{{
        {MarkupProblem::TagNotClosed, texts::kCheckWarningOpenTag, texts::kCheckWarningOpenTags},
        {MarkupProblem::TagNotOpened, texts::kCheckWarningStrayTag, texts::kCheckWarningStrayTags},
        {MarkupProblem::TagsCrossed, texts::kCheckWarningCrossed, texts::kCheckWarningCrossedMany},
        {MarkupProblem::LinkNotClosed, texts::kCheckWarningOpenLink, texts::kCheckWarningOpenLinks},
        {MarkupProblem::LinkNotOpenable, texts::kCheckWarningDeadLink, texts::kCheckWarningDeadLinks},
        {MarkupProblem::NotForumMarkup, texts::kCheckWarningUnknown, texts::kCheckWarningUnknownMany},
    }};
    const QList<Markup> findings = PostMarkup(doc).read(readArticle(doc, EmptySections::Kept).findings);
    QStringList said;
    for (const Count& count : kCounts) {
        const qsizetype n = std::count_if(findings.cbegin(), findings.cend(), [&count](const Markup& f) {
            return f.finding.problem == count.problem;
        });
        if (n == 1)
            said << toQString(count.one);
        else if (n > 1)
            said << toQString(count.many).arg(dutchNumber(n));
    }
    if (said.isEmpty())
        return {};
    if (said.size() > 2)
        said = QStringList{toQString(texts::kCheckWarningMany).arg(dutchNumber(findings.size()))};
    return toQString(texts::kCheckWarning).arg(said.join(QStringLiteral(", ")));
}

}  // namespace vinkring
