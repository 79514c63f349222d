// A 1024 x 1024 map of 16 x 16 tiles exported to Tiled's format and read
// back, against Tiled's own renderer (tmxrasterizer) drawing the export, in
// the same run: "exportOverTiled" and "importOverTiled" are the ratios of
// their times. "importBytesPerCell" is the memory the import adds, per cell.
// Run: build/default/bench/tiled_exchange_bench
#include "BenchSupport.h"
#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "core/IPrompter.h"
#include "kinds/CItemKinds.h"
#include "kinds/maps/CMapItem.h"
#include "kinds/maps/CTiledMapExport.h"
#include "kinds/maps/CTiledMapImport.h"
#include "media/image/CDisplayBuffer.h"

#include <QElapsedTimer>
#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
constexpr int kSide = 1024;
constexpr int kTiles = 8;

class NoQuestions : public IPrompter {
public:
    Answer ask(const std::string&, Buttons, Icon) override { return Answer::No; }
};

std::unique_ptr<CResourceHolder> bigMap()
{
    auto holder = createDocumentHolder();
    for (int i = 0; i < kTiles; ++i) {
        QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
        image.fill(QColor::fromHsv(i * 45, 200, 220));
        dynamic_cast<CDisplayBuffer*>(holder->get(GroupBitmaps, holder->newItem(GroupBitmaps, "tile")))->attachImage(image);
    }
    auto* map = dynamic_cast<CMapItem*>(holder->get(GroupMaps, holder->newItem(GroupMaps, "level")));
    map->clear();
    map->setSizeX(16);
    map->setSizeY(16);
    NoQuestions never;
    map->resize(kSide, kSide, never);
    for (int x = 0; x < kSide; ++x)
        for (int y = 0; y < kSide; ++y)
            map->setCell(x, y, (x * 7 + y * 3) % (kTiles + 1) - 1);
    return holder;
}

void ExportImportAgainstTiled(benchmark::State& state)
{
    const QString rasterizer = QStandardPaths::findExecutable(QStringLiteral("tmxrasterizer"));
    if (rasterizer.isEmpty()) {
        state.SkipWithError("tmxrasterizer (package tiled) is not installed");
        return;
    }
    const QTemporaryDir folder;
    const QString tmx = folder.filePath(QStringLiteral("level.tmx"));
    const auto source = bigMap();
    double exporting = 0, importing = 0, tiled = 0;
    std::int64_t added = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        CTiledMapExport::write(*source, 0, tmx);
        exporting += double(clock.nsecsElapsed()) / 1e9;

        auto fresh = createDocumentHolder();
        const std::int64_t before = benchsupport::residentBytes();
        clock.restart();
        CTiledMapImport::read(*fresh, tmx);
        importing += double(clock.nsecsElapsed()) / 1e9;
        added = benchsupport::residentBytes() - before;

        tiled += benchsupport::secondsToRun(rasterizer, {tmx, folder.filePath(QStringLiteral("tiled.png"))});
    }
    const double n = double(state.iterations());
    state.counters["export_ms"] = exporting / n * 1e3;
    state.counters["import_ms"] = importing / n * 1e3;
    state.counters["tmxrasterizer_ms"] = tiled / n * 1e3;
    state.counters["exportOverTiled"] = exporting / tiled;
    state.counters["importOverTiled"] = importing / tiled;
    state.counters["importBytesPerCell"] = double(added) / (double(kSide) * kSide);
}
} // namespace

BENCHMARK(ExportImportAgainstTiled)->Unit(benchmark::kMillisecond)->Iterations(2);
