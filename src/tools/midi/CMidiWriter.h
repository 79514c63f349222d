#pragma once

#include <cstdint>
#include <memory>
#include <string>

class QSaveFile;

// Writes a standard MIDI file of format 1 with two tracks: a tempo track
// (tempo, 4/4 time signature) and one melodic track on channel 1. Events are
// written as they come, each with its full status byte; the melodic track's
// length is filled in on close.
//
// Every operation returns false, writing nothing, while no file is open; an
// event whose values do not fit its bytes is refused the same way.
class CMidiWriter {
public:
    // The slowest tempo the 24-bit tempo field can hold, in microseconds per
    // quarter note, and the tempo in beats per minute that it stands for.
    static constexpr std::uint32_t kSlowestTempo = 0xFFFFFF;
    static constexpr double kSlowestBpm = 60000000.0 / kSlowestTempo;
    // The largest delta one variable-length quantity holds (four bytes).
    static constexpr std::int64_t kLongestDelta = 0x0FFFFFFF;

    CMidiWriter();
    ~CMidiWriter(); // a file still open is discarded, never left half written

    CMidiWriter(const CMidiWriter&) = delete;
    CMidiWriter& operator=(const CMidiWriter&) = delete;

    // Creates the file (it replaces the target only when closed).
    bool open(const std::string& path);
    bool isOpen() const { return m_file != nullptr; }

    // Microseconds per quarter note: floor(60000000 / bpm). Tempos slower
    // than the field can hold (below about 3.58 BPM, and any non-positive
    // tempo) are written as the slowest one it holds.
    static std::uint32_t tempoMicroseconds(double bpm);

    // The file header and the tempo track, then the melodic track's header.
    // Ticks per quarter note must lie in 1..32767 (the top bit would turn
    // the division into a frame rate).
    bool header(int ticksPerQuarter, double bpm);

    bool noteOn(std::int64_t delta, int note, int velocity);
    bool noteOff(std::int64_t delta);
    // bend in -1..+1 of the bend range; values beyond (or not a number) are
    // refused and the pending delay stays as it was.
    bool pitchBend(std::int64_t delta, double bend);
    bool controller(std::int64_t delta, int number, int value);
    bool addDelay(std::int64_t ticks);

    // Ends the track (a pending delay is dropped), fills in its length and
    // puts the file in place. False when anything failed to write.
    bool close();

    // The standard variable-length form of a delta (at most kLongestDelta).
    static std::string variableLength(std::uint32_t value);

    int currentNote() const { return m_note; }
    bool noteSounding() const { return m_sounding; }
    std::int64_t pendingDelta() const { return m_pending; }

private:
    void put(const std::string& bytes);
    void putByte(int byte);
    void putDelta(std::int64_t delta);

    std::unique_ptr<QSaveFile> m_file;
    int m_note = 59;
    int m_velocity = 127;
    bool m_sounding = false;
    std::int64_t m_pending = 0;
    std::uint32_t m_trackBytes = 4;
    std::int64_t m_lengthPosition = -1;
};
