#include "media/output/CMixRenderer.h"

#include "media/output/CCaptureAudioBackend.h"

#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <chrono>
#include <cstring>

namespace {
constexpr std::int64_t kHeaderBytes = CMixRenderer::kWavHeaderBytes;
// A RIFF size is 32 bits and counts everything after the first 8 bytes.
constexpr std::int64_t kMaxDataBytes = 0xFFFFFFFFll - (kHeaderBytes - 8);

void putLe32(char* at, std::uint32_t value) { qToLittleEndian(value, at); }
void putLe16(char* at, std::uint16_t value) { qToLittleEndian(value, at); }

std::unique_ptr<CCaptureAudioBackend> makeCapture(CCaptureAudioBackend*& keep)
{
    auto device = std::make_unique<CCaptureAudioBackend>();
    keep = device.get();
    return device;
}
} // namespace

CMixRenderer::CMixRenderer(const CAudioSettings& settings) : m_device(nullptr), m_player(makeCapture(m_device))
{
    // The player's own start-up, without waiting: there is no card to probe.
    m_player.initialise(settings, std::chrono::milliseconds(0));
    m_device->take();
}

CMixRenderer::~CMixRenderer() = default;

int CMixRenderer::bytesPerFrame()
{
    CAudioOutput& output = m_player.output();
    return output.channels() * (output.bits() / 8);
}

int CMixRenderer::start(const std::vector<const IVoiceSource*>& items, bool loop)
{
    return m_player.playTogether(items, loop);
}

bool CMixRenderer::anyVoicePlaying()
{
    CSoundMixer& mixer = m_player.mixer();
    for (int i = 0; i < mixer.voiceCount(); ++i)
        if (mixer.voice(i).isPlaying())
            return true;
    return false;
}

QByteArray CMixRenderer::wavHeader(std::uint32_t dataBytes, int rate, int channels, int bits)
{
    QByteArray h(kHeaderBytes, '\0');
    char* p = h.data();
    const auto blockAlign = static_cast<std::uint16_t>(channels * (bits / 8));
    std::memcpy(p, "RIFF", 4);
    putLe32(p + 4, static_cast<std::uint32_t>(dataBytes + kHeaderBytes - 8));
    std::memcpy(p + 8, "WAVEfmt ", 8);
    putLe32(p + 16, 16);
    putLe16(p + 20, 1);  // PCM
    putLe16(p + 22, static_cast<std::uint16_t>(channels));
    putLe32(p + 24, static_cast<std::uint32_t>(rate));
    putLe32(p + 28, static_cast<std::uint32_t>(rate) * blockAlign);
    putLe16(p + 32, blockAlign);
    putLe16(p + 34, static_cast<std::uint16_t>(bits));
    std::memcpy(p + 36, "data", 4);
    putLe32(p + 40, dataBytes);
    return h;
}

int CMixRenderer::writeWav(QIODevice& out, std::int64_t frames)
{
    CAudioOutput& output = m_player.output();
    const std::int64_t frameBytes = bytesPerFrame();
    if (frameBytes <= 0 || out.isSequential())
        return 0;
    const bool untilEnd = frames < 0;
    const std::int64_t wanted = untilEnd ? std::int64_t(kMaxSeconds) * output.rate() * frameBytes : frames * frameBytes;
    if (wanted > kMaxDataBytes)
        return 0;
    const qint64 headerAt = out.pos();
    if (out.write(wavHeader(0, output.rate(), output.channels(), output.bits())) != kHeaderBytes)
        return 0;

    // The buffers the device was handed when it opened come first; then the
    // device plays one buffer at a time and the output refills it.
    std::int64_t written = 0;
    QByteArray pending = m_device->take();
    while (true) {
        const std::int64_t part = std::min<std::int64_t>(pending.size(), wanted - written);
        if (part > 0 && out.write(pending.constData(), part) != part)
            return 0;
        written += part;
        if (written >= wanted || (untilEnd && !anyVoicePlaying()))
            break;
        if (!output.isOpen())
            return 0;
        m_device->play(output.bytesPerBuffer());
        if (output.poll() != 1)
            return 0;
        pending = m_device->take();
    }
    const qint64 end = out.pos();
    if (!out.seek(headerAt))
        return 0;
    const QByteArray header = wavHeader(static_cast<std::uint32_t>(written), output.rate(), output.channels(), output.bits());
    if (out.write(header) != kHeaderBytes || !out.seek(end))
        return 0;
    return 1;
}
