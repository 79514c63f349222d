#pragma once

#include "core/CArchive.h"
#include "core/GroupIndex.h"
#include "quillop/runtime/CItemWalk.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CResourceItem;
using quillop::CSectionCoder;

// A document read item by item from a read-only mapping of its file: each
// item's group, row, ID and record digest (the recordDigest it has once
// loaded), with nothing kept of its pictures and sounds. An item is loaded
// in full only when asked, and its record can be written into another file
// as it stands, without being loaded.
class CWalkedDocument {
public:
    struct Row {
        std::string id;
        std::uint64_t digest = 0;
        quillop::CItemWalk::Place place;
    };

    CWalkedDocument();
    ~CWalkedDocument();

    // False when the file does not map or does not walk through cleanly (not
    // a document, an older version, broken, a part of unknown type): such a
    // file is for a full load, which says what is wrong with it.
    bool open(const std::string& path);

    const std::string& id() const { return m_id; }
    const std::string& comments() const { return m_comments; }
    int count(int group) const { return int(m_rows[std::size_t(group)].size()); }
    const Row& row(int group, int row) const { return m_rows[std::size_t(group)][std::size_t(row)]; }

    // The item read into a new item of the prototype's kind; null when its
    // record does not read as that kind.
    std::unique_ptr<CResourceItem> load(int group, int row, const CResourceItem& prototype) const;
    // Writes the item's record into a section being written, scrambled with
    // that section's keys where the file had it scrambled with its own. Not
    // for two threads at once.
    void copyRecord(int group, int row, CArchive& ar, CSectionCoder& coder) const;

private:
    class CMapping;
    std::shared_ptr<const CMapping> m_map;
    // Copies go one after another (as a document is saved), mostly in the
    // order of the file.
    mutable std::unique_ptr<quillop::CItemWalk::CRereader> m_rereader;
    std::string m_id;
    std::string m_comments;
    std::array<std::vector<Row>, kGroupCount> m_rows;
};
