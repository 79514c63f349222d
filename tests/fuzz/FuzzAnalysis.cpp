// The analysis file with the MIDI conversion over it. An input holding a
// WAV ("RIFF" on) pairs the analysis before it with that recording; any
// other input is the analysis alone, paired with a short fixed recording.
#include "FuzzSupport.h"

#include "tools/midi/CMidiSourceFiles.h"

#include <QtEndian>

#include <cmath>
#include <cstring>

namespace {
// One second of a 220 Hz tone at 8 kHz, 16-bit mono.
QByteArray fixedRecording()
{
    constexpr int rate = 8000;
    QByteArray samples(rate * 2, '\0');
    for (int i = 0; i < rate; ++i)
        qToLittleEndian<qint16>(qint16(12000 * std::sin(2 * M_PI * 220 * i / rate)), samples.data() + 2 * i);
    QByteArray head(44, '\0');
    char* h = head.data();
    std::memcpy(h, "RIFF", 4);
    qToLittleEndian<quint32>(36 + samples.size(), h + 4);
    std::memcpy(h + 8, "WAVEfmt ", 8);
    qToLittleEndian<quint32>(16, h + 16);
    qToLittleEndian<quint16>(1, h + 20);
    qToLittleEndian<quint16>(1, h + 22);
    qToLittleEndian<quint32>(rate, h + 24);
    qToLittleEndian<quint32>(rate * 2, h + 28);
    qToLittleEndian<quint16>(2, h + 32);
    qToLittleEndian<quint16>(16, h + 34);
    std::memcpy(h + 36, "data", 4);
    qToLittleEndian<quint32>(samples.size(), h + 40);
    return head + samples;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::start();
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const qsizetype split = bytes.indexOf("RIFF");
    static const QByteArray recording = fixedRecording();
    const std::string awa = fuzz::scratchFile("input.awa", split < 0 ? bytes : bytes.left(split));
    const std::string wav = fuzz::scratchFile("input.wav", split < 0 ? recording : bytes.mid(split));
    CMidiSourceFiles sources;
    if (!sources.load(awa, wav) || !sources.hasInputs())
        return 0;
    CMidiConversion::Hooks hooks;
    hooks.progress = [](int, int) { return true; };
    hooks.log = hooks.status = hooks.title = [](const std::string&) {};
    (void)sources.convert(fuzz::scratchPath("output.mid"), CMidiConversionSettings{}, hooks);
    return 0;
}
