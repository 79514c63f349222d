#pragma once

#include <vector>

// The marks of a grid's rows: which rows are marked, and in which order they
// were marked (rows marked together, as by Select All, share one stamp).
// Row numbers outside the marks read as unmarked and are not written.
class CRowMarks {
public:
    int size() const { return static_cast<int>(m_marks.size()); }
    // Keeps the marks of the first `rows` rows; new rows are unmarked.
    void resize(int rows);
    bool isMarked(int row) const;
    // Marking a marked row keeps its place in the mark order.
    void set(int row, bool marked);
    void markAll(int rows);
    void clear(int rows);
    void invert(int rows);
    // Marks `rows` together, unmarking every other one first when asked.
    void markTogether(const std::vector<int>& rows, bool unmarkOthers);
    // The marks follow their rows into a command's new order (see RowOrder:
    // `order[i]` is the old row now at row i); a deleted row's mark goes with
    // it. The marks are first sized to the `rows` the order was made for.
    void rearrange(const std::vector<int>& order, int rows);

    // The marked rows among the first `rows`, in row order or in the order
    // they were marked.
    std::vector<int> marked(int rows) const;
    std::vector<int> inMarkOrder(int rows) const;

private:
    bool valid(int row) const { return row >= 0 && row < size(); }

    // 0 for an unmarked row, else the stamp of when it was marked.
    std::vector<int> m_marks;
    int m_stamp = 0;
};
