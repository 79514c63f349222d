#include "core/CResourceHolder.h"
#include "kinds/CDocumentJson.h"
#include "kinds/CItemKinds.h"
#include "media/audio/CSampleBuffer.h"
#include "media/audio/CWavWriter.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <gtest/gtest.h>

#include <cmath>

TEST(SoundJson, PackedWavExtractsToTheSameFileAndDumpsItsFormat)
{
    TempFolder folder;
    CSampleBuffer left, right;
    left.resize(300);
    right.resize(300);
    for (std::uint32_t i = 0; i < 300; ++i) {
        left.set(i, 0.5 * std::sin(i * 0.1));
        right.set(i, -0.25);
    }
    const auto wav = CWavWriter::build({&left, &right}, 0, 300, 16, 22050, {});
    ASSERT_TRUE(wav);
    writeAll(folder.path("in.wav"), *wav);

    auto holder = createDocumentHolder();
    const QJsonObject manifest = QJsonDocument::fromJson(R"({"groups": {"sounds": [{"id": "s", "file": "in.wav"}]}})").object();
    QString error;
    ASSERT_EQ(CDocumentJson::pack(manifest, QDir(QString::fromStdString(folder.path(""))), *holder, error), 1) << error.toStdString();

    const QJsonObject sound = CDocumentJson::dump(*holder)["groups"].toObject()["sounds"].toArray()[0].toObject();
    EXPECT_EQ(sound["frames"].toInt(), 300);
    EXPECT_EQ(sound["channels"].toInt(), 2);
    EXPECT_EQ(sound["sampleRate"].toInt(), 22050);
    EXPECT_EQ(sound["bits"].toInt(), 16);

    const QDir out(QString::fromStdString(folder.path("out")));
    ASSERT_GT(CDocumentJson::extract(*holder, out, error), 0) << error.toStdString();
    EXPECT_EQ(readAll(out.filePath("sounds/0000_s.wav").toStdString()), *wav);
}
