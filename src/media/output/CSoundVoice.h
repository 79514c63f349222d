#pragma once

#include "media/audio/CDecodedOggStreams.h"
#include "media/output/CSoundSource.h"
#include "media/output/IVoiceSource.h"

#include <QByteArray>

#include <memory>
#include <vector>

class COggVorbisDecoder;

// Plays one sound, once or in a loop, as stereo floats at the output
// rate. The voice keeps its own shared copy of the item's data, so an item
// edited or deleted while it plays cannot pull the samples from under it;
// the item pointer only says which item the voice is playing.
class CSoundVoice : public CSoundSource {
public:
    CSoundVoice();
    ~CSoundVoice() override;

    // Gives the voice an item (or none): the previous one is released, its
    // decoder freed, and the voice stops.
    void setItem(const IVoiceSource* item);
    const IVoiceSource* item() const { return m_item; }

    // From the start of the item: 1, or 0 when it has no samples or its Ogg
    // stream cannot be decoded.
    int start();
    void stop() { m_playing = false; }
    bool isPlaying() const { return m_playing; }
    void setLoop(bool loop) { m_loop = loop; }
    bool loop() const { return m_loop; }
    // Whether an Ogg voice has its stream to play from: a decoder, or the
    // stream decoded whole.
    bool hasDecoder() const { return m_decoder != nullptr || m_whole != nullptr; }
    // Where Ogg streams decoded whole are looked for (the shared ones unless
    // told; none: the voice always decodes as it plays).
    void setDecodedStreams(CDecodedOggStreams* streams) { m_streams = streams; }

    // The output format alone, without starting the voice.
    void setOutputFormat(int framesPerBuffer, int bits, int channels, int rate);

    int prepare(std::size_t bytesPerBuffer, int framesPerBuffer, int bits, int channels, int rate,
                std::int64_t position) override;
    int fillBuffer(unsigned char* bytes, std::size_t size, int frames, std::int64_t position) override;
    int generateFloats(float* out, int frames, int rate, std::int64_t position) override;
    // Adds `gain` times the next `frames` frames to `mix` (the output's
    // channel count, interleaved): 1, or 0 when the voice had nothing to give
    // and `mix` is untouched. A voice that ends in the middle adds nothing
    // after its end.
    int mixInto(float* mix, int frames, int rate, float gain);

    // Where the voice is in the item's frames (uncompressed items).
    double framePosition() const { return m_framePosition; }

private:
    int openDecoder();
    void mixSamples(float* mix, int frames, int rate, float gain);
    void mixOgg(float* mix, int frames, int rate, float gain);
    // Decodes another block when fewer than `count` frames wait: whether
    // that many wait now (fewer only at the end of the stream).
    bool decodedAhead(std::size_t count);
    // Goes over to the stream decoded whole once it is there, at the frame
    // the decoder has reached.
    void takeWholeStream();

    const IVoiceSource* m_item = nullptr;
    bool m_isOgg = false;
    QByteArray m_data;  // samples, or the whole Ogg file
    int m_bits = 0;
    int m_channels = 0;
    int m_rate = 0;
    std::int64_t m_frames = 0;

    bool m_playing = false;
    bool m_loop = false;
    double m_framePosition = 0.0;

    int m_outFrames = 0;
    int m_outBits = 16;
    int m_outChannels = 2;
    int m_outRate = 44100;

    // Ogg: decoded stereo frames (the whole stream, or the blocks the
    // decoder gave), the one playing at m_decodedNext and the ones after it
    // up to m_decodedEnd; the resampler interpolates between the playing
    // frame and the next one at m_phase.
    CDecodedOggStreams* m_streams = &CDecodedOggStreams::shared();
    CDecodedOggStreams::StreamPointer m_whole;
    std::unique_ptr<COggVorbisDecoder> m_decoder;
    // Frames the decoder has given since the stream's start.
    std::size_t m_streamed = 0;
    std::vector<float> m_decoded;
    std::size_t m_decodedNext = 0;
    std::size_t m_decodedEnd = 0;
    double m_phase = 0.0;
};
