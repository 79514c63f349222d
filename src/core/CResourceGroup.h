#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/CodingNames.h"
class CResourceItem;

// An ordered list of owned items of one kind, stored as one tagged section.
class CResourceGroup {
public:
    // The smallest an item can be in a file: three reserved words and the two
    // string counts of ID and Comments. Bounds a stored item count.
    static constexpr int kMinimumItemBytes = 20;

    explicit CResourceGroup(std::string tag = {});
    ~CResourceGroup();

    CResourceGroup(const CResourceGroup&) = delete;
    CResourceGroup& operator=(const CResourceGroup&) = delete;

    const std::string& tag() const { return m_tag; }
    void setTag(const std::string& tag) { m_tag = tag; }

    void clear();

    // Writing: the whole section (nothing when empty). Reading: 1 when the
    // section's tag is this group's and it was read; 0 when declined, with
    // the file position back at the section's coder header.
    int serialize(CArchive& ar, const CResourceItem& prototype);

    int count() const { return static_cast<int>(m_items.size()); }
    int add(std::unique_ptr<CResourceItem> item);
    int move(int from, int to);
    int swap(int i, int j);
    int findById(const std::string& id) const;
    CResourceItem* get(int i) const;
    int remove(int i);
    // Puts the items in `order` (`order[i]` is the old index of the item
    // that ends at i) and destroys those not listed, or hands them to
    // `dropped` when given: 1 if done, 0 (nothing changed) when `order`
    // names an index twice or one out of range.
    int rearrange(const std::vector<int>& order, std::vector<std::unique_ptr<CResourceItem>>* dropped = nullptr);

    // Takes the item out without destroying it (for moving between groups).
    std::unique_ptr<CResourceItem> take(int i);
    // Puts `rows` in place of the `count` rows from `first` and hands back
    // the rows taken out (for restoring a remembered order of rows).
    std::vector<std::unique_ptr<CResourceItem>> replaceRows(int first, int count,
                                                            std::vector<std::unique_ptr<CResourceItem>> rows);

private:
    bool valid(int i) const { return i >= 0 && i < count(); }
    void write(CArchive& ar);
    int read(CArchive& ar, const CResourceItem& prototype);

    std::string m_tag;
    std::vector<std::unique_ptr<CResourceItem>> m_items;
};
