#include "kinds/worlds/WorldElement.h"

#include "core/CArchive.h"
#include "core/CSectionCoder.h"

const char* WorldElement::objectTypeText(std::int32_t type)
{
    switch (type) {
    case WorldObjectBitmap: return "Bitmap";
    case WorldObjectAnimation: return "Animation";
    case WorldObjectMap: return "Map";
    case WorldObjectWorldElements: return "World Elements";
    case WorldObjectWorldReference: return "World Reference";
    default: return "Unkown";
    }
}

int WorldElement::serialize(CArchive& ar, CSectionCoder& coder)
{
    coder.codeRecordHeader(ar);
    coder.codeString(ar, id);
    coder.codeString(ar, comments);
    // The object type is stored twice; the second copy is the one kept, so
    // the first is read into a scratch value.
    std::int32_t firstType = objectType;
    coder.codeInt(ar, firstType);
    coder.codeDouble(ar, offsetX);
    coder.codeDouble(ar, offsetY);
    std::uint8_t showByte = show ? 1 : 0;
    std::uint8_t playByte = play ? 1 : 0;
    coder.codeByte(ar, showByte);
    coder.codeByte(ar, playByte);
    coder.codeDouble(ar, playOffset);
    coder.codeDouble(ar, playSpeed);
    coder.codeInt(ar, objectType);
    coder.codeInt(ar, objectIndex);
    coder.codeDouble(ar, objectPlayOffset);
    coder.codeDouble(ar, objectPlaySpeed);
    coder.codeInt(ar, trajectoryIndex);
    coder.codeDouble(ar, trajectoryPlayOffset);
    const int ok = coder.codeDouble(ar, trajectoryPlaySpeed);
    if (ar.isLoading()) {
        show = showByte != 0;
        play = playByte != 0;
    }
    return ok;
}
