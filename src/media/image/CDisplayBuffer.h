#pragma once

#include "core/CResourceItem.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QRegion>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

class CPixelBuffer8;
class CPixelBuffer16;
class QPainter;
class QPaintDevice;

// An image holder whose storage depends on its kind: a screen-format bitmap,
// 8/16/32-bit pixel buffers, a painting region, or a premultiplied ARGB image.
// Every bitmap of a document is one; views draw double-buffered into one.
//
// Colours at this interface are 0x00BBGGRR; kind 9 pixel access uses
// non-premultiplied 0xAARRGGBB. Operations answer 1 for success and 0 for
// failure.
//
// A kind 9 picture may be attached as its file's bytes: it is decoded the
// first time its pixels are needed, on whichever thread asks first, once.
// Its size and kind are known without decoding; a picture that turns out
// undecodable then becomes empty (kind 0) and says why.
class CDisplayBuffer : public CResourceItem {
public:
    enum Kind : int {
        Empty = 0,
        GdiBitmap = 1,
        DibBitmap8 = 2,
        DibBitmap16 = 3,
        DibBitmap32 = 4,
        DibMask1 = 5,
        PaintingRegion = 6,
        Icon = 7,
        Cursor = 8,
        GdiPlusImage = 9,
        DirectDrawSurface = 14,
        DisplayBufferKind = 21,
        GameDisplayBuffer = 22,
        DirectXDisplayBuffer = 23,
        OpenGLDisplayBuffer = 24,
        ReferToBitmap = 31,
        ReferToMap = 32,
        ReferToAnimation = 33,
    };
    static constexpr int kNumberOfKinds = 38;
    static constexpr std::uint32_t kInvalidColor = 0xFFFFFFFFu;
    static constexpr int kMaxSide = 32767;

    CDisplayBuffer();
    ~CDisplayBuffer() override;

    std::unique_ptr<CResourceItem> createDefault() const override;

    // The names the kind list shows, in kind order; "" outside 0..37.
    static const char* kindName(int kind);
    static int numberOfKinds() { return kNumberOfKinds; }

    // --- storage -------------------------------------------------------
    // Kinds 21-24 are made as kind 4. Same kind and actual size: nothing
    // happens. Kind 9 needs a valid paint device standing for the window.
    virtual int create(int kind, int width, int height, QPaintDevice* window = nullptr);
    // Redraws the current image into new storage of kind 1, 2 or 4 (21-24
    // mean 4); any other kind fails and leaves the buffer as it was.
    virtual int convertToKind(int kind);
    // Frees the storage; source filename and bytes stay.
    virtual void reset();
    // Copies the decoded image into a fresh premultiplied ARGB image (kind 9)
    // and records its size as the stored size.
    virtual int attachImage(const QImage& decoded);
    // Kind 9 from an image file's bytes, decoded when its pixels are first
    // needed; until then the stored and actual size are the size the bytes
    // state. 0, with the buffer as it was, when the bytes state no size.
    int attachEncoded(const QByteArray& bytes);
    // Decodes a picture attached as bytes if that has not happened yet
    // (every access to pixels does it first).
    void decodeNow() const;
    // True while a picture attached as bytes has not been decoded.
    bool awaitsDecoding() const { return m_awaitsDecoding.load(std::memory_order_acquire); }
    // While the picture waits for its decode: the bytes it waits on, and a
    // number standing for them that no other attachment ever gets, so that
    // what is made from them can be kept under it. Empty and 0 otherwise.
    QByteArray bytesAwaitingDecoding() const;
    std::uint64_t bytesAwaitingDecodingId() const;
    // An image file's bytes decoded into the form a decoded picture takes;
    // false, with *why set, when they do not decode.
    static bool decodeBytes(const QByteArray& bytes, QImage& image, std::string* why);
    // Why a picture attached as bytes could not be decoded; "" otherwise.
    std::string decodeError() const;
    // Kind 9: decodes the file. Kinds 3 and 4: loads the file as BMP. The
    // source filename and bytes are taken from the file first; on failure the
    // buffer is reset but keeps them. *error (when given) says why.
    virtual int loadFromFile(int kind, const std::string& filename, std::string* error = nullptr);
    // Kind 9 only: encodes the image with the writer of that MIME type.
    virtual int saveToFile(const std::string& filename, const std::string& mimeType) const;
    // Kind 9 only: encodes to a temporary PNG, loads it back (the PNG bytes
    // and the temporary name become the source) and deletes it. Nothing
    // changes when encoding fails.
    virtual int saveAndReloadThroughPng();
    // Writes the source bytes as they are.
    virtual int writeSourceBytes(const std::string& filename) const;
    void dropSource() override;

    // Kind 6: installs a region (a copy) / its exported bytes.
    int setRegion(const QRegion& region);
    int setRegionData(const QByteArray& bytes);
    QByteArray regionData() const;
    const QRegion* region() const;
    bool pointInRegion(int x, int y) const;

    // --- queries ---------------------------------------------------------
    int kind() const { return m_kind; }
    int actualWidth() const;
    int actualHeight() const;
    // Kind 9: the stored size; other kinds: the actual size.
    virtual double width() const;
    virtual double height() const;
    virtual int bits() const { return m_kind == PaintingRegion ? 1 : 32; }
    virtual int frames() const { return 1; }
    // Kind 6: the byte size of the region data; otherwise width × height × 4.
    virtual std::int64_t usedGameMemory() const;
    bool isDrawableByImageCopy() const;
    bool alwaysTrue() const { return true; }

    double offsetX() const { return m_offsetX; }
    double offsetY() const { return m_offsetY; }
    void setOffsetX(double value) { m_offsetX = value; }
    void setOffsetY(double value) { m_offsetY = value; }
    double storedWidth() const { return m_storedWidth; }
    double storedHeight() const { return m_storedHeight; }
    void setStoredSize(double width, double height);

    const std::string& sourceFilename() const { return m_sourceFilename; }
    void setSourceFilename(const std::string& name) { m_sourceFilename = name; }
    const QByteArray& sourceBytes() const { return m_sourceBytes; }
    void setSourceBytes(const QByteArray& bytes) { m_sourceBytes = bytes; }

    // The storage: the image of kinds 1, 4 and 9 (null otherwise), the pixel
    // buffers of kinds 2 and 3.
    const QImage& image() const
    {
        decodeNow();
        return m_image;
    }
    QImage& image()
    {
        decodeNow();
        return m_image;
    }
    CPixelBuffer8* buffer8() { return m_buffer8.get(); }
    const CPixelBuffer8* buffer8() const { return m_buffer8.get(); }
    CPixelBuffer16* buffer16() { return m_buffer16.get(); }
    const CPixelBuffer16* buffer16() const { return m_buffer16.get(); }
    // The current storage as a read-only image (kinds 1-4 and 9); null otherwise.
    QImage imageView() const;

    // Runs the painting on the storage (kinds 1-4 and 9; kind 2 is painted
    // in full colour and brought back to its colour table). 0 without storage.
    int paint(const std::function<void(QPainter&)>& painting);

    // --- drawing ---------------------------------------------------------
    // The top-left corner goes to (x + offset X, y + offset Y), truncated.
    // Kinds 1-4 replace the device's pixels, kind 6 shades the region half
    // transparently, kind 9 blends. 1 when something was drawn.
    virtual int draw(QPainter& painter, int x, int y) const;
    // The same with the top-left corner at (0, 0) whatever the offsets.
    int drawWithoutOffset(QPainter& painter) const;
    // Kind 9 drawn scaled when the size differs from the stored size;
    // otherwise a plain draw.
    virtual int stretchDraw(QPainter& painter, int x, int y, int width, int height) const;
    // The variant with nothing to do.
    virtual bool drawNothing(QPainter&, int, int) const { return false; }
    int drawInto(CDisplayBuffer& target, int x, int y) const;

    // The whole buffer covered with the colour at opacity 0..1 (blended).
    int fillAlpha(std::uint32_t color, double opacity);
    // The whole buffer set to the opaque colour.
    int fill(std::uint32_t color);
    // Out of range or without storage: get answers kInvalidColor, set 0.
    std::uint32_t pixel(int x, int y) const;
    int setPixel(int x, int y, std::uint32_t color);

    // Kind 4 only: the colour as a 24-bit BMP / the alpha channel as an
    // 8-bit greyscale BMP.
    int saveColorAsBmp24(const std::string& filename) const;
    int saveAlphaAsBmp8(const std::string& filename) const;

    // Colour kind 6 regions are shaded with (half transparent when drawn).
    static void setRegionFillColor(QRgb color);
    static QRgb regionFillColor();

    // Where draw(painter, x, y) puts the picture's top-left corner: the
    // point plus the offsets, truncated.
    QPoint topLeftFor(int x, int y) const;

private:
    bool isDrawable() const;
    void drawAt(QPainter& painter, QPoint topLeft) const;
    static int storedKind(int kind);

    // What a picture attached as bytes needs until it is decoded. The
    // decode is the one change made through a const buffer: whoever asks
    // first decodes, the others wait for it.
    struct PendingDecode {
        std::mutex mutex;
        QByteArray bytes;
        std::uint64_t id = 0;
    };

    // Atomic because a decode on another thread may find the picture
    // undecodable and empty it while the grid reads the kind.
    std::atomic<int> m_kind{Empty};
    QImage m_image;
    std::unique_ptr<PendingDecode> m_pending;
    mutable std::atomic<bool> m_awaitsDecoding{false};
    std::string m_decodeError;
    std::unique_ptr<CPixelBuffer8> m_buffer8;
    std::unique_ptr<CPixelBuffer16> m_buffer16;
    std::unique_ptr<QRegion> m_region;
    QByteArray m_sourceBytes;
    std::string m_sourceFilename;
    double m_offsetX = 0.0;
    double m_offsetY = 0.0;
    double m_storedWidth = 0.0;
    double m_storedHeight = 0.0;
};
