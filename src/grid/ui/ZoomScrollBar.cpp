#include "grid/ui/ZoomScrollBar.h"

#include "params/ui/CGuiColors.h"
#include "params/ui/CUiServices.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>

#include <functional>

namespace {
// The pictures of the controls, by the interface bitmap names; the vertical
// form first, then the horizontal one.
struct ControlLook {
    const char* vertical;
    const char* horizontal;
    const char* text;
    const char* verticalTip;
    const char* horizontalTip;
};

constexpr ControlLook kLooks[ZoomScrollBar::ControlCount] = {
    {"ScrollBarFit", "ScrollBarFit", "", "Fit vertically contents to display", "Fit horizontally contents to display"},
    {"", "", "1:1", "Zoom vertically to 100 %, 1:1, real size", "Zoom horizontally to 100 %, 1:1, real size"},
    {"ScrollBarZoom", "ScrollBarZoom", "", "Zoom display vertically by mouse", "Zoom display horizontally by mouse"},
    {"", "", "+", "Zoom in display vertically", "Zoom in display horizontally"},
    {"", "", "-", "Zoom out display vertically", "Zoom out display horizontally"},
    {"ScrollBarMove", "ScrollBarMove", "", "Move display vertically by mouse", "Move display horizontally by mouse"},
    {"ScrollBarPageUp", "ScrollBarPageLeft", "", "Scroll one page up", "Scroll one page left"},
    {"ScrollBarStepUp", "ScrollBarStepLeft", "", "Scroll one step up", "Scroll one step left"},
    {"ScrollBarStepDown", "ScrollBarStepRight", "", "Scroll one step down", "Scroll one step right"},
    {"ScrollBarPageDown", "ScrollBarPageRight", "", "Scroll one page down", "Scroll one page right"},
};

// Fallback texts where the program runs without its interface pictures.
constexpr const char* kFallback[ZoomScrollBar::ControlCount] = {"[]", "1:1", "z", "+", "-", "m", "<<", "<", ">", ">>"};

// A control dragged along the bar: reports how far the pointer moved.
class CDragControl : public QToolButton {
public:
    std::function<void(int)> moved;

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        m_last = event->globalPosition().toPoint();
        setDown(true);
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        const QPoint at = event->globalPosition().toPoint();
        const QPoint delta = at - m_last;
        m_last = at;
        if (moved)
            moved(property("horizontal").toBool() ? delta.x() : delta.y());
    }
    void mouseReleaseEvent(QMouseEvent*) override { setDown(false); }

private:
    QPoint m_last;
};
} // namespace

ZoomScrollBar::ZoomScrollBar(Qt::Orientation orientation, QWidget* parent) : QWidget(parent), m_orientation(orientation)
{
    const bool horizontal = orientation == Qt::Horizontal;
    setObjectName(horizontal ? QStringLiteral("horizontalZoomBar") : QStringLiteral("verticalZoomBar"));
    for (int c = 0; c < ControlCount; ++c) {
        const Control control = static_cast<Control>(c);
        QAbstractButton* button = nullptr;
        if (control == ZoomDrag || control == MoveDrag) {
            button = makeDrag(control);
        } else {
            auto* tool = new QToolButton(this);
            tool->setAutoRaise(true);
            if (control >= PageBackButton) {
                tool->setAutoRepeat(true);
                tool->setAutoRepeatDelay(kRepeatMs);
                tool->setAutoRepeatInterval(kRepeatMs);
            }
            static constexpr CZoomScrollAxis::Command commands[ControlCount] = {
                CZoomScrollAxis::Fit,      CZoomScrollAxis::OneToOne,  CZoomScrollAxis::Fit,
                CZoomScrollAxis::ZoomIn,   CZoomScrollAxis::ZoomOut,   CZoomScrollAxis::Fit,
                CZoomScrollAxis::PageBack, CZoomScrollAxis::StepBack,  CZoomScrollAxis::StepForward,
                CZoomScrollAxis::PageForward};
            connect(tool, &QToolButton::clicked, this, [this, command = commands[c]] { run(command); });
            button = tool;
        }
        const ControlLook& look = kLooks[c];
        const char* name = horizontal ? look.horizontal : look.vertical;
        const QIcon icon = *name ? CUiServices::toolBarIcon(name) : QIcon();
        if (!icon.isNull())
            button->setIcon(icon);
        else
            button->setText(QString::fromLatin1(*look.text ? look.text : kFallback[c]));
        button->setToolTip(toolTip(control, orientation));
        button->setFocusPolicy(Qt::NoFocus);
        QFont small = button->font();
        small.setPixelSize(9);
        button->setFont(small);
        m_controls[c] = button;
    }
    setSizePolicy(horizontal ? QSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed)
                             : QSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding));
    connect(&CGuiColors::instance(), &CGuiColors::changed, this, qOverload<>(&QWidget::update));
}

QAbstractButton* ZoomScrollBar::makeDrag(Control c)
{
    auto* drag = new CDragControl;
    drag->setParent(this);
    drag->setAutoRaise(true);
    drag->setProperty("horizontal", m_orientation == Qt::Horizontal);
    drag->setCursor(m_orientation == Qt::Horizontal ? Qt::SizeHorCursor : Qt::SizeVerCursor);
    drag->moved = [this, c](int pixels) {
        if (pixels == 0)
            return;
        if (c == ZoomDrag) {
            m_last = CZoomScrollAxis::ZoomIn;
            tell(m_axis.dragZoom(pixels));
        } else {
            // The content follows the pointer, as when dragging a sheet.
            m_last = CZoomScrollAxis::StepForward;
            const double units = pixels / m_axis.zoom() * (m_axis.reversed() ? -1.0 : 1.0);
            tell(m_axis.dragMove(units));
        }
    };
    return drag;
}

QString ZoomScrollBar::toolTip(Control c, Qt::Orientation orientation)
{
    return QString::fromLatin1(orientation == Qt::Horizontal ? kLooks[c].horizontalTip : kLooks[c].verticalTip);
}

void ZoomScrollBar::setCompact(bool on)
{
    m_axis.setCompact(on);
    layoutControls();
    updateGeometry();
    update();
}

void ZoomScrollBar::run(CZoomScrollAxis::Command command)
{
    m_last = command;
    tell(m_axis.run(command));
}

void ZoomScrollBar::tell(CZoomScrollAxis::Notice notice)
{
    update();
    if (notice == CZoomScrollAxis::Notice::Zoomed)
        emit zoomed();
    else if (notice == CZoomScrollAxis::Notice::Scrolled)
        emit scrolled();
}

QSize ZoomScrollBar::sizeHint() const
{
    const int along = kButtonSize * (m_axis.compact() ? 2 * CZoomScrollAxis::kCompactGapButtons + 4
                                                      : ControlCount + 2 * CZoomScrollAxis::kGapButtons + 4);
    return m_orientation == Qt::Horizontal ? QSize(along, kButtonSize) : QSize(kButtonSize, along);
}

QSize ZoomScrollBar::minimumSizeHint() const
{
    // A narrow pane may hide the last controls rather than refuse to shrink.
    return m_orientation == Qt::Horizontal ? QSize(2 * kButtonSize, kButtonSize) : QSize(kButtonSize, 2 * kButtonSize);
}

QRect ZoomScrollBar::trackRect() const
{
    // The normal layout's controls stand before the track.
    const int before = m_axis.compact() ? 0 : ControlCount * kButtonSize;
    const int gap = m_axis.trackGap(kButtonSize);
    const int track = m_axis.trackLength(length() - before, kButtonSize);
    return m_orientation == Qt::Horizontal ? QRect(before + gap, 0, track, height())
                                           : QRect(0, before + gap, width(), track);
}

QRect ZoomScrollBar::thumbRect() const
{
    const QRect track = trackRect();
    const bool horizontal = m_orientation == Qt::Horizontal;
    const CZoomScrollAxis::Thumb t = m_axis.thumb(horizontal ? track.width() : track.height());
    return horizontal ? QRect(track.left() + t.start, 0, t.length, height())
                      : QRect(0, track.top() + t.start, width(), t.length);
}

void ZoomScrollBar::layoutControls()
{
    const bool compact = m_axis.compact();
    for (int c = 0; c < ControlCount; ++c) {
        int slot = c;
        // Compact: the zoom controls in the first end of the track, the
        // four scroll buttons at the far end.
        if (compact && c >= PageBackButton)
            slot = length() / kButtonSize - (ControlCount - c);
        const QRect r = m_orientation == Qt::Horizontal ? QRect(slot * kButtonSize, 0, kButtonSize, height())
                                                        : QRect(0, slot * kButtonSize, width(), kButtonSize);
        m_controls[c]->setGeometry(r);
    }
}

void ZoomScrollBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutControls();
}

void ZoomScrollBar::paintEvent(QPaintEvent*)
{
    const CGuiColors& colors = CGuiColors::instance();
    QPainter painter(this);
    painter.fillRect(rect(), colors.qcolor(CGuiColors::DialogFace));
    const QRect track = trackRect();
    painter.fillRect(track, colors.qcolor(CGuiColors::ScrollBarBackground));
    painter.fillRect(thumbRect(),
                     colors.qcolor(m_thumbDrag ? CGuiColors::ScrollBarMoving : CGuiColors::ScrollBar));
}

void ZoomScrollBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    const QRect thumb = thumbRect();
    if (!trackRect().contains(at))
        return;
    if (thumb.contains(at)) {
        m_thumbDrag = true;
        m_grab = along(at) - along(thumb.topLeft());
        update();
        return;
    }
    run(along(at) < along(thumb.topLeft()) ? CZoomScrollAxis::PageBack : CZoomScrollAxis::PageForward);
}

void ZoomScrollBar::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_thumbDrag)
        return;
    const QRect track = trackRect();
    const double thumbStart = along(event->position().toPoint()) - m_grab - along(track.topLeft());
    const int trackPixels = m_orientation == Qt::Horizontal ? track.width() : track.height();
    m_last = CZoomScrollAxis::StepForward;
    tell(m_axis.scrollTo(m_axis.positionAtThumb(thumbStart, trackPixels)));
}

void ZoomScrollBar::mouseReleaseEvent(QMouseEvent*)
{
    if (m_thumbDrag) {
        m_thumbDrag = false;
        update();
    }
}
