#pragma once

#include <QStyledItemDelegate>

#include <functional>
#include <memory>

class CCellEditor;
class CellValue;

// Draws grid cells from their cell values in the program's colours and
// edits them in place by kind: a double-click, F2, Enter or a typed
// character starts the cell's editor. A cell that names an item of a group
// opens the picker on a double-click or F4; F2, Enter and typing still
// start its own editor (the number prompt, "Chose Image"). The grid says where each cell's value
// lives and whether its row and column numbers are shown plain.
class CCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using CellAccess = std::function<CellValue*(const QModelIndex&)>;
    using PlainNumbers = std::function<bool(const QModelIndex&)>;

    // Width of the arrow drawn on choice cells.
    static constexpr int kChoiceArrowWidth = 12;
    // The yes/no box.
    static constexpr int kCheckBoxSize = 13;

    explicit CCellDelegate(CellAccess cells, QObject* parent = nullptr);
    ~CCellDelegate() override;

    void setPlainNumbers(PlainNumbers plain) { m_plain = std::move(plain); }
    // Replaces the editor (the delegate owns it).
    void setEditor(std::unique_ptr<CCellEditor> editor);

    // The size a cell asks for (the grid sizes rows and columns with it).
    static QSize preferredSize(const CellValue& value, const QFontMetrics& metrics, int column, int row,
                               bool plainNumbers);
    // The cell drawn into rect; `rowFace`, when valid, is the face of an
    // unselected cell (a marked row's tint) instead of the window face.
    static void paintCell(QPainter& painter, const QRect& rect, const CellValue& value, int column, int row,
                          bool plainNumbers, bool selected, bool focused, const QColor& rowFace = QColor());

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget*, const QStyleOptionViewItem&, const QModelIndex&) const override { return nullptr; }

    // Runs the cell's editor; 1 when the value changed (cellEdited is then
    // emitted for the grid to store it).
    int editCell(QWidget* view, const QRect& rect, const QModelIndex& index, const std::string& typed,
                 bool startFromCurrent);

    // Runs the picker of a reference cell; 1 when the value changed.
    int pickCell(QWidget* view, const QModelIndex& index);

signals:
    void cellEdited(const QModelIndex& index);

protected:
    // F4 on the table: the table keeps keys without text to itself, so the
    // delegate of the current cell listens on it.
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

private:
    bool plain(const QModelIndex& index) const { return m_plain && m_plain(index); }
    // Grids that show stored pictures make the thumbnails of a screen
    // together before each paint; the others never pay for the look.
    void prepareThumbnailsFromNowOn() const;

    CellAccess m_cells;
    PlainNumbers m_plain;
    std::unique_ptr<CCellEditor> m_editor;
    mutable bool m_preparesThumbnails = false;
};
