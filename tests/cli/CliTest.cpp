#include "core/CResourceHolder.h"
#include "core/CResourceItem.h"
#include "kinds/CItemKinds.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

namespace {
struct CliRun {
    int exitCode;
    QString out;
    QString err;
};

CliRun cli(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(QUILLOP_CLI_PATH), args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

std::string makeDocument(const TempFolder& folder)
{
    auto holder = createDocumentHolder();
    holder->setId("Demo");
    holder->setComments("For the tests");
    holder->newItem(GroupTexts, "settings_one_game_step_delay");
    holder->newItem(GroupColors, "red");
    holder->newItem(GroupColors, "blue");
    const std::string path = folder.path("doc.mrc");
    EXPECT_EQ(holder->save(path), 1);
    return path;
}
} // namespace

TEST(Cli, InfoListsHeaderAndItemsAsTextAndJson)
{
    TempFolder folder;
    const QString path = QString::fromStdString(makeDocument(folder));

    const CliRun text = cli({"info", path});
    EXPECT_EQ(text.exitCode, 0) << text.err.toStdString();
    EXPECT_TRUE(text.out.contains("ID: Demo"));
    EXPECT_TRUE(text.out.contains("Format version: 3.9"));
    EXPECT_TRUE(text.out.contains("blue"));

    const CliRun json = cli({"info", path, "--json"});
    ASSERT_EQ(json.exitCode, 0);
    const QJsonObject doc = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_EQ(doc["id"].toString(), "Demo");
    EXPECT_EQ(doc["comments"].toString(), "For the tests");
    EXPECT_EQ(doc["signature"].toString(), "MARVOLINE_RESOURCES");
    const QJsonArray groups = doc["groups"].toArray();
    ASSERT_EQ(groups.size(), 10);
    EXPECT_EQ(groups[6].toObject()["tag"].toString(), "MRVCOL");
    EXPECT_EQ(groups[6].toObject()["count"].toInt(), 2);
    EXPECT_EQ(groups[6].toObject()["ids"].toArray()[1].toString(), "blue");
}

TEST(Cli, ResaveWritesAFileThatReadsToTheSameDocument)
{
    TempFolder folder;
    const QString in = QString::fromStdString(makeDocument(folder));
    const QString out = QString::fromStdString(folder.path("again.mrc"));
    const CliRun r = cli({"resave", in, out});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(cli({"info", in, "--json"}).out, cli({"info", out, "--json"}).out);
}

TEST(Cli, ErrorsGoToStderrWithNonZeroExit)
{
    TempFolder folder;
    writeAll(folder.path("notes.txt"), "hello");
    const CliRun missing = cli({"info", QString::fromStdString(folder.path("missing.mrc"))});
    EXPECT_NE(missing.exitCode, 0);
    EXPECT_TRUE(missing.out.isEmpty());
    EXPECT_FALSE(missing.err.isEmpty());
    const CliRun wrong = cli({"info", QString::fromStdString(folder.path("notes.txt"))});
    EXPECT_NE(wrong.exitCode, 0);
    EXPECT_TRUE(wrong.err.contains("Wrong file type !"));
    EXPECT_NE(cli({"frobnicate"}).exitCode, 0);
    EXPECT_NE(cli({"resave", QString::fromStdString(folder.path("missing.mrc"))}).exitCode, 0);
}

TEST(Cli, PackDumpResaveAndExtractKeepEveryField)
{
    TempFolder folder;
    const QByteArray blob("binary\0bytes\xff", 13);
    writeAll(folder.path("blob.dat"), blob);
    writeAll(folder.path("manifest.json"), R"({"id": "Packed", "comments": "made by pack", "groups": {
        "texts": [{"id": "greeting", "text": "Hello"}],
        "colors": [{"id": "sky", "color": "#3080ff", "alpha": 200}],
        "binaryFiles": [{"id": "../../escape/attempt", "file": "blob.dat"}],
        "trajectories": [{"id": "line", "points": [[0, 0], [10, 5]], "playMode": 3}]}})");
    const QString packed = QString::fromStdString(folder.path("packed.mrc"));
    const CliRun pack = cli({"pack", QString::fromStdString(folder.path("manifest.json")), packed});
    ASSERT_EQ(pack.exitCode, 0) << pack.err.toStdString();

    const CliRun dump = cli({"dump", packed});
    ASSERT_EQ(dump.exitCode, 0);
    const QJsonObject groups = QJsonDocument::fromJson(dump.out.toUtf8()).object()["groups"].toObject();
    EXPECT_EQ(groups["texts"].toArray()[0].toObject()["text"].toString(), "Hello");
    EXPECT_EQ(groups["colors"].toArray()[0].toObject()["color"].toString(), "#3080ff");
    EXPECT_EQ(groups["colors"].toArray()[0].toObject()["alpha"].toInt(), 200);
    EXPECT_EQ(groups["trajectories"].toArray()[0].toObject()["points"].toArray().size(), 2);
    EXPECT_EQ(groups["trajectories"].toArray()[0].toObject()["playMode"].toInt(), 3);
    EXPECT_EQ(groups["binaryFiles"].toArray()[0].toObject()["size"].toInt(), 13);

    const QString resaved = QString::fromStdString(folder.path("resaved.mrc"));
    ASSERT_EQ(cli({"resave", packed, resaved}).exitCode, 0);
    EXPECT_EQ(cli({"dump", resaved}).out, dump.out);

    const QString out = QString::fromStdString(folder.path("out"));
    ASSERT_EQ(cli({"extract", packed, out}).exitCode, 0);
    const QStringList extracted = QDir(out + "/binaryFiles").entryList(QDir::Files);
    ASSERT_EQ(extracted.size(), 1);
    EXPECT_FALSE(extracted[0].contains('/'));
    EXPECT_EQ(readAll((out + "/binaryFiles/" + extracted[0]).toStdString()), blob);
    EXPECT_FALSE(QDir(QString::fromStdString(folder.path("escape"))).exists());
    EXPECT_TRUE(QFile::exists(out + "/document.json"));
}

TEST(Cli, PackRefusesBrokenManifests)
{
    TempFolder folder;
    const QString out = QString::fromStdString(folder.path("x.mrc"));
    writeAll(folder.path("a.json"), "{not json");
    writeAll(folder.path("b.json"), R"({"groups": {"nonsense": [{}]}})");
    writeAll(folder.path("c.json"), R"({"groups": {"binaryFiles": [{"id": "x", "file": "missing.dat"}]}})");
    for (const char* name : {"a.json", "b.json", "c.json"}) {
        const CliRun r = cli({"pack", QString::fromStdString(folder.path(name)), out});
        EXPECT_NE(r.exitCode, 0) << name;
        EXPECT_FALSE(r.err.isEmpty()) << name;
    }
    EXPECT_FALSE(QFile::exists(out));
}

TEST(Cli, EveryPackedKindSurvivesResaveAndExtractsItsOriginalFiles)
{
    TempFolder folder;
    const QString data = QStringLiteral(QUILLOP_TEST_DATA);
    const QString packed = QString::fromStdString(folder.path("sampler.mrc"));
    const CliRun pack = cli({"pack", data + "/manifest.json", packed});
    ASSERT_EQ(pack.exitCode, 0) << pack.err.toStdString();

    const CliRun before = cli({"dump", packed, "--json"});
    ASSERT_EQ(before.exitCode, 0);
    const QJsonObject groups = QJsonDocument::fromJson(before.out.toUtf8()).object()["groups"].toObject();
    for (const char* key : {"bitmaps", "animations", "maps", "colors", "binaryFiles", "texts"})
        EXPECT_FALSE(groups[key].toArray().isEmpty()) << key;
    EXPECT_EQ(groups["animations"].toArray()[0].toObject()["frames"].toArray().size(), 2);

    const QString resaved = QString::fromStdString(folder.path("resaved.mrc"));
    ASSERT_EQ(cli({"resave", packed, resaved}).exitCode, 0);
    EXPECT_EQ(cli({"dump", resaved, "--json"}).out, before.out) << "resave keeps every field";

    const QString out = QString::fromStdString(folder.path("out"));
    ASSERT_EQ(cli({"extract", resaved, out}).exitCode, 0);
    const QDir bitmaps(out + "/bitmaps");
    const QStringList names = bitmaps.entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(names.size(), 3);
    EXPECT_EQ(readAll(bitmaps.filePath(names[0]).toStdString()), readAll((data + "/hero.png").toStdString()));
    EXPECT_EQ(readAll(bitmaps.filePath(names[1]).toStdString()), readAll((data + "/ball.png").toStdString()));
    EXPECT_EQ(readAll(bitmaps.filePath(names[2]).toStdString()), readAll((data + "/tile.jpg").toStdString()));
    EXPECT_TRUE(names[2].endsWith(".jpg"));
    const QStringList files = QDir(out + "/binaryFiles").entryList(QDir::Files);
    ASSERT_EQ(files.size(), 1);
    EXPECT_EQ(readAll((out + "/binaryFiles/" + files[0]).toStdString()), readAll((data + "/level.txt").toStdString()));
}

TEST(Cli, TheDemoDocumentResavesUnchangedRendersItsWorldAndMixesItsSounds)
{
    TempFolder folder;
    const QString demo = QStringLiteral(QUILLOP_DEMO);
    const CliRun before = cli({"dump", demo});
    ASSERT_EQ(before.exitCode, 0) << before.err.toStdString();
    const QString resaved = QString::fromStdString(folder.path("demo.mrc"));
    ASSERT_EQ(cli({"resave", demo, resaved}).exitCode, 0);
    EXPECT_EQ(cli({"dump", resaved}).out, before.out);

    const QString picture = QString::fromStdString(folder.path("world.png"));
    const CliRun render = cli({"render-world", demo, "Island World", "25", picture, "--size", "320x200"});
    ASSERT_EQ(render.exitCode, 0) << render.err.toStdString();
    const QImage image(picture);
    ASSERT_EQ(image.size(), QSize(320, 200));
    int drawn = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            drawn += qAlpha(image.pixel(x, y)) != 0;
    EXPECT_GT(drawn, 100) << "the world draws its elements";
    EXPECT_NE(cli({"render-world", demo, "No Such World", "1", picture}).exitCode, 0);

    const QString wav = QString::fromStdString(folder.path("mix.wav"));
    const CliRun mix = cli({"mix", demo, "Bass Drum", "Bass Drum Ogg", "-o", wav});
    ASSERT_EQ(mix.exitCode, 0) << mix.err.toStdString();
    const QByteArray bytes = readAll(wav.toStdString());
    ASSERT_GT(bytes.size(), 44);
    EXPECT_EQ(bytes.left(4), QByteArray("RIFF"));
    EXPECT_EQ(bytes.mid(8, 4), QByteArray("WAVE"));
}
