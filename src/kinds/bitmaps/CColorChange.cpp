#include "kinds/bitmaps/CColorChange.h"

#include <algorithm>
#include <cstdlib>

CColorChange::CColorChange(std::uint32_t sourceColor, int, std::uint32_t targetColor, int targetAlpha,
                           int hueTolerance, int minTolerance, int maxTolerance)
    : m_sr(int(sourceColor & 0xFF)), m_sg(int((sourceColor >> 8) & 0xFF)), m_sb(int((sourceColor >> 16) & 0xFF)),
      m_ta(std::clamp(targetAlpha, 0, 255)), m_tr(int(targetColor & 0xFF)), m_tg(int((targetColor >> 8) & 0xFF)),
      m_tb(int((targetColor >> 16) & 0xFF)), m_tolerance(hueTolerance), m_minTolerance(minTolerance),
      m_maxTolerance(maxTolerance), m_sourceMin(std::min({m_sr, m_sg, m_sb})),
      m_sourceMax(std::max({m_sr, m_sg, m_sb})), m_sourceHue(normalise(m_sr, m_sg, m_sb))
{
    // The source alpha takes no part in the comparison: the hue decides.
}

CColorChange::Normalised CColorChange::normalise(int r, int g, int b)
{
    if (r == g && g == b)
        return {};
    const int mn = std::min({r, g, b});
    const int mx = std::max({r, g, b});
    // Scaled by the largest channel, not by the range: darker shades of a hue
    // come out less saturated, which is what the tolerance is tuned for.
    return {(r - mn) * 255 / mx, (g - mn) * 255 / mx, (b - mn) * 255 / mx};
}

bool CColorChange::keepsChannelOrder(int r, int g, int b) const
{
    // Wherever the source has one channel strictly above another, the pixel
    // must not have them the other way round.
    const int s[3] = {m_sr, m_sg, m_sb};
    const int p[3] = {r, g, b};
    for (int x = 0; x < 3; ++x)
        for (int y = 0; y < 3; ++y)
            if (s[x] > s[y] && p[x] < p[y])
                return false;
    return true;
}

QRgb CColorChange::apply(QRgb pixel) const
{
    const int a = qAlpha(pixel), r = qRed(pixel), g = qGreen(pixel), b = qBlue(pixel);
    if (!keepsChannelOrder(r, g, b))
        return pixel;
    const int mn = std::min({r, g, b});
    const int mx = std::max({r, g, b});
    const Normalised hue = normalise(r, g, b);
    const int distance = std::abs(m_sourceHue.r - hue.r) + std::abs(m_sourceHue.g - hue.g) + std::abs(m_sourceHue.b - hue.b);
    if (distance > m_tolerance || std::abs(m_sourceMin - mn) > m_minTolerance || std::abs(m_sourceMax - mx) > m_maxTolerance)
        return pixel;
    const int half = m_tolerance / 2;
    const int k = distance < half ? 0 : (distance - half) * 2;
    // A tolerance of 0 only ever matches distance 0, which is a full
    // replacement. An odd tolerance lets k reach tolerance + 1 at the edge;
    // the share of the pixel's own value never goes past all of it, so the
    // blend cannot leave 0..255.
    const double p = m_tolerance > 0 ? std::min(1.0, double(k) / m_tolerance) : 0.0;
    const double q = 1.0 - p;
    auto blend = [p, q](int own, int target) { return std::clamp(int(p * own + q * target), 0, 255); };
    return qRgba(blend(r, m_tr), blend(g, m_tg), blend(b, m_tb), blend(a, m_ta));
}
