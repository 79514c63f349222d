#pragma once

#include "media/image/CDisplayBuffer.h"

#include <QByteArray>

#include <cstdint>
#include <string>

class CColorChange;

// A picture of the Bitmaps group: a display buffer with the file it came
// from (its bytes are what a document stores), a drawing offset and the
// pixel commands of the group. Animations, maps and world elements refer to
// bitmaps by row.
class CBitmapItem : public CDisplayBuffer {
public:
    // The record version written in front of the fields.
    static constexpr std::int32_t kRecordVersion = 2;

    std::unique_ptr<CResourceItem> createDefault() const override;
    int serialize(CArchive& ar, CSectionCoder& coder) override;

    void reset() override;

    // The kind this record is stored with. It differs from kind() only for a
    // record read from a file whose picture could not be rebuilt here (an
    // undecodable image, a kind with no storage of ours): the record then
    // shows as empty but is written back as it was read.
    int recordKind() const;

    // Kind 9: the stored size; a record kept as read: the size it was read
    // with; otherwise the picture's own.
    double width() const override;
    double height() const override;
    // 1 for a painting region, else 32.
    int bits() const override;

    // "%d Bits, %d Frames".
    std::string specsText() const;

    // Kind 9 only. Cuts the picture down to the smallest rectangle holding
    // every pixel that is not fully transparent; with adjustOffsets the
    // offsets grow by the columns and rows cut on the left and top, so the
    // visible pixels stay where they were drawn. A picture with no such
    // border succeeds unchanged; a fully transparent one fails unchanged.
    int cropToAlphaChannel(bool adjustOffsets);

    // Kind 9 only: pixels whose colour (0x00BBGGRR) matches exactly become
    // fully transparent. 1 when the picture could be worked on.
    int setAlphaChannelToColor(std::uint32_t color);

    // Kind 9 only: every pixel goes through the colour change, row by row.
    int changeColor(const CColorChange& change);
    int changeColor(std::uint32_t sourceColor, int sourceAlpha, std::uint32_t targetColor, int targetAlpha,
                    int hueTolerance, int minTolerance, int maxTolerance);

private:
    // What a file record held when its picture could not be rebuilt.
    struct KeptRecord {
        int kind = Empty;
        double width = 0.0;
        double height = 0.0;
        QByteArray regionBytes;
    };

    bool hasPicture() const { return kind() == GdiPlusImage && !image().isNull(); }
    // The picture in the premultiplied layout the pixel commands walk.
    bool preparePixels();
    QRect workArea() const;
    QByteArray payloadToWrite() const;
    void readPayload(CArchive& ar, CSectionCoder& coder, int kind, double width, double height);

    KeptRecord m_kept;
};
