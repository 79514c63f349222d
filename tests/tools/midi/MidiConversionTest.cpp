#include "tools/midi/CMidiConversion.h"
#include "tools/midi/CMidiWriter.h"
#include "tools/midi/CSampleStatistics.h"

#include "MidiTestSupport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QFileInfo>

#include <cmath>
#include <limits>

namespace {
constexpr double kRate = 44100.0;
constexpr double kPi = 3.14159265358979323846;

// A recording of tones (one per segment, each `seconds` long) and its
// analysis at a quarter of the sample rate: one period per entry.
struct Recording {
    std::vector<double> samples;
    std::vector<double> entries;
};

Recording tones(const std::vector<double>& frequencies, double seconds, double amplitude = 0.5)
{
    Recording r;
    const double entryRate = kRate / 4;
    for (double f : frequencies) {
        const auto n = static_cast<std::size_t>(seconds * kRate);
        for (std::size_t i = 0; i < n; ++i)
            r.samples.push_back(amplitude * std::sin(2 * kPi * f * static_cast<double>(r.samples.size()) / kRate));
        for (std::size_t i = 0; i < n / 4; ++i)
            r.entries.push_back(entryRate / f);
    }
    return r;
}

struct Conversion {
    int result = -1;
    std::string log;
    std::string status;
    std::string title;
    MidiFileContents midi;
};

Conversion convert(const Recording& rec, const CMidiConversionSettings& settings, const std::string& path,
            std::function<bool(int, int)> progress = {})
{
    Conversion run;
    CMidiConversion::Hooks hooks;
    hooks.log = [&](const std::string& t) { run.log += t; };
    hooks.status = [&](const std::string& t) { run.status = t; };
    hooks.title = [&](const std::string& t) { run.title = t; };
    hooks.progress = std::move(progress);
    CMidiConversion conversion(settings);
    run.result = conversion.run(rec.entries, rec.samples, kRate, path, hooks);
    if (QFileInfo::exists(QString::fromStdString(path)))
        run.midi = parseMidi(readAll(path));
    return run;
}
} // namespace

TEST(MidiConversion, DerivedQuantities)
{
    const CMidiDerived d = CMidiDerived::compute(CMidiConversionSettings{}, 11025, 44100, kRate);
    ASSERT_TRUE(d.valid);
    EXPECT_DOUBLE_EQ(d.samplesPerEntry, 4.0);
    EXPECT_DOUBLE_EQ(d.entriesPerSecond, 11025.0);
    EXPECT_DOUBLE_EQ(d.ticksPerSecond, 192.0);
    EXPECT_DOUBLE_EQ(d.entriesPerController, 2.0 / 192.0 * 11025.0);
    EXPECT_DOUBLE_EQ(d.entriesPerNote, 12.0 / 192.0 * 11025.0);
    // Middle C's period gives a ratio of 1, note 60; an octave up is 72.
    EXPECT_NEAR(d.ratioToMiddleC(11025.0 / 261.6255653), 1.0, 1e-9);
    EXPECT_EQ(CMidiDerived::noteNumber(d.ratioToMiddleC(11025.0 / 440.0)), 69);
    EXPECT_EQ(CMidiDerived::noteNumber(2.0), 72);
    EXPECT_EQ(CMidiDerived::noteNumber(CMidiDerived::ratioOfNote(127)), 127);
    EXPECT_EQ(CMidiDerived::noteNumber(CMidiDerived::ratioOfNote(128)), -1);
    EXPECT_EQ(CMidiDerived::noteNumber(CMidiDerived::ratioOfNote(0)), -1);
    EXPECT_EQ(CMidiDerived::noteNumber(std::numeric_limits<double>::infinity()), -1);
    EXPECT_EQ(CMidiDerived::noteNumber(std::nan("")), -1);
    EXPECT_EQ(CMidiDerived::noteNumber(-1.0), -1);
    EXPECT_DOUBLE_EQ(CMidiDerived::semitones(CMidiDerived::ratioOfNote(67)), 7.0);
    EXPECT_FALSE(CMidiDerived::compute(CMidiConversionSettings{}, 0, 44100, kRate).valid);
    EXPECT_FALSE(CMidiDerived::compute(CMidiConversionSettings{}, 10, 0, kRate).valid);
    EXPECT_FALSE(CMidiDerived::compute(CMidiConversionSettings{}, 10, 10, 0.0).valid);
}

TEST(MidiConversion, SampleStatistics)
{
    const std::vector<double> v = {5, 1, 4, 2, 3, 6};
    EXPECT_DOUBLE_EQ(CSampleStatistics::percentile(v, 0, 4, 0.5), 4.0); // upper middle of 1 2 4 5
    EXPECT_DOUBLE_EQ(CSampleStatistics::percentile(v, 0, 3, 0.5), 4.5); // between 4 and 5
    EXPECT_DOUBLE_EQ(CSampleStatistics::percentile(v, 5, 1, 0.5), 6.0); // a single value is its own
    EXPECT_DOUBLE_EQ(CSampleStatistics::percentile(v, 4, 100, 0.5), 6.0); // count clamped to 2
    EXPECT_DOUBLE_EQ(CSampleStatistics::percentile(v, 6, 4, 0.5), 0.0);
    EXPECT_DOUBLE_EQ(CSampleStatistics::percentile({1, std::nan(""), 3, 2}, 0, 4, 0.5), 3.0);
    EXPECT_DOUBLE_EQ(CSampleStatistics::rms({3, 4}, 0, 2), std::sqrt(12.5));
    EXPECT_DOUBLE_EQ(CSampleStatistics::rms({3, 4}, 1, 4), 2.0); // past the end is silence
    EXPECT_DOUBLE_EQ(CSampleStatistics::rms({3, 4}, 0, 0), 0.0);
    EXPECT_DOUBLE_EQ(CSampleStatistics::rms({3, 4}, 0, -5), 0.0);
    EXPECT_DOUBLE_EQ(CSampleStatistics::rms({3, 4}, 1e300, 1e300), 0.0);
}

TEST(MidiConversion, SteadyToneBecomesOneNote)
{
    TempFolder dir;
    const std::string path = dir.path("a4.mid");
    int progressCalls = 0;
    int lastMaximum = 0;
    const Conversion run = convert(tones({440.0}, 1.0), CMidiConversionSettings{}, path, [&](int, int maximum) {
        ++progressCalls;
        lastMaximum = maximum;
        return true;
    });
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(run.log, "Calculating Amplitude\r\nConverting Audio And Writing To MIDI File\r\n"
                       "Conversion successfully done.\r\n");
    EXPECT_EQ(run.status, "Done");
    EXPECT_EQ(run.title, "Convert Fundamental To Midi");
    EXPECT_GT(progressCalls, 10);
    EXPECT_EQ(lastMaximum, 11025);
    ASSERT_TRUE(run.midi.ok) << run.midi.error;
    EXPECT_EQ(run.midi.division, 96);
    const auto& track = run.midi.noteTrack;
    EXPECT_EQ(soundedNotes(track), std::vector<int>{69});
    EXPECT_GT(countStatus(track, 0xB0), 50);
    for (const auto& e : track) {
        if (e.status == 0xB0) {
            EXPECT_EQ(e.data1, 11);
            EXPECT_GE(e.data2, 120); // a steady tone is at full loudness
        }
        if (e.status == 0xE0 && e.tick < 150) { // in tune: the bend stays at its centre
            EXPECT_EQ(e.data2, 0x40);
        }
    }
    // About one second at 192 ticks a second, ending with the note's release.
    const MidiEvent& release = track[track.size() - 2];
    EXPECT_EQ(release.status, 0x90);
    EXPECT_EQ(release.data2, 0);
    EXPECT_NEAR(static_cast<double>(release.tick), 192.0, 4.0);
}

TEST(MidiConversion, NoteChangesFollowThePitch)
{
    TempFolder dir;
    const std::string path = dir.path("melody.mid");
    // A4, C5, E4: the last is a fall of more than the bend range.
    const Conversion run = convert(tones({440.0, 523.2511, 329.6276}, 0.5), CMidiConversionSettings{}, path);
    EXPECT_EQ(run.result, 1);
    ASSERT_TRUE(run.midi.ok) << run.midi.error;
    EXPECT_EQ(soundedNotes(run.midi.noteTrack), (std::vector<int>{69, 72, 64}));
    // Every note ends before the next starts (a note-on of velocity 0).
    EXPECT_EQ(countStatus(run.midi.noteTrack, 0x90), 6);

    bool available = false;
    const std::string dump = midoDump(path, available);
    if (available) {
        EXPECT_EQ(dump.rfind("1 96 2\n", 0), 0u) << dump;
        EXPECT_NE(dump.find("note_on channel=0 note=72 velocity=127"), std::string::npos);
        EXPECT_EQ(dump.find("ERROR"), std::string::npos) << dump;
    }
}

TEST(MidiConversion, ZeroBendRangeWritesNoBends)
{
    TempFolder dir;
    CMidiConversionSettings settings;
    settings.bendRange = 0.0;
    const Conversion run = convert(tones({440.0, 466.1638}, 0.5), settings, dir.path("nobend.mid"));
    EXPECT_EQ(run.result, 1);
    ASSERT_TRUE(run.midi.ok) << run.midi.error;
    EXPECT_EQ(countStatus(run.midi.noteTrack, 0xE0), 0);
    EXPECT_EQ(soundedNotes(run.midi.noteTrack), (std::vector<int>{69, 70}));
}

TEST(MidiConversion, SlowTempoKeepsTheRecordingsTiming)
{
    TempFolder dir;
    CMidiConversionSettings settings;
    settings.tempoBpm = 1.0;
    settings.blackTicks = 960;
    const Conversion run = convert(tones({440.0}, 1.0), settings, dir.path("slow.mid"));
    EXPECT_EQ(run.result, 1);
    ASSERT_TRUE(run.midi.ok) << run.midi.error;
    // The slowest tempo the file can hold, and ticks at that tempo: one
    // second is 960 x 3.576 / 60 = 57 ticks, not the 16 of a literal 1 BPM.
    EXPECT_EQ(readAll(dir.path("slow.mid")).mid(22, 7), QByteArray::fromHex("00ff5103ffffff"));
    EXPECT_NEAR(static_cast<double>(run.midi.noteTrack.back().tick), 57.0, 4.0);
}

TEST(MidiConversion, UnwritableDestinationIsReported)
{
    TempFolder dir;
    const std::string path = dir.path("no/such/folder/x.mid");
    const Conversion run = convert(tones({440.0}, 0.2), CMidiConversionSettings{}, path);
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(run.log, "Error: Cannot write to .MID file '" + path +
                           "'.\r\nConversion not entirely done, error occured or aborted upon user request.\r\n");
    EXPECT_EQ(run.status, "Done");
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(path)));
}

TEST(MidiConversion, AbortKeepsWhatWasConverted)
{
    TempFolder dir;
    int calls = 0;
    const Conversion run = convert(tones({440.0}, 1.0), CMidiConversionSettings{}, dir.path("stop.mid"),
                            [&](int, int) { return ++calls < 40; });
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(run.log, "Calculating Amplitude\r\nConverting Audio And Writing To MIDI File\r\n"
                       "Conversion not entirely done, error occured or aborted upon user request.\r\n");
    ASSERT_TRUE(run.midi.ok) << run.midi.error;
    EXPECT_EQ(soundedNotes(run.midi.noteTrack), std::vector<int>{69});
    EXPECT_LT(run.midi.noteTrack.back().tick, 100);
}

TEST(MidiConversion, EmptyOrSilentInputs)
{
    TempFolder dir;
    Conversion run = convert(Recording{}, CMidiConversionSettings{}, dir.path("empty.mid"));
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(run.log.rfind("Error: Nothing to convert", 0), 0u);

    // Silence with a pitch: notes, and an expression of 0 rather than 0/0.
    Recording silent = tones({440.0}, 0.3, 0.0);
    run = convert(silent, CMidiConversionSettings{}, dir.path("silent.mid"));
    EXPECT_EQ(run.result, 1);
    ASSERT_TRUE(run.midi.ok) << run.midi.error;
    EXPECT_EQ(soundedNotes(run.midi.noteTrack), std::vector<int>{69});
    for (const auto& e : run.midi.noteTrack) {
        if (e.status == 0xB0) {
            EXPECT_EQ(e.data2, 0);
        }
    }
}

TEST(MidiConversion, DamagedAnalysisValuesAreUnpitched)
{
    TempFolder dir;
    Recording rec = tones({440.0}, 0.5);
    const double bad[] = {0.0, -3.0, std::nan(""), std::numeric_limits<double>::infinity(), 1e300, 1e-300};
    for (std::size_t i = 0; i < rec.entries.size(); ++i)
        rec.entries[i] = bad[i % 6];
    const Conversion run = convert(rec, CMidiConversionSettings{}, dir.path("bad.mid"));
    EXPECT_EQ(run.result, 1);
    ASSERT_TRUE(run.midi.ok) << run.midi.error;

    // Wholly out of range: no note at all, but a valid file.
    for (double& e : rec.entries)
        e = 0.0;
    const Conversion none = convert(rec, CMidiConversionSettings{}, dir.path("none.mid"));
    ASSERT_TRUE(none.midi.ok) << none.midi.error;
    EXPECT_TRUE(soundedNotes(none.midi.noteTrack).empty());
    EXPECT_EQ(countStatus(none.midi.noteTrack, 0xB0), 0);
}

TEST(MidiConversion, ResolutionsBelowOneTickAreRaised)
{
    TempFolder dir;
    CMidiConversionSettings settings;
    settings.noteTicks = 0;
    settings.controllerTicks = -4;
    settings.blackTicks = 0;
    CMidiConversion conversion(settings);
    const CMidiConversionSettings s = conversion.effectiveSettings();
    EXPECT_EQ(s.noteTicks, 1);
    EXPECT_EQ(s.controllerTicks, 1);
    EXPECT_EQ(s.blackTicks, 1);
    const Conversion run = convert(tones({440.0}, 0.2), settings, dir.path("fine.mid"));
    EXPECT_EQ(run.result, 1);
    ASSERT_TRUE(run.midi.ok) << run.midi.error;
    EXPECT_EQ(run.midi.division, 1);
}
