#pragma once

#include "core/CResourceItem.h"
#include "media/audio/COggVorbisDecoder.h"
#include "media/audio/CWaveEnvelope.h"
#include "media/output/IVoiceSource.h"

#include <QByteArray>
#include <QColor>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>

class QPainter;
class QRect;

// One sound of the Music and Sounds group: either uncompressed interleaved
// samples (8 bits stored XOR 0x7F, 16-bit integers, 32-bit floats on the
// -1..+1 scale) or a whole Ogg Vorbis file kept compressed and decoded only
// while it plays.
//
// The sample bytes always hold exactly frames x channels x bits / 8 bytes:
// every way in (files, the archive, setSamples) keeps that, so readers of
// the data never need to trust the frame count alone.
class CMVT_WavMemory : public CResourceItem, public IVoiceSource {
public:
    static constexpr int kDefaultBits = 32;
    static constexpr int kDefaultChannels = 2;
    static constexpr int kDefaultRate = 44100;
    // 1/32767 as a 32-bit float: 32-bit WAV files of this system store floats
    // on the +/-32767 scale.
    static constexpr float kInverse32767 = 0.00003051851f;

    std::unique_ptr<CResourceItem> createDefault() const override;
    int serialize(CArchive& ar, CSectionCoder& coder) override;

    // Frees the data; bits, channels and rate keep their values.
    void clear();
    // By extension, ignoring case: ".ogg" an Ogg Vorbis file, ".wav" a WAV
    // file, anything else raw 32-bit float stereo. 1 success; on failure the
    // item is left cleared.
    int loadFromFile(const std::string& path);
    // The file's name without folder and extension: the ID a loaded item takes.
    static std::string idFromPath(const std::string& path);
    // What "Load Wav/Ogg" does to the selected item: loads the file, and an
    // item still called "New ID" takes the file's name. 1 success.
    int reloadFromFile(const std::string& path);
    static constexpr const char* kNewId = "New ID";

    // Uncompressed samples in the stored encoding; fails (item unchanged)
    // unless bits is 8, 16 or 32, channels is at least 1 and the size is a
    // whole number of frames.
    int setSamples(int bits, int channels, int rate, const QByteArray& bytes);
    // A whole Ogg Vorbis file; fails (item unchanged) when its headers do not read.
    int setOggFile(const QByteArray& bytes);

    bool isOgg() const { return m_ogg != 0; }
    bool hasData() const { return isOgg() ? !m_oggFile.isEmpty() : !m_samples.isEmpty(); }
    std::int32_t frames() const { return m_frames; }
    std::int32_t bits() const { return m_bits; }
    std::int32_t channels() const { return m_channels; }
    std::int32_t sampleRate() const { return m_rate; }
    const QByteArray& samples() const { return m_samples; }
    const QByteArray& oggFile() const { return m_oggFile; }
    const COggStreamInfo& oggInfo() const { return m_oggInfo; }
    // What the mixer plays of this item.
    VoiceSound voiceSound() const override;

    // Sample `channel` (0-based) of frame `frame` on the -1..+1 scale; 0 for
    // anything outside the data or an encoding that cannot be played.
    double sampleAt(std::int64_t frame, int channel) const;

    // The "Specifications" cell.
    std::string specsText() const;
    // The lines written over the "OGG" mark.
    std::string oggSummaryText() const;

    struct WaveColors {
        QColor centreLine;
        QColor firstChannel;
        QColor secondChannel;
    };
    // The waveform in `cell` (an Ogg stream's decoded for the picture): the
    // first channel at the back and the second in front, or the other way
    // round when `swapChannels` is set; each channel keeps its colour.
    void drawWaveform(QPainter& painter, const QRect& cell, bool swapChannels, const WaveColors& colors) const;
    // The "OGG" mark with the stream summary over it.
    void drawOggSummary(QPainter& painter, const QRect& cell, const QColor& markColor, const QColor& textColor) const;
    // The waveform; the summary for an Ogg stream that does not decode;
    // nothing for an empty item.
    void draw(QPainter& painter, const QRect& cell, bool swapChannels, const WaveColors& colors,
              const QColor& markColor) const;

private:
    // Lowest and highest value of a channel over a run of frames.
    using ColumnRange = std::function<std::pair<double, double>(std::int64_t first, std::int64_t last, int channel)>;
    static void drawColumns(QPainter& painter, const QRect& cell, std::int64_t frames, int second, bool swapChannels,
                            const WaveColors& colors, const ColumnRange& rangeOf);
    const CWaveEnvelope& oggEnvelope() const;
    int loadOgg(const QByteArray& file);
    int loadWav(const QByteArray& file);
    int loadRawFloat(const QByteArray& file);
    void serializeSamples(CArchive& ar, CSectionCoder& coder);

    std::int32_t m_ogg = 0;
    std::int32_t m_frames = 0;
    std::int32_t m_bits = kDefaultBits;
    std::int32_t m_channels = kDefaultChannels;
    std::int32_t m_rate = kDefaultRate;
    QByteArray m_samples;
    QByteArray m_oggFile;
    COggStreamInfo m_oggInfo;
    // The decoded outline of the Ogg stream, made when first drawn.
    std::uint64_t m_oggRevision = 0;
    mutable std::shared_ptr<const CWaveEnvelope> m_envelope;
    mutable std::uint64_t m_envelopeRevision = 0;
};
