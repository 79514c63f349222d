#include "tools/soundsplitter/ui/CExtractSoundsDialog.h"

#include "media/audio/CSoundSet.h"
#include "params/ui/CMVT_ParamButton.h"
#include "params/ui/CMVT_ParamFilename.h"
#include "params/ui/CMVT_ParamFloat.h"
#include "params/ui/CMVT_ParamInfo.h"
#include "params/ui/CMVT_ParamInteger.h"
#include "params/ui/CMVT_ParameterList.h"
#include "tools/soundsplitter/ui/CWaveformCuts.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {
const char* const kWavFilter = "Windows WAV Audio File (*.wav)\n*.wav\nAll Files (*.*)\n*.*\n\n";
constexpr int kOpen = 0;
constexpr int kFolder = 2;
} // namespace

CExtractSoundsDialog::CExtractSoundsDialog(AddToDocument addToDocument, QWidget* parent)
    : CParametersDialog(kTitle, true, parent), m_addToDocument(std::move(addToDocument)),
      m_waveform(new CWaveformCuts(this))
{
    const CSilenceSplitter::Settings defaults;
    CMVT_ParameterList* list = sheet();
    list->addTitle(0, "", kTitle);
    list->addInfo(1, "", "Extract every sound of a large audio file to separate files.");
    list->addFilename(1, "source", "&Source WAV Filename", kOpen, kWavFilter, "");
    list->addFloat(1, "threshold", "Silence &Threshold In dB Of Full Scale", -120.0, 0.0, defaults.thresholdDb);
    list->addInteger(1, "minsilence", "Minimum S&ilence In Milliseconds", 0, 600000, defaults.minSilenceMs);
    list->addInteger(1, "minsound", "Minimum S&ound In Milliseconds", 0, 600000, defaults.minSoundMs);
    m_found = list->addInfo(1, "found", "No recording loaded.");
    list->addFilename(1, "destination", "&Destination Folder", kFolder, "", "");
    list->addButton(1, "write", "&Write WAV Files");
    CMVT_ParamButton* add = list->addButton(1, "add", "&Add to the Sounds of the Active Document");
    add->setEnabled(bool(m_addToDocument));
    m_result = list->addInfo(1, "result", "");
    m_waveform->setFixedHeight(160);
    addBelow(m_waveform);
    connect(this, &CParametersDialog::itemNotification, this, &CExtractSoundsDialog::onItem);
    resize(680, 820);
}

CExtractSoundsDialog::~CExtractSoundsDialog() = default;

CSilenceSplitter::Settings CExtractSoundsDialog::settings() const
{
    CSilenceSplitter::Settings s;
    s.thresholdDb = sheet()->findAs<CMVT_ParamFloat>("threshold")->value();
    s.minSilenceMs = int(sheet()->findAs<CMVT_ParamInteger>("minsilence")->value());
    s.minSoundMs = int(sheet()->findAs<CMVT_ParamInteger>("minsound")->value());
    return s;
}

void CExtractSoundsDialog::onItem(CMVT_Parameter* item)
{
    const std::string& name = item->name();
    if (name == "source")
        loadSource(sheet()->findAs<CMVT_ParamFilename>("source")->path());
    else if (name == "threshold" || name == "minsilence" || name == "minsound")
        recut();
    else if (name == "write")
        writeFiles();
    else if (name == "add")
        addToDocument();
}

bool CExtractSoundsDialog::loadSource(const std::string& path)
{
    if (path == m_sourcePath && m_sound)
        return true;
    auto sound = std::make_unique<CSoundSet>();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool loaded = QFileInfo(QString::fromStdString(path)).isFile() && sound->loadWav(path);
    QApplication::restoreOverrideCursor();
    m_sourcePath = path;
    m_sound = loaded ? std::move(sound) : nullptr;
    m_waveform->setSound(m_sound.get());
    if (auto* source = sheet()->findAs<CMVT_ParamFilename>("source"); source && source->path() != path) {
        source->setPath(path);
        source->refresh();
    }
    if (!loaded)
        m_found->setText(path.empty() ? "No recording loaded." : "This file is not a WAV file this program reads.");
    recut();
    return loaded;
}

void CExtractSoundsDialog::recut()
{
    m_segments = m_sound ? CSilenceSplitter::split(*m_sound, settings()) : std::vector<CSilenceSplitter::Segment>{};
    m_waveform->setSegments(m_segments, settings().thresholdDb);
    if (!m_sound)
        return;
    char text[160];
    std::snprintf(text, sizeof text, "%zu sounds found in %.2f s (%d channels, %.0f Hz).", m_segments.size(),
                  m_sound->frameCount() / m_sound->sampleRate(), m_sound->channels(), m_sound->sampleRate());
    m_found->setText(text);
}

std::string CExtractSoundsDialog::baseName() const
{
    return QFileInfo(QString::fromStdString(m_sourcePath)).completeBaseName().toStdString();
}

void CExtractSoundsDialog::writeFiles()
{
    const std::string folder = sheet()->findAs<CMVT_ParamFilename>("destination")->path();
    if (!m_sound || m_segments.empty()) {
        m_result->setText("There is no sound to write.");
        return;
    }
    if (folder.empty() || !QDir().mkpath(QString::fromStdString(folder))) {
        m_result->setText("Choose a destination folder first.");
        return;
    }
    std::string failed;
    const int written = CSilenceSplitter::writeWavFiles(*m_sound, m_segments, folder, baseName(), &failed);
    m_result->setText(std::to_string(written) + " WAV files written."
                      + (failed.empty() ? "" : " Stopped at " + failed + ": it exists already or cannot be written."));
}

void CExtractSoundsDialog::addToDocument()
{
    if (!m_addToDocument || !m_sound || m_segments.empty()) {
        m_result->setText("There is no sound to add.");
        return;
    }
    const int added = m_addToDocument(*m_sound, m_segments, baseName());
    m_result->setText(std::to_string(added) + " sounds added to the document.");
}
