#pragma once

#include "params/ui/CMVT_Parameter.h"

#include <string>
#include <vector>

class QMenu;

// A list of paths, one per line. Files and folders can be dropped on it or
// picked from its context menu; the list can be sorted.
class CMVT_ParamFilenames : public CMVT_Parameter {
    Q_OBJECT
public:
    static constexpr const char* kAddFolderContents = "Do you want to add the contents of folders and subfolders ?";
    // How many characters the list takes when typed into.
    static constexpr int kEditLimit = 1 << 20;

    explicit CMVT_ParamFilenames(QWidget* parent = nullptr);
    const char* kindName() const override { return "Filenames"; }

    void setFilter(const std::string& filter) { m_filter = filter; }
    void setText(const std::string& text);
    const std::string& text() const;
    // The non-empty lines.
    std::vector<std::string> fileNames() const;

    // Appends names, one per line, scrolls to the end and notifies.
    void appendNames(const std::vector<std::string>& names);
    // A drop: folders among the paths are expanded when the user agrees.
    void addDroppedPaths(const std::vector<std::string>& paths);

    void sortNames(bool ascending);
    void addFiles();
    void addFolder();

    // "Edit...", "Sort All Ascending", "Sort All Descending", "Files", "Folders".
    QMenu* createContextMenu(QWidget* parent);

    CMVT_EditTyped* edit() const override { return m_edit; }
    std::string statusText() const override;

    bool hasValue() const override { return true; }
    std::string valueText() const override;
    void setValueText(const std::string& text) override;
    void rememberDefault() override { m_default = text(); }
    void resetToDefault() override { setText(m_default); }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    CMVT_EditTyped* m_edit;
    std::string m_filter;
    std::string m_default;
};
