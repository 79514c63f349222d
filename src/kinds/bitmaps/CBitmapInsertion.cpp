#include "kinds/bitmaps/CBitmapInsertion.h"

#include "core/CResourceHolder.h"
#include "core/NaturalOrder.h"
#include "kinds/bitmaps/CBitmapItem.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>

std::string CBitmapInsertion::fileTitle(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    if (slash == std::string::npos && path.size() == 2 && path[1] == ':')
        return std::string();
    std::string title = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = title.rfind('.');
    if (dot != std::string::npos)
        title.erase(dot);
    return title;
}

std::vector<std::string> CBitmapInsertion::picturesIn(const std::vector<std::string>& paths)
{
    QStringList patterns;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    QStringList files;
    for (const std::string& path : paths) {
        const QString name = QString::fromStdString(path);
        if (!QFileInfo(name).isDir()) {
            files << name;
            continue;
        }
        const QDir folder(name);
        for (const QString& entry : folder.entryList(patterns, QDir::Files | QDir::Readable, QDir::NoSort))
            files << folder.filePath(entry);
    }
    sortNaturally(files);
    std::vector<std::string> sorted;
    for (const QString& file : files)
        sorted.push_back(file.toStdString());
    return sorted;
}

std::vector<int> CBitmapInsertion::insertImages(CResourceHolder& holder, const std::vector<std::string>& paths)
{
    std::vector<int> rows;
    for (const std::string& path : picturesIn(paths)) {
        const int row = holder.newItem(GroupBitmaps, fileTitle(path));
        auto* bitmap = dynamic_cast<CDisplayBuffer*>(holder.get(GroupBitmaps, row));
        if (bitmap && bitmap->loadFromFile(CDisplayBuffer::GdiPlusImage, path)) {
            rows.push_back(row);
            continue;
        }
        // The new row is the last one and nothing refers to it yet.
        if (row >= 0)
            holder.remove(GroupBitmaps, row);
    }
    return rows;
}

int CBitmapInsertion::findSamePicture(const CResourceHolder& holder, const QImage& picture)
{
    const QImage wanted = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int row = 0; row < holder.count(GroupBitmaps); ++row) {
        const auto* bitmap = dynamic_cast<const CDisplayBuffer*>(holder.get(GroupBitmaps, row));
        if (!bitmap || bitmap->kind() != CDisplayBuffer::GdiPlusImage || bitmap->actualWidth() != wanted.width() ||
            bitmap->actualHeight() != wanted.height())
            continue;
        if (bitmap->image().convertToFormat(QImage::Format_ARGB32_Premultiplied) == wanted)
            return row;
    }
    return -1;
}

int CBitmapInsertion::insertPicture(CResourceHolder& holder, const QString& id, const QImage& picture)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    const int row = holder.newItem(GroupBitmaps, id.toStdString());
    auto* bitmap = dynamic_cast<CDisplayBuffer*>(holder.get(GroupBitmaps, row));
    bitmap->setSourceFilename(id.toStdString() + ".png");
    bitmap->setSourceBytes(png);
    bitmap->attachImage(picture);
    return row;
}
