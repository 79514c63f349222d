#pragma once

#include <vector>

class CResourceHolder;

// The worlds grid's row commands. Unlike the other groups, world references
// (element types 3 and 4) always follow the worlds they name, whatever the
// view's switch for keeping relationships says: a reference left pointing
// at another world could silently close a cycle. Each answers 1 on success
// and 0 for a row out of range, changing nothing then.
class CWorldGroupEditing {
public:
    static constexpr const char* kNewId = "New ID";

    // Appends a world with the ID "New ID"; its row, or -1.
    static int insert(CResourceHolder& document);
    static int remove(CResourceHolder& document, int row);
    static int move(CResourceHolder& document, int from, int to);
    static int swap(CResourceHolder& document, int a, int b);
    // Many rows at once: see CResourceHolder::rearrange.
    static int rearrange(CResourceHolder& document, const std::vector<int>& order);
};
