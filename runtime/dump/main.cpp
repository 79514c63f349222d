// quillop-runtime-dump FILE: every field of every item as JSON, read with
// the runtime alone; the same text `quillop-cli dump FILE --json` prints,
// and the same failure when a file does not load.
#include "CJson.h"

#include "quillop/runtime/CDocument.h"
#include "quillop/runtime/Decoding.h"
#include "quillop/runtime/PlayModes.h"
#include "quillop/runtime/Region.h"
#include "quillop/runtime/TypeTexts.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

using namespace quillop;

namespace {
int fail(const std::string& message)
{
    std::fprintf(stderr, "quillop-runtime-dump: %s\n", message.c_str());
    return 1;
}

std::string sha1(const ByteSpan& bytes) { return sha1Hex(bytes.data, bytes.size); }

// Reals a file holds may be NaN or infinite, which JSON cannot hold.
CJson realOrText(double value)
{
    if (std::isfinite(value))
        return CJson(value);
    return CJson(std::isnan(value) ? "nan" : value > 0 ? "inf" : "-inf");
}

CJson pair(double x, double y)
{
    CJson a = CJson::array();
    a.append(x);
    a.append(y);
    return a;
}

CJson item(const ItemRecord& r)
{
    CJson o = CJson::object();
    o["id"] = r.id;
    o["comments"] = r.comments;
    return o;
}

CJson text(const TextRecord& r)
{
    CJson o = item(r);
    o["text"] = r.text;
    return o;
}

// The premultiplied 32-bit pixels (blue, green, red, alpha in memory) the
// editor keeps a decoded picture in, which its dump digests.
std::vector<std::uint8_t> premultipliedBgra(const Picture& picture)
{
    std::vector<std::uint8_t> out(picture.rgba.size());
    for (std::size_t i = 0; i + 3 < picture.rgba.size(); i += 4) {
        const unsigned a = picture.rgba[i + 3];
        const auto times = [a](unsigned c) {
            const unsigned t = c * a + 0x80;
            return static_cast<std::uint8_t>((t + (t >> 8)) >> 8);
        };
        out[i] = times(picture.rgba[i + 2]);
        out[i + 1] = times(picture.rgba[i + 1]);
        out[i + 2] = times(picture.rgba[i]);
        out[i + 3] = static_cast<std::uint8_t>(a);
    }
    return out;
}

CJson bitmap(const BitmapRecord& r)
{
    CJson o = item(r);
    o["kind"] = r.kind;
    o["kindName"] = bitmapKindName(r.kind);
    o["offsetX"] = realOrText(r.offsetX);
    o["offsetY"] = realOrText(r.offsetY);
    const int bits = r.kind == BitmapRecord::kPaintingRegion ? 1 : 32;
    o["bits"] = bits;
    o["frames"] = 1;
    o["specs"] = std::to_string(bits) + " Bits, 1 Frames";
    o["sourceFileName"] = r.sourceFileName;
    const ByteSpan source = r.kind == BitmapRecord::kEncodedImage ? r.payload : ByteSpan{};
    o["sourceSize"] = static_cast<std::int64_t>(source.size);
    o["sourceSha1"] = sha1(source);
    // Pictures that do not decode, and kinds without pixels in a file, keep
    // their record as stored.
    bool decoded = r.kind == BitmapRecord::kEmpty;
    std::int64_t width = 0, height = 0;
    std::int64_t usedMemory = 0;
    if (r.kind == BitmapRecord::kEncodedImage) {
        Picture picture;
        std::string error;
        decoded = decodePicture(r, picture, error);
        if (decoded) {
            width = picture.width;
            height = picture.height;
            usedMemory = width * height * 4;
            const std::vector<std::uint8_t> pixels = premultipliedBgra(picture);
            o["pixelsSha1"] = sha1Hex(pixels.data(), pixels.size());
        }
    } else if (r.kind == BitmapRecord::kPaintingRegion) {
        CRegion region;
        const bool isList = region.read(r.payload);
        decoded = r.payload.size == 0 || isList;
        const RegionRect box = region.bounds();
        width = box.width;
        height = box.height;
        if (decoded)
            usedMemory = region.storedSize();
        CJson rects = CJson::array();
        for (const RegionRect& rect : region.rects()) {
            CJson one = CJson::array();
            for (std::int64_t v : {rect.x, rect.y, rect.width, rect.height})
                one.append(v);
            rects.append(one);
        }
        o["rects"] = rects;
    }
    o["decoded"] = decoded;
    o["actualWidth"] = width;
    o["actualHeight"] = height;
    const bool kept = !decoded && r.kind != BitmapRecord::kEmpty;
    o["width"] = kept ? realOrText(r.width) : CJson(width);
    o["height"] = kept ? realOrText(r.height) : CJson(height);
    o["usedGameMemory"] = usedMemory;
    return o;
}

CJson sound(const SoundRecord& r)
{
    CJson o = item(r);
    o["ogg"] = r.ogg;
    o["frames"] = r.frames;
    o["bits"] = r.bits;
    o["channels"] = r.channels;
    o["sampleRate"] = r.sampleRate;
    o["size"] = static_cast<std::int64_t>(r.data.size);
    o["sha1"] = sha1(r.data);
    char specs[160];
    if (r.ogg) {
        SoundFormat format;
        readOggFormat(r.data, format);
        o["streamChannels"] = format.channels;
        o["streamRate"] = format.sampleRate;
        if (r.data.size == 0)
            std::snprintf(specs, sizeof specs, "OGG, Empty !");
        else
            std::snprintf(specs, sizeof specs, "OGG, %lld Bytes (%d Channels, %d Hz)",
                          static_cast<long long>(r.data.size), format.channels, format.sampleRate);
    } else if (r.data.size == 0) {
        std::snprintf(specs, sizeof specs, "WAV, Empty !");
    } else {
        const long long bytes = static_cast<long long>(r.frames) * r.bits * r.channels / 8;
        std::snprintf(specs, sizeof specs, "WAV, %d Data, %lld Bytes (%d Bits, %d Channels, %d Hz)", r.frames, bytes,
                      r.bits, r.channels, r.sampleRate);
    }
    o["specs"] = specs;
    return o;
}

CJson animation(const AnimationRecord& r)
{
    CJson o = item(r);
    o["type"] = r.type;
    o["playMode"] = r.playMode;
    o["playModeText"] = std::string(playModeText(r.playMode));
    CJson frames = CJson::array();
    for (const AnimationFrame& f : r.frames) {
        CJson frame = CJson::object();
        frame["bitmap"] = f.bitmap;
        frame["delay"] = f.delay;
        frame["offsetX"] = f.offsetX;
        frame["offsetY"] = f.offsetY;
        frames.append(frame);
    }
    o["frames"] = frames;
    return o;
}

CJson trajectory(const TrajectoryRecord& r)
{
    CJson o = item(r);
    CJson points = CJson::array();
    double minX = 0.0, maxX = 0.0, minY = 1.0, maxY = 1.0;
    for (std::size_t i = 0; i < r.points.size(); ++i) {
        const TrajectoryPoint& p = r.points[i];
        points.append(pair(p.x, p.y));
        minX = i ? std::min(minX, p.x) : p.x;
        maxX = i ? std::max(maxX, p.x) : p.x;
        minY = i ? std::min(minY, p.y) : p.y;
        maxY = i ? std::max(maxY, p.y) : p.y;
    }
    o["points"] = points;
    o["closed"] = r.closed;
    o["type"] = r.type;
    o["playMode"] = r.playMode;
    o["playSpeed"] = r.playSpeed;
    o["offsetX"] = r.offsetX;
    o["offsetY"] = r.offsetY;
    o["centerOfMass"] = pair(r.centerOfMass.x, r.centerOfMass.y);
    CJson bounds = CJson::array();
    for (double v : {minX, minY, maxX, maxY})
        bounds.append(v);
    o["bounds"] = bounds;
    return o;
}

CJson map(const MapRecord& r)
{
    CJson o = item(r);
    o["type"] = r.type;
    o["typeText"] = mapTypeText(r.type);
    o["sizeX"] = r.cellWidth;
    o["sizeY"] = r.cellHeight;
    o["nbColumns"] = r.columns;
    o["nbLines"] = r.lines;
    CJson columns = CJson::array();
    for (std::int32_t c = 0; c < r.columns; ++c) {
        CJson column = CJson::array();
        for (std::int32_t l = 0; l < r.lines; ++l)
            column.append(int(r.cells[std::size_t(c) * std::size_t(r.lines) + std::size_t(l)]));
        columns.append(column);
    }
    o["columns"] = columns;
    return o;
}

CJson color(const ColorRecord& r)
{
    CJson o = item(r);
    char name[8];
    std::snprintf(name, sizeof name, "#%02x%02x%02x", r.rgb & 0xff, (r.rgb >> 8) & 0xff, (r.rgb >> 16) & 0xff);
    o["color"] = name;
    o["alpha"] = int(r.alpha);
    return o;
}

CJson binaryFile(const BinaryFileRecord& r)
{
    CJson o = item(r);
    o["sourceFileName"] = r.sourceFileName;
    o["plainStorage"] = r.storage;
    o["size"] = static_cast<std::int64_t>(r.data.size);
    o["sha1"] = sha1(r.data);
    return o;
}

CJson userInterface(const UserInterfaceRecord& r)
{
    CJson o = item(r);
    o["type"] = r.type;
    o["typeText"] = interfaceTypeText(r.type);
    CJson entries = CJson::array();
    for (const InterfaceEntry& e : r.entries) {
        CJson entry = CJson::object();
        entry["id"] = e.id;
        entry["type"] = e.type;
        entry["typeText"] = interfaceEntryTypeText(e.type);
        entry["level"] = e.level;
        entry["spare"] = e.spare;
        entry["comments"] = e.comments;
        entry["title"] = e.title;
        entry["helpText"] = e.helpText;
        entry["defaultValue"] = e.defaultValue;
        entry["minimumValue"] = e.minimumValue;
        entry["maximumValue"] = e.maximumValue;
        entry["image"] = e.image;
        entry["states"] = e.states;
        entries.append(entry);
    }
    o["items"] = entries;
    return o;
}

CJson world(const WorldRecord& r)
{
    CJson o = item(r);
    o["type"] = r.type;
    o["typeText"] = worldTypeText(r.type);
    o["offsetX"] = r.offsetX;
    o["offsetY"] = r.offsetY;
    o["playOffset"] = r.playOffset;
    o["playSpeed"] = r.playSpeed;
    CJson elements = CJson::array();
    for (const WorldElementRecord& e : r.elements) {
        CJson element = CJson::object();
        element["id"] = e.id;
        element["comments"] = e.comments;
        element["show"] = e.show;
        element["play"] = e.play;
        element["objectType"] = e.objectType;
        element["objectTypeText"] = worldObjectTypeText(e.objectType);
        element["objectIndex"] = e.objectIndex;
        element["trajectoryIndex"] = e.trajectoryIndex;
        element["offsetX"] = e.offsetX;
        element["offsetY"] = e.offsetY;
        element["objectPlayOffset"] = e.objectPlayOffset;
        element["objectPlaySpeed"] = e.objectPlaySpeed;
        element["trajectoryPlayOffset"] = e.trajectoryPlayOffset;
        element["trajectoryPlaySpeed"] = e.trajectoryPlaySpeed;
        element["playOffset"] = e.playOffset;
        element["playSpeed"] = e.playSpeed;
        elements.append(element);
    }
    o["elements"] = elements;
    return o;
}

template <typename Record>
CJson list(const std::vector<Record>& records, CJson (*describe)(const Record&))
{
    CJson a = CJson::array();
    for (const Record& r : records)
        a.append(describe(r));
    return a;
}

CJson dump(const CDocument& d)
{
    CJson groups = CJson::object();
    groups[std::string(kGroupKeys[GroupTexts])] = list(d.texts(), text);
    groups[std::string(kGroupKeys[GroupBitmaps])] = list(d.bitmaps(), bitmap);
    groups[std::string(kGroupKeys[GroupSounds])] = list(d.sounds(), sound);
    groups[std::string(kGroupKeys[GroupAnimations])] = list(d.animations(), animation);
    groups[std::string(kGroupKeys[GroupTrajectories])] = list(d.trajectories(), trajectory);
    groups[std::string(kGroupKeys[GroupMaps])] = list(d.maps(), map);
    groups[std::string(kGroupKeys[GroupColors])] = list(d.colors(), color);
    groups[std::string(kGroupKeys[GroupBinaryFiles])] = list(d.binaryFiles(), binaryFile);
    groups[std::string(kGroupKeys[GroupUserInterfaces])] = list(d.userInterfaces(), userInterface);
    groups[std::string(kGroupKeys[GroupWorlds])] = list(d.worlds(), world);
    CJson o = CJson::object();
    o["id"] = d.id();
    o["comments"] = d.comments();
    o["groups"] = groups;
    return o;
}

// The editor opens only files named *.mrc, whatever their content.
bool namedAsDocument(const std::string& path)
{
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos)
        return false;
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == "mrc";
}
} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf("usage: quillop-runtime-dump FILE [--json]\n"
                        "  prints every field of every item of a resource file as JSON, read by the runtime\n"
                        "  library alone: what quillop-cli dump prints, or the same refusal\n\n"
                        "options:\n"
                        "  --json                  accepted for scripts that pass it: the output is always JSON\n\n"
                        "exit status:\n"
                        "  0                       printed\n"
                        "  1                       the file could not be read\n");
            return 0;
        }
        if (std::strcmp(argv[i], "--json") != 0)  // JSON is the only form
            files.push_back(argv[i]);
    }
    if (files.size() != 1)
        return fail("usage: quillop-runtime-dump FILE [--json]");
    const std::string& path = files.front();
    OpenError error = OpenError::None;
    auto bytes = CDocument::readFileBytes(path, error);
    if (!bytes)
        return fail(path + ": " + openErrorText(error));
    if (!namedAsDocument(path))
        return fail(path + ": " + openErrorText(OpenError::WrongType));
    auto document = CDocument::read(std::move(*bytes), error);
    if (!document)
        return fail(path + ": " + openErrorText(error));
    if (const auto from = document->droppedFrom())
        fail(path + ": only partly loaded: the " + std::to_string(document->fileSize() - *from) + " bytes from byte " +
             std::to_string(*from) + " on are of an unknown type and were left out");
    const std::string text = dump(*document).text();
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}
