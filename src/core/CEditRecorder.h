#pragma once

#include "core/CEditStep.h"
#include "core/GroupIndex.h"

#include <array>
#include <memory>
#include <unordered_map>
#include <vector>

class CResourceHolder;
class CResourceItem;

// Watches one edit of a document and turns it into a CEditStep. It notes
// the rows of every group when it starts (pointers only); the records of
// the items the edit says it will change are kept as they were before
// (`touch...`), and the holder shows it every item whose references are
// about to be rewritten and hands it every item removed, so deleted items
// stay alive for undo. Touching the same item twice keeps the first record.
class CEditRecorder {
public:
    explicit CEditRecorder(CResourceHolder& holder);
    // Without finish() the edit stays in the document unrecorded.
    ~CEditRecorder();
    CEditRecorder(const CEditRecorder&) = delete;
    CEditRecorder& operator=(const CEditRecorder&) = delete;

    void touchRow(int group, int row);
    void touchGroup(int group);
    void touchItem(int group, CResourceItem* item);
    void touchHeader();
    void keepRemoved(int group, std::unique_ptr<CResourceItem> item);

    // Compares with the document as it is now: the step, empty when the edit
    // changed nothing. The recorder detaches from the holder.
    std::unique_ptr<CEditStep> finish();

private:
    struct Before {
        int group;
        CResourceItem* item;
        QByteArray record;
    };

    CResourceHolder& m_holder;
    std::array<std::vector<CResourceItem*>, kGroupCount> m_rows;
    std::vector<Before> m_records;
    std::unordered_map<const CResourceItem*, std::size_t> m_recorded;
    std::vector<std::pair<int, std::unique_ptr<CResourceItem>>> m_removed;
    bool m_headerTouched = false;
    CEditStep::Header m_header;
    bool m_attached = true;
};
