#include "CliCommand.h"
#include "CliSounds.h"

#include "media/output/CAudioPlayer.h"

#include <QCoreApplication>
#include <QTimer>

#include <csignal>
#include <cstdio>

namespace {
const char* const kUsage = "play FILE.mrc ID... [--loop] [--rate HZ]";
const char* const kOptions = "--loop\tplays the sounds again and again until the program is stopped\n"
                             "--rate HZ\t22050, 44100 or 48000 (44100)\n"
                             "--buffers N\tbuffers of the sound queue\n"
                             "--length MS\tlength of one buffer, in milliseconds";

volatile std::sig_atomic_t g_interrupted = 0;

extern "C" void onInterrupt(int) { g_interrupted = 1; }

// Ctrl+C only raises a flag: the event loop sees it and stops the sound the
// ordinary way, so the device is closed cleanly.
class CInterruptGuard {
public:
    CInterruptGuard() { m_previous = std::signal(SIGINT, onInterrupt); }
    ~CInterruptGuard() { std::signal(SIGINT, m_previous == SIG_ERR ? SIG_DFL : m_previous); }

private:
    void (*m_previous)(int) = SIG_DFL;
};

bool anyVoicePlaying(CAudioPlayer& player)
{
    for (int i = 0; i < player.mixer().voiceCount(); ++i)
        if (player.mixer().voice(i).isPlaying())
            return true;
    return false;
}

int runPlay(const QStringList& args)
{
    CliSoundArgs options;
    if (!parseSoundArgs(args, false, options))
        return fail(usageWithOptions(kUsage, kOptions));
    CliSoundDocument document;
    if (!loadSounds(options, document))
        return 1;

    CAudioPlayer player;
    player.initialise(options.settings);
    const int started = player.playTogether(document.items, options.loop);
    if (!player.output().isOpen())
        return fail(QStringLiteral("the sound device could not be opened"));
    if (started == 0) {
        player.stopAll();
        return fail(QStringLiteral("none of the sounds has anything that can be played"));
    }
    if (started < static_cast<int>(document.items.size()))
        std::fprintf(stderr, "quillop-cli: %d of %d sounds have nothing that can be played\n",
                     static_cast<int>(document.items.size()) - started, static_cast<int>(document.items.size()));

    g_interrupted = 0;
    CInterruptGuard guard;
    CAudioOutput& output = player.output();
    // When the last sound has been mixed, the buffers already handed to the
    // device still hold its end: playback stops once all of them have been
    // played and refilled, i.e. when the position has moved a whole ring on.
    std::int64_t endPosition = -1;
    int exitCode = 0;
    QTimer watch;
    watch.setInterval(10);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (g_interrupted) {
            exitCode = 130;
        } else if (!output.isOpen()) {
            exitCode = fail(QStringLiteral("the sound device stopped"));
        } else {
            if (endPosition < 0 && !anyVoicePlaying(player))
                endPosition = output.position() + std::int64_t(output.bufferCount()) * output.framesPerBuffer();
            if (endPosition < 0 || output.position() < endPosition)
                return;
        }
        watch.stop();
        QCoreApplication::quit();
    });
    watch.start();
    QCoreApplication::exec();
    player.stopAll();
    return exitCode;
}
} // namespace

CliCommand playCommand()
{
    return {"play", kUsage, "plays sounds of a document on the sound device until they end", runPlay, kOptions, kStoppableExits};
}
