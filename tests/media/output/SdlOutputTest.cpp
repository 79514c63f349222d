#include "kinds/sounds/CMVT_WavMemory.h"
#include "media/output/CAudioOutput.h"
#include "media/output/CAudioPlayer.h"
#include "media/output/CSoundSource.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace {
// Writes silence and records the positions it is asked for.
class RecordingSource : public CSoundSource {
public:
    int prepare(std::size_t, int frames, int, int, int, std::int64_t) override
    {
        framesPerBuffer = frames;
        return 1;
    }
    int fillBuffer(unsigned char* bytes, std::size_t size, int, std::int64_t position) override
    {
        std::memset(bytes, 0, size);
        positions.push_back(position);
        return 1;
    }
    int generateFloats(float*, int, int, std::int64_t) override { return 0; }
    void end() override { ++ends; }

    int framesPerBuffer = 0;
    int ends = 0;
    std::vector<std::int64_t> positions;
};

void useDummyDriver()
{
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
}
} // namespace

TEST(SdlOutput, RefillsAtRealTimePaceWithoutGaps)
{
    useDummyDriver();
    RecordingSource source;
    CAudioOutput output;
    output.setSource(&source);
    output.configure(-1, 4, 30, 16, 44100, 2);
    if (!output.start())
        GTEST_SKIP() << "no SDL audio driver can be opened here";
    const auto begin = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - begin < std::chrono::seconds(1)) {
        output.poll();
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
    }
    output.stop();
    EXPECT_EQ(source.ends, 1);
    ASSERT_GE(source.positions.size(), 4u);
    for (std::size_t i = 0; i < source.positions.size(); ++i)
        ASSERT_EQ(source.positions[i], static_cast<std::int64_t>(i) * 1323) << "buffer " << i;
    // Four buffers ahead plus about one buffer per 30 ms played.
    const double buffers = static_cast<double>(source.positions.size());
    EXPECT_GT(buffers, 4 + 1000.0 / 30 * 0.6);
    EXPECT_LT(buffers, 4 + 1000.0 / 30 * 1.5);
}

TEST(SdlOutput, AMissingDeviceStartsNothing)
{
    useDummyDriver();
    CAudioPlayer player;
    CAudioSettings settings;
    ASSERT_EQ(settings.setDevice(999), 1);
    player.initialise(settings, std::chrono::milliseconds(0));
    CMVT_WavMemory item;
    ASSERT_EQ(item.setSamples(16, 2, 44100, QByteArray(400, '\1')), 1);
    EXPECT_EQ(player.play(&item, false), 0);
    EXPECT_FALSE(player.output().isOpen());
    EXPECT_EQ(player.state(&item), CAudioPlayer::Stopped);
}
