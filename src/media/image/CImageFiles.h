#pragma once

#include <QByteArray>
#include <QImage>

#include <string>

// Image-file services: decoding whatever the image readers know, encoding by
// MIME type, and the unique temporary files the bitmaps pass through.
class CImageFiles {
public:
    static constexpr const char* kTemporaryPrefix = "GAMEMARVOLINE";
    static constexpr const char* kMetafileMessage =
        "Windows metafiles (WMF, EMF) cannot be decoded: convert the picture to PNG or BMP first.";
    static constexpr const char* kUnreadableMessage = "The image file could not be decoded.";
    // The most memory one decoded picture may take (a 8192 x 8192 picture
    // of 32-bit pixels); a file claiming more is not decoded.
    static constexpr int kAllocationLimitMB = 256;

    // Creates a new empty file with a unique name in the folder named by the
    // environment variable TEMP (the system's temporary folder when TEMP is
    // unset or missing), named after the prefix and ending in the extension
    // (without its dot). The caller deletes it once read back. "" on failure.
    static std::string makeTemporaryFileName(const std::string& extension = "tmp");

    // Decodes an image file into a 32-bit premultiplied-ARGB image. EXIF
    // orientation is not applied: pixels come as stored. On failure the image
    // is null, 0 is answered and *error (when given) says why. Only regular
    // files are read; a PNG whose chunks do not fit in its bytes is refused.
    static int decodeImageFile(const std::string& filename, QImage& image, std::string* error = nullptr);
    static int decodeImageBytes(const QByteArray& bytes, QImage& image, std::string* error = nullptr);
    // The size an image file states in its header, read without decoding its
    // pixels; invalid when no reader knows the bytes or the header states
    // none. A size stated is no promise that the pixels decode.
    static QSize statedSize(const QByteArray& bytes);

    // Encodes with the first writer whose MIME type equals mimeType exactly.
    // 0 when no writer has that type or the writer fails.
    static int encodeImage(const QImage& image, const std::string& filename, const std::string& mimeType);

    // True for the leading bytes of a placeable or plain WMF, or of an EMF.
    static bool looksLikeMetafile(const QByteArray& head);
};
