// Timings of the article generator, the document string and file, and the
// arrival at the last page. Run by hand (see the README):
//   build/bench/vinkring_bench --benchmark_counters_tabular=true

#include <benchmark/benchmark.h>

#include <chrono>

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>

#include "window/form1.h"
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
    Form1 window(program.services, &program.spellingSheets.dictionary());
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
