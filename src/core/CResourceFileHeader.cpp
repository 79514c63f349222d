#include "core/CResourceFileHeader.h"

#include "core/CArchive.h"
#include "core/CArchiveException.h"
#include "core/CRegularFile.h"

#include <QFile>

std::optional<CResourceFileHeader> CResourceFileHeader::read(const std::string& fileName)
{
    QFile file;
    if (!CRegularFile::open(file, fileName))
        return std::nullopt;
    try {
        CArchive ar(file, CArchive::Mode::Load);
        CResourceFileHeader header;
        header.signature = ar.readString();
        header.versionBanner = ar.readString();
        header.visibleComments = ar.readString();
        header.reserved = ar.readInt32();
        header.version = ar.readInt32();
        header.subVersion = ar.readInt32();
        return header;
    } catch (const CArchiveException&) {
        return std::nullopt;
    }
}
