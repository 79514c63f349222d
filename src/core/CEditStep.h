#pragma once

#include <QByteArray>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class CResourceHolder;
class CResourceItem;

// What one edit did to a document, as the records it touched: for a group
// whose rows changed, the stretch of rows that differs before and after
// (the items themselves, so undoing a delete puts the very same items
// back); for an item whose fields changed, its record before and after in
// the kind's own file form; the document's ID and Comments when they
// changed. Items out of the document in the step's current state (deleted
// when done, added when undone) are kept here. Memory follows what changed,
// never the size of the document.
class CEditStep {
public:
    struct RowsChange {
        int group = 0;
        int first = 0;
        std::vector<CResourceItem*> before;
        std::vector<CResourceItem*> after;
    };
    // Only the stretch of the record that differs is kept (an ID edit of a
    // large picture keeps a few bytes, not the picture): the rest is read
    // from the item itself when the change is applied.
    struct RecordChange {
        int group = 0;
        CResourceItem* item = nullptr;
        qsizetype head = 0;  // bytes equal before and after, at the start
        qsizetype tail = 0;  // and at the end
        QByteArray before;
        QByteArray after;
    };
    struct Header {
        std::string id;
        std::string comments;
        bool operator==(const Header&) const = default;
    };

    CEditStep();
    ~CEditStep();
    CEditStep(const CEditStep&) = delete;
    CEditStep& operator=(const CEditStep&) = delete;

    // The document must be as this step left it (undo) or as it found it
    // (redo), which the history's order guarantees. Rows or items that are
    // not where the step expects them (changed by something that was not
    // recorded) are left alone rather than guessed at.
    void undo(CResourceHolder& holder) { apply(holder, false); }
    void redo(CResourceHolder& holder) { apply(holder, true); }

    bool isEmpty() const { return m_rows.empty() && m_records.empty() && !m_header; }
    // Bytes this step holds: records, kept items, row lists.
    std::int64_t cost() const { return m_cost; }

    const std::vector<RowsChange>& rowChanges() const { return m_rows; }
    const std::vector<RecordChange>& recordChanges() const { return m_records; }

private:
    friend class CEditRecorder;
    void apply(CResourceHolder& holder, bool forward);
    void applyRows(CResourceHolder& holder, const RowsChange& change, bool forward);
    void applyRecords(CResourceHolder& holder, bool forward);

    std::vector<RowsChange> m_rows;
    std::vector<RecordChange> m_records;
    std::optional<std::pair<Header, Header>> m_header;
    std::vector<std::pair<int, std::unique_ptr<CResourceItem>>> m_outside;
    std::int64_t m_cost = 0;
};
