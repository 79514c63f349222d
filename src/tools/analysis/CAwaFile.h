#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The analysis file: no header, one little-endian 64-bit double per entry
// (the period found for the window starting at that sample). The rate of the
// entries is not stored; a reader derives it from the recording's length.
class CAwaFile {
public:
    // The most entries a file may hold: anything longer is not an analysis
    // this system wrote (hours of sound at the highest rate) and is refused
    // before anything is allocated.
    static constexpr std::uint64_t kMaxEntries = std::uint64_t(1) << 28;
    // The file choosers' filter for analysis files.
    static constexpr const char* kFilter = "Marvoline Audio WAV Analysis (*.awa)\n*.awa\nAll Files (*.*)\n*.*\n\n";

    // Replaces the file only once it is complete. 1 success, 0 failure.
    static int write(const std::string& path, const std::vector<double>& entries);
    // count = file length / 8 (trailing bytes that make no whole entry are
    // ignored). 0, leaving `entries` unchanged, when the file cannot be read
    // or is too long.
    static int read(const std::string& path, std::vector<double>& entries);
};
