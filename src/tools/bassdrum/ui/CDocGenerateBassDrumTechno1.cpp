#include "tools/bassdrum/ui/CDocGenerateBassDrumTechno1.h"

#include "media/output/CAudioPlayer.h"
#include "core/IPrompter.h"
#include "params/ui/CUiServices.h"
#include "params/ui/WaitCursor.h"

#include <QDir>

namespace {
void integer(CMVT_ParamInteger& item, std::int64_t minimum, std::int64_t maximum)
{
    item.setMinimum(minimum);
    item.setMaximum(maximum);
}

void real(CMVT_ParamFloat& item, double minimum, double maximum)
{
    item.setMinimum(minimum);
    item.setMaximum(maximum);
}
} // namespace

CDocGenerateBassDrumTechno1::CDocGenerateBassDrumTechno1(CAudioPlayer* player, QWidget* parent)
    : CMVT_ParametersDocument(parent), m_player(player)
{
    setName("No Name");
}

CDocGenerateBassDrumTechno1::~CDocGenerateBassDrumTechno1()
{
    if (m_player)
        m_player->stop(&m_previewSound);
}

void CDocGenerateBassDrumTechno1::buildSheet()
{
    place(heading, 0, "", "Bass Drum Techno 1");
    place(play, 1, "", "&Play Preview");
    integer(width, 32, 2048);
    place(width, 1, "width", "Preview Display &Width In Pixels");
    integer(height, 32, 2048);
    place(height, 1, "height", "Preview Display &Height In Pixels");
    integer(bits, 8, 64);
    place(bits, 1, "bits", "Sample Resolution 8/16/32/64 &Bits");
    integer(rate, 4000, 192000);
    place(rate, 1, "rate", "Sample &Frequency");
    destination.setMode(1);
    place(destination, 1, "destination", "Render &Destination Filename");
    place(save, 1, "", "&Render And Save");
    place(picture, 1, "", "Preview");
    place(pulses, 0, "", "Pulses");
    real(initialSpeed, 0.0, 20000.0);
    place(initialSpeed, 1, "initialSpeed", "&Initial Speed");
    real(deceleration, 0.05, 20000.0);
    place(deceleration, 1, "deceleration", "&Deceleration");
    integer(levels, 1, 1);
    place(levels, 1, "levels", "Nb De&celeration Levels");
    real(startFrequency, 1.0, 96000.0);
    place(startFrequency, 1, "startFrequency", "&Starting Frequency In Hz");
    real(endFrequency, 1.0, 96000.0);
    place(endFrequency, 1, "endFrequency", "&Ending Frequency In Hz");
}

void CDocGenerateBassDrumTechno1::factoryReset()
{
    const CBassDrumParameters defaults;
    width.setValue(defaults.previewWidth);
    height.setValue(defaults.previewHeight);
    bits.setValue(defaults.bitsPerSample);
    rate.setValue(defaults.sampleRate);
    // A file in the user's home folder: always there and writable, and
    // where a user looks first for what a tool made.
    destination.setPath(QDir::home().filePath(QString::fromLatin1(kDefaultFileName)).toLocal8Bit().toStdString());
    destination.refresh();
    initialSpeed.setValue(defaults.initialSpeed);
    deceleration.setValue(defaults.deceleration);
    levels.setValue(defaults.decelerationLevels);
    startFrequency.setValue(defaults.startFrequency);
    endFrequency.setValue(defaults.endFrequency);
    render();
}

CBassDrumParameters CDocGenerateBassDrumTechno1::parameters() const
{
    CBassDrumParameters p;
    p.previewWidth = static_cast<int>(width.value());
    p.previewHeight = static_cast<int>(height.value());
    p.bitsPerSample = static_cast<int>(bits.value());
    p.sampleRate = static_cast<int>(rate.value());
    p.destination = destination.path();
    p.initialSpeed = initialSpeed.value();
    p.deceleration = deceleration.value();
    p.decelerationLevels = static_cast<int>(levels.value());
    p.startFrequency = startFrequency.value();
    p.endFrequency = endFrequency.value();
    return p;
}

void CDocGenerateBassDrumTechno1::itemNotification(CMVT_Parameter* item)
{
    if (item == &play)
        playPreview();
    else if (item == &save)
        renderAndSave();
    else if (item != &destination)
        render();
}

void CDocGenerateBassDrumTechno1::render()
{
    m_engine.setParameters(parameters());
    picture.setPicture(m_engine.preview());
}

int CDocGenerateBassDrumTechno1::renderAndSave()
{
    {
        WaitCursor wait;
        render();
    }
    const int saved = m_engine.save(destination.path());
    destination.refresh();
    if (!saved)
        CUiServices::prompter().tell(kCannotSave, IPrompter::Icon::Exclamation);
    else
        CUiServices::showStatus("Bass drum written to " + destination.path());
    return saved;
}

int CDocGenerateBassDrumTechno1::playPreview()
{
    if (m_player)
        m_player->stop(&m_previewSound);
    const std::string path = m_engine.savePreviewFile();
    if (path.empty() || !m_previewSound.loadFromFile(path))
        return 0;
    return m_player ? m_player->play(&m_previewSound, false) : 1;
}
