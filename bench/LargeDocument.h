#pragma once
// A large mixed document for the benchmarks that read or compare whole
// documents: about 264 MB of pictures, sounds, binary files and texts.
// `changed` items differ from the document made with 0 (texts, pictures and
// files in turn), the rest is the same byte for byte.
#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "kinds/CItemKinds.h"
#include "kinds/binaryfiles/CBinaryFileItem.h"
#include "kinds/sounds/CMVT_WavMemory.h"
#include "kinds/texts/CTextItem.h"
#include "media/image/CDisplayBuffer.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <random>
#include <string>

namespace largedocument {
constexpr int kPictures = 200;
constexpr int kFiles = 60;
constexpr int kFileBytes = 4 << 20;
constexpr int kSounds = 10;
constexpr int kSoundBytes = 2 << 20;
constexpr int kTexts = 5000;

inline std::string make(const QString& name, int changed = 0)
{
    const std::string path = QDir::temp().filePath(name).toStdString();
    auto holder = createDocumentHolder();
    std::mt19937 rng(28);
    // Which items differ: every third change a text, a picture, a file.
    const auto isChanged = [&](int kind, int i) { return i < (changed + 2 - kind) / 3; };
    // One picture file name for every document, as the bitmaps keep it:
    // documents made from the same pictures hold the same records.
    const QString png = QDir::temp().filePath(QStringLiteral("large_document_picture.png"));
    for (int i = 0; i < kPictures; ++i) {
        QImage image(128, 128, QImage::Format_ARGB32);
        image.fill(qRgba(int(rng() % 256), int(rng() % 256), int(rng() % 256), 255));
        if (isChanged(1, i))
            image.setPixel(0, 0, qRgba(1, 2, 3, 255));
        image.save(png, "PNG");
        auto* bitmap = dynamic_cast<CDisplayBuffer*>(holder->get(GroupBitmaps, holder->newItem(GroupBitmaps, "p")));
        bitmap->loadFromFile(CDisplayBuffer::GdiPlusImage, png.toStdString());
    }
    QFile::remove(png);
    for (int i = 0; i < kFiles; ++i) {
        std::vector<std::uint8_t> data(kFileBytes);
        for (auto& b : data)
            b = static_cast<std::uint8_t>(rng());
        if (isChanged(2, i))
            data[data.size() / 2] ^= 1;
        dynamic_cast<CBinaryFileItem&>(*holder->get(GroupBinaryFiles, holder->newItem(GroupBinaryFiles, "f")))
            .setData(std::move(data));
    }
    for (int i = 0; i < kSounds; ++i) {
        QByteArray samples(kSoundBytes, '\0');
        for (auto& b : samples)
            b = static_cast<char>(rng());
        dynamic_cast<CMVT_WavMemory&>(*holder->get(GroupSounds, holder->newItem(GroupSounds, "s")))
            .setSamples(16, 2, 44100, samples);
    }
    for (int i = 0; i < kTexts; ++i)
        dynamic_cast<CTextItem&>(*holder->get(GroupTexts, holder->newItem(GroupTexts, "t" + std::to_string(i))))
            .setText(isChanged(0, i) ? "A changed text" : "A text with a [t0] reference");
    holder->save(path);
    return path;
}
} // namespace largedocument
