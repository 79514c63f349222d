#pragma once

#include <QByteArray>
#include <QStringList>

#include <optional>

class CResourceItem;

// Merges one item that both sides of a merge changed, field by field on its
// JSON form: a field one side changed and the other did not takes that
// side's value; lists of the same length on every side merge entry by entry.
// The result is built from one side's record and checked to show every
// merged field, so a field the JSON form cannot set (a picture's pixels)
// is never lost: such an item merges only when one side's record already
// holds it. A clash in a value the item works out from others (a path's
// centre) is no conflict when either choice builds the same item.
class CItemFieldMerge {
public:
    struct Result {
        std::optional<QByteArray> record;  // the merged record, when there is one
        QStringList clashes;               // the fields changed on both sides ("frames[2].delay")
    };
    static Result merge(int group, const CResourceItem& prototype, const QByteArray& base, const QByteArray& ours,
                        const QByteArray& theirs);
};
