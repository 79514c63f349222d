#pragma once

#include "grid/ui/CGestureStep.h"

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSplitter>

#include <map>

class CIndexList;
class CMapCanvas;
class CMapItem;
class CResourceHolder;
class CStepLock;
class CZoomView;
class QAction;
class QLabel;

// The map editor beside the Maps grid: the bitmap picker (its first row the
// empty cell) and, behind a splitter bar, the status text and tools above
// the canvas framed by its zoom-and-scroll bars. The canvas paints, fills
// and picks cells; every change holds the panel's step lock, and a stroke
// from press to release is one step (gestureStep()), followed by
// editFinished(changed).
class CMapEditor : public QSplitter {
    Q_OBJECT
public:
    static constexpr double kPickerFraction = 0.2;
    static constexpr int kBarWidth = 7;
    enum Tool { PaintTool, FillTool, RectangleTool };
    // What each edit is called in the undo history.
    static constexpr const char* kPaintText = "Paint Map Cells";
    static constexpr const char* kFillAreaText = "Fill Map Area";
    static constexpr const char* kFillRectangleText = "Fill Map Rectangle";
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
    QAction* toolAction(Tool tool) const { return m_tools[tool]; }
    Tool tool() const { return m_tool; }
    void setTool(Tool tool);

    // The picker's value: -1 for the empty row, else a bitmap index.
    int paintValue() const;
    // Selects the picker row of a cell's value.
    void pickValue(int value);

    // Clamped into the map; the canvas scrolls to show it if asked.
    void setCurrentCell(QPoint cell, bool scroll = true);
    QPoint currentCell() const { return m_current; }
    QString statusText() const;

    // The edits the canvas makes; each answers the cells changed. Edits made
    // between beginEdit and endEdit are one edit of the document.
    void beginEdit(const QString& text);
    QRect paintCells(QPoint from, QPoint to);
    QRect fillArea(QPoint cell);
    QRect fillRectangle(QPoint a, QPoint b);
    void endEdit();
    // How the step of an edit is opened, as the panel tells.
    CGestureStep& gestureStep() { return m_step; }

signals:
    // The edit opened by beginEdit is over; `changed` when it changed cells.
    void editFinished(bool changed);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    template <typename Change> QRect edit(const char* text, Change change);
    void updateStatus();
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
    double m_pickerFraction = kPickerFraction;
    CIndexList* m_picker;
    QLabel* m_status;
    CMapCanvas* m_canvas;
    CZoomView* m_view;
    QAction* m_tools[3];
};
