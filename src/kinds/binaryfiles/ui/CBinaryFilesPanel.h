#pragma once

#include "grid/ui/CItemsGrid.h"

class CTitledTextView;
class CBinaryFileItem;

// The Binary Files group: ID, source file name (editing it renames only),
// the size and the comments; files come in through the insert command or a
// drop, and go back out through "Save Binary File Source...". Beside the
// grid, the current file's name and size.
class CBinaryFilesPanel : public CItemsGrid {
    Q_OBJECT
public:
    enum Column { ColId = 0, ColSource = 1, ColSpecs = 2, ColComments = 3 };
    enum MenuEntry { EntrySaveSource = 0 };
    static constexpr const char* kInsertTitle = "Insert Binary File(s) Filename(s)";
    static constexpr const char* kSaveTitle = "Save Binary File Source Filename";
    static constexpr const char* kAllFiles = "All Files (*.*)\n*.*\n\n";
    static constexpr const char* kSaveEntry = "&Save Binary File Source...";
    static constexpr const char* kSaveHelp = "Save the source file to a separate file";

    explicit CBinaryFilesPanel(QWidget* parent = nullptr);

    int editorColumnCount() const override { return 4; }
    QString editorHeader(int column) const override;
    QString editorCellText(int column, int item) const override;
    bool editorCellEditable(int column) const override;
    int setEditorCell(int column, int item, const QString& text) override;
    // Inserts the files chosen in the dialog: the last one inserted, or -1.
    int newItem() override;
    void buildMenu(QMenu& menu, int base) override;
    int command(int base, int chosen) override;
    bool acceptsFiles() const override { return true; }
    int dropFile(const QString& path) override;
    void reloadEditorView() override;
    // Files name nothing else, and an empty file is a file like any other:
    // only their IDs can clash.
    bool check() override { return checkUniqueIds(); }

    // Writes the current record's data to a file chosen in the save dialog;
    // 1 when written. The record is not changed.
    int saveSource();
    CTitledTextView* infoView() const { return m_info; }

private:
    CTitledTextView* m_info;
};
