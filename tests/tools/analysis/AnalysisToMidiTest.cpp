#include "AnalysisTestSignals.h"
#include "support/TestSupport.h"

#include "media/audio/CSoundSet.h"
#include "tools/analysis/CAnalyzeFundamentalEngine.h"
#include "tools/midi/CMidiSourceFiles.h"

#include <QProcess>

#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

namespace {
// The notes a real MIDI reader finds sounding, in order.
std::string midoNotes(const std::string& path, bool& available)
{
    QProcess python;
    python.start("/usr/bin/python3",
                 {"-c",
                  "import sys, mido\n"
                  "m = mido.MidiFile(sys.argv[1])\n"
                  "print(' '.join(str(e.note) for t in m.tracks for e in t if e.type == 'note_on' and e.velocity))",
                  QString::fromStdString(path)});
    available = python.waitForFinished(30000) && python.exitCode() == 0;
    return QString::fromUtf8(python.readAllStandardOutput()).trimmed().toStdString();
}

std::string collapsed(const std::string& notes)
{
    std::string out;
    std::string last;
    std::size_t from = 0;
    while (from < notes.size()) {
        std::size_t to = notes.find(' ', from);
        if (to == std::string::npos)
            to = notes.size();
        const std::string note = notes.substr(from, to - from);
        if (note != last)
            out += (out.empty() ? "" : " ") + note;
        last = note;
        from = to + 1;
    }
    return out;
}
} // namespace

TEST(AnalysisToMidi, ToneSequenceBecomesItsNotes)
{
    // A3, C4, E4, G4.
    const std::vector<ToneSegment> notes{{220.0, 0.5}, {261.63, 0.5}, {329.63, 0.5}, {392.0, 0.5}};
    const double rate = 22050.0;
    TempFolder folder;
    const std::string wav = folder.path("tones.wav");
    const std::string awa = folder.path("tones.awa");
    const std::string mid = folder.path("tones.mid");
    {
        CSoundSet sound;
        sound.addChannel().copyFrom(voiceLike(notes, rate));
        ASSERT_TRUE(sound.writeWav(wav, 0, sound.channel(0)->count(), 16, 22050, 0, 1, {}));
    }

    CAnalyzeFundamentalEngine engine;
    engine.settings().inputPath = wav;
    engine.settings().outputPath = awa;
    engine.settings().analysisRate = 22050;
    ASSERT_TRUE(engine.loadSource());
    EXPECT_EQ(engine.infoText(), "tones, 16 Bits, 1 Channels, 22050 Hz, 44 100 Samples, Time 0:02.000");
    ASSERT_TRUE(engine.preparePreview());
    ASSERT_TRUE(engine.view().soundAnalysis(engine.previewSamples(), {}));
    ASSERT_TRUE(engine.view().analysisResults({}));
    engine.finishPreview();
    drawBoundsAroundNotes(engine, notes);
    ASSERT_TRUE(engine.analyse({}));

    CMidiSourceFiles sources;
    ASSERT_TRUE(sources.load(awa, wav));
    EXPECT_EQ(sources.infoText(),
              "tones, 16 Bits, 1 Channels, 22050 Hz, 44 100 Samples, Time 0:02.000\nAWA Loaded, file size: 44100 data.");
    std::string log;
    CMidiConversion::Hooks hooks;
    hooks.log = [&log](const std::string& t) { log += t; };
    ASSERT_TRUE(sources.convert(mid, CMidiConversionSettings{}, hooks)) << log;

    bool available = false;
    const std::string sounded = midoNotes(mid, available);
    if (!available)
        GTEST_SKIP() << "python3 with mido is not installed";
    EXPECT_EQ(collapsed(sounded), "57 60 64 67") << sounded;
}

TEST(AnalysisToMidi, UnreadableInputsKeepWhatWasLoaded)
{
    TempFolder folder;
    const std::string awa = folder.path("a.awa");
    writeAll(awa, QByteArray(16, '\0'));
    CMidiSourceFiles sources;
    EXPECT_EQ(sources.infoText(), "No AWA Loaded.");
    EXPECT_FALSE(sources.load(awa, folder.path("missing.wav")));
    EXPECT_EQ(sources.entries().size(), 2u);
    EXPECT_EQ(sources.infoText(), "Error occured when trying to load the WAV file !\nAWA Loaded, file size: 2 data.");
    EXPECT_FALSE(sources.load(folder.path("missing.awa"), folder.path("missing.wav")));
    EXPECT_EQ(sources.entries().size(), 2u);
    EXPECT_EQ(sources.infoText(), "Error occured when trying to load the WAV file !\nError, can't load AWA...");
    EXPECT_FALSE(sources.hasInputs());
}

TEST(AnalysisToMidi, NoNoteLiesFarAboveTheSungRangeWithThePreviewsBounds)
{
    // The path of the tool window with its sheet's bounds: preview, margins
    // optimised, analysis, conversion. Octave slips of those bounds are
    // allowed; the end of the recording must not add a note octaves above.
    std::vector<ToneSegment> glide;
    for (int step = 0; step <= 10; ++step)
        glide.push_back({220.0 * std::pow(1.5, step / 10.0), 2.0 / 11});
    const struct {
        const char* name;
        std::vector<ToneSegment> notes;
        int highestSung;
    } cases[] = {{"glide", glide, 64}, {"steady", {{220.0, 2.0}}, 57}};
    for (const auto& c : cases) {
        TempFolder folder;
        const std::string wav = folder.path("voice.wav");
        const std::string awa = folder.path("voice.awa");
        const std::string mid = folder.path("voice.mid");
        CSoundSet sound;
        sound.addChannel().copyFrom(voiceLike(c.notes, 48000.0));
        ASSERT_TRUE(sound.writeWav(wav, 0, sound.channel(0)->count(), 16, 48000, 0, 1, {}));
        CAnalyzeFundamentalEngine engine;
        engine.settings().inputPath = wav;
        engine.settings().outputPath = awa;
        ASSERT_TRUE(engine.loadSource());
        ASSERT_TRUE(engine.preparePreview());
        ASSERT_TRUE(engine.view().soundAnalysis(engine.previewSamples(), {}));
        ASSERT_TRUE(engine.view().analysisResults({}));
        engine.finishPreview();
        engine.optimiseMargins();
        ASSERT_TRUE(engine.analyse({}));
        CMidiSourceFiles sources;
        ASSERT_TRUE(sources.load(awa, wav));
        ASSERT_TRUE(sources.convert(mid, CMidiConversionSettings{}, {}));

        bool available = false;
        const std::string sounded = midoNotes(mid, available);
        if (!available)
            GTEST_SKIP() << "python3 with mido is not installed";
        int highest = 0;
        for (const QString& note : QString::fromStdString(sounded).split(' ', Qt::SkipEmptyParts))
            highest = std::max(highest, note.toInt());
        EXPECT_LE(highest, c.highestSung + 12) << c.name << ": " << sounded;
    }
}
