#include "kinds/worlds/ui/CWorldsPanel.h"

#include "core/CItemReferences.h"
#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "grid/CellValue.h"
#include "grid/ui/CPanelView.h"
#include "kinds/worlds/CTiledWorldExport.h"
#include "kinds/worlds/CWorldGroupEditing.h"
#include "kinds/worlds/CWorldLoopGuard.h"
#include "kinds/worlds/GameWorld.h"
#include "kinds/worlds/WorldElement.h"
#include "kinds/worlds/ui/CWorldElementsView.h"
#include "grid/ui/CItemsDropTarget.h"
#include "grid/ui/IPanelHost.h"
#include "kinds/worlds/ui/CWorldPreview.h"

#include <QTableView>

#include <algorithm>
#include <optional>

CWorldsPanel::CWorldsPanel(QWidget* parent)
    : CTypedItemsGrid(GroupWorlds,
                      {{"ID", true}, {"Type", true}, {"Play Offset", true}, {"Play Speed", true},
                       {"Offset X", true}, {"Offset Y", true}, {"Specifications", false}, {"Comments", true}},
                      parent),
      m_typeTexts{GameWorld::typeText(GameWorld::kTypeSimple), GameWorld::typeText(GameWorld::kTypeSortOffsetsY),
                  // what other values show: an entry no edit can store
                  GameWorld::typeText(-1)},
      m_elements(new CWorldElementsView)
{
    addPanelMenuButton(tr("Tiled"), [this](QMenu& menu, int base) {
        addMenuEntry(menu, base, MenuExportTiled, "&Export to Tiled Map...",
                     "Write the current world's layout as a Tiled map: its bitmaps as tile objects, its maps as "
                     "image layers",
                     currentItem() >= 0);
    });
    installPanelView(*this, m_elements);
    m_elements->setModifiedCallback([this] { markModified(); });
    m_elements->acceptDrops(stepLock());
    connect(m_elements->dropTarget(), &CItemsDropTarget::bitmapsAdded, this, [this] {
        markModified();
        if (host())
            host()->broadcastReload();
    });
    m_elements->recordEditsIn([this] { return history(); }, [this](CDocumentHistory::Edit& edit) {
        edit.touchRow(group(), m_elements->worldIndex());
    });
}

GameWorld* CWorldsPanel::worldAt(int item) const
{
    return holder() ? CWorldLoopGuard::world(*holder(), item) : nullptr;
}

bool CWorldsPanel::fillCell(int column, int item, CellValue& value) const
{
    const GameWorld* w = worldAt(item);
    if (!w)
        return false;
    switch (column) {
    case ColId: value.assignText(w->id()); return true;
    case ColType: {
        value.setKind(CellValue::KindChoice);
        const bool known = w->worldType() == GameWorld::kTypeSimple || w->worldType() == GameWorld::kTypeSortOffsetsY;
        value.setChoice(&m_typeTexts, known ? w->worldType() : 2);
        return true;
    }
    case ColPlayOffset: value.assignReal(w->playOffset()); return true;
    case ColPlaySpeed: value.assignReal(w->playSpeed() * 100.0); return true;
    case ColOffsetX: value.assignInteger(w->offsetX()); return true;
    case ColOffsetY: value.assignInteger(w->offsetY()); return true;
    case ColSpecs: value.assignText(w->specsText(), CellValue::KindLongText); return true;
    case ColComments: value.assignText(w->comments(), CellValue::KindLongText); return true;
    default: return false;
    }
}

int CWorldsPanel::storeCell(int column, int item, const CellValue& value)
{
    GameWorld* w = worldAt(item);
    if (!w)
        return 0;
    switch (column) {
    case ColId: w->setId(value.text()); break;
    case ColType: {
        const int type = value.choice().index;
        if (type != GameWorld::kTypeSimple && type != GameWorld::kTypeSortOffsetsY)
            return 0;
        w->setWorldType(type);
        break;
    }
    case ColPlayOffset: w->setPlayOffset(value.real()); break;
    case ColPlaySpeed:
        w->setPlaySpeed(std::clamp(value.real(), -CWorldElementsView::kSpeedLimit, CWorldElementsView::kSpeedLimit) *
                        0.01);
        break;
    case ColOffsetX: w->setOffsetX(value.integer()); break;
    case ColOffsetY: w->setOffsetY(value.integer()); break;
    case ColComments: w->setComments(value.text()); break;
    default: return 0;
    }
    // The world shown may include the one edited: its preview is rebuilt
    // after the delay.
    m_elements->scheduleRefresh();
    return 1;
}

int CWorldsPanel::newItem()
{
    const int row = holder() ? CWorldGroupEditing::insert(*holder()) : -1;
    if (row >= 0)
        rowsChanged();
    return row;
}

int CWorldsPanel::deleteItem(int item)
{
    if (!holder())
        return 0;
    int done = 0;
    m_elements->withInstance([&](const auto&) { done = CWorldGroupEditing::remove(*holder(), item); });
    rowsChanged();
    return done;
}

int CWorldsPanel::moveItem(int from, int to)
{
    const int done = holder() ? CWorldGroupEditing::move(*holder(), from, to) : 0;
    rowsChanged();
    return done;
}

int CWorldsPanel::swapItems(int a, int b)
{
    const int done = holder() ? CWorldGroupEditing::swap(*holder(), a, b) : 0;
    rowsChanged();
    return done;
}

int CWorldsPanel::rearrangeItems(const std::vector<int>& order)
{
    if (!holder())
        return 0;
    int done = 0;
    m_elements->withInstance([&](const auto&) { done = CWorldGroupEditing::rearrange(*holder(), order); });
    rowsChanged();
    return done;
}

void CWorldsPanel::rowsChanged()
{
    m_elements->showWorld(holder(), currentItem());
    emit previewChanged();
}

void CWorldsPanel::buildMenu(QMenu& menu, int base)
{
    addEmptyMenu(menu, base);
}

int CWorldsPanel::command(int base, int chosen)
{
    if (!holder() || chosen - base != MenuExportTiled || currentItem() < 0)
        return 0;
    const QString file = chooseExchangeFile("Export to Tiled Map", "Tiled Maps\n*.tmx\n\n", true,
                                            holder()->get(GroupWorlds, currentItem())->id() + ".tmx");
    if (!file.isEmpty()) {
        const auto written = CTiledWorldExport::write(*holder(), currentItem(), file);
        reportExchange(written.error, file.toStdString() + " written, " + std::to_string(written.objects) + " objects");
    }
    return 0;  // the document did not change
}

void CWorldsPanel::reloadEditorView()
{
    const int item = currentItem();
    if (item != m_elements->worldIndex() || !worldAt(item)) {
        m_elements->showWorld(holder(), item);
        emit previewChanged();
    } else {
        // The same world, read again (after an undo, its elements may differ).
        m_elements->refreshNow();
    }
}

bool CWorldsPanel::gameStep()
{
    return m_elements->step(1.0);
}

// A shown world plays as long as it is shown.
bool CWorldsPanel::previewPlays() const { return m_elements->world() != nullptr; }

void CWorldsPanel::showStep()
{
    m_elements->preview()->showStep();
}

bool CWorldsPanel::check()
{
    if (!holder())
        return true;
    if (!checkUniqueIds())
        return false;
    const CResourceHolder& document = *holder();
    for (int item = 0; item < rowCount(); ++item)
        if (!CWorldLoopGuard::walk(document, {}, item))
            return reportFinding(item, QStringLiteral("The world \"%1\" (item %2) includes itself through the worlds its "
                                                      "elements name, an endless loop.")
                                           .arg(QString::fromStdString(worldAt(item)->id()), QString::number(item)));
    const std::optional<CDanglingReference> found = findDanglingReference(document, group());
    if (!found)
        return true;
    selectRow(found->item);
    m_elements->table()->selectRow(found->reference.part);
    return reportFinding(found->item, QString::fromStdString(found->text));
}
