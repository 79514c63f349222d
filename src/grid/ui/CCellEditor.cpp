#include "grid/ui/CCellEditor.h"

#include "grid/ui/CEditValueDialog.h"
#include "grid/ui/CImageChooserDialog.h"
#include "grid/ui/CItemPickerDialog.h"
#include "params/ui/CUiServices.h"

#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QWidget>

int CCellEditor::edit(CellValue& value, QWidget* grid, const QRect& cell, const std::string& typed,
                      bool startFromCurrent)
{
    if (!value.isEditable())
        return 0;
    const QPointer<QWidget> hadFocus = QApplication::focusWidget();
    const int changed = editByKind(value, grid, cell, typed, startFromCurrent);
    giveKeyboardBack(hadFocus);
    return changed;
}

int CCellEditor::pick(CellValue& value, QWidget* grid)
{
    const int group = value.referenceGroup();
    if (!value.isEditable() || group < 0)
        return 0;
    const QPointer<QWidget> hadFocus = QApplication::focusWidget();
    int index = value.referenceIndex();
    const int before = index;
    const bool chosen = pickItem(grid, value.referenceDocument(), group, index);
    giveKeyboardBack(hadFocus);
    return chosen && index != before ? value.setReferenceIndex(index) : 0;
}

void CCellEditor::giveKeyboardBack(QWidget* widget)
{
    if (!widget)
        return;
    widget->activateWindow();
    widget->setFocus(Qt::OtherFocusReason);
}

bool CCellEditor::pickItem(QWidget* parent, const CResourceHolder* document, int group, int& index)
{
    CItemPickerDialog dialog(document, group, index, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    index = dialog.chosenIndex();
    return true;
}

int CCellEditor::editByKind(CellValue& value, QWidget* grid, const QRect& cell, const std::string& typed,
                            bool startFromCurrent)
{
    switch (value.kind()) {
    case CellValue::KindNone:
    case CellValue::KindRelativePicture: return 0;
    case CellValue::KindYesNo: return value.applyYesNoKey(typed);
    case CellValue::KindColor: {
        CellValue::Color c = value.color();
        if (!chooseColor(grid, c.rgb))
            return 0;
        value.setColor(c);
        return 1;
    }
    case CellValue::KindPicture: {
        const CellValue::Picture p = value.picture();
        int index = p.index;
        if (!chooseImage(grid, p.document, index))
            return 0;
        value.setPicture(p.document, index);
        return 1;
    }
    case CellValue::KindChoice: {
        const CellValue::Choice c = value.choice();
        if (!c.list)
            return 0;
        const int chosen = chooseFromList(grid, cell, *c.list, c.index);
        if (chosen < 0)
            return 0;
        value.setChoice(c.list, chosen);
        return 1;
    }
    default: {
        const std::string current = value.text();
        std::string result;
        if (!editText(grid, value.kind() == CellValue::KindLongText, startFromCurrent ? current : typed, current,
                      result))
            return 0;
        return value.setFromText(result);
    }
    }
}

bool CCellEditor::chooseColor(QWidget* parent, std::uint32_t& rgb)
{
    return CUiServices::colorChooser().chooseColor(parent, rgb);
}

bool CCellEditor::chooseImage(QWidget* parent, const CResourceHolder* document, int& index)
{
    CImageChooserDialog dialog(document, index, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    index = dialog.chosenIndex();
    return true;
}

int CCellEditor::chooseFromList(QWidget* parent, const QRect& cell, const CellValue::ChoiceList& list, int current)
{
    QMenu menu(parent);
    for (std::size_t i = 0; i < list.size(); ++i) {
        QAction* a = menu.addAction(QString::fromStdString(list[i]));
        a->setData(static_cast<int>(i));
        a->setCheckable(true);
        a->setChecked(static_cast<int>(i) == current);
    }
    // Centred under the cell, hanging from its bottom edge.
    const QSize size = menu.sizeHint();
    QPoint at(cell.center().x() - size.width() / 2, cell.bottom() + 1);
    if (parent)
        at = parent->mapToGlobal(at);
    const QAction* chosen = menu.exec(at);
    return chosen ? chosen->data().toInt() : -1;
}

bool CCellEditor::editText(QWidget* parent, bool multiLine, const std::string& initial, const std::string& previous,
                           std::string& result)
{
    CEditValueDialog dialog(multiLine, initial, previous, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    result = dialog.value();
    return true;
}
