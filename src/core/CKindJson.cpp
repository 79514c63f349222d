#include "core/CKindJson.h"

#include <QFile>

std::optional<QByteArray> readManifestFile(const QDir& base, const QString& name, QString& error)
{
    QFile file(base.filePath(name));
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read %1").arg(file.fileName());
        return std::nullopt;
    }
    return file.readAll();
}

QString fromBytes(const std::string& text) { return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size())); }

std::string toBytes(const QString& text) { return text.toLocal8Bit().toStdString(); }
