// libFuzzer target: reading a recovery copy, which every start reads from a
// folder other programs can write to. A copy that reads keeps what a document
// file may hold, so that the work, restored, can be saved and opened again;
// and written again and read again, it is the same copy.

#include <cstddef>
#include <cstdint>
#include <optional>

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>

#include "model/articledocument.h"
#include "document/documentfile.h"
#include "document/recovery.h"
#include "fuzz/fuzzcheck.h"

using namespace vinkring;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::optional<RecoveryCopy> copy = parseRecovery(QByteArrayView(data, qsizetype(size)));
    if (!copy)
        return 0;

    // Saved as the window saves it (characters without a byte replaced on the
    // writer's word; texts holding a marker are refused with a message, as
    // typed ones are), the work reads back whole.
    FUZZ_CHECK(copy->document.links.size() <= kMaxLinkLines);
    if (placesWithMarkers(copy->document).empty()) {
        ArticleDocument saved = withUnencodableReplaced(copy->document);
        const std::optional<QByteArray> file = documentFileBytes(saved);
        FUZZ_CHECK(file.has_value());
        FUZZ_CHECK(file->size() <= kMaxDocumentFileBytes);
        const DocumentReadResult opened = parseDocumentFile(*file, QStringLiteral("hersteld.vkv"));
        FUZZ_CHECK(opened.ok);
        // One empty link line is written as no links part at all.
        if (saved.links == QStringList{QString()})
            saved.links.clear();
        FUZZ_CHECK(opened.document == saved);
    }

    const QByteArray written = recoveryBytes(*copy);
    const std::optional<RecoveryCopy> again = parseRecovery(written);
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(*again == *copy);
    FUZZ_CHECK(recoveryBytes(*again) == written);
    return 0;
}
