#pragma once

#include <QImage>

#include <cstdint>
#include <memory>
#include <string>

// Reads the pictures of a video file, whatever container and codec FFmpeg
// knows, one after the other. Frames come as 32-bit ARGB; where the codec
// stores alpha it is kept, otherwise every pixel is opaque.
class CVideoReader {
public:
    CVideoReader();
    ~CVideoReader();

    CVideoReader(const CVideoReader&) = delete;
    CVideoReader& operator=(const CVideoReader&) = delete;

    // Opens the first video stream of the file; 0 when there is none or the
    // file cannot be read. Any previous file is closed first.
    int open(const std::string& filename);
    void close();
    bool isOpen() const { return m_decoder != nullptr; }

    int width() const { return m_width; }
    int height() const { return m_height; }
    double framesPerSecond() const { return m_fps; }
    // What the container states, or the duration times the rate when it
    // states nothing; readFrame() may still end earlier or later.
    std::int64_t frameCount() const { return m_frameCount; }
    bool hasAlpha() const { return m_hasAlpha; }

    // The next frame, sized width() x height(); 0 after the last one or on
    // a decoding failure.
    int readFrame(QImage& picture);

private:
    struct Decoder;

    int receiveFrame(QImage& picture);

    std::unique_ptr<Decoder> m_decoder;
    int m_width = 0;
    int m_height = 0;
    double m_fps = 0.0;
    std::int64_t m_frameCount = 0;
    bool m_hasAlpha = false;
};
