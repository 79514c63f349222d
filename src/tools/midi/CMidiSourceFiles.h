#pragma once

#include "media/audio/CSoundSet.h"
#include "tools/midi/CMidiConversion.h"

#include <string>
#include <vector>

class CTaskRunner;

// The two inputs of the MIDI conversion read from their files: the analysis
// (one period per entry) and the recording it was made from (for loudness),
// with the text the tool's info item shows about them.
class CMidiSourceFiles {
public:
    static constexpr const char* kNoAwaText = "No AWA Loaded.";
    static constexpr const char* kAwaFailedText = "Error, can't load AWA...";
    static constexpr const char* kWavFailedText = "Error occured when trying to load the WAV file !";

    // Reads both files. An input that cannot be read keeps what was loaded
    // before. 1 when both were read.
    int load(const std::string& awaPath, const std::string& wavPath);
    // "<wav name>, <header line>" (or the WAV error), a line feed, then
    // "AWA Loaded, file size: %d data." (or the AWA error).
    const std::string& infoText() const { return m_info; }

    const std::vector<double>& entries() const { return m_entries; }
    const CSoundSet& recording() const { return m_recording; }
    bool hasInputs() const;

    // The conversion task over what is loaded.
    int convert(const std::string& midiPath, const CMidiConversionSettings& settings,
                const CMidiConversion::Hooks& hooks) const;

    // The conversion as the task of a runner: progress, log, status and
    // title go to it, and a failed run raises its abort flag so that the
    // window shows the aborted state.
    int convert(const std::string& midiPath, const CMidiConversionSettings& settings, CTaskRunner& runner) const;
    static CMidiConversion::Hooks hooksFor(CTaskRunner& runner);

private:
    std::vector<double> m_entries;
    CSoundSet m_recording;
    std::string m_info = kNoAwaText;
};
