#pragma once

#include "grid/ui/CGestureStep.h"
#include "grid/ui/CZoomView.h"
#include "kinds/bitmaps/CBitmapOffsetPreview.h"

#include <QPoint>
#include <QWidget>

#include <vector>

class CResourceHolder;
class CStepLock;

// The Bitmaps panel's preview, framed by its zoom-and-scroll bars (view()).
// A left drag moves the origin; with Shift it moves the offsets of every
// selected bitmap, with Alt those of the current one; a double click puts
// the same back to (0, 0). Offset changes hold the panel's step lock; a
// drag from press to release is one step (gestureStep(), then
// editFinished) and offsetsChanged tells the rows as it goes.
class CBitmapOffsetPane : public QWidget {
    Q_OBJECT
public:
    explicit CBitmapOffsetPane(CStepLock& lock, QWidget* parent = nullptr);

    // The frame with the bars, which owns the pane.
    CZoomView* view() const { return m_view; }
    CBitmapOffsetPreview& preview() { return m_preview; }

    // What to show: the current row and the selected rows (the current one
    // among them or not).
    void showBitmaps(CResourceHolder* document, int current, const std::vector<int>& selected);

    QSize sizeHint() const override { return {320, 240}; }
    // What the pane says over a bitmap without a picture; empty otherwise.
    // Worked out when the bitmaps shown change, not at every repaint of a
    // drag.
    const QString& placeholderText() const { return m_placeholder; }

    // What the edits are called in the undo history.
    static constexpr const char* kMoveText = "Move Bitmap Offsets";
    static constexpr const char* kResetText = "Reset Bitmap Offsets";

    // How the step of a drag is opened, as the panel tells; it touches the
    // rows of gestureRows().
    CGestureStep& gestureStep() { return m_step; }
    std::vector<int> gestureRows() const { return rowsOf(m_target); }

signals:
    void offsetsChanged(const std::vector<int>& rows);
    void editFinished(bool changed);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    enum class Target { Origin, Selected, Current };
    static Target targetOf(Qt::KeyboardModifiers modifiers);
    std::vector<int> rowsOf(Target target) const;
    void updateContent();
    QString placeholderFor() const;
    void changed(const std::vector<int>& rows);

    CStepLock& m_lock;
    CBitmapOffsetPreview m_preview;
    CZoomView* m_view;
    CResourceHolder* m_document = nullptr;
    int m_current = -1;
    std::vector<int> m_selected;
    QString m_placeholder;
    bool m_dragging = false;
    bool m_editOpen = false;
    bool m_editChanged = false;
    Target m_target = Target::Origin;
    CGestureStep m_step;
    // At a zoom other than 1 a pixel of the pane is not a pixel of the
    // bitmaps.
    CZoomView::Drag m_drag;
};
