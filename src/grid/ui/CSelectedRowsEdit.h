#pragma once

#include "core/IPrompter.h"

#include <string>
#include <utility>
#include <vector>

// One edit in a table of rows beside a panel's grid (the items of a user
// interface, the elements of a world): stored in the edited row, then
// copied from that row into every other selected row, the way the panel
// grids copy an edit into their marked rows. A refused store in the edited
// row copies nothing; a row that refuses the copy keeps its value and the
// rows after it are still written.
class CSelectedRowsEdit {
public:
    struct Result {
        bool stored = false;
        int copied = 0;
        int refused = 0;
    };

    // store() writes the edited row; copyInto(other) copies the edited
    // row's field into row `other`; both answer whether they stored.
    template <typename Store, typename CopyInto>
    static Result run(int row, const std::vector<int>& selected, Store store, CopyInto copyInto)
    {
        Result result;
        if (!store())
            return result;
        result.stored = true;
        for (int other : selected) {
            if (other == row)
                continue;
            if (copyInto(other))
                ++result.copied;
            else
                ++result.refused;
        }
        return result;
    }
};

// Passes on the messages of a run of stores once each: a refusal met on
// many rows (a loop the edit would close, say) is told once, not once per
// row. Questions are not held back: they go to the target at once.
class CGatheredMessages : public IPrompter {
public:
    explicit CGatheredMessages(IPrompter& target) : m_target(target) {}

    Answer ask(const std::string& text, Buttons buttons, Icon icon) override;
    // Tells every different message gathered, in the order first met.
    void flush();

private:
    IPrompter& m_target;
    std::vector<std::pair<std::string, Icon>> m_messages;
};
