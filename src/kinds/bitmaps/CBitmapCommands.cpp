#include "kinds/bitmaps/CBitmapCommands.h"

#include "core/CResourceHolder.h"
#include "kinds/bitmaps/CBitmapItem.h"
#include "kinds/bitmaps/CColorChange.h"

CBitmapItem* CBitmapCommands::bitmap(CResourceHolder& holder, int row)
{
    return dynamic_cast<CBitmapItem*>(holder.get(GroupBitmaps, row));
}

int CBitmapCommands::keepAsPng(CBitmapItem& item)
{
    if (item.saveAndReloadThroughPng())
        return 1;
    if (item.kind() != CDisplayBuffer::GdiPlusImage || item.image().isNull())
        return 0;
    // The round trip through a temporary file failed, so the source bytes
    // still hold the picture as it was before the command while the offsets
    // may already have moved. They are dropped: a picture without source is
    // stored from memory, so a save keeps what is shown.
    item.setSourceBytes(QByteArray());
    return 1;
}

int CBitmapCommands::cropToAlphaChannel(CResourceHolder& holder, const std::vector<int>& rows)
{
    int changed = 0;
    for (int row : rows) {
        CBitmapItem* item = bitmap(holder, row);
        if (!item)
            continue;
        // A picture with nothing visible cannot be cropped, but it is still
        // saved and reloaded like the others.
        item->cropToAlphaChannel(true);
        changed += keepAsPng(*item);
    }
    return changed;
}

int CBitmapCommands::setAlphaChannelToColor(CResourceHolder& holder, const std::vector<int>& rows, std::uint32_t color)
{
    int changed = 0;
    for (int row : rows) {
        CBitmapItem* item = bitmap(holder, row);
        if (!item || !item->setAlphaChannelToColor(color))
            continue;
        item->cropToAlphaChannel(true);
        changed += keepAsPng(*item);
    }
    return changed;
}

int CBitmapCommands::changeColor(CResourceHolder& holder, const std::vector<int>& rows, std::uint32_t from, std::uint32_t to)
{
    const CColorChange change(from, 255, to, 255, CColorChange::kCommandHueTolerance, CColorChange::kCommandMinTolerance,
                              CColorChange::kCommandMaxTolerance);
    int changed = 0;
    for (int row : rows) {
        CBitmapItem* item = bitmap(holder, row);
        if (!item)
            continue;
        item->changeColor(change);
        changed += keepAsPng(*item);
    }
    return changed;
}

int CBitmapCommands::reloadImageSource(CResourceHolder& holder, int row, const std::string& filename)
{
    CBitmapItem* item = bitmap(holder, row);
    if (!item)
        return 0;
    // A row whose picture never loaded (a new row, or one whose stored image
    // could not be decoded) is reloaded as a decoded image: with its empty
    // kind no file could ever be loaded into it.
    const int kind = item->recordKind() == CDisplayBuffer::Empty ? int(CDisplayBuffer::GdiPlusImage) : item->recordKind();
    // A load that fails empties the record it loads into. Reloading is asked
    // for on a picture the user wants to keep, so a file that cannot be read
    // must not cost it: the file is tried on a scratch record first.
    CBitmapItem trial;
    if (!trial.loadFromFile(kind, filename))
        return 0;
    return item->loadFromFile(kind, filename);
}
