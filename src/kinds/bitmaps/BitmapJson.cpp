#include "kinds/bitmaps/BitmapJson.h"

#include "kinds/bitmaps/CBitmapItem.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QJsonArray>

#include <climits>
#include <cmath>
#include <cstdint>

namespace {
QString sha1(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex());
}

// Reals from a file may be NaN or infinite, which JSON cannot hold.
QJsonValue real(double value)
{
    return std::isfinite(value) ? QJsonValue(value) : QJsonValue(QString::number(value));
}

// [x, y, width, height]: integers whose far edges an int still holds.
std::optional<QRect> regionRect(const QJsonValue& value)
{
    const QJsonArray r = value.toArray();
    if (!value.isArray() || r.size() != 4)
        return std::nullopt;
    std::int64_t n[4];
    for (int i = 0; i < 4; ++i) {
        const double d = r[i].toDouble(std::nan(""));
        if (!(d >= INT_MIN && d <= INT_MAX) || d != std::trunc(d))
            return std::nullopt;
        n[i] = static_cast<std::int64_t>(d);
    }
    for (int i = 0; i < 2; ++i)
        if (n[i] + n[i + 2] - 1 > INT_MAX || n[i] + n[i + 2] - 1 < INT_MIN)
            return std::nullopt;
    return QRect(int(n[0]), int(n[1]), int(n[2]), int(n[3]));
}

// What the bytes are, by their content first: a source name may say
// nothing (a temporary file) or the wrong thing.
QString extensionFor(const CBitmapItem& bitmap)
{
    QByteArray bytes = bitmap.sourceBytes();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QString format = QString::fromLatin1(QImageReader::imageFormat(&buffer)).toLower();
    if (format == QLatin1String("jpeg"))
        format = QStringLiteral("jpg");
    if (!format.isEmpty())
        return format;
    const QString name = fromBytes(bitmap.sourceFilename()).replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString suffix = QFileInfo(name).suffix();
    return suffix.isEmpty() ? QStringLiteral("bin") : suffix;
}
} // namespace

void BitmapJson::describe(const CResourceItem& item, QJsonObject& fields) const
{
    const auto& bitmap = static_cast<const CBitmapItem&>(item);
    // The description tells whether the picture decodes and what its pixels are.
    bitmap.decodeNow();
    fields[QStringLiteral("kind")] = bitmap.recordKind();
    fields[QStringLiteral("kindName")] = QString::fromLatin1(CDisplayBuffer::kindName(bitmap.recordKind()));
    fields[QStringLiteral("decoded")] = bitmap.kind() == bitmap.recordKind();
    fields[QStringLiteral("width")] = real(bitmap.width());
    fields[QStringLiteral("height")] = real(bitmap.height());
    fields[QStringLiteral("actualWidth")] = bitmap.actualWidth();
    fields[QStringLiteral("actualHeight")] = bitmap.actualHeight();
    fields[QStringLiteral("offsetX")] = real(bitmap.offsetX());
    fields[QStringLiteral("offsetY")] = real(bitmap.offsetY());
    fields[QStringLiteral("bits")] = bitmap.bits();
    fields[QStringLiteral("frames")] = bitmap.frames();
    fields[QStringLiteral("usedGameMemory")] = static_cast<qint64>(bitmap.usedGameMemory());
    fields[QStringLiteral("specs")] = QString::fromStdString(bitmap.specsText());
    fields[QStringLiteral("sourceFileName")] = fromBytes(bitmap.sourceFilename());
    fields[QStringLiteral("sourceSize")] = static_cast<qint64>(bitmap.sourceBytes().size());
    fields[QStringLiteral("sourceSha1")] = sha1(bitmap.sourceBytes());
    if (bitmap.recordKind() == CDisplayBuffer::PaintingRegion) {
        QJsonArray rects;
        if (const QRegion* region = bitmap.region())
            for (const QRect& r : *region)
                rects.append(QJsonArray{r.x(), r.y(), r.width(), r.height()});
        fields[QStringLiteral("rects")] = rects;
    }
    if (!bitmap.image().isNull() && bitmap.kind() == CDisplayBuffer::GdiPlusImage) {
        // The pixels as they are now, which crop and colour commands change
        // before the source is saved again.
        const QImage& image = bitmap.image();
        fields[QStringLiteral("pixelsSha1")] =
            sha1(QByteArray(reinterpret_cast<const char*>(image.constBits()), qsizetype(image.sizeInBytes())));
    }
}

int BitmapJson::assign(CResourceItem& item, const QJsonObject& fields, const QDir& base, QString& error) const
{
    auto& bitmap = static_cast<CBitmapItem&>(item);
    const QString name = fields[QStringLiteral("file")].toString();
    if (!name.isEmpty()) {
        std::string why;
        if (!bitmap.loadFromFile(CDisplayBuffer::GdiPlusImage, toBytes(base.filePath(name)), &why)) {
            error = QStringLiteral("cannot load %1: %2").arg(base.filePath(name), QString::fromStdString(why));
            return 0;
        }
        // The name as the manifest gives it, not where this machine found it.
        bitmap.setSourceFilename(toBytes(name));
    } else if (fields.contains(QStringLiteral("rects"))) {
        if (!fields[QStringLiteral("rects")].isArray()) {
            error = QStringLiteral("\"rects\" is not a list");
            return 0;
        }
        QRegion region;
        int index = 0;
        for (const QJsonValue& value : fields[QStringLiteral("rects")].toArray()) {
            const std::optional<QRect> rect = regionRect(value);
            if (!rect) {
                error = QStringLiteral("rects[%1]: a region rectangle is [x, y, width, height] in integers").arg(index);
                return 0;
            }
            region += *rect;
            ++index;
        }
        if (!bitmap.setRegion(region)) {
            error = QStringLiteral("the region's rectangles together are larger than %1 pixels across").arg(INT_MAX);
            return 0;
        }
    } else {
        error = QStringLiteral("a bitmap needs \"file\" (or \"rects\" for a region)");
        return 0;
    }
    if (fields.contains(QStringLiteral("sourceFileName")))
        bitmap.setSourceFilename(toBytes(fields[QStringLiteral("sourceFileName")].toString()));
    bitmap.setOffsetX(fields[QStringLiteral("offsetX")].toDouble(0.0));
    bitmap.setOffsetY(fields[QStringLiteral("offsetY")].toDouble(0.0));
    return 1;
}

std::optional<CExtractedFile> BitmapJson::extract(const CResourceItem& item) const
{
    const auto& bitmap = static_cast<const CBitmapItem&>(item);
    if (!bitmap.sourceBytes().isEmpty())
        return CExtractedFile{bitmap.sourceBytes(), extensionFor(bitmap)};
    if (bitmap.kind() == CDisplayBuffer::GdiPlusImage && !bitmap.image().isNull()) {
        // Nothing was loaded from a file: give the picture itself.
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (QImageWriter(&buffer, "png").write(bitmap.image()))
            return CExtractedFile{bytes, QStringLiteral("png")};
    }
    return std::nullopt;
}
