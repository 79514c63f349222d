#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CBitmapItem;
class CResourceHolder;

// The Bitmaps group's pixel commands as the grid runs them: each applies to
// every selected row in selection order, skips rows that hold no bitmap, and
// leaves the picture's source as a PNG of the result, so that what is saved
// is what is shown. Each answers how many rows it changed.
class CBitmapCommands {
public:
    // Crop with offset adjustment, then save and reload through a PNG.
    static int cropToAlphaChannel(CResourceHolder& holder, const std::vector<int>& rows);

    // The colour (0x00BBGGRR) becomes transparent; only where that worked
    // the picture is cropped and saved and reloaded.
    static int setAlphaChannelToColor(CResourceHolder& holder, const std::vector<int>& rows, std::uint32_t color);

    // The first colour replaced by the second (both opaque), with the
    // command's tolerances, then saved and reloaded.
    static int changeColor(CResourceHolder& holder, const std::vector<int>& rows, std::uint32_t from, std::uint32_t to);

    // Loads another file into the row with the record's kind; ID, comments
    // and offsets stay. 1 on success; a file that cannot be loaded leaves
    // the row as it was.
    static int reloadImageSource(CResourceHolder& holder, int row, const std::string& filename);

private:
    static CBitmapItem* bitmap(CResourceHolder& holder, int row);
    // Saves and reloads the picture through a PNG; if that cannot be done
    // the picture is kept from memory instead of its old source. 1 when the
    // row holds a picture afterwards.
    static int keepAsPng(CBitmapItem& item);
};
