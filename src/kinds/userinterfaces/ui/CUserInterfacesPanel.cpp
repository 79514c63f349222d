#include "kinds/userinterfaces/ui/CUserInterfacesPanel.h"

#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "grid/CellValue.h"
#include "kinds/ui/CPanelView.h"
#include "kinds/userinterfaces/UserInterface.h"
#include "kinds/userinterfaces/ui/CUserInterfaceItemsView.h"

CUserInterfacesPanel::CUserInterfacesPanel(QWidget* parent)
    : CTypedItemsGrid(GroupUserInterfaces,
                      {{"ID", true}, {"Type", true}, {"Specifications", false}, {"Comments", true}}, parent),
      m_typeTexts(UserInterface::typeTexts()), m_items(new CUserInterfaceItemsView)
{
    m_typeTexts.emplace_back(UserInterface::typeText(-1));
    installPanelView(*this, m_items);
    m_items->setModifiedCallback([this] { markModified(); });
}

UserInterface* CUserInterfacesPanel::interfaceAt(int item) const
{
    return holder() ? dynamic_cast<UserInterface*>(holder()->get(GroupUserInterfaces, item)) : nullptr;
}

bool CUserInterfacesPanel::fillCell(int column, int item, CellValue& value) const
{
    const UserInterface* ui = interfaceAt(item);
    if (!ui)
        return false;
    switch (column) {
    case ColId:
        value.setKind(CellValue::KindText);
        value.setFromText(ui->id());
        return true;
    case ColType: {
        value.setKind(CellValue::KindChoice);
    // Values outside the table show as "Unkown", an entry no edit can store.
        const bool known = ui->type() >= 0 && ui->type() < UserInterface::kTypeCount;
        value.setChoice(&m_typeTexts, known ? ui->type() : UserInterface::kTypeCount);
        return true;
    }
    case ColSpecs: value.setKind(CellValue::KindLongText); return true;
    case ColComments:
        value.setKind(CellValue::KindLongText);
        value.setFromText(ui->comments());
        return true;
    default: return false;
    }
}

int CUserInterfacesPanel::storeCell(int column, int item, const CellValue& value)
{
    UserInterface* ui = interfaceAt(item);
    if (!ui)
        return 0;
    switch (column) {
    case ColId:
        ui->setId(value.text());
        break;
    case ColType: {
        const int index = value.choice().index;
        if (index < 0 || index >= UserInterface::kTypeCount)
            return 0;
        ui->setType(index);
        break;
    }
    case ColComments: ui->setComments(value.text()); break;
    default: return 0;
    }
    if (item == currentItem())
        reloadEditorView();
    return 1;
}

void CUserInterfacesPanel::buildMenu(QMenu& menu, int base)
{
    addEmptyMenu(menu, base);
}

void CUserInterfacesPanel::reloadEditorView()
{
    m_items->showInterface(interfaceAt(currentItem()), holder());
}
