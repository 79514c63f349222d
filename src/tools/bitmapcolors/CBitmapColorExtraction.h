#pragma once

#include "media/image/CDisplayBuffer.h"

#include <QRgb>

#include <string>

// Texture maps derived from a picture: a diffuse map, every pixel brightened
// until its strongest channel is full (the colour without its shading), and a
// bump map, every pixel its grey level. Each is written beside the source,
// named after it with a suffix, and the picture keeps the converted image.
class CBitmapColorExtraction {
public:
    static constexpr const char* kDefaultFileName = "C:\\My Documents\\";
    static constexpr const char* kDiffuseSuffix = "_DIFFUSE";
    static constexpr const char* kBumpSuffix = "_BUMP";

    enum class Map { Diffuse, Bump };

    // Each press reloads the source first, so the same press always writes
    // the same result. 1 when the map was written; 0 when the source could
    // not be read (nothing is written then) or the result not saved.
    int extract(const std::string& sourcePath, Map map);
    int extractDiffuse(const std::string& sourcePath) { return extract(sourcePath, Map::Diffuse); }
    int extractBump(const std::string& sourcePath) { return extract(sourcePath, Map::Bump); }

    const CDisplayBuffer& picture() const { return m_picture; }
    // Where the last extraction wrote (empty when nothing was written).
    const std::string& lastOutput() const { return m_lastOutput; }

    // Pixels as 0x00RRGGBB words (blue in the low byte); the result's top
    // byte is 0.
    static QRgb diffusePixel(QRgb pixel);
    static QRgb bumpPixel(QRgb pixel);

    // "folder/wall.bmp" + "_BUMP" -> "folder/wall_BUMP.bmp": the suffix goes
    // at the end of the file name, before its extension.
    static std::string suffixedPath(const std::string& path, const std::string& suffix);

private:
    CDisplayBuffer m_picture;
    std::string m_lastOutput;
};
