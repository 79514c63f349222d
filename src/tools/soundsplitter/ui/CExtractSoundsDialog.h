#pragma once

#include "params/ui/CParametersDialog.h"
#include "tools/soundsplitter/CSilenceSplitter.h"

#include <functional>
#include <memory>

class CMVT_ParamButton;
class CMVT_ParamInfo;
class CSoundSet;
class CWaveformCuts;

// Extract Sounds: loads a long recording, shows where it would be cut as
// the threshold and the two lengths change, and writes the sounds as
// numbered WAV files into a folder or adds them to the active document.
class CExtractSoundsDialog : public CParametersDialog {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Extract Sounds";
    // Adds the sounds to the document (answers how many were added); empty
    // when no document is open.
    using AddToDocument = std::function<int(const CSoundSet& sound,
                                            const std::vector<CSilenceSplitter::Segment>& segments,
                                            const std::string& base)>;

    explicit CExtractSoundsDialog(AddToDocument addToDocument, QWidget* parent = nullptr);
    ~CExtractSoundsDialog() override;

    bool loadSource(const std::string& path);
    const std::vector<CSilenceSplitter::Segment>& segments() const { return m_segments; }
    CSilenceSplitter::Settings settings() const;
    // "<base>_001.wav" ... into the destination folder; the result line says what happened.
    void writeFiles();
    void addToDocument();
    CMVT_ParamInfo* resultLine() const { return m_result; }
    CWaveformCuts* waveform() const { return m_waveform; }

private:
    void onItem(CMVT_Parameter* item);
    void recut();
    std::string baseName() const;

    AddToDocument m_addToDocument;
    std::unique_ptr<CSoundSet> m_sound;
    std::string m_sourcePath;
    std::vector<CSilenceSplitter::Segment> m_segments;
    CWaveformCuts* m_waveform;
    CMVT_ParamInfo* m_found;
    CMVT_ParamInfo* m_result;
};
