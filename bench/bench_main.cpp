// Timings of the article generator, the document string and file, and the
// arrival at the last page. Run by hand (see the README):
//   build/bench/vinkring_bench --benchmark_counters_tabular=true

#include <benchmark/benchmark.h>

#include <chrono>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "window/form1.h"
#include "window/recoveryscheduler.h"
#include "article/articlebuilder.h"
#include "bench/benchdocument.h"
#include "window/programservices.h"
#include "document/documentfile.h"
#include "document/documentformat.h"

using namespace vinkring;

namespace {

constexpr qsizetype k10KB = 10 * 1000;
constexpr qsizetype k1MB = 1000 * 1000;
constexpr qsizetype k10MB = 10 * 1000 * 1000;

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
        const DocumentWriteResult result = WriteDocumentFile(path, doc);
        if (!result.written)
            state.SkipWithError(qPrintable(result.error));
    }
    account(state, doc);
}
BENCHMARK(BM_WriteDocumentFile)->Apply(sizes);

void BM_ReadDocumentFile(benchmark::State& state)
{
    const ArticleDocument doc = bench::makeDocument(state.range(0));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("artikel.vkv"));
    if (!WriteDocumentFile(path, doc).written)
        state.SkipWithError("could not write the document");
    for (auto _ : state) {
        DocumentReadResult result = ReadDocumentFile(path);
        if (!result.document)
            state.SkipWithError(qPrintable(result.error));
        benchmark::DoNotOptimize(result);
    }
    account(state, doc);
}
BENCHMARK(BM_ReadDocumentFile)->Apply(sizes);

// ">|" from the page before the last: the page switch, the probe of both
// components with the program's own registrations, and the repaint.
void BM_LastPage(benchmark::State& state)
{
    ProgramServices program;
    Form1 window(program.services);
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
        auto* title = window.findChild<QLineEdit*>(QStringLiteral("txtTitel"));
        RecoveryScheduler& recovery = window.session().recovery();
        double disk = 0;
        for (auto _ : state) {
            title->insert(QStringLiteral("x"));  // a key's worth of typing, not timed
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

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
