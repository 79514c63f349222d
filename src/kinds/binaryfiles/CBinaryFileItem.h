#pragma once

#include "core/CResourceItem.h"

#include <cstdint>
#include <string>
#include <vector>

// A file embedded byte for byte in the resource file under an ID, for data
// the editor does not interpret. Its bytes are stored unscrambled, so the
// embedded file stands in the resource file unchanged.
class CBinaryFileItem : public CResourceItem {
public:
    std::unique_ptr<CResourceItem> createDefault() const override;
    int serialize(CArchive& ar, CSectionCoder& coder) override;

    const std::vector<std::uint8_t>& data() const { return m_data; }
    void setData(std::vector<std::uint8_t> data) { m_data = std::move(data); }
    const std::string& sourceFileName() const { return m_sourceFileName; }
    // Renames only: the data stays as it is.
    void setSourceFileName(const std::string& name) { m_sourceFileName = name; }
    // How the data was stored in the file it was read from: 1 unscrambled,
    // 0 through the section's coder (older files). Always written as 1.
    std::int32_t plainStorage() const { return m_plainStorage; }

    // Reads the whole file into the data and takes its path as the source
    // file name; 1 on success, 0 (record unchanged) when it cannot be read.
    int loadSource(const std::string& path);
    // Writes the data to the file, replacing it; 1 on success, 0 otherwise.
    // The record is never changed.
    int saveSource(const std::string& path) const;

    // "%d Bytes" with the data length.
    std::string specsText() const;
    // The info pane's text: source file name and the size in bytes, KB and MB.
    std::string infoText() const;

private:
    std::vector<std::uint8_t> m_data;
    std::int32_t m_plainStorage = 0;
    std::string m_sourceFileName;
};
