// Peak memory of the window with a document open.
//   vinkring_memory --write FILE MEGABYTES   writes a document file of that size
//   vinkring_memory [FILE]                   shows the window, opens FILE if given,
//                                            and prints the peak resident size
// The difference between a run with the file and one without is what the
// document costs.

#include <cstdio>

#include <QApplication>
#include <QFile>

#include "window/programwindow.h"
#include "bench/benchdocument.h"
#include "app/programservices.h"
#include "document/documentfile.h"

namespace {

// A line of /proc/self/status in kB ("VmHWM", "VmRSS").
long statusKilobytes(const char* name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(name) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').first().toLong();
    }
    return -1;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();

    if (args.size() == 4 && args.at(1) == QStringLiteral("--write")) {
        const auto doc = vinkring::bench::makeDocument(qsizetype(args.at(3).toDouble() * 1000 * 1000));
        const vinkring::Outcome result = vinkring::WriteDocumentFile(args.at(2), doc);
        if (!result.ok) {
            std::fprintf(stderr, "%s\n", qPrintable(result.reason));
            return 1;
        }
        return 0;
    }

    vinkring::ProgramServices program;
    vinkring::ProgramWindow programWindow(program.services, &program.spellingSheets.dictionary());
    vinkring::Form1& window = programWindow.form();
    window.show();
    QApplication::processEvents();

    qint64 fileBytes = 0;
    if (args.size() == 2) {
        fileBytes = QFile(args.at(1)).size();
        {
            // As the Open command: the document read lives only until the window holds it.
            vinkring::DocumentReadResult result = vinkring::ReadDocumentFile(args.at(1));
            if (!result.document) {
                std::fprintf(stderr, "%s\n", qPrintable(result.reason));
                return 1;
            }
            window.setDocument(*result.document);
        }
        // Visit every page so that each field is laid out and painted once.
        for (int page = 1; page < window.pageCount(); ++page) {
            window.Command1_Click(1);
            QApplication::processEvents();
        }
    }
    // The dictionary of spelling as you type, loaded, and every field checked.
    if (!vinkring::bench::waitForSpelling(window))
        std::fprintf(stderr, "the spelling of the fields was not checked within a minute\n");
    QApplication::processEvents();
    std::printf("file_bytes=%lld peak_kb=%ld rss_kb=%ld\n", static_cast<long long>(fileBytes),
                statusKilobytes("VmHWM"), statusKilobytes("VmRSS"));
    return 0;
}
