#pragma once

#include <string>
#include <utility>
#include <vector>

// The values of a tool's sheet as text, by item name: what "Save
// Parameters" writes, what "Load Parameters" reads back, and what a tool
// window remembers between runs. The file is plain text a user can read and
// edit: a "[tool title]" line, then one "name=value" line per item, with
// backslashes, line feeds and carriage returns escaped in the values.
class CParameterValues {
public:
    using Entry = std::pair<std::string, std::string>;

    // Replaces the value of a name already held, else appends it.
    void set(const std::string& name, const std::string& value);
    // The value held for a name (exact), or nullptr.
    const std::string* find(const std::string& name) const;
    const std::vector<Entry>& entries() const { return m_entries; }
    bool empty() const { return m_entries.empty(); }

    std::string toText(const std::string& tool) const;
    // Reads a text written by toText(). False (and nothing kept) when the
    // text does not start with a "[...]" line; lines without "=" are skipped.
    bool fromText(const std::string& text, std::string& tool);

    // Written through a temporary file, so a failed save keeps the old file.
    int save(const std::string& path, const std::string& tool) const;
    int load(const std::string& path, std::string& tool);

    static std::string escape(const std::string& value);
    static std::string unescape(const std::string& text);

private:
    std::vector<Entry> m_entries;
};
