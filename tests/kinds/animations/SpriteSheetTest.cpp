// Animations to sprite sheets and back, and sheet descriptions that must be
// refused without changing the document.
#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/CItemKinds.h"
#include "kinds/animations/CAnimationItem.h"
#include "kinds/animations/CSpriteSheet.h"
#include "media/image/CDisplayBuffer.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {
constexpr int kStepMs = 20;

// `pictures` bitmaps of growing odd sizes, and an animation of `frames`
// frames cycling through them with delays 1, 2, 3 and offsets.
std::unique_ptr<CResourceHolder> animated(int pictures, int frames, int playMode)
{
    auto holder = createDocumentHolder();
    for (int i = 0; i < pictures; ++i) {
        QImage image(5 + i * 3, 7 + i, QImage::Format_ARGB32_Premultiplied);
        image.fill(QColor::fromHsv(i * 59 % 360, 180, 230, 200));
        QPainter(&image).fillRect(1, 1, 2, 3, Qt::black);
        dynamic_cast<CDisplayBuffer*>(holder->get(GroupBitmaps, holder->newItem(GroupBitmaps, "pic " + std::to_string(i))))
            ->attachImage(image);
    }
    auto* animation = dynamic_cast<CAnimationItem*>(holder->get(GroupAnimations, holder->newItem(GroupAnimations, "walk")));
    animation->clear();
    animation->setAnimationType(1);
    animation->setPlayMode(playMode);
    for (int f = 0; f < frames; ++f)
        animation->addFrame(f % pictures, 1 + f % 3, f % 5 - 2, -(f % 4));
    return holder;
}

const CAnimationItem& animationAt(const CResourceHolder& holder, int row)
{
    return *dynamic_cast<const CAnimationItem*>(holder.get(GroupAnimations, row));
}

QImage pictureAt(const CResourceHolder& holder, int row)
{
    return dynamic_cast<const CDisplayBuffer*>(holder.get(GroupBitmaps, row))->image().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

TEST(SpriteSheet, AnimationsGoToSheetsAndBackFrameForFrame)
{
    const struct {
        const char* name;
        int pictures, frames, playMode;
    } cases[] = {
        {"one frame", 1, 1, 0},
        {"odd sizes, a picture shown twice", 3, 7, 3},
        {"backward and forward", 4, 4, 7},
        {"ten thousand frames", 9, 10000, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir folder;
        const auto source = animated(c.pictures, c.frames, c.playMode);
        const QString png = folder.filePath(QStringLiteral("walk.png"));
        const QString json = folder.filePath(QStringLiteral("walk.json"));
        const auto written = CSpriteSheet::write(*source, 0, png, json, kStepMs);
        ASSERT_TRUE(written.done) << written.error.toStdString();

        // The description's rectangles cut the sheet into the frames' pictures.
        QFile file(json);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QJsonArray frames = QJsonDocument::fromJson(file.readAll()).object().value(QStringLiteral("frames")).toArray();
        ASSERT_EQ(frames.size(), c.frames);
        const QImage sheet = QImage(png).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        for (int f = 0; f < c.frames; f += std::max(1, c.frames / 50)) {
            const QJsonObject r = frames[f].toObject().value(QStringLiteral("frame")).toObject();
            const QImage cut = sheet.copy(r[QStringLiteral("x")].toInt(), r[QStringLiteral("y")].toInt(),
                                          r[QStringLiteral("w")].toInt(), r[QStringLiteral("h")].toInt());
            ASSERT_EQ(cut, pictureAt(*source, animationAt(*source, 0).frames()[std::size_t(f)].bitmap)) << f;
            EXPECT_EQ(frames[f].toObject().value(QStringLiteral("duration")).toInt(), (1 + f % 3) * kStepMs);
        }

        // Read into a fresh document: the same frames over new bitmaps.
        auto fresh = createDocumentHolder();
        const auto read = CSpriteSheet::readJson(*fresh, png, json, kStepMs);
        ASSERT_TRUE(read.done()) << read.error.toStdString();
        EXPECT_EQ(read.bitmapsAdded, c.pictures);
        const CAnimationItem& back = animationAt(*fresh, read.animationRow);
        EXPECT_EQ(back.playMode(), c.playMode);
        ASSERT_EQ(back.frameCount(), c.frames);
        for (int f = 0; f < c.frames; ++f) {
            const CAnimationFrame& was = animationAt(*source, 0).frames()[std::size_t(f)];
            const CAnimationFrame& is = back.frames()[std::size_t(f)];
            ASSERT_EQ(std::tuple(is.delay, is.offsetX, is.offsetY), std::tuple(was.delay, was.offsetX, was.offsetY)) << f;
            ASSERT_EQ(pictureAt(*fresh, is.bitmap), pictureAt(*source, was.bitmap)) << f;
        }
        // Read into the document it came from: its bitmaps are used again.
        const auto again = CSpriteSheet::readJson(*source, png, json, kStepMs);
        EXPECT_EQ(again.bitmapsAdded, 0);
        EXPECT_EQ(again.bitmapsReused, c.pictures);
    }
}

TEST(SpriteSheet, AGridOfEqualFramesBecomesAnAnimation)
{
    QTemporaryDir folder;
    QImage sheet(2 + 4 * 10 + 3 * 1, 2 + 2 * 8 + 1, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(Qt::transparent);
    for (int i = 0; i < 8; ++i)
        QPainter(&sheet).fillRect(1 + (i % 4) * 11, 1 + (i / 4) * 9, 10, 8, QColor::fromHsv(i * 40, 200, 200));
    const QString png = folder.filePath(QStringLiteral("run.png"));
    ASSERT_TRUE(sheet.save(png));
    auto document = createDocumentHolder();
    const auto read = CSpriteSheet::readGrid(*document, png, {4, 2, 1, 1, 100}, kStepMs);
    ASSERT_TRUE(read.done()) << read.error.toStdString();
    const CAnimationItem& animation = animationAt(*document, read.animationRow);
    ASSERT_EQ(animation.frameCount(), 8);
    EXPECT_EQ(animation.frames()[0].delay, 5);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(pictureAt(*document, animation.frames()[std::size_t(i)].bitmap).pixel(5, 4), QColor::fromHsv(i * 40, 200, 200).rgba());
}

TEST(SpriteSheet, BrokenDescriptionsAreRefusedAndChangeNothing)
{
    QTemporaryDir folder;
    const QString png = folder.filePath(QStringLiteral("s.png"));
    QImage(8, 8, QImage::Format_ARGB32).save(png);
    const struct {
        const char* name;
        QByteArray json;
        const char* says;
    } cases[] = {
        {"not JSON", "frames: none", "not a JSON object"},
        {"no frames", R"({"frames": []})", "no frame"},
        {"a frame without its rectangle", R"({"frames": [{"frame": {"x": 0, "y": 0}}]})", "rectangle"},
        {"a rectangle given as text", R"({"frames": [{"frame": {"x": "0", "y": 0, "w": 4, "h": 4}}]})", "rectangle"},
        {"a frame off the sheet", R"({"frames": [{"frame": {"x": 4, "y": 4, "w": 8, "h": 8}}]})", "outside the sheet"},
        {"a huge frame", R"({"frames": [{"frame": {"x": 0, "y": 0, "w": 1e300, "h": 4}}]})", "is 1e+300"},
        {"rotated frames", R"({"frames": [{"frame": {"x": 0, "y": 0, "w": 4, "h": 4}, "rotated": true}]})", "rotated"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString json = folder.filePath(QStringLiteral("s.json"));
        QFile file(json);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.json);
        file.close();
        auto document = createDocumentHolder();
        const auto read = CSpriteSheet::readJson(*document, png, json, kStepMs);
        EXPECT_FALSE(read.done());
        EXPECT_NE(read.error.indexOf(QLatin1String(c.says)), -1) << read.error.toStdString();
        EXPECT_EQ(document->count(GroupAnimations) + document->count(GroupBitmaps), 0);
    }
    auto document = createDocumentHolder();
    EXPECT_NE(CSpriteSheet::readGrid(*document, folder.filePath(QStringLiteral("missing.png")), {}, kStepMs).error.indexOf(
                  QLatin1String("cannot be read")),
              -1);
    EXPECT_FALSE(CSpriteSheet::readGrid(*document, png, {100, 1, 0, 0, 100}, kStepMs).done());
    EXPECT_EQ(document->count(GroupAnimations) + document->count(GroupBitmaps), 0);
}
// Read back by ffprobe: as many frames as the play mode shows, each for its
// delay (a GIF counts in hundredths of a second, so within 10 ms of it).
TEST(SpriteSheet, AnimationsPlayAsAnimatedGifsAndPngs)
{
    const QTemporaryDir folder;
    const struct {
        CAnimatedPictureWriter::Format format;
        const char* name;
        int playMode;
        std::vector<int> delays;  // in steps, as the frames are shown
        int toleranceMs;
    } cases[] = {
        {CAnimatedPictureWriter::Format::Gif, "a.gif", 1, {1, 2, 3, 1}, 10},
        {CAnimatedPictureWriter::Format::Apng, "a.png", 1, {1, 2, 3, 1}, 0},
        {CAnimatedPictureWriter::Format::Apng, "pingpong.png", 2, {1, 2, 3, 1, 3, 2}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto holder = animated(3, 4, c.playMode);
        const QString path = folder.filePath(c.name);
        const auto written = CSpriteSheet::writeAnimated(*holder, 0, path, c.format, kStepMs);
        ASSERT_TRUE(written.done) << written.error.toStdString();
        EXPECT_EQ(written.frames, int(c.delays.size()));
        QProcess probe;
        probe.start("ffprobe", {"-v", "error", "-show_entries", "packet=duration_time", "-of", "csv=p=0", path});
        ASSERT_TRUE(probe.waitForFinished(20000));
        const QStringList durations = QString::fromUtf8(probe.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        ASSERT_EQ(durations.size(), qsizetype(c.delays.size())) << durations.join(' ').toStdString();
        for (std::size_t i = 0; i < c.delays.size(); ++i)
            EXPECT_NEAR(durations[qsizetype(i)].toDouble() * 1000, c.delays[i] * kStepMs, c.toleranceMs + 0.5) << i;
    }
}

} // namespace
