// Worlds to Tiled: Tiled's own renderer draws an exported world's layout as
// render-world draws the world before its first step. One pixel rule
// differs: where two half-transparent pictures overlap, the blend may differ
// by one step of one channel (the two programs round premultiplied colours
// differently).
#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/CItemKinds.h"
#include "kinds/worlds/CTiledWorldExport.h"
#include "kinds/worlds/CWorldPicture.h"
#include "support/TestSupport.h"

#include <QImage>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

TEST(TiledWorldExport, TiledDrawsEveryWorldOfTheDemoAsTheEditorDoes)
{
    if (QStandardPaths::findExecutable(QStringLiteral("tmxrasterizer")).isEmpty())
        GTEST_SKIP() << "tmxrasterizer (package tiled) is not installed";
    auto document = createDocumentHolder();
    ASSERT_TRUE(document->load(QUILLOP_DEMO));
    ASSERT_GT(document->count(GroupWorlds), 0);
    for (int world = 0; world < document->count(GroupWorlds); ++world) {
        SCOPED_TRACE(world);
        QTemporaryDir folder;
        const QString tmx = folder.filePath(QStringLiteral("world.tmx"));
        const auto written = CTiledWorldExport::write(*document, world, tmx);
        ASSERT_TRUE(written.written) << written.error.toStdString();
        std::string errors;
        ASSERT_EQ(runTiledProgram("tmxrasterizer", {tmx, folder.filePath(QStringLiteral("tiled.png"))}, &errors), 0) << errors;
        const QImage byTiled = QImage(folder.filePath(QStringLiteral("tiled.png"))).convertToFormat(QImage::Format_ARGB32);

        // Where the export put the world's drawing point.
        QFile file(tmx);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        auto origin = [&](const char* axis) {
            return QRegularExpression(QStringLiteral("quillop-origin-%1\" type=\"int\" value=\"(-?\\d+)\"").arg(QLatin1String(axis)))
                .match(text)
                .captured(1)
                .toInt();
        };
        const QImage ours = CWorldPicture::render(*document, world, 0, byTiled.size(), QPoint(origin("x"), origin("y")))
                                .convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(ours.size(), byTiled.size());
        int apart = 0;
        for (int y = 0; y < ours.height(); ++y)
            for (int x = 0; x < ours.width(); ++x) {
                const QRgb a = ours.pixel(x, y);
                const QRgb b = byTiled.pixel(x, y);
                if (std::abs(qRed(a) - qRed(b)) > 1 || std::abs(qGreen(a) - qGreen(b)) > 1 ||
                    std::abs(qBlue(a) - qBlue(b)) > 1 || std::abs(qAlpha(a) - qAlpha(b)) > 1)
                    ++apart;
            }
        EXPECT_EQ(apart, 0);
    }
}
