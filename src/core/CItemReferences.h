#pragma once

#include <functional>
#include <optional>
#include <string>

class CIndexChange;
class CResourceHolder;

// One reference an item keeps to a row of another group: the group, the
// stored row (-1 names nothing), where in the item it is kept (`part` and
// `subpart` as the kind counts them: a frame, a map cell's column and line,
// an element and which of its references) and the verb a finding uses for
// it ("shows", "follows").
struct CItemReference {
    int group = -1;
    int index = -1;
    int part = 0;
    int subpart = 0;
    const char* relation = "shows";
};

// What an item that refers to rows of other groups tells of those
// references: one walk, which keeping references through deletes, moves and
// swaps and the integrity check both use, so neither can miss one.
class IItemReferences {
public:
    virtual ~IItemReferences() = default;

    // Every reference, in order, until `visit` answers false.
    virtual void forEachReference(const std::function<bool(const CItemReference&)>& visit) const = 0;
    // Stores a new row for a reference met by forEachReference.
    virtual void setReference(const CItemReference& reference, int index) = 0;
    // Where the reference sits, as a finding names it ("Frame 2").
    virtual std::string referencePlace(const CItemReference& reference) const = 0;

    // The rows of `group` changed: every reference to one of them follows.
    void followRowChange(int group, const CIndexChange& change);
};

// A reference to a row that does not exist, as the integrity check finds it:
// the referring item's row, the reference, and the finding in words.
struct CDanglingReference {
    int item = -1;
    CItemReference reference;
    std::string text;
};

// The first reference an item of `group` keeps to a row that does not exist
// (-1 names nothing); none when every reference holds.
std::optional<CDanglingReference> findDanglingReference(const CResourceHolder& document, int group);
