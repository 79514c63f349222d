#pragma once

#include "media/audio/CSoundSet.h"
#include "tools/bassdrum/CBassDrumParameters.h"
#include "tools/bassdrum/CBassDrumSynth.h"

#include <QDateTime>
#include <QImage>

#include <string>

// What the bass-drum tool window works on: the parameters, the rendered
// mono sound and its preview picture. Every change of a value renders again.
class CBassDrumEngine {
public:
    // The preview file played by "Play Preview", in the temporary folder.
    static constexpr const char* kPreviewFileName = "MarvolineWavewrightPreview.wav";

    CBassDrumEngine();

    const CBassDrumParameters& parameters() const { return m_parameters; }
    // Stores the values, renders and redraws the preview.
    int setParameters(const CBassDrumParameters& parameters);
    // The sheet's defaults, a 1000 x 100 preview, rendered.
    void factoryReset();

    const CSampleBuffer& sound() const { return *m_sound.channel(0); }
    const QImage& preview() const { return m_preview; }

    // 1 when the sound could be rendered; a refused deceleration leaves an
    // empty sound and returns 0.
    int render(const CBassDrumSynth::Progress& progress = {});
    // The rendered sound with the chosen bits and rate and the INFO texts
    // dated `now`. 0 when it cannot be written (bits other than 8, 16, 32
    // or 64, an empty sound, a file error).
    int save(const std::string& path, const QDateTime& now = QDateTime::currentDateTime()) const;
    // Writes the preview file and returns its path, or an empty path.
    std::string savePreviewFile() const;

private:
    void redrawPreview();

    CBassDrumParameters m_parameters;
    CSoundSet m_sound;
    QImage m_preview;
};
