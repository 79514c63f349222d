// Opening a document of pictures against reading its bytes: pictures are
// decoded when first shown, so a load should cost little more than the read
// ("Load" over "ReadBytes", both on the same cached file). "LoadAndShowAll"
// also decodes every picture, as a load did when it decoded them all, one
// after another; "LoadAndShowAllTogether" decodes them over the cores, as a
// grid does with the rows it is about to show (its wall time over
// LoadAndShowAll's is the gain of the cores). "LoadAndThumbnailAll" makes
// the grid's thumbnails of every picture, a screen of rows at a time, and
// leaves the pictures undecoded, as scrolling the Bitmaps grid does.
// Run: build/default/bench/picture_load_bench
#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/CItemKinds.h"
#include "media/image/CDisplayBuffer.h"
#include "media/image/CPictureThumbnails.h"
#include "media/image/PictureDecoding.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>
#include <string>

namespace {
constexpr int kPictures = 200;
constexpr int kSide = 256;

// Gradients with a little noise: PNGs of about a sixth of their pixels.
QImage picture(std::mt19937& rng, int seed)
{
    QImage image(kSide, kSide, QImage::Format_ARGB32);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const int noise = rng() % 4 == 0 ? int(rng() % 2) : 0;
            image.setPixel(x, y, qRgba(((x * (seed % 7 + 1) + y * 3) & 0xF0) | noise, (y + 40) & 0xF0, (x + 80) & 0xF0, 255));
        }
    return image;
}

const std::string& documentPath()
{
    static const std::string path = [] {
        const std::string name = QDir::temp().filePath(QStringLiteral("picture_load_bench.mrc")).toStdString();
        auto holder = createDocumentHolder();
        std::mt19937 rng(20);
        for (int i = 0; i < kPictures; ++i) {
            auto* bitmap = dynamic_cast<CDisplayBuffer*>(holder->get(GroupBitmaps, holder->newItem(GroupBitmaps, "p")));
            const QString file = QDir::temp().filePath(QStringLiteral("picture_load_bench.png"));
            picture(rng, i).save(file, "PNG");
            bitmap->loadFromFile(CDisplayBuffer::GdiPlusImage, file.toStdString());
            QFile::remove(file);
        }
        holder->save(name);
        return name;
    }();
    return path;
}

void ReadBytes(benchmark::State& state)
{
    QFile file(QString::fromStdString(documentPath()));
    for (auto _ : state) {
        file.open(QIODevice::ReadOnly);
        benchmark::DoNotOptimize(file.readAll().size());
        file.close();
    }
}

void Load(benchmark::State& state)
{
    for (auto _ : state) {
        auto holder = createDocumentHolder();
        benchmark::DoNotOptimize(holder->load(documentPath()));
    }
}

void LoadAndShowAll(benchmark::State& state)
{
    for (auto _ : state) {
        auto holder = createDocumentHolder();
        holder->load(documentPath());
        for (int i = 0; i < holder->count(GroupBitmaps); ++i)
            benchmark::DoNotOptimize(dynamic_cast<const CDisplayBuffer*>(holder->get(GroupBitmaps, i))->imageView().width());
    }
}
void LoadAndShowAllTogether(benchmark::State& state)
{
    for (auto _ : state) {
        auto holder = createDocumentHolder();
        holder->load(documentPath());
        std::vector<const CDisplayBuffer*> pictures;
        for (int i = 0; i < holder->count(GroupBitmaps); ++i)
            pictures.push_back(dynamic_cast<const CDisplayBuffer*>(holder->get(GroupBitmaps, i)));
        PictureDecoding::forEachTogether(pictures.size(), [&](std::size_t i) { pictures[i]->decodeNow(); });
        benchmark::DoNotOptimize(pictures.back()->imageView().width());
    }
}
void LoadAndThumbnailAll(benchmark::State& state)
{
    constexpr int kRowsShown = 30;
    const QSize rowPicture(18, 18);
    for (auto _ : state) {
        auto holder = createDocumentHolder();
        holder->load(documentPath());
        CPictureThumbnails thumbnails;
        for (int first = 0; first < holder->count(GroupBitmaps); first += kRowsShown) {
            std::vector<CPictureThumbnails::Request> screen;
            for (int i = first; i < std::min(first + kRowsShown, holder->count(GroupBitmaps)); ++i)
                screen.push_back({dynamic_cast<const CDisplayBuffer*>(holder->get(GroupBitmaps, i)), rowPicture});
            thumbnails.prepare(screen);
        }
        benchmark::DoNotOptimize(thumbnails.heldBytes());
    }
}
} // namespace

BENCHMARK(ReadBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(Load)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadAndShowAll)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(LoadAndShowAllTogether)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(LoadAndThumbnailAll)->Unit(benchmark::kMillisecond)->UseRealTime();
