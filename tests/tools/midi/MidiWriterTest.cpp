#include "tools/midi/CMidiWriter.h"

#include "MidiTestSupport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {
QByteArray hex(const char* h) { return QByteArray::fromHex(h); }

const char* kHeader120 = "4d546864 00000006 0001 0002 0060"
                         "4d54726b 00000013 00ff5103 07a120 00ff5804 04021808 00ff2f00"
                         "4d54726b";

// The bytes of the melodic track's events (between its length and its end).
QByteArray trackEvents(const std::string& path)
{
    const QByteArray all = readAll(path);
    const int start = hex(kHeader120).size() + 4;
    return all.mid(start, all.size() - start - 4);
}

QByteArray written(const std::function<void(CMidiWriter&)>& body, const std::string& path)
{
    CMidiWriter midi;
    EXPECT_TRUE(midi.open(path));
    EXPECT_TRUE(midi.header(96, 120.0));
    body(midi);
    EXPECT_TRUE(midi.close());
    return trackEvents(path);
}
} // namespace

TEST(MidiWriter, HeaderAndTempoTrackAreExact)
{
    TempFolder dir;
    const std::string path = dir.path("empty.mid");
    CMidiWriter midi;
    ASSERT_TRUE(midi.open(path));
    ASSERT_TRUE(midi.header(96, 120.0));
    ASSERT_TRUE(midi.close());
    EXPECT_EQ(readAll(path), hex(kHeader120) + hex("00000004 00ff2f00"));
}

TEST(MidiWriter, TempoField)
{
    EXPECT_EQ(CMidiWriter::tempoMicroseconds(120.0), 500000u);
    EXPECT_EQ(CMidiWriter::tempoMicroseconds(7.0), 8571428u); // floor
    EXPECT_EQ(CMidiWriter::tempoMicroseconds(3.58), 16759776u);
    // Slower than the field holds: the slowest tempo it can state.
    EXPECT_EQ(CMidiWriter::tempoMicroseconds(3.5), 0xFFFFFFu);
    EXPECT_EQ(CMidiWriter::tempoMicroseconds(1.0), 0xFFFFFFu);
    EXPECT_EQ(CMidiWriter::tempoMicroseconds(0.0), 0xFFFFFFu);
    EXPECT_EQ(CMidiWriter::tempoMicroseconds(-60.0), 0xFFFFFFu);
    EXPECT_EQ(CMidiWriter::tempoMicroseconds(std::nan("")), 0xFFFFFFu);
    EXPECT_EQ(CMidiWriter::tempoMicroseconds(1e9), 1u);

    TempFolder dir;
    CMidiWriter midi;
    ASSERT_TRUE(midi.open(dir.path("slow.mid")));
    EXPECT_FALSE(midi.header(0, 120.0));
    EXPECT_FALSE(midi.header(0x8000, 120.0));
    ASSERT_TRUE(midi.header(5000, 1.0));
    ASSERT_TRUE(midi.close());
    const QByteArray bytes = readAll(dir.path("slow.mid"));
    EXPECT_EQ(bytes.mid(12, 2), hex("1388"));
    EXPECT_EQ(bytes.mid(22, 7), hex("00ff5103ffffff"));
}

TEST(MidiWriter, VariableLengthDeltas)
{
    auto v = [](std::uint32_t x) { return QByteArray::fromStdString(CMidiWriter::variableLength(x)); };
    EXPECT_EQ(v(0), hex("00"));
    EXPECT_EQ(v(127), hex("7f"));
    EXPECT_EQ(v(128), hex("8100"));
    EXPECT_EQ(v(200), hex("8148"));
    EXPECT_EQ(v(16383), hex("ff7f"));
    EXPECT_EQ(v(20000), hex("819c20"));
    EXPECT_EQ(v(0x0FFFFFFF), hex("ffffff7f"));
}

TEST(MidiWriter, PitchBendBytesAndRefusals)
{
    TempFolder dir;
    const QByteArray events = written(
        [](CMidiWriter& m) {
            EXPECT_TRUE(m.pitchBend(0, 1.0));
            EXPECT_TRUE(m.pitchBend(0, 0.0));
            EXPECT_TRUE(m.pitchBend(0, -1.0));
            EXPECT_TRUE(m.pitchBend(0, 0.5));
            m.addDelay(200);
            EXPECT_FALSE(m.pitchBend(7, 1.0002)); // trunc(8192.6) is beyond
            EXPECT_FALSE(m.pitchBend(7, -1.0002));
            EXPECT_FALSE(m.pitchBend(7, std::nan("")));
            EXPECT_FALSE(m.pitchBend(7, INFINITY));
            EXPECT_EQ(m.pendingDelta(), 200); // kept, the refused deltas dropped
            EXPECT_TRUE(m.pitchBend(0, 1.0001)); // trunc(8191.8) = 8191 still fits
        },
        dir.path("bend.mid"));
    EXPECT_EQ(events, hex("00e07f7f 00e00040 00e00100 00e07f5f 8148e07f7f"));
}

TEST(MidiWriter, NotesControllersAndCarriedDelays)
{
    TempFolder dir;
    const std::string path = dir.path("notes.mid");
    const QByteArray events = written(
        [](CMidiWriter& m) {
            EXPECT_TRUE(m.noteOn(0, 60, 0)); // velocity 0 becomes 1
            EXPECT_TRUE(m.noteOn(200, 60, 90)); // same note: nothing, delay carried
            EXPECT_EQ(m.pendingDelta(), 200);
            EXPECT_FALSE(m.controller(0, 11, 128));
            EXPECT_FALSE(m.controller(0, 128, 0));
            EXPECT_FALSE(m.controller(0, 11, -1));
            EXPECT_TRUE(m.controller(0, 11, 5));
            EXPECT_TRUE(m.noteOn(5, 62, 127)); // another note: the old one ends first
            EXPECT_TRUE(m.noteOff(20000));
            EXPECT_FALSE(m.noteSounding());
            EXPECT_TRUE(m.noteOff(7)); // nothing sounds: only a delay
            EXPECT_TRUE(m.addDelay(3));
            EXPECT_EQ(m.pendingDelta(), 10);
        },
        path);
    EXPECT_EQ(events, hex("00903c01 8148b00b05 05903c00 00903e7f 819c20903e00"));
    // The pending delay is dropped at the end, and the length is right.
    const MidiFileContents m = parseMidi(readAll(path));
    ASSERT_TRUE(m.ok) << m.error;
    EXPECT_EQ(m.format, 1);
    EXPECT_EQ(m.tracks, 2);
    EXPECT_EQ(m.division, 96);
    EXPECT_EQ(m.noteTrack.back().tick, 200 + 5 + 20000);
}

TEST(MidiWriter, NothingWithoutAnOpenFile)
{
    TempFolder dir;
    CMidiWriter midi;
    EXPECT_FALSE(midi.open(dir.path("missing/folder/x.mid")));
    EXPECT_FALSE(midi.header(96, 120));
    EXPECT_FALSE(midi.noteOn(0, 60, 1));
    EXPECT_FALSE(midi.close());
}

TEST(MidiWriter, AbandonedFileLeavesThePreviousOneInPlace)
{
    TempFolder dir;
    const std::string path = dir.path("keep.mid");
    writeAll(path, "previous");
    {
        CMidiWriter midi;
        ASSERT_TRUE(midi.open(path));
        midi.header(96, 120);
    }
    EXPECT_EQ(readAll(path), QByteArray("previous"));
}

TEST(MidiWriter, SilenceLongerThanOneDeltaStaysReadable)
{
    TempFolder dir;
    const std::string path = dir.path("long.mid");
    const QByteArray events = written(
        [](CMidiWriter& m) {
            m.addDelay(CMidiWriter::kLongestDelta + 5);
            m.controller(0, 11, 1);
        },
        path);
    EXPECT_EQ(events, hex("ffffff7f ff0100 05b00b01"));
    const MidiFileContents m = parseMidi(readAll(path));
    ASSERT_TRUE(m.ok) << m.error;
    EXPECT_EQ(m.noteTrack[1].tick, CMidiWriter::kLongestDelta + 5);
}

TEST(MidiWriter, ReadBackByAnIndependentReader)
{
    TempFolder dir;
    const std::string path = dir.path("mido.mid");
    written(
        [](CMidiWriter& m) {
            m.controller(0, 11, 100);
            m.pitchBend(0, -1.0);
            m.noteOn(0, 69, 127);
            m.addDelay(200);
            m.pitchBend(0, 1.0);
            m.noteOn(0, 72, 127);
            m.noteOff(20000);
        },
        path);
    bool available = false;
    const std::string dump = midoDump(path, available);
    if (!available)
        GTEST_SKIP() << "python3-mido is not installed";
    EXPECT_EQ(dump, "1 96 2\n"
                    "MetaMessage('set_tempo', tempo=500000, time=0)\n"
                    "MetaMessage('time_signature', numerator=4, denominator=4, clocks_per_click=24, "
                    "notated_32nd_notes_per_beat=8, time=0)\n"
                    "MetaMessage('end_of_track', time=0)\n"
                    "control_change channel=0 control=11 value=100 time=0\n"
                    "pitchwheel channel=0 pitch=-8191 time=0\n"
                    "note_on channel=0 note=69 velocity=127 time=0\n"
                    "pitchwheel channel=0 pitch=8191 time=200\n"
                    "note_on channel=0 note=69 velocity=0 time=0\n"
                    "note_on channel=0 note=72 velocity=127 time=0\n"
                    "note_on channel=0 note=72 velocity=0 time=20000\n"
                    "MetaMessage('end_of_track', time=0)\n");
}
