// Timings of the article generator, the document string and file, the
// arrival at the last page, spelling as you type and the live view of the
// article. Run by hand (see the README):
//   build/bench/vinkring_bench --benchmark_counters_tabular=true

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QAction>
#include <QTemporaryDir>
#include <QTextBlock>

#include "window/form/form1.h"
#include "window/programwindow.h"
#include "session/recoveryscheduler.h"
#include "article/articlebuilder.h"
#include "article/articlecheck.h"
#include "article/exportformats.h"
#include "article/forumimport.h"
#include "model/texts.h"
#include "article/forumpost.h"
#include "bench/benchdocument.h"
#include "spelling/spellingdictionary.h"
#include "spelling/spellinghighlighter.h"
#include "window/aids/articlechecklist.h"
#include "window/aids/articleview.h"
#include "window/aids/searchbar.h"
#include "app/programservices.h"
#include "document/documentfile.h"
#include "document/documentformat.h"

using namespace vinkring;

namespace {

constexpr qsizetype k10KB = 10 * 1000;
constexpr qsizetype k1MB = 1000 * 1000;
constexpr qsizetype k10MB = 10 * 1000 * 1000;
// The characters of the benchmark document's sections that make an article
// of about 10,000 words.
constexpr qsizetype kTenThousandWords = 74 * 1000;

// While on, notes the longest time the interface thread spends on one event:
// how long the window does not answer the writer at worst.
class TimingApplication final : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        if (!timing || depth_ > 0)
            return QApplication::notify(receiver, event);
        ++depth_;
        QElapsedTimer clock;
        clock.start();
        const qint64 cpuStart = threadCpuNanoseconds();
        const bool result = QApplication::notify(receiver, event);
        const qint64 took = clock.nsecsElapsed();
        longest = std::max(longest, took);
        longestCpu = std::max(longestCpu, threadCpuNanoseconds() - cpuStart);
        // A slice of a spelling pass: the timer the highlighters share.
        if (event->type() == QEvent::Timer && receiver->parent() && receiver->parent()->inherits("vinkring::PassTurns"))
            longestSlice = std::max(longestSlice, took);
        --depth_;
        return result;
    }

    // The processor time of this thread: what it worked, not counting the
    // time other programs on the machine had the processor.
    static qint64 threadCpuNanoseconds()
    {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
    }

    bool timing = false;
    qint64 longest = 0;
    qint64 longestCpu = 0;
    qint64 longestSlice = 0;

private:
    int depth_ = 0;
};

TimingApplication* application()
{
    return static_cast<TimingApplication*>(QCoreApplication::instance());
}

// The Dutch dictionary, loaded once for all the benchmarks.
SpellingDictionary& dutch()
{
    static SpellingDictionary dictionary;
    if (!dictionary.waitUntilLoaded())
        std::fputs("no Dutch dictionary: install hunspell-nl\n", stderr);
    return dictionary;
}

double seconds(qint64 nanoseconds)
{
    return double(nanoseconds) / 1e9;
}

void sizes(benchmark::internal::Benchmark* b)
{
    b->Arg(k10KB)->Arg(k1MB)->Arg(k10MB)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN)->UseRealTime();
}

// Throughput in bytes of the document file per second of wall time.
void account(benchmark::State& state, const ArticleDocument& doc)
{
    const qsizetype bytes = bench::documentFileSize(doc);
    state.SetBytesProcessed(std::int64_t(state.iterations()) * bytes);
    state.SetComplexityN(bytes);
    state.counters["file_bytes"] = double(bytes);
}

void BM_BuildArticle(benchmark::State& state, ArticleFlavour flavour)
{
    const ArticleDocument doc = bench::makeDocument(state.range(0));
    for (auto _ : state) {
        QString article = BuildArticle(doc, flavour);
        benchmark::DoNotOptimize(article.data());
    }
    account(state, doc);
}
BENCHMARK_CAPTURE(BM_BuildArticle, Html, ArticleFlavour::Html)->Apply(sizes);
BENCHMARK_CAPTURE(BM_BuildArticle, Forum, ArticleFlavour::Forum)->Apply(sizes);

void BM_SerializeDocument(benchmark::State& state)
{
    const ArticleDocument doc = bench::makeDocument(state.range(0));
    for (auto _ : state) {
        QString text = SerializeDocument(doc);
        benchmark::DoNotOptimize(text.data());
    }
    account(state, doc);
}
BENCHMARK(BM_SerializeDocument)->Apply(sizes);

void BM_ParseDocument(benchmark::State& state)
{
    const ArticleDocument doc = bench::makeDocument(state.range(0));
    const QString text = SerializeDocument(doc);
    for (auto _ : state) {
        std::optional<ArticleDocument> parsed = ParseDocument(text);
        benchmark::DoNotOptimize(parsed);
    }
    account(state, doc);
}
BENCHMARK(BM_ParseDocument)->Apply(sizes);

void BM_WriteDocumentFile(benchmark::State& state)
{
    const ArticleDocument doc = bench::makeDocument(state.range(0));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("artikel.vkv"));
    for (auto _ : state) {
        const Outcome result = WriteDocumentFile(path, doc);
        if (!result.ok)
            state.SkipWithError(qPrintable(result.reason));
    }
    account(state, doc);
}
BENCHMARK(BM_WriteDocumentFile)->Apply(sizes);

void BM_ReadDocumentFile(benchmark::State& state)
{
    const ArticleDocument doc = bench::makeDocument(state.range(0));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("artikel.vkv"));
    if (!WriteDocumentFile(path, doc).ok)
        state.SkipWithError("could not write the document");
    for (auto _ : state) {
        DocumentReadResult result = ReadDocumentFile(path);
        if (!result.document)
            state.SkipWithError(qPrintable(result.reason));
        benchmark::DoNotOptimize(result);
    }
    account(state, doc);
}
BENCHMARK(BM_ReadDocumentFile)->Apply(sizes);

// "Exporteren...": the article made in the type and written whole to a file.
void BM_Export(benchmark::State& state, ExportType type)
{
    const ArticleDocument doc = bench::makeDocument(state.range(0));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("artikel.") + toQString(exportTypeInfo(type).extension));
    for (auto _ : state) {
        if (const Outcome written = writeExport(doc, type, path); !written.ok)
            state.SkipWithError(qPrintable(written.reason));
    }
    account(state, doc);
    state.counters["export_bytes"] = double(QFileInfo(path).size());
}
void exportSizes(benchmark::internal::Benchmark* b)
{
    b->Arg(k10KB)->Arg(k1MB)->Unit(benchmark::kMillisecond)->UseRealTime();
}
BENCHMARK_CAPTURE(BM_Export, OpenDocument, ExportType::OpenDocument)->Apply(exportSizes);
BENCHMARK_CAPTURE(BM_Export, Pdf, ExportType::Pdf)->Apply(exportSizes);
BENCHMARK_CAPTURE(BM_Export, WebPage, ExportType::WebPage)->Apply(exportSizes);
BENCHMARK_CAPTURE(BM_Export, BracketCodes, ExportType::BracketCodes)->Apply(exportSizes);
BENCHMARK_CAPTURE(BM_Export, Markdown, ExportType::Markdown)->Apply(exportSizes);

// "Importeren uit forumtekst...": the forum text taken apart into a document.
void BM_Import(benchmark::State& state)
{
    const ArticleDocument doc = bench::makeDocument(state.range(0));
    const QString forum = BuildArticle(doc, ArticleFlavour::Forum);
    for (auto _ : state) {
        ForumImport result = importForumText(forum);
        if (!result.document)
            state.SkipWithError(qPrintable(result.message));
        benchmark::DoNotOptimize(result);
    }
    account(state, doc);
}
BENCHMARK(BM_Import)->Apply(exportSizes);

// "Artikel controleren": the whole check of the article, with a post limit
// (so that the post is built and counted too), as the list recomputes it
// on its worker after an edit.
void BM_ArticleCheck(benchmark::State& state)
{
    ArticleDocument doc = bench::makeDocument(state.range(0));
    // A few findings of each kind the reading gives.
    doc.fields[kFirstSectionField] += QStringLiteral("<b>open <font>x</font> [URL=javascript:x]y[/URL]");
    for (auto _ : state)
        benchmark::DoNotOptimize(checkArticle(doc, {10000, 3}));
    account(state, doc);
}
BENCHMARK(BM_ArticleCheck)->Apply(exportSizes);

// ---- Import of a long forum text from its file (issue 27's 50 MB case) ----
// The whole import from the file as the window's worker runs it, once, with
// the peak of resident memory it adds (counter peak_mb, from VmHWM after
// resetting it through /proc/self/clear_refs).
qint64 statusKilobytes(const char* key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qsizetype(qstrlen(key)) + 1).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

void BM_ImportFile(benchmark::State& state)
{
    const ArticleDocument doc = bench::makeDocument(state.range(0));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("forumtekst.txt"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(BuildArticle(doc, ArticleFlavour::Forum).toUtf8()) < 0)
            state.SkipWithError("could not write the forum text");
    }
    double peak = 0;
    for (auto _ : state) {
        QFile clear(QStringLiteral("/proc/self/clear_refs"));
        if (clear.open(QIODevice::WriteOnly))
            clear.write("5");
        clear.close();
        const qint64 before = statusKilobytes("VmRSS");
        ForumImport result = importForumFile(path);
        if (!result.document)
            state.SkipWithError(qPrintable(result.message));
        peak = std::max(peak, double(statusKilobytes("VmHWM") - before) / 1024.0);
        benchmark::DoNotOptimize(result);
    }
    account(state, doc);
    state.counters["peak_mb"] = peak;
    state.counters["text_mb"] = double(QFileInfo(path).size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_ImportFile)->Arg(50 * k1MB)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
// ---- end of the long import ----

// ">|" from the page before the last: the page switch, the probe of both
// components with the program's own registrations, and the repaint.
void BM_LastPage(benchmark::State& state)
{
    ProgramServices program;
    ProgramWindow programWindow(program.services, &program.spellingSheets.dictionary());
    Form1& window = programWindow.form();
    window.show();
    QApplication::processEvents();
    for (auto _ : state) {
        window.Command1_Click(0);
        QApplication::processEvents();
        const auto start = std::chrono::steady_clock::now();
        window.Command1_Click(3);
        QApplication::processEvents();
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    state.counters["page"] = window.currentPage();
    // Whether each component was there: its button stays enabled.
    const auto* preview = window.findChild<QPushButton*>(QStringLiteral("Command5"));
    const auto* spelling = window.findChild<QPushButton*>(QStringLiteral("Command6"));
    state.counters["browser"] = preview && preview->isEnabled() ? 1 : 0;
    state.counters["spelling"] = spelling && spelling->isEnabled() ? 1 : 0;
}
BENCHMARK(BM_LastPage)->UseManualTime()->Unit(benchmark::kMillisecond);

// A key press in a section field of about 10,000 words: with spelling as you
// type (arg 1) or without (0), in lines of about 70 characters as the
// benchmark document has them, or all in one paragraph. The keys make new
// words, each one the dictionary has not seen; every tenth word is taken
// away again (not timed), so that the paragraph keeps its length.
void BM_SpellingKeyPress(benchmark::State& state, bool oneParagraph)
{
    QPlainTextEdit field;
    if (state.range(0))
        new SpellingHighlighter(dutch(), field.document());
    QString text = bench::makeDocument(kTenThousandWords * qsizetype(kSectionCount) * 9 / 10).fields[kFirstSectionField];
    if (oneParagraph)
        text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    field.setPlainText(text);
    bench::waitForSpelling(field);
    QTextCursor cursor(field.document()->findBlock(field.document()->characterCount() / 2));
    cursor.movePosition(QTextCursor::EndOfBlock);
    const int start = cursor.position();
    quint32 random = 12345;
    int typed = 0;
    for (auto _ : state) {
        random = random * 1103515245u + 12345u;
        const QChar key = typed % 9 == 8 ? QChar(u' ') : QChar(char16_t(u'a' + (random >> 16) % 26));
        QElapsedTimer clock;
        clock.start();
        cursor.insertText(QString(key));
        state.SetIterationTime(seconds(clock.nsecsElapsed()));
        if (++typed == 90) {
            cursor.setPosition(start, QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
            typed = 0;
        }
    }
    state.counters["words"] = double(countWords(parseForumPost(text)));
    state.counters["paragraph_chars"] = double(cursor.block().length());
}
BENCHMARK_CAPTURE(BM_SpellingKeyPress, Lines, false)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SpellingKeyPress, OneParagraph, true)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Runs the event loop until the spelling is checked and, in any case, for a
// number of rounds, so that the work the window puts off after a large
// change is done as well, with and without the spelling.
void settleWindow(const QObject& window)
{
    bench::waitForSpelling(window);
    for (int round = 0; round < 20; ++round)
        QApplication::processEvents();
}

// A document of 1 MB put into the window, as Open puts it, with spelling as
// you type (arg 1) or without (0). set_ms: until the window holds it;
// check_ms: until every field is checked. The iteration time is the longest
// the window did not answer in the meantime; slice_ms the longest one slice
// of the check took.
void BM_SpellingOpenedDocument(benchmark::State& state)
{
    ProgramServices program;
    ProgramWindow programWindow(program.services, state.range(0) ? &dutch() : nullptr);
    Form1& window = programWindow.form();
    window.show();
    QApplication::processEvents();
    const ArticleDocument doc = bench::makeDocument(k1MB);
    double setMs = 0;
    double checkMs = 0;
    qint64 longestSlice = 0;
    qint64 longestCpu = 0;
    for (auto _ : state) {
        window.setDocument(defaultDocument());
        settleWindow(window);
        QElapsedTimer clock;
        clock.start();
        window.setDocument(doc);
        setMs += double(clock.nsecsElapsed()) / 1e6;
        clock.restart();
        application()->longest = application()->longestSlice = application()->longestCpu = 0;
        application()->timing = true;
        bench::waitForSpelling(window);
        checkMs += double(clock.nsecsElapsed()) / 1e6;
        settleWindow(window);
        application()->timing = false;
        longestSlice = std::max(longestSlice, application()->longestSlice);
        longestCpu = std::max(longestCpu, application()->longestCpu);
        state.SetIterationTime(seconds(application()->longest));
    }
    state.counters["set_ms"] = setMs / double(state.iterations());
    state.counters["check_ms"] = checkMs / double(state.iterations());
    state.counters["slice_ms"] = double(longestSlice) / 1e6;
    state.counters["cpu_ms"] = double(longestCpu) / 1e6;
}
BENCHMARK(BM_SpellingOpenedDocument)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// "Artikel controleren" on a 1 MB article in the window, every field's
// spelling checked: one recompute of the open list (the check, the count of
// the underlined words, the list filled), as it runs after a pause in the
// writing. The time is the longest the window waited (cpu_ms: the longest
// it worked, without the time other programs had the processor); found_ms
// until the findings are shown. arg 1: with spelling as you type; arg 2:
// thousands of findings.
void BM_ArticleCheckList(benchmark::State& state)
{
    ProgramServices program;
    ProgramWindow programWindow(program.services, state.range(0) ? &dutch() : nullptr);
    Form1& window = programWindow.form();
    window.show();
    ArticleDocument doc = bench::makeDocument(k1MB);
    doc.fields[kFirstSectionField] += QStringLiteral("<b>open <font>x</font>");
    // arg 2: a tag left open on every line, thousands of findings.
    if (state.range(0) == 2) {
        for (std::size_t i = kFirstSectionField; i < kFieldCount; ++i)
            doc.fields[i].replace(QStringLiteral("\r\n"), QStringLiteral("<i>\r\n"));
    }
    window.setDocument(doc);
    settleWindow(window);
    ArticleCheckList& check = programWindow.articleCheck();
    check.openAction()->trigger();
    QApplication::processEvents();
    int round = 0;
    qint64 longestCpu = 0;
    double foundMs = 0;
    for (auto _ : state) {
        // Another finding each time, so that the list is filled again.
        window.fields().replace(kFirstSectionField + 1, doc.fields[kFirstSectionField + 1]
                                                             + QStringLiteral("</i>").repeated(++round % 2));
        QApplication::processEvents();
        const qsizetype before = check.findings().size();
        application()->longest = application()->longestCpu = 0;
        application()->timing = true;
        QElapsedTimer clock;
        clock.start();
        const qint64 cpuStart = TimingApplication::threadCpuNanoseconds();
        check.refresh();
        const qint64 asked = clock.nsecsElapsed();
        const qint64 askedCpu = TimingApplication::threadCpuNanoseconds() - cpuStart;
        while (check.findings().size() == before && clock.elapsed() < 10000)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        application()->timing = false;
        foundMs += double(clock.nsecsElapsed()) / 1e6;
        // The longest the window did not answer: refresh() itself, or
        // showing the findings.
        state.SetIterationTime(seconds(std::max(asked, application()->longest)));
        longestCpu = std::max({longestCpu, askedCpu, application()->longestCpu});
    }
    state.counters["found_ms"] = foundMs / double(state.iterations());
    state.counters["cpu_ms"] = double(longestCpu) / 1e6;
    state.counters["findings"] = double(check.findings().size());
}
BENCHMARK(BM_ArticleCheckList)->Arg(0)->Arg(1)->Arg(2)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// The live view of an article of about 10,000 words: brought up to date after
// the writer typed a character in one of its sections (Update), and opened
// (Open). Both with the repaint.
void BM_ArticleView(benchmark::State& state, bool open)
{
    ArticleDocument doc = bench::makeDocument(kTenThousandWords);
    std::unique_ptr<ArticleView> view;
    const auto make = [&] {
        view = std::make_unique<ArticleView>([&doc]() -> const ArticleDocument& { return doc; }, nullptr);
        view->show();
        QApplication::processEvents();
    };
    make();
    std::size_t typed = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        if (open) {
            view.reset();
            clock.start();
            make();
        } else {
            doc.fields[kFirstSectionField + typed % kSectionCount] += QLatin1Char(typed % 7 == 6 ? ' ' : 'x');
            ++typed;
            clock.start();
            view->refresh();
            QApplication::processEvents();
        }
        state.SetIterationTime(seconds(clock.nsecsElapsed()));
    }
    state.counters["words"] = double(countWords(parseForumPost(BuildArticle(doc, ArticleFlavour::Forum))));
}
BENCHMARK_CAPTURE(BM_ArticleView, Update, false)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ArticleView, Open, true)->UseManualTime()->Unit(benchmark::kMillisecond);

// One write of the recovery copy while the writer types in a document of the
// given size: the interface thread's share (the window's texts taken, compared
// with the saved document, handed over) is the time; the encoding, writing and
// flushing to the disk on the copy's own thread is the counter disk_ms.
void BM_RecoveryWrite(benchmark::State& state)
{
    QTemporaryDir dir;
    const QByteArray oldState = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", QFile::encodeName(dir.path()));
    {
        ProgramServices program;
        Form1 window(program.services);
        const ArticleDocument doc = bench::makeDocument(state.range(0));
        window.setDocument(doc);
        // A key typed into a section field, as the keyboard reaches it.
        auto* field = window.findChild<QPlainTextEdit*>(QStringLiteral("txtInleiding"));
        field->moveCursor(QTextCursor::End);
        RecoveryScheduler& recovery = window.session().recovery();
        double disk = 0;
        for (auto _ : state) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
            QCoreApplication::sendEvent(field, &key);  // not timed
            const auto start = std::chrono::steady_clock::now();
            recovery.flush();
            const auto handedOver = std::chrono::steady_clock::now();
            recovery.waitForDisk();
            disk += std::chrono::duration<double>(std::chrono::steady_clock::now() - handedOver).count();
            state.SetIterationTime(std::chrono::duration<double>(handedOver - start).count());
        }
        if (!recovery.hasCopy())
            state.SkipWithError("no recovery copy was written");
        state.counters["disk_ms"] = disk * 1000 / double(state.iterations());
        account(state, doc);
    }
    if (oldState.isNull())
        qunsetenv("XDG_STATE_HOME");
    else
        qputenv("XDG_STATE_HOME", oldState);
}
BENCHMARK(BM_RecoveryWrite)->Arg(k1MB)->Arg(k10MB)->UseManualTime()->Unit(benchmark::kMillisecond);

// Finding in a 10 MB article in the window (spelling as you type off), from
// the title: the next hit of a word of one sentence in eight (arg 0), and of
// a word that stands once, at the end of the last section (arg 1), so that
// the whole article is searched; with the page turned, the hit selected and
// the repaint. The very first search also reads the fields' texts out of the
// window (counter first_ms); the count of the hits, which starts then, reads
// them in slices of its own (counter count_slices) before the timed ones.
void BM_FindNext(benchmark::State& state)
{
    ProgramServices program;
    ProgramWindow programWindow(program.services);
    Form1& window = programWindow.form();
    ArticleDocument doc = bench::makeDocument(k10MB);
    doc.fields.back() += QStringLiteral(" snoekbaars");
    window.setDocument(doc);
    window.show();
    QApplication::processEvents();
    SearchBar& search = programWindow.searchBar();
    const bool rare = state.range(0) == 1;
    search.findField()->setText(rare ? QStringLiteral("snoekbaars") : QStringLiteral("aquarium"));
    auto* title = window.findChild<QLineEdit*>(QStringLiteral("txtTitel"));
    const auto fromTitle = [&] {
        if (rare) {
            title->setFocus();
            title->setCursorPosition(0);
        }
    };
    const auto timedFind = [&] {
        QElapsedTimer clock;
        clock.start();
        const bool found = search.findNext();
        QApplication::processEvents();
        if (!found)
            state.SkipWithError("no hit");
        return clock.nsecsElapsed();
    };
    fromTitle();
    const double first = double(timedFind()) / 1e6;
    int slices = 0;
    while (search.counting()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        ++slices;
    }
    for (auto _ : state) {
        fromTitle();
        state.SetIterationTime(seconds(timedFind()));
    }
    state.counters["first_ms"] = first;
    state.counters["count_slices"] = slices;
    account(state, doc);
}
BENCHMARK(BM_FindNext)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// "Alles vervangen" over a 10 MB article in the window: a word of one
// sentence in eight, in every section, each field changed as one step of undo.
void BM_ReplaceAll(benchmark::State& state)
{
    ProgramServices program;
    ProgramWindow programWindow(program.services);
    Form1& window = programWindow.form();
    const ArticleDocument doc = bench::makeDocument(k10MB);
    window.show();
    SearchBar& search = programWindow.searchBar();
    search.findField()->setText(QStringLiteral("aquarium"));
    search.replaceField()->setText(QStringLiteral("bak"));
    for (auto _ : state) {
        window.setDocument(doc);
        QApplication::processEvents();
        QElapsedTimer clock;
        clock.start();
        search.replaceAll();
        QApplication::processEvents();
        state.SetIterationTime(seconds(clock.nsecsElapsed()));
    }
    state.counters["hits"] = double(ArticleSearch(QStringLiteral("aquarium"), {}).count(DocumentTexts(doc)));
    account(state, doc);
}
BENCHMARK(BM_ReplaceAll)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TimingApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
