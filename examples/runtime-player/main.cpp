// quillop-runtime-player: a small game built on the runtime's C interface
// and SDL2 alone. It opens a resource file, plays one of its worlds at the
// document's game step delay, draws the world's draw list itself and plays
// the document's sounds on the number keys. With --frames and --out it runs
// without a screen or a sound card and writes the last frame as PNG.
#include <quillop/runtime/quillop_runtime.h>

#include <SDL.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {
const char* const kUsage = "usage: quillop-runtime-player FILE [--world ID] [--frames N --out LAST.png] "
                           "[--size WxH] [--origin X,Y] [--password P]";

int fail(const std::string& message)
{
    std::fprintf(stderr, "quillop-runtime-player: %s\n", message.c_str());
    return 1;
}

void printHelp()
{
    std::printf("%s\n"
                "  plays a world of a Quillop resource file with the runtime library and SDL2: one game step\n"
                "  at the document's game step delay, number keys 1 to 9 play the document's sounds, Escape quits\n\n"
                "options:\n"
                "  --world ID              the world with that ID, or of that row (the first one unless given)\n"
                "  --frames N              plays N game steps without a window, then writes the last frame\n"
                "  --out LAST.png          where --frames writes the last frame, as PNG\n"
                "  --size WxH              the frame's size (640x480 unless given)\n"
                "  --origin X,Y            where the world's drawing point lies in the frame (94,94 unless given)\n"
                "  --password P            the document's password, when it has one\n\n"
                "exit status:\n"
                "  0                       played, or the frame written\n"
                "  1                       the file, the world or the frame could not be read or written\n"
                "  2                       the arguments are wrong\n",
                kUsage);
}

// A frame as premultiplied red, green, blue and alpha, rows top first.
struct Canvas {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
};

// x * a / 255, rounded, in the integer form painters use for 8-bit colours.
std::uint8_t multiply(unsigned x, unsigned a)
{
    const unsigned t = x * a;
    return static_cast<std::uint8_t>((t + (t >> 8) + 0x80) >> 8);
}

// A decoded bitmap, premultiplied; empty when it cannot be decoded.
struct Sprite {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
};

class Pictures {
public:
    explicit Pictures(const QuillopDocument* document)
        : m_document(document), m_sprites(std::size_t(quillop_count(document, QUILLOP_BITMAPS))),
          m_loaded(m_sprites.size(), false)
    {
    }

    const Sprite* get(int index)
    {
        if (index < 0 || std::size_t(index) >= m_sprites.size())
            return nullptr;
        Sprite& s = m_sprites[std::size_t(index)];
        if (!m_loaded[std::size_t(index)]) {
            m_loaded[std::size_t(index)] = true;
            std::uint8_t* pixels = nullptr;
            if (quillop_bitmap_rgba(m_document, index, &s.width, &s.height, &pixels) == QUILLOP_OK) {
                const std::size_t bytes = std::size_t(s.width) * std::size_t(s.height) * 4;
                s.rgba.assign(pixels, pixels + bytes);
                for (std::size_t i = 0; i < bytes; i += 4)
                    for (std::size_t c = 0; c < 3; ++c)
                        s.rgba[i + c] = multiply(s.rgba[i + c], s.rgba[i + 3]);
            }
            quillop_free(pixels);
        }
        return s.rgba.empty() ? nullptr : &s;
    }

private:
    const QuillopDocument* m_document;
    std::vector<Sprite> m_sprites;
    std::vector<bool> m_loaded;
};

// Source over: the sprite's pixel plus what shows through it. A sprite
// drawn at another size than its own is scaled to the nearest pixel.
void blit(Canvas& canvas, const Sprite& sprite, long left, long top, long width, long height)
{
    if (width <= 0 || height <= 0)
        return;
    const long x0 = std::max(left, 0L), x1 = std::min(left + width, long(canvas.width));
    const long y0 = std::max(top, 0L), y1 = std::min(top + height, long(canvas.height));
    for (long y = y0; y < y1; ++y) {
        const long sy = (y - top) * sprite.height / height;
        for (long x = x0; x < x1; ++x) {
            const long sx = (x - left) * sprite.width / width;
            const std::uint8_t* s = &sprite.rgba[std::size_t(sy * sprite.width + sx) * 4];
            std::uint8_t* d = &canvas.rgba[std::size_t(y * canvas.width + x) * 4];
            const unsigned inverse = 255u - s[3];
            for (int c = 0; c < 4; ++c)
                d[c] = static_cast<std::uint8_t>(s[c] + multiply(d[c], inverse));
        }
    }
}

void drawMap(Canvas& canvas, const QuillopDocument* document, Pictures& pictures, int map, int x, int y)
{
    int type = -1, columns = 0, lines = 0, cellWidth = 0, cellHeight = 0;
    if (quillop_map_type(document, map, &type) != QUILLOP_OK || type != 0 ||
        quillop_map(document, map, &columns, &lines, &cellWidth, &cellHeight) != QUILLOP_OK || cellWidth <= 0 ||
        cellHeight <= 0)
        return;
    for (int line = 0; line < lines; ++line)
        for (int column = 0; column < columns; ++column) {
            int bitmap = -1;
            quillop_map_cell(document, map, column, line, &bitmap);
            if (const Sprite* s = pictures.get(bitmap))
                blit(canvas, *s, long(x) + long(column) * cellWidth, long(y) + long(line) * cellHeight, cellWidth,
                     cellHeight);
        }
}

void drawWorld(Canvas& canvas, QuillopWorld* world, const QuillopDocument* document, Pictures& pictures, int x, int y)
{
    std::fill(canvas.rgba.begin(), canvas.rgba.end(), std::uint8_t(0));
    const QuillopDrawItem* items = nullptr;
    const int count = quillop_world_draw_list(world, x, y, &items);
    for (int i = 0; i < count; ++i) {
        if (items[i].kind == QUILLOP_DRAW_MAP)
            drawMap(canvas, document, pictures, items[i].index, items[i].x, items[i].y);
        else if (const Sprite* s = pictures.get(items[i].index))
            blit(canvas, *s, items[i].x, items[i].y, s->width, s->height);
    }
}

// Straight alpha again, for the PNG file.
std::vector<std::uint8_t> unpremultiplied(const Canvas& canvas)
{
    std::vector<std::uint8_t> out(canvas.rgba);
    for (std::size_t i = 0; i < out.size(); i += 4) {
        const unsigned a = out[i + 3];
        if (a == 0 || a == 255)
            continue;
        const unsigned inverse = 0x00ff00ffu / a;
        for (std::size_t c = 0; c < 3; ++c)
            out[i + c] = static_cast<std::uint8_t>((out[i + c] * inverse + 0x8000u) >> 16);
    }
    return out;
}

// --- sounds -----------------------------------------------------------------------

constexpr int kRate = 44100;

struct Voice {
    const std::vector<std::int16_t>* samples = nullptr;  // stereo at kRate
    std::size_t position = 0;
};

struct Mixer {
    std::vector<std::vector<std::int16_t>> sounds;
    std::vector<Voice> voices;
};

void mix(void* data, Uint8* stream, int length)
{
    auto& mixer = *static_cast<Mixer*>(data);
    auto* out = reinterpret_cast<std::int16_t*>(stream);
    const std::size_t count = std::size_t(length) / sizeof(std::int16_t);
    std::vector<int> sum(count, 0);
    for (Voice& v : mixer.voices) {
        const std::size_t n = std::min(count, v.samples->size() - v.position);
        for (std::size_t i = 0; i < n; ++i)
            sum[i] += (*v.samples)[v.position + i];
        v.position += n;
    }
    mixer.voices.erase(std::remove_if(mixer.voices.begin(), mixer.voices.end(),
                                      [](const Voice& v) { return v.position >= v.samples->size(); }),
                       mixer.voices.end());
    for (std::size_t i = 0; i < count; ++i)
        out[i] = static_cast<std::int16_t>(std::clamp(sum[i], -32768, 32767));
}

// Every sound of the document as 16-bit stereo at the device's rate.
void loadSounds(const QuillopDocument* document, Mixer& mixer)
{
    for (int i = 0; i < quillop_count(document, QUILLOP_SOUNDS); ++i) {
        std::vector<std::int16_t> converted;
        std::int16_t* samples = nullptr;
        std::int64_t frames = 0;
        int channels = 0, rate = 0;
        if (quillop_sound_pcm16(document, i, &samples, &frames, &channels, &rate) == QUILLOP_OK && channels > 0 &&
            rate > 0) {
            SDL_AudioStream* stream = SDL_NewAudioStream(AUDIO_S16SYS, Uint8(channels), rate, AUDIO_S16SYS, 2, kRate);
            if (stream && SDL_AudioStreamPut(stream, samples, int(frames * channels * 2)) == 0 &&
                SDL_AudioStreamFlush(stream) == 0) {
                converted.resize(std::size_t(SDL_AudioStreamAvailable(stream)) / 2);
                SDL_AudioStreamGet(stream, converted.data(), int(converted.size() * 2));
            }
            SDL_FreeAudioStream(stream);
        }
        quillop_free(samples);
        mixer.sounds.push_back(std::move(converted));
    }
}

bool readPair(const char* text, char separator, int& a, int& b)
{
    char* end = nullptr;
    const long first = std::strtol(text, &end, 10);
    if (end == text || *end != separator)
        return false;
    const char* second = end + 1;
    const long last = std::strtol(second, &end, 10);
    if (end == second || *end != '\0' || first < -1000000 || first > 1000000 || last < -1000000 || last > 1000000)
        return false;
    a = int(first);
    b = int(last);
    return true;
}

struct Options {
    std::string file;
    std::string world;
    std::string password;
    long frames = -1;
    std::string out;
    int width = 640, height = 480;
    int originX = 94, originY = 94;
};

// 0 when read, otherwise the exit status.
int readOptions(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--help" || a == "-h") {
            printHelp();
            return -1;
        } else if (a == "--world" && hasValue) {
            o.world = argv[++i];
        } else if (a == "--password" && hasValue) {
            o.password = argv[++i];
        } else if (a == "--out" && hasValue) {
            o.out = argv[++i];
        } else if (a == "--frames" && hasValue) {
            char* end = nullptr;
            o.frames = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || o.frames < 0)
                return fail("--frames is a whole number of game steps, 0 or more") + 1;
        } else if (a == "--size" && hasValue) {
            if (!readPair(argv[++i], 'x', o.width, o.height) || o.width < 1 || o.height < 1 || o.width > 16384 ||
                o.height > 16384)
                return fail("--size is WxH, each side 1 to 16384") + 1;
        } else if (a == "--origin" && hasValue) {
            if (!readPair(argv[++i], ',', o.originX, o.originY))
                return fail("--origin is X,Y") + 1;
        } else if (o.file.empty() && a.rfind("--", 0) != 0) {
            o.file = a;
        } else {
            return fail(kUsage) + 1;
        }
    }
    if (o.file.empty() || (o.frames >= 0) != !o.out.empty())
        return fail(kUsage) + 1;
    return 0;
}

// The world with that ID; failing that, a row number names the world of
// that row.
int findWorld(const QuillopDocument* document, const std::string& name)
{
    if (name.empty())
        return quillop_count(document, QUILLOP_WORLDS) > 0 ? 0 : -1;
    const int byId = quillop_find(document, QUILLOP_WORLDS, name.c_str());
    if (byId >= 0)
        return byId;
    char* end = nullptr;
    const long row = std::strtol(name.c_str(), &end, 10);
    return *end == '\0' && row >= 0 && row < quillop_count(document, QUILLOP_WORLDS) ? int(row) : -1;
}

int playInWindow(const Options& o, const QuillopDocument* document, QuillopWorld* world, Pictures& pictures)
{
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO) != 0 && SDL_Init(SDL_INIT_VIDEO) != 0)
        return fail(std::string("SDL: ") + SDL_GetError());
    SDL_Window* window = SDL_CreateWindow(("Quillop - " + o.file).c_str(), SDL_WINDOWPOS_CENTERED,
                                          SDL_WINDOWPOS_CENTERED, o.width, o.height, 0);
    SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, -1, SDL_RENDERER_PRESENTVSYNC) : nullptr;
    SDL_Texture* texture = renderer ? SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STREAMING,
                                                        o.width, o.height)
                                    : nullptr;
    if (!texture) {
        const std::string error = SDL_GetError();
        SDL_Quit();
        return fail("SDL: " + error);
    }
    Mixer mixer;
    SDL_AudioDeviceID audio = 0;
    if (SDL_WasInit(SDL_INIT_AUDIO)) {
        loadSounds(document, mixer);
        SDL_AudioSpec wanted{}, got{};
        wanted.freq = kRate;
        wanted.format = AUDIO_S16SYS;
        wanted.channels = 2;
        wanted.samples = 1024;
        wanted.callback = mix;
        wanted.userdata = &mixer;
        audio = SDL_OpenAudioDevice(nullptr, 0, &wanted, &got, 0);
        if (audio)
            SDL_PauseAudioDevice(audio, 0);
    }
    Canvas canvas{o.width, o.height, std::vector<std::uint8_t>(std::size_t(o.width) * std::size_t(o.height) * 4)};
    const Uint32 delay = Uint32(std::max(1, quillop_step_delay(document)));
    Uint32 next = SDL_GetTicks() + delay;
    for (bool running = true; running;) {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            if (event.type == SDL_QUIT || (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE))
                running = false;
            else if (event.type == SDL_KEYDOWN && event.key.keysym.sym >= SDLK_1 && event.key.keysym.sym <= SDLK_9) {
                const std::size_t sound = std::size_t(event.key.keysym.sym - SDLK_1);
                if (audio && sound < mixer.sounds.size() && !mixer.sounds[sound].empty()) {
                    SDL_LockAudioDevice(audio);
                    mixer.voices.push_back({&mixer.sounds[sound], 0});
                    SDL_UnlockAudioDevice(audio);
                }
            }
        }
        // As many game steps as the time elapsed holds; a long stall (the
        // window dragged) skips ahead instead of racing to catch up.
        const Uint32 now = SDL_GetTicks();
        int steps = 0;
        for (; SDL_TICKS_PASSED(now, next) && steps < 50; ++steps, next += delay)
            quillop_world_step(world, 1.0);
        if (SDL_TICKS_PASSED(now, next))
            next = now + delay;
        drawWorld(canvas, world, document, pictures, o.originX, o.originY);
        SDL_UpdateTexture(texture, nullptr, canvas.rgba.data(), o.width * 4);
        SDL_RenderClear(renderer);
        SDL_RenderCopy(renderer, texture, nullptr, nullptr);
        SDL_RenderPresent(renderer);
        if (steps == 0)
            SDL_Delay(1);
    }
    if (audio)
        SDL_CloseAudioDevice(audio);
    SDL_DestroyTexture(texture);
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}

int writeFrames(const Options& o, const QuillopDocument* document, QuillopWorld* world, Pictures& pictures)
{
    // No screen and no sound card: SDL's dummy drivers, unless told otherwise.
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
        return fail(std::string("SDL: ") + SDL_GetError());
    for (long i = 0; i < o.frames; ++i)
        quillop_world_step(world, 1.0);
    Canvas canvas{o.width, o.height, std::vector<std::uint8_t>(std::size_t(o.width) * std::size_t(o.height) * 4)};
    drawWorld(canvas, world, document, pictures, o.originX, o.originY);
    SDL_Quit();
    const std::vector<std::uint8_t> rgba = unpremultiplied(canvas);
    if (!stbi_write_png(o.out.c_str(), o.width, o.height, 4, rgba.data(), o.width * 4))
        return fail(o.out + ": could not be written");
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    Options o;
    if (const int status = readOptions(argc, argv, o))
        return status < 0 ? 0 : status;
    QuillopDocument* document = nullptr;
    const QuillopError error = quillop_open_file(o.file.c_str(), o.password.empty() ? nullptr : o.password.c_str(),
                                                 &document);
    if (error != QUILLOP_OK)
        return fail(o.file + ": " + quillop_error_text(error));
    std::unique_ptr<QuillopDocument, void (*)(QuillopDocument*)> closer(document, quillop_close);
    const int index = findWorld(document, o.world);
    if (index < 0)
        return fail(o.file + ": no world" + (o.world.empty() ? std::string() : " with the ID or row \"" + o.world + "\""));
    std::unique_ptr<QuillopWorld, void (*)(QuillopWorld*)> world(quillop_world_new(document, index), quillop_world_free);
    if (!world)
        return fail(o.file + ": the world could not be built");
    Pictures pictures(document);
    return o.out.empty() ? playInWindow(o, document, world.get(), pictures)
                         : writeFrames(o, document, world.get(), pictures);
}
