#include "quillop/runtime/TypeTexts.h"

namespace quillop {

namespace {
constexpr const char* kUnknown = "Unkown";  // as the editor has always spelt it

constexpr const char* kBitmapKindNames[kBitmapKindCount] = {
    "Empty",
    "GDI Bitmap",
    "DIB Bitmap 8 Bits",
    "DIB Bitmap 16 Bits",
    "DIB Bitmap 32 Bits",
    "DIB Bitmap 1 Bit - Mask",
    "MFC CRgn - Painting Region",
    "Icon",
    "Cursor",
    "GDI+ Image",
    "(Reserved)", "(Reserved)", "(Reserved)", "(Reserved)",
    "IDirectDrawSurface7 - DirectX",
    "DirectX (Reserved)", "DirectX (Reserved)", "DirectX (Reserved)",
    "DirectX (Reserved)", "DirectX (Reserved)", "DirectX (Reserved)",
    "Display Buffer",
    "Game Display Buffer",
    "DirectX Display Buffer",
    "OpenGL Display Buffer",
    "(Reserved)", "(Reserved)", "(Reserved)", "(Reserved)", "(Reserved)", "(Reserved)",
    "Refer to Another Bitmap",
    "Refer to Map",
    "Refer to Animation",
    "(Reserved)", "(Reserved)", "(Reserved)", "(Reserved)",
};

constexpr const char* kInterfaceTypes[kInterfaceTypeCount] = {"None", "Menu", "Parameters", "Tool Bar"};

constexpr const char* kInterfaceEntryTypes[kInterfaceEntryTypeCount] = {
    "None",
    "* Custom *",
    "--- Separator",
    "[   Group Begin",
    "]   Group End",
    "Title",
    "Button",
    "Buttons",
    "Boolean",
    "Floating Number",
    "Integer Number",
    "Text",
    "Grid",
    "Curve",
    "Image",
    "Filename",
    "Filenames",
    "Color",
    "Information",
    "Text Multiple Lines",
};

constexpr const char* kWorldObjectTypes[] = {"Bitmap", "Animation", "Map", "World Elements", "World Reference"};
constexpr const char* kWorldTypes[] = {"Simple", "Sort Offsets Y"};

template <std::size_t N>
const char* lookUp(const char* const (&table)[N], std::int32_t index, const char* fallback)
{
    return index >= 0 && static_cast<std::size_t>(index) < N ? table[index] : fallback;
}
} // namespace

const char* bitmapKindName(std::int32_t kind) { return lookUp(kBitmapKindNames, kind, ""); }
const char* mapTypeText(std::int32_t type) { return type == 0 ? "Grid of Bitmaps" : "Not Valid"; }
const char* worldTypeText(std::int32_t type) { return lookUp(kWorldTypes, type, kUnknown); }
const char* worldObjectTypeText(std::int32_t type) { return lookUp(kWorldObjectTypes, type, kUnknown); }
const char* interfaceTypeText(std::int32_t type) { return lookUp(kInterfaceTypes, type, kUnknown); }
const char* interfaceEntryTypeText(std::int32_t type) { return lookUp(kInterfaceEntryTypes, type, kUnknown); }

} // namespace quillop
