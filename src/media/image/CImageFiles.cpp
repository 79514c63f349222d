#include "media/image/CImageFiles.h"

#include "core/CRegularFile.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryFile>
#include <QtEndian>

namespace {
QString temporaryFolder()
{
    const QString temp = qEnvironmentVariable("TEMP");
    if (!temp.isEmpty() && QFileInfo(temp).isDir())
        return temp;
    return QDir::tempPath();
}

// A PNG chunk states its length before its bytes; a decoder may set that
// much memory aside before it finds the file short. A PNG whose chunks do
// not fit in the bytes present is refused before any decoder sees it.
bool pngChunksFit(const QByteArray& bytes)
{
    static const QByteArray signature("\x89PNG\r\n\x1a\n", 8);
    if (!bytes.startsWith(signature))
        return true;
    qint64 pos = signature.size();
    while (pos + 8 <= bytes.size()) {
        const qint64 length = qFromBigEndian<quint32>(bytes.constData() + pos);
        const qint64 end = pos + 12 + length;  // length, type, data, CRC
        if (length > 0x7FFFFFFF || end > bytes.size())
            return false;
        if (bytes.mid(pos + 4, 4) == "IEND")
            break;
        pos = end;
    }
    return true;
}

int decodeFrom(const QByteArray& bytes, QImage& image, std::string* error)
{
    image = QImage();
    if (CImageFiles::looksLikeMetafile(bytes.left(64))) {
        if (error)
            *error = CImageFiles::kMetafileMessage;
        return 0;
    }
    QImage decoded;
    if (pngChunksFit(bytes)) {
        QByteArray copy = bytes;
        QBuffer buffer(&copy);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        reader.setAutoTransform(false);
        reader.setAllocationLimit(CImageFiles::kAllocationLimitMB);
        decoded = reader.read();
    }
    if (decoded.isNull()) {
        if (error)
            *error = CImageFiles::kUnreadableMessage;
        return 0;
    }
    image = decoded.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return image.isNull() ? 0 : 1;
}
} // namespace

std::string CImageFiles::makeTemporaryFileName(const std::string& extension)
{
    QTemporaryFile file(temporaryFolder() + QLatin1Char('/') + QLatin1String(kTemporaryPrefix) +
                        QStringLiteral("XXXXXX.") + QString::fromStdString(extension));
    file.setAutoRemove(false);
    if (!file.open())
        return std::string();
    return file.fileName().toStdString();
}

bool CImageFiles::looksLikeMetafile(const QByteArray& head)
{
    if (head.size() >= 4 && qFromLittleEndian<quint32>(head.constData()) == 0x9AC6CDD7u)
        return true; // placeable WMF
    if (head.size() >= 44 && qFromLittleEndian<quint32>(head.constData()) == 1 && head.mid(40, 4) == " EMF")
        return true;
    // Plain WMF header: type 1 or 2, header size 9 words, version 0x0100 or 0x0300.
    if (head.size() >= 6) {
        const quint16 type = qFromLittleEndian<quint16>(head.constData());
        const quint16 words = qFromLittleEndian<quint16>(head.constData() + 2);
        const quint16 version = qFromLittleEndian<quint16>(head.constData() + 4);
        return (type == 1 || type == 2) && words == 9 && (version == 0x0100 || version == 0x0300);
    }
    return false;
}

int CImageFiles::decodeImageFile(const std::string& filename, QImage& image, std::string* error)
{
    const std::optional<QByteArray> bytes = CRegularFile::read(filename);
    if (!bytes) {
        image = QImage();
        if (error)
            *error = CImageFiles::kUnreadableMessage;
        return 0;
    }
    return decodeImageBytes(*bytes, image, error);
}

int CImageFiles::decodeImageBytes(const QByteArray& bytes, QImage& image, std::string* error)
{
    return decodeFrom(bytes, image, error);
}

QSize CImageFiles::statedSize(const QByteArray& bytes)
{
    if (looksLikeMetafile(bytes.left(64)))
        return {};
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    return reader.size();
}

int CImageFiles::encodeImage(const QImage& image, const std::string& filename, const std::string& mimeType)
{
    if (image.isNull())
        return 0;
    const QByteArray mime = QByteArray::fromStdString(mimeType);
    if (!QImageWriter::supportedMimeTypes().contains(mime))
        return 0;
    const QList<QByteArray> formats = QImageWriter::imageFormatsForMimeType(mime);
    if (formats.isEmpty())
        return 0;
    QImageWriter writer(QString::fromStdString(filename), formats.first());
    return writer.write(image) ? 1 : 0;
}
