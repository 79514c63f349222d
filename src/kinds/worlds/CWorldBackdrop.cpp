#include "kinds/worlds/CWorldBackdrop.h"

#include <QPainter>

#include <algorithm>

bool CWorldBackdrop::holdsBottomOf(const CWorldFrame& frame) const
{
    const std::vector<CWorldFrame::Layer>& layers = frame.layers();
    return m_layers.size() <= layers.size() &&
           std::equal(m_layers.begin(), m_layers.end(), layers.begin(), &CWorldFrame::sameLayer);
}

const QImage& CWorldBackdrop::picture(const CWorldFrame& frame, std::size_t still, QSize size, qreal ratio,
                                      const QTransform& view, const Painting& paint)
{
    const QSize pixels = (QSizeF(size) * ratio).toSize();
    if (pixels.isEmpty()) {
        m_image = QImage();
        m_layers.clear();
        m_made = false;
        return m_image;
    }
    const bool keeps = m_made && m_image.size() == pixels && m_image.devicePixelRatio() == ratio && m_view == view &&
                       holdsBottomOf(frame);
    const std::size_t count = std::min(still, frame.layers().size());
    const bool grows = keeps && count > m_layers.size() && m_served >= kSettlePictures;
    if (!keeps || grows) {
        m_layers.assign(frame.layers().begin(), frame.layers().begin() + static_cast<std::ptrdiff_t>(count));
        if (m_image.size() != pixels)
            m_image = QImage(pixels, QImage::Format_RGB32);
        m_image.setDevicePixelRatio(ratio);
        QPainter painter(&m_image);
        paint(painter, frame, m_layers.size());
        m_view = view;
        m_made = true;
        m_served = 0;
    }
    ++m_served;
    return m_image;
}
