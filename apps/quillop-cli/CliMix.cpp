#include "CliCommand.h"
#include "CliSounds.h"

#include "media/output/CMixRenderer.h"

#include <QFile>

#include <cmath>
#include <cstdio>

namespace {
const char* const kUsage = "mix FILE.mrc ID... -o OUT.wav [--seconds S] [--rate HZ] [--loop]";

int runMix(const QStringList& args)
{
    CliSoundArgs options;
    if (!parseSoundArgs(args, true, options))
        return fail(QStringLiteral("usage: %1 [--buffers N] [--length MS]").arg(QLatin1String(kUsage)));
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
    return {"mix", kUsage, "renders sounds of a document through the mixer into a WAV file", runMix};
}
