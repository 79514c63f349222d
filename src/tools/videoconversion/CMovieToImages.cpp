#include "tools/videoconversion/CMovieToImages.h"

#include "media/image/CBmpWriter.h"
#include "media/image/CImageFiles.h"
#include "media/image/CVideoReader.h"
#include "tools/videoconversion/CFrameFileNames.h"

#include <QImage>

#include <algorithm>
#include <cstdio>
#include <future>

namespace {
bool endsWithPng(const std::string& name)
{
    if (name.size() < 4)
        return false;
    std::string tail = name.substr(name.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return tail == ".png";
}

QImage alphaAsGrey(const QImage& picture)
{
    QImage grey(picture.size(), QImage::Format_Grayscale8);
    for (int y = 0; y < picture.height(); ++y) {
        const uchar* in = picture.constScanLine(y);
        uchar* out = grey.scanLine(y);
        for (int x = 0; x < picture.width(); ++x)
            out[x] = in[4 * x + 3];
    }
    return grey;
}

bool writePicture(const QImage& picture, const std::string& name, bool png)
{
    if (png)
        return CImageFiles::encodeImage(picture.convertToFormat(QImage::Format_RGB32), name, "image/png") != 0;
    return CBmpWriter::writeFile(name, CBmpWriter::colorBmp24(picture)) != 0;
}

bool writeAlpha(const QImage& picture, const std::string& name, bool png)
{
    if (png)
        return CImageFiles::encodeImage(alphaAsGrey(picture), name, "image/png") != 0;
    return CBmpWriter::writeFile(name, CBmpWriter::alphaBmp8(picture)) != 0;
}
} // namespace

CConversionResult CMovieToImages::run(const std::string& source, const std::string& destination, bool alpha,
                                      const CConversionProgress& progress) const
{
    CConversionResult result;
    if (!CConversionResult::namesAFile(destination)) {
        result.end = CConversionResult::End::NoDestination;
        return result;
    }
    CVideoReader reader;
    if (!reader.open(source)) {
        result.end = CConversionResult::End::OpenFailed;
        result.file = source;
        return result;
    }
    const bool png = endsWithPng(destination);
    const int count = static_cast<int>(std::min<std::int64_t>(reader.frameCount(), 0x7FFFFFFF));
    // A frame is written on a worker while the next one is decoded; the
    // picture handed over is a copy of its own (QImage detaches on write).
    std::future<bool> writing;
    std::string writingName;
    auto finishWrite = [&]() {
        if (!writing.valid())
            return true;
        if (writing.get()) {
            ++result.frames;
            return true;
        }
        result.end = CConversionResult::End::WriteFailed;
        result.file = writingName;
        return false;
    };
    QImage picture;
    // The stated count is what the status shows; the frames themselves are
    // read until the stream ends, so an estimated count loses nothing.
    for (int k = 1;; ++k) {
        char status[96];
        std::snprintf(status, sizeof status, kStatusFormat, k, std::max(count, k));
        progress.tell(status, k, std::max(count, k));
        if (!reader.readFrame(picture))
            break;
        if (!finishWrite())
            break;
        writingName = CFrameFileNames::picture(destination, k);
        writing = std::async(std::launch::async,
                             [frame = picture, name = writingName, alphaName = CFrameFileNames::alpha(destination, k),
                              png, alpha] {
                                 return writePicture(frame, name, png) && (!alpha || writeAlpha(frame, alphaName, png));
                             });
        if (progress.stop()) {
            if (finishWrite())
                result.end = CConversionResult::End::Stopped;
            break;
        }
    }
    finishWrite();
    progress.tell("Done.", result.frames, result.frames);
    return result;
}
