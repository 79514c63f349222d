#include "media/image/FfmpegCalls.h"

#include <QtGlobal>

#include <dlfcn.h>

#include <array>

namespace {
#define QUILLOP_SONAME(library, major) "lib" library ".so." AV_STRINGIFY(major)
// The versions the program was built against, as the build linked them.
constexpr std::array<const char*, 4> kLibraries = {
    QUILLOP_SONAME("avutil", LIBAVUTIL_VERSION_MAJOR),
    QUILLOP_SONAME("avcodec", LIBAVCODEC_VERSION_MAJOR),
    QUILLOP_SONAME("avformat", LIBAVFORMAT_VERSION_MAJOR),
    QUILLOP_SONAME("swscale", LIBSWSCALE_VERSION_MAJOR),
};
#undef QUILLOP_SONAME

struct Loaded {
    FfmpegCalls calls;
    bool complete = false;
    std::string error;
};

Loaded load()
{
    Loaded loaded;
    std::array<void*, kLibraries.size()> handles{};
    for (std::size_t i = 0; i < kLibraries.size(); ++i) {
        // Kept open for the life of the program: the calls point into them.
        handles[i] = dlopen(kLibraries[i], RTLD_NOW | RTLD_LOCAL);
        if (!handles[i]) {
            const char* why = dlerror();
            loaded.error = why ? why : std::string("cannot load ") + kLibraries[i];
            return loaded;
        }
    }
    const auto find = [&](const char* name) -> void* {
        for (void* handle : handles)
            if (void* symbol = dlsym(handle, name))
                return symbol;
        loaded.error = std::string("FFmpeg lacks ") + name;
        return nullptr;
    };
#define QUILLOP_FFMPEG_FIND(name) loaded.calls.name = reinterpret_cast<decltype(&::name)>(find(#name));
    QUILLOP_FFMPEG_CALLS(QUILLOP_FFMPEG_FIND)
#undef QUILLOP_FFMPEG_FIND
    loaded.complete = loaded.error.empty();
    return loaded;
}

const Loaded& loadedOnce()
{
    static const Loaded loaded = [] {
        Loaded tried = load();
        // Movies then fail as unreadable or unwritable files; this says why.
        if (!tried.complete)
            qWarning("Movies cannot be read or written: %s", tried.error.c_str());
        return tried;
    }();
    return loaded;
}
} // namespace

const FfmpegCalls* ffmpeg()
{
    const Loaded& loaded = loadedOnce();
    return loaded.complete ? &loaded.calls : nullptr;
}

std::string ffmpegLoadError()
{
    return loadedOnce().error;
}
