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
        if (m_closed || role != Qt::EditRole)
            return false;
        const auto edit = m_grid.openEdit(QStringLiteral("Edit %1").arg(m_grid.headerText(index.column())));
        return m_grid.editCellText(index.column(), index.row(), value.toString()) != 0;
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

namespace {
enum RowCommand { RowInsert = 100, RowDelete, RowMoveUp, RowMoveDown, RowSwap };
} // namespace

CSideGrid::CSideGrid(const char* defaultTitle, const char* rowNoun, const char* rowsNoun, QWidget* parent)
    : QWidget(parent), m_defaultTitle(QString::fromLatin1(defaultTitle)), m_rowNoun(QString::fromLatin1(rowNoun)),
      m_rowsNoun(QString::fromLatin1(rowsNoun)), m_title(new QLabel(m_defaultTitle)),
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
        const auto edit = openEdit(QStringLiteral("Edit %1").arg(headerText(index.column())));
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

void CSideGrid::addEntry(QMenu& menu, const char* label, const char* help, int command, bool enabled)
{
    QAction* action = menu.addAction(QString::fromLatin1(label));
    action->setData(command);
    action->setStatusTip(QString::fromLatin1(help));
    action->setToolTip(QString::fromLatin1(help));
    action->setEnabled(enabled);
}

void CSideGrid::fillContextMenu(QMenu& menu)
{
    const int row = currentRow();
    const std::vector<int> rows = selectedRows();
    const int count = rowTotal();
    auto add = [&](const char* label, const QString& help, int command, bool enabled) {
        addEntry(menu, label, help.toLatin1().constData(), command, enabled);
    };
    add("&Insert", QStringLiteral("Insert a new %1").arg(m_rowNoun), RowInsert, canInsertRow());
    add("&Delete", QStringLiteral("Delete the selected %1").arg(m_rowsNoun), RowDelete, !rows.empty());
    add("Move &Up", QStringLiteral("Move the current %1 up").arg(m_rowNoun), RowMoveUp, row > 0);
    add("Move Do&wn", QStringLiteral("Move the current %1 down").arg(m_rowNoun), RowMoveDown,
        row >= 0 && row + 1 < count);
    add("&Swap", QStringLiteral("Swap the two selected %1").arg(m_rowsNoun), RowSwap, rows.size() == 2);
    menu.addSeparator();
    addOwnEntries(menu);
    CTableSearch::addMenuEntries(menu, *m_table);
}

void CSideGrid::recordEditsIn(std::function<CDocumentHistory*()> history,
                              std::function<void(CDocumentHistory::Edit&)> scope)
{
    m_history = std::move(history);
    m_editScope = std::move(scope);
}

std::unique_ptr<CDocumentHistory::Edit> CSideGrid::openEdit(const QString& text)
{
    auto edit = std::make_unique<CDocumentHistory::Edit>(m_history ? m_history() : nullptr, text);
    if (m_editScope)
        m_editScope(*edit);
    return edit;
}

QString CSideGrid::commandText(int command) const
{
    const int rows = static_cast<int>(selectedRows().size());
    switch (command) {
    case RowInsert: return QStringLiteral("Insert %1").arg(m_rowNoun);
    case RowDelete:
        return rows == 1 ? QStringLiteral("Delete %1").arg(m_rowNoun)
                         : QStringLiteral("Delete %1 %2").arg(rows).arg(m_rowsNoun);
    case RowMoveUp:
    case RowMoveDown: return QStringLiteral("Move %1").arg(m_rowNoun);
    case RowSwap: return QStringLiteral("Swap %1").arg(m_rowsNoun);
    default: return QStringLiteral("Edit %1").arg(m_rowsNoun);
    }
}

int CSideGrid::runCommand(int command)
{
    const auto edit = openEdit(commandText(command));
    const int row = currentRow();
    switch (command) {
    case RowInsert: return insertRow() >= 0;
    case RowDelete: {
        const std::vector<int> rows = selectedRows();
        int done = 0;
        // From the last, so that the rows still to delete keep their index.
        for (auto it = rows.rbegin(); it != rows.rend(); ++it)
            done += deleteRow(*it);
        return done > 0;
    }
    case RowMoveUp: return moveRow(row, row - 1);
    case RowMoveDown: return moveRow(row, row + 1);
    case RowSwap: {
        const std::vector<int> rows = selectedRows();
        return rows.size() == 2 && swapRows(rows[0], rows[1]);
    }
    default:
        if (CTableSearch::run(*m_table, command))
            return 1;
        return runOwnCommand(command);
    }
}
