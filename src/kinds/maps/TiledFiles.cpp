#include "kinds/maps/TiledFiles.h"

#include <QSaveFile>

bool writeWholeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

bool writePngFile(const QString& path, const QImage& picture)
{
    QSaveFile file(path);
    return !picture.isNull() && file.open(QIODevice::WriteOnly) && picture.save(&file, "PNG") && file.commit();
}
