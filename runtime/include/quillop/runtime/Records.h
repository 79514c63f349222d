#pragma once

#include "quillop/runtime/TrajectoryPoint.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quillop {

class CArchive;
class CSectionCoder;

// Bytes kept inside the document's own buffer (pictures, sounds, files):
// reading a document copies none of them.
struct ByteSpan {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
};

// What every item has.
struct ItemRecord {
    std::string id;
    std::string comments;
};

struct TextRecord : ItemRecord {
    std::string text;
};

struct BitmapRecord : ItemRecord {
    static constexpr std::int32_t kEmpty = 0;
    static constexpr std::int32_t kPaintingRegion = 6;
    static constexpr std::int32_t kEncodedImage = 9;

    std::int32_t kind = kEmpty;
    std::string sourceFileName;
    double width = 0.0;  // as stored
    double height = 0.0;
    std::int32_t bits = 0;
    std::int32_t frames = 0;
    double offsetX = 0.0;
    double offsetY = 0.0;
    // The image file (PNG, JPEG, ...) or the region's rectangle list.
    ByteSpan payload;
};

struct SoundRecord : ItemRecord {
    bool ogg = false;
    // An Ogg Vorbis file, or the PCM samples (whole frames only).
    ByteSpan data;
    // The sample format of a plain sound. An Ogg record stores none: these
    // stay at a new sound's format, and the stream's own headers say what
    // it plays as.
    std::int32_t frames = 0;
    std::int32_t bits = 32;
    std::int32_t channels = 2;
    std::int32_t sampleRate = 44100;
};

struct AnimationFrame {
    std::int32_t bitmap = 0;
    std::int32_t delay = 0;
    std::int32_t offsetX = 0;
    std::int32_t offsetY = 0;
};

struct AnimationRecord : ItemRecord {
    // Animations of bitmaps; only these are drawn in worlds.
    static constexpr std::int32_t kTypeBitmaps = 1;

    std::int32_t type = kTypeBitmaps;
    std::int32_t playMode = 1;
    std::vector<AnimationFrame> frames;
};

struct TrajectoryRecord : ItemRecord {
    std::int32_t type = 0;
    std::int32_t playMode = 1;
    std::int32_t offsetX = 0;
    std::int32_t offsetY = 0;
    double playSpeed = 1.0;
    bool closed = false;
    TrajectoryPoint centerOfMass;
    std::vector<TrajectoryPoint> points;
};

struct MapRecord : ItemRecord {
    static constexpr std::int32_t kDefaultCellSize = 32;

    std::int32_t type = 0;
    std::int32_t columns = 0;
    std::int32_t lines = 0;
    std::int32_t cellWidth = kDefaultCellSize;
    std::int32_t cellHeight = kDefaultCellSize;
    // Bitmap rows, column after column (cells[x * lines + y]); -1 is empty.
    std::vector<std::int16_t> cells;
};

struct ColorRecord : ItemRecord {
    std::int32_t rgb = 0;  // red in the low byte
    std::uint8_t alpha = 255;
};

struct BinaryFileRecord : ItemRecord {
    // 0: the data was scrambled with the section's keys (older files);
    // anything else: it stands in the file as it is.
    std::int32_t storage = 1;
    std::string sourceFileName;
    ByteSpan data;
};

// One entry of a user interface (a button, a field, a menu line ...).
struct InterfaceEntry {
    static constexpr std::int32_t kTypeButton = 6;

    // Writes or reads the fields in file order, ID first.
    void code(CArchive& ar, CSectionCoder& coder);

    std::string id;
    std::string comments;
    std::int32_t type = kTypeButton;
    std::string title = "No Name";
    std::string helpText;
    std::string defaultValue;
    std::string minimumValue;
    std::string maximumValue;
    std::int32_t level = 0;
    std::string image;   // a bitmap ID
    std::string states;  // option lines
    std::int32_t spare = 0;
};

struct UserInterfaceRecord : ItemRecord {
    std::int32_t type = 0;
    std::vector<InterfaceEntry> entries;
};

// One placed object of a world: an object of another group (or another
// world) at an offset, optionally moving along a trajectory.
struct WorldElementRecord {
    // Writes or reads the element in file order; 1 on success.
    int serialize(CArchive& ar, CSectionCoder& coder);

    std::string id;
    std::string comments;
    bool show = true;
    bool play = true;
    double offsetX = 0.0;
    double offsetY = 0.0;
    std::int32_t objectType = 0;  // a bitmap
    std::int32_t objectIndex = -1;
    double objectPlayOffset = 0.0;
    double objectPlaySpeed = 1.0;
    std::int32_t trajectoryIndex = -1;
    double trajectoryPlayOffset = 0.0;
    double trajectoryPlaySpeed = 1.0;
    double playOffset = 0.0;
    double playSpeed = 1.0;
};

struct WorldRecord : ItemRecord {
    std::int32_t type = 0;
    std::int32_t offsetX = 0;
    std::int32_t offsetY = 0;
    double playOffset = 0.0;
    double playSpeed = 1.0;
    std::vector<WorldElementRecord> elements;
};

} // namespace quillop
