#include "kinds/bitmaps/BitmapJson.h"

#include "kinds/bitmaps/CBitmapItem.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QJsonArray>

#include <cmath>

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
        QRegion region;
        for (const QJsonValue& value : fields[QStringLiteral("rects")].toArray()) {
            const QJsonArray r = value.toArray();
            if (r.size() != 4) {
                error = QStringLiteral("a region rectangle is [x, y, width, height]");
                return 0;
            }
            region += QRect(r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toInt());
        }
        bitmap.setRegion(region);
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
