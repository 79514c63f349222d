#include "tools/bassdrum/CBassDrumEngine.h"

#include "tools/bassdrum/CBassDrumPreview.h"
#include "tools/bassdrum/CBassDrumWavInfo.h"

#include <QDir>

CBassDrumEngine::CBassDrumEngine()
{
    m_sound.clear();
    m_sound.addChannel();
    factoryReset();
}

int CBassDrumEngine::setParameters(const CBassDrumParameters& parameters)
{
    m_parameters = parameters;
    return render();
}

void CBassDrumEngine::factoryReset()
{
    m_parameters = CBassDrumParameters{};
    render();
}

int CBassDrumEngine::render(const CBassDrumSynth::Progress& progress)
{
    m_sound.setSampleRate(m_parameters.sampleRate);
    const int done = CBassDrumSynth::render(m_parameters, *m_sound.channel(0), progress);
    redrawPreview();
    return done;
}

void CBassDrumEngine::redrawPreview()
{
    m_preview = CBassDrumPreview::draw(sound(), m_parameters.previewWidth, m_parameters.previewHeight);
}

int CBassDrumEngine::save(const std::string& path, const QDateTime& now) const
{
    if (m_parameters.sampleRate <= 0)
        return 0;
    return m_sound.writeWav(path, 0, sound().count(), m_parameters.bitsPerSample,
                            static_cast<std::uint32_t>(m_parameters.sampleRate), 0, 1,
                            CBassDrumWavInfo::texts(now));
}

std::string CBassDrumEngine::savePreviewFile() const
{
    const std::string path =
        QDir(QDir::tempPath()).filePath(QString::fromLatin1(kPreviewFileName)).toLocal8Bit().toStdString();
    return save(path) ? path : std::string();
}
