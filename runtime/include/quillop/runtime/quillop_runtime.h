/* The runtime's C interface: read a Quillop document and play its
 * animations, for games in C and for other languages' bindings.
 *
 * Every call reports failure by its result; none lets an exception out.
 * Strings and byte pointers a document hands out stay valid until it is
 * closed. Indices count from 0 within a group, in the editor's row order. */
#ifndef QUILLOP_RUNTIME_H
#define QUILLOP_RUNTIME_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct QuillopDocument QuillopDocument;
typedef struct QuillopCursor QuillopCursor;
typedef struct QuillopWorld QuillopWorld;

typedef enum QuillopError {
    QUILLOP_OK = 0,
    QUILLOP_ERROR_NOT_FOUND = 1,        /* no file of that name */
    QUILLOP_ERROR_NOT_REGULAR = 2,      /* a folder, a device, a FIFO */
    QUILLOP_ERROR_UNREADABLE = 3,
    QUILLOP_ERROR_TOO_LARGE = 4,        /* over 2 GB */
    QUILLOP_ERROR_WRONG_TYPE = 5,       /* not a resource file */
    QUILLOP_ERROR_OLDER_VERSION = 6,
    QUILLOP_ERROR_BROKEN = 7,           /* truncated, or a size that cannot be */
    QUILLOP_ERROR_OUT_OF_MEMORY = 8,
    QUILLOP_ERROR_PASSWORD_NEEDED = 9,
    QUILLOP_ERROR_WRONG_PASSWORD = 10,
    QUILLOP_ERROR_BAD_ARGUMENT = 20,    /* a null pointer, a group or index that names nothing */
    QUILLOP_ERROR_NOT_DECODED = 21      /* a picture or sound the runtime cannot decode */
} QuillopError;

/* The ten groups, in file order. */
enum {
    QUILLOP_TEXTS = 0,
    QUILLOP_BITMAPS = 1,
    QUILLOP_SOUNDS = 2,
    QUILLOP_ANIMATIONS = 3,
    QUILLOP_TRAJECTORIES = 4,
    QUILLOP_MAPS = 5,
    QUILLOP_COLORS = 6,
    QUILLOP_BINARY_FILES = 7,
    QUILLOP_USER_INTERFACES = 8,
    QUILLOP_WORLDS = 9,
    QUILLOP_GROUP_COUNT = 10
};

const char* quillop_error_text(QuillopError error);

/* `password` may be NULL for none. On failure *document is NULL. */
QuillopError quillop_open_file(const char* path, const char* password, QuillopDocument** document);
QuillopError quillop_open_memory(const void* data, size_t size, const char* password, QuillopDocument** document);
void quillop_close(QuillopDocument* document);

const char* quillop_document_id(const QuillopDocument* document);
/* 0 for a group that does not exist. */
int quillop_count(const QuillopDocument* document, int group);
/* The first item of the group with that ID, or -1. */
int quillop_find(const QuillopDocument* document, int group, const char* id);
/* NULL when the group or index names no item. */
const char* quillop_item_id(const QuillopDocument* document, int group, int index);
const char* quillop_item_comments(const QuillopDocument* document, int group, int index);

/* Texts and parameters. */
const char* quillop_text(const QuillopDocument* document, int index);
/* The text with its "[ID]" references expanded, written into `buffer` (always
 * terminated when `size` > 0); the length it needs, without the terminator. */
size_t quillop_expanded_text(const QuillopDocument* document, int index, char* buffer, size_t size);
int quillop_integer_parameter(const QuillopDocument* document, const char* id, int default_value);
double quillop_real_parameter(const QuillopDocument* document, const char* id, double default_value);
/* Milliseconds between two game steps (the document's setting, 8 unless set). */
int quillop_step_delay(const QuillopDocument* document);

typedef struct QuillopColor {
    uint8_t red, green, blue, alpha;
} QuillopColor;
QuillopError quillop_color(const QuillopDocument* document, int index, QuillopColor* color);

QuillopError quillop_binary_file(const QuillopDocument* document, int index, const uint8_t** data, size_t* size);

typedef struct QuillopBitmap {
    int32_t kind;               /* 9: an image file, 6: a region, 0: empty */
    double width, height;       /* as stored */
    double offset_x, offset_y;
    const uint8_t* bytes;       /* the image file or the region's rectangles */
    size_t size;
} QuillopBitmap;
QuillopError quillop_bitmap(const QuillopDocument* document, int index, QuillopBitmap* bitmap);
/* The picture as RGBA8, rows top first; free *pixels with quillop_free.
 * Decodes PNG, JPEG, BMP, GIF, TGA, PSD, HDR, PIC and PNM image files;
 * QUILLOP_ERROR_NOT_DECODED for anything else. */
QuillopError quillop_bitmap_rgba(const QuillopDocument* document, int index, int* width, int* height,
                                 uint8_t** pixels);

typedef struct QuillopSound {
    int ogg;                    /* 1: an Ogg Vorbis file in `bytes` */
    int bits, channels, sample_rate;
    int32_t frames;             /* plain samples only */
    const uint8_t* bytes;
    size_t size;
} QuillopSound;
QuillopError quillop_sound(const QuillopDocument* document, int index, QuillopSound* sound);
/* Signed 16-bit samples, channels side by side; free *samples with quillop_free. */
QuillopError quillop_sound_pcm16(const QuillopDocument* document, int index, int16_t** samples, int64_t* frames,
                                 int* channels, int* sample_rate);

void quillop_free(void* memory);

typedef struct QuillopFrame {
    int32_t bitmap, delay, offset_x, offset_y;
} QuillopFrame;
/* The animation's play mode (0-7) and frame count. */
QuillopError quillop_animation(const QuillopDocument* document, int index, int* play_mode, int* frame_count);
QuillopError quillop_animation_frame(const QuillopDocument* document, int index, int frame, QuillopFrame* out);

/* A place that plays an animation as the editor's preview does: one call of
 * quillop_cursor_advance per game step. */
QuillopCursor* quillop_cursor_new(const QuillopDocument* document, int animation);
void quillop_cursor_free(QuillopCursor* cursor);
void quillop_cursor_restart(QuillopCursor* cursor);
/* 1 while it plays, 0 once it stopped. */
int quillop_cursor_advance(QuillopCursor* cursor, double elapsed_steps);
int quillop_cursor_frame(const QuillopCursor* cursor);
/* The bitmap row the current frame shows, or -1. */
int quillop_cursor_bitmap(const QuillopCursor* cursor);

typedef struct QuillopPoint {
    double x, y;
} QuillopPoint;
QuillopError quillop_trajectory(const QuillopDocument* document, int index, int* play_mode, double* play_speed,
                                int* point_count);
/* The point at a fractional index along the path, the trajectory's offset added. */
QuillopError quillop_trajectory_point_at(const QuillopDocument* document, int index, double t, QuillopPoint* point);

QuillopError quillop_map(const QuillopDocument* document, int index, int* columns, int* lines, int* cell_width,
                         int* cell_height);
/* The map's type: 0 is a grid of bitmaps, the only type worlds draw. */
QuillopError quillop_map_type(const QuillopDocument* document, int index, int* type);
/* The bitmap row of a cell, or -1 for an empty one. */
QuillopError quillop_map_cell(const QuillopDocument* document, int index, int column, int line, int* bitmap);

/* User interfaces: the interface's type and entry count, then each entry's
 * fields (strings valid until the document is closed). */
QuillopError quillop_interface(const QuillopDocument* document, int index, int* type, int* entry_count);
typedef struct QuillopInterfaceEntry {
    const char *id, *comments, *title, *help_text;
    const char *default_value, *minimum_value, *maximum_value;
    const char *image;          /* a bitmap ID */
    const char *states;         /* option lines */
    int32_t type, level;
} QuillopInterfaceEntry;
QuillopError quillop_interface_entry(const QuillopDocument* document, int index, int entry, QuillopInterfaceEntry* out);

/* Worlds: a world is built with its elements, the worlds it takes in and the
 * worlds it plays as one object (a world met again on its way down is
 * skipped, nesting and the number of elements are bounded), stepped once per
 * game step, and laid out as a list of things to draw in order, later ones
 * on top. The document must stay open while the world lives. */
QuillopWorld* quillop_world_new(const QuillopDocument* document, int world);
void quillop_world_free(QuillopWorld* world);
/* Back to the start: every element at its play offset. */
void quillop_world_reset(QuillopWorld* world);
/* One game step is 1.0. */
void quillop_world_step(QuillopWorld* world, double steps);
/* The game steps played (from the world's play offset). */
double quillop_world_elapsed(const QuillopWorld* world);
/* The element instances the world holds, taken-in worlds' elements included. */
int quillop_world_instance_count(const QuillopWorld* world);

enum {
    QUILLOP_DRAW_BITMAP = 0,  /* draw bitmap `index` with its top-left corner at (x, y) */
    QUILLOP_DRAW_MAP = 1      /* draw map `index` with its first cell at (x, y), each cell's
                                 bitmap stretched to the cell size, column c and line l at
                                 (x + c * cell_width, y + l * cell_height) */
};
typedef struct QuillopDrawItem {
    int kind;
    int index;                  /* the bitmap or map row */
    int x, y;
    int world, element;         /* the world and element rows it comes from */
} QuillopDrawItem;
/* Lays the world out with its drawing point at (x, y): *items points to the
 * count returned, valid until the next call on this world. A bitmap's
 * corner has the animation frame's and the bitmap's own offsets added. */
int quillop_world_draw_list(QuillopWorld* world, int x, int y, const QuillopDrawItem** items);

#ifdef __cplusplus
}
#endif

#endif
