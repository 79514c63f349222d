// The WAV reader as every part of the program meets it: the chunk walk, the
// header line, a sound set, a sound item, and the analysis preview that
// resamples what was read.
#include "FuzzSupport.h"

#include "kinds/sounds/CMVT_WavMemory.h"
#include "media/audio/CSoundSet.h"
#include "media/audio/CWavHeaderInfo.h"
#include "media/audio/CWavReader.h"
#include "tools/analysis/CAnalyzeFundamentalEngine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::start();
    const QByteArray bytes = fuzz::bytesOf(data, size);
    for (const bool whole : {false, true})
        if (const auto layout = CWavReader::locate(bytes, bytes.size(), whole))
            (void)CWavReader::isReadable(*layout);
    const std::string path = fuzz::scratchFile("input.wav", bytes);
    (void)CWavHeaderInfo::describe(path);
    CSoundSet set;
    (void)set.loadWav(path);
    CMVT_WavMemory sound;
    (void)sound.loadFromFile(path);
    CAnalyzeFundamentalEngine engine;
    engine.settings().inputPath = path;
    if (engine.loadSource())
        (void)engine.preparePreview();
    return 0;
}
