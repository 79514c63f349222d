#include "kinds/animations/CSpriteSheet.h"

#include "core/CRegularFile.h"
#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/animations/CAnimationCursor.h"
#include "kinds/animations/CAnimationItem.h"
#include "kinds/bitmaps/CBitmapInsertion.h"
#include "media/image/CDisplayBuffer.h"
#include "quillop/runtime/PlayModes.h"

#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QPicture>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <vector>

namespace {
// Sheets and descriptions larger than this are refused unread.
constexpr qint64 kMaxFileBytes = qint64(256) << 20;
// An animation read from a sheet holds at most this many frames.
constexpr int kMaxFrames = 100000;

struct Failure {
    QString message;
};

// The direction of a play mode as sheet tools name it, and back.
const char* directionOf(int playMode)
{
    switch (playMode) {
    case 2: case 3: return "pingpong";
    case 4: case 5: return "reverse";
    case 6: case 7: return "pingpong_reverse";
    default: return "forward";
    }
}

int playModeOf(const QString& direction)
{
    if (direction == QLatin1String("reverse"))
        return 5;
    if (direction == QLatin1String("pingpong"))
        return 3;
    if (direction == QLatin1String("pingpong_reverse"))
        return 7;
    return 1;
}

// The animation at that row, when it has frames to write; otherwise none,
// and `error` says why.
const CAnimationItem* animationWithFrames(const CResourceHolder& document, int row, QString& error)
{
    const auto* animation = dynamic_cast<const CAnimationItem*>(document.get(GroupAnimations, row));
    if (!animation || animation->frameCount() == 0) {
        error = animation ? QStringLiteral("the animation has no frame")
                          : QStringLiteral("there is no animation at row %1").arg(row);
        return nullptr;
    }
    return animation;
}

QImage pictureOf(const CResourceHolder& document, int bitmap)
{
    const auto* buffer = dynamic_cast<const CDisplayBuffer*>(document.get(GroupBitmaps, bitmap));
    if (!buffer)
        return {};
    QImage picture(std::max(1, buffer->actualWidth()), std::max(1, buffer->actualHeight()), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    buffer->drawWithoutOffset(painter);
    return picture;
}

QImage loadSheet(const QString& path)
{
    if (QFileInfo(path).size() > kMaxFileBytes)
        throw Failure{QStringLiteral("%1: larger than %2 MB").arg(path).arg(kMaxFileBytes >> 20)};
    QImageReader reader(path);
    QImage sheet;
    if (!reader.read(&sheet))
        throw Failure{QStringLiteral("%1: the picture cannot be read (%2)").arg(path, reader.errorString())};
    return sheet.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

struct SheetFrame {
    QRect rect;
    int durationMs = 100;
    QString name;
    std::optional<int> steps;
    int offsetX = 0;
    int offsetY = 0;
};

int stepsOf(const SheetFrame& frame, int stepMs)
{
    if (frame.steps)
        return std::max(1, *frame.steps);
    return std::max(1, static_cast<int>(std::lround(double(frame.durationMs) / std::max(1, stepMs))));
}

// Cuts the frames, finds or adds their bitmaps and appends the animation;
// nothing changes until every frame's rectangle lies on the sheet.
CSpriteSheet::Read makeAnimation(CResourceHolder& document, const QImage& sheet, const std::vector<SheetFrame>& frames,
                                 const QString& id, int playMode, int stepMs)
{
    if (frames.empty())
        throw Failure{QStringLiteral("the sheet describes no frame")};
    if (frames.size() > std::size_t(kMaxFrames))
        throw Failure{QStringLiteral("%1 frames (at most %2)").arg(frames.size()).arg(kMaxFrames)};
    struct Cut {
        QImage picture;
        QString name;
        int row = -1;
    };
    std::vector<Cut> cuts;
    std::map<std::pair<int, int>, std::size_t> byCorner;  // frames showing one place share a bitmap
    std::vector<std::size_t> cutOfFrame;
    for (const SheetFrame& frame : frames) {
        if (frame.rect.isEmpty() || !sheet.rect().contains(frame.rect))
            throw Failure{QStringLiteral("frame \"%1\" lies outside the sheet").arg(frame.name)};
        const auto key = std::pair(frame.rect.x() * 65536 + frame.rect.y(), frame.rect.width() * 65536 + frame.rect.height());
        auto [at, fresh] = byCorner.emplace(key, cuts.size());
        if (fresh) {
            Cut cut;
            cut.picture = sheet.copy(frame.rect);
            cut.name = frame.name;
            cut.row = CBitmapInsertion::findSamePicture(document, cut.picture);
            cuts.push_back(std::move(cut));
        }
        cutOfFrame.push_back(at->second);
    }
    CSpriteSheet::Read result;
    for (Cut& cut : cuts) {
        if (cut.row >= 0) {
            ++result.bitmapsReused;
        } else {
            cut.row = CBitmapInsertion::insertPicture(document, cut.name, cut.picture);
            ++result.bitmapsAdded;
        }
    }
    result.animationRow = document.newItem(GroupAnimations, id.toStdString());
    auto* animation = dynamic_cast<CAnimationItem*>(document.get(GroupAnimations, result.animationRow));
    animation->clear();
    animation->setAnimationType(1);
    animation->setPlayMode(playMode);
    for (std::size_t i = 0; i < frames.size(); ++i)
        animation->addFrame(cuts[cutOfFrame[i]].row, stepsOf(frames[i], stepMs), frames[i].offsetX, frames[i].offsetY);
    return result;
}

QJsonObject rectangle(const QRect& r)
{
    return {{QStringLiteral("x"), r.x()}, {QStringLiteral("y"), r.y()}, {QStringLiteral("w"), r.width()},
            {QStringLiteral("h"), r.height()}};
}
} // namespace

CSpriteSheet::Written CSpriteSheet::write(const CResourceHolder& document, int animationRow, const QString& pngPath,
                                          const QString& jsonPath, int stepMs)
{
    Written result;
    const CAnimationItem* animation = animationWithFrames(document, animationRow, result.error);
    if (!animation)
        return result;
    // Each bitmap once, in a grid of cells as large as the largest.
    std::map<int, QImage> pictures;
    QSize cell(1, 1);
    for (const CAnimationFrame& frame : animation->frames()) {
        if (pictures.count(frame.bitmap))
            continue;
        const QImage picture = pictureOf(document, frame.bitmap);
        pictures.emplace(frame.bitmap, picture);
        cell = cell.expandedTo(picture.size());
    }
    const int columns = std::max(1, static_cast<int>(std::ceil(std::sqrt(double(pictures.size())))));
    const int rows = (static_cast<int>(pictures.size()) + columns - 1) / columns;
    QImage sheet(columns * cell.width(), rows * cell.height(), QImage::Format_ARGB32_Premultiplied);
    if (sheet.isNull()) {
        result.error = QStringLiteral("the sheet would be too large (%1 x %2 pixels)").arg(columns * cell.width()).arg(rows * cell.height());
        return result;
    }
    sheet.fill(Qt::transparent);
    std::map<int, QRect> places;
    {
        QPainter painter(&sheet);
        int next = 0;
        for (const auto& [bitmap, picture] : pictures) {
            const QPoint corner((next % columns) * cell.width(), (next / columns) * cell.height());
            if (!picture.isNull())
                painter.drawImage(corner, picture);
            places[bitmap] = QRect(corner, picture.isNull() ? QSize(1, 1) : picture.size());
            ++next;
        }
    }
    QSaveFile png(pngPath);
    if (!png.open(QIODevice::WriteOnly) || !sheet.save(&png, "PNG") || !png.commit()) {
        result.error = QStringLiteral("%1: could not be written").arg(pngPath);
        return result;
    }
    if (!jsonPath.isEmpty()) {
        QJsonArray frames;
        int index = 0;
        for (const CAnimationFrame& frame : animation->frames()) {
            const QRect place = places[frame.bitmap];
            const CResourceItem* bitmap = document.get(GroupBitmaps, frame.bitmap);
            const QString bitmapId = bitmap ? QString::fromStdString(bitmap->id()) : QString();
            frames.append(QJsonObject{
                {QStringLiteral("filename"), QStringLiteral("%1 %2").arg(QString::fromStdString(animation->id())).arg(index++)},
                {QStringLiteral("frame"), rectangle(place)},
                {QStringLiteral("rotated"), false},
                {QStringLiteral("trimmed"), false},
                {QStringLiteral("spriteSourceSize"), rectangle(QRect(QPoint(0, 0), place.size()))},
                {QStringLiteral("sourceSize"), QJsonObject{{QStringLiteral("w"), place.width()}, {QStringLiteral("h"), place.height()}}},
                {QStringLiteral("duration"), frame.delay * stepMs},
                {QStringLiteral("quillop"), QJsonObject{{QStringLiteral("bitmap"), bitmapId},
                                                       {QStringLiteral("delay"), frame.delay},
                                                       {QStringLiteral("offsetX"), frame.offsetX},
                                                       {QStringLiteral("offsetY"), frame.offsetY}}},
            });
        }
        const int mode = animation->playMode();
        const QJsonObject meta{
            {QStringLiteral("app"), QStringLiteral("Quillop")},
            {QStringLiteral("image"), QFileInfo(pngPath).fileName()},
            {QStringLiteral("format"), QStringLiteral("RGBA8888")},
            {QStringLiteral("size"), QJsonObject{{QStringLiteral("w"), sheet.width()}, {QStringLiteral("h"), sheet.height()}}},
            {QStringLiteral("scale"), QStringLiteral("1")},
            {QStringLiteral("frameTags"),
             QJsonArray{QJsonObject{{QStringLiteral("name"), QString::fromStdString(animation->id())},
                                    {QStringLiteral("from"), 0},
                                    {QStringLiteral("to"), animation->frameCount() - 1},
                                    {QStringLiteral("direction"), QString::fromLatin1(directionOf(mode))},
                                    {QStringLiteral("quillopPlayMode"), mode}}}},
        };
        QSaveFile json(jsonPath);
        const QByteArray bytes = QJsonDocument(QJsonObject{{QStringLiteral("frames"), frames}, {QStringLiteral("meta"), meta}}).toJson();
        if (!json.open(QIODevice::WriteOnly) || json.write(bytes) != bytes.size() || !json.commit()) {
            result.error = QStringLiteral("%1: could not be written").arg(jsonPath);
            return result;
        }
    }
    result.done = true;
    result.frames = animation->frameCount();
    return result;
}

CSpriteSheet::Read CSpriteSheet::readJson(CResourceHolder& document, const QString& pngPath, const QString& jsonPath,
                                          int stepMs)
{
    try {
        if (QFileInfo(jsonPath).size() > kMaxFileBytes)
            throw Failure{QStringLiteral("%1: larger than %2 MB").arg(jsonPath).arg(kMaxFileBytes >> 20)};
        const std::optional<QByteArray> bytes = CRegularFile::read(jsonPath.toStdString());
        if (!bytes)
            throw Failure{QStringLiteral("%1: cannot be read").arg(jsonPath)};
        QJsonParseError parsed;
        const QJsonDocument description = QJsonDocument::fromJson(*bytes, &parsed);
        if (!description.isObject())
            throw Failure{QStringLiteral("%1: not a JSON object (%2)").arg(jsonPath, parsed.errorString())};
        const QJsonObject root = description.object();
        // Frames come as an array, or as an object keyed by name.
        QJsonArray list = root.value(QStringLiteral("frames")).toArray();
        if (list.isEmpty()) {
            const QJsonObject named = root.value(QStringLiteral("frames")).toObject();
            for (auto it = named.begin(); it != named.end(); ++it) {
                QJsonObject frame = it.value().toObject();
                frame.insert(QStringLiteral("filename"), it.key());
                list.append(frame);
            }
        }
        std::vector<SheetFrame> frames;
        for (const QJsonValue& value : list) {
            const QJsonObject frame = value.toObject();
            const QJsonObject place = frame.value(QStringLiteral("frame")).toObject();
            for (const char* key : {"x", "y", "w", "h"})
                if (!place.value(QLatin1String(key)).isDouble())
                    throw Failure{QStringLiteral("%1: a frame without its rectangle").arg(jsonPath)};
            if (frame.value(QStringLiteral("rotated")).toBool())
                throw Failure{QStringLiteral("%1: rotated frames are not supported").arg(jsonPath)};
            SheetFrame sheetFrame;
            const auto number = [&](const char* key) {
                const double v = place.value(QLatin1String(key)).toDouble();
                if (!(v >= 0.0 && v <= 1e6))
                    throw Failure{QStringLiteral("%1: a frame's %2 is %3").arg(jsonPath, QLatin1String(key)).arg(v)};
                return static_cast<int>(v);
            };
            sheetFrame.rect = QRect(number("x"), number("y"), number("w"), number("h"));
            sheetFrame.durationMs = std::clamp(frame.value(QStringLiteral("duration")).toInt(100), 1, 3600000);
            const QJsonObject own = frame.value(QStringLiteral("quillop")).toObject();
            sheetFrame.name = own.value(QStringLiteral("bitmap")).toString(frame.value(QStringLiteral("filename")).toString());
            if (own.value(QStringLiteral("delay")).isDouble())
                sheetFrame.steps = std::clamp(own.value(QStringLiteral("delay")).toInt(), 1, 1000000);
            sheetFrame.offsetX = std::clamp(own.value(QStringLiteral("offsetX")).toInt(), -1000000, 1000000);
            sheetFrame.offsetY = std::clamp(own.value(QStringLiteral("offsetY")).toInt(), -1000000, 1000000);
            frames.push_back(std::move(sheetFrame));
        }
        const QJsonObject tag = root.value(QStringLiteral("meta")).toObject().value(QStringLiteral("frameTags")).toArray().first().toObject();
        const int playMode = tag.value(QStringLiteral("quillopPlayMode")).isDouble()
                                 ? std::clamp(tag.value(QStringLiteral("quillopPlayMode")).toInt(), 0, quillop::kPlayModeCount - 1)
                                 : playModeOf(tag.value(QStringLiteral("direction")).toString());
        const QString id = tag.value(QStringLiteral("name")).toString(QFileInfo(jsonPath).completeBaseName());
        return makeAnimation(document, loadSheet(pngPath), frames, id, playMode, stepMs);
    } catch (const Failure& failure) {
        Read result;
        result.error = failure.message;
        return result;
    }
}

QSize CSpriteSheet::frameSize(QSize sheet, const Grid& grid)
{
    if (grid.columns < 1 || grid.rows < 1)
        return {};
    const std::int64_t width = (std::int64_t(sheet.width()) - 2 * std::int64_t(grid.margin) -
                                std::int64_t(grid.columns - 1) * grid.spacing) / grid.columns;
    const std::int64_t height = (std::int64_t(sheet.height()) - 2 * std::int64_t(grid.margin) -
                                 std::int64_t(grid.rows - 1) * grid.spacing) / grid.rows;
    return width < 1 || height < 1 ? QSize() : QSize(int(width), int(height));
}

CSpriteSheet::Read CSpriteSheet::readGrid(CResourceHolder& document, const QString& pngPath, const Grid& grid, int stepMs)
{
    try {
        if (grid.columns < 1 || grid.rows < 1 || grid.margin < 0 || grid.spacing < 0 ||
            std::int64_t(grid.columns) * grid.rows > kMaxFrames)
            throw Failure{QStringLiteral("a grid of %1 x %2 frames").arg(grid.columns).arg(grid.rows)};
        const QImage sheet = loadSheet(pngPath);
        const QSize size = frameSize(sheet.size(), grid);
        const int width = size.width(), height = size.height();
        if (!size.isValid())
            throw Failure{QStringLiteral("%1: %2 x %3 pixels hold no grid of %4 x %5 frames")
                              .arg(pngPath)
                              .arg(sheet.width())
                              .arg(sheet.height())
                              .arg(grid.columns)
                              .arg(grid.rows)};
        std::vector<SheetFrame> frames;
        const QString stem = QFileInfo(pngPath).completeBaseName();
        for (int row = 0; row < grid.rows; ++row)
            for (int column = 0; column < grid.columns; ++column) {
                SheetFrame frame;
                frame.rect = QRect(grid.margin + column * (width + grid.spacing), grid.margin + row * (height + grid.spacing),
                                   width, height);
                frame.durationMs = std::max(1, grid.delayMs);
                frame.name = QStringLiteral("%1 %2").arg(stem).arg(frames.size());
                frames.push_back(frame);
            }
        return makeAnimation(document, sheet, frames, stem, 1, stepMs);
    } catch (const Failure& failure) {
        Read result;
        result.error = failure.message;
        return result;
    }
}

CSpriteSheet::Written CSpriteSheet::writeAnimated(const CResourceHolder& document, int animationRow, const QString& path,
                                                  CAnimatedPictureWriter::Format format, int stepMs)
{
    Written result;
    const CAnimationItem* animation = animationWithFrames(document, animationRow, result.error);
    if (!animation)
        return result;
    CAnimationCursor cursor;
    cursor.setDocument(&document);
    cursor.setAnimationIndex(animationRow);
    const int n = animation->frameCount();
    // The canvas holds every frame as the preview draws it.
    QPicture recorded;
    {
        QPainter painter(&recorded);
        for (int f = 0; f < n; ++f) {
            cursor.setFrameIndex(f);
            cursor.draw(painter, 0, 0);
        }
    }
    const QRect canvas = recorded.boundingRect().isEmpty() ? QRect(0, 0, 1, 1) : recorded.boundingRect();
    std::vector<int> order;
    const QString direction = QString::fromLatin1(directionOf(animation->playMode()));
    for (int f = 0; f < n; ++f)
        order.push_back(direction.endsWith(QLatin1String("reverse")) ? n - 1 - f : f);
    if (direction.startsWith(QLatin1String("pingpong")))
        for (int k = n - 2; k > 0; --k)
            order.push_back(order[std::size_t(k)]);
    std::vector<CAnimatedPictureWriter::Frame> frames;
    for (int f : order) {
        QImage picture(canvas.size(), QImage::Format_ARGB32_Premultiplied);
        if (picture.isNull()) {
            result.error = QStringLiteral("the frames would be too large (%1 x %2 pixels)").arg(canvas.width()).arg(canvas.height());
            return result;
        }
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        cursor.setFrameIndex(f);
        cursor.draw(painter, -canvas.x(), -canvas.y());
        painter.end();
        frames.push_back({picture, animation->frame(f)->delay * stepMs});
    }
    result.error = CAnimatedPictureWriter::write(path, format, frames);
    result.done = result.error.isEmpty();
    result.frames = int(frames.size());
    return result;
}
