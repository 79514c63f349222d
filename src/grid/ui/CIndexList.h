#pragma once

#include <QWidget>

#include <string>
#include <vector>

class CDisplayBuffer;
class CResourceHolder;
class QScrollBar;

// A scrolling list of numbered rows from which the user picks one item of a
// document by its index: any indices (mode 0), the bitmaps (1), the
// animations (2) or the frames of one animation (3). With the empty row on,
// a first row stands for -1 ("Empty / Transparent"). The document is read
// through the holder's per-group operations only.
class CIndexList : public QWidget {
    Q_OBJECT
public:
    enum Mode : int { ModeIndices = 0, ModeBitmaps = 1, ModeAnimations = 2, ModeFrames = 3 };
    static constexpr const char* kEmptyText = "Empty / Transparent";
    static constexpr const char* kOutOfRange = "None / Out of Range";
    // The rows leave at least this much beside the scroll bar.
    static constexpr int kMinimumRowsWidth = 32;

    explicit CIndexList(QWidget* parent = nullptr);

    // The holder is not owned; attach(nullptr) before it goes away.
    void attach(const CResourceHolder* holder);
    const CResourceHolder* holder() const { return m_holder; }
    // 0 for a mode outside 0..3 (nothing changes).
    int setDisplayMode(int mode);
    int displayMode() const { return m_mode; }
    void setEmptyRow(bool on);
    bool emptyRow() const { return m_emptyRow; }
    void setAnimationIndex(int index);
    int animationIndex() const { return m_animation; }
    // Frame rows as a person reads them ("3 · walk_02 · 80 ms · offset 2,
    // −1") instead of the compact "3 - [ 10x 7 ] - <2, -1> - walk_02".
    void setPlainFrameRows(bool on);
    // With item drags on, a left drag from a bitmap or animation row takes
    // it (the marked rows, when it is one of them) to another view.
    void setItemDrags(bool on) { m_itemDrags = on; }
    // The rows a drag from the row of `index` carries.
    std::vector<int> dragIndexes(int index) const;
    // A line above row `row` (rowCount(): below the last), where dropped
    // items would go; -1 for none.
    void setDropMarker(int row);
    int dropMarker() const { return m_dropMarker; }
    // Mode 0 lists this many indices.
    void setIndexCount(int count);

    // Clamps into the rows; 1 when i was a row's index as given.
    int select(int i);
    int selectedIndex() const { return m_selected; }

    // With marking on, Ctrl+click and Ctrl+Space mark and unmark rows; the
    // marks are kept in the order they were made.
    void setMarking(bool on);
    bool toggleMark(int index);
    const std::vector<int>& marks() const { return m_marks; }
    void clearMarks();

    int rowCount() const;
    int indexOfRow(int row) const { return m_emptyRow ? row - 1 : row; }
    std::string rowText(int row) const;
    int rowHeight(int row) const;
    int rowTop(int row) const;
    // The row under y (client coordinates), or -1.
    int rowAt(int y) const;
    int scrollOffset() const { return m_offset; }
    QScrollBar* scrollBar() const { return m_bar; }

    // Rebuilds the rows from the document.
    void refresh();

    QSize sizeHint() const override;

signals:
    void selectionChanged(int index);
    // A row was double-clicked (its index).
    void indexActivated(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    int listedCount() const;
    int totalHeight() const;
    int clientHeight() const;
    void updateScrollBar();
    void scrollIntoView();
    const CDisplayBuffer* bitmapAt(int index) const;
    // Where a bitmap row's thumbnail must fit.
    QSize thumbnailBox(int row) const;
    // The thumbnails of the rows shown, made together before they are painted.
    void prepareThumbnails() const;
    // The picture's height, known without decoding it; 0 without pixels.
    int bitmapHeight(int index) const;

    bool isMarked(int index) const;

    const CResourceHolder* m_holder = nullptr;
    bool m_marking = false;
    bool m_itemDrags = false;
    // Where the left button went down on a row (-2: not on a row).
    QPoint m_pressAt;
    int m_pressIndex = -2;
    int m_dropMarker = -1;
    std::vector<int> m_marks;
    int m_mode = ModeBitmaps;
    bool m_emptyRow = false;
    bool m_plainFrames = false;
    int m_selected = 0;
    int m_animation = -1;
    int m_indexCount = 0;
    int m_offset = 0;
    std::vector<int> m_heights;
    QScrollBar* m_bar;
};
