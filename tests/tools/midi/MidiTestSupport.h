#pragma once

#include <QByteArray>

#include <cstdint>
#include <string>
#include <vector>

// A strict reader of the files the writer makes: every event must carry its
// own status byte, and the track lengths must match what they hold.
struct MidiEvent {
    std::int64_t tick = 0;
    int status = 0;
    int data1 = 0;
    int data2 = 0;
    int metaType = -1;
};

struct MidiFileContents {
    bool ok = false;
    std::string error;
    int format = -1;
    int tracks = -1;
    int division = -1;
    std::vector<MidiEvent> tempoTrack;
    std::vector<MidiEvent> noteTrack;
};

MidiFileContents parseMidi(const QByteArray& bytes);

// The note numbers of the note-on events with a velocity above 0, in order.
std::vector<int> soundedNotes(const std::vector<MidiEvent>& events);
int countStatus(const std::vector<MidiEvent>& events, int status);

// Runs python3 with mido on the file and returns its printed event list, or
// an empty string when mido is not installed.
std::string midoDump(const std::string& path, bool& available);
