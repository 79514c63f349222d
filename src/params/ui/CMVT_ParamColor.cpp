#include "params/ui/CMVT_ParamColor.h"

#include "params/ui/CUiServices.h"

#include <QPainter>
#include <QPixmap>
#include <QToolButton>

#include <cstdlib>

CMVT_ParamColor::CMVT_ParamColor(QWidget* parent) : CMVT_Parameter(parent), m_swatch(new QToolButton(this))
{
    m_swatch->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_swatch->setIconSize(QSize(48, 16));
    addControl(m_swatch);
    addStretch();
    connect(m_swatch, &QToolButton::clicked, this, [this] { pick(); });
    showValue();
}

void CMVT_ParamColor::setValue(std::uint32_t rgb)
{
    m_rgb = rgb & 0x00FFFFFFu;
    showValue();
}

bool CMVT_ParamColor::pick()
{
    std::uint32_t rgb = m_rgb;
    if (!CUiServices::colorChooser().chooseColor(this, rgb))
        return false;
    setValue(rgb);
    notifyChanged();
    return true;
}

void CMVT_ParamColor::showValue()
{
    const int r = m_rgb & 0xFF, g = (m_rgb >> 8) & 0xFF, b = (m_rgb >> 16) & 0xFF;
    QPixmap swatch(48, 16);
    swatch.fill(QColor(r, g, b));
    {
        QPainter p(&swatch);
        p.setPen(Qt::black);
        p.drawRect(0, 0, 47, 15);
    }
    m_swatch->setIcon(QIcon(swatch));
    m_swatch->setText(QStringLiteral("(%1, %2, %3)").arg(r).arg(g).arg(b));
}

std::string CMVT_ParamColor::valueText() const { return std::to_string(value()); }

void CMVT_ParamColor::setValueText(const std::string& text)
{
    char* end = nullptr;
    const unsigned long v = std::strtoul(text.c_str(), &end, 10);
    if (end != text.c_str())
        setValue(static_cast<std::uint32_t>(v & 0xFFFFFFu));
}
