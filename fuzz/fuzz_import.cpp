// libFuzzer target: importing a forum text. Arbitrary bytes are the file the
// writer chose; what the import makes of them, when it takes them, is a
// document that the import of its own forum text gives again, whose texts
// hold CR LF line ends only, and that comes back whole from a save and an
// open (in the code page when it fits, and in UTF-8).

#include <cstddef>
#include <cstdint>

#include <QByteArrayView>
#include <QString>

#include "article/articlebuilder.h"
#include "article/forumimport.h"
#include "document/documentfile.h"
#include "document/documentformat.h"
#include "document/windows1252.h"
#include "fuzz/fuzzcheck.h"
#include "model/articledocument.h"

using namespace vinkring;

namespace {

bool onlyCrLfLineEnds(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n')
            return false;
        if (text[i] == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n'))
            return false;
        if (text[i] == u'\r')
            ++i;
    }
    return true;
}

void checkOpens(const QByteArray& bytes, const ArticleDocument& doc)
{
    const DocumentReadResult read = parseDocumentFile(bytes, QStringLiteral("fuzz.vkv"));
    FUZZ_CHECK(read.ok && read.document);
    FUZZ_CHECK(*read.document == doc);
    FUZZ_CHECK(read.notice.isEmpty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 256 * 1024)
        return 0;
    const std::optional<QString> text = forumTextOfBytes(QByteArrayView(data, qsizetype(size)));
    if (!text)
        return 0;
    const ForumImport first = importForumText(*text);
    if (!first.document) {
        FUZZ_CHECK(!first.message.isEmpty() && !first.cancelled);
        return 0;
    }
    const ArticleDocument& doc = *first.document;
    for (std::size_t i = kFirstSectionField; i < kFieldCount; ++i)
        FUZZ_CHECK(onlyCrLfLineEnds(doc.fields[i]));

    // The fixed point: the program's own forum text of what it imported.
    const ForumImport again = importForumText(BuildArticle(doc, ArticleFlavour::Forum));
    FUZZ_CHECK(again.document);
    FUZZ_CHECK(*again.document == doc);
    FUZZ_CHECK(again.message.isEmpty());

    // A save refuses a text holding the file's own markers, and says so.
    if (!placesWithMarkers(doc).empty())
        return 0;
    if (const std::optional<QByteArray> codePage = documentFileBytes(doc))
        checkOpens(*codePage, doc);
    checkOpens(utf8WithByteOrderMark(SerializeDocument(doc)) + "\r\n", doc);
    return 0;
}
