#pragma once

#include "params/ui/CParametersDialog.h"

class CMVT_ParamFilenames;
class CMVT_ParamInfo;

// The Resources Files Manager: a list of files, a button that keeps only
// resource files, and one that rewrites them as "-NEW-" files. An existing
// "-NEW-" file is replaced only after asking.
class CResourceFilesManagerDialog : public CParametersDialog {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Resources Files Manager";
    static constexpr const char* kReplaceQuestion = "%1 already exists.\n\nDo you want to replace it ?";

    explicit CResourceFilesManagerDialog(QWidget* parent = nullptr);

    void filterFiles();
    void convertFiles();
    CMVT_ParamFilenames* sources() const { return m_sources; }
    // What the last conversion did, under the buttons.
    CMVT_ParamInfo* summary() const { return m_summary; }

private:
    void onItem(CMVT_Parameter* item);

    CMVT_ParamFilenames* m_sources;
    CMVT_ParamInfo* m_summary;
};
