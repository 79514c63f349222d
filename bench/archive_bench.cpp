// Scrambled sections against plain archive writes of the same bytes: the
// coder should cost little more than the copy into the archive buffer.
// Run: build/default/bench/archive_bench  (compare the "Scrambled" and
// "Plain" rows of the same size; their ratio is the coder's overhead).
#include "core/CArchive.h"
#include "core/CSectionCoder.h"

#include <QBuffer>
#include <benchmark/benchmark.h>

#include <vector>

namespace {
std::vector<std::uint8_t> payload(std::size_t size)
{
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 31 + 7);
    return bytes;
}

void PlainWrite(benchmark::State& state)
{
    auto bytes = payload(static_cast<std::size_t>(state.range(0)));
    QByteArray out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    for (auto _ : state) {
        out.clear();
        QBuffer buffer(&out);
        buffer.open(QIODevice::WriteOnly);
        CDeviceArchive ar(buffer, CArchive::Mode::Store);
        ar.write(bytes.data(), bytes.size());
        ar.close();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

void ScrambledWrite(benchmark::State& state)
{
    auto bytes = payload(static_cast<std::size_t>(state.range(0)));
    QByteArray out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    CSectionCoder coder;
    coder.setKeys(CSectionCoder::Scrambled, 0x52745678u, 0xDA527456u);
    for (auto _ : state) {
        out.clear();
        QBuffer buffer(&out);
        buffer.open(QIODevice::WriteOnly);
        CDeviceArchive ar(buffer, CArchive::Mode::Store);
        coder.codeBlock(ar, bytes.data(), bytes.size());
        ar.close();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

void ScrambledRead(benchmark::State& state)
{
    auto bytes = payload(static_cast<std::size_t>(state.range(0)));
    QByteArray in(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    CSectionCoder coder;
    coder.setKeys(CSectionCoder::Scrambled, 0x52745678u, 0xDA527456u);
    for (auto _ : state) {
        QBuffer buffer(&in);
        buffer.open(QIODevice::ReadOnly);
        CDeviceArchive ar(buffer, CArchive::Mode::Load);
        coder.codeBlock(ar, bytes.data(), bytes.size());
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
} // namespace

BENCHMARK(PlainWrite)->Arg(1 << 16)->Arg(1 << 22);
BENCHMARK(ScrambledWrite)->Arg(1 << 16)->Arg(1 << 22);
BENCHMARK(ScrambledRead)->Arg(1 << 16)->Arg(1 << 22);
