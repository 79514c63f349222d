// Opening a large mixed document with the runtime against reading its bytes
// ("RuntimeOpen" over "ReadBytes", both on the same cached file) and against
// the editor's load ("EditorLoad"). The document holds about 264 MB:
// pictures, sounds, binary files and texts; nothing is decoded. Each run
// reports the resident memory an open document adds, over the file's size
// ("residentPerFileByte").
// Run: build/default/bench/runtime_open_bench
#include "BenchSupport.h"
#include "LargeDocument.h"
#include "quillop/runtime/CDocument.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <random>

namespace {
const std::string& documentPath()
{
    static const std::string path = largedocument::make(QStringLiteral("runtime_open_bench.mrc"));
    return path;
}

// What cat does: the whole file into memory, in large reads.
void ReadBytes(benchmark::State& state)
{
    const std::string& path = documentPath();
    for (auto _ : state) {
        std::ifstream file(path, std::ios::binary | std::ios::ate);
        std::vector<char> bytes(static_cast<std::size_t>(file.tellg()));
        file.seekg(0);
        file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        benchmark::DoNotOptimize(bytes.data());
    }
}

void RuntimeOpen(benchmark::State& state)
{
    std::int64_t added = 0;
    std::int64_t fileSize = 0;
    for (auto _ : state) {
        const std::int64_t before = benchsupport::residentBytes();
        quillop::OpenError error;
        auto document = quillop::CDocument::openFile(documentPath(), "", error);
        added = benchsupport::residentBytes() - before;
        fileSize = document ? document->fileSize() : 1;
        benchmark::DoNotOptimize(document.get());
    }
    state.counters["residentPerFileByte"] = double(added) / double(fileSize);
}

void EditorLoad(benchmark::State& state)
{
    for (auto _ : state) {
        auto holder = createDocumentHolder();
        benchmark::DoNotOptimize(holder->load(documentPath()));
    }
}
} // namespace

BENCHMARK(ReadBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(RuntimeOpen)->Unit(benchmark::kMillisecond);
BENCHMARK(EditorLoad)->Unit(benchmark::kMillisecond);
