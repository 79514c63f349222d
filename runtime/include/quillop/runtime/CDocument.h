#pragma once

#include "quillop/runtime/GroupIndex.h"
#include "quillop/runtime/Records.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace quillop {

// Why a document could not be opened.
enum class OpenError : int {
    None = 0,
    NotFound = 1,        // no file of that name
    NotRegular = 2,      // a folder, a device, a FIFO
    Unreadable = 3,      // the system refused to read it
    TooLarge = 4,        // over the 2 GB any stored count can describe
    WrongType = 5,       // not a resource file
    OlderVersion = 6,    // written by an older version of the format
    Broken = 7,          // truncated, or a stored size that cannot be
    OutOfMemory = 8,
    PasswordNeeded = 9,  // the document has a password and none was given
    WrongPassword = 10,
};

// The message the runtime gives for an error.
const char* openErrorText(OpenError error);

// A document read whole into memory: its items as plain records, the bytes
// of pictures, sounds and files left in place inside the one buffer the
// document keeps. Nothing is decoded until asked.
class CDocument {
public:
    static constexpr const char* kPasswordId = "settings_password";
    static constexpr const char* kStepDelayId = "settings_one_game_step_delay";
    // The game step delay when the document does not set one, and the least
    // it can be (milliseconds).
    static constexpr int kDefaultStepDelay = 8;
    static constexpr int kMinimumStepDelay = 1;
    // The most a file may hold: every length a document stores is a 32-bit
    // count, so nothing larger could be read anyway.
    static constexpr std::int64_t kReadLimit = 0x7FFFFFFF;

    // Reads and checks the password: an empty `password` stands for none.
    // Null with `error` set when the document cannot be opened.
    static std::unique_ptr<CDocument> openFile(const std::string& path, const std::string& password, OpenError& error);
    static std::unique_ptr<CDocument> openMemory(const void* data, std::size_t size, const std::string& password,
                                                 OpenError& error);
    // Reads without asking for the password, for tools over files their
    // user holds (the password is kept in plain in the file).
    static std::unique_ptr<CDocument> read(std::vector<std::uint8_t> bytes, OpenError& error);
    // The whole of a regular file, within kReadLimit.
    static std::optional<std::vector<std::uint8_t>> readFileBytes(const std::string& path, OpenError& error);

    const std::string& id() const { return m_id; }
    const std::string& comments() const { return m_comments; }
    // Where a section no group reads begins, when there is one: what came
    // before it is read, the rest of the file is left out.
    std::optional<std::int64_t> droppedFrom() const { return m_droppedFrom; }
    std::int64_t fileSize() const { return static_cast<std::int64_t>(m_bytes.size()); }

    int count(int group) const;
    // The first item of the group with that ID, or -1; one hash lookup.
    int find(int group, const std::string& id) const;
    const ItemRecord* item(int group, int index) const;

    const std::vector<TextRecord>& texts() const { return m_texts; }
    const std::vector<BitmapRecord>& bitmaps() const { return m_bitmaps; }
    const std::vector<SoundRecord>& sounds() const { return m_sounds; }
    const std::vector<AnimationRecord>& animations() const { return m_animations; }
    const std::vector<TrajectoryRecord>& trajectories() const { return m_trajectories; }
    const std::vector<MapRecord>& maps() const { return m_maps; }
    const std::vector<ColorRecord>& colors() const { return m_colors; }
    const std::vector<BinaryFileRecord>& binaryFiles() const { return m_binaryFiles; }
    const std::vector<UserInterfaceRecord>& userInterfaces() const { return m_userInterfaces; }
    const std::vector<WorldRecord>& worlds() const { return m_worlds; }

    // The text of index `text` with its "[ID]" references expanded; empty
    // for an index that names no text.
    std::string expandedText(int text) const;
    // Typed parameters: the text of the first text with that ID, read as the
    // editor reads it (leading blanks, sign, digits up to the first other
    // character), or the default when there is no such text.
    std::string textParameter(const std::string& id, const std::string& defaultValue) const;
    int integerParameter(const std::string& id, int defaultValue) const;
    double realParameter(const std::string& id, double defaultValue) const;

    // The two document settings: empty when there is no password.
    std::string password() const { return textParameter(kPasswordId, std::string()); }
    int stepDelay() const;

private:
    friend class CDocumentReader;
    CDocument() = default;
    void indexIds();

    std::vector<std::uint8_t> m_bytes;
    std::string m_id;
    std::string m_comments;
    std::optional<std::int64_t> m_droppedFrom;
    std::vector<TextRecord> m_texts;
    std::vector<BitmapRecord> m_bitmaps;
    std::vector<SoundRecord> m_sounds;
    std::vector<AnimationRecord> m_animations;
    std::vector<TrajectoryRecord> m_trajectories;
    std::vector<MapRecord> m_maps;
    std::vector<ColorRecord> m_colors;
    std::vector<BinaryFileRecord> m_binaryFiles;
    std::vector<UserInterfaceRecord> m_userInterfaces;
    std::vector<WorldRecord> m_worlds;
    std::array<std::unordered_map<std::string, int>, kGroupCount> m_ids;
};

} // namespace quillop
