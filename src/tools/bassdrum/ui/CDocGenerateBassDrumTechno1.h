#pragma once

#include "kinds/sounds/CMVT_WavMemory.h"
#include "params/ui/CMVT_ParamBitmap.h"
#include "params/ui/CMVT_ParamButton.h"
#include "params/ui/CMVT_ParamFilename.h"
#include "params/ui/CMVT_ParamFloat.h"
#include "params/ui/CMVT_ParamInteger.h"
#include "params/ui/CMVT_ParamTitle.h"
#include "params/ui/CMVT_ParametersDocument.h"
#include "tools/bassdrum/CBassDrumEngine.h"

class CAudioPlayer;

// The "Generate Bass Drum Techno 1" tool window: a sine gliding down from a
// start to an end frequency, drawn as a waveform in the sheet every time a
// value changes, played on request and saved as a WAV file.
class CDocGenerateBassDrumTechno1 : public CMVT_ParametersDocument {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Generate Bass Drum Techno 1";
    static constexpr const char* kDefaultFileName = "RenderedBassdrum.wav";
    static constexpr const char* kCannotSave = "The sound could not be saved to this file.";

    // The preview plays on `player` (none: Play Preview only writes the
    // preview file).
    explicit CDocGenerateBassDrumTechno1(CAudioPlayer* player, QWidget* parent = nullptr);
    ~CDocGenerateBassDrumTechno1() override;

    std::string toolTitle() const override { return kTitle; }
    void buildSheet() override;
    void factoryReset() override;
    void itemNotification(CMVT_Parameter* item) override;
    void valuesApplied() override { render(); }

    // The sheet's values into the engine, rendered and drawn again.
    void render();
    // 1 when the file was written.
    int renderAndSave();
    // 1 when the preview started (or was written, without a player).
    int playPreview();

    const CBassDrumEngine& engine() const { return m_engine; }
    const CMVT_WavMemory& previewSound() const { return m_previewSound; }

    CMVT_ParamTitle heading, pulses;
    CMVT_ParamButton play;
    CMVT_ParamInteger width, height, bits, rate;
    CMVT_ParamFilename destination;
    CMVT_ParamButton save;
    CMVT_ParamBitmap picture;
    CMVT_ParamFloat initialSpeed, deceleration;
    CMVT_ParamInteger levels;
    CMVT_ParamFloat startFrequency, endFrequency;

private:
    CBassDrumParameters parameters() const;

    CBassDrumEngine m_engine;
    CAudioPlayer* m_player;
    CMVT_WavMemory m_previewSound;
};
