#pragma once

#include "core/CResourceGroup.h"
#include "core/GroupIndex.h"
#include "quillop/runtime/CResourceFileHeader.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CEditRecorder;
class CIndexChange;
#include "core/CodingNames.h"
class CResourceItem;
class IPrompter;

// Owns a document's ID, Comments and its ten resource groups, and reads and
// writes them as one resource file.
class CResourceHolder {
public:
    // Makes the default item of a group's kind; the holder keeps one per
    // group to create the items of a section being read.
    using PrototypeFactory = std::function<std::unique_ptr<CResourceItem>(int group)>;

    static constexpr const char* kSignature = quillop::CResourceFileHeader::kSignature;
    static constexpr const char* kSectionSeparator = "\n!(C)MARVOLINE!";
    // Only the first line break, "V.3.9" and the line break after it matter;
    // readers ignore the whole string.
    static constexpr const char* kVersionBanner =
        "\nV.3.9\n"
        "Marvoline Quillop resource file.\n"
        "The sections below are scrambled: open this file with Quillop.\n";
    static constexpr int kFormatVersion = 3;
    static constexpr int kFormatSubVersion = 9;

    static constexpr const char* kWrongFileType = "Wrong file type !";
    static constexpr const char* kNotFound = "File not found !";
    static constexpr const char* kOlderVersion = "Older or wrong file version !\n\nDo you still want to load this file ?";
    static constexpr const char* kUnknownDataType = "Error: an unknown data type has been found, file broken.";
    static constexpr const char* kTruncatedFile = "Error: the file is truncated or broken, nothing has been loaded.";

    // Plain record items for every group; each item kind replaces its own.
    static std::unique_ptr<CResourceItem> plainPrototype(int group);

    explicit CResourceHolder(PrototypeFactory factory = &CResourceHolder::plainPrototype);
    ~CResourceHolder();

    CResourceHolder(const CResourceHolder&) = delete;
    CResourceHolder& operator=(const CResourceHolder&) = delete;

    CResourceItem* findItem(int group, const std::string& id) const;
    void dropBitmapSources();

    int integerParameter(const std::string& name, int defaultValue) const;
    double realParameter(const std::string& name, double defaultValue) const;
    std::string textParameter(const std::string& name, const std::string& defaultValue) const;

    // The per-group operations panels use; an index outside 0..9 fails like
    // an item index out of range.
    int count(int group) const;
    int newItem(int group, const std::string& id);
    int move(int group, int from, int to);
    int swap(int group, int i, int j);
    int findById(int group, const std::string& id) const;
    CResourceItem* get(int group, int i) const;
    int remove(int group, int i);
    // A command over many rows in one go: puts the rows of `group` in
    // `order` (`order[i]` is the old row that ends at i, unlisted rows are
    // deleted) and, with `keepReferences`, renumbers every reference to them
    // in one pass. 1 if done; 0 and nothing changed for an invalid order.
    int rearrange(int group, const std::vector<int>& order, bool keepReferences);

    // Tells every item of every group that the rows of `group` changed, so
    // that references to them follow (the grids call it after a delete,
    // move or swap when relationships are maintained).
    void renumberReferences(int group, const CIndexChange& change);
    // Counts the changes of rows (added, removed, moved) and of references
    // to them: a view that shows other groups' rows is out of date when the
    // count moved since it last read them.
    std::uint64_t rowsRevision() const { return m_rowsRevision; }

    // What a load left out: a section whose tag names no group ends the
    // load there, keeping what came before; the rest of the file, from
    // `offset` on, was not read.
    struct DroppedPart {
        std::int64_t offset = 0;
        std::int64_t bytes = 0;
    };
    const std::optional<DroppedPart>& droppedPart() const { return m_dropped; }

    void clear();
    int load(const std::string& fileName);
    int save(const std::string& fileName);
    // Why the last save failed, in the system's words where it gave some;
    // empty after a save that succeeded.
    const std::string& saveError() const { return m_saveError; }

    static std::string resolve(const std::string& name);
    static bool isResourceFile(const std::string& fullName);

    CResourceGroup* group(int i);
    const CResourceGroup* group(int i) const;
    const CResourceItem& prototype(int group) const;

    void setComments(const std::string& text) { m_comments = text; }
    void setId(const std::string& text) { m_id = text; }
    const std::string& id() const { return m_id; }
    const std::string& comments() const { return m_comments; }

    // While an edit is recorded: removed items go to the recorder instead of
    // being destroyed, and items whose references are about to be rewritten
    // are shown to it first.
    void setEditRecorder(CEditRecorder* recorder) { m_recorder = recorder; }
    CEditRecorder* editRecorder() const { return m_recorder; }

    // Where messages and questions of load go (default: stderr, answers No).
    void setPrompter(IPrompter* prompter) { m_prompter = prompter; }
    // Where the key words of saved sections come from (default: the clock).
    void setKeySource(CKeySource* source) { m_keySource = source; }

private:
    static bool validGroup(int g) { return g >= 0 && g < kGroupCount; }
    IPrompter& prompter() const;
    int readFile(const std::string& fullName);
    int refuseBroken();

    std::string m_comments = "No Comments";
    std::string m_id = "No Name";
    CResourceGroup m_prototypes{std::string(kPrototypeGroupTag)};
    std::array<CResourceGroup, kGroupCount> m_groups;
    IPrompter* m_prompter = nullptr;
    CKeySource* m_keySource = nullptr;
    std::string m_saveError;
    std::optional<DroppedPart> m_dropped;
    CEditRecorder* m_recorder = nullptr;
    std::uint64_t m_rowsRevision = 0;
};
