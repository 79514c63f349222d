#pragma once

#include "grid/ui/CItemsGrid.h"

#include <vector>

// An items grid whose editor columns are all typed cells described by a
// table of titles and editable flags. The editor fills and stores cell
// values; texts typed or found-and-replaced, and pastes from another row,
// go through the same two operations, so each field is read and written in
// one place only.
class CTypedItemsGrid : public CItemsGrid {
public:
    struct Column {
        const char* title;
        bool editable;
    };

    CTypedItemsGrid(int group, std::vector<Column> columns, QWidget* parent = nullptr);

    int editorColumnCount() const override { return static_cast<int>(m_columns.size()); }
    QString editorHeader(int column) const override;
    bool editorCellEditable(int column) const override;
    QString editorCellText(int column, int item) const override;
    bool editorCellValue(int column, int item, CellValue& value) const override;
    int setEditorCellValue(int column, int item, const CellValue& value) override;
    // The text read the way the column's kind reads it; a text the kind
    // refuses (a choice naming no entry) stores nothing.
    int setEditorCell(int column, int item, const QString& text) override;
    // A paste copies the other row's value of an editable column through
    // the same store as an edit.
    int copyEditorCell(int column, int to, int from) override;

    // One entry of the editor's menu: its command is base + entry.
    static void addMenuEntry(QMenu& menu, int base, int entry, const char* label, const char* help, bool enabled);
    // The menu of a group with no commands of its own: one disabled entry.
    static void addEmptyMenu(QMenu& menu, int base);

protected:
    // Exchange with other programs' files, shared by the panels that offer
    // it. The file the user chooses to write (`save`) or read; "" when
    // cancelled.
    QString chooseExchangeFile(const char* title, const char* filter, bool save, const std::string& startName = {});
    // An export's or import's outcome: `error` as a message, else `done` in
    // the status line. Answers whether it went.
    bool reportExchange(const QString& error, const std::string& done);
    // After an import added `row` (and what it needs in other groups):
    // every panel reads the document again and `row` becomes current.
    void showImported(int row);

    // The value of a cell; false when the item does not exist.
    virtual bool fillCell(int column, int item, CellValue& value) const = 0;
    // Stores an edited value into the item: 1 if stored.
    virtual int storeCell(int column, int item, const CellValue& value) = 0;

private:
    std::vector<Column> m_columns;
};
