// Comparing and merging two large documents that differ in 10 items, with
// the terminal commands a user or git runs, against `cmp` reading two files
// of that size whole, in the same run: "diffOverCmp" and "mergeOverCmp" are
// the ratios of their times. The reference compares the first document with
// a copy of it, because documents are saved scrambled with keys of their
// own, so `cmp` of the two documents stops at their first bytes. Every file
// is read once first so that all commands find them cached.
// Run: build/default/bench/document_compare_bench
#include "BenchSupport.h"
#include "LargeDocument.h"

#include <benchmark/benchmark.h>


namespace {
void CompareAndMerge(benchmark::State& state)
{
    static const QString first = QString::fromStdString(largedocument::make(QStringLiteral("compare_bench_a.mrc")));
    static const QString second = QString::fromStdString(largedocument::make(QStringLiteral("compare_bench_b.mrc"), 10));
    const QString merged = QDir::temp().filePath(QStringLiteral("compare_bench_merged.mrc"));
    const QString copy = QDir::temp().filePath(QStringLiteral("compare_bench_copy.mrc"));
    QFile::remove(copy);
    QFile::copy(first, copy);
    const QString cli = QStringLiteral(QUILLOP_CLI);
    benchsupport::secondsToRun(QStringLiteral("cmp"), {first, copy});
    benchsupport::secondsToRun(QStringLiteral("cmp"), {second, copy});
    double cmp = 0, diff = 0, merge = 0;
    for (auto _ : state) {
        cmp += benchsupport::secondsToRun(QStringLiteral("cmp"), {first, copy});
        diff += benchsupport::secondsToRun(cli, {QStringLiteral("diff"), first, second});
        merge += benchsupport::secondsToRun(cli, {QStringLiteral("merge"), first, first, second, QStringLiteral("-o"), merged});
    }
    const double n = double(state.iterations());
    state.counters["cmp_ms"] = cmp / n * 1e3;
    state.counters["diff_ms"] = diff / n * 1e3;
    state.counters["merge_ms"] = merge / n * 1e3;
    state.counters["diffOverCmp"] = diff / cmp;
    state.counters["mergeOverCmp"] = merge / cmp;
    QFile::remove(merged);
    QFile::remove(copy);
}
} // namespace

BENCHMARK(CompareAndMerge)->Unit(benchmark::kMillisecond)->Iterations(3);
