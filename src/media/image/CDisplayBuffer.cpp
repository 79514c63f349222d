#include "media/image/CDisplayBuffer.h"

#include "core/CRegularFile.h"

#include "media/image/CBmpWriter.h"
#include "media/image/CImageFiles.h"
#include "media/image/CPixelBuffer16.h"
#include "media/image/CPixelBuffer8.h"
#include "media/image/CPixelFormat.h"
#include "media/image/CRegionData.h"
#include "quillop/runtime/TypeTexts.h"

#include <QFile>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <climits>

namespace {
std::atomic<QRgb> g_regionFillColor{qRgb(128, 255, 0)};

// Offsets come from files: a NaN or a huge value must still give a position,
// never an undefined conversion.
int truncateToInt(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::clamp(value, double(INT_MIN), double(INT_MAX)));
}

bool validSide(int side) { return side >= 1 && side <= CDisplayBuffer::kMaxSide; }

// The pixels of a decoded picture in a premultiplied image of our own,
// without what the decoder attached to it (texts, resolution).
QImage freshCopy(const QImage& decoded)
{
    if (decoded.isNull() || !validSide(decoded.width()) || !validSide(decoded.height()))
        return {};
    QImage copy(decoded.size(), QImage::Format_ARGB32_Premultiplied);
    if (copy.isNull())
        return {};
    copy.fill(Qt::transparent);
    QPainter painter(&copy);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, decoded);
    return copy;
}
} // namespace

CDisplayBuffer::CDisplayBuffer() = default;

CDisplayBuffer::~CDisplayBuffer() = default;

std::unique_ptr<CResourceItem> CDisplayBuffer::createDefault() const
{
    return std::make_unique<CDisplayBuffer>();
}

const char* CDisplayBuffer::kindName(int kind)
{
    return quillop::bitmapKindName(kind);
}

int CDisplayBuffer::storedKind(int kind)
{
    return kind >= DisplayBufferKind && kind <= OpenGLDisplayBuffer ? int(DibBitmap32) : kind;
}

int CDisplayBuffer::create(int kind, int width, int height, QPaintDevice* window)
{
    kind = storedKind(kind);
    if (kind == m_kind && kind != Empty && actualWidth() == width && actualHeight() == height)
        return 1;
    reset();
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (!validSide(width) || !validSide(height))
        return 0;
    switch (kind) {
    case GdiBitmap:
        m_image = QImage(width, height, QImage::Format_RGB32);
        if (!m_image.isNull())
            m_image.fill(Qt::black);
        break;
    case DibBitmap8:
        m_buffer8 = std::make_unique<CPixelBuffer8>();
        if (!m_buffer8->create(width, height))
            m_buffer8.reset();
        break;
    case DibBitmap16:
        m_buffer16 = std::make_unique<CPixelBuffer16>();
        if (!m_buffer16->create(width, height))
            m_buffer16.reset();
        break;
    case DibBitmap32:
    case GdiPlusImage:
        if (kind == GdiPlusImage && window == nullptr)
            return 0;
        m_image = QImage(width, height, QImage::Format_ARGB32_Premultiplied);
        if (!m_image.isNull())
            m_image.fill(Qt::transparent);
        break;
    default:
        return 0;
    }
    if (m_image.isNull() && !m_buffer8 && !m_buffer16)
        return 0;
    m_kind = kind;
    return 1;
}

void CDisplayBuffer::reset()
{
    m_pending.reset();
    m_awaitsDecoding = false;
    m_decodeError.clear();
    m_region.reset();
    m_image = QImage();
    m_buffer8.reset();
    m_buffer16.reset();
    m_storedWidth = 0.0;
    m_storedHeight = 0.0;
    m_kind = Empty;
}

int CDisplayBuffer::convertToKind(int kind)
{
    kind = storedKind(kind);
    decodeNow();
    if (kind == m_kind)
        return 1;
    if (kind != GdiBitmap && kind != DibBitmap8 && kind != DibBitmap32)
        return 0;
    const int w = actualWidth(), h = actualHeight();
    if (!validSide(w) || !validSide(h))
        return 0;
    // Draw the current image so that, with the draw's offsets, its pixels land
    // at (0, 0) of the new storage.
    QImage target(w, h, kind == GdiBitmap || kind == DibBitmap8 ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    if (target.isNull())
        return 0;
    target.fill(kind == DibBitmap32 ? QColor(Qt::transparent) : QColor(Qt::black));
    {
        QPainter painter(&target);
        drawAt(painter, QPoint(0, 0));
    }
    std::unique_ptr<CPixelBuffer8> buffer8;
    if (kind == DibBitmap8) {
        buffer8 = std::make_unique<CPixelBuffer8>();
        if (!buffer8->assignFromImage(target))
            return 0;
        target = QImage();
    }
    const double storedWidth = m_storedWidth, storedHeight = m_storedHeight;
    reset();
    m_image = target;
    m_buffer8 = std::move(buffer8);
    m_storedWidth = storedWidth;
    m_storedHeight = storedHeight;
    m_kind = kind;
    return 1;
}

int CDisplayBuffer::attachImage(const QImage& decoded)
{
    const QImage copy = freshCopy(decoded);
    if (copy.isNull())
        return 0;
    reset();
    m_image = copy;
    m_kind = GdiPlusImage;
    m_storedWidth = copy.width();
    m_storedHeight = copy.height();
    return 1;
}

int CDisplayBuffer::attachEncoded(const QByteArray& bytes)
{
    const QSize size = CImageFiles::statedSize(bytes);
    if (!validSide(size.width()) || !validSide(size.height()))
        return 0;
    reset();
    static std::atomic<std::uint64_t> lastId{0};
    m_pending = std::make_unique<PendingDecode>();
    m_pending->bytes = bytes;
    m_pending->id = ++lastId;
    m_kind = GdiPlusImage;
    m_storedWidth = size.width();
    m_storedHeight = size.height();
    m_awaitsDecoding.store(true, std::memory_order_release);
    return 1;
}

void CDisplayBuffer::decodeNow() const
{
    if (!m_awaitsDecoding.load(std::memory_order_acquire))
        return;
    std::lock_guard<std::mutex> guard(m_pending->mutex);
    if (!m_awaitsDecoding.load(std::memory_order_relaxed))
        return;  // another thread decoded it while this one waited
    auto& self = const_cast<CDisplayBuffer&>(*this);
    std::string why;
    if (!decodeBytes(m_pending->bytes, self.m_image, &why)) {
        self.m_decodeError = why;
        self.m_kind = Empty;
    }
    m_pending->bytes = QByteArray();
    m_awaitsDecoding.store(false, std::memory_order_release);
}

bool CDisplayBuffer::decodeBytes(const QByteArray& bytes, QImage& image, std::string* why)
{
    QImage decoded;
    std::string reason;
    image = CImageFiles::decodeImageBytes(bytes, decoded, &reason) ? freshCopy(decoded) : QImage();
    if (image.isNull() && why)
        *why = reason.empty() ? CImageFiles::kUnreadableMessage : reason;
    return !image.isNull();
}

QByteArray CDisplayBuffer::bytesAwaitingDecoding() const
{
    if (!awaitsDecoding())
        return {};
    std::lock_guard<std::mutex> guard(m_pending->mutex);
    return m_pending->bytes;
}

std::uint64_t CDisplayBuffer::bytesAwaitingDecodingId() const
{
    return awaitsDecoding() ? m_pending->id : 0;
}

std::string CDisplayBuffer::decodeError() const
{
    return awaitsDecoding() ? std::string() : m_decodeError;
}

int CDisplayBuffer::loadFromFile(int kind, const std::string& filename, std::string* error)
{
    m_sourceFilename = filename;
    const std::optional<QByteArray> bytes = CRegularFile::read(filename);
    m_sourceBytes = bytes.value_or(QByteArray());
    int result = 0;
    if (!bytes) {
        // Not a regular file, or too large to hold: nothing is decoded.
    } else if (kind == GdiPlusImage) {
        QImage decoded;
        result = CImageFiles::decodeImageBytes(*bytes, decoded, error) && attachImage(decoded);
    } else if (kind == DibBitmap16) {
        reset();
        auto buffer = std::make_unique<CPixelBuffer16>();
        if (buffer->loadBmp(filename)) {
            m_buffer16 = std::move(buffer);
            m_kind = DibBitmap16;
            result = 1;
        }
    } else if (kind == DibBitmap32) {
        QImage decoded;
        if (CImageFiles::decodeImageBytes(*bytes, decoded, error)) {
            reset();
            m_image = decoded.convertToFormat(QImage::Format_ARGB32_Premultiplied);
            m_kind = DibBitmap32;
            result = m_image.isNull() ? 0 : 1;
        }
    }
    if (!result) {
        reset();
        if (error && error->empty())
            *error = CImageFiles::kUnreadableMessage;
    }
    return result;
}

int CDisplayBuffer::saveToFile(const std::string& filename, const std::string& mimeType) const
{
    decodeNow();
    if (m_kind != GdiPlusImage)
        return 0;
    return CImageFiles::encodeImage(m_image, filename, mimeType);
}

int CDisplayBuffer::saveAndReloadThroughPng()
{
    decodeNow();
    if (m_kind != GdiPlusImage || m_image.isNull())
        return 0;
    const std::string name = CImageFiles::makeTemporaryFileName("png");
    if (name.empty())
        return 0;
    int result = 0;
    if (saveToFile(name, "image/png"))
        result = loadFromFile(GdiPlusImage, name);
    QFile::remove(QString::fromStdString(name));
    return result;
}

int CDisplayBuffer::writeSourceBytes(const std::string& filename) const
{
    QFile file(QString::fromStdString(filename));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    return file.write(m_sourceBytes) == m_sourceBytes.size() && file.flush() ? 1 : 0;
}

void CDisplayBuffer::dropSource()
{
    m_sourceFilename.clear();
    m_sourceBytes.clear();
}

int CDisplayBuffer::setRegion(const QRegion& region)
{
    if (!CRegionData::sizeFits(region))
        return 0;
    reset();
    m_region = std::make_unique<QRegion>(region);
    m_kind = PaintingRegion;
    return 1;
}

int CDisplayBuffer::setRegionData(const QByteArray& bytes)
{
    QRegion region;
    if (!CRegionData::fromBytes(bytes, region))
        return 0;
    return setRegion(region);
}

QByteArray CDisplayBuffer::regionData() const
{
    return m_region ? CRegionData::toBytes(*m_region) : QByteArray();
}

const QRegion* CDisplayBuffer::region() const
{
    return m_region.get();
}

bool CDisplayBuffer::pointInRegion(int x, int y) const
{
    return m_region && m_region->contains(QPoint(x, y));
}

int CDisplayBuffer::actualWidth() const
{
    switch (m_kind) {
    case GdiBitmap:
    case DibBitmap32:
    case GdiPlusImage:
        return awaitsDecoding() ? int(m_storedWidth) : m_image.width();
    case DibBitmap8:
        return m_buffer8 ? m_buffer8->width() : 0;
    case DibBitmap16:
        return m_buffer16 ? m_buffer16->width() : 0;
    case PaintingRegion:
        return m_region ? m_region->boundingRect().width() : 0;
    default:
        return 0;
    }
}

int CDisplayBuffer::actualHeight() const
{
    switch (m_kind) {
    case GdiBitmap:
    case DibBitmap32:
    case GdiPlusImage:
        return awaitsDecoding() ? int(m_storedHeight) : m_image.height();
    case DibBitmap8:
        return m_buffer8 ? m_buffer8->height() : 0;
    case DibBitmap16:
        return m_buffer16 ? m_buffer16->height() : 0;
    case PaintingRegion:
        return m_region ? m_region->boundingRect().height() : 0;
    default:
        return 0;
    }
}

double CDisplayBuffer::width() const
{
    return m_kind == GdiPlusImage ? m_storedWidth : actualWidth();
}

double CDisplayBuffer::height() const
{
    return m_kind == GdiPlusImage ? m_storedHeight : actualHeight();
}

void CDisplayBuffer::setStoredSize(double width, double height)
{
    m_storedWidth = width;
    m_storedHeight = height;
}

std::int64_t CDisplayBuffer::usedGameMemory() const
{
    if (m_kind == PaintingRegion)
        return regionData().size();
    return std::int64_t(actualWidth()) * actualHeight() * 4;
}

bool CDisplayBuffer::isDrawableByImageCopy() const
{
    return (m_kind >= Icon && m_kind <= GdiPlusImage) || (m_kind >= ReferToBitmap && m_kind <= ReferToAnimation);
}

QImage CDisplayBuffer::imageView() const
{
    decodeNow();
    switch (m_kind) {
    case GdiBitmap:
    case DibBitmap32:
    case GdiPlusImage:
        return m_image;
    case DibBitmap8:
        return m_buffer8 ? m_buffer8->view() : QImage();
    case DibBitmap16:
        return m_buffer16 ? m_buffer16->constView() : QImage();
    default:
        return QImage();
    }
}

int CDisplayBuffer::paint(const std::function<void(QPainter&)>& painting)
{
    decodeNow();
    switch (m_kind) {
    case GdiBitmap:
    case DibBitmap32:
    case GdiPlusImage: {
        if (m_image.isNull())
            return 0;
        QPainter painter(&m_image);
        painting(painter);
        return 1;
    }
    case DibBitmap16: {
        QImage view = m_buffer16->view();
        QPainter painter(&view);
        painting(painter);
        return 1;
    }
    case DibBitmap8: {
        // Painters cannot work on 8-bit images: paint a full-colour copy and
        // take every pixel back to the nearest entry of the table.
        QImage copy = m_buffer8->view().convertToFormat(QImage::Format_RGB32);
        {
            QPainter painter(&copy);
            painting(painter);
        }
        CPixelBuffer8 repainted = *m_buffer8;
        if (!repainted.assignFromImage(copy))
            return 0;
        *m_buffer8 = std::move(repainted);
        return 1;
    }
    default:
        return 0;
    }
}

QPoint CDisplayBuffer::topLeftFor(int x, int y) const
{
    return QPoint(truncateToInt(x + m_offsetX), truncateToInt(y + m_offsetY));
}

void CDisplayBuffer::drawAt(QPainter& painter, QPoint topLeft) const
{
    switch (m_kind) {
    case GdiBitmap:
    case DibBitmap8:
    case DibBitmap16:
    case DibBitmap32: {
        // A block transfer sets the device's pixels rather than blending.
        painter.save();
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        // 16-bit pixels are widened our way (low bits 0), as pixel reads give them.
        painter.drawImage(topLeft, m_kind == DibBitmap16 ? m_buffer16->toRgb32() : imageView());
        painter.restore();
        break;
    }
    case PaintingRegion: {
        if (!m_region)
            break;
        QColor shade = QColor::fromRgb(regionFillColor());
        shade.setAlpha(128);
        for (const QRect& r : m_region->translated(topLeft))
            painter.fillRect(r, shade);
        break;
    }
    case GdiPlusImage:
        painter.drawImage(topLeft, m_image);
        break;
    default:
        break;
    }
}

bool CDisplayBuffer::isDrawable() const
{
    return (m_kind >= GdiBitmap && m_kind <= DibBitmap32) || (m_kind == PaintingRegion && m_region) ||
           m_kind == GdiPlusImage;
}

int CDisplayBuffer::draw(QPainter& painter, int x, int y) const
{
    decodeNow();
    if (!isDrawable())
        return 0;
    drawAt(painter, topLeftFor(x, y));
    return 1;
}

int CDisplayBuffer::drawWithoutOffset(QPainter& painter) const
{
    decodeNow();
    if (!isDrawable())
        return 0;
    drawAt(painter, QPoint(0, 0));
    return 1;
}

int CDisplayBuffer::stretchDraw(QPainter& painter, int x, int y, int width, int height) const
{
    decodeNow();
    if (m_kind == GdiPlusImage && (width != m_storedWidth || height != m_storedHeight)) {
        const QRectF target(x + m_offsetX, y + m_offsetY, width, height);
        if (!target.isValid() || !std::isfinite(target.left()) || !std::isfinite(target.top()))
            return 0;
        painter.drawImage(target, m_image);
        return 1;
    }
    return draw(painter, x, y);
}

int CDisplayBuffer::drawInto(CDisplayBuffer& target, int x, int y) const
{
    if (&target == this)
        return 0;
    int drawn = 0;
    const int painted = target.paint([&](QPainter& painter) { drawn = draw(painter, x, y); });
    return painted && drawn;
}

int CDisplayBuffer::fillAlpha(std::uint32_t color, double opacity)
{
    const double scaled = std::isnan(opacity) ? 0.0 : opacity * 255.0;
    QColor brush = QColor::fromRgb(CPixelFormat::qrgbFromColor(color));
    brush.setAlpha(int(std::clamp(scaled, 0.0, 255.0)));
    return paint([&](QPainter& painter) { painter.fillRect(QRect(0, 0, actualWidth(), actualHeight()), brush); });
}

int CDisplayBuffer::fill(std::uint32_t color)
{
    decodeNow();
    switch (m_kind) {
    case GdiBitmap:
    case DibBitmap32:
    case GdiPlusImage:
        m_image.fill(CPixelFormat::qrgbFromColor(color));
        return 1;
    case DibBitmap8:
        m_buffer8->fill(m_buffer8->nearestIndex(color));
        return 1;
    case DibBitmap16:
        m_buffer16->fill(CPixelFormat::rgb16FromColor(color));
        return 1;
    default:
        return 0;
    }
}

std::uint32_t CDisplayBuffer::pixel(int x, int y) const
{
    decodeNow();
    switch (m_kind) {
    case GdiBitmap:
    case DibBitmap32:
        if (!m_image.valid(x, y))
            return kInvalidColor;
        return CPixelFormat::colorFromQrgb(reinterpret_cast<const QRgb*>(m_image.constScanLine(y))[x]);
    case GdiPlusImage:
        if (!m_image.valid(x, y))
            return kInvalidColor;
        return qUnpremultiply(reinterpret_cast<const QRgb*>(m_image.constScanLine(y))[x]);
    case DibBitmap8:
        return m_buffer8->contains(x, y) ? m_buffer8->colorAt(m_buffer8->pixel(x, y)) : kInvalidColor;
    case DibBitmap16:
        return m_buffer16->contains(x, y) ? CPixelFormat::colorFromRgb16(m_buffer16->pixel(x, y)) : kInvalidColor;
    default:
        return kInvalidColor;
    }
}

int CDisplayBuffer::setPixel(int x, int y, std::uint32_t color)
{
    decodeNow();
    switch (m_kind) {
    case GdiBitmap:
    case DibBitmap32:
        if (!m_image.valid(x, y))
            return 0;
        // Opaque, so that the premultiplied storage stays valid.
        reinterpret_cast<QRgb*>(m_image.scanLine(y))[x] = CPixelFormat::qrgbFromColor(color);
        return 1;
    case GdiPlusImage:
        if (!m_image.valid(x, y))
            return 0;
        reinterpret_cast<QRgb*>(m_image.scanLine(y))[x] = qPremultiply(color);
        return 1;
    case DibBitmap8:
        if (!m_buffer8->contains(x, y))
            return 0;
        m_buffer8->setPixel(x, y, m_buffer8->nearestIndex(color));
        return 1;
    case DibBitmap16:
        if (!m_buffer16->contains(x, y))
            return 0;
        m_buffer16->setPixel(x, y, CPixelFormat::rgb16FromColor(color));
        return 1;
    default:
        return 0;
    }
}

int CDisplayBuffer::saveColorAsBmp24(const std::string& filename) const
{
    return m_kind == DibBitmap32 ? CBmpWriter::writeFile(filename, CBmpWriter::colorBmp24(m_image)) : 0;
}

int CDisplayBuffer::saveAlphaAsBmp8(const std::string& filename) const
{
    return m_kind == DibBitmap32 ? CBmpWriter::writeFile(filename, CBmpWriter::alphaBmp8(m_image)) : 0;
}

void CDisplayBuffer::setRegionFillColor(QRgb color)
{
    g_regionFillColor = color;
}

QRgb CDisplayBuffer::regionFillColor()
{
    return g_regionFillColor;
}
