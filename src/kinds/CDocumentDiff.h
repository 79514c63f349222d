#pragma once

#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class CResourceHolder;
class CWalkedDocument;

// Item-level differences between two documents, group by group: records are
// compared by digest, and those that differ field by field on their JSON
// forms (what `quillop-cli dump` prints). Items are matched
// by ID, the k-th item of an ID with the k-th item of that ID on the other
// side, so that an item moved to another row is a move, not a removal and
// an addition. Pictures, sounds and files show as sizes and hashes, as the
// JSON form has them.
class CDocumentDiff {
public:
    struct FieldChange {
        QString path;  // "text", "frames[2].delay"; "" for the document's own fields
        QString before;  // as shown; "(none)" when the field is not there
        QString after;
    };
    struct Difference {
        enum class Kind { Added, Removed, Moved, Changed };
        Kind kind = Kind::Changed;
        QString group;  // "texts" …, or "document" for the ID and Comments
        QString id;
        int before = -1;  // row on the first side, -1 when added
        int after = -1;   // row on the second side, -1 when removed
        std::vector<FieldChange> fields;  // for changes
    };

    // The key of every row of a group, in row order: "ID\noccurrence", the
    // k-th item of an ID being the k-th of that ID on every side.
    static QStringList itemKeys(const CResourceHolder& holder, int group);
    static QStringList itemKeys(const CWalkedDocument& document, int group);
    static QString idOfKey(const QString& key);

    // Every value of an item's JSON form under its path ("frames[2].delay").
    static QMap<QString, QString> flatFields(const QJsonObject& item);

    static std::vector<Difference> compare(const CResourceHolder& first, const CResourceHolder& second);
    // The same from documents walked item by item, loading only the items
    // whose records differ: none when such an item does not read.
    static std::optional<std::vector<Difference>> compare(const CWalkedDocument& first, const CWalkedDocument& second);

    // One line per difference, field changes indented under their item.
    static QStringList describe(const std::vector<Difference>& differences);
    static QJsonObject toJson(const std::vector<Difference>& differences);

    // A stable line form of one document for `git diff`: the document's
    // fields, then every item in row order, one field per line.
    static QStringList textForm(const QJsonObject& document);
};
