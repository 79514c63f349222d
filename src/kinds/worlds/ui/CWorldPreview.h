#pragma once

#include "grid/ui/CGestureStep.h"
#include "grid/ui/CZoomView.h"
#include "kinds/worlds/CWorldBackdrop.h"
#include "kinds/worlds/CWorldFrame.h"
#include "kinds/worlds/ui/CCaptionWriter.h"
#include "media/image/CFrameRateMeter.h"

#include <QImage>
#include <QPoint>
#include <QTransform>
#include <QWidget>

#include <functional>
#include <vector>

class QToolButton;
class WorldInstance;

// What the preview shows and moves: the world instance playing, and the
// elements Alt (current) and Shift (selected) drag.
class IWorldPreviewHost {
public:
    virtual ~IWorldPreviewHost() = default;
    // Calls `use` with the instance, read under its lock.
    virtual void withPreviewInstance(const std::function<void(const WorldInstance&)>& use) const = 0;
    virtual int currentElementRow() const = 0;
    virtual std::vector<int> selectedElementRows() const = 0;
    // Moves the drawing offsets of the elements in `rows` by `delta`, or to
    // (0, 0) with `toZero`.
    virtual void moveElementOffsets(const std::vector<int>& rows, QPoint delta, bool toZero) = 0;
    // Makes `row` the current and only selected element of the grid.
    virtual void selectElementRow(int row) = 0;
    // Removes the elements of `rows` as one step.
    virtual void deleteElementRows(const std::vector<int>& rows) = 0;
    // Where the elements go along their paths, with the drawing point at
    // `drawingPoint` (see CWorldPathBounds).
    virtual QRect pathBounds(QPoint drawingPoint) const = 0;
};

// The preview of the world shown in the elements editor: the background in
// the dialog colour, two axes through the drawing point, the world, then
// its elapsed time, the frame rate and the world's ID. Dragging moves the drawing point, a double-click
// puts it back at (0, 0); with Alt the current element moves instead, with
// Shift every selected element. A click on an element selects it in the
// grid and a drag from it moves it; the arrow keys nudge the selected
// elements (Shift: by kNudgeFar), Delete removes them, each one step. The
// selected elements are framed.
//
// A game step repaints only where the picture changed: the places each
// changed picture left and took, and the caption. The frame shown is the
// one taken at the step, whatever the world did since, so that what is
// repainted and what was found changed agree. The background, the axes and
// the pictures at the bottom that stay where they are come from a kept
// backdrop; a repaint of the whole window takes everything afresh.
class CWorldPreview : public QWidget {
    Q_OBJECT
public:
    static constexpr int kDefaultOffset = 94;
    // The cell grid's side in world units, and where its toggle is kept.
    static constexpr int kGridCell = 32;
    static constexpr const char* kGridSetting = "WorldCellGrid";
    // Whether Fit takes in where the elements go along their paths, not
    // only where they are now; kept between sessions.
    static constexpr const char* kFollowPathsSetting = "WorldFitFollowsPaths";

    explicit CWorldPreview(IWorldPreviewHost& host, QWidget* parent = nullptr);

    // The frame with the zoom-and-scroll bars, which owns the preview.
    CZoomView* view() const { return m_view; }
    // The moves of one drag, from press to release, are one step.
    CGestureStep& dragStep() { return m_dragStep; }
    static constexpr const char* kMoveText = "Move Element Offsets";
    static constexpr const char* kDeleteText = "Delete Elements";
    static constexpr int kNudgeFar = 8;

    QPoint drawingOffset() const { return m_offset; }
    void setDrawingOffset(QPoint offset);
    QSize sizeHint() const override { return {320, 240}; }
    // The text written over the world: elapsed time ("%.2f"), the frame
    // rate of the drawing, the world's ID, one a line.
    QString caption() const;
    // What the world draws at this moment, in the preview's units, with the
    // drawing point: what Fit shows.
    QRect drawnBounds() const;
    // What Fit shows: what is drawn, and the paths when they are followed.
    QRect fitBounds() const;
    bool followsPaths() const { return m_followPaths; }
    // Remembers the choice and fits again.
    void setFollowsPaths(bool on);
    QToolButton* followPathsButton() const { return m_followButton; }
    // A game step was taken: the picture is brought up to it where it
    // changed. The area asked to be repainted, in window pixels.
    QRegion showStep();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The elements Alt (current) or Shift (selected) act on; empty without.
    std::vector<int> targetRows(Qt::KeyboardModifiers modifiers) const;
    // The element under a pixel of the preview, -1 for none.
    int elementUnder(QPointF pixel) const;
    // Keeps what the world draws now as the frame to paint; the one before.
    CWorldFrame takeFrame();
    // The background and the axes through the drawing point.
    void paintUnderWorld(QPainter& painter, const QTransform& view, const QRect& visible) const;
    // The cell grid's lines on a clear picture of the window, made again
    // when the view or the window's size changes.
    const QImage& gridPicture(const QTransform& view, const QColor& text);

    IWorldPreviewHost& m_host;
    CZoomView* m_view;
    QPoint m_offset{kDefaultOffset, kDefaultOffset};
    CZoomView::Drag m_drag;
    // The element a plain drag moves (-1: the drag moves the drawing point).
    int m_dragged = -1;
    CGestureStep m_dragStep;
    CFrameRateMeter m_frameRate;
    bool m_followPaths = false;
    QToolButton* m_followButton;
    CWorldFrame m_frame;
    // Layers at the bottom the last two frames taken share.
    std::size_t m_still = 0;
    CWorldBackdrop m_backdrop;
    // Where the caption was last written.
    QRect m_captionShown;
    CCaptionWriter m_caption;
    QImage m_grid;
    QTransform m_gridView;
};
