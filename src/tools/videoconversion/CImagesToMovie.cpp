#include "tools/videoconversion/CImagesToMovie.h"

#include "media/image/CImageFiles.h"
#include "media/image/CMovieWriter.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>

CConversionResult CImagesToMovie::run(const std::vector<std::string>& sources, const std::string& destination,
                                      const Settings& settings, CMovieWriter& writer,
                                      const CConversionProgress& progress) const
{
    using End = CConversionResult::End;
    CConversionResult result;
    if (!CConversionResult::namesAFile(destination)) {
        result.end = End::NoDestination;
        return result;
    }
    QImage frame(std::max(1, settings.width), std::max(1, settings.height), QImage::Format_RGB32);
    writer.open(destination, std::max(1, settings.framesPerSecond));
    const int total = static_cast<int>(sources.size());
    for (int i = 1; i <= total; ++i) {
        char status[96];
        std::snprintf(status, sizeof status, kStatusFormat, i, total);
        progress.tell(status, i, total);
        const std::string& source = sources[std::size_t(i - 1)];
        if (!QFileInfo(QString::fromStdString(source)).isFile()) {
            result.end = End::MissingFile;
            result.file = source;
            break;
        }
        QImage picture;
        if (!CImageFiles::decodeImageFile(source, picture)) {
            result.end = End::UnreadableFile;
            result.file = source;
            break;
        }
        frame.fill(Qt::black);
        {
            QPainter painter(&frame);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(frame.rect(), picture);
        }
        if (!writer.addFrame(frame)) {
            result.end = End::WriteFailed;
            result.file = destination;
            break;
        }
        ++result.frames;
        if (progress.stop()) {
            result.end = End::Stopped;
            break;
        }
    }
    writer.close();
    progress.tell("Done.", result.frames, total);
    return result;
}
