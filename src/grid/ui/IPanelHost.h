#pragma once

class CDocumentHistory;

// What a panel needs of the document view that shows it.
class IPanelHost {
public:
    virtual ~IPanelHost() = default;
    // Deletes, moves and swaps rewrite the references to the rows they touch.
    virtual bool maintainRelationships() const = 0;
    // An edit changed the document.
    virtual void markModified() = 0;
    // Where edits are recorded for undo; none when the panel shows a holder
    // without a document.
    virtual CDocumentHistory* history() const { return nullptr; }
    // An edit changed data other panels show: every panel reloads.
    virtual void broadcastReload() = 0;
    // Shows another panel (by panel index), selecting its last row if asked.
    virtual void showPanel(int index, bool selectLast) = 0;
};
