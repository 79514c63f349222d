#include "grid/ui/CZoomView.h"

#include "grid/ui/ZoomScrollBar.h"

#include <QGridLayout>
#include <QSettings>
#include <QShortcut>
#include <QToolButton>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

CZoomView::CZoomView(QWidget* canvas, QWidget* parent)
    : QWidget(parent), m_canvas(canvas),
      m_bars{new ZoomScrollBar(Qt::Horizontal), new ZoomScrollBar(Qt::Vertical)}
{
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_canvas, 0, 0);
    layout->addWidget(m_bars[1], 0, 1);
    layout->addWidget(m_bars[0], 1, 0);
    m_canvas->installEventFilter(this);
    // The keys act on the view that has the focus: a click on a canvas gives
    // it, so the keys reach the picture the user looks at.
    if (m_canvas->focusPolicy() == Qt::NoFocus)
        m_canvas->setFocusPolicy(Qt::ClickFocus);
    auto key = [this](const QKeySequence& sequence, void (CZoomView::*run)()) {
        auto* shortcut = new QShortcut(sequence, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, run);
    };
    key(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F), &CZoomView::fit);
    key(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_1), &CZoomView::oneToOne);
    // Shift+1 types "!" on most layouts, and some report that key instead.
    key(QKeySequence(Qt::CTRL | Qt::Key_Exclam), &CZoomView::oneToOne);
    key(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Exclam), &CZoomView::oneToOne);
    for (int axis = 0; axis < 2; ++axis) {
        m_bars[axis]->axis().setStepPixels(kStepPixels);
        connect(m_bars[axis], &ZoomScrollBar::scrolled, this, &CZoomView::changed);
        connect(m_bars[axis], &ZoomScrollBar::zoomed, this, [this, axis] { barZoomed(axis); });
    }
}

void CZoomView::setContentRect(const QRectF& rect)
{
    m_content = rect;
    m_bars[0]->axis().setRange(rect.left(), rect.left() + rect.width());
    m_bars[1]->axis().setRange(rect.top(), rect.top() + rect.height());
    changed();
}

void CZoomView::setFreeScrolling(bool on)
{
    for (ZoomScrollBar* bar : m_bars) {
        bar->axis().setFreeScrolling(on);
        bar->axis().keepInRange();
    }
    changed();
}

QTransform CZoomView::transform() const
{
    const CZoomScrollAxis& x = m_bars[0]->axis();
    const CZoomScrollAxis& y = m_bars[1]->axis();
    return QTransform(x.zoom(), 0, 0, y.zoom(), -x.position() * x.zoom(), -y.position() * y.zoom());
}

QPointF CZoomView::toContent(const QPointF& pixel) const
{
    return {m_bars[0]->axis().toContent(pixel.x()), m_bars[1]->axis().toContent(pixel.y())};
}

QPointF CZoomView::position() const
{
    return {m_bars[0]->axis().position(), m_bars[1]->axis().position()};
}

double CZoomView::zoomX() const
{
    return m_bars[0]->axis().zoom();
}

double CZoomView::zoomY() const
{
    return m_bars[1]->axis().zoom();
}

void CZoomView::zoomAbout(double zoom, const QPointF& pixel)
{
    m_bars[0]->axis().zoomAbout(zoom, pixel.x());
    m_bars[1]->axis().zoomAbout(zoom, pixel.y());
    changed();
}

void CZoomView::scrollByPixels(const QPointF& delta)
{
    for (int axis = 0; axis < 2; ++axis) {
        CZoomScrollAxis& a = m_bars[axis]->axis();
        const double d = axis == 0 ? delta.x() : delta.y();
        a.scrollTo(a.position() - (a.reversed() ? -1.0 : 1.0) * d / a.zoom());
    }
    changed();
}

void CZoomView::scrollTo(const QPointF& position)
{
    m_bars[0]->axis().scrollTo(position.x());
    m_bars[1]->axis().scrollTo(position.y());
    changed();
}

void CZoomView::ensureVisible(const QRectF& content)
{
    m_bars[0]->axis().ensureVisible(content.left(), content.right());
    m_bars[1]->axis().ensureVisible(content.top(), content.bottom());
    changed();
}

void CZoomView::barZoomed(int axis)
{
    if (m_fitSource && !m_busy && m_bars[axis]->lastCommand() == CZoomScrollAxis::Fit) {
        // The range of a canvas without bounds is only its window: the Fit
        // button shows what it draws instead.
        fit();
        return;
    }
    if (m_linked && !m_busy) {
        m_busy = true;
        CZoomScrollAxis& zoomed = m_bars[axis]->axis();
        CZoomScrollAxis& other = m_bars[1 - axis]->axis();
        if (m_bars[axis]->lastCommand() == CZoomScrollAxis::Fit) {
            // A picture fitted on one axis must still show whole on the
            // other: both take the smaller of the two fits.
            other.run(CZoomScrollAxis::Fit);
            const double zoom = std::min(zoomed.zoom(), other.zoom());
            zoomed.zoomAbout(zoom, 0);
            other.zoomAbout(zoom, 0);
        } else {
            other.zoomAbout(zoomed.zoom(), other.viewportPixels() / 2.0);
        }
        m_busy = false;
    }
    changed();
}

void CZoomView::changed()
{
    for (ZoomScrollBar* bar : m_bars)
        bar->update();
    m_canvas->update();
    emit viewChanged();
}

void CZoomView::setContentFollowsCanvas(bool on)
{
    m_followCanvas = on;
    setFreeScrolling(on);
    fitViewport();
}

void CZoomView::Drag::start(QPoint pixel)
{
    m_press = pixel;
    m_applied = QPoint();
}

QPoint CZoomView::Drag::moveTo(QPoint pixel, const CZoomView* view)
{
    const QPointF moved(pixel - m_press);
    const double zx = view ? view->zoomX() : 1.0;
    const double zy = view ? view->zoomY() : 1.0;
    const QPoint total(static_cast<int>(std::lround(moved.x() / zx)), static_cast<int>(std::lround(moved.y() / zy)));
    const QPoint delta = total - m_applied;
    m_applied = total;
    return delta;
}

void CZoomView::fitViewport()
{
    if (m_followCanvas) {
        m_content = QRectF(0, 0, std::max(1, m_canvas->width()), std::max(1, m_canvas->height()));
        m_bars[0]->axis().setRange(m_content.left(), m_content.right());
        m_bars[1]->axis().setRange(m_content.top(), m_content.bottom());
    }
    m_bars[0]->axis().setViewportPixels(m_canvas->width());
    m_bars[1]->axis().setViewportPixels(m_canvas->height());
    if (m_fitPending && m_canvas->width() > 0 && m_canvas->height() > 0) {
        m_fitPending = false;
        fit();
        return;
    }
    changed();
}

QRectF CZoomView::fitContent() const
{
    return m_fitSource ? m_fitSource() : m_content;
}

void CZoomView::fit()
{
    const QRectF content = fitContent();
    const double w = m_canvas->width(), h = m_canvas->height();
    if (content.isEmpty() || w <= 0 || h <= 0)
        return;
    const double margin = m_fitSource ? kFitMargin : 0.0;
    const double zoom =
        std::min((w - 2 * margin) / content.width(), (h - 2 * margin) / content.height());
    m_busy = true;
    for (int axis = 0; axis < 2; ++axis) {
        CZoomScrollAxis& a = m_bars[axis]->axis();
        if (!m_fitSource) {
            // A picture with bounds: the bars' own fit, then the smaller zoom
            // of the two so that it shows whole both ways.
            a.run(CZoomScrollAxis::Fit);
            continue;
        }
        a.zoomAbout(zoom, 0);
        // Centred: what the window shows beyond the content is shared
        // equally by both sides.
        const double start = axis == 0 ? content.left() : content.top();
        const double extent = axis == 0 ? content.width() : content.height();
        a.scrollTo(start - (a.visibleExtent() - extent) / 2.0);
    }
    if (!m_fitSource) {
        const double least = std::min(m_bars[0]->axis().zoom(), m_bars[1]->axis().zoom());
        for (ZoomScrollBar* bar : m_bars)
            bar->axis().zoomAbout(least, 0);
    }
    m_busy = false;
    changed();
}

void CZoomView::oneToOne()
{
    m_busy = true;
    for (ZoomScrollBar* bar : m_bars)
        bar->axis().run(CZoomScrollAxis::OneToOne);
    m_busy = false;
    changed();
}

void CZoomView::fitWhenSized()
{
    if (m_canvas->width() > 0 && m_canvas->height() > 0 && m_canvas->isVisible()) {
        m_fitPending = false;
        fit();
    } else {
        m_fitPending = true;
    }
}

void CZoomView::offerGrid(const QString& settingKey)
{
    m_gridSetting = settingKey;
    QSettings settings;
    m_gridShown = settings.value(QStringLiteral("Settings/") + settingKey, false).toBool();
    if (!m_gridButton) {
        m_gridButton = new QToolButton;
        m_gridButton->setObjectName(QStringLiteral("gridToggle"));
        m_gridButton->setText(QStringLiteral("#"));
        m_gridButton->setToolTip(tr("Show the cell grid"));
        m_gridButton->setCheckable(true);
        m_gridButton->setAutoRaise(true);
        m_gridButton->setFixedSize(ZoomScrollBar::kButtonSize + 2, ZoomScrollBar::kButtonSize + 2);
        static_cast<QGridLayout*>(layout())->addWidget(m_gridButton, 1, 1);
        connect(m_gridButton, &QToolButton::toggled, this, &CZoomView::setGridShown);
    }
    m_gridButton->setChecked(m_gridShown);
}

void CZoomView::setGridShown(bool on)
{
    if (m_gridButton && m_gridButton->isChecked() != on)
        m_gridButton->setChecked(on);
    if (on == m_gridShown)
        return;
    m_gridShown = on;
    if (!m_gridSetting.isEmpty())
        QSettings().setValue(QStringLiteral("Settings/") + m_gridSetting, on);
    m_canvas->update();
    emit gridShownChanged(on);
}

bool CZoomView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_canvas) {
        if (event->type() == QEvent::Resize) {
            fitViewport();
        } else if (event->type() == QEvent::Wheel) {
            auto* wheel = static_cast<QWheelEvent*>(event);
            if (wheel->modifiers() & Qt::ControlModifier) {
                const double notches = wheel->angleDelta().y() / 120.0;
                if (notches != 0.0)
                    zoomAbout(zoomX() * std::pow(kWheelZoom, notches), wheel->position());
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CZoomView::wheelEvent(QWheelEvent* event)
{
    // What the canvas left to its frame: the wheel scrolls by steps.
    const double notches = event->angleDelta().y() / 120.0;
    const double pixels = notches * 3 * kStepPixels;
    if (event->modifiers() & Qt::ShiftModifier)
        scrollByPixels({pixels, 0});
    else
        scrollByPixels({0, pixels});
    event->accept();
}
