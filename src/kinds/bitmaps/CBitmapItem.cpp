#include "kinds/bitmaps/CBitmapItem.h"

#include "core/CArchive.h"
#include "core/CArchiveException.h"
#include "core/CSectionCoder.h"
#include "kinds/bitmaps/CColorChange.h"
#include "media/image/CImageFiles.h"
#include "media/image/CRegionData.h"
#include "media/image/OpaqueBounds.h"

#include <QBuffer>
#include <QImageWriter>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
// Sizes shown come from files or callers as reals; the pixels worked on are
// never more than the picture has.
int sideWithin(double shown, int actual)
{
    if (!(shown > 0.0))
        return 0;
    return shown >= actual ? actual : int(shown);
}

// A picture that only exists in memory (attached, or its source dropped)
// still has to survive a save: it is stored as PNG bytes.
QByteArray encodePng(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    return writer.write(image) ? bytes : QByteArray();
}

QRgb* line(QImage& image, int y) { return reinterpret_cast<QRgb*>(image.scanLine(y)); }
} // namespace

std::unique_ptr<CResourceItem> CBitmapItem::createDefault() const
{
    return std::make_unique<CBitmapItem>();
}

void CBitmapItem::reset()
{
    m_kept = KeptRecord{};
    CDisplayBuffer::reset();
}

int CBitmapItem::recordKind() const
{
    return kind() == Empty ? m_kept.kind : kind();
}

double CBitmapItem::width() const
{
    return kind() == Empty && m_kept.kind != Empty ? m_kept.width : CDisplayBuffer::width();
}

double CBitmapItem::height() const
{
    return kind() == Empty && m_kept.kind != Empty ? m_kept.height : CDisplayBuffer::height();
}

int CBitmapItem::bits() const
{
    return recordKind() == PaintingRegion ? 1 : 32;
}

std::string CBitmapItem::specsText() const
{
    char text[64];
    std::snprintf(text, sizeof text, "%d Bits, %d Frames", bits(), frames());
    return text;
}

QByteArray CBitmapItem::payloadToWrite() const
{
    if (recordKind() == PaintingRegion)
        return kind() == PaintingRegion ? regionData() : m_kept.regionBytes;
    if (recordKind() == GdiPlusImage) {
        if (sourceBytes().isEmpty() && hasPicture())
            return encodePng(image());
        return sourceBytes();
    }
    return QByteArray();
}

int CBitmapItem::serialize(CArchive& ar, CSectionCoder& coder)
{
    CResourceItem::serialize(ar, coder);
    std::int32_t recordKind = this->recordKind();
    std::string id = this->id();
    std::string source = sourceFilename();
    std::string comments = this->comments();
    // The size written is the picture's own; a record kept as read keeps its
    // stored size.
    const bool kept = kind() == Empty && m_kept.kind != Empty;
    double w = kept ? m_kept.width : actualWidth();
    double h = kept ? m_kept.height : actualHeight();
    std::int32_t bitCount = bits();
    std::int32_t frameCount = frames();
    double offX = offsetX();
    double offY = offsetY();

    coder.codeRecordHeader(ar, kRecordVersion);
    coder.codeInt(ar, recordKind);
    coder.codeString(ar, id);
    coder.codeString(ar, source);
    coder.codeString(ar, comments);
    coder.codeDouble(ar, w);
    coder.codeDouble(ar, h);
    coder.codeInt(ar, bitCount);
    coder.codeInt(ar, frameCount);
    coder.codeDouble(ar, offX);
    coder.codeDouble(ar, offY);

    if (!ar.isLoading()) {
        if (recordKind != GdiPlusImage && recordKind != PaintingRegion)
            return 1;
        QByteArray payload = payloadToWrite();
        std::int32_t size = std::int32_t(payload.size());
        coder.codeInt(ar, size);
        return coder.writeBlock(ar, payload.constData(), std::size_t(payload.size()));
    }

    // The record's own ID and comments win over the header's.
    setId(id);
    setComments(comments);
    reset();
    setSourceBytes(QByteArray());
    setOffsetX(offX);
    setOffsetY(offY);
    readPayload(ar, coder, recordKind, w, h);
    setSourceFilename(source);
    return 1;
}

void CBitmapItem::readPayload(CArchive& ar, CSectionCoder& coder, int recordKind, double w, double h)
{
    if (recordKind == Empty)
        return;
    QByteArray payload;
    if (recordKind == GdiPlusImage || recordKind == PaintingRegion) {
        std::int32_t size = 0;
        coder.codeInt(ar, size);
        if (size > 0) {
            ar.requireRemaining(size);
            payload = QByteArray(size, Qt::Uninitialized);
            coder.codeBlock(ar, payload.data(), std::size_t(size));
        }
    }
    int rebuilt = 0;
    if (recordKind == GdiPlusImage) {
        // The stored bytes stay the source, so a save writes them back
        // unchanged. A picture whose bytes state its size is decoded when
        // first drawn or worked on, so that a document opens at the speed
        // its bytes are read; should it then prove undecodable, the record
        // kept here goes back to the file as it was read.
        if (attachEncoded(payload)) {
            setSourceBytes(payload);
            m_kept = KeptRecord{recordKind, w, h, QByteArray()};
            return;
        }
        QImage decoded;
        rebuilt = CImageFiles::decodeImageBytes(payload, decoded) && attachImage(decoded);
        setSourceBytes(payload);
    } else if (recordKind == PaintingRegion) {
        // A size of 0 or less stands for a region with no rectangles.
        QRegion region;
        const bool isList = !payload.isEmpty() && CRegionData::fromBytes(payload, region);
        // A union wider or taller than an int has no size to show or save.
        if (isList && !CRegionData::sizeFits(region))
            throw CArchiveException(CArchiveException::Cause::BadLength, "region larger than an int");
        rebuilt = payload.isEmpty() ? setRegion(QRegion()) : isList && setRegion(region);
    }
    // Other kinds carry no pixels in a file; making blank storage of a size
    // the file claims would allocate on the file's word, and show nothing.
    if (!rebuilt) {
        reset();
        m_kept = KeptRecord{recordKind, w, h, recordKind == PaintingRegion ? payload : QByteArray()};
    }
}

QRect CBitmapItem::workArea() const
{
    return QRect(0, 0, sideWithin(CDisplayBuffer::width(), image().width()), sideWithin(CDisplayBuffer::height(), image().height()));
}

bool CBitmapItem::preparePixels()
{
    if (!hasPicture())
        return false;
    if (image().format() != QImage::Format_ARGB32_Premultiplied)
        image().convertTo(QImage::Format_ARGB32_Premultiplied);
    return !image().isNull();
}

int CBitmapItem::cropToAlphaChannel(bool adjustOffsets)
{
    if (!preparePixels())
        return 0;
    const QRect area = workArea();
    const QRect visible = opaqueBounds(image(), area);
    if (visible.isEmpty())
        return 0;  // nothing visible: an empty area cannot be copied
    if (visible.size() == area.size())
        return 1;
    const int left = visible.left(), top = visible.top();
    const QImage copy = image().copy(visible);
    if (copy.isNull())
        return 0;
    const std::string source = sourceFilename();
    if (!attachImage(copy))
        return 0;
    setSourceFilename(source);
    if (adjustOffsets) {
        setOffsetX(offsetX() + left);
        setOffsetY(offsetY() + top);
    }
    return 1;
}

int CBitmapItem::setAlphaChannelToColor(std::uint32_t color)
{
    if (!preparePixels())
        return 0;
    const QRect area = workArea();
    const int r = int(color & 0xFF), g = int((color >> 8) & 0xFF), b = int((color >> 16) & 0xFF);
    QImage& picture = image();
    for (int y = 0; y < area.height(); ++y) {
        QRgb* row = line(picture, y);
        for (int x = 0; x < area.width(); ++x) {
            const QRgb p = qUnpremultiply(row[x]);
            // Premultiplied storage has no colour under alpha 0: the pixel
            // becomes transparent black, which draws and encodes the same.
            if (qRed(p) == r && qGreen(p) == g && qBlue(p) == b)
                row[x] = qPremultiply(qRgba(r, g, b, 0));
        }
    }
    return 1;
}

int CBitmapItem::changeColor(const CColorChange& change)
{
    if (!preparePixels())
        return 0;
    const QRect area = workArea();
    QImage& picture = image();
    for (int y = 0; y < area.height(); ++y) {
        QRgb* row = line(picture, y);
        for (int x = 0; x < area.width(); ++x) {
            const QRgb p = qUnpremultiply(row[x]);
            const QRgb changed = change.apply(p);
            // Untouched pixels are not written back: a round trip through
            // the unpremultiplied value could shift them.
            if (changed != p)
                row[x] = qPremultiply(changed);
        }
    }
    return 1;
}

int CBitmapItem::changeColor(std::uint32_t sourceColor, int sourceAlpha, std::uint32_t targetColor, int targetAlpha,
                             int hueTolerance, int minTolerance, int maxTolerance)
{
    return changeColor(CColorChange(sourceColor, sourceAlpha, targetColor, targetAlpha, hueTolerance, minTolerance, maxTolerance));
}
