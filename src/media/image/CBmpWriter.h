#pragma once

#include <QByteArray>
#include <QImage>

#include <string>

// The two BMP files the 32-bit buffer writes, built whole in memory and
// written in one piece. The image's 4-byte pixels are read as B, G, R, A;
// rows are written bottom to top.
class CBmpWriter {
public:
    // 24-bit colour: the first three bytes of each pixel.
    static QByteArray colorBmp24(const QImage& image);
    // 8-bit greyscale of the fourth byte of each pixel (the alpha channel).
    static QByteArray alphaBmp8(const QImage& image);
    // Empty arrays (image not 32-bit, or too large for the size fields) fail.
    static int writeFile(const std::string& filename, const QByteArray& bytes);
};
