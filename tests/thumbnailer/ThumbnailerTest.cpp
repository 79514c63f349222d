#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/CItemKinds.h"
#include "media/image/CDisplayBuffer.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <gtest/gtest.h>

namespace {
int runThumbnailer(const QStringList& args, QString* err = nullptr)
{
    QProcess p;
    p.start(QStringLiteral(QUILLOP_THUMBNAILER_PATH), args);
    p.waitForFinished(60000);
    if (err)
        *err = QString::fromLocal8Bit(p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// A document with a world that draws nothing, an empty bitmap row, then a
// red 30 x 20 picture.
std::string bitmapsBehindAnEmptyWorld(const TempFolder& folder)
{
    auto holder = createDocumentHolder();
    holder->newItem(GroupWorlds, "nothing");
    holder->newItem(GroupBitmaps, "empty");
    QImage red(30, 20, QImage::Format_ARGB32);
    red.fill(Qt::red);
    dynamic_cast<CDisplayBuffer*>(holder->get(GroupBitmaps, holder->newItem(GroupBitmaps, "red")))->attachImage(red);
    const std::string path = folder.path("bitmaps.mrc");
    EXPECT_EQ(holder->save(path), 1);
    return path;
}

std::string emptyDocument(const TempFolder& folder)
{
    auto holder = createDocumentHolder();
    holder->newItem(GroupTexts, "only_text");
    const std::string path = folder.path("empty.mrc");
    EXPECT_EQ(holder->save(path), 1);
    return path;
}
} // namespace

TEST(Thumbnailer, PicturesTheFirstWorldElseTheFirstBitmapAndRefusesTheRest)
{
    TempFolder folder;
    const QString demo = QStringLiteral(QUILLOP_DEMO);
    const QString bitmaps = QString::fromStdString(bitmapsBehindAnEmptyWorld(folder));
    const QString empty = QString::fromStdString(emptyDocument(folder));
    const QString broken = QString::fromStdString(folder.path("broken.mrc"));
    writeAll(broken.toStdString(), readAll(demo.toStdString()).left(300));
    const QString text = QString::fromStdString(folder.path("notes.mrc"));
    writeAll(text.toStdString(), "just some words\n");

    struct Case {
        const char* what;
        QString input;
        QString size;
        QSize expected; // invalid: the run fails and writes nothing
        QColor centre = QColor(); // checked when valid
    };
    const Case cases[] = {
        {"the demo's world, cut to what it draws", demo, "256", QSize(256, 174)},
        {"a large size enlarges", demo, "1024", QSize(1024, 695)},
        {"without a world to show, the first bitmap with a picture", bitmaps, "64", QSize(64, 43), QColor(Qt::red)},
        {"nothing to picture", empty, "128", QSize()},
        {"a truncated document", broken, "128", QSize()},
        {"a text file", text, "128", QSize()},
        {"a missing file", QString::fromStdString(folder.path("missing.mrc")), "128", QSize()},
        {"size zero", demo, "0", QSize()},
        {"size not a number", demo, "big", QSize()},
    };
    for (const Case& c : cases) {
        const QString out = QString::fromStdString(folder.path("out.png"));
        QFile::remove(out);
        QString err;
        const int code = runThumbnailer({"-s", c.size, c.input, out}, &err);
        if (!c.expected.isValid()) {
            EXPECT_NE(code, 0) << c.what;
            EXPECT_FALSE(QFile::exists(out)) << c.what;
            EXPECT_TRUE(err.contains("quillop-thumbnailer: ")) << c.what << ": " << err.toStdString();
            continue;
        }
        EXPECT_EQ(code, 0) << c.what << ": " << err.toStdString();
        const QImage picture(out, "png");
        EXPECT_EQ(picture.size(), c.expected) << c.what;
        if (c.centre.isValid()) {
            EXPECT_EQ(picture.pixelColor(c.expected.width() / 2, c.expected.height() / 2), c.centre) << c.what;
        }
    }
}

TEST(Thumbnailer, BadArgumentsAndUnwritableOutputFail)
{
    TempFolder folder;
    const QString demo = QStringLiteral(QUILLOP_DEMO);
    EXPECT_NE(runThumbnailer({demo, QString::fromStdString(folder.path("a.png"))}), 0);
    EXPECT_NE(runThumbnailer({"-s", "128", demo}), 0);
    EXPECT_NE(runThumbnailer({"-s", "128", demo, QString::fromStdString(folder.path("no/such/folder/a.png"))}), 0);
}
