#pragma once

#include <QDir>
#include <QJsonObject>
#include <QString>

class CKindJson;
class CResourceHolder;
class CResourceItem;

// The JSON form of a group's kind, or none while the kind has no JSON form.
const CKindJson* kindJson(int group);

// A whole document as JSON and back, and its embedded files written out:
// what `quillop-cli dump`, `pack` and `extract` run on.
class CDocumentJson {
public:
    // {"id", "comments", "groups": {"texts": [{"id", "comments", ...}], ...}}
    static QJsonObject dump(const CResourceHolder& holder);
    // One item of group `group` as dump shows it.
    static QJsonObject describeItem(int group, const CResourceItem& item);

    // Builds the document from a manifest of the same shape; file names in it
    // are relative to `base`. 1 on success; 0 with `error` naming the item.
    static int pack(const QJsonObject& manifest, const QDir& base, CResourceHolder& holder, QString& error);

    // Writes every item's file under `dir`/<group>/, and texts and colours as
    // `dir`/document.json. Returns the number of files written, -1 on error.
    static int extract(const CResourceHolder& holder, const QDir& dir, QString& error);

    // Where two JSON forms first differ ("groups.maps[0].nbLines: 5, then
    // 0"), or "" when they are the same: how a document is checked to read
    // back as it was written.
    static QString firstDifference(const QJsonValue& written, const QJsonValue& read, const QString& where = {});

    // A file name made from an item ID that cannot leave its folder.
    static QString safeFileName(const QString& id);
};
