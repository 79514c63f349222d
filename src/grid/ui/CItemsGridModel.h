#pragma once

#include <QAbstractTableModel>

class CItemsGrid;

// The rows and cells of an items grid as the table view shows them; every
// value comes from the grid and every edit goes back through it.
class CItemsGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit CItemsGridModel(CItemsGrid& grid) : QAbstractTableModel(nullptr), m_grid(grid) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void resetRows();
    void rowsChanged(int first, int last);

private:
    CItemsGrid& m_grid;
};
