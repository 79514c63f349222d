// One game step of a world played by the runtime, as a game plays it: the
// step alone ("WorldStep") and the step with the draw list laid out
// ("WorldStepAndDrawList"), over 1,000, 10,000 and 100,000 elements of a
// world of the "Sort Offsets Y" type. A third of the elements show a bitmap
// moving along a path, a third an animation, a third an animation moving
// along a path. The fitted complexity should read O(N).
// Run: build/default/bench/runtime_world_bench
#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/CItemKinds.h"
#include "kinds/animations/CAnimationItem.h"
#include "kinds/trajectories/Trajectory.h"
#include "kinds/worlds/GameWorld.h"
#include "quillop/runtime/CDocument.h"
#include "quillop/runtime/WorldPlayer.h"

#include <QDir>
#include <QFile>
#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {
struct Played {
    std::unique_ptr<quillop::CDocument> document;
    std::unique_ptr<quillop::CDocumentWorldSource> source;
    std::unique_ptr<quillop::CWorldInstance> world;
};

std::unique_ptr<quillop::CDocument> makeDocument(int elements)
{
    auto holder = createDocumentHolder();
    holder->newItem(GroupBitmaps, "b");
    auto& path = dynamic_cast<Trajectory&>(*holder->get(GroupTrajectories, holder->newItem(GroupTrajectories, "t")));
    for (int i = 0; i < 32; ++i)
        path.AddPoint(i * 3.0, (i * 7) % 50);
    path.SetPlayMode(3);
    auto& animation =
        dynamic_cast<CAnimationItem&>(*holder->get(GroupAnimations, holder->newItem(GroupAnimations, "a")));
    for (int i = 0; i < 6; ++i)
        animation.addFrame(0, 1 + i % 3, i, -i);
    auto& world = dynamic_cast<GameWorld&>(*holder->get(GroupWorlds, holder->newItem(GroupWorlds, "w")));
    world.setWorldType(GameWorld::kTypeSortOffsetsY);
    for (int i = 0; i < elements; ++i) {
        WorldElement& e = *world.elementAt(world.addElement("e"));
        e.objectType = i % 3 == 0 ? WorldObjectBitmap : WorldObjectAnimation;
        e.objectIndex = 0;
        e.offsetX = (i * 13) % 640;
        e.offsetY = (i * 29) % 480;
        e.trajectoryIndex = i % 3 == 1 ? -1 : 0;
        e.playOffset = i % 17;
    }
    const std::string name =
        QDir::temp().filePath(QStringLiteral("runtime_world_bench_%1.mrc").arg(elements)).toStdString();
    holder->save(name);
    quillop::OpenError error;
    auto document = quillop::CDocument::openFile(name, "", error);
    QFile::remove(QString::fromStdString(name));
    return document;
}

quillop::CWorldInstance& played(int elements)
{
    static std::map<int, Played> cache;
    Played& p = cache[elements];
    if (!p.world) {
        p.document = makeDocument(elements);
        p.source = std::make_unique<quillop::CDocumentWorldSource>(*p.document);
        p.world = std::make_unique<quillop::CWorldInstance>();
        p.world->build(*p.source, 0);
    }
    return *p.world;
}

void WorldStep(benchmark::State& state)
{
    quillop::CWorldInstance& world = played(int(state.range(0)));
    for (auto _ : state)
        world.step(1.0);
    state.SetComplexityN(state.range(0));
}

void WorldStepAndDrawList(benchmark::State& state)
{
    quillop::CWorldInstance& world = played(int(state.range(0)));
    std::vector<quillop::DrawItem> items;
    for (auto _ : state) {
        world.step(1.0);
        items.clear();
        world.drawList(94, 94, items);
        benchmark::DoNotOptimize(items.data());
    }
    state.counters["drawn"] = double(items.size());
    state.SetComplexityN(state.range(0));
}
} // namespace

BENCHMARK(WorldStep)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond)->Complexity();
BENCHMARK(WorldStepAndDrawList)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond)->Complexity();
