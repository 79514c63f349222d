#include "core/CResourceHolder.h"
#include "core/CResourceItem.h"
#include "kinds/CItemKinds.h"
#include "support/TestSupport.h"

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
