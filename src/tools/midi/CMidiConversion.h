#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The values of the "Convert To Midi" sheet.
struct CMidiConversionSettings {
    double tempoBpm = 120.0;
    std::int64_t blackTicks = 96;     // ticks per quarter note
    std::int64_t noteTicks = 12;      // note changes happen on this grid
    std::int64_t controllerTicks = 2; // bends and loudness follow on this one
    double bendRange = 2.0;           // semitones; 0 turns bends off
    double tolerance = 0.333;         // loudness drop that restarts a note
};

// Rates and steps derived from the settings, the analysis and the recording.
struct CMidiDerived {
    double samplesPerEntry = 0;     // u
    double entriesPerSecond = 0;    // r
    double ticksPerSecond = 0;
    double entriesPerController = 0; // c
    double entriesPerNote = 0;       // n
    bool valid = false;

    static CMidiDerived compute(const CMidiConversionSettings& settings, std::size_t entryCount,
                                std::size_t sampleCount, double sampleRate);

    // Frequency of a period (in entries) relative to middle C.
    double ratioToMiddleC(double period) const;
    // trunc(12 log2 x + 60.5); outside 1..127 (or undefined) gives -1.
    static int noteNumber(double ratio);
    static double ratioOfNote(int note);
    static double semitones(double ratio);
};

// Turns an analysis (one period per entry, in entries) and the recording it
// was made from (channel 0, samples on the -1..+1 scale) into a MIDI file:
// one note line on channel 1 with pitch bends and expression.
//
// The task reports through plain callbacks so that it runs under the
// progress window, the command line or a test alike. `progress` returns
// false when the user asked to stop. A task runner is wired as
//   progress = [&](int c, int m) { runner.setMaximum(m); runner.setCurrent(c); return !runner.isAborted(); }
// and a failed run (result 0) raises the runner's abort flag.
class CMidiConversion {
public:
    struct Hooks {
        std::function<bool(int current, int maximum)> progress;
        std::function<void(const std::string&)> log;
        std::function<void(const std::string&)> status;
        std::function<void(const std::string&)> title;
    };

    explicit CMidiConversion(CMidiConversionSettings settings) : m_settings(settings) {}

    // 1 when the whole file was written; 0 when it could not be written or
    // the run was stopped (the file then holds what was converted so far).
    int run(const std::vector<double>& entries, const std::vector<double>& samples, double sampleRate,
            const std::string& outputPath, const Hooks& hooks);

    // The settings as the conversion uses them: resolutions of at least one
    // tick, ticks per quarter within what the header holds, and a tempo no
    // slower than the file can state (so timing follows the recording).
    CMidiConversionSettings effectiveSettings() const;

    // The loudest window of the first pass (for tests and reports).
    double loudest() const { return m_loudest; }

private:
    CMidiConversionSettings m_settings;
    double m_loudest = 0.0;
};
