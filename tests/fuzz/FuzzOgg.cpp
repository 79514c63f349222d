// Ogg sounds: the stream information, a sound item read from the file, and
// decoding the whole stream as a voice would.
#include "FuzzSupport.h"

#include "kinds/sounds/CMVT_WavMemory.h"
#include "media/audio/COggVorbisDecoder.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::start();
    const QByteArray bytes = fuzz::bytesOf(data, size);
    COggStreamInfo info;
    (void)COggVorbisDecoder::readInfo(bytes, info);
    CMVT_WavMemory sound;
    (void)sound.loadFromFile(fuzz::scratchFile("input.ogg", bytes));
    COggVorbisDecoder decoder;
    if (!decoder.open(bytes, 4096))
        return 0;
    std::vector<float> out(2 * 1024);
    // Every decode call consumes input or ends the stream; the bound only
    // keeps a stream that claims endless silence from taking the whole run.
    for (int calls = 0; calls < 4096 && !decoder.ended(); ++calls)
        if (decoder.decode(out.data(), 1024) <= 0)
            break;
    return 0;
}
