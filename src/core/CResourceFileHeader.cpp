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
        CDeviceArchive ar(file, CArchive::Mode::Load);
        return CResourceFileHeader{quillop::CResourceFileHeader::read(ar)};
    } catch (const CArchiveException&) {
        return std::nullopt;
    }
}
