#include "media/audio/CSoundSet.h"

#include "core/CRegularFile.h"

#include "media/audio/AudioFileName.h"
#include "media/audio/CWavReader.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <new>

void CSoundSet::clear()
{
    while (!m_buffers.empty())
        m_buffers.pop_back();
    m_sampleRate = kDefaultSampleRate;
}

CSampleBuffer* CSoundSet::channel(int index)
{
    return index >= 0 && index < channels() ? m_buffers[static_cast<std::size_t>(index)].get() : nullptr;
}

const CSampleBuffer* CSoundSet::channel(int index) const
{
    return index >= 0 && index < channels() ? m_buffers[static_cast<std::size_t>(index)].get() : nullptr;
}

CSampleBuffer& CSoundSet::addChannel()
{
    m_buffers.push_back(std::make_unique<CSampleBuffer>());
    return *m_buffers.back();
}

std::uint32_t CSoundSet::largestFrameCount(int first, int count) const
{
    const int from = std::max(first, 0);
    const int to = static_cast<int>(std::min<long long>(static_cast<long long>(first) + count, channels()));
    std::uint32_t largest = 0;
    for (int c = from; c < to; ++c)
        largest = std::max(largest, m_buffers[static_cast<std::size_t>(c)]->count());
    return largest;
}

int CSoundSet::loadWav(const std::string& path)
{
    const std::optional<QByteArray> read = CRegularFile::read(path);
    if (!read)
        return 0;
    try {
        const QByteArray& bytes = *read;
        const auto layout = CWavReader::locate(bytes, bytes.size(), true);
        if (!layout || !CWavReader::isReadable(*layout))
            return 0;
        const std::uint32_t frames = layout->dataSize / layout->blockAlign;
        // Everything is decoded aside, so that a failure leaves the sound as it was.
        std::vector<std::unique_ptr<CSampleBuffer>> loaded;
        const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData() + layout->dataOffset);
        for (int c = 0; c < layout->channels; ++c) {
            auto buffer = std::make_unique<CSampleBuffer>();
            if (!buffer->resize(frames, true)
                || !buffer->importSamples(data, layout->dataSize, 0, frames, layout->bits, c, layout->channels,
                                          *layout->encoding))
                return 0;
            loaded.push_back(std::move(buffer));
        }
        clear();
        m_buffers = std::move(loaded);
        m_sampleRate = layout->sampleRate;
        m_channelCount = layout->channels;
        m_bits = layout->bits;
        m_frames = frames;
        return 1;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

int CSoundSet::writeWav(const std::string& path, std::uint32_t firstFrame, std::uint32_t frameCount, int bits,
                        std::uint32_t sampleRate, int firstChannel, int channelCount,
                        const CWavInfoTexts& texts) const
{
    const int from = std::max(firstChannel, 0);
    const int to = static_cast<int>(std::min<long long>(static_cast<long long>(firstChannel) + channelCount, channels()));
    if (from >= to)
        return 0;
    const std::uint32_t available = largestFrameCount(from, to - from);
    if (firstFrame >= available)
        return 0;
    frameCount = std::min(frameCount, available - firstFrame);
    std::vector<const CSampleBuffer*> selected;
    for (int c = from; c < to; ++c)
        selected.push_back(m_buffers[static_cast<std::size_t>(c)].get());
    const auto bytes = CWavWriter::build(selected, firstFrame, frameCount, bits, sampleRate, texts);
    if (!bytes)
        return 0;
    QSaveFile file(audioFileName(path));
    if (!file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size()) {
        file.cancelWriting();
        return 0;
    }
    return file.commit() ? 1 : 0;
}
