// The C interface over CDocument: opaque handles, error codes, and nothing
// thrown across it.
#include "quillop/runtime/quillop_runtime.h"

#include "quillop/runtime/CDocument.h"
#include "quillop/runtime/CFrameCursor.h"
#include "quillop/runtime/Decoding.h"
#include "quillop/runtime/TrajectoryPath.h"
#include "quillop/runtime/WorldPlayer.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <cstdlib>
#include <cstring>
#include <new>

struct QuillopDocument {
    std::unique_ptr<quillop::CDocument> document;
};

namespace {
using quillop::CDocument;

using quillop::CRecordFrames;

template <typename Record>
const Record* at(const std::vector<Record>& records, int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < records.size() ? &records[static_cast<std::size_t>(index)]
                                                                         : nullptr;
}

template <typename Opener>
QuillopError open(Opener opener, QuillopDocument** out)
{
    if (!out)
        return QUILLOP_ERROR_BAD_ARGUMENT;
    *out = nullptr;
    try {
        quillop::OpenError error = quillop::OpenError::None;
        auto document = opener(error);
        if (!document)
            return static_cast<QuillopError>(error);
        *out = new QuillopDocument{std::move(document)};
        return QUILLOP_OK;
    } catch (...) {
        return QUILLOP_ERROR_OUT_OF_MEMORY;
    }
}

// A drawing point plus a bitmap's stored offset, truncated toward zero
// within the int range, as the editor places a bitmap (0 for a corner that is
// not a number).
int cornerPixel(int x, double offset)
{
    const double v = double(x) + offset;
    if (std::isnan(v))
        return 0;
    return static_cast<int>(std::clamp(v, double(std::numeric_limits<int>::min()), double(std::numeric_limits<int>::max())));
}

// Copies into memory the caller frees with quillop_free.
template <typename T>
T* handedOut(const std::vector<T>& values)
{
    auto* memory = static_cast<T*>(std::malloc(values.empty() ? 1 : values.size() * sizeof(T)));
    if (memory && !values.empty())
        std::memcpy(memory, values.data(), values.size() * sizeof(T));
    return memory;
}
} // namespace

struct QuillopCursor {
    const CDocument* document;
    quillop::AnimationRecord animation;
    quillop::CFrameCursor cursor;
};

struct QuillopWorld {
    explicit QuillopWorld(const CDocument& document) : document(document), source(document) {}

    const CDocument& document;
    quillop::CDocumentWorldSource source;
    quillop::CWorldInstance instance;
    std::vector<quillop::DrawItem> items;
    std::vector<QuillopDrawItem> handed;
};

extern "C" {

const char* quillop_error_text(QuillopError error)
{
    switch (error) {
    case QUILLOP_OK:
    case QUILLOP_ERROR_NOT_FOUND:
    case QUILLOP_ERROR_NOT_REGULAR:
    case QUILLOP_ERROR_UNREADABLE:
    case QUILLOP_ERROR_TOO_LARGE:
    case QUILLOP_ERROR_WRONG_TYPE:
    case QUILLOP_ERROR_OLDER_VERSION:
    case QUILLOP_ERROR_BROKEN:
    case QUILLOP_ERROR_OUT_OF_MEMORY:
    case QUILLOP_ERROR_PASSWORD_NEEDED:
    case QUILLOP_ERROR_WRONG_PASSWORD:
        return quillop::openErrorText(static_cast<quillop::OpenError>(error));
    case QUILLOP_ERROR_BAD_ARGUMENT: return "a null pointer, or a group or index that names nothing";
    case QUILLOP_ERROR_NOT_DECODED: return "the picture or sound could not be decoded";
    }
    return "unknown error";
}

QuillopError quillop_open_file(const char* path, const char* password, QuillopDocument** document)
{
    if (!path)
        return QUILLOP_ERROR_BAD_ARGUMENT;
    return open(
        [&](quillop::OpenError& error) { return CDocument::openFile(path, password ? password : "", error); },
        document);
}

QuillopError quillop_open_memory(const void* data, size_t size, const char* password, QuillopDocument** document)
{
    if (!data && size > 0)
        return QUILLOP_ERROR_BAD_ARGUMENT;
    return open(
        [&](quillop::OpenError& error) { return CDocument::openMemory(data, size, password ? password : "", error); },
        document);
}

void quillop_close(QuillopDocument* document) { delete document; }

const char* quillop_document_id(const QuillopDocument* document)
{
    return document ? document->document->id().c_str() : nullptr;
}

int quillop_count(const QuillopDocument* document, int group) { return document ? document->document->count(group) : 0; }

int quillop_find(const QuillopDocument* document, int group, const char* id)
{
    try {
        return document && id ? document->document->find(group, id) : -1;
    } catch (...) {
        return -1;
    }
}

const char* quillop_item_id(const QuillopDocument* document, int group, int index)
{
    const quillop::ItemRecord* item = document ? document->document->item(group, index) : nullptr;
    return item ? item->id.c_str() : nullptr;
}

const char* quillop_item_comments(const QuillopDocument* document, int group, int index)
{
    const quillop::ItemRecord* item = document ? document->document->item(group, index) : nullptr;
    return item ? item->comments.c_str() : nullptr;
}

const char* quillop_text(const QuillopDocument* document, int index)
{
    const auto* text = document ? at(document->document->texts(), index) : nullptr;
    return text ? text->text.c_str() : nullptr;
}

size_t quillop_expanded_text(const QuillopDocument* document, int index, char* buffer, size_t size)
{
    try {
        const std::string text = document ? document->document->expandedText(index) : std::string();
        if (buffer && size > 0) {
            const std::size_t n = std::min(size - 1, text.size());
            std::memcpy(buffer, text.data(), n);
            buffer[n] = '\0';
        }
        return text.size();
    } catch (...) {
        if (buffer && size > 0)
            buffer[0] = '\0';
        return 0;
    }
}

int quillop_integer_parameter(const QuillopDocument* document, const char* id, int default_value)
{
    try {
        return document && id ? document->document->integerParameter(id, default_value) : default_value;
    } catch (...) {
        return default_value;
    }
}

double quillop_real_parameter(const QuillopDocument* document, const char* id, double default_value)
{
    try {
        return document && id ? document->document->realParameter(id, default_value) : default_value;
    } catch (...) {
        return default_value;
    }
}

int quillop_step_delay(const QuillopDocument* document)
{
    return document ? document->document->stepDelay() : CDocument::kDefaultStepDelay;
}

QuillopError quillop_color(const QuillopDocument* document, int index, QuillopColor* color)
{
    const auto* c = document ? at(document->document->colors(), index) : nullptr;
    if (!c || !color)
        return QUILLOP_ERROR_BAD_ARGUMENT;
    *color = {std::uint8_t(c->rgb), std::uint8_t(c->rgb >> 8), std::uint8_t(c->rgb >> 16), c->alpha};
    return QUILLOP_OK;
}

QuillopError quillop_binary_file(const QuillopDocument* document, int index, const uint8_t** data, size_t* size)
{
    const auto* file = document ? at(document->document->binaryFiles(), index) : nullptr;
    if (!file || !data || !size)
        return QUILLOP_ERROR_BAD_ARGUMENT;
    *data = file->data.data;
    *size = file->data.size;
    return QUILLOP_OK;
}

QuillopError quillop_bitmap(const QuillopDocument* document, int index, QuillopBitmap* bitmap)
{
    const auto* b = document ? at(document->document->bitmaps(), index) : nullptr;
    if (!b || !bitmap)
        return QUILLOP_ERROR_BAD_ARGUMENT;
    *bitmap = {b->kind, b->width, b->height, b->offsetX, b->offsetY, b->payload.data, b->payload.size};
    return QUILLOP_OK;
}

QuillopError quillop_bitmap_rgba(const QuillopDocument* document, int index, int* width, int* height, uint8_t** pixels)
{
    const auto* b = document ? at(document->document->bitmaps(), index) : nullptr;
    if (!b || !width || !height || !pixels)
        return QUILLOP_ERROR_BAD_ARGUMENT;
    *pixels = nullptr;
    try {
        quillop::Picture picture;
        std::string error;
        if (!quillop::decodePicture(*b, picture, error))
            return QUILLOP_ERROR_NOT_DECODED;
        *pixels = handedOut(picture.rgba);
        if (!*pixels)
            return QUILLOP_ERROR_OUT_OF_MEMORY;
        *width = picture.width;
        *height = picture.height;
        return QUILLOP_OK;
    } catch (...) {
        return QUILLOP_ERROR_OUT_OF_MEMORY;
    }
}

QuillopError quillop_sound(const QuillopDocument* document, int index, QuillopSound* sound)
{
    const auto* s = document ? at(document->document->sounds(), index) : nullptr;
    if (!s || !sound)
        return QUILLOP_ERROR_BAD_ARGUMENT;
    *sound = {s->ogg ? 1 : 0, s->bits, s->channels, s->sampleRate, s->frames, s->data.data, s->data.size};
    return QUILLOP_OK;
}

QuillopError quillop_sound_pcm16(const QuillopDocument* document, int index, int16_t** samples, int64_t* frames,
                                 int* channels, int* sample_rate)
{
    const auto* s = document ? at(document->document->sounds(), index) : nullptr;
    if (!s || !samples || !frames || !channels || !sample_rate)
        return QUILLOP_ERROR_BAD_ARGUMENT;
    *samples = nullptr;
    try {
        quillop::Pcm16 pcm;
        std::string error;
        if (!quillop::decodeSound(*s, pcm, error))
            return QUILLOP_ERROR_NOT_DECODED;
        *samples = handedOut(pcm.samples);
        if (!*samples)
            return QUILLOP_ERROR_OUT_OF_MEMORY;
        *frames = pcm.frames();
        *channels = pcm.format.channels;
        *sample_rate = pcm.format.sampleRate;
        return QUILLOP_OK;
    } catch (...) {
        return QUILLOP_ERROR_OUT_OF_MEMORY;
    }
}

void quillop_free(void* memory) { std::free(memory); }

QuillopError quillop_animation(const QuillopDocument* document, int index, int* play_mode, int* frame_count)
{
    const auto* a = document ? at(document->document->animations(), index) : nullptr;
    if (!a || !play_mode || !frame_count)
        return QUILLOP_ERROR_BAD_ARGUMENT;
    *play_mode = a->playMode;
    *frame_count = static_cast<int>(a->frames.size());
    return QUILLOP_OK;
}

QuillopError quillop_animation_frame(const QuillopDocument* document, int index, int frame, QuillopFrame* out)
{
    const auto* a = document ? at(document->document->animations(), index) : nullptr;
    const auto* f = a ? at(a->frames, frame) : nullptr;
    if (!f || !out)
        return QUILLOP_ERROR_BAD_ARGUMENT;
    *out = {f->bitmap, f->delay, f->offsetX, f->offsetY};
    return QUILLOP_OK;
}

QuillopCursor* quillop_cursor_new(const QuillopDocument* document, int animation)
{
    const auto* a = document ? at(document->document->animations(), animation) : nullptr;
    if (!a)
        return nullptr;
    auto* cursor = new (std::nothrow) QuillopCursor{document->document.get(), *a, {}};
    if (cursor)
        quillop_cursor_restart(cursor);
    return cursor;
}

void quillop_cursor_free(QuillopCursor* cursor) { delete cursor; }

void quillop_cursor_restart(QuillopCursor* cursor)
{
    if (!cursor)
        return;
    const CRecordFrames frames(cursor->animation);
    cursor->cursor.restart(&frames);
}

int quillop_cursor_advance(QuillopCursor* cursor, double elapsed_steps)
{
    if (!cursor)
        return 0;
    const CRecordFrames frames(cursor->animation);
    return cursor->cursor.advance(&frames, elapsed_steps) ? 1 : 0;
}

int quillop_cursor_frame(const QuillopCursor* cursor) { return cursor ? cursor->cursor.frameIndex() : -1; }

int quillop_cursor_bitmap(const QuillopCursor* cursor)
{
    const auto* f = cursor ? at(cursor->animation.frames, cursor->cursor.frameIndex()) : nullptr;
    return f ? f->bitmap : -1;
}

QuillopError quillop_trajectory(const QuillopDocument* document, int index, int* play_mode, double* play_speed,
                                int* point_count)
{
    const auto* t = document ? at(document->document->trajectories(), index) : nullptr;
    if (!t || !play_mode || !play_speed || !point_count)
        return QUILLOP_ERROR_BAD_ARGUMENT;
    *play_mode = t->playMode;
    *play_speed = t->playSpeed;
    *point_count = static_cast<int>(t->points.size());
    return QUILLOP_OK;
}

QuillopError quillop_trajectory_point_at(const QuillopDocument* document, int index, double t, QuillopPoint* point)
{
    const auto* r = document ? at(document->document->trajectories(), index) : nullptr;
    if (!r || !point)
        return QUILLOP_ERROR_BAD_ARGUMENT;
    const quillop::TrajectoryPoint p = quillop::pointOnPath(r->points.data(), r->points.size(), t);
    *point = {r->offsetX + p.x, r->offsetY + p.y};
    return QUILLOP_OK;
}

QuillopError quillop_map(const QuillopDocument* document, int index, int* columns, int* lines, int* cell_width,
                         int* cell_height)
{
    const auto* m = document ? at(document->document->maps(), index) : nullptr;
    if (!m || !columns || !lines || !cell_width || !cell_height)
        return QUILLOP_ERROR_BAD_ARGUMENT;
    *columns = m->columns;
    *lines = m->lines;
    *cell_width = m->cellWidth;
    *cell_height = m->cellHeight;
    return QUILLOP_OK;
}

QuillopError quillop_map_type(const QuillopDocument* document, int index, int* type)
{
    const auto* m = document ? at(document->document->maps(), index) : nullptr;
    if (!m || !type)
        return QUILLOP_ERROR_BAD_ARGUMENT;
    *type = m->type;
    return QUILLOP_OK;
}

QuillopError quillop_map_cell(const QuillopDocument* document, int index, int column, int line, int* bitmap)
{
    const auto* m = document ? at(document->document->maps(), index) : nullptr;
    if (!m || !bitmap || column < 0 || column >= m->columns || line < 0 || line >= m->lines)
        return QUILLOP_ERROR_BAD_ARGUMENT;
    *bitmap = m->cells[static_cast<std::size_t>(column) * static_cast<std::size_t>(m->lines) + static_cast<std::size_t>(line)];
    return QUILLOP_OK;
}

QuillopError quillop_interface(const QuillopDocument* document, int index, int* type, int* entry_count)
{
    const auto* u = document ? at(document->document->userInterfaces(), index) : nullptr;
    if (!u || !type || !entry_count)
        return QUILLOP_ERROR_BAD_ARGUMENT;
    *type = u->type;
    *entry_count = static_cast<int>(u->entries.size());
    return QUILLOP_OK;
}

QuillopError quillop_interface_entry(const QuillopDocument* document, int index, int entry, QuillopInterfaceEntry* out)
{
    const auto* u = document ? at(document->document->userInterfaces(), index) : nullptr;
    const auto* e = u ? at(u->entries, entry) : nullptr;
    if (!e || !out)
        return QUILLOP_ERROR_BAD_ARGUMENT;
    *out = {e->id.c_str(), e->comments.c_str(), e->title.c_str(), e->helpText.c_str(), e->defaultValue.c_str(),
            e->minimumValue.c_str(), e->maximumValue.c_str(), e->image.c_str(), e->states.c_str(), e->type, e->level};
    return QUILLOP_OK;
}

QuillopWorld* quillop_world_new(const QuillopDocument* document, int world)
{
    if (!document || !at(document->document->worlds(), world))
        return nullptr;
    try {
        auto w = std::make_unique<QuillopWorld>(*document->document);
        w->instance.build(w->source, world);
        return w.release();
    } catch (...) {
        return nullptr;
    }
}

void quillop_world_free(QuillopWorld* world) { delete world; }

void quillop_world_reset(QuillopWorld* world)
{
    if (world)
        world->instance.reset();
}

void quillop_world_step(QuillopWorld* world, double steps)
{
    if (world)
        world->instance.step(steps);
}

double quillop_world_elapsed(const QuillopWorld* world) { return world ? world->instance.elapsed() : 0.0; }

int quillop_world_instance_count(const QuillopWorld* world) { return world ? world->instance.instanceCount() : 0; }

int quillop_world_draw_list(QuillopWorld* world, int x, int y, const QuillopDrawItem** items)
{
    if (items)
        *items = nullptr;
    if (!world || !items)
        return 0;
    try {
        world->items.clear();
        world->instance.drawList(x, y, world->items);
        world->handed.clear();
        world->handed.reserve(world->items.size());
        for (const quillop::DrawItem& item : world->items) {
            QuillopDrawItem out{item.kind, item.index, item.x, item.y, item.world, item.element};
            // A bitmap puts its corner at the drawing point plus its own
            // offsets, truncated toward zero.
            if (const auto* b = item.kind == quillop::DrawItem::Bitmap ? at(world->document.bitmaps(), item.index)
                                                                        : nullptr) {
                out.x = cornerPixel(item.x, b->offsetX);
                out.y = cornerPixel(item.y, b->offsetY);
            }
            world->handed.push_back(out);
        }
        *items = world->handed.data();
        return static_cast<int>(world->handed.size());
    } catch (...) {
        return 0;
    }
}

} // extern "C"
