#include "kinds/worlds/ui/CWorldElementsView.h"

#include "params/ui/WidgetHelpers.h"

#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "grid/CellValue.h"
#include "grid/ui/CCellDelegate.h"
#include "grid/ui/CItemsDropTarget.h"
#include "grid/ui/CSelectedRowsEdit.h"
#include "grid/ui/CTableSearch.h"
#include "kinds/worlds/CWorldElementSort.h"
#include "kinds/worlds/CWorldLoopGuard.h"
#include "kinds/worlds/CWorldPathBounds.h"
#include "kinds/worlds/GameWorld.h"
#include "kinds/worlds/WorldElement.h"
#include "kinds/worlds/WorldInstance.h"
#include "params/ui/CUiServices.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <set>

namespace {
const char* const kHeaders[CWorldElementsView::ColumnCount] = {"Index", "ID", "Show", "Play", "Play Offset",
    "Play Speed", "Offset X", "Offset Y", "", "Object\nType", "Object\nIndex", "Object\nPlay Offset",
    "Object\nPlay Speed", "", "Trajectory\nIndex", "Trajectory\nPlay Offset", "Trajectory\nPlay Speed", "",
    "Specifications", "Comments"};

// The group an element's object index names, by its object type; -1 for a
// type no group holds.
int objectGroup(std::int32_t type)
{
    switch (type) {
    case WorldObjectBitmap: return GroupBitmaps;
    case WorldObjectAnimation: return GroupAnimations;
    case WorldObjectMap: return GroupMaps;
    case WorldObjectWorldElements:
    case WorldObjectWorldReference: return GroupWorlds;
    default: return -1;
    }
}

// Speeds are shown in percent and kept within the grid's limit.
double speedFromPercent(double percent)
{
    return std::clamp(percent, -CWorldElementsView::kSpeedLimit, CWorldElementsView::kSpeedLimit) * 0.01;
}
} // namespace

CWorldElementsView::CWorldElementsView(QWidget* parent)
    : CSideGrid(kDefaultTitle, "element", "elements", parent), m_instance(std::make_unique<WorldInstance>())
{
    for (int type = WorldObjectBitmap; type <= WorldObjectWorldReference; ++type)
        m_typeTexts.emplace_back(WorldElement::objectTypeText(type));
    // What other values show: an entry no edit can store.
    m_typeTexts.emplace_back(WorldElement::objectTypeText(-1));
    m_preview = new CWorldPreview(*this);
    m_preview->dragStep().setOpener([this](const QString& text) { return openEdit(text); });
    setLowerPane(m_preview->view());

    m_refresh = new QTimer(this);
    m_refresh->setInterval(kRefreshDelayMs);
    connect(m_refresh, &QTimer::timeout, this, [this] {
        // A cell being edited keeps its values until it is closed: the timer
        // goes on and tries again. Cell editors are dialogs and pop-up lists
        // (an editor inside the table's viewport would take the focus).
        const QWidget* focus = QApplication::focusWidget();
        if (QApplication::activeModalWidget() || QApplication::activePopupWidget()
            || (focus && focus != table()->viewport() && table()->viewport()->isAncestorOf(focus)))
            return;
        refreshNow();
    });
    openRows();
    // The preview frames the selected elements: it follows the grid.
    connect(table()->selectionModel(), &QItemSelectionModel::selectionChanged, m_preview,
            qOverload<>(&QWidget::update));
}

CWorldElementsView::~CWorldElementsView() = default;

int CWorldElementsView::rowTotal() const
{
    const GameWorld* shown = world();
    return shown ? shown->elementCount() : 0;
}

GameWorld* CWorldElementsView::world() const
{
    return m_document ? CWorldLoopGuard::world(*m_document, m_worldIndex) : nullptr;
}

void CWorldElementsView::showWorld(CResourceHolder* document, int worldIndex)
{
    const bool another = document != m_document || worldIndex != m_worldIndex;
    m_document = document;
    m_worldIndex = document && CWorldLoopGuard::world(*document, worldIndex) ? worldIndex : -1;
    resetRows();
    refreshNow();
    // Another world opens whole in the preview.
    if (another)
        m_preview->view()->fitWhenSized();
}

QString CWorldElementsView::header(int column)
{
    return column >= 0 && column < ColumnCount ? QString::fromLatin1(kHeaders[column]) : QString();
}

bool CWorldElementsView::cellValue(int column, int row, CellValue& value) const
{
    const GameWorld* w = world();
    const WorldElement* e = w ? w->elementAt(row) : nullptr;
    if (!e)
        return false;
    value = CellValue();
    const bool takenIn = e->objectType == WorldObjectWorldElements;
    auto real = [&](double v) {
        value.assignReal(v);
        value.setEditable(true);
    };
    auto integer = [&](int v) {
        value.assignInteger(v);
        value.setEditable(true);
    };
    auto text = [&](int kind, const std::string& v) {
        value.assignText(v, kind);
        value.setEditable(true);
    };
    auto yesNo = [&](bool v) {
        value.assignYesNo(v);
        value.setEditable(true);
    };
    switch (column) {
    case ColIndex: value.assignText(std::to_string(row)); break;
    case ColId: text(CellValue::KindText, e->id); break;
    case ColShow: yesNo(e->show); break;
    case ColPlay: yesNo(e->play); break;
    case ColPlayOffset: real(e->playOffset); break;
    case ColPlaySpeed: real(e->playSpeed * 100.0); break;
    case ColOffsetX: real(e->offsetX); break;
    case ColOffsetY: real(e->offsetY); break;
    case ColObjectType: {
        value.setKind(CellValue::KindChoice);
        const bool known = e->objectType >= WorldObjectBitmap && e->objectType <= WorldObjectWorldReference;
        value.setChoice(&m_typeTexts, known ? e->objectType : WorldObjectWorldReference + 1);
        value.setEditable(true);
        break;
    }
    case ColObjectIndex:
        if (e->objectType == WorldObjectBitmap) {
            value.setKind(CellValue::KindPicture);
            value.setPicture(m_document, e->objectIndex);
            value.setEditable(true);
        } else {
            integer(e->objectIndex);
        }
        // Shown by name and picked from its group's list.
        if (const int group = objectGroup(e->objectType); group >= 0)
            value.setReference(m_document, group);
        break;
    // An element that takes in another world's elements has no object or
    // trajectory timing of its own.
    case ColObjectPlayOffset: if (!takenIn) real(e->objectPlayOffset); break;
    case ColObjectPlaySpeed: if (!takenIn) real(e->objectPlaySpeed * 100.0); break;
    case ColTrajectoryIndex:
        if (!takenIn) {
            integer(e->trajectoryIndex);
            value.setReference(m_document, GroupTrajectories);
        }
        break;
    case ColTrajectoryPlayOffset: if (!takenIn) real(e->trajectoryPlayOffset); break;
    case ColTrajectoryPlaySpeed: if (!takenIn) real(e->trajectoryPlaySpeed * 100.0); break;
    case ColSpacer1: case ColSpacer2: case ColSpacer3: value.setKind(CellValue::KindSpacer); break;
    case ColSpecs: value.setKind(CellValue::KindLongText); break;
    case ColComments: text(CellValue::KindLongText, e->comments); break;
    default: return false;
    }
    return true;
}

QString CWorldElementsView::cellText(int column, int row) const
{
    if (column == ColIndex)
        return world() && world()->validElement(row) ? QString::number(row) : QString();
    CellValue value;
    if (!cellValue(column, row, value))
        return {};
    return QString::fromStdString(value.displayText(column, row));
}

bool CWorldElementsView::cellAffectsPicture(int column, int row) const
{
    const GameWorld* w = world();
    const WorldElement* e = w ? w->elementAt(row) : nullptr;
    if (!e)
        return false;
    const std::int32_t type = e->objectType;
    switch (column) {
    case ColPlayOffset: case ColObjectType: case ColObjectPlayOffset: case ColTrajectoryIndex:
    case ColTrajectoryPlayOffset: case ColTrajectoryPlaySpeed:
        return true;
    case ColObjectIndex: return type == WorldObjectAnimation || refersToWorld(type);
    // A taken-in world's elements carry these values into their instances
    // when the preview is built.
    case ColShow: case ColPlaySpeed: case ColOffsetX: case ColOffsetY: return type == WorldObjectWorldElements;
    case ColPlay: return type == WorldObjectWorldElements && e->show;
    default: return false;
    }
}

int CWorldElementsView::storeValue(int column, int row, const CellValue& value, IPrompter& prompter, bool& written)
{
    GameWorld* w = world();
    WorldElement* e = w ? w->elementAt(row) : nullptr;
    if (!e)
        return 0;
    switch (column) {
    case ColId: e->id = value.text(); break;
    case ColShow: e->show = value.yesNo(); break;
    case ColPlay: e->play = value.yesNo(); break;
    case ColPlayOffset: e->playOffset = value.real(); break;
    case ColPlaySpeed: e->playSpeed = speedFromPercent(value.real()); break;
    case ColOffsetX: e->offsetX = value.real(); break;
    case ColOffsetY: e->offsetY = value.real(); break;
    case ColObjectType: {
        const int type = value.choice().index;
        if (type < WorldObjectBitmap || type > WorldObjectWorldReference)
            return 0;
        written = true;
        return CWorldLoopGuard::setObjectType(*m_document, m_worldIndex, row, type, prompter);
    }
    case ColObjectIndex: {
        const int index = value.kind() == CellValue::KindPicture ? value.picture().index : value.integer();
        written = true;
        return CWorldLoopGuard::setObjectIndex(*m_document, m_worldIndex, row, index, prompter);
    }
    case ColObjectPlayOffset: case ColObjectPlaySpeed: case ColTrajectoryIndex: case ColTrajectoryPlayOffset:
    case ColTrajectoryPlaySpeed:
        // Blank and read-only while the element takes in another world.
        if (e->objectType == WorldObjectWorldElements)
            return 0;
        if (column == ColObjectPlayOffset)
            e->objectPlayOffset = value.real();
        else if (column == ColObjectPlaySpeed)
            e->objectPlaySpeed = speedFromPercent(value.real());
        else if (column == ColTrajectoryIndex)
            e->trajectoryIndex = value.integer();
        else if (column == ColTrajectoryPlayOffset)
            e->trajectoryPlayOffset = value.real();
        else
            e->trajectoryPlaySpeed = speedFromPercent(value.real());
        break;
    case ColComments: e->comments = value.text(); break;
    default: return 0;
    }
    written = true;
    return 1;
}

int CWorldElementsView::storeCell(int column, int row, const CellValue& value)
{
    bool written = false;
    CGatheredMessages messages(CUiServices::prompter());
    int stored = 0;
    {
        // The preview steps on the timer thread, reading the elements.
        std::lock_guard<std::mutex> guard(m_instanceMutex);
        stored = storeValue(column, row, value, messages, written);
    }
    messages.flush();
    if (!written)
        return 0;
    // A refused world reference may still have changed the type: the
    // document and the picture follow what was actually kept.
    changed(cellAffectsPicture(column, row));
    allRowsChanged();
    return stored;
}

int CWorldElementsView::setCellText(int column, int row, const QString& text)
{
    CellValue value;
    if (!cellValue(column, row, value) || !value.isEditable() || !value.setFromText(text.toStdString()))
        return 0;
    return storeCell(column, row, value);
}

int CWorldElementsView::editCell(int column, int row, const CellValue& edited)
{
    // A copy: the cell handed in may be the one the table refills to draw.
    const CellValue value = edited;
    CGatheredMessages messages(CUiServices::prompter());
    bool written = false;
    auto storeInto = [&](int target) {
        const int stored = storeValue(column, target, value, messages, written);
        if (column != ColObjectType)
            return stored != 0;
        const GameWorld* w = world();
        const WorldElement* e = w ? w->elementAt(target) : nullptr;
        return e && e->objectType == value.choice().index;
    };
    const std::vector<int> selected = selectedRows();
    CSelectedRowsEdit::Result result;
    {
        // The preview steps on the timer thread, reading the elements; the
        // messages wait until it may go on.
        std::lock_guard<std::mutex> guard(m_instanceMutex);
        result = CSelectedRowsEdit::run(row, selected, [&] { return storeInto(row); }, storeInto);
    }
    if (written) {
        bool affectsPicture = cellAffectsPicture(column, row);
        for (int other : selected)
            affectsPicture = affectsPicture || cellAffectsPicture(column, other);
        changed(affectsPicture);
    }
    allRowsChanged();
    messages.flush();
    return result.stored ? 1 + result.copied : 0;
}

int CWorldElementsView::editCellText(int column, int row, const QString& text)
{
    CellValue value;
    if (!cellValue(column, row, value) || !value.isEditable() || !value.setFromText(text.toStdString()))
        return 0;
    return editCell(column, row, value);
}

int CWorldElementsView::insertElement()
{
    GameWorld* w = world();
    if (!w)
        return -1;
    int row = -1;
    {
        // Adding may move every element in memory: the preview's instances
        // point at them, so it is rebuilt before it can draw again.
        std::lock_guard<std::mutex> guard(m_instanceMutex);
        row = w->addElement("New ID");
        if (row < 0)
            return -1;
        m_instance->build(*m_document, m_worldIndex);
    }
    resetRows();
    table()->selectRow(row);
    changed(true);
    return row;
}

QRect CWorldElementsView::pathBounds(QPoint drawingPoint) const
{
    return m_document ? CWorldPathBounds::over(*m_document, m_worldIndex, drawingPoint) : QRect();
}

void CWorldElementsView::acceptDrops(CStepLock& lock)
{
    m_drops = new CItemsDropTarget(
        *m_preview, {GroupBitmaps, GroupAnimations}, [this] { return m_document; }, lock,
        [this](const QString& text) { return world() ? openEdit(text) : nullptr; },
        [this](int group, const std::vector<int>& rows, QPoint at) { return placeObjects(group, rows, at); });
}

bool CWorldElementsView::placeObjects(int group, const std::vector<int>& rows, QPoint at)
{
    GameWorld* w = world();
    if (!w || rows.empty() || (group != GroupBitmaps && group != GroupAnimations))
        return false;
    // The world's (0, 0) is at the drawing point.
    const QPointF point = m_preview->view()->toContent(QPointF(at)) - QPointF(m_preview->drawingOffset());
    std::vector<int> added;
    {
        // Adding may move every element in memory: the instance is rebuilt
        // before it draws again.
        std::lock_guard<std::mutex> guard(m_instanceMutex);
        for (std::size_t k = 0; k < rows.size(); ++k) {
            const CResourceItem* item = m_document->get(group, rows[k]);
            const int row = w->addElement(item ? item->id() : std::string("New ID"));
            if (row < 0)
                break;
            WorldElement* e = w->elementAt(row);
            e->objectType = group == GroupBitmaps ? WorldObjectBitmap : WorldObjectAnimation;
            e->objectIndex = rows[k];
            e->offsetX = std::round(point.x()) + double(k) * kDropSpacing;
            e->offsetY = std::round(point.y());
            added.push_back(row);
        }
        m_instance->build(*m_document, m_worldIndex);
    }
    if (added.empty())
        return false;
    resetRows();
    table()->selectRow(added.front());
    for (int row : added)
        table()->selectionModel()->select(table()->model()->index(row, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    changed(true);
    return true;
}

int CWorldElementsView::deleteElement(int row)
{
    GameWorld* w = world();
    if (!w)
        return 0;
    {
        // The preview's instances point at the elements: none may draw
        // while one is destroyed.
        std::lock_guard<std::mutex> guard(m_instanceMutex);
        if (!w->removeElement(row))
            return 0;
        m_instance->build(*m_document, m_worldIndex);
    }
    resetRows();
    changed(true);
    return 1;
}

int CWorldElementsView::moveElement(int from, int to)
{
    GameWorld* w = world();
    if (!w)
        return 0;
    {
        std::lock_guard<std::mutex> guard(m_instanceMutex);
        if (!w->moveElement(from, to))
            return 0;
        m_instance->build(*m_document, m_worldIndex);
    }
    resetRows();
    table()->selectRow(to);
    changed(true);
    return 1;
}

int CWorldElementsView::swapElements(int a, int b)
{
    GameWorld* w = world();
    if (!w)
        return 0;
    {
        std::lock_guard<std::mutex> guard(m_instanceMutex);
        if (!w->swapElements(a, b))
            return 0;
        m_instance->build(*m_document, m_worldIndex);
    }
    resetRows();
    changed(true);
    return 1;
}

int CWorldElementsView::sortSelectedByOffsetY()
{
    GameWorld* w = world();
    if (!w)
        return 0;
    int sorted = 0;
    {
        std::lock_guard<std::mutex> guard(m_instanceMutex);
        sorted = CWorldElementSort::sortSelectedByOffsetY(*w, selectedRows());
        if (sorted)
            m_instance->build(*m_document, m_worldIndex);
    }
    if (sorted) {
        allRowsChanged();
        changed(true);
    }
    return sorted;
}

void CWorldElementsView::addOwnEntries(QMenu& menu)
{
    addEntry(menu, kSortEntry, kSortHelp, CmdSortByOffsetY, rowTotal() > 0 && !selectedRows().empty());
}

int CWorldElementsView::runOwnCommand(int command)
{
    return command == CmdSortByOffsetY ? sortSelectedByOffsetY() : 0;
}

bool CWorldElementsView::refreshPending() const { return m_refresh->isActive(); }

void CWorldElementsView::scheduleRefresh() { m_refresh->start(); }

void CWorldElementsView::refreshNow()
{
    m_refresh->stop();
    const GameWorld* w = world();
    if (w)
        setTitle(QString::fromStdString(w->id()));
    else
        showDefaultTitle();
    {
        std::lock_guard<std::mutex> guard(m_instanceMutex);
        m_instance = std::make_unique<WorldInstance>();
        if (m_document)
            m_instance->build(*m_document, m_worldIndex);
    }
    // Undo and redo add and remove elements behind the table's back.
    if (table()->verticalHeader()->count() != rowTotal())
        resetRows();
    else
        allRowsChanged();
    m_preview->update();
}

bool CWorldElementsView::step(double length)
{
    std::lock_guard<std::mutex> guard(m_instanceMutex);
    if (!m_instance->world())
        return false;
    m_instance->step(length);
    return true;
}

void CWorldElementsView::changed(bool affectsPicture)
{
    if (affectsPicture)
        m_refresh->start();
    m_preview->update();
    if (m_modified)
        m_modified();
}

void CWorldElementsView::moveElementOffsets(const std::vector<int>& rows, QPoint delta, bool toZero)
{
    const auto edit =
        openEdit(toZero ? QStringLiteral("Reset Element Offsets") : QString::fromLatin1(CWorldPreview::kMoveText));
    for (int row : rows) {
        for (int column : {ColOffsetX, ColOffsetY}) {
            CellValue value;
            if (!cellValue(column, row, value))
                continue;
            const int d = column == ColOffsetX ? delta.x() : delta.y();
            value.setReal(toZero ? 0.0 : value.real() + d);
            storeCell(column, row, value);
        }
    }
}

void CWorldElementsView::selectElementRow(int row)
{
    if (row < 0 || row >= rowTotal())
        return;
    table()->selectRow(row);
    table()->scrollTo(table()->model()->index(row, ColId));
}

void CWorldElementsView::deleteElementRows(const std::vector<int>& rows)
{
    const auto edit = openEdit(QString::fromLatin1(CWorldPreview::kDeleteText));
    std::vector<int> descending = rows;
    std::sort(descending.rbegin(), descending.rend());
    descending.erase(std::unique(descending.begin(), descending.end()), descending.end());
    // From the last: each removal leaves the rows before it where they were.
    for (int row : descending)
        deleteElement(row);
}
