#pragma once

#include "params/ui/CParametersDialog.h"
#include "tools/renamer/CFileRenamer.h"

class CMVT_ParamFilenames;
class CMVT_ParamInfo;
class QTreeWidget;

// Rename Files: a list of files, a find/replace or a numbering pattern, and
// the old and new names side by side before anything is renamed. Names
// that would collide or are not valid are shown in red and stop the run.
class CRenameFilesDialog : public CParametersDialog {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Rename Files";

    explicit CRenameFilesDialog(QWidget* parent = nullptr);

    CFileRenamer::Rule rule() const;
    void refreshPreview();
    // Renames when the preview has no problem; the list then holds the new names.
    bool renameFiles();
    CMVT_ParamFilenames* files() const { return m_files; }
    QTreeWidget* preview() const { return m_preview; }
    CMVT_ParamInfo* resultLine() const { return m_result; }

private:
    void onItem(CMVT_Parameter* item);

    CMVT_ParamFilenames* m_files;
    CMVT_ParamInfo* m_result;
    QTreeWidget* m_preview;
    std::vector<CFileRenamer::Entry> m_entries;
};
