#include "quillop/runtime/CResourceFileHeader.h"

#include "quillop/runtime/CArchive.h"

namespace quillop {

CResourceFileHeader CResourceFileHeader::read(CArchive& ar)
{
    CResourceFileHeader header;
    header.signature = ar.readString();
    header.versionBanner = ar.readString();
    header.visibleComments = ar.readString();
    header.reserved = ar.readInt32();
    header.version = ar.readInt32();
    header.subVersion = ar.readInt32();
    return header;
}

} // namespace quillop
