#include "tools/midi/ui/CDocConvertToMidi.h"

#include "params/ui/CProgressWindow.h"
#include "core/IPrompter.h"
#include "params/ui/CMVT_ParameterList.h"
#include "params/ui/CUiServices.h"
#include "params/ui/WaitCursor.h"
#include "tools/analysis/CAwaFile.h"

#include <atomic>

CDocConvertToMidi::CDocConvertToMidi(QWidget* parent)
    : CMVT_ParametersDocument(parent), m_progress(new CProgressWindow(this))
{
    setName("No Name");
}

CDocConvertToMidi::~CDocConvertToMidi() = default;

void CDocConvertToMidi::buildSheet()
{
    place(heading, 0, "", "Convert Fundamental To Midi");
    place(source, 1, "", "Source");
    wav.setMode(0);
    place(wav, 2, "wav", "Input &Sample Filename");
    awa.setMode(0);
    awa.setFilter(CAwaFile::kFilter);
    place(awa, 2, "awa", "&Input Audio WAV Analysis Filename");
    place(info, 2, "", CMidiSourceFiles::kNoAwaText);
    place(load, 2, "", "&Load AWA Source");
    place(conversion, 1, "", "Conversion");
    tempo.setMinimum(1.0);
    tempo.setMaximum(1000.0);
    place(tempo, 2, "tempo", "&Tempo In BPM");
    for (CMVT_ParamInteger* ticks : {&blackTicks, &noteTicks, &controllerTicks}) {
        ticks->setMinimum(1);
        ticks->setMaximum(5000);
    }
    place(blackTicks, 2, "blackTicks", "&Black Resolution In Number Of Ticks");
    place(noteTicks, 2, "noteTicks", "&Note Resolution In Number Of Ticks");
    place(controllerTicks, 2, "controllerTicks", "&Controllers Resolution In Number Of Ticks");
    bendRange.setMinimum(0.0);
    bendRange.setMaximum(64.0);
    place(bendRange, 2, "bendRange", "Pitch Bend &Range");
    place(bendNote, 2, "", "A value of 0 disables the pitch bend feature.");
    tolerance.setMinimum(0.0);
    tolerance.setMaximum(2.0);
    place(tolerance, 2, "tolerance", "New Note &Amplitude Tolerance");
    place(destination, 1, "", "Destination");
    output.setMode(1);
    output.setFilter(kMidiFilter);
    place(output, 2, "output", "Output &Midi Filename");
    place(run, 1, "", "Do &Conversion");
}

void CDocConvertToMidi::factoryReset()
{
    const CMidiConversionSettings defaults;
    tempo.setValue(defaults.tempoBpm);
    blackTicks.setValue(defaults.blackTicks);
    noteTicks.setValue(defaults.noteTicks);
    controllerTicks.setValue(defaults.controllerTicks);
    bendRange.setValue(defaults.bendRange);
    tolerance.setValue(defaults.tolerance);
    for (CMVT_ParamFilename* file : {&wav, &awa, &output}) {
        file->setPath("");
        file->refresh();
    }
}

CMidiConversionSettings CDocConvertToMidi::settings() const
{
    CMidiConversionSettings s;
    s.tempoBpm = tempo.value();
    s.blackTicks = blackTicks.value();
    s.noteTicks = noteTicks.value();
    s.controllerTicks = controllerTicks.value();
    s.bendRange = bendRange.value();
    s.tolerance = tolerance.value();
    return s;
}

void CDocConvertToMidi::itemNotification(CMVT_Parameter* item)
{
    if (item == &load)
        loadSources();
    else if (item == &run)
        convert();
}

void CDocConvertToMidi::loadSources()
{
    info.setText("Loading...");
    sheet()->repaint();
    {
        WaitCursor wait;
        m_sources.load(awa.path(), wav.path());
    }
    info.setText(m_sources.infoText());
}

int CDocConvertToMidi::convert()
{
    if (output.path().empty()) {
        CUiServices::prompter().tell(kNoDestinationMessage, IPrompter::Icon::Exclamation);
        return 0;
    }
    const CMidiSourceFiles& sources = m_sources;
    const std::string path = output.path();
    const CMidiConversionSettings s = settings();
    std::atomic<int> written{0};
    runTask(*m_progress, [&](CTaskRunner& runner) { written = sources.convert(path, s, runner); });
    output.refresh();
    return written;
}
