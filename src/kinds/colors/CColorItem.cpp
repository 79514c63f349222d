#include "kinds/colors/CColorItem.h"

#include "core/CArchive.h"
#include "core/CSectionCoder.h"

#include <cstdio>

std::unique_ptr<CResourceItem> CColorItem::createDefault() const
{
    return std::make_unique<CColorItem>();
}

int CColorItem::serialize(CArchive& ar, CSectionCoder& coder)
{
    CResourceItem::serialize(ar, coder);
    if (ar.isLoading()) {
        // A record cut short by a broken file must not keep the previous colour.
        m_reserved = 0;
        m_rgb = 0;
        m_alpha = 255;
    }
    coder.codeRecordHeader(ar);
    coder.codeInt(ar, m_reserved);
    return coder.codeColorPair(ar, m_rgb, m_alpha);
}

std::int32_t CColorItem::makeRgb(int red, int green, int blue)
{
    return (red & 0xff) | ((green & 0xff) << 8) | ((blue & 0xff) << 16);
}

void CColorItem::setColor(std::int32_t rgb, std::uint8_t alpha)
{
    m_rgb = rgb;
    m_alpha = alpha;
}

QColor CColorItem::toQColor() const
{
    return QColor(red(), green(), blue(), m_alpha);
}

void CColorItem::setFromQColor(const QColor& colour)
{
    const QColor rgb = colour.toRgb();
    setColor(makeRgb(rgb.red(), rgb.green(), rgb.blue()), static_cast<std::uint8_t>(rgb.alpha()));
}

std::string CColorItem::specsText() const
{
    char text[64];
    std::snprintf(text, sizeof text, "Alpha %d, RGB( %d, %d, %d )", int(m_alpha), red(), green(), blue());
    return text;
}

std::int32_t CColorItem::composedOver(std::int32_t backgroundRgb) const
{
    auto channel = [this, backgroundRgb](int shift) {
        const int front = (m_rgb >> shift) & 0xff;
        const int back = (backgroundRgb >> shift) & 0xff;
        return (front * m_alpha + back * (255 - m_alpha) + 127) / 255;
    };
    return makeRgb(channel(0), channel(8), channel(16));
}

std::int32_t CColorItem::contrastingTextRgb() const
{
    // Perceived brightness with the usual weights, scaled by 1000.
    const int brightness = red() * 299 + green() * 587 + blue() * 114;
    return brightness >= 128 * 1000 ? makeRgb(0, 0, 0) : makeRgb(255, 255, 255);
}
