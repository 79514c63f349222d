#include "kinds/maps/ui/CMapsPanel.h"

#include "core/CItemReferences.h"
#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "core/IPrompter.h"
#include "grid/CellValue.h"
#include "grid/ui/CItemsDropTarget.h"
#include "grid/ui/CPanelView.h"
#include "grid/ui/IPanelHost.h"
#include "kinds/maps/CMapItem.h"
#include "kinds/maps/CTiledMapExport.h"
#include "kinds/maps/CTiledMapImport.h"
#include "kinds/maps/ui/CMapEditor.h"
#include "params/ui/CUiServices.h"

#include <algorithm>

namespace {
// The one type there is, then what every other value shows: an entry no
// edit can store, so that a map of an unknown type (only a file can hold
// one) can be put right by choosing the listed type.
constexpr int kUnknownTypeEntry = 1;

const CellValue::ChoiceList& typeNames()
{
    static const CellValue::ChoiceList names{CMapItem::typeText(CMapItem::kTypeGridOfBitmaps),
                                             CMapItem::typeText(-1)};
    return names;
}
} // namespace

void CMapsPanel::buildExchangeMenu(QMenu& menu, int base)
{
    addMenuEntry(menu, base, MenuExportTiled, "&Export to Tiled Map...",
                 "Write the current map, its tileset and the tileset's picture for Tiled", currentItem() >= 0);
    addMenuEntry(menu, base, MenuImportTiled, "&Import Tiled Map...",
                 "Read the tile layer of a Tiled map into a new map and the bitmaps it needs", holder() != nullptr);
}

int CMapsPanel::command(int base, int chosen)
{
    if (!holder())
        return 0;
    if (chosen - base == MenuExportTiled && currentItem() >= 0) {
        const QString file = chooseExchangeFile("Export to Tiled Map", kTiledFilter, true,
                                                holder()->get(GroupMaps, currentItem())->id() + ".tmx");
        if (!file.isEmpty()) {
            const auto written = CTiledMapExport::write(*holder(), currentItem(), file);
            reportExchange(written.error, file.toStdString() + " written, " + std::to_string(written.tiles) + " tiles");
        }
        return 0;  // the document did not change
    }
    if (chosen - base == MenuImportTiled) {
        const QString file = chooseExchangeFile("Import Tiled Map", kTiledFilter, false);
        if (file.isEmpty())
            return 0;
        CTiledMapImport::Result read;
        {
            CLock lock(*this);
            read = CTiledMapImport::read(*holder(), file);
        }
        if (!reportExchange(read.error, std::to_string(read.bitmapsAdded) + " bitmaps added, " +
                                            std::to_string(read.bitmapsReused) + " reused"))
            return 0;
        showImported(read.mapRow);
        return 1;
    }
    return 0;
}

CMapsPanel::CMapsPanel(QWidget* parent)
    : CTypedItemsGrid(GroupMaps,
                      {{"ID", true},
                       {"Type", true},
                       {"Nb Columns", true},
                       {"Nb Lines", true},
                       {"Size X", true},
                       {"Size Y", true},
                       {"Specifications", false},
                       {"Comments", true}},
                      parent),
      m_editor(new CMapEditor(stepLock()))
{
    addPanelMenuButton(tr("Tiled"), [this](QMenu& menu, int base) { buildExchangeMenu(menu, base); });
    installPanelView(*this, m_editor);
    // A stroke, from press to release, is one step of the undo history.
    m_editor->gestureStep().setOpener([this] { return history(); }, group(),
                                      [this] { return std::vector<int>{m_editor->mapIndex()}; });
    connect(m_editor, &CMapEditor::editFinished, this, [this](bool changed) {
        if (changed)
            markModified();
    });
    connect(m_editor->dropTarget(), &CItemsDropTarget::bitmapsAdded, this, [this] {
        markModified();
        if (host())
            host()->broadcastReload();
    });
    connect(m_editor, &CMapEditor::cellSizeChanged, this, [this] { refreshRow(m_editor->mapIndex()); });
}

bool CMapsPanel::fillCell(int column, int item, CellValue& value) const
{
    const CMapItem* record = itemAs<CMapItem>(item);
    if (!record)
        return false;
    switch (column) {
    case ColId: value.assignText(record->id()); break;
    case ColType:
        value.assignChoice(&typeNames(), record->mapType() == CMapItem::kTypeGridOfBitmaps ? CMapItem::kTypeGridOfBitmaps
                                                                                         : kUnknownTypeEntry);
        break;
    case ColColumns: value.assignInteger(record->columnCount()); break;
    case ColLines: value.assignInteger(record->lineCount()); break;
    case ColSizeX: value.assignInteger(record->sizeX()); break;
    case ColSizeY: value.assignInteger(record->sizeY()); break;
    case ColSpecs: value.assignText(record->specsText()); break;
    case ColComments: value.assignText(record->comments()); break;
    default: return false;
    }
    return true;
}

int CMapsPanel::storeCell(int column, int item, const CellValue& value)
{
    CMapItem* record = itemAs<CMapItem>(item);
    if (!record)
        return 0;
    switch (column) {
    case ColId: record->setId(value.text()); return 1;
    case ColType:
        // Only the listed type is taken: pasting from a map of an unknown
        // type must not turn its entry (or a text) into a type number.
        if (value.kind() != CellValue::KindChoice || value.choice().index != CMapItem::kTypeGridOfBitmaps)
            return 0;
        record->setMapType(CMapItem::kTypeGridOfBitmaps);
        return 1;
    // A declined reduction, a negative count or a size too large to hold
    // leave the map as it was and the cell shows the old count again.
    case ColColumns: return record->resize(value.integer(), record->lineCount(), CUiServices::prompter());
    case ColLines: return record->resize(record->columnCount(), value.integer(), CUiServices::prompter());
    case ColSizeX: record->setSizeX(value.integer()); return 1;
    case ColSizeY: record->setSizeY(value.integer()); return 1;
    case ColComments: record->setComments(value.text()); return 1;
    default: return 0;
    }
}

void CMapsPanel::reloadEditorView()
{
    m_editor->showMap(holder(), currentItem());
}

bool CMapsPanel::check()
{
    if (!checkUniqueIds())
        return false;
    const std::optional<CDanglingReference> found = holder() ? findDanglingReference(*holder(), group()) : std::nullopt;
    return !found || reportFinding(found->item, QString::fromStdString(found->text));
}
