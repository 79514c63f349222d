#include "tools/midi/CMidiConversion.h"

#include "tools/midi/CMidiWriter.h"
#include "tools/midi/CSampleStatistics.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {
constexpr int kExpression = 11;
constexpr double kLargestInBend = 0.9999999999999;

bool positiveFinite(double v) { return v > 0.0 && std::isfinite(v); }

int progressValue(double v) { return static_cast<int>(CSampleStatistics::clampedIndex(v, INT_MAX)); }

// The controller value of an amplitude: trunc(a x 127), or an out-of-range
// value that the writer refuses when the amplitude is not a number or too
// loud for the scale.
int expressionValue(double amplitude)
{
    const double v = std::trunc(amplitude * 127.0);
    if (!(v >= 0.0))
        return -1;
    return v > 127.0 ? 128 : static_cast<int>(v);
}
} // namespace

CMidiDerived CMidiDerived::compute(const CMidiConversionSettings& s, std::size_t entryCount,
                                   std::size_t sampleCount, double sampleRate)
{
    CMidiDerived d;
    if (entryCount == 0 || sampleCount == 0 || !positiveFinite(sampleRate))
        return d;
    d.samplesPerEntry = static_cast<double>(sampleCount) / static_cast<double>(entryCount);
    d.entriesPerSecond = sampleRate / d.samplesPerEntry;
    d.ticksPerSecond = s.tempoBpm / 60.0 * static_cast<double>(s.blackTicks);
    const double controllerTicks = static_cast<double>(std::max<std::int64_t>(1, s.controllerTicks));
    d.entriesPerController = controllerTicks / d.ticksPerSecond * d.entriesPerSecond;
    d.entriesPerNote = static_cast<double>(s.noteTicks) / d.ticksPerSecond * d.entriesPerSecond;
    d.valid = positiveFinite(d.entriesPerSecond) && positiveFinite(d.ticksPerSecond) &&
              positiveFinite(d.entriesPerController) && positiveFinite(d.entriesPerNote);
    return d;
}

double CMidiDerived::ratioToMiddleC(double period) const
{
    return (entriesPerSecond / 44100.0) * 168.56150869404004 / period;
}

int CMidiDerived::noteNumber(double ratio)
{
    const double v = std::trunc(12.0 * std::log2(ratio) + 60.5);
    return v >= 1.0 && v <= 127.0 ? static_cast<int>(v) : -1;
}

double CMidiDerived::ratioOfNote(int note)
{
    return std::pow(2.0, (note - 60) / 12.0);
}

double CMidiDerived::semitones(double ratio)
{
    return 12.0 * std::log2(ratio);
}

CMidiConversionSettings CMidiConversion::effectiveSettings() const
{
    CMidiConversionSettings s = m_settings;
    s.blackTicks = std::clamp<std::int64_t>(s.blackTicks, 1, 0x7FFF);
    s.noteTicks = std::max<std::int64_t>(1, s.noteTicks);
    s.controllerTicks = std::max<std::int64_t>(1, s.controllerTicks);
    if (!(s.tempoBpm >= CMidiWriter::kSlowestBpm))
        s.tempoBpm = CMidiWriter::kSlowestBpm;
    return s;
}

int CMidiConversion::run(const std::vector<double>& entries, const std::vector<double>& samples, double sampleRate,
                         const std::string& outputPath, const Hooks& hooks)
{
    auto log = [&](const std::string& text) {
        if (hooks.log)
            hooks.log(text);
    };
    const CMidiConversionSettings s = effectiveSettings();
    const double E = static_cast<double>(entries.size());
    const int progressMax = progressValue(E);
    bool aborted = false;
    auto progress = [&](double w) {
        if (hooks.progress && !hooks.progress(progressValue(w), progressMax))
            aborted = true;
    };
    if (hooks.title)
        hooks.title("Convert Fundamental To Midi");
    if (hooks.status)
        hooks.status("Converting Fundamental Frequencies To Midi...");
    m_loudest = 0.0;

    CMidiWriter midi;
    const CMidiDerived d = CMidiDerived::compute(s, entries.size(), samples.size(), sampleRate);
    if (!d.valid) {
        log("Error: Nothing to convert, the analysis or the sample is empty.\r\n");
        aborted = true;
    } else if (!midi.open(outputPath)) {
        log("Error: Cannot write to .MID file '" + outputPath + "'.\r\n");
        aborted = true;
    }

    if (!aborted) {
        midi.header(static_cast<int>(s.blackTicks), s.tempoBpm);
        const double u = d.samplesPerEntry;
        const double n = d.entriesPerNote;
        const double c = d.entriesPerController;

        log("Calculating Amplitude\r\n");
        progress(0);
        for (double w = 0; w <= E && !aborted; w += n) {
            const double loudness = CSampleStatistics::rms(samples, std::trunc(u * w), std::trunc(n * u) + 1);
            if (loudness >= m_loudest)
                m_loudest = loudness;
            progress(w);
        }

        if (!aborted) {
            log("Converting Audio And Writing To MIDI File\r\n");
            progress(0);
            const std::int64_t noteRes = s.noteTicks;
            const std::int64_t ctrlRes = s.controllerTicks;
            const double range = s.bendRange;
            const double noteCount = std::trunc(n + 0.5);
            const double bendCount = std::trunc(c + 0.5);
            int k = 59;
            bool pitched = false;
            double peak = 0.0;
            std::int64_t noteStep = noteRes;
            for (double w = 0; w <= E && !aborted; w += c) {
                const bool boundary = noteStep >= noteRes;
                if (boundary)
                    noteStep = 0;
                const double e = std::trunc(w);
                const double pn = CSampleStatistics::percentile(entries, e, noteCount, 0.5);
                const double pc = CSampleStatistics::percentile(entries, e, bendCount, 0.5);
                const double xn = d.ratioToMiddleC(pn);
                const double xc = d.ratioToMiddleC(pc);
                // A silent recording has no loudest window to compare with.
                const double a = m_loudest > 0.0
                                     ? CSampleStatistics::rms(samples, std::trunc(u * w), std::trunc(pn * u)) / m_loudest
                                     : 0.0;
                const int L = CMidiDerived::noteNumber(xn);
                if (L < 0) {
                    if (boundary)
                        midi.noteOff(0);
                    pitched = false;
                } else {
                    if (a < peak * s.tolerance) {
                        k = -1; // a note must restart
                        peak = 0.0;
                    }
                    if (peak <= a)
                        peak = a;
                    midi.controller(0, kExpression, expressionValue(a));
                    const double fromNote = (CMidiDerived::semitones(xc) - (L - 60)) / range;
                    if (pitched) {
                        const double bend =
                            (CMidiDerived::semitones(xc) - CMidiDerived::semitones(CMidiDerived::ratioOfNote(k))) / range;
                        if (std::fabs(bend) <= kLargestInBend) {
                            midi.pitchBend(0, bend);
                        } else if (boundary) {
                            midi.pitchBend(0, fromNote);
                            midi.noteOn(0, L, 127);
                            k = L;
                        }
                    } else {
                        midi.pitchBend(0, fromNote);
                        if (boundary) {
                            midi.noteOn(0, L, 127);
                            k = L;
                        }
                    }
                    pitched = true;
                }
                midi.addDelay(ctrlRes);
                noteStep += ctrlRes;
                progress(w);
            }
        }
        midi.noteOff(s.controllerTicks);
        if (!midi.close()) {
            log("Error: Cannot write to .MID file '" + outputPath + "'.\r\n");
            aborted = true;
        }
    }

    log(aborted ? "Conversion not entirely done, error occured or aborted upon user request.\r\n"
                : "Conversion successfully done.\r\n");
    if (hooks.status)
        hooks.status("Done");
    return aborted ? 0 : 1;
}
