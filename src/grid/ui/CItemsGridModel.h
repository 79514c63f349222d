#pragma once

#include <QAbstractTableModel>

#include <map>
#include <memory>
#include <utility>

class CCellDelegate;
class CellValue;
class CItemsGrid;

// The rows and cells of an items grid as the table view shows them; every
// value comes from the grid and every edit goes back through it.
class CItemsGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit CItemsGridModel(CItemsGrid& grid);
    ~CItemsGridModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Rows dragged out of a grid that offers them (see CItemsGrid::setItemDrags):
    // the marked rows when the drag starts on one of them, else its row.
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::CopyAction; }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void resetRows();
    void rowsChanged(int first, int last);

    // The typed cell the editor fills for a row and grid column, refilled on
    // every call; nullptr for a plain text cell.
    CellValue* typedCell(int gridColumn, int item) const;
    // The delegate that draws and edits the typed cells (the plain ones keep
    // the table's own), sending an edit back through the grid.
    CCellDelegate* createDelegate(QObject* parent);

private:
    CItemsGrid& m_grid;
    // Typed cells by (row, grid column); kept per cell so that a cell under
    // edit is not overwritten by painting another.
    mutable std::map<std::pair<int, int>, std::unique_ptr<CellValue>> m_cells;
};
