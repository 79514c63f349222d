#include "grid/ui/CItemsGrid.h"

#include "params/ui/WidgetHelpers.h"

#include "core/CDocumentHistory.h"
#include "core/CIndexChange.h"
#include "core/RowOrder.h"
#include "core/CResourceHolder.h"
#include "core/CResourceItem.h"
#include "core/IPrompter.h"
#include "grid/CellValue.h"
#include "grid/ui/CCellDelegate.h"
#include "grid/ui/CFindDialog.h"
#include "grid/ui/CItemsGridModel.h"
#include "grid/ui/CSelectedRowsEdit.h"
#include "grid/ui/IPanelHost.h"
#include "params/ui/CUiServices.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QSplitter>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <string>
#include <unordered_map>

namespace {
// Typed cells are drawn and edited by their kind; the editors' plain text
// cells keep the table's own drawing and in-place line edit.
class CGridCellDelegate : public CCellDelegate {
public:
    CGridCellDelegate(CellAccess cells, QObject* parent) : CCellDelegate(cells, parent), m_access(std::move(cells)) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (m_access(index))
            return nullptr;
        return QStyledItemDelegate::createEditor(parent, option, index);
    }

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override
    {
        if (m_access(index))
            return CCellDelegate::editorEvent(event, model, option, index);
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    }

private:
    CellAccess m_access;
};
} // namespace

CItemsGrid::CItemsGrid(int group, QWidget* parent)
    : QWidget(parent), m_group(group), m_model(new CItemsGridModel(*this)), m_table(new QTableView),
      m_splitter(new QSplitter(Qt::Horizontal)), m_editorView(new QLabel), m_selectedText(new QLabel)
{
    m_model->setParent(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* bar = new QToolBar;
    bar->setIconSize(QSize(16, 16));
    auto* menuButton = new QToolButton;
    menuButton->setObjectName(QStringLiteral("itemsMenu"));
    menuButton->setText(tr("Items Menu"));
    menuButton->setToolTip(QString::fromLatin1(kItemsMenuTip));
    menuButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    connect(menuButton, &QToolButton::clicked, this, &CItemsGrid::showContextMenu);
    bar->addWidget(menuButton);
    bar->addSeparator();
    m_selectedText->setContentsMargins(8, 0, 8, 0);
    bar->addWidget(m_selectedText);
    layout->addWidget(bar);

    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::AnyKeyPressed
                             | QAbstractItemView::EditKeyPressed);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(kRowHeight);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setAlternatingRowColors(true);
    m_table->setContextMenuPolicy(Qt::CustomContextMenu);
    m_table->installEventFilter(this);
    connect(m_table, &QWidget::customContextMenuRequested, this, [this](const QPoint&) { showContextMenu(); });
    connect(m_table->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& now, const QModelIndex& before) {
                if (now.row() != before.row()) {
                    reloadEditorView();
                    updateSelectedCount();
                }
            });

    m_editorView->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_editorView->setWordWrap(true);
    m_editorView->setMargin(12);
    m_editorView->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_splitter->addWidget(m_table);
    m_splitter->addWidget(m_editorView);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 1);
    // Grid and view share the width equally at first.
    m_splitter->setSizes({10000, 10000});
    layout->addWidget(m_splitter, 1);
    setAcceptDrops(true);
    setFocusProxy(m_table);

    auto* delegate = new CGridCellDelegate(
        [this](const QModelIndex& index) { return typedCell(index.column(), index.row()); }, m_table);
    m_table->setItemDelegate(delegate);
    connect(delegate, &CCellDelegate::cellEdited, this, [this](const QModelIndex& index) {
        // The value the cell's editor changed, not a fresh fill from the item.
        const auto edited = m_cells.find({index.row(), index.column()});
        if (edited != m_cells.end() && edited->second) {
            const CellValue value = *edited->second;
            editCellValue(index.column(), index.row(), value);
        }
    });
}

CellValue* CItemsGrid::typedCell(int gridColumn, int item) const
{
    const int column = gridColumn - kLeadingColumns;
    if (column < 0 || column >= editorColumnCount() || item < 0 || item >= rowCount())
        return nullptr;
    CellValue fresh;
    if (!editorCellValue(column, item, fresh))
        return nullptr;
    auto& slot = m_cells[{item, gridColumn}];
    if (!slot)
        slot = std::make_unique<CellValue>();
    *slot = fresh;
    return slot.get();
}

int CItemsGrid::setEditorCellValue(int column, int item, const CellValue& value)
{
    return setEditorCell(column, item, QString::fromStdString(value.text()));
}

CItemsGrid::~CItemsGrid()
{
    // Closing a visible window of the grid after this destructor would make
    // the table ask the model, and the model this object, for cells.
    m_table->setModel(nullptr);
}

CFindOptions& CItemsGrid::findOptions()
{
    static CFindOptions options;
    return options;
}

void CItemsGrid::attach(CResourceHolder* holder, IPanelHost* host)
{
    m_holder = holder;
    m_host = host;
    reload();
}

int CItemsGrid::rowCount() const { return m_holder ? m_holder->count(m_group) : 0; }

void CItemsGrid::reload()
{
    const int current = currentItem();
    const int column = currentColumn();
    m_marks.resize(static_cast<std::size_t>(rowCount()), 0);
    m_cells.clear();
    m_model->resetRows();
    fitRowHeights();
    m_table->resizeColumnToContents(0);
    m_table->resizeColumnToContents(1);
    for (int c = kLeadingColumns; c < gridColumnCount() - 1; ++c) {
        m_table->resizeColumnToContents(c);
        m_table->setColumnWidth(c, std::clamp(m_table->columnWidth(c), 140, 320));
    }
    if (current >= 0 && current < rowCount())
        setCurrentCell(std::max(column, 0), current);
    else if (rowCount() > 0)
        setCurrentCell(kLeadingColumns, 0);
    reloadEditorView();
    updateSelectedCount();
}

void CItemsGrid::refreshRows()
{
    // Resetting the rows drops the table's current cell; commands that
    // refresh must not lose the row they worked on.
    const int current = currentItem();
    const int column = currentColumn();
    m_marks.resize(static_cast<std::size_t>(rowCount()), 0);
    m_cells.clear();
    m_model->resetRows();
    fitRowHeights();
    if (current >= 0 && current < rowCount())
        setCurrentCell(std::max(column, 0), current);
    updateSelectedCount();
}

void CItemsGrid::fitRowHeights()
{
    // Measuring asks every cell of every row for its size; a long group
    // keeps the fixed height so that an edit stays instant.
    if (rowCount() > kMeasuredRowsLimit)
        return;
    // A panel with taller rows (pictures, waveforms) keeps its own height as
    // the least.
    const int least = m_table->verticalHeader()->defaultSectionSize();
    const int most = std::max(least, kTallestRow);
    const QAbstractItemView& view = *m_table;
    for (int row = 0; row < rowCount(); ++row)
        m_table->setRowHeight(row, std::clamp(view.sizeHintForRow(row), least, most));
}

void CItemsGrid::refresh()
{
    reloadEditorView();
    refreshRows();
}

void CItemsGrid::selectRow(int item)
{
    if (item >= 0 && item < rowCount())
        setCurrentCell(std::max(currentColumn(), kLeadingColumns), item);
}

int CItemsGrid::currentItem() const
{
    const QModelIndex index = m_table->currentIndex();
    return index.isValid() && index.row() < rowCount() ? index.row() : -1;
}

int CItemsGrid::currentColumn() const
{
    const QModelIndex index = m_table->currentIndex();
    return index.isValid() ? index.column() : -1;
}

void CItemsGrid::setCurrentCell(int column, int item)
{
    const QModelIndex index = m_model->index(item, std::clamp(column, 0, gridColumnCount() - 1));
    if (!index.isValid())
        return;
    m_table->setCurrentIndex(index);
    m_table->scrollTo(index);
}

void CItemsGrid::runLocked(const std::function<void()>& apply)
{
    CLock lock(*this);
    apply();
}

CDocumentHistory* CItemsGrid::history() const { return m_host ? m_host->history() : nullptr; }

QString CItemsGrid::stepText(const char* verb, int count) const
{
    return QStringLiteral("%1 %2").arg(QLatin1String(verb), CDocumentHistory::rowsText(m_group, count));
}

QString CItemsGrid::commandLabel(int command)
{
    QMenu menu;
    buildMenu(menu, kEditorBase);
    for (QAction* action : menu.findChildren<QAction*>())
        if (action->data().toInt() == command)
            return action->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0).remove(QStringLiteral("..."));
    return QStringLiteral("Command");
}

bool CItemsGrid::runGameStep()
{
    return m_stepLock.runStep([this] { return gameStep(); });
}

// --- editor defaults: the ID and Comments every item has -----------------

QString CItemsGrid::editorHeader(int column) const
{
    return column == 0 ? QStringLiteral("ID") : column == 1 ? QStringLiteral("Comments") : QString();
}

QString CItemsGrid::editorCellText(int column, int item) const
{
    const CResourceItem* record = m_holder ? m_holder->get(m_group, item) : nullptr;
    if (!record)
        return {};
    if (column == 0)
        return QString::fromStdString(record->id());
    if (column == 1)
        return QString::fromStdString(record->comments());
    return {};
}

int CItemsGrid::setEditorCell(int column, int item, const QString& text)
{
    CResourceItem* record = m_holder ? m_holder->get(m_group, item) : nullptr;
    if (!record)
        return 0;
    if (column == 0)
        record->setId(text.toStdString());
    else if (column == 1)
        record->setComments(text.toStdString());
    else
        return 0;
    return 1;
}

int CItemsGrid::copyEditorCell(int column, int to, int from)
{
    return setEditorCell(column, to, editorCellText(column, from));
}

int CItemsGrid::compareCells(int gridColumn, int a, int b) const
{
    if (gridColumn <= 0)
        return (a > b) - (a < b);
    CellValue left;
    CellValue right;
    const int column = gridColumn - kLeadingColumns;
    if (column >= 0 && editorCellValue(column, a, left) && editorCellValue(column, b, right))
        return left.isGreaterThan(right) ? 1 : right.isGreaterThan(left) ? -1 : 0;
    return QString::compare(gridCellText(gridColumn, a), gridCellText(gridColumn, b), Qt::CaseSensitive);
}

int CItemsGrid::newItem()
{
    return m_holder ? m_holder->newItem(m_group, kNewId) : -1;
}

int CItemsGrid::deleteItem(int item)
{
    if (!m_holder || !m_holder->remove(m_group, item))
        return 0;
    if (m_host && m_host->maintainRelationships())
        m_holder->renumberReferences(m_group, CIndexChange::removed(item, m_holder->count(m_group)));
    return 1;
}

int CItemsGrid::moveItem(int from, int to)
{
    if (!m_holder || !m_holder->move(m_group, from, to))
        return 0;
    if (m_host && m_host->maintainRelationships())
        m_holder->renumberReferences(m_group, CIndexChange::moved(from, to));
    return 1;
}

int CItemsGrid::swapItems(int a, int b)
{
    if (!m_holder || !m_holder->swap(m_group, a, b))
        return 0;
    if (m_host && m_host->maintainRelationships())
        m_holder->renumberReferences(m_group, CIndexChange::swapped(a, b));
    return 1;
}

int CItemsGrid::rearrangeItems(const std::vector<int>& order)
{
    return m_holder ? m_holder->rearrange(m_group, order, m_host && m_host->maintainRelationships()) : 0;
}

void CItemsGrid::reloadEditorView()
{
    const int item = currentItem();
    const CResourceItem* record = m_holder ? m_holder->get(m_group, item) : nullptr;
    if (!record) {
        m_editorView->setText(tr("<i>No item</i>"));
        return;
    }
    m_editorView->setText(QStringLiteral("<h3>%1</h3><p style='white-space:pre-wrap'>%2</p>")
                              .arg(QString::fromStdString(record->id()).toHtmlEscaped(),
                                   QString::fromStdString(record->comments()).toHtmlEscaped()));
}

// --- selection -------------------------------------------------------------

QString CItemsGrid::gridCellText(int gridColumn, int item) const
{
    if (gridColumn == 0)
        return QString::number(item);
    if (gridColumn == 1)
        return isMarked(item) ? QStringLiteral("Yes") : QStringLiteral("No");
    CellValue typed;
    if (gridColumn >= kLeadingColumns && editorCellValue(gridColumn - kLeadingColumns, item, typed))
        return QString::fromStdString(typed.displayText(gridColumn, item));
    return editorCellText(gridColumn - kLeadingColumns, item);
}

bool CItemsGrid::isMarked(int item) const
{
    return item >= 0 && item < static_cast<int>(m_marks.size()) && m_marks[static_cast<std::size_t>(item)];
}

void CItemsGrid::setMarked(int item, bool marked)
{
    if (item < 0 || item >= rowCount())
        return;
    m_marks.resize(static_cast<std::size_t>(rowCount()), 0);
    int& mark = m_marks[static_cast<std::size_t>(item)];
    mark = !marked ? 0 : mark ? mark : ++m_markStamp;
    m_model->rowsChanged(item, item);
    updateSelectedCount();
}

std::vector<int> CItemsGrid::selectionSet(bool ascending) const
{
    std::vector<int> set;
    const int rows = rowCount();
    for (int i = 0; i < rows; ++i)
        if (isMarked(i))
            set.push_back(i);
    const int current = currentItem();
    if (current >= 0 && !isMarked(current))
        set.push_back(current);
    std::sort(set.begin(), set.end());
    if (!ascending)
        std::reverse(set.begin(), set.end());
    return set;
}

std::vector<int> CItemsGrid::selectionInMarkOrder() const
{
    std::vector<int> marked;
    const int rows = std::min(rowCount(), static_cast<int>(m_marks.size()));
    for (int i = 0; i < rows; ++i)
        if (m_marks[static_cast<std::size_t>(i)])
            marked.push_back(i);
    std::stable_sort(marked.begin(), marked.end(), [this](int a, int b) {
        return m_marks[static_cast<std::size_t>(a)] < m_marks[static_cast<std::size_t>(b)];
    });
    const int current = currentItem();
    if (current >= 0 && !isMarked(current))
        marked.push_back(current);
    return marked;
}

int CItemsGrid::selectedCount() const { return static_cast<int>(selectionSet(true).size()); }

void CItemsGrid::updateSelectedCount()
{
    const int count = selectedCount();
    m_selectedText->setText(QStringLiteral("Selected: %1").arg(count));
    emit selectionCountChanged(count);
}

void CItemsGrid::selectAll()
{
    m_marks.assign(static_cast<std::size_t>(rowCount()), ++m_markStamp);
    refreshRows();
}

void CItemsGrid::selectNone()
{
    m_marks.assign(static_cast<std::size_t>(rowCount()), 0);
    refreshRows();
}

void CItemsGrid::selectInvert()
{
    m_marks.resize(static_cast<std::size_t>(rowCount()), 0);
    const int stamp = ++m_markStamp;
    for (int& m : m_marks)
        m = m ? 0 : stamp;
    refreshRows();
}

bool CItemsGrid::rearrangeRows(const std::vector<int>& order)
{
    const int rows = rowCount();
    if (RowOrder::isUnchanged(order, rows))
        return false;
    m_marks.resize(static_cast<std::size_t>(rows), 0);
    CLock lock(*this);
    if (!rearrangeItems(order))
        return false;
    // The marks follow their items; a deleted row's mark goes with it.
    RowOrder::rearrange(m_marks, order);
    return true;
}

void CItemsGrid::markModified()
{
    if (m_host)
        m_host->markModified();
}

// --- item commands ---------------------------------------------------------

void CItemsGrid::insertItem()
{
    CDocumentHistory::Edit edit(history(), stepText("Insert", 1));
    int item = -1;
    {
        CLock lock(*this);
        item = newItem();
    }
    if (item < 0)
        return;
    refreshRows();
    setCurrentCell(std::max(currentColumn(), kLeadingColumns), item);
    markModified();
}

void CItemsGrid::deleteItems()
{
    const std::vector<int> set = selectionSet(false);
    if (set.empty())
        return;
    CDocumentHistory::Edit edit(history(), stepText("Delete", static_cast<int>(set.size())));
    rearrangeRows(RowOrder::withoutRows(rowCount(), set));
    m_marks.assign(static_cast<std::size_t>(rowCount()), 0);
    refreshRows();
    const int rows = rowCount();
    if (rows > 0)
        setCurrentCell(std::max(currentColumn(), kLeadingColumns), std::min(set.back(), rows - 1));
    reloadEditorView();
    markModified();
    if (m_host)
        m_host->broadcastReload();
}

void CItemsGrid::moveUp()
{
    const std::vector<int> set = selectionSet(true);
    if (set.empty() || set.front() <= 0)
        return;
    CDocumentHistory::Edit edit(history(), stepText("Move Up", static_cast<int>(set.size())));
    const int column = currentColumn();
    rearrangeRows(RowOrder::movedUp(rowCount(), set));
    refreshRows();
    setCurrentCell(column, set.front() - 1);
    markModified();
}

void CItemsGrid::moveDown()
{
    const std::vector<int> set = selectionSet(false);
    if (set.empty() || set.front() >= rowCount() - 1)
        return;
    CDocumentHistory::Edit edit(history(), stepText("Move Down", static_cast<int>(set.size())));
    const int column = currentColumn();
    rearrangeRows(RowOrder::movedDown(rowCount(), set));
    refreshRows();
    setCurrentCell(column, set.front() + 1);
    markModified();
}

void CItemsGrid::groupItems()
{
    const std::vector<int> set = selectionSet(true);
    if (set.empty())
        return;
    CDocumentHistory::Edit edit(history(), stepText("Group", static_cast<int>(set.size())));
    rearrangeRows(RowOrder::grouped(rowCount(), set));
    refreshRows();
    markModified();
}

void CItemsGrid::sortItems(bool ascending)
{
    const std::vector<int> set = selectionSet(true);
    if (set.size() < 2)
        return;
    CDocumentHistory::Edit edit(history(), stepText("Sort", static_cast<int>(set.size())));
    const int column = std::max(currentColumn(), 0);
    const int current = currentItem();
    // Items are compared where they stand before anything moves; the row
    // number column therefore sorts by the rows' old numbers.
    const std::vector<int> order = RowOrder::sorted(rowCount(), set, ascending,
                                                    [&](int a, int b) { return compareCells(column, a, b); });
    const bool changed = rearrangeRows(order);
    refreshRows();
    if (current >= 0)
        setCurrentCell(column, current);
    if (changed)
        markModified();
}

void CItemsGrid::editCell(int gridColumn, int item, const QString& text)
{
    if (gridColumn == 1) {
        setMarked(item, text == QLatin1String("Yes"));
        return;
    }
    storeEdit(gridColumn, item, [&](int column) { return setEditorCell(column, item, text); });
}

void CItemsGrid::editCellValue(int gridColumn, int item, const CellValue& value)
{
    if (gridColumn == 1) {
        setMarked(item, value.yesNo());
        return;
    }
    storeEdit(gridColumn, item, [&](int column) { return setEditorCellValue(column, item, value); });
}

template <typename Store> void CItemsGrid::storeEdit(int gridColumn, int item, Store store)
{
    const int column = gridColumn - kLeadingColumns;
    if (column < 0 || item < 0 || item >= rowCount())
        return;
    // One step for the edited row and every marked row it is copied into.
    std::vector<int> rows{item};
    for (int other = 0; other < rowCount(); ++other)
        if (other != item && isMarked(other))
            rows.push_back(other);
    CDocumentHistory::Edit edit(history(), QStringLiteral("Edit %1 of %2")
                                               .arg(editorHeader(column), CDocumentHistory::rowsText(
                                                                              m_group, static_cast<int>(rows.size()))));
    edit.touchRows(m_group, rows);
    {
        CLock lock(*this);
        std::vector<int> marked;
        for (int other = 0; other < rowCount(); ++other)
            if (isMarked(other))
                marked.push_back(other);
        const CSelectedRowsEdit::Result result = CSelectedRowsEdit::run(
            item, marked, [&] { return store(column) != 0; },
            [&](int other) { return copyEditorCell(column, other, item) != 0; });
        if (!result.stored) {
            // A refused edit shows the stored value again.
            m_model->rowsChanged(item, item);
            return;
        }
    }
    m_model->rowsChanged(0, rowCount() - 1);
    fitRowHeights();
    reloadEditorView();
    markModified();
}

// --- integrity ------------------------------------------------------------

bool CItemsGrid::checkUniqueIds()
{
    if (!holder())
        return true;
    std::unordered_map<std::string, int> first;
    for (int item = 0; item < rowCount(); ++item) {
        const CResourceItem* record = holder()->get(group(), item);
        if (!record)
            continue;
        const auto [seen, added] = first.emplace(record->id(), item);
        if (!added)
            return reportFinding(item, QStringLiteral("The ID \"%1\" of item %2 is already the ID of item %3.")
                                           .arg(QString::fromStdString(record->id()), QString::number(item),
                                                QString::number(seen->second)));
    }
    return true;
}

bool CItemsGrid::reportFinding(int item, const QString& text)
{
    selectRow(item);
    CUiServices::prompter().tell(text.toStdString(), IPrompter::Icon::Exclamation);
    return false;
}

// --- find ----------------------------------------------------------------

bool CItemsGrid::find() { return search(findOptions(), true); }

bool CItemsGrid::findNext(bool backward)
{
    CFindOptions options = findOptions();
    options.backward = backward;
    options.selectItems = false;
    options.replace = false;
    return search(options, false);
}

bool CItemsGrid::search(const CFindOptions& options, bool allowSelectAndReplace)
{
    const int columns = gridColumnCount();
    const int rows = rowCount();
    if (columns <= 0 || rows <= 0 || options.text.isEmpty())
        return false;
    const int startColumn = std::max(currentColumn(), 0);
    const int startRow = std::max(currentItem(), 0);
    const auto cells = CItemsGridSearch::walk(columns, rows, {startColumn, startRow}, options.backward);
    const bool selecting = allowSelectAndReplace && options.selectItems;
    const bool replacing = allowSelectAndReplace && !options.selectItems && options.replace;

    auto matchAt = [&](const CItemsGridSearch::Cell& cell) {
        if (options.inSelectedItems && !isMarked(cell.row))
            return false;
        return CItemsGridSearch::matches(gridCellText(cell.column, cell.row), options.text, options.matchCase,
                                         options.wholeWord);
    };

    if (selecting) {
        std::vector<int> found;
        for (const auto& cell : cells)
            if (matchAt(cell) && std::find(found.begin(), found.end(), cell.row) == found.end())
                found.push_back(cell.row);
        if (found.empty())
            return false;
        if (options.unselectPrevious)
            m_marks.assign(static_cast<std::size_t>(rows), 0);
        const int stamp = ++m_markStamp;
        for (int row : found)
            m_marks[static_cast<std::size_t>(row)] = stamp;
        refreshRows();
        const auto [low, high] = std::minmax_element(found.begin(), found.end());
        m_table->scrollTo(m_model->index(*high, 0));
        setCurrentCell(startColumn, found.front());
        m_table->scrollTo(m_model->index(*low, 0));
        return true;
    }

    bool matched = false;
    bool replacedAny = false;
    // Replacing every match is one step.
    CDocumentHistory::Edit edit(replacing ? history() : nullptr,
                                QStringLiteral("Replace \"%1\" with \"%2\"").arg(options.text, options.replacement));
    for (const auto& cell : cells) {
        if (!matchAt(cell))
            continue;
        matched = true;
        setCurrentCell(cell.column, cell.row);
        if (!replacing)
            return true;
        const QString before = gridCellText(cell.column, cell.row);
        if (options.askBeforeReplace) {
            const QString question = QString::fromLatin1(kReplaceQuestion).arg(options.text, options.replacement);
            const auto answer = CUiServices::prompter().ask(question.toStdString(), IPrompter::Buttons::YesNoCancel,
                                                            IPrompter::Icon::Question);
            if (answer == IPrompter::Answer::Cancel)
                break;
            if (answer != IPrompter::Answer::Yes)
                continue;
        }
        const int column = cell.column - kLeadingColumns;
        if (column < 0)
            continue;
        edit.touchRow(m_group, cell.row);
        CLock lock(*this);
        if (setEditorCell(column, cell.row,
                          CItemsGridSearch::replaced(before, options.text, options.replacement, options.matchCase)))
            replacedAny = true;
    }
    if (replacedAny) {
        m_model->rowsChanged(0, rows - 1);
        reloadEditorView();
        markModified();
    }
    return matched;
}

void CItemsGrid::showFindDialog()
{
    if (rowCount() == 0)
        return;
    CFindDialog dialog(findOptions(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    findOptions() = dialog.options();
    find();
}

// --- files, menu, keys ---------------------------------------------------

void CItemsGrid::dropFiles(const QStringList& paths)
{
    if (!acceptsFiles()) {
        CUiServices::prompter().tell(kRefusesFiles, IPrompter::Icon::Exclamation);
        return;
    }
    int added = 0;
    CDocumentHistory::Edit edit(history(), paths.size() == 1 ? QStringLiteral("Drop File") : QStringLiteral("Drop %1 Files").arg(paths.size()));
    edit.touchRows(m_group, selectionSet(true));
    {
        CLock lock(*this);
        for (const QString& path : paths)
            added += dropFile(path) ? 1 : 0;
    }
    refreshRows();
    if (added > 0)
        markModified();
}

void CItemsGrid::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CItemsGrid::dropEvent(QDropEvent* event)
{
    const QStringList paths = droppedLocalFiles(event->mimeData());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    dropFiles(paths);
}

bool CItemsGrid::runCommand(int command)
{
    if (command >= kEditorBase) {
        // An editor command works on the marked rows and the current one;
        // rows it adds or removes anywhere are noticed by the history itself.
        CDocumentHistory::Edit edit(history(), commandLabel(command));
        edit.touchRows(m_group, selectionSet(true));
        if (this->command(kEditorBase, command)) {
            markModified();
            refresh();
        }
        return true;
    }
    switch (command) {
    case CmdInsert: insertItem(); return true;
    case CmdDelete: deleteItems(); return true;
    case CmdGroup: groupItems(); return true;
    case CmdMoveUp: moveUp(); return true;
    case CmdMoveDown: moveDown(); return true;
    case CmdSelectAll: selectAll(); return true;
    case CmdSelectInvert: selectInvert(); return true;
    case CmdSelectNone: selectNone(); return true;
    case CmdRefresh: refresh(); return true;
    case CmdFindPrevious: findNext(true); return true;
    case CmdFind: showFindDialog(); return true;
    case CmdFindNext: findNext(false); return true;
    case CmdSortAscending: sortItems(true); return true;
    case CmdSortDescending: sortItems(false); return true;
    default: return false;
    }
}

void CItemsGrid::fillContextMenu(QMenu& menu)
{
    const bool noRows = rowCount() == 0;
    const bool emptySet = selectionSet(true).empty();
    auto add = [&](QMenu& into, int command, const char* label, const char* key, const char* help, bool greyed) {
        QString text = QString::fromLatin1(label);
        if (key && *key)
            text += QLatin1Char('\t') + QString::fromLatin1(key);
        QAction* action = into.addAction(text);
        action->setData(command);
        action->setStatusTip(QString::fromLatin1(help));
        action->setToolTip(QString::fromLatin1(help));
        action->setEnabled(!greyed);
        connect(action, &QAction::triggered, this, [this, command] { runCommand(command); });
    };
    menu.setToolTipsVisible(true);
    add(menu, CmdInsert, "&Insert Item(s)", "INS", "Add new items", false);
    QMenu* edit = menu.addMenu(QStringLiteral("Edi&t"));
    buildMenu(*edit, kEditorBase);
    for (QAction* action : edit->actions()) {
        const int command = action->data().toInt();
        if (command >= kEditorBase)
            connect(action, &QAction::triggered, this, [this, command] { runCommand(command); });
    }
    edit->setEnabled(!edit->isEmpty());
    add(menu, CmdClone, "Clone Items", "",
        "Clone the selected items including the item lying at the cursor position, to the end of list", true);
    add(menu, CmdCopy, "Copy Items", "", "Copy the selected items including the item lying at the cursor position",
        true);
    add(menu, CmdPaste, "Paste Items", "", "Paste the copied items to the end of list", true);
    menu.addSeparator();
    add(menu, CmdDelete, "D&elete Items", "DEL",
        "Delete the selected items including the item lying at the cursor position", emptySet);
    menu.addSeparator();
    const bool noSet = emptySet || noRows;
    add(menu, CmdGroup, "&Group Items", "Ctrl G", "Group the selected items together", noSet);
    add(menu, CmdSortAscending, "&Sort Items Ascending", "Ctrl T", "Sort the selected items ascending", noSet);
    add(menu, CmdSortDescending, "S&ort Items Descending", "Ctrl R", "Sort the selected items descending", noSet);
    add(menu, CmdMoveUp, "Move Index &Up", "Ctrl Up", "Move the selected items one step up", noSet);
    add(menu, CmdMoveDown, "Move Index &Down", "Ctrl Down", "Move the selected items one step down", noSet);
    menu.addSeparator();
    add(menu, CmdSelectAll, "Select &All", "Ctrl A", "Select all the items", noRows);
    add(menu, CmdSelectInvert, "Select In&vert", "Ctrl I", "Invert the selection of all the items", noRows);
    add(menu, CmdSelectNone, "Select &None", "Ctrl N", "Unselect all the items", noRows);
    menu.addSeparator();
    add(menu, CmdFindPrevious, "Find &Previous", "Shift F3", "Find the previous occurence", noRows);
    add(menu, CmdFind, "&Find...", "Ctrl F", "Find a given text in the whole grid", noRows);
    add(menu, CmdFindNext, "Find Ne&xt", "F3", "Find the next occurence", noRows);
    menu.addSeparator();
    add(menu, CmdRefresh, "&Refresh", "F5", "Refresh the entire list of items", false);
}

void CItemsGrid::showContextMenu()
{
    QMenu menu(this);
    fillContextMenu(menu);
    const QRect area = m_table->viewport()->rect();
    menu.exec(m_table->viewport()->mapToGlobal(QPoint(area.center().x(), area.top())));
}

bool CItemsGrid::handleKey(int key, Qt::KeyboardModifiers modifiers, bool perform)
{
    const Qt::KeyboardModifiers mods = modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    int command = 0;
    if (mods == Qt::NoModifier) {
        switch (key) {
        case Qt::Key_Insert: command = CmdInsert; break;
        case Qt::Key_Delete: command = CmdDelete; break;
        case Qt::Key_F3: command = CmdFindNext; break;
        case Qt::Key_F5: command = CmdRefresh; break;
        default: break;
        }
    } else if (mods == Qt::ShiftModifier && key == Qt::Key_F3) {
        command = CmdFindPrevious;
    } else if (mods == Qt::ControlModifier) {
        switch (key) {
        case Qt::Key_Up: command = CmdMoveUp; break;
        case Qt::Key_Down: command = CmdMoveDown; break;
        case Qt::Key_A: command = CmdSelectAll; break;
        case Qt::Key_I: command = CmdSelectInvert; break;
        case Qt::Key_N: command = CmdSelectNone; break;
        case Qt::Key_G: command = CmdGroup; break;
        case Qt::Key_T: command = CmdSortAscending; break;
        case Qt::Key_R: command = CmdSortDescending; break;
        case Qt::Key_F: command = CmdFind; break;
        case Qt::Key_Space:
            if (perform)
                showContextMenu();
            return true;
        default: break;
        }
    }
    if (command == 0)
        return false;
    if (perform)
        runCommand(command);
    return true;
}

bool CItemsGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_table) {
        if (event->type() == QEvent::ShortcutOverride) {
            // The grid's own keys win over the main window's while it has the focus.
            auto* key = static_cast<QKeyEvent*>(event);
            if (handleKey(key->key(), key->modifiers(), false)) {
                event->accept();
                return true;
            }
        } else if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (handleKey(key->key(), key->modifiers(), true))
                return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
