#pragma once

#include "core/CResourceItem.h"

#include <QColor>

#include <cstdint>
#include <string>

// A named colour with alpha of the Colors group, for a game to look up by ID.
// The colour is kept as the file stores it: an int32 0x00BBGGRR (red in the
// low byte) and a separate alpha byte, 255 opaque.
class CColorItem : public CResourceItem {
public:
    std::unique_ptr<CResourceItem> createDefault() const override;
    int serialize(CArchive& ar, CSectionCoder& coder) override;

    static std::int32_t makeRgb(int red, int green, int blue);

    std::int32_t rgb() const { return m_rgb; }
    std::uint8_t alpha() const { return m_alpha; }
    int red() const { return m_rgb & 0xff; }
    int green() const { return (m_rgb >> 8) & 0xff; }
    int blue() const { return (m_rgb >> 16) & 0xff; }
    // Stored and written back, never shown; 0 in new records.
    std::int32_t reserved() const { return m_reserved; }

    void setColor(std::int32_t rgb, std::uint8_t alpha);
    // Pasting a colour from another row takes RGB and alpha together.
    void copyColorFrom(const CColorItem& other) { setColor(other.m_rgb, other.m_alpha); }

    QColor toQColor() const;
    void setFromQColor(const QColor& colour);

    // "Alpha %d, RGB( %d, %d, %d )".
    std::string specsText() const;

    // What the swatch pane shows: the colour laid over a background with its
    // alpha (0x00BBGGRR in and out), and black or white for the ID written
    // over the swatch, whichever stands out more against it.
    std::int32_t composedOver(std::int32_t backgroundRgb) const;
    std::int32_t contrastingTextRgb() const;

private:
    std::int32_t m_reserved = 0;
    std::int32_t m_rgb = 0;
    std::uint8_t m_alpha = 255;
};
