#include "kinds/animations/ui/CAnimationPreviewPane.h"

#include "params/ui/CGuiColors.h"
#include "kinds/animations/CAnimationPreview.h"
#include "kinds/animations/ui/CAnimationFrameEditor.h"

#include <QMouseEvent>
#include <QPainter>

CAnimationPreviewPane::CAnimationPreviewPane(CAnimationFrameEditor& editor, QWidget* parent)
    : QWidget(parent), m_editor(editor), m_view(new CZoomView(this, parent))
{
    // An animation has no bounds of its own: the bars scroll freely about
    // what the pane shows at zoom 1.
    m_view->setContentFollowsCanvas(true);
    m_view->setFitSource([this] { return QRectF(m_editor.preview().drawnBounds()); });
    setObjectName(QStringLiteral("animationPreview"));
    setCursor(Qt::SizeAllCursor);
    setMinimumSize(32, 32);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&CGuiColors::instance(), &CGuiColors::changed, this, qOverload<>(&QWidget::update));
}

void CAnimationPreviewPane::paintEvent(QPaintEvent*)
{
    m_frameRate.tick();
    const CGuiColors& colors = CGuiColors::instance();
    m_editor.preview().render(m_picture, size(),
                              {colors.qcolor(CGuiColors::DialogFace), colors.qcolor(CGuiColors::DialogText),
                               colors.qcolor(CGuiColors::DialogText)},
                              m_frameRate.text(), m_view->transform());
    QPainter painter(this);
    m_picture.drawWithoutOffset(painter);
}

CAnimationPreviewPane::Target CAnimationPreviewPane::targetOf(Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::ShiftModifier)
        return Target::CurrentFrame;
    if ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier))
        return Target::EveryFrame;
    return Target::Origin;
}

void CAnimationPreviewPane::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_drag.start(event->position().toPoint());
    if (targetOf(event->modifiers()) == Target::CurrentFrame)
        m_editor.holdCurrentFrame();
    // However many moves the drag makes, undo takes it back at once.
    if (targetOf(event->modifiers()) != Target::Origin)
        m_editor.beginGesture(QStringLiteral("Move Frame Offsets"));
}

void CAnimationPreviewPane::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_editor.endGesture();
}

void CAnimationPreviewPane::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    // In the animation's pixels: at a zoom of 2 the mouse moves twice as far.
    const QPoint delta = m_drag.moveTo(event->position().toPoint(), m_view);
    if (delta.isNull())
        return;
    CAnimationPreview& preview = m_editor.preview();
    switch (targetOf(event->modifiers())) {
    case Target::Origin: preview.setOrigin(preview.origin() + delta); break;
    case Target::CurrentFrame:
        if (m_editor.currentFrame() >= 0) {
            m_editor.moveOffsets(m_editor.currentFrame(), delta.x(), delta.y());
            m_editor.holdCurrentFrame();
        }
        break;
    case Target::EveryFrame: m_editor.moveOffsets(-1, delta.x(), delta.y()); break;
    }
    update();
}

void CAnimationPreviewPane::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    switch (targetOf(event->modifiers())) {
    case Target::Origin: m_editor.preview().setOrigin({0, 0}); break;
    case Target::CurrentFrame:
        if (m_editor.currentFrame() >= 0) {
            m_editor.resetOffsets(m_editor.currentFrame());
            m_editor.holdCurrentFrame();
        }
        break;
    case Target::EveryFrame: m_editor.resetOffsets(-1); break;
    }
    update();
}

void CAnimationPreviewPane::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_editor.setPreviewShown(true);
}

void CAnimationPreviewPane::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_editor.setPreviewShown(false);
}
