#include "bench/benchdocument.h"

#include <array>

#include <QCoreApplication>
#include <QDeadlineTimer>

#include "document/documentformat.h"
#include "spelling/spellinghighlighter.h"

namespace vinkring::bench {

namespace {

constexpr std::array<const char16_t*, 8> kSentences{
    u"De zebravis leeft in scholen in ondiep, stromend water. ",
    u"Het mannetje is slanker en feller gekleurd dan het vrouwtje. ",
    u"In het aquarium eet hij graag levend voer, zoals watervlooien. ",
    u"Een temperatuur van 24 graden is ideaal; daarboven wordt hij onrustig. ",
    u"Caf\u00e9 of na\u00efef: de kweek is eenvoudig, maar de eitjes worden opgegeten. ",
    u"Zet de ouders na het afzetten apart & voer de jongen met infusori\u00ebn. ",
    u"De beschrijver gaf hem in 1822 zijn wetenschappelijke naam. ",
    u"Familie, orde en klasse: Cyprinidae, Cypriniformes, Actinopterygii. ",
};

QString sectionText(qsizetype characters, qsizetype seed)
{
    QString text;
    text.reserve(characters + 128);
    qsizetype lineLength = 0;
    std::size_t next = std::size_t(seed);
    while (text.size() < characters) {
        const QString sentence = QString::fromUtf16(kSentences[next++ % kSentences.size()]);
        text += sentence;
        lineLength += sentence.size();
        if (lineLength > 70) {
            text += QStringLiteral("\r\n");
            lineLength = 0;
        }
    }
    text.truncate(characters);
    return text;
}

}  // namespace

ArticleDocument makeDocument(qsizetype characters)
{
    ArticleDocument doc;
    doc.fields[kTitleField] = QStringLiteral("Danio rerio, de zebravis");
    doc.fields[kAuthorField] = QStringLiteral("Jan Jansen en Els de Vries");
    for (int i = 0; i < 20; ++i)
        doc.links.append(QStringLiteral("Verslag %1, https://www.vinkring.nl/forum/verslag-%1.htm").arg(i + 1));

    const qsizetype fixed = SerializeDocument(doc).size();
    const qsizetype perSection = std::max<qsizetype>(0, (characters - fixed) / qsizetype(kSectionCount));
    for (std::size_t i = kFirstSectionField; i < kFieldCount; ++i)
        doc.fields[i] = sectionText(perSection, qsizetype(i));
    return doc;
}

qsizetype documentFileSize(const ArticleDocument& doc)
{
    return SerializeDocument(doc).size() + 2;
}

bool waitForSpelling(const QObject& root)
{
    const auto done = [&root] {
        for (const SpellingHighlighter* highlighter : root.findChildren<SpellingHighlighter*>()) {
            if (highlighter->isChecking())
                return false;
        }
        return true;
    };
    // Waits for events, not a number of milliseconds: the time until the
    // check is over is then the time the check takes.
    const QDeadlineTimer deadline(60 * 1000);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

}  // namespace vinkring::bench
