// Opening a large mixed document with the runtime against reading its bytes
// ("RuntimeOpen" over "ReadBytes", both on the same cached file) and against
// the editor's load ("EditorLoad"). The document holds about 264 MB:
// pictures, sounds, binary files and texts; nothing is decoded. Each run
// reports the resident memory an open document adds, over the file's size
// ("residentPerFileByte").
// Run: build/default/bench/runtime_open_bench
#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/CItemKinds.h"
#include "kinds/binaryfiles/CBinaryFileItem.h"
#include "kinds/sounds/CMVT_WavMemory.h"
#include "kinds/texts/CTextItem.h"
#include "media/image/CDisplayBuffer.h"
#include "quillop/runtime/CDocument.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <fstream>
#include <random>

namespace {
constexpr int kPictures = 200;
constexpr int kFiles = 60;
constexpr int kFileBytes = 4 << 20;
constexpr int kSounds = 10;
constexpr int kSoundBytes = 2 << 20;
constexpr int kTexts = 5000;

const std::string& documentPath()
{
    static const std::string path = [] {
        const std::string name = QDir::temp().filePath(QStringLiteral("runtime_open_bench.mrc")).toStdString();
        auto holder = createDocumentHolder();
        std::mt19937 rng(28);
        const QString png = QDir::temp().filePath(QStringLiteral("runtime_open_bench.png"));
        for (int i = 0; i < kPictures; ++i) {
            QImage image(128, 128, QImage::Format_ARGB32);
            image.fill(qRgba(int(rng() % 256), int(rng() % 256), int(rng() % 256), 255));
            image.save(png, "PNG");
            auto* bitmap = dynamic_cast<CDisplayBuffer*>(holder->get(GroupBitmaps, holder->newItem(GroupBitmaps, "p")));
            bitmap->loadFromFile(CDisplayBuffer::GdiPlusImage, png.toStdString());
        }
        QFile::remove(png);
        for (int i = 0; i < kFiles; ++i) {
            std::vector<std::uint8_t> data(kFileBytes);
            for (auto& b : data)
                b = static_cast<std::uint8_t>(rng());
            dynamic_cast<CBinaryFileItem&>(*holder->get(GroupBinaryFiles, holder->newItem(GroupBinaryFiles, "f")))
                .setData(std::move(data));
        }
        for (int i = 0; i < kSounds; ++i) {
            QByteArray samples(kSoundBytes, '\0');
            for (auto& b : samples)
                b = static_cast<char>(rng());
            dynamic_cast<CMVT_WavMemory&>(*holder->get(GroupSounds, holder->newItem(GroupSounds, "s")))
                .setSamples(16, 2, 44100, samples);
        }
        for (int i = 0; i < kTexts; ++i)
            dynamic_cast<CTextItem&>(*holder->get(GroupTexts, holder->newItem(GroupTexts, "t" + std::to_string(i))))
                .setText("A text with a [t0] reference");
        holder->save(name);
        return name;
    }();
    return path;
}

std::int64_t residentBytes()
{
    std::ifstream statm("/proc/self/statm");
    std::int64_t size = 0, resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
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
        const std::int64_t before = residentBytes();
        quillop::OpenError error;
        auto document = quillop::CDocument::openFile(documentPath(), "", error);
        added = residentBytes() - before;
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
