#include "AnalysisTestSignals.h"
#include "support/TestSupport.h"

#include "tools/analysis/CAnalyzeFundamentalEngine.h"
#include "tools/analysis/CAwaFile.h"
#include "tools/analysis/CFundamentalAnalysis.h"
#include "tools/analysis/CLagDifferences.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
CSampleBuffer noise(std::uint32_t n, unsigned seed)
{
    CSampleBuffer b;
    b.resize(n);
    unsigned x = seed;
    for (std::uint32_t i = 0; i < n; ++i) {
        x = x * 1103515245u + 12345u;
        b.set(i, static_cast<double>((x >> 9) & 0xFFFF) / 32768.0 - 1.0);
    }
    return b;
}

// The per-sample lag search written out plainly, one lag at a time, over the
// sample buffer's own mean absolute difference: what the fast search must
// reproduce exactly. Past the last sample whose window (three of its longest
// periods) fits in the signal, that sample's period holds.
std::vector<double> plainPeriods(const CFundamentalAnalysis& analysis, const CSampleBuffer& x,
                                 const CSampleBuffer& lower, const CSampleBuffer& upper)
{
    std::vector<double> out(x.count());
    std::size_t lastWhole = 0;
    const double width = static_cast<double>(std::max(lower.count(), upper.count())) / x.count();
    double position = 0.0;
    for (std::uint32_t m = 0; m < x.count(); ++m, position += width) {
        const auto b = analysis.boundsAt(lower, upper, position, width);
        double best = std::numeric_limits<double>::max();
        std::int64_t period = b.lo;
        for (std::int64_t i = b.lo; i <= b.hi; ++i) {
            const double d = x.meanAbsoluteDifference(m, static_cast<std::uint32_t>(m + i),
                                                      static_cast<std::uint32_t>(3 * b.hi - i));
            if (d < best) {
                best = d;
                period = i;
            }
        }
        out[m] = static_cast<double>(period);
        if (m + 3 * b.hi <= x.count())
            lastWhole = m;
    }
    std::fill(out.begin() + lastWhole + 1, out.end(), out[lastWhole]);
    return out;
}

struct Log {
    std::string text;
    bool failed = false;
    CAnalysisHooks hooks()
    {
        CAnalysisHooks h;
        h.log = [this](const std::string& t) { text += t; };
        h.fail = [this] { failed = true; };
        return h;
    }
};
} // namespace

TEST(LagDifferences, FastSumsEqualThePlainOnesBitForBit)
{
    const CSampleBuffer x = noise(3000, 11);
    const CLagDifferences lags(x.data(), x.count(), 400);
    // Block widths of every size, windows shorter and longer than the run
    // the lanes share, and starts whose windows run past the end.
    struct Case {
        std::uint32_t start;
        std::int64_t lo, hi, base;
    };
    const Case cases[] = {{0, 5, 5, 15},        {17, 2, 6, 40},     {100, 10, 26, 78},    {1000, 40, 113, 339},
                          {2500, 150, 230, 690}, {2990, 3, 40, 120}, {2999, 0, 0, 0},      {3000, 1, 3, 9},
                          {4000, 1, 3, 9},       {50, 350, 400, 1200}, {10, 2900, 2990, 8970}};
    for (const Case& c : cases) {
        std::vector<double> fast(static_cast<std::size_t>(c.hi - c.lo + 1));
        std::vector<double> plain(fast.size());
        lags.compute(c.start, c.lo, c.hi, c.base, fast.data());
        lags.computePlain(c.start, c.lo, c.hi, c.base, plain.data());
        for (std::int64_t i = c.lo; i <= c.hi; ++i) {
            const double reference = x.meanAbsoluteDifference(c.start, static_cast<std::uint32_t>(c.start + i),
                                                              static_cast<std::uint32_t>(c.base - i));
            EXPECT_EQ(fast[static_cast<std::size_t>(i - c.lo)], reference) << c.start << " lag " << i;
            EXPECT_EQ(plain[static_cast<std::size_t>(i - c.lo)], reference) << c.start << " lag " << i;
        }
    }
}

TEST(FundamentalAnalysis, FastSearchFindsThePlainSearchsPeriods)
{
    // Curves that wander, so that every sample has its own bounds.
    const CSampleBuffer x = noise(4000, 7);
    CSampleBuffer lower, upper;
    lower.resize(37);
    upper.resize(37);
    for (std::uint32_t c = 0; c < 37; ++c) {
        lower.set(c, 2.0 + (c * 7) % 11);
        upper.set(c, 6.0 + (c * 5) % 17);
    }
    CFundamentalAnalysis::Settings s;
    s.analysisRate = 22050;
    s.preRate = 6000;
    for (int threads : {1, 2, 3}) {
        s.threads = threads;
        const CFundamentalAnalysis analysis(s);
        std::vector<double> periods;
        ASSERT_TRUE(analysis.searchPeriods(x, lower, upper, periods, {}));
        EXPECT_EQ(periods, plainPeriods(analysis, x, lower, upper)) << threads << " threads";
    }
}

TEST(FundamentalAnalysis, EntriesFollowTheAnalysisRateAndNoBoundsGiveZero)
{
    TempFolder folder;
    const std::string out = folder.path("a.awa");
    const CSampleBuffer x = noise(1001, 2);
    CFundamentalAnalysis::Settings s;
    s.analysisRate = 11025;
    CFundamentalAnalysis analysis(s);
    Log log;
    ASSERT_TRUE(analysis.run(x, 8000.0, CSampleBuffer(), CSampleBuffer(), out, log.hooks()));
    // trunc(1001 x 11025 / 8000) = trunc(1379.49)
    ASSERT_EQ(analysis.periods().size(), 1379u);
    for (double p : analysis.periods())
        ASSERT_EQ(p, 0.0);
    EXPECT_EQ(log.text, "Resampling Source\r\nCreating Analyze Buffer\r\nAnalyzing\r\nSaving Analysis Results To " + out
                            + "\r\nAnalysis successfully done.\r\n");
    std::vector<double> back;
    ASSERT_TRUE(CAwaFile::read(out, back));
    EXPECT_EQ(back, analysis.periods());
}

TEST(FundamentalAnalysis, FailuresAndStopsAreReported)
{
    TempFolder folder;
    const CSampleBuffer x = noise(500, 4);
    CFundamentalAnalysis analysis({});
    Log log;
    EXPECT_FALSE(analysis.run(x, 44100.0, CSampleBuffer(), CSampleBuffer(), folder.path("no/such/dir/a.awa"),
                              log.hooks()));
    EXPECT_TRUE(log.failed);
    EXPECT_NE(log.text.find("*** ERROR: File output error\r\n"), std::string::npos);
    EXPECT_NE(log.text.find("Analysis not entirely done, error occured or aborted upon user request.\r\n"),
              std::string::npos);

    // A sample rate that would make billions of entries is refused up front.
    Log huge;
    EXPECT_FALSE(analysis.run(x, 0.001, CSampleBuffer(), CSampleBuffer(), folder.path("b.awa"), huge.hooks()));
    EXPECT_NE(huge.text.find("*** ERROR: Not enough memory\r\n"), std::string::npos);
    EXPECT_TRUE(huge.failed);
    // What a run holds grows with the sound, not with the rate it claims:
    // 500 samples "at 1 Hz" would make 22 million entries.
    Log slow;
    EXPECT_FALSE(analysis.run(x, 1.0, CSampleBuffer(), CSampleBuffer(), folder.path("b.awa"), slow.hooks()));
    EXPECT_TRUE(slow.failed);
    CAnalyzeFundamentalEngine engine;
    engine.setSource(x, 1.0);
    EXPECT_FALSE(engine.preparePreview()) << "the preview is bound the same way";
    engine.setSource(x, 1000.0);
    EXPECT_TRUE(engine.preparePreview());

    // Stopping is not a failure, and leaves no file behind.
    Log stopped;
    CAnalysisHooks h = stopped.hooks();
    h.progress = [](double current, double) { return current < 0.1; };
    EXPECT_FALSE(analysis.run(x, 44100.0, CSampleBuffer(), CSampleBuffer(), folder.path("c.awa"), h));
    EXPECT_FALSE(stopped.failed);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(folder.path("c.awa"))));
}

TEST(AwaFile, LittleEndianDoublesAndCheckedReads)
{
    TempFolder folder;
    const std::string path = folder.path("x.awa");
    ASSERT_TRUE(CAwaFile::write(path, {2.0, 441.0}));
    const QByteArray bytes = readAll(path);
    EXPECT_EQ(bytes.toHex(), QByteArray("0000000000000040").append("0000000000907b40"));

    // A trailing part of an entry is ignored; a missing file leaves the entries.
    writeAll(path, bytes + QByteArray("\x01\x02\x03", 3));
    std::vector<double> entries{9.0};
    ASSERT_TRUE(CAwaFile::read(path, entries));
    EXPECT_EQ(entries, (std::vector<double>{2.0, 441.0}));
    EXPECT_FALSE(CAwaFile::read(folder.path("missing.awa"), entries));
    EXPECT_EQ(entries.size(), 2u);
    writeAll(path, QByteArray());
    ASSERT_TRUE(CAwaFile::read(path, entries));
    EXPECT_TRUE(entries.empty());
}

TEST(AnalyzeFundamentalEngine, MessagesBeforeThereIsAnythingToDo)
{
    CAnalyzeFundamentalEngine engine;
    ScriptedPrompter prompter;
    engine.setPrompter(&prompter);
    EXPECT_EQ(engine.infoText(), "No Sample Loaded.");
    EXPECT_FALSE(engine.preview({}));
    EXPECT_FALSE(engine.analyse({}));
    engine.settings().outputPath = "x.awa";
    EXPECT_FALSE(engine.analyse({}));
    EXPECT_EQ(prompter.messages, (std::vector<std::string>{"No source .WAV sound file loaded !",
                                                           "No destination .AWA file specified !",
                                                           "No source .WAV sound file loaded !"}));
    engine.settings().inputPath = "/no/such/file.wav";
    EXPECT_FALSE(engine.loadSource());
    EXPECT_EQ(engine.infoText(), "Error occured when trying to load the WAV file !");
}

TEST(AnalyzeFundamentalEngine, BracketingBoundsFindTheTonesPeriods)
{
    // Four notes, half a second each, at 22050 Hz; the bounds are drawn three
    // rows either side of each note's period, as a user would on the preview.
    const std::vector<ToneSegment> notes{{220.0, 0.5}, {261.63, 0.5}, {329.63, 0.5}, {392.0, 0.5}};
    const double rate = 22050.0;
    CAnalyzeFundamentalEngine engine;
    engine.setSource(voiceLike(notes, rate), rate);
    engine.settings().analysisRate = 22050;
    TempFolder folder;
    engine.settings().outputPath = folder.path("tones.awa");
    ASSERT_TRUE(engine.preparePreview());
    Log log;
    ASSERT_TRUE(engine.view().soundAnalysis(engine.previewSamples(), log.hooks()));
    ASSERT_TRUE(engine.view().analysisResults(log.hooks()));
    engine.finishPreview();

    drawBoundsAroundNotes(engine, notes);
    ASSERT_TRUE(engine.analyse(log.hooks()));
    const std::vector<double>& periods = engine.periods();
    ASSERT_EQ(periods.size(), 44100u);
    std::size_t right = 0;
    for (std::size_t m = 0; m < periods.size(); ++m) {
        const double f = rate / periods[m];
        const double cents = 1200.0 * std::log2(f / frequencyAt(notes, static_cast<double>(m) / rate));
        right += std::fabs(cents) <= 50.0;
    }
    EXPECT_GE(static_cast<double>(right) / periods.size(), 0.95) << right;
    std::vector<double> stored;
    ASSERT_TRUE(CAwaFile::read(engine.settings().outputPath, stored));
    EXPECT_EQ(stored, periods);
}
