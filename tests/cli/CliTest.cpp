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

#include <sys/stat.h>

#include <functional>

#include <cstdio>

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

TEST(Cli, EveryCommandAnswersHelpWithItsUsage)
{
    const CliRun list = cli({"--help"});
    EXPECT_EQ(list.exitCode, 0);
    QStringList names;
    for (const QString& line : list.err.split('\n'))
        if (line.startsWith("  "))
            names << line.trimmed().section(' ', 0, 0);
    EXPECT_GE(names.size(), 16) << list.err.toStdString();
    for (const QString& name : names) {
        // Asked anywhere, even where a command expects a value.
        for (const QStringList& asked : {QStringList{name, "--help"}, QStringList{name, "x.wav", "--threads", "--help"}}) {
            const CliRun r = cli(asked);
            EXPECT_EQ(r.exitCode, 0) << asked.join(' ').toStdString() << "\n" << r.err.toStdString();
            EXPECT_TRUE(r.out.startsWith("usage: quillop-cli " + name)) << r.out.toStdString();
        }
    }
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

TEST(Cli, PackRefusesBrokenManifestsNamingThePlace)
{
    TempFolder folder;
    const QString out = QString::fromStdString(folder.path("x.mrc"));
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"{not json", "not a JSON object"},
        {R"({"groups": {"nonsense": [{}]}})", "unknown group \"nonsense\""},
        {R"({"groups": {"binaryFiles": [{"id": "x", "file": "missing.dat"}]}})", "binaryFiles/x"},
        {R"({"groups": [1, 2, 3]})", "\"groups\" is not an object"},
        {R"({"id": 3})", "\"id\" is not a text"},
        {R"({"groups": {"texts": 5}})", "texts: not a list"},
        {R"({"groups": {"colors": [{"id": "a", "color": "#000000"}, 7]}})", "colors[1]: an item is an object"},
        {R"({"groups": {"texts": [{"id": "a", "comments": ["x"]}]}})", "texts[0]: \"comments\" is not a text"},
        {R"({"groups": {"bitmaps": [{"id": "r", "rects": [[2147483000, 0, 10000, 1]]}]}})", "rects[0]"},
        {R"({"groups": {"bitmaps": [{"id": "r", "rects": [[0, 0, 1.5, 1]]}]}})", "rects[0]"},
        {R"({"groups": {"bitmaps": [{"id": "r", "rects": [[-2000000000, 0, 10, 10], [2000000000, 0, 10, 10]]}]}})",
         "larger than 2147483647 pixels"},
        // Memory goes per column whatever the cells: each side is bounded.
        {R"({"groups":{"maps":[{"id":"m","nbColumns":67108864,"nbLines":0}]}})", "maps/m: a map has 0 to 65536"},
        {R"({"groups":{"maps":[{"id":"m","nbColumns":67108864,"nbLines":1}]}})", "maps/m: a map has 0 to 65536"},
        // A file keeps no columns without lines: it would read back empty.
        {R"({"groups":{"maps":[{"id":"m","nbColumns":3,"nbLines":0}]}})", "a map with columns has lines too"},
        // Whatever else the file cannot keep is found by reading it back.
        {R"({"groups":{"maps":[{"id":"m","nbColumns":0,"nbLines":0,"sizeX":16}]}})",
         "does not read back as written: groups.maps[0].sizeX"},
    };
    for (const auto& [json, message] : cases) {
        writeAll(folder.path("m.json"), json);
        const CliRun r = cli({"pack", QString::fromStdString(folder.path("m.json")), out});
        EXPECT_NE(r.exitCode, 0) << json;
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(message))) << json << "\n" << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(out));
}

TEST(Cli, SpecialFilesAreNeitherReadNorReplaced)
{
    TempFolder folder;
    const QString doc = QString::fromStdString(makeDocument(folder));
    const QString fifo = QString::fromStdString(folder.path("pipe.mrc"));
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    writeAll(folder.path("good.json"), R"({"groups": {"texts": [{"id": "a", "text": "b"}]}})");
    const QString good = QString::fromStdString(folder.path("good.json"));
    // Reading a FIFO would wait for a writer; a rename over it would replace it.
    const std::vector<QStringList> refused = {
        {"info", fifo}, {"dump", fifo}, {"resave", fifo, doc + ".out"}, {"resave", doc, fifo},
        {"pack", good, fifo}, {"pack", fifo, doc + ".out"},
    };
    for (const QStringList& args : refused) {
        const CliRun r = cli(args);
        EXPECT_EQ(r.exitCode, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("not a regular file")) << r.err.toStdString();
        struct stat info;
        ASSERT_EQ(::stat(fifo.toLocal8Bit().constData(), &info), 0);
        EXPECT_TRUE(S_ISFIFO(info.st_mode)) << args.join(' ').toStdString();
    }
    EXPECT_FALSE(QFile::exists(doc + ".out"));
    // A device as an item's file is refused, never read without end.
    for (const char* group : {"bitmaps", "sounds", "binaryFiles"}) {
        writeAll(folder.path("device.json"),
                 QStringLiteral(R"({"groups": {"%1": [{"id": "x", "file": "/dev/zero"}]}})").arg(group).toUtf8());
        const CliRun r = cli({"pack", QString::fromStdString(folder.path("device.json")), doc + ".out"});
        EXPECT_EQ(r.exitCode, 1) << group;
        EXPECT_TRUE(r.err.contains("/dev/zero")) << group << r.err.toStdString();
    }
}

TEST(Cli, APartlyLoadedDocumentIsToldAndNotResaved)
{
    TempFolder folder;
    auto holder = createDocumentHolder();
    holder->newItem(GroupTexts, "kept");
    holder->newItem(GroupColors, "lost");
    holder->group(GroupColors)->setTag("MRVNONE");  // a section no group reads
    const QString in = QString::fromStdString(folder.path("partly.mrc"));
    ASSERT_EQ(holder->save(in.toStdString()), 1);
    const QString out = QString::fromStdString(folder.path("out.mrc"));

    const CliRun resave = cli({"resave", in, out});
    EXPECT_EQ(resave.exitCode, 1);
    EXPECT_TRUE(resave.err.contains("only partly loaded")) << resave.err.toStdString();
    EXPECT_TRUE(resave.err.contains("not written")) << resave.err.toStdString();
    EXPECT_FALSE(QFile::exists(out));
    const CliRun info = cli({"info", in});
    EXPECT_EQ(info.exitCode, 0) << "what was read can still be looked at";
    EXPECT_TRUE(info.out.contains("kept"));
    EXPECT_TRUE(info.err.contains("only partly loaded"));
}

TEST(Cli, FileNamesAreTakenAsBytes)
{
    TempFolder folder;
    const QString doc = QString::fromStdString(makeDocument(folder));
    const QByteArray latin1 = QFile::encodeName(QString::fromStdString(folder.path(""))) + "/caf\xe9.mrc";
    ASSERT_EQ(::rename(QFile::encodeName(doc).constData(), latin1.constData()), 0);
    // QProcess passes arguments as text; the shell passes the bytes as they are.
    QProcess p;
    p.start(QStringLiteral("/bin/sh"), {"-c", QStringLiteral("cd '%1' && exec '%2' info \"$(printf 'caf\\351.mrc')\"")
                                                  .arg(QString::fromStdString(folder.path("")), QUILLOP_CLI_PATH)});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_TRUE(p.readAllStandardOutput().contains("ID: Demo"));
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

TEST(Cli, VideoResourceAndSoundConversionsRunEndToEnd)
{
    TempFolder folder;
    QStringList images;
    for (int i = 0; i < 3; ++i) {
        QImage picture(40, 30, QImage::Format_ARGB32);
        picture.fill(qRgba(0, 80 * i, 255, 255));
        images << QString::fromStdString(folder.path("p" + std::to_string(i) + ".png"));
        ASSERT_TRUE(picture.save(images.back()));
    }
    const QString movie = QString::fromStdString(folder.path("m.avi"));
    const struct {
        QStringList args;
        int exitCode;
        const char* says;
    } runs[] = {
        {QStringList{"images-to-avi", movie} + images + QStringList{"--fps", "5", "--width", "32", "--height", "24",
                                                                    "--codec", "ffv1"},
         0, "3 frames, 32 x 24, 5 fps, ffv1"},
        {{"images-to-avi", movie, images[0], "--codec", "divx"}, 1, "--codec: 'divx' is not a valid value"},
        {QStringList{"images-to-avi", movie, images[0], "missing.png"}, 1, "missing.png: no such file"},
        {{"avi-to-images", movie, QString::fromStdString(folder.path("f.bmp"))}, 0, "1 frames written"},
        {{"avi-to-images", movie, QString::fromStdString(folder.path("g.bmp")), "--no-alpha"}, 0, "1 frames written"},
    };
    for (const auto& r : runs) {
        const CliRun run = cli(r.args);
        EXPECT_EQ(run.exitCode, r.exitCode) << r.args.join(' ').toStdString() << run.err.toStdString();
        EXPECT_TRUE((run.out + run.err).contains(r.says)) << (run.out + run.err).toStdString();
    }
    const QStringList written = QDir(QString::fromStdString(folder.path(""))).entryList({"f_*", "g_*"}, QDir::Files);
    EXPECT_EQ(written, QStringList({"f_000001.bmp", "f_ALPHA000001.bmp", "g_000001.bmp"}));

    const QString doc = QString::fromStdString(makeDocument(folder));
    const CliRun convert = cli({"convert-resources", doc, images[0], "--workers", "2"});
    EXPECT_EQ(convert.exitCode, 1);
    EXPECT_TRUE(convert.out.contains("1 of 2 files converted; skipped:")) << convert.out.toStdString();
    EXPECT_TRUE(convert.out.contains(images[0] + ": not a resource file"));
    EXPECT_TRUE(QFile::exists(QString::fromStdString(folder.path("doc-NEW-.mrc"))));

    QProcess sox; // two half-second tones with a second of silence between them
    sox.start("sox", {"-n", "-r", "8000", "-c", "1", "-b", "16", QString::fromStdString(folder.path("take.wav")),
                      "synth", "0.5", "sine", "440", "pad", "0.2", "1", "repeat", "1"});
    ASSERT_TRUE(sox.waitForFinished(10000));
    const CliRun split = cli({"split-sounds", QString::fromStdString(folder.path("take.wav")),
                              QString::fromStdString(folder.path("cuts")), "--min-silence", "500"});
    EXPECT_EQ(split.exitCode, 0) << split.err.toStdString();
    EXPECT_TRUE(split.out.contains("2 sounds")) << split.out.toStdString();
    EXPECT_EQ(QDir(QString::fromStdString(folder.path("cuts"))).entryList(QDir::Files),
              QStringList({"take_001.wav", "take_002.wav"}));
}

TEST(Cli, DiffAndTextconvShowItemLevelChanges)
{
    TempFolder folder;
    const auto packed = [&](const char* name, const char* manifest) {
        writeAll(folder.path("m.json"), manifest);
        const QString out = QString::fromStdString(folder.path(name));
        EXPECT_EQ(cli({"pack", QString::fromStdString(folder.path("m.json")), out}).exitCode, 0) << manifest;
        return out;
    };
    const QString base = packed("base.mrc", R"({"comments": "c", "groups": {
        "texts": [{"id": "a", "text": "one"}, {"id": "b", "text": "two"}, {"id": "b", "text": "second b"}],
        "colors": [{"id": "sky", "color": "#102030"}, {"id": "sun", "color": "#FFFF00"}]}})");
    const QString edited = packed("edited.mrc", R"({"comments": "c2", "groups": {
        "texts": [{"id": "new", "text": "x"}, {"id": "a", "text": "one"}, {"id": "b", "text": "2"}, {"id": "b", "text": "second b"}],
        "colors": [{"id": "sun", "color": "#FFFF00"}]}})");
    const struct {
        QStringList args;
        int exitCode;
        QStringList lines;  // lines the output must hold
    } cases[] = {
        {{"diff", base, base}, 0, {}},
        {{"diff", base, edited},
         1,
         {"* document", "    comments: \"c\" -> \"c2\"", "+ texts \"new\" added at row 0",
          "~ texts \"a\" moved from row 0 to 1", "* texts \"b\" changed, moved from row 1 to 2",
          "    text: \"two\" -> \"2\"", "~ texts \"b\" moved from row 2 to 3", "- colors \"sky\" removed from row 0",
          "~ colors \"sun\" moved from row 1 to 0"}},
        {{"diff", base, QString::fromStdString(folder.path("missing.mrc"))}, 2, {}},
        {{"textconv", edited}, 0, {"comments: \"c2\"", "[texts 2] \"b\"", "  text: \"2\"", "[colors 0] \"sun\""}},
    };
    for (const auto& c : cases) {
        const CliRun r = cli(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(' ').toStdString() << "\n" << r.err.toStdString();
        const QStringList lines = r.out.split('\n');
        for (const QString& line : c.lines)
            EXPECT_TRUE(lines.contains(line)) << line.toStdString() << "\nin:\n" << r.out.toStdString();
        if (c.exitCode == 0 && c.args.first() == "diff") {
            EXPECT_TRUE(r.out.isEmpty());
        }
    }
    const CliRun json = cli({"diff", base, edited, "--json"});
    EXPECT_EQ(json.exitCode, 1);
    EXPECT_EQ(QJsonDocument::fromJson(json.out.toUtf8()).object().value("differences").toArray().size(), 7);
}

namespace {
// A command in a folder; its exit code, or -1 when it did not run.
int runIn(const QString& folder, const QString& program, const QStringList& args)
{
    QProcess p;
    p.setWorkingDirectory(folder);
    p.start(program, args);
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

QJsonObject dumped(const QString& file)
{
    return QJsonDocument::fromJson(cli({"dump", file}).out.toUtf8()).object();
}

QJsonValue field(const QJsonObject& doc, const char* group, int row, const char* name)
{
    return doc["groups"].toObject()[group].toArray()[row].toObject()[name];
}
} // namespace

TEST(Cli, GitMergesDocumentsItemByItemThroughTheMergeDriver)
{
    const QString base = R"({"groups": {"texts": [{"id": "a", "text": "one"}, {"id": "b", "text": "two"}],
        "bitmaps": [{"id": "x", "rects": [[0, 0, 2, 2]]}, {"id": "y", "rects": [[0, 0, 3, 3]]}]}})";
    // An animation over two bitmaps, for the merges inside one item.
    const QString walk = R"({"groups": {"texts": [{"id": "a", "text": "one"}],
        "bitmaps": [{"id": "x", "rects": [[0, 0, 2, 2]]}, {"id": "y", "rects": [[0, 0, 3, 3]]}],
        "animations": [{"id": "walk", "frames": [{"bitmap": 0, "delay": 4}, {"bitmap": 1, "delay": 4}]}]}})";
    const struct {
        const char* name;
        QString ours;
        QString theirs;
        bool clean;
        std::function<void(const QJsonObject&)> check;
        QString base = {};  // the common one when empty
        const char* conflictSays = "";
    } cases[] = {
        {"different items",
         R"({"groups": {"texts": [{"id": "a", "text": "ONE"}, {"id": "b", "text": "two"}],
            "bitmaps": [{"id": "x", "rects": [[0, 0, 2, 2]]}, {"id": "y", "rects": [[0, 0, 3, 3]]}]}})",
         R"({"groups": {"texts": [{"id": "a", "text": "one"}, {"id": "b", "text": "TWO"}],
            "bitmaps": [{"id": "x", "rects": [[0, 0, 2, 2]]}, {"id": "y", "rects": [[0, 0, 3, 3]]}]}})",
         true,
         [](const QJsonObject& doc) {
             EXPECT_EQ(field(doc, "texts", 0, "text"), "ONE");
             EXPECT_EQ(field(doc, "texts", 1, "text"), "TWO");
         }},
        {"a new animation uses a bitmap the other side moved down and edited",
         R"({"groups": {"texts": [{"id": "a", "text": "one"}, {"id": "b", "text": "two"}],
            "bitmaps": [{"id": "n", "rects": [[0, 0, 1, 1]]}, {"id": "x", "rects": [[0, 0, 2, 2]]},
                        {"id": "y", "comments": "edited", "rects": [[0, 0, 3, 3]]}]}})",
         R"({"groups": {"texts": [{"id": "a", "text": "one"}, {"id": "b", "text": "two"}],
            "bitmaps": [{"id": "x", "rects": [[0, 0, 2, 2]]}, {"id": "y", "rects": [[0, 0, 3, 3]]}],
            "animations": [{"id": "walk", "frames": [{"bitmap": 1, "delay": 4, "offsetX": 0, "offsetY": 0}]}]}})",
         true,
         [](const QJsonObject& doc) {
             EXPECT_EQ(field(doc, "bitmaps", 2, "id"), "y");
             EXPECT_EQ(field(doc, "bitmaps", 2, "comments"), "edited");
             EXPECT_EQ(field(doc, "animations", 0, "frames").toArray()[0].toObject()["bitmap"], 2)
                 << "the frame still shows y";
         }},
        {"both sides change one text",
         R"({"groups": {"texts": [{"id": "a", "text": "mine"}, {"id": "b", "text": "two"}],
            "bitmaps": [{"id": "x", "rects": [[0, 0, 2, 2]]}, {"id": "y", "rects": [[0, 0, 3, 3]]}]}})",
         R"({"groups": {"texts": [{"id": "a", "text": "theirs"}, {"id": "b", "text": "two"}],
            "bitmaps": [{"id": "x", "rects": [[0, 0, 2, 2]]}, {"id": "y", "rects": [[0, 0, 3, 3]]}]}})",
         false,
         [](const QJsonObject& doc) { EXPECT_EQ(field(doc, "texts", 0, "text"), "mine") << "ours untouched"; },
         {}, "texts \"a\": text changed on both sides"},
        {"different fields of one item, and frames whose bitmaps moved down on one side",
         R"({"groups": {"texts": [{"id": "a", "comments": "note", "text": "one"}],
            "bitmaps": [{"id": "n", "rects": [[0, 0, 1, 1]]}, {"id": "x", "rects": [[0, 0, 2, 2]]}, {"id": "y", "rects": [[0, 0, 3, 3]]}],
            "animations": [{"id": "walk", "frames": [{"bitmap": 1, "delay": 9}, {"bitmap": 2, "delay": 4}]}]}})",
         R"({"groups": {"texts": [{"id": "a", "text": "ONE"}],
            "bitmaps": [{"id": "x", "rects": [[0, 0, 2, 2]]}, {"id": "y", "rects": [[0, 0, 3, 3]]}],
            "animations": [{"id": "walk", "frames": [{"bitmap": 0, "delay": 4}, {"bitmap": 1, "delay": 4, "offsetX": 5}]}]}})",
         true,
         [](const QJsonObject& doc) {
             EXPECT_EQ(field(doc, "texts", 0, "text"), "ONE");
             EXPECT_EQ(field(doc, "texts", 0, "comments"), "note");
             const QJsonArray frames = field(doc, "animations", 0, "frames").toArray();
             EXPECT_EQ(frames[0].toObject()["bitmap"], 1) << "x";
             EXPECT_EQ(frames[0].toObject()["delay"], 9);
             EXPECT_EQ(frames[1].toObject()["bitmap"], 2) << "y";
             EXPECT_EQ(frames[1].toObject()["offsetX"], 5);
         },
         walk},
        {"both sides change one frame's delay",
         R"({"groups": {"texts": [{"id": "a", "text": "one"}],
            "bitmaps": [{"id": "x", "rects": [[0, 0, 2, 2]]}, {"id": "y", "rects": [[0, 0, 3, 3]]}],
            "animations": [{"id": "walk", "frames": [{"bitmap": 0, "delay": 7}, {"bitmap": 1, "delay": 4}]}]}})",
         R"({"groups": {"texts": [{"id": "a", "text": "one"}],
            "bitmaps": [{"id": "x", "rects": [[0, 0, 2, 2]]}, {"id": "y", "rects": [[0, 0, 3, 3]]}],
            "animations": [{"id": "walk", "frames": [{"bitmap": 0, "delay": 8}, {"bitmap": 1, "delay": 4}]}]}})",
         false,
         [](const QJsonObject& doc) { EXPECT_EQ(field(doc, "animations", 0, "frames")[0]["delay"], 7); },
         walk, "animations \"walk\": frames[0].delay changed on both sides"},
        {"a picture changed on one side and its comments on the other",
         R"({"groups": {"bitmaps": [{"id": "y", "comments": "renamed", "file": "small.png"}]}})",
         R"({"groups": {"bitmaps": [{"id": "y", "file": "large.png"}]}})",
         true,
         [](const QJsonObject& doc) {
             EXPECT_EQ(field(doc, "bitmaps", 0, "comments"), "renamed");
             EXPECT_EQ(field(doc, "bitmaps", 0, "actualWidth"), 6) << "their picture";
         },
         R"({"groups": {"bitmaps": [{"id": "y", "file": "small.png"}]}})"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const QString repo = QString::fromStdString(folder.path("repo"));
        QDir().mkpath(repo);
        const QString doc = repo + "/doc.mrc";
        const auto pack = [&](const QString& manifest, const QString& out) {
            writeAll(folder.path("m.json"), manifest.toUtf8());
            ASSERT_EQ(cli({"pack", QString::fromStdString(folder.path("m.json")), out}).exitCode, 0);
        };
        const auto git = [&](const QStringList& args) { return runIn(repo, "git", args); };
        QImage small(4, 4, QImage::Format_ARGB32), large(6, 5, QImage::Format_ARGB32);
        small.fill(Qt::red);
        large.fill(Qt::blue);
        ASSERT_TRUE(small.save(QString::fromStdString(folder.path("small.png"))) &&
                    large.save(QString::fromStdString(folder.path("large.png"))));
        if (git({"init", "-q", "-b", "main"}) != 0)
            GTEST_SKIP() << "git is not installed";
        git({"config", "user.email", "t@example.org"});
        git({"config", "user.name", "Test"});
        git({"config", "merge.quillop.driver", QStringLiteral(QUILLOP_CLI_PATH) + " merge %O %A %B -o %A"});
        writeAll(folder.path("repo/.gitattributes"), "*.mrc merge=quillop\n");
        const QString& common = c.base.isEmpty() ? base : c.base;
        pack(common, doc);
        ASSERT_EQ(git({"add", "."}), 0);
        ASSERT_EQ(git({"commit", "-q", "-m", "base"}), 0);
        ASSERT_EQ(git({"checkout", "-q", "-b", "theirs"}), 0);
        pack(c.theirs, doc);
        ASSERT_EQ(git({"commit", "-q", "-am", "theirs"}), 0);
        ASSERT_EQ(git({"checkout", "-q", "main"}), 0);
        pack(c.ours, doc);
        ASSERT_EQ(git({"commit", "-q", "-am", "ours"}), 0);
        EXPECT_EQ(git({"merge", "-q", "--no-edit", "theirs"}) == 0, c.clean);
        c.check(dumped(doc));

        // Merging with an unchanged side gives the other side back.
        const QString baseFile = QString::fromStdString(folder.path("base.mrc"));
        const QString oursFile = QString::fromStdString(folder.path("ours.mrc"));
        const QString theirsFile = QString::fromStdString(folder.path("theirs.mrc"));
        const QString out = QString::fromStdString(folder.path("out.mrc"));
        pack(common, baseFile);
        pack(c.ours, oursFile);
        pack(c.theirs, theirsFile);
        if (!c.clean) {
            const CliRun refused = cli({"merge", baseFile, oursFile, theirsFile, "-o", out});
            EXPECT_EQ(refused.exitCode, 1);
            EXPECT_TRUE(refused.err.contains(c.conflictSays)) << refused.err.toStdString();
        }
        for (const QString& side : {oursFile, theirsFile}) {
            for (const QStringList& merge : {QStringList{"merge", baseFile, side, baseFile, "-o", out},
                                             QStringList{"merge", baseFile, baseFile, side, "-o", out}}) {
                ASSERT_EQ(cli(merge).exitCode, 0) << merge.join(' ').toStdString();
                EXPECT_EQ(cli({"diff", side, out}).out, "") << merge.join(' ').toStdString();
            }
        }
    }
}
