#pragma once

#include "grid/CellValue.h"

#include <QRect>

#include <cstdint>
#include <string>

class CResourceHolder;
class QWidget;

// Edits one cell in the way its kind calls for: yes/no from the key typed,
// colours in the colour chooser, pictures in "Chose Image", choices in a
// pop-up list under the cell, everything else in the Edit Value dialog.
// The pickers are virtual so that a grid (or a test) can replace them.
class CCellEditor {
public:
    virtual ~CCellEditor() = default;

    // 1 when the value changed (the grid then stores it). The keyboard focus
    // goes back to the window that had it.
    int edit(CellValue& value, QWidget* grid, const QRect& cell, const std::string& typed, bool startFromCurrent);
    // A reference cell (an index naming an item of a group, a picture)
    // picked by name and picture instead: 1 when the value changed, 0 when
    // the picker was dismissed or the cell names nothing.
    int pick(CellValue& value, QWidget* grid);
    // After a prompt of its own window closes, gives the keyboard back to
    // `widget` (may be null) and its window: with no window manager to hand
    // it back, the main window's shortcuts (Ctrl+Z, Ctrl+S) would otherwise
    // wait for a click.
    static void giveKeyboardBack(QWidget* widget);

protected:
    virtual bool chooseColor(QWidget* parent, std::uint32_t& rgb);
    // The item of `group` chosen in the picker, `index` holding the current
    // one; false when dismissed.
    virtual bool pickItem(QWidget* parent, const CResourceHolder* document, int group, int& index);
    virtual bool chooseImage(QWidget* parent, const CResourceHolder* document, int& index);
    // The chosen entry, or -1 when the list was dismissed.
    virtual int chooseFromList(QWidget* parent, const QRect& cell, const CellValue::ChoiceList& list, int current);
    virtual bool editText(QWidget* parent, bool multiLine, const std::string& initial, const std::string& previous,
                          std::string& result);

private:
    int editByKind(CellValue& value, QWidget* grid, const QRect& cell, const std::string& typed, bool startFromCurrent);
};
