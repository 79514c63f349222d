// What the undo history costs.
// Run: build/default/bench/history_bench
// - CellEditsOnALargeDocument: 1000 single-cell edits on a document of about
//   100 MB (large bitmaps and sounds); the counters give the history's size
//   against the document's (history_MB against document_MB).
// - UndoOfADelete: 1000 rows deleted with their references kept in the
//   animations and maps, then undone; the counter undo_per_delete is the time
//   of the undo against the time of the delete in the same run.
#include "core/CDocumentHistory.h"
#include "core/CIndexChange.h"
#include "core/CResourceHolder.h"
#include "core/CResourceItem.h"
#include "core/ItemRecordBytes.h"
#include "kinds/CDocumentJson.h"
#include "kinds/CItemKinds.h"
#include "media/audio/CSampleBuffer.h"
#include "media/audio/CWavWriter.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QUndoStack>
#include <benchmark/benchmark.h>

#include <chrono>
#include <random>

namespace {
void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

std::unique_ptr<CResourceHolder> packed(const QJsonObject& groups, const QDir& folder)
{
    auto holder = createDocumentHolder();
    QString error;
    CDocumentJson::pack(QJsonObject{{"id", "bench"}, {"groups", groups}}, folder, *holder, error);
    return holder;
}

// Twelve pictures of 1024 x 1024 (4 MB each as BMP) and five sounds of
// 10 MB: about 100 MB.
std::unique_ptr<CResourceHolder> largeDocument(const QTemporaryDir& folder)
{
    std::mt19937 random(5);
    QJsonArray bitmaps;
    for (int i = 0; i < 12; ++i) {
        QImage picture(1024, 1024, QImage::Format_ARGB32);
        for (int y = 0; y < picture.height(); ++y) {
            auto* line = reinterpret_cast<quint32*>(picture.scanLine(y));
            for (int x = 0; x < picture.width(); ++x)
                line[x] = random();
        }
        const QString name = QStringLiteral("p%1.bmp").arg(i);
        picture.save(folder.filePath(name));
        bitmaps.append(QJsonObject{{"id", name}, {"file", name}});
    }
    QJsonArray sounds;
    CSampleBuffer samples;
    samples.resize(2'500'000);
    for (std::uint32_t i = 0; i < 2'500'000; ++i)
        samples.set(i, std::sin(i * 0.01) * 0.5);
    const auto wav = CWavWriter::build({&samples, &samples}, 0, 2'500'000, 16, 44100, {});
    for (int i = 0; i < 5; ++i) {
        const QString name = QStringLiteral("s%1.wav").arg(i);
        writeFile(folder.filePath(name), wav ? *wav : QByteArray());
        sounds.append(QJsonObject{{"id", name}, {"file", name}});
    }
    return packed(QJsonObject{{"bitmaps", bitmaps}, {"sounds", sounds}}, QDir(folder.path()));
}

std::int64_t documentSize(const CResourceHolder& holder)
{
    std::int64_t size = 0;
    for (int g = 0; g < kGroupCount; ++g)
        for (int i = 0; i < holder.count(g); ++i)
            size += recordSize(*holder.get(g, i));
    return size;
}

void CellEditsOnALargeDocument(benchmark::State& state)
{
    QTemporaryDir folder;
    auto holder = largeDocument(folder);
    const double mega = 1024.0 * 1024.0;
    double history = 0;
    for (auto _ : state) {
        CDocumentHistory steps(*holder);
        for (int edit = 0; edit < 1000; ++edit) {
            const int group = edit % 3 ? GroupBitmaps : GroupSounds;
            const int row = edit % holder->count(group);
            CDocumentHistory::Edit step(&steps, QStringLiteral("Edit Comments"));
            step.touchRow(group, row);
            holder->get(group, row)->setComments("edit " + std::to_string(edit));
        }
        history = static_cast<double>(steps.usedBytes()) / mega;
    }
    state.counters["document_MB"] = static_cast<double>(documentSize(*holder)) / mega;
    state.counters["history_MB"] = history;
}

// 1200 bitmaps, animations and a map that refer to them.
std::unique_ptr<CResourceHolder> referringDocument()
{
    QJsonArray bitmaps;
    for (int i = 0; i < 1200; ++i)
        bitmaps.append(QJsonObject{{"id", QStringLiteral("b%1").arg(i)}});
    QJsonArray animations;
    for (int a = 0; a < 100; ++a) {
        QJsonArray frames;
        for (int f = 0; f < 12; ++f)
            frames.append(QJsonObject{{"bitmap", (a * 12 + f) % 1200}});
        animations.append(QJsonObject{{"id", QStringLiteral("a%1").arg(a)}, {"frames", frames}});
    }
    QJsonArray columns;
    for (int x = 0; x < 30; ++x) {
        QJsonArray column;
        for (int y = 0; y < 40; ++y)
            column.append((x * 40 + y) % 1200);
        columns.append(column);
    }
    QJsonArray maps{QJsonObject{{"id", "m"}, {"sizeX", 8}, {"sizeY", 8}, {"columns", columns}}};
    return packed(QJsonObject{{"bitmaps", bitmaps}, {"animations", animations}, {"maps", maps}}, QDir());
}

void UndoOfADelete(benchmark::State& state)
{
    using Clock = std::chrono::steady_clock;
    double deleting = 0;
    double undoing = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto holder = referringDocument();
        CDocumentHistory history(*holder);
        state.ResumeTiming();
        const auto start = Clock::now();
        {
            CDocumentHistory::Edit edit(&history, QStringLiteral("Delete 1000 Bitmaps"));
            for (int row = 1099; row >= 100; --row)
                if (holder->remove(GroupBitmaps, row))
                    holder->renumberReferences(GroupBitmaps, CIndexChange::removed(row, holder->count(GroupBitmaps)));
        }
        const auto deleted = Clock::now();
        history.stack().undo();
        const auto undone = Clock::now();
        deleting += std::chrono::duration<double>(deleted - start).count();
        undoing += std::chrono::duration<double>(undone - deleted).count();
    }
    state.counters["delete_ms"] = deleting * 1000 / static_cast<double>(state.iterations());
    state.counters["undo_ms"] = undoing * 1000 / static_cast<double>(state.iterations());
    state.counters["undo_per_delete"] = deleting > 0 ? undoing / deleting : 0;
}
} // namespace

BENCHMARK(CellEditsOnALargeDocument)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(UndoOfADelete)->Unit(benchmark::kMillisecond)->Iterations(5);
