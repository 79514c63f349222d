#include "kinds/bitmaps/ui/CBitmapsPanel.h"

#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "core/IntRange.h"
#include "grid/CellValue.h"
#include "grid/ui/CPanelView.h"
#include "grid/ui/CZoomView.h"
#include "grid/ui/IPanelHost.h"
#include "kinds/CBitmapSelectionAnimation.h"
#include "kinds/bitmaps/CBitmapCommands.h"
#include "kinds/bitmaps/CBitmapInsertion.h"
#include "kinds/bitmaps/CBitmapItem.h"
#include "kinds/bitmaps/ui/CBitmapOffsetPane.h"
#include "params/ui/CUiServices.h"

#include <QMenu>

#include <algorithm>
#include <limits>

namespace {
const CellValue::ChoiceList& kindNames()
{
    static const CellValue::ChoiceList names = [] {
        CellValue::ChoiceList list;
        for (int kind = 0; kind < CDisplayBuffer::numberOfKinds(); ++kind)
            list.emplace_back(CDisplayBuffer::kindName(kind));
        return list;
    }();
    return names;
}

} // namespace

CBitmapsPanel::CBitmapsPanel(QWidget* parent)
    : CTypedItemsGrid(GroupBitmaps,
                      {{"ID", true},
                       {"Type", true},
                       {"", false},
                       {"Width", false},
                       {"Height", false},
                       {"Offset X", true},
                       {"Offset Y", true},
                       {"Extra Attributes", false},
                       {"Source Filename", true},
                       {"Source Nb Bytes", false},
                       {"Used Game Memory", false},
                       {"Specifications", false},
                       {"Comments", true}},
                      parent),
      m_pane(new CBitmapOffsetPane(stepLock()))
{
    // Bitmaps go from here onto frames, maps and worlds.
    setItemDrags(true);
    installPanelView(*this, m_pane->view());
    connect(m_pane, &CBitmapOffsetPane::offsetsChanged, this, [this](const std::vector<int>& rows) {
        // The Offset cells follow the drag as it goes.
        for (int row : rows)
            refreshRow(row);
    });
    // A drag in the preview, however many moves it makes, is one step.
    m_pane->gestureStep().setOpener([this] { return history(); }, group(), [this] { return m_pane->gestureRows(); });
    connect(m_pane, &CBitmapOffsetPane::editFinished, this, [this](bool changed) {
        if (changed)
            markModified();
    });
    // Marking rows changes which bitmaps the preview frames.
    connect(this, &CItemsGrid::selectionCountChanged, this, [this] { reloadEditorView(); });
}

bool CBitmapsPanel::fillCell(int column, int item, CellValue& value) const
{
    const CBitmapItem* record = itemAs<CBitmapItem>(item);
    if (!record)
        return false;
    auto text = [&](const std::string& s) {
        value.assignText(s);
    };
    auto real = [&](double x) {
        value.assignReal(x);
    };
    auto integer = [&](std::int64_t n) {
        value.assignInteger(saturated(n));
    };
    switch (column) {
    case ColId: text(record->id()); break;
    case ColType:
        value.assignChoice(&kindNames(), record->kind());
        break;
    case ColThumbnail:
        value.setKind(CellValue::KindPicture);
        value.setPicture(holder(), item);
        break;
    case ColWidth: real(record->width()); break;
    case ColHeight: real(record->height()); break;
    case ColOffsetX: real(record->offsetX()); break;
    case ColOffsetY: real(record->offsetY()); break;
    case ColExtra: text("None"); break;
    case ColSourceFilename: text(record->sourceFilename()); break;
    case ColSourceBytes: integer(record->sourceBytes().size()); break;
    case ColGameMemory: integer(record->usedGameMemory()); break;
    case ColSpecs: text(record->specsText()); break;
    case ColComments: text(record->comments()); break;
    default: return false;
    }
    return true;
}

int CBitmapsPanel::storeCell(int column, int item, const CellValue& value)
{
    CBitmapItem* record = itemAs<CBitmapItem>(item);
    if (!record)
        return 0;
    switch (column) {
    case ColId: record->setId(value.text()); return 1;
    // The kind follows from the picture loaded; the list only shows it, so
    // an edit is taken and the cell shows the record's kind again.
    case ColType: return 1;
    case ColOffsetX: record->setOffsetX(value.real()); return 1;
    case ColOffsetY: record->setOffsetY(value.real()); return 1;
    // Renames only: the picture stays as it was loaded.
    case ColSourceFilename: record->setSourceFilename(value.text()); return 1;
    case ColComments: record->setComments(value.text()); return 1;
    default: return 0;
    }
}

int CBitmapsPanel::newItem()
{
    if (!holder())
        return -1;
    IFileChooser::Request request;
    request.title = kInsertTitle;
    request.filter = kImageFilter;
    request.multiple = true;
    const std::vector<std::string> paths = CUiServices::fileChooser().chooseFiles(this, request);
    if (paths.empty())
        return -1;
    const std::vector<int> rows = CBitmapInsertion::insertImages(*holder(), paths);
    return rows.empty() ? -1 : rows.back();
}

int CBitmapsPanel::dropFile(const QString& path)
{
    if (!holder())
        return 0;
    return CBitmapInsertion::insertImages(*holder(), {path.toStdString()}).empty() ? 0 : 1;
}

void CBitmapsPanel::buildMenu(QMenu& menu, int base)
{
    const bool rows = rowCount() > 0;
    const bool selection = !selectionSet(true).empty();
    const bool current = currentItem() >= 0;
    auto add = [&](int entry, const char* label, const char* help, bool enabled) {
        addMenuEntry(menu, base, entry, label, help, enabled);
    };
    add(MenuCrop, "&Crop to Alpha Channel", "Optimize the size of the bitmap by removing unused space",
        rows && selection);
    add(MenuSetAlpha, "&Set Alpha Channel to Color...",
        "Set a color to be transparent, crop the image to the alpha channel, save and reload the image source (to a "
        "temporary file)",
        selection);
    add(MenuChangeColor, "&Change Color...",
        "Replace a color with another one, save and reload the image source (to a temporary file)", selection);
    menu.addSeparator();
    add(MenuReload, "&Reload Image Source...", "Reload the image source but keep the parameters", current);
    add(MenuSaveSource, "&Save Image Source...", "Save the image source to a separate file", false);
    menu.addSeparator();
    add(MenuMakeAnimation, "Make &Animation From Selection", "Build an animation from the selected bitmaps",
        rows && selection);
    menu.addSeparator();
    add(MenuViewWithoutAlpha, "View Without Alpha Channel", "Display the entire image without any transparency", false);
    add(MenuViewOnlyAlpha, "View Only Alpha Channel", "Display only the levels of transparency", false);
}

int CBitmapsPanel::command(int base, int chosen)
{
    if (!holder())
        return 0;
    const bool rows = rowCount() > 0;
    const bool selection = !selectionSet(true).empty();
    // The same rules as the menu's, so that a command reached another way
    // cannot run where its entry is disabled.
    switch (chosen - base) {
    case MenuCrop: {
        if (!rows || !selection)
            return 0;
        CLock lock(*this);
        return CBitmapCommands::cropToAlphaChannel(*holder(), selectionInMarkOrder()) > 0 ? 1 : 0;
    }
    case MenuSetAlpha: return selection ? setAlphaToColor() : 0;
    case MenuChangeColor: return selection ? changeColor() : 0;
    case MenuReload: return reloadImageSource();
    case MenuMakeAnimation: return rows && selection ? makeAnimation() : 0;
    default: return 0;
    }
}

int CBitmapsPanel::setAlphaToColor()
{
    std::uint32_t color = 0;
    if (!CUiServices::colorChooser().chooseColor(this, color))
        return 0;
    CLock lock(*this);
    return CBitmapCommands::setAlphaChannelToColor(*holder(), selectionInMarkOrder(), color) > 0 ? 1 : 0;
}

int CBitmapsPanel::changeColor()
{
    std::uint32_t from = 0;
    if (!CUiServices::colorChooser().chooseColor(this, from))
        return 0;
    std::uint32_t to = from;
    if (!CUiServices::colorChooser().chooseColor(this, to))
        return 0;
    CLock lock(*this);
    return CBitmapCommands::changeColor(*holder(), selectionInMarkOrder(), from, to) > 0 ? 1 : 0;
}

int CBitmapsPanel::reloadImageSource()
{
    const int item = currentItem();
    const CBitmapItem* record = itemAs<CBitmapItem>(item);
    if (!record)
        return 0;
    IFileChooser::Request request;
    request.title = kReloadTitle;
    request.filter = kImageFilter;
    request.startName = record->sourceFilename();
    const std::vector<std::string> paths = CUiServices::fileChooser().chooseFiles(this, request);
    if (paths.empty())
        return 0;
    CLock lock(*this);
    return CBitmapCommands::reloadImageSource(*holder(), item, paths.front());
}

int CBitmapsPanel::makeAnimation()
{
    int made = -1;
    {
        CLock lock(*this);
        made = CBitmapSelectionAnimation::make(*holder(), selectionInMarkOrder());
    }
    if (made < 0)
        return 0;
    // The Animations panel (and any other that lists animations) must see it.
    if (host())
        host()->broadcastReload();
    return 1;
}

void CBitmapsPanel::reloadEditorView()
{
    m_pane->showBitmaps(holder(), currentItem(), selectionSet(true));
}
