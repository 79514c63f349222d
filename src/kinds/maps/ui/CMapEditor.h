#pragma once

#include "grid/ui/CGestureStep.h"
#include "kinds/maps/CMapStamp.h"

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSplitter>

#include <map>
#include <vector>

class CIndexList;
class CItemsDropTarget;
class CMapCanvas;
class CMapItem;
class CResourceHolder;
class CStepLock;
class CZoomView;
class QAction;
class QLabel;

// The map editor beside the Maps grid: the bitmap picker (its first row the
// empty cell) and, behind a splitter bar, the status text and tools above
// the canvas framed by its zoom-and-scroll bars. The canvas paints, erases,
// fills and picks cells; what it lays down is the brush: the picker's
// bitmap, or a stamp of several cells taken from the map, or the empty cell
// for the eraser. Every change holds the panel's step lock, and a stroke
// from press to release is one step (gestureStep()), followed by
// editFinished(changed). A map that holds no bitmap takes its cell size from
// the first one painted, and the note beside the status says so, or that a
// bitmap does not fit the cells.
class CMapEditor : public QSplitter {
    Q_OBJECT
public:
    static constexpr double kPickerFraction = 0.2;
    static constexpr int kBarWidth = 7;
    enum Tool { PaintTool, FillTool, RectangleTool, EraseTool, kToolCount };
    // What each edit is called in the undo history.
    static constexpr const char* kPaintText = "Paint Map Cells";
    static constexpr const char* kFillAreaText = "Fill Map Area";
    static constexpr const char* kFillRectangleText = "Fill Map Rectangle";
    static constexpr const char* kEraseText = "Erase Map Cells";
    static constexpr const char* kPickText = "Pick Bitmap...";
    // Whether the canvas shows its cell lines, kept between sessions.
    static constexpr const char* kGridSetting = "MapCellGrid";

    explicit CMapEditor(CStepLock& lock, QWidget* parent = nullptr);

    // Shows map `index` of the document (-1 or a missing map: none).
    void showMap(CResourceHolder* document, int index);
    CMapItem* map() const;
    int mapIndex() const { return m_map; }
    CResourceHolder* document() const { return m_document; }

    CIndexList* picker() const { return m_picker; }
    CMapCanvas* canvas() const { return m_canvas; }
    CZoomView* zoomView() const { return m_view; }
    QLabel* statusLabel() const { return m_status; }
    // What the editor says of the brush and the cell size.
    QLabel* noteLabel() const { return m_note; }
    QAction* toolAction(Tool tool) const { return m_tools[tool]; }
    Tool tool() const { return m_tool; }
    void setTool(Tool tool);

    // The picker's value: -1 for the empty row, else a bitmap index.
    int paintValue() const;
    // Selects the picker row of a cell's value (the brush is that one cell).
    void pickValue(int value);
    // The bitmap to paint with chosen by name and picture (F4 on the canvas,
    // or the tool bar's button).
    void pickBitmap();
    // What the pen lays down: a stamp of several cells when one was taken
    // and the picker has not been changed since, else the picker's value;
    // the empty cell with the eraser.
    CMapStamp brush() const;
    // Takes the cells of a rectangle of the map as the brush; a single cell
    // picks its value instead.
    void takeStamp(QPoint a, QPoint b);
    bool hasStamp() const { return m_hasStamp; }

    // Clamped into the map; the canvas scrolls to show it if asked.
    void setCurrentCell(QPoint cell, bool scroll = true);
    QPoint currentCell() const { return m_current; }
    QString statusText() const;

    // The edits the canvas makes; each answers the cells changed. Edits made
    // between beginEdit and endEdit are one edit of the document.
    void beginEdit(const QString& text);
    // A stroke lays the brush's copies side by side from `anchor`, the cell
    // where it began.
    QRect paintCells(QPoint from, QPoint to, QPoint anchor);
    QRect paintCells(QPoint from, QPoint to) { return paintCells(from, to, from); }
    QRect fillArea(QPoint cell);
    QRect fillRectangle(QPoint a, QPoint b);
    void endEdit();
    // Bitmaps dropped on the canvas: the first paints the cell under the
    // drop point, the others the cells to its right, and the pen takes the
    // first. False when the point is off the map.
    bool dropBitmaps(const std::vector<int>& bitmaps, QPoint cell);
    static constexpr const char* kDropText = "Drop Bitmaps on Map";
    // Bitmaps dragged from the Bitmaps grid or a picker, or picture files.
    CItemsDropTarget* dropTarget() const { return m_drops; }
    // How the step of an edit is opened, as the panel tells.
    CGestureStep& gestureStep() { return m_step; }

signals:
    // The edit opened by beginEdit is over; `changed` when it changed cells.
    void editFinished(bool changed);
    // The map took its cell size from a bitmap: the grid shows it.
    void cellSizeChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    template <typename Change> QRect edit(const char* text, int value, Change change);
    void updateStatus();
    void updateNote(bool taken, int value);
    void layoutContent();

    // Where each map was scrolled to and its zoom, so that going back to a
    // map finds it as it was left.
    struct Place {
        QPointF position;
        double zoom = 1.0;
    };
    std::map<const CMapItem*, Place> m_positions;
    CStepLock& m_lock;
    CResourceHolder* m_document = nullptr;
    int m_map = -1;
    QPoint m_current{0, 0};
    Tool m_tool = PaintTool;
    int m_openEdits = 0;
    CGestureStep m_step;
    bool m_changed = false;
    // Whether the open edit has looked at the map's cell size yet.
    bool m_sizeChecked = false;
    CMapStamp m_stamp;
    bool m_hasStamp = false;
    // Set while the editor moves the picker itself (the stamp stays).
    bool m_pickerFollows = false;
    double m_pickerFraction = kPickerFraction;
    CIndexList* m_picker;
    QLabel* m_status;
    QLabel* m_note;
    CMapCanvas* m_canvas;
    CZoomView* m_view;
    QAction* m_tools[kToolCount];
    CItemsDropTarget* m_drops;
};
