#include "core/CKindJson.h"

#include "core/CRegularFile.h"

#include <QFile>

std::optional<QByteArray> readManifestFile(const QDir& base, const QString& name, QString& error)
{
    const QString path = base.filePath(name);
    std::optional<QByteArray> bytes = CRegularFile::read(CRegularFile::nameOf(path));
    if (!bytes)
        error = CRegularFile::exists(CRegularFile::nameOf(path)) && !CRegularFile::isRegular(CRegularFile::nameOf(path))
                    ? QStringLiteral("%1 is not a regular file").arg(path)
                    : QStringLiteral("cannot read %1").arg(path);
    return bytes;
}

QString fromBytes(const std::string& text) { return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size())); }

std::string toBytes(const QString& text) { return text.toLocal8Bit().toStdString(); }
