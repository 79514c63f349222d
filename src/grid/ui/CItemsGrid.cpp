#include "grid/ui/CItemsGrid.h"

#include "core/CDocumentHistory.h"
#include "core/CIndexChange.h"
#include "core/CResourceHolder.h"
#include "grid/CItemsMime.h"
#include "grid/CellValue.h"
#include "grid/ui/CCellDelegate.h"
#include "grid/ui/CItemPicture.h"
#include "grid/ui/CItemsGridDrops.h"
#include "grid/ui/CItemsGridFind.h"
#include "grid/ui/CItemsGridIntegrity.h"
#include "grid/ui/CItemsGridKeys.h"
#include "grid/ui/CItemsGridMenu.h"
#include "grid/ui/CItemsGridModel.h"
#include "grid/ui/CItemsGridRowCommands.h"
#include "grid/ui/CSelectedRowsEdit.h"
#include "grid/ui/IPanelHost.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

CItemsGrid::CItemsGrid(int group, QWidget* parent)
    : QWidget(parent), m_group(group), m_model(new CItemsGridModel(*this)), m_table(new CPictureDragTable),
      m_splitter(new QSplitter(Qt::Horizontal)), m_editorView(new QLabel), m_selectedText(new QLabel),
      m_rowCommands(std::make_unique<CItemsGridRowCommands>(*this)), m_find(std::make_unique<CItemsGridFind>(*this)),
      m_drops(std::make_unique<CItemsGridDrops>(*this)), m_menu(std::make_unique<CItemsGridMenu>(*this)),
      m_integrity(std::make_unique<CItemsGridIntegrity>(*this)), m_keys(new CItemsGridKeys(*this))
{
    m_model->setParent(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* bar = m_bar = new QToolBar;
    bar->setIconSize(QSize(16, 16));
    auto* menuButton = new QToolButton;
    menuButton->setObjectName(QStringLiteral("itemsMenu"));
    menuButton->setText(tr("Items Menu"));
    menuButton->setToolTip(QString::fromLatin1(kItemsMenuTip));
    menuButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    connect(menuButton, &QToolButton::clicked, this,
            [this, menuButton] { showContextMenu(menuButton->mapToGlobal(menuButton->rect().bottomLeft())); });
    bar->addWidget(menuButton);
    m_barSeparator = bar->addSeparator();
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
    m_table->installEventFilter(m_keys);
    connect(m_table, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { showContextMenu(m_table->viewport()->mapToGlobal(at)); });
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

    m_table->setItemDelegate(m_model->createDelegate(m_table));
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

CFindOptions& CItemsGrid::findOptions() { return CItemsGridFind::options(); }

CResourceItem* CItemsGrid::itemAt(int item) const { return m_holder ? m_holder->get(m_group, item) : nullptr; }

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
    m_marks.resize(rowCount());
    m_model->resetRows();
    m_table->resizeColumnToContents(0);
    m_table->resizeColumnToContents(1);
    for (int c = kLeadingColumns; c < gridColumnCount() - 1; ++c) {
        m_table->resizeColumnToContents(c);
        m_table->setColumnWidth(c, std::clamp(m_table->columnWidth(c), 140, 320));
    }
    // Heights after widths: a text wraps in the width its column has.
    fitRowHeights();
    if (current >= 0 && current < rowCount())
        setCurrentCell(std::max(column, 0), current);
    else if (rowCount() > 0)
        setCurrentCell(kLeadingColumns, 0);
    reloadEditorView();
    updateSelectedCount();
}

void CItemsGrid::refreshRow(int item)
{
    if (item >= 0 && item < rowCount())
        m_model->rowsChanged(item, item);
}

void CItemsGrid::refreshRows()
{
    // Resetting the rows drops the table's current cell; commands that
    // refresh must not lose the row they worked on.
    const int current = currentItem();
    const int column = currentColumn();
    m_marks.resize(rowCount());
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
    for (int row = 0; row < rowCount(); ++row)
        m_table->setRowHeight(row, std::clamp(rowHeightHint(row), least, most));
}

int CItemsGrid::rowHeightHint(int row) const
{
    // Every column at its own width, whatever part of the table is in view
    // or whether it was ever shown: the toolkit's own measure looks only at
    // the columns in view, so rows measured before the first showing (or
    // after a scroll) would change height under the next click.
    m_table->ensurePolished();
    QStyleOptionViewItem option;
    option.initFrom(m_table);
    option.widget = m_table;
    option.features |= QStyleOptionViewItem::WrapText;
    int hint = 0;
    for (int column = 0; column < m_model->columnCount(); ++column) {
        if (m_table->isColumnHidden(column))
            continue;
        const QModelIndex index = m_model->index(row, column);
        option.rect = QRect(0, 0, m_table->columnWidth(column) - (m_table->showGrid() ? 1 : 0), 1);
        hint = std::max(hint, m_table->itemDelegateForIndex(index)->sizeHint(option, index).height());
    }
    return hint;
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
    const CResourceItem* record = itemAt(item);
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
    CResourceItem* record = itemAt(item);
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

bool CItemsGrid::sortRank(int gridColumn, int item, double& rank) const
{
    if (gridColumn > 0)
        return false;
    rank = item;
    return true;
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
    const CResourceItem* record = itemAt(item);
    if (!record) {
        m_editorView->setText(tr("<i>No item</i>"));
        return;
    }
    m_editorView->setText(QStringLiteral("<h3>%1</h3><p style='white-space:pre-wrap'>%2</p>")
                              .arg(QString::fromStdString(record->id()).toHtmlEscaped(),
                                   QString::fromStdString(record->comments()).toHtmlEscaped()));
}

// --- cells and marks -------------------------------------------------------

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

bool CItemsGrid::isMarked(int item) const { return m_marks.isMarked(item); }

CRowMarks& CItemsGrid::sizedMarks()
{
    m_marks.resize(rowCount());
    return m_marks;
}

void CItemsGrid::setMarked(int item, bool marked)
{
    if (item < 0 || item >= rowCount())
        return;
    sizedMarks().set(item, marked);
    m_model->rowsChanged(item, item);
    updateSelectedCount();
}

std::vector<int> CItemsGrid::selectionSet(bool ascending) const
{
    std::vector<int> set = m_marks.marked(rowCount());
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
    std::vector<int> marked = m_marks.inMarkOrder(rowCount());
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
    m_marks.markAll(rowCount());
    refreshRows();
}

void CItemsGrid::selectNone()
{
    m_marks.clear(rowCount());
    refreshRows();
}

void CItemsGrid::selectInvert()
{
    m_marks.invert(rowCount());
    refreshRows();
}

void CItemsGrid::markModified()
{
    if (m_host)
        m_host->markModified();
}

// --- the jobs of their own ------------------------------------------------

void CItemsGrid::insertItem() { m_rowCommands->insertItem(); }
void CItemsGrid::deleteItems() { m_rowCommands->deleteItems(); }
void CItemsGrid::moveUp() { m_rowCommands->moveUp(); }
void CItemsGrid::moveDown() { m_rowCommands->moveDown(); }
void CItemsGrid::groupItems() { m_rowCommands->groupItems(); }
void CItemsGrid::sortItems(bool ascending) { m_rowCommands->sortItems(ascending); }
bool CItemsGrid::find() { return m_find->find(); }
bool CItemsGrid::findNext(bool backward) { return m_find->findNext(backward); }
void CItemsGrid::showFindDialog() { m_find->showDialog(); }
void CItemsGrid::setItemDrags(bool on)
{
    m_itemDrags = on;
    m_table->setDragEnabled(on);
    m_table->setDragDropMode(on ? QAbstractItemView::DragOnly : QAbstractItemView::NoDragDrop);
    m_table->setDragPicture([this](const QMimeData& dragged) {
        return holder() ? CItemPicture::dragPixmap(*holder(), m_group, CItemsMime::rowsIn(dragged, *holder(), m_group))
                        : QPixmap();
    });
}

void CItemsGrid::dropFiles(const QStringList& paths) { m_drops->dropFiles(paths); }
void CItemsGrid::dragEnterEvent(QDragEnterEvent* event) { CItemsGridDrops::dragEnter(*event); }
void CItemsGrid::dropEvent(QDropEvent* event) { m_drops->drop(*event); }
bool CItemsGrid::runCommand(int command) { return m_menu->runCommand(command); }
void CItemsGrid::fillContextMenu(QMenu& menu) { m_menu->fill(menu); }
void CItemsGrid::showContextMenu(std::optional<QPoint> globalAt)
{
    if (!globalAt) {
        const QRect cell = m_table->visualRect(m_table->currentIndex());
        const QRect area = m_table->viewport()->rect();
        globalAt = m_table->viewport()->mapToGlobal(cell.isValid() && area.intersects(cell) ? cell.bottomLeft()
                                                                                          : area.topLeft());
    }
    m_menu->show(*globalAt);
}
bool CItemsGrid::checkUniqueIds() { return m_integrity->checkUniqueIds(); }
bool CItemsGrid::reportFinding(int item, const QString& text) { return m_integrity->reportFinding(item, text); }

// --- edits -------------------------------------------------------------------

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
    const std::vector<int> marked = m_marks.marked(rowCount());
    std::vector<int> rows{item};
    for (int other : marked)
        if (other != item)
            rows.push_back(other);
    CDocumentHistory::Edit edit(history(), QStringLiteral("Edit %1 of %2")
                                               .arg(editorHeader(column), CDocumentHistory::rowsText(
                                                                              m_group, static_cast<int>(rows.size()))));
    edit.touchRows(m_group, rows);
    {
        CLock lock(*this);
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
    if (editorCellChangesDocument(column))
        markModified();
}

void CItemsGrid::addPanelMenuButton(const QString& text, std::function<void(QMenu& menu, int base)> build)
{
    auto* button = new QToolButton;
    button->setText(text);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(button);
    menu->setToolTipsVisible(true);
    button->setMenu(menu);
    // Built when it opens, so that its entries are enabled as things stand.
    connect(menu, &QMenu::aboutToShow, this, [this, menu, build] {
        menu->clear();
        build(*menu, kEditorBase);
        for (QAction* action : menu->actions()) {
            const int command = action->data().toInt();
            const QString label = action->text().remove(QLatin1Char('&')).remove(QStringLiteral("..."));
            connect(action, &QAction::triggered, this, [this, command, label] { m_menu->runCommand(command, label); });
        }
    });
    m_bar->insertWidget(m_barSeparator, button);
}
