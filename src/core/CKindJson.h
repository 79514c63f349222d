#pragma once

#include <QByteArray>
#include <QDir>
#include <QJsonObject>

#include <optional>
#include <string>

class CResourceItem;

// A file an item gives back when a document is extracted: its bytes and the
// extension that says what they are.
struct CExtractedFile {
    QByteArray bytes;
    QString extension;  // without the dot
};

// How one item kind appears in JSON: every field for `dump`, the fields a
// manifest may set for `pack`, and the file it extracts to. Kept apart from
// the kinds so that the file format code stays free of the text formats.
class CKindJson {
public:
    virtual ~CKindJson() = default;

    virtual void describe(const CResourceItem& item, QJsonObject& fields) const = 0;

    // Sets the item from a manifest entry; file names are relative to
    // `base`. 1 on success; 0 with `error` set otherwise.
    virtual int assign(CResourceItem& item, const QJsonObject& fields, const QDir& base, QString& error) const = 0;

    virtual std::optional<CExtractedFile> extract(const CResourceItem&) const { return std::nullopt; }
};

// Shared by the kind forms: reads a manifest file relative to `base`.
std::optional<QByteArray> readManifestFile(const QDir& base, const QString& name, QString& error);
QString fromBytes(const std::string& text);
std::string toBytes(const QString& text);
