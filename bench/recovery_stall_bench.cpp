// How long a recovery copy holds the interface thread on a document of
// 2,000 pictures: "longestStallMs" is the longest gap between the ticks of a
// 1 ms timer on that thread while the copy is taken in slices and written
// on its own thread, against the time the document's whole save takes on
// the calling thread ("wholeSaveMs"), which is what the thread was held for
// when the copy was written there.
// Run: build/default/bench/recovery_stall_bench
#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "document/CRecoveryStore.h"
#include "document/CRecoveryWriter.h"
#include "kinds/CItemKinds.h"
#include "media/image/CDisplayBuffer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <random>

namespace {
constexpr int kPictures = 2000;

std::unique_ptr<CResourceHolder> pictures(const QTemporaryDir& scratch)
{
    auto holder = createDocumentHolder();
    std::mt19937 rng(33);
    const std::string png = scratch.filePath(QStringLiteral("p.png")).toStdString();
    for (int i = 0; i < kPictures; ++i) {
        QImage image(96, 96, QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, qRgba(int(rng() % 256), int(rng() % 256), int(rng() % 256), 255));
        image.save(QString::fromStdString(png), "PNG");
        auto* bitmap = dynamic_cast<CDisplayBuffer*>(holder->get(GroupBitmaps, holder->newItem(GroupBitmaps, "p")));
        bitmap->loadFromFile(CDisplayBuffer::GdiPlusImage, png);
    }
    return holder;
}

void RecoveryCopy(benchmark::State& state)
{
    static int argc = 1;
    static char name[] = "recovery_stall_bench";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    const QTemporaryDir scratch;
    CRecoveryStore::setFolder(scratch.filePath(QStringLiteral("recovery")));
    const auto holder = pictures(scratch);

    double longest = 0, whole = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        holder->save(scratch.filePath(QStringLiteral("whole.mrc")).toStdString());
        whole = std::max(whole, double(clock.nsecsElapsed()) / 1e6);

        CRecoveryWriter writer(QStringLiteral("bench"), [&] { return holder.get(); }, [] { return std::uint64_t(0); });
        QEventLoop loop;
        QObject::connect(&writer, &CRecoveryWriter::finished, &loop, &QEventLoop::quit);
        QTimer ticks;
        ticks.setTimerType(Qt::PreciseTimer);
        ticks.setInterval(1);
        qint64 last = 0;
        clock.restart();
        QObject::connect(&ticks, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            longest = std::max(longest, double(now - last) / 1e6);
            last = now;
        });
        ticks.start();
        QTimer::singleShot(0, &writer, [&] {
            const qint64 before = clock.nsecsElapsed();
            writer.write(QString(), QStringLiteral("bench"));  // the first slice runs here
            longest = std::max(longest, double(clock.nsecsElapsed() - before) / 1e6);
        });
        loop.exec();
        writer.remove();
    }
    state.counters["longestStallMs"] = longest;
    state.counters["wholeSaveMs"] = whole;
    state.counters["documentMB"] = double(QFileInfo(scratch.filePath(QStringLiteral("whole.mrc"))).size()) / 1e6;
}
} // namespace

BENCHMARK(RecoveryCopy)->Unit(benchmark::kMillisecond)->Iterations(3);
