#include "CliCommand.h"
#include "CliSounds.h"

#include "media/output/CMixRenderer.h"

#include <QFile>

#include <cmath>
#include <cstdio>

namespace {
const char* const kUsage = "mix FILE.mrc ID... -o OUT.wav [--seconds S] [--rate HZ] [--loop]";
const char* const kOptions = "--loop\tplays the sounds again and again (give --seconds)\n"
                             "--rate HZ\t22050, 44100 or 48000 (44100)\n"
                             "--buffers N\tbuffers of the sound queue\n"
                             "--length MS\tlength of one buffer, in milliseconds\n"
                             "-o OUT.wav\twhere the mix goes\n"
                             "--seconds S\tlength of the mix (until the last sound ends)";

int runMix(const QStringList& args)
{
    CliSoundArgs options;
    if (!parseSoundArgs(args, true, options))
        return fail(usageWithOptions(kUsage, kOptions));
    CliSoundDocument document;
    if (!loadSounds(options, document))
        return 1;

    CMixRenderer renderer(options.settings);
    const int started = renderer.start(document.items, options.loop);
    if (started < static_cast<int>(document.items.size()))
        std::fprintf(stderr, "quillop-cli: %d of %d sounds have nothing that can be played\n",
                     static_cast<int>(document.items.size()) - started, static_cast<int>(document.items.size()));

    const int rate = options.settings.rate();
    const std::int64_t frames = options.seconds < 0.0 ? -1 : std::llround(options.seconds * rate);
    QFile file(options.output);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(QStringLiteral("%1: cannot be written").arg(options.output));
    if (!renderer.writeWav(file, frames) || !file.flush()) {
        file.close();
        file.remove();
        return fail(QStringLiteral("%1: the mix could not be written (a WAV file holds at most 4 GB)").arg(options.output));
    }
    const std::int64_t rendered = (file.size() - CMixRenderer::kWavHeaderBytes) / renderer.bytesPerFrame();
    std::printf("%s: %lld frames, %d Hz, %d bits, %d channels, %.3f s\n", qPrintable(options.output),
                static_cast<long long>(rendered), rate, options.settings.bits(), options.settings.channels(),
                static_cast<double>(rendered) / rate);
    return 0;
}
} // namespace

CliCommand mixCommand()
{
    return {"mix", kUsage, "renders sounds of a document through the mixer into a WAV file", runMix, kOptions};
}
