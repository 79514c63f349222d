#pragma once

#include <QStringList>

#include <memory>

class CResourceHolder;

// A three-way merge of documents at the level of items, keyed by group and
// ID (the k-th item of an ID with the k-th of that ID on every side): what
// one side changed and the other did not is taken; the rows each side added
// are kept, in our order with theirs after the row that preceded them there;
// rows one side deleted and the other left alone go. Every reference an
// item keeps to rows of other groups is renumbered so that it points at the
// same item in the result. Both sides changing one item differently, or one
// deleting what the other changed, is a conflict and nothing is merged.
class CDocumentMerge {
public:
    struct Result {
        std::unique_ptr<CResourceHolder> merged;  // null when there are conflicts
        QStringList conflicts;
    };
    static Result merge(CResourceHolder& base, CResourceHolder& ours, CResourceHolder& theirs);
};
