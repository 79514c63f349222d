#pragma once

#include "params/ui/CMVT_ParamButton.h"
#include "params/ui/CMVT_ParamFilename.h"
#include "params/ui/CMVT_ParamFloat.h"
#include "params/ui/CMVT_ParamInfo.h"
#include "params/ui/CMVT_ParamInteger.h"
#include "params/ui/CMVT_ParamTitle.h"
#include "params/ui/CMVT_ParametersDocument.h"
#include "tools/midi/CMidiSourceFiles.h"

class CProgressWindow;

// The "Convert To Midi" tool window: reads an analysis and the recording it
// was made from, and writes a MIDI file of one melodic line with its pitch
// bends and loudness, under a progress window.
class CDocConvertToMidi : public CMVT_ParametersDocument {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Convert To Midi";
    static constexpr const char* kMidiFilter = "MIDI Music Notation (*.mid)\n*.mid\nAll Files (*.*)\n*.*\n\n";
    static constexpr const char* kNoDestinationMessage = "No destination .MID file specified !";

    explicit CDocConvertToMidi(QWidget* parent = nullptr);
    ~CDocConvertToMidi() override;

    std::string toolTitle() const override { return kTitle; }
    void buildSheet() override;
    void factoryReset() override;
    void itemNotification(CMVT_Parameter* item) override;

    void loadSources();
    // 1 when the MIDI file was written.
    int convert();

    const CMidiSourceFiles& sources() const { return m_sources; }
    CProgressWindow& progress() const { return *m_progress; }

    CMVT_ParamTitle heading, source, conversion, destination;
    CMVT_ParamFilename wav, awa;
    CMVT_ParamInfo info;
    CMVT_ParamButton load;
    CMVT_ParamFloat tempo;
    CMVT_ParamInteger blackTicks, noteTicks, controllerTicks;
    CMVT_ParamFloat bendRange;
    CMVT_ParamInfo bendNote;
    CMVT_ParamFloat tolerance;
    CMVT_ParamFilename output;
    CMVT_ParamButton run;

private:
    CMidiConversionSettings settings() const;

    CMidiSourceFiles m_sources;
    CProgressWindow* m_progress;
};
