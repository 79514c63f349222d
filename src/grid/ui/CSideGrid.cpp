#include "grid/ui/CSideGrid.h"

#include "grid/ui/CCellDelegate.h"
#include "grid/ui/CTableSearch.h"
#include "params/ui/WidgetHelpers.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

// The rows of a side grid, read and written through the grid so that its
// operations and the table agree.
class CSideGridModel : public QAbstractTableModel {
public:
    explicit CSideGridModel(CSideGrid& grid) : QAbstractTableModel(&grid), m_grid(grid) {}

    // The rows can be asked for only while the subclass's part of the grid
    // exists: from the end of its constructor to the start of the base's
    // destructor.
    void open() { m_closed = false; }
    void close() { m_closed = true; }
    int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() || m_closed ? 0 : m_grid.rowTotal();
    }
    int columnCount(const QModelIndex& parent) const override
    {
        return parent.isValid() || m_closed ? 0 : m_grid.columnTotal();
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!m_closed && (role == Qt::DisplayRole || role == Qt::EditRole))
            return m_grid.cellText(index.column(), index.row());
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (!m_closed && orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return m_grid.headerText(section);
        return {};
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        CellValue value;
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (!m_closed && m_grid.cellValue(index.column(), index.row(), value) && value.isEditable())
            f |= Qt::ItemIsEditable;
        return f;
    }
    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        return !m_closed && role == Qt::EditRole && m_grid.editCellText(index.column(), index.row(), value.toString()) != 0;
    }
    void reset()
    {
        beginResetModel();
        endResetModel();
    }
    void rowsChanged(int first, int last)
    {
        if (first <= last)
            emit dataChanged(index(first, 0), index(last, columnCount({}) - 1));
    }

private:
    CSideGrid& m_grid;
    bool m_closed = true;
};

CSideGrid::CSideGrid(const char* defaultTitle, QWidget* parent)
    : QWidget(parent), m_defaultTitle(QString::fromLatin1(defaultTitle)), m_title(new QLabel(m_defaultTitle)),
      m_split(new QSplitter(Qt::Vertical)), m_table(new QTableView), m_model(new CSideGridModel(*this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_title);
    layout->addWidget(m_split, 1);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Typing or F2 edits the current cell without touching the selection,
    // so that the edit can go into every selected row.
    m_table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::AnyKeyPressed
                             | QAbstractItemView::EditKeyPressed);
    m_table->setContextMenuPolicy(Qt::CustomContextMenu);
    m_table->verticalHeader()->hide();
    CTableSearch::addShortcuts(*m_table);
    m_split->addWidget(m_table);

    m_delegate = new CCellDelegate(
        [this](const QModelIndex& index) -> CellValue* {
            CellValue& cell = m_cells[{index.row(), index.column()}];
            return cellValue(index.column(), index.row(), cell) ? &cell : nullptr;
        },
        m_table);
    m_table->setItemDelegate(m_delegate);
    connect(m_delegate, &CCellDelegate::cellEdited, this, [this](const QModelIndex& index) {
        // A copy: storing may redraw the table, which refills the cells.
        const CellValue edited = m_cells[{index.row(), index.column()}];
        storeEditedCell(index.column(), index.row(), edited);
    });
    connect(m_table, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu;
        fillContextMenu(menu);
        if (QAction* chosen = menu.exec(m_table->viewport()->mapToGlobal(at)))
            runCommand(chosen->data().toInt());
    });
}

CSideGrid::~CSideGrid()
{
    // The table may still ask for cells while it is taken down (closing a
    // visible window does): from here on the model answers with nothing.
    m_model->close();
    m_table->setModel(nullptr);
}

QString CSideGrid::title() const { return m_title->text(); }

void CSideGrid::setTitle(const QString& title) { m_title->setText(title); }

void CSideGrid::showDefaultTitle() { m_title->setText(m_defaultTitle); }

void CSideGrid::setLowerPane(QWidget* pane) { m_split->addWidget(pane); }

int CSideGrid::currentRow() const { return currentTableRow(*m_table); }

std::vector<int> CSideGrid::selectedRows() const { return selectedTableRows(*m_table); }

void CSideGrid::openRows()
{
    m_model->open();
    m_table->setModel(m_model);
}

void CSideGrid::resetRows() { m_model->reset(); }

void CSideGrid::rowChanged(int row) { m_model->rowsChanged(row, row); }

void CSideGrid::allRowsChanged() { m_model->rowsChanged(0, rowTotal() - 1); }
