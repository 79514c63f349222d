#include "quillop/runtime/Records.h"

#include "quillop/runtime/CArchive.h"
#include "quillop/runtime/CSectionCoder.h"

namespace quillop {

void InterfaceEntry::code(CArchive& ar, CSectionCoder& coder)
{
    coder.codeString(ar, id);
    coder.codeString(ar, comments);
    coder.codeInt(ar, type);
    coder.codeString(ar, title);
    coder.codeString(ar, helpText);
    coder.codeString(ar, defaultValue);
    coder.codeString(ar, minimumValue);
    coder.codeString(ar, maximumValue);
    coder.codeInt(ar, level);
    coder.codeString(ar, image);
    coder.codeString(ar, states);
    coder.codeInt(ar, spare);
}

int WorldElementRecord::serialize(CArchive& ar, CSectionCoder& coder)
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

} // namespace quillop
