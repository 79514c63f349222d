#pragma once

#include <optional>
#include <string>
#include <vector>

class CResourceHolder;
class QMimeData;

// Items dragged between panels: which document they come from, their group,
// and each item's index with its ID. The document is named by this
// program's process and the document's address, so a drop can tell items
// of its own document from those of another document or another editor;
// the IDs let it refuse items that changed place since the drag began.
class CItemsMime {
public:
    static constexpr const char* kFormat = "application/x-quillop-items";

    struct Items {
        long long process = 0;
        unsigned long long document = 0;
        int group = -1;
        std::vector<int> indexes;
        std::vector<std::string> ids;
    };

    // The drag data of rows `indexes` of `group` (rows that do not exist are
    // left out); the caller owns it.
    static QMimeData* make(const CResourceHolder& document, int group, const std::vector<int>& indexes);
    // What the data carries, or nothing when it is not items.
    static std::optional<Items> read(const QMimeData& data);
    // The rows of `document` the data names, in the dragged order: empty
    // when the items come from another document (a drop there is refused,
    // as their references would not mean the same rows) or are not of
    // `group`. An item whose row no longer holds its ID is left out.
    static std::vector<int> rowsIn(const QMimeData& data, const CResourceHolder& document, int group);
};
