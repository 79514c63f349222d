#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CResourceHolder;
class CSoundSet;

// Cuts a long recording into its sounds at the silences between them. The
// recording is measured in windows of 10 ms: a window is loud when the
// largest sample of any channel reaches the threshold. Silences shorter
// than the minimum silence belong to the sound around them; sounds shorter
// than the minimum sound are dropped as clicks.
class CSilenceSplitter {
public:
    static constexpr int kWindowsPerSecond = 100;

    struct Settings {
        double thresholdDb = -40.0; // relative to full scale
        int minSilenceMs = 300;
        int minSoundMs = 50;
    };
    // Frames [first, first + count) of the recording.
    struct Segment {
        std::uint32_t first = 0;
        std::uint32_t count = 0;
        bool operator==(const Segment&) const = default;
    };

    static std::vector<Segment> split(const CSoundSet& sound, const Settings& settings);

    // "<base>_001.wav", "<base>_002.wav", ... in the folder, 16-bit. A name
    // that exists already is never overwritten: the run stops there and
    // answers that name in *failedName. Answers the files written.
    static int writeWavFiles(const CSoundSet& sound, const std::vector<Segment>& segments, const std::string& folder,
                             const std::string& base, std::string* failedName = nullptr);
    // New sounds "<base>_001", ... at the end of the holder's Sounds group,
    // 16-bit at the recording's rate. Answers the items added.
    static int addToSounds(CResourceHolder& holder, const CSoundSet& sound, const std::vector<Segment>& segments,
                           const std::string& base);
    static std::string numberedName(const std::string& base, int number);
};
