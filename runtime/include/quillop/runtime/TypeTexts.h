#pragma once

#include <cstdint>

namespace quillop {

// The names the editor shows for the stored type numbers; a file may hold
// any number there, which gets the fallback each names.

// "Empty", "GDI+ Image", ... for the 38 bitmap kinds; "" for other numbers.
const char* bitmapKindName(std::int32_t kind);
// "Grid of Bitmaps", else "Not Valid".
const char* mapTypeText(std::int32_t type);
// "Simple", "Sort Offsets Y", else "Unkown".
const char* worldTypeText(std::int32_t type);
// "Bitmap", "Animation", "Map", "World Elements", "World Reference", else "Unkown".
const char* worldObjectTypeText(std::int32_t type);
// "None", "Menu", "Parameters", "Tool Bar", else "Unkown".
const char* interfaceTypeText(std::int32_t type);
// The twenty kinds of a user interface's entries, else "Unkown".
const char* interfaceEntryTypeText(std::int32_t type);

inline constexpr int kBitmapKindCount = 38;
inline constexpr int kInterfaceTypeCount = 4;
inline constexpr int kInterfaceEntryTypeCount = 20;

} // namespace quillop
