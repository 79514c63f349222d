#pragma once

#include <QStringList>

#include <memory>
#include <optional>

class CResourceHolder;
class CWalkedDocument;

// A three-way merge of documents at the level of items, keyed by group and
// ID (the k-th item of an ID with the k-th of that ID on every side): what
// one side changed and the other did not is taken; rows keep the order of
// the side that reordered them (ours when neither did; both reordering
// differently is a conflict), and the rows the other side added go after
// the row that preceded them there; rows one side deleted and the other left alone go. Every reference an
// item keeps to rows of other groups is renumbered so that it points at the
// same item in the result. Records are compared with every reference put in
// one numbering of all three sides' rows, so a reference that moved only
// because rows were added elsewhere is no change. An item both sides changed
// merges field by field; both changing one field differently, or one side
// deleting what the other changed, is a conflict and nothing is merged.
class CDocumentMerge {
public:
    struct Result {
        std::unique_ptr<CResourceHolder> merged;  // null when there are conflicts
        QStringList conflicts;
        std::shared_ptr<const void> keepAlive;  // what the merged document's records are copied from
    };
    static Result merge(const CResourceHolder& base, const CResourceHolder& ours, const CResourceHolder& theirs);
    // The same from documents walked item by item: only the items that
    // changed are loaded, and the others go into the result as their files
    // hold them, copied when it is saved (the documents must outlive that).
    // None when an item that is needed does not read.
    static std::optional<Result> merge(const CWalkedDocument& base, const CWalkedDocument& ours,
                                       const CWalkedDocument& theirs);
};
