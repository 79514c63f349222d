#pragma once

#include "media/image/CMovieCompression.h"

#include <QImage>

#include <cstdint>
#include <memory>
#include <string>

class CDisplayBuffer;
class IPrompter;

// Writes a sequence of pictures as an AVI movie. The movie takes the size of
// the first frame; the compressor is the one set, or the one a chooser
// answers when the first frame arrives (MJPEG by default; "rawvideo" for
// uncompressed RGB, "ffv1", "mpeg4", ...).
// States: 0 closed, 1 waiting for the first frame, 2 writing.
class CMovieWriter {
public:
    enum State { Closed = 0, WaitingForFirstFrame = 1, Writing = 2 };
    static constexpr int kDefaultFramesPerSecond = 25;
    static constexpr const char* kDefaultCodec = "mjpeg";

    static constexpr const char* kRenderingError = "Error Occured While Rendering the Movie";
    static constexpr const char* kMemoryError = "Unable to Allocate Memory";
    static constexpr const char* kFileError = "Unable to Create the Movie File";
    static constexpr const char* kStreamError = "Unable to Create Stream";
    static constexpr const char* kCompressedStreamError = "Unable to Create Compressed Stream";
    static constexpr const char* kFormatError = "Unable to Set Format";

    // Messages go to the prompter when one is given.
    explicit CMovieWriter(IPrompter* prompter = nullptr);
    ~CMovieWriter();

    CMovieWriter(const CMovieWriter&) = delete;
    CMovieWriter& operator=(const CMovieWriter&) = delete;

    // The encoder used from the next first frame on.
    void setCodec(const std::string& encoderName) { m_compression.encoder = encoderName; }
    const std::string& codec() const { return m_compression.encoder; }
    void setCompression(const CMovieCompression& compression) { m_compression = compression; }
    const CMovieCompression& compression() const { return m_compression; }
    // Asked at each movie's first frame; without one the compression set is used.
    void setCompressionChooser(ICompressionChooser* chooser) { m_chooser = chooser; }

    // Closes anything open, deletes an existing file of that name and waits
    // for the first frame; a rate of 0 or below becomes 1.
    int open(const std::string& filename, int framesPerSecond = kDefaultFramesPerSecond);
    // The first frame creates the file and the stream. Later frames of
    // another size are placed at the top-left of a black frame of the
    // movie's size. 0 when closed or on any failure.
    int addFrame(const QImage& frame);
    int addFrame(const CDisplayBuffer& bitmap);
    // Finishes the file. A writer closed before any frame leaves no file.
    void close();

    int state() const { return m_state; }
    int framesPerSecond() const { return m_fps; }
    std::int64_t framesWritten() const { return m_frameIndex; }

private:
    struct Encoder;

    int startMovie(const QImage& first);
    int writeFrame(const QImage& frame);
    int drainPackets();
    void fail(const char* message);

    IPrompter* m_prompter;
    ICompressionChooser* m_chooser = nullptr;
    CMovieCompression m_compression;
    std::string m_filename;
    int m_fps = kDefaultFramesPerSecond;
    int m_state = Closed;
    std::int64_t m_frameIndex = 0;
    std::unique_ptr<Encoder> m_encoder;
};
