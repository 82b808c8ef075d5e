#include "article/articlecheck.h"

#include <algorithm>
#include <array>

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

QString quoted(QStringView code)
{
    if (code.size() <= kQuotedLength)
        return code.toString();
    return code.first(kQuotedLength - 1).toString() + QChar(0x2026);
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

// What is wrong with the tag or code, as typed, and what to do.
QString markupText(MarkupProblem problem, QStringView code)
{
    const QStringView name = tagNameOf(code);
    switch (problem) {
    case MarkupProblem::TagNotClosed:
        return toQString(texts::kCheckTagNotClosed)
            .arg(code.toString(), styleWord(styleOf(name)), QStringLiteral("</%1>").arg(name));
    case MarkupProblem::TagNotOpened:
        return toQString(texts::kCheckTagNotOpened)
            .arg(code.toString(), QStringLiteral("<%1>").arg(name), styleWord(styleOf(name)));
    case MarkupProblem::TagsCrossed:
        return toQString(texts::kCheckTagsCrossed).arg(code);
    case MarkupProblem::LinkNotClosed:
        return toQString(texts::kCheckLinkNotClosed).arg(quoted(code));
    case MarkupProblem::LinkNotOpenable:
        return toQString(texts::kCheckLinkNotOpenable).arg(quoted(code));
    case MarkupProblem::NotForumMarkup:
        break;
    }
    return toQString(texts::kCheckNotForumMarkup).arg(quoted(code), forumTagList());
}

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
        auto markup = reading.findings.cbegin();
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
            const QString& text = doc_.fields[part.field];
            for (; markup != reading.findings.cend() && markup->place.kind == DocumentPlace::Kind::Field
                   && std::size_t(markup->place.index) == part.field;
                 ++markup) {
                const MarkupFinding& found = markup->finding;
                add(kindOf(found.problem), part.field, found.offset, found.length,
                    markupText(found.problem, QStringView(text).mid(found.offset, found.length)));
            }
        }
        checkLinks(reading.findings);
        checkPost();
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
    void checkLinks(const QList<PlacedFinding>& markup)
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
                        toQString(texts::kCheckLinkWithBlank).arg(quoted(link->address)));
            if (!link->address.isEmpty() && addressScheme(link->address).isEmpty())
                addLink(CheckKind::LinkWithoutScheme, i, addressAt, link->address.size(),
                        toQString(texts::kCheckLinkWithoutScheme).arg(quoted(link->address)));
            for (const PlacedFinding& found : markup) {
                if (found.place != DocumentPlace{DocumentPlace::Kind::Link, i})
                    continue;
                // An address with a blank is told as such.
                if (found.finding.problem == MarkupProblem::LinkNotOpenable && blank < link->address.size())
                    continue;
                addLink(kindOf(found.finding.problem), i, found.finding.offset, found.finding.length,
                        markupText(found.finding.problem, QStringView(line).mid(found.finding.offset,
                                                                                found.finding.length)));
            }
        }
        std::stable_sort(findings_.begin() + first, findings_.end(),
                         [](const CheckFinding& a, const CheckFinding& b) {
                             return a.place->index != b.place->index ? a.place->index < b.place->index
                                                                     : a.offset < b.offset;
                         });
    }

    void checkPost()
    {
        if (context_.postLimit > 0) {
            const qsizetype characters = countCharacters(BuildArticle(doc_, ArticleFlavour::Forum));
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
    const QList<PlacedFinding> findings = readArticle(doc, EmptySections::Kept).findings;
    QStringList said;
    for (const Count& count : kCounts) {
        const qsizetype n = std::count_if(findings.cbegin(), findings.cend(), [&count](const PlacedFinding& f) {
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
