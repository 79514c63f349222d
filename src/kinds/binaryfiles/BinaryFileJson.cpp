#include "kinds/binaryfiles/BinaryFileJson.h"

#include "kinds/binaryfiles/CBinaryFileItem.h"

#include <QCryptographicHash>
#include <QFileInfo>

namespace {
QByteArray bytesOf(const CBinaryFileItem& file)
{
    return QByteArray(reinterpret_cast<const char*>(file.data().data()), static_cast<qsizetype>(file.data().size()));
}
} // namespace

void BinaryFileJson::describe(const CResourceItem& item, QJsonObject& fields) const
{
    const auto& file = static_cast<const CBinaryFileItem&>(item);
    fields[QStringLiteral("sourceFileName")] = fromBytes(file.sourceFileName());
    fields[QStringLiteral("plainStorage")] = file.plainStorage();
    fields[QStringLiteral("size")] = static_cast<qint64>(file.data().size());
    fields[QStringLiteral("sha1")] = QString::fromLatin1(QCryptographicHash::hash(bytesOf(file), QCryptographicHash::Sha1).toHex());
}

int BinaryFileJson::assign(CResourceItem& item, const QJsonObject& fields, const QDir& base, QString& error) const
{
    const QString name = fields[QStringLiteral("file")].toString();
    if (name.isEmpty()) {
        error = QStringLiteral("a binary file needs \"file\"");
        return 0;
    }
    auto& file = static_cast<CBinaryFileItem&>(item);
    if (!file.loadSource(toBytes(base.filePath(name)))) {
        error = QStringLiteral("cannot read %1").arg(base.filePath(name));
        return 0;
    }
    // The name as the manifest gives it: a document built on one machine
    // should not carry that machine's folders.
    file.setSourceFileName(toBytes(name));
    return 1;
}

std::optional<CExtractedFile> BinaryFileJson::extract(const CResourceItem& item) const
{
    const auto& file = static_cast<const CBinaryFileItem&>(item);
    QString extension = QFileInfo(fromBytes(file.sourceFileName()).replace(QLatin1Char('\\'), QLatin1Char('/'))).suffix();
    return CExtractedFile{bytesOf(file), extension.isEmpty() ? QStringLiteral("bin") : extension};
}
