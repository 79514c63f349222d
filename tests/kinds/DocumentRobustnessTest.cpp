// Damaged documents holding every item kind: whatever the bytes, loading
// ends with a consistent holder, never a crash, a hang or a huge allocation
// (the sanitizer build runs this too).
#include "core/CResourceHolder.h"
#include "core/CResourceItem.h"
#include "kinds/CDocumentJson.h"
#include "kinds/CItemKinds.h"
#include "media/audio/CSampleBuffer.h"
#include "media/audio/CWavWriter.h"
#include "support/TestSupport.h"

#include <QImage>
#include <QJsonDocument>
#include <gtest/gtest.h>

#include <random>

namespace {
const char* kManifest = R"({"id": "All kinds", "groups": {
  "texts": [{"id": "name", "text": "Quillop"}, {"id": "greeting", "text": "Hello [name]"}],
  "bitmaps": [{"id": "a", "file": "a.png", "offsetX": 3}, {"id": "b", "file": "b.png"}],
  "sounds": [{"id": "tone", "file": "tone.wav"}],
  "animations": [{"id": "walk", "playMode": 3, "frames": [{"bitmap": 0, "delay": 2}, {"bitmap": 1}]}],
  "trajectories": [{"id": "path", "points": [[0, 0], [30, 10], [5, 40]], "closed": true}],
  "maps": [{"id": "floor", "sizeX": 8, "sizeY": 8, "columns": [[0, 1], [1, -1]]}],
  "colors": [{"id": "sky", "color": "#3080ff", "alpha": 128}],
  "binaryFiles": [{"id": "blob", "file": "blob.bin"}],
  "userInterfaces": [{"id": "Main Tool Bar", "type": 1, "items": [{"id": "open", "type": 6, "title": "Open"}]}],
  "worlds": [{"id": "inner", "elements": [{"id": "e", "objectType": "Animation", "objectIndex": 0, "trajectoryIndex": 0}]},
             {"id": "outer", "elements": [{"id": "w", "objectType": 3, "objectIndex": 0}, {"id": "m", "objectType": 2, "objectIndex": 0}]}]
}})";

QByteArray savedDocument(const TempFolder& folder)
{
    QImage a(12, 7, QImage::Format_ARGB32);
    a.fill(qRgba(200, 10, 10, 255));
    a.save(QString::fromStdString(folder.path("a.png")));
    QImage b(5, 9, QImage::Format_ARGB32);
    b.fill(qRgba(0, 90, 200, 100));
    b.save(QString::fromStdString(folder.path("b.png")));
    writeAll(folder.path("blob.bin"), QByteArray("\x01\x02\x03 binary", 10));
    CSampleBuffer samples;
    samples.resize(64);
    for (std::uint32_t i = 0; i < 64; ++i)
        samples.set(i, (i % 16) / 16.0 - 0.5);
    writeAll(folder.path("tone.wav"), *CWavWriter::build({&samples}, 0, 64, 16, 22050, {}));

    auto holder = createDocumentHolder();
    QString error;
    EXPECT_EQ(CDocumentJson::pack(QJsonDocument::fromJson(kManifest).object(),
                                  QDir(QString::fromStdString(folder.path(""))), *holder, error), 1)
        << error.toStdString();
    EXPECT_EQ(holder->save(folder.path("all.mrc")), 1);
    return readAll(folder.path("all.mrc"));
}

void expectConsistent(const CResourceHolder& holder)
{
    for (int g = 0; g < kGroupCount; ++g)
        for (int i = 0; i < holder.count(g); ++i)
            ASSERT_NE(holder.get(g, i), nullptr);
    // Dumping reads every field of every item that did load.
    CDocumentJson::dump(holder);
}
} // namespace

TEST(DocumentRobustness, EveryKindRoundTripsAndSurvivesTruncationAndDamage)
{
    TempFolder folder;
    const QByteArray good = savedDocument(folder);
    ASSERT_GT(good.size(), 200);

    ScriptedPrompter prompter;
    {
        auto holder = createDocumentHolder();
        holder->setPrompter(&prompter);
        ASSERT_EQ(holder->load(folder.path("all.mrc")), 1);
        for (int g = 0; g < kGroupCount; ++g)
            EXPECT_GT(holder->count(g), 0) << "group " << g << " is packed";
    }

    const std::string bad = folder.path("bad.mrc");
    // Every cut inside the sections (the header alone is covered elsewhere).
    for (qsizetype cut = 100; cut < good.size(); cut += 3) {
        writeAll(bad, good.left(cut));
        auto holder = createDocumentHolder();
        holder->setPrompter(&prompter);
        holder->load(bad);
        expectConsistent(*holder);
    }
    std::mt19937 random(77);
    for (int round = 0; round < 300; ++round) {
        QByteArray damaged = good;
        for (int flips = 0; flips < 4; ++flips)
            damaged[static_cast<qsizetype>(random() % static_cast<unsigned>(good.size()))] = static_cast<char>(random());
        writeAll(bad, damaged);
        auto holder = createDocumentHolder();
        holder->setPrompter(&prompter);
        holder->load(bad);
        expectConsistent(*holder);
    }
}
