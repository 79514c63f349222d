#pragma once

#include "grid/ui/CZoomView.h"
#include "media/image/CDisplayBuffer.h"
#include "media/image/CFrameRateMeter.h"

#include <QPoint>
#include <QWidget>

class CAnimationFrameEditor;

// The frame editor's preview pane: the animation playing over two guide
// lines through the origin, drawn double-buffered. The left button drags
// the origin; with Shift it moves the current frame of the list (shown and
// held while it moves), with Ctrl every frame; a double click puts the same
// thing back to (0, 0).
class CAnimationPreviewPane : public QWidget {
    Q_OBJECT
public:
    explicit CAnimationPreviewPane(CAnimationFrameEditor& editor, QWidget* parent = nullptr);

    QSize sizeHint() const override { return {240, 240}; }
    // The frame with the zoom-and-scroll bars, which owns the pane.
    CZoomView* view() const { return m_view; }
    // The picture as last drawn.
    const CDisplayBuffer& picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    enum class Target { Origin, CurrentFrame, EveryFrame };
    static Target targetOf(Qt::KeyboardModifiers modifiers);

    CAnimationFrameEditor& m_editor;
    CZoomView* m_view;
    CDisplayBuffer m_picture;
    CFrameRateMeter m_frameRate;
    CZoomView::Drag m_drag;
};
