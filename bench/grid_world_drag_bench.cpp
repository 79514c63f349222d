// Dragging one element in a world of 1,000 elements: the element's offset
// moves and the whole 1000 x 800 preview repaints (what a drag's edit
// asks for), at 1:1 and fitted. "repaintMs" is the time of one move
// with its repaint; the goal is a frame, 16 ms.
// Run: build/default/bench/grid_world_drag_bench
#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "document/CQuillopDoc.h"
#include "document/CQuillopView.h"
#include "grid/ui/CZoomView.h"
#include "kinds/CItemKinds.h"
#include "kinds/worlds/GameWorld.h"
#include "kinds/worlds/ui/CWorldElementsView.h"
#include "kinds/worlds/ui/CWorldPreview.h"
#include "kinds/worlds/ui/CWorldsPanel.h"
#include "media/image/CDisplayBuffer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QStandardPaths>
#include <benchmark/benchmark.h>

#include <random>

namespace {
constexpr int kElements = 1000;

void startApplication()
{
    static int argc = 1;
    static char name[] = "grid_world_drag_bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
}

void fillWorld(CResourceHolder& holder)
{
    std::mt19937 rng(12);
    for (int i = 0; i < 8; ++i) {
        QImage image(24, 24, QImage::Format_ARGB32_Premultiplied);
        image.fill(QColor::fromHsv(i * 45, 200, 230));
        dynamic_cast<CDisplayBuffer*>(holder.get(GroupBitmaps, holder.newItem(GroupBitmaps, "sprite")))->attachImage(image);
    }
    auto& world = dynamic_cast<GameWorld&>(*holder.get(GroupWorlds, holder.newItem(GroupWorlds, "crowd")));
    for (int i = 0; i < kElements; ++i) {
        WorldElement& e = *world.elementAt(world.addElement("e" + std::to_string(i)));
        e.objectType = WorldObjectBitmap;
        e.objectIndex = int(rng() % 8);
        e.offsetX = double(rng() % 980);
        e.offsetY = double(rng() % 780);
    }
}

void DragOneElementOfAThousand(benchmark::State& state)
{
    startApplication();
    CQuillopDoc document;
    document.initNew();
    fillWorld(document.holder());
    CQuillopView view(document);
    view.resize(1500, 1100);
    view.show();
    const int panel = CQuillopView::panelOfGroup(GroupWorlds);
    view.showPanel(panel, false);
    auto& worlds = dynamic_cast<CWorldsPanel&>(*view.panel(panel));
    worlds.selectRow(0);
    CWorldElementsView& elements = *worlds.elementsView();
    CWorldPreview& preview = *elements.preview();
    preview.resize(1000, 800);
    auto& world = dynamic_cast<GameWorld&>(*document.holder().get(GroupWorlds, 0));
    QApplication::processEvents();
    state.range(0) ? preview.view()->fit() : preview.view()->oneToOne();
    QApplication::processEvents();
    int direction = 1;
    double longest = 0, total = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        // What a drag changes (the element's offset), then the whole
        // window repainted, as after an edit.
        world.elementAt(kElements / 2)->offsetX += 3 * direction;
        preview.repaint();
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        longest = std::max(longest, ms);
        total += ms;
        direction = -direction;
    }
    // QUILLOP_BENCH_SHOT=FILE.png keeps the last picture, to see what was drawn.
    if (!qEnvironmentVariableIsEmpty("QUILLOP_BENCH_SHOT"))
        preview.grab().save(qEnvironmentVariable("QUILLOP_BENCH_SHOT") + (state.range(0) ? "-fitted.png" : ".png"));
    state.counters["repaintMs"] = total / double(state.iterations());
    state.counters["longestMs"] = longest;
}
} // namespace

BENCHMARK(DragOneElementOfAThousand)->Arg(0)->Arg(1)->ArgName("fitted")->Unit(benchmark::kMillisecond)->Iterations(60);
