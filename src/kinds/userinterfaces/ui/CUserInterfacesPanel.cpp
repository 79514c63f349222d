#include "kinds/userinterfaces/ui/CUserInterfacesPanel.h"

#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "grid/CellValue.h"
#include "grid/ui/CPanelView.h"
#include "kinds/userinterfaces/UserInterface.h"
#include "kinds/userinterfaces/ui/CUserInterfaceItemsView.h"

#include <QTableView>

#include <optional>

namespace {
using Item = UserInterfaceItem;

// The first name an item gives of something that does not exist, as the
// end of a sentence; none when every name it gives is found. Buttons (in
// menus, dialogs and tool bars) name their pictures by the image field and
// three options of the states text; an image item names its picture; a row
// of buttons names the user interface it is made from by its default value.
// Empty names name nothing.
std::optional<QString> missingName(const Item& item, const CResourceHolder& pictures,
                                   const CResourceHolder& userInterfaces)
{
    auto quoted = [](const std::string& text) { return QStringLiteral("\"%1\"").arg(QString::fromStdString(text)); };
    auto pictureMissing = [&](const std::string& id) {
        return !id.empty() && pictures.findById(GroupBitmaps, id) < 0;
    };
    const bool button = item.type == Item::TypeButton || item.type == Item::TypeButtons;
    if ((button || item.type == Item::TypeImage) && pictureMissing(item.image))
        return QStringLiteral("names the picture %1 in its Image field, which does not exist.").arg(quoted(item.image));
    if (button)
        for (const char* option : {"Image Right", "Bkgnd Up", "Bkgnd Down"}) {
            const std::string id = item.option(option);
            if (pictureMissing(id))
                return QStringLiteral("names the picture %1 in its States option \"%2\", which does not exist.")
                    .arg(quoted(id), QString::fromLatin1(option));
        }
    if (item.type == Item::TypeButtons && !item.defaultValue.empty()
        && !UserInterface::find(userInterfaces, item.defaultValue))
        return QStringLiteral("names the user interface %1 in its Default Value, which does not exist.")
            .arg(quoted(item.defaultValue));
    return std::nullopt;
}
} // namespace

CUserInterfacesPanel::CUserInterfacesPanel(QWidget* parent)
    : CTypedItemsGrid(GroupUserInterfaces,
                      {{"ID", true}, {"Type", true}, {"Specifications", false}, {"Comments", true}}, parent),
      m_typeTexts(UserInterface::typeTexts()), m_items(new CUserInterfaceItemsView)
{
    m_typeTexts.emplace_back(UserInterface::typeText(-1));
    installPanelView(*this, m_items);
    m_items->setModifiedCallback([this] { markModified(); });
    m_items->recordEditsIn([this] { return history(); },
                           [this](CDocumentHistory::Edit& edit) { edit.touchRow(group(), currentItem()); });
}

bool CUserInterfacesPanel::fillCell(int column, int item, CellValue& value) const
{
    const UserInterface* ui = itemAs<UserInterface>(item);
    if (!ui)
        return false;
    switch (column) {
    case ColId:
        value.assignText(ui->id());
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
        value.assignText(ui->comments(), CellValue::KindLongText);
        return true;
    default: return false;
    }
}

int CUserInterfacesPanel::storeCell(int column, int item, const CellValue& value)
{
    UserInterface* ui = itemAs<UserInterface>(item);
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
    m_items->showInterface(itemAs<UserInterface>(currentItem()), holder());
}

bool CUserInterfacesPanel::check()
{
    if (!holder())
        return true;
    if (!checkUniqueIds())
        return false;
    for (int row = 0; row < rowCount(); ++row) {
        const UserInterface* ui = itemAs<UserInterface>(row);
        if (!ui)
            continue;
        // Pictures come from the picture source when the user interface has
        // one (the program's own resources), else from this document.
        const CResourceHolder& pictures = ui->pictureSource() ? *ui->pictureSource() : *holder();
        for (int i = 0; i < ui->itemCount(); ++i) {
            const std::optional<QString> missing = missingName(*ui->item(i), pictures, *holder());
            if (!missing)
                continue;
            selectRow(row);
            m_items->table()->selectRow(i);
            return reportFinding(row, QStringLiteral("The item \"%1\" (item %2) of the user interface \"%3\" (item %4) %5")
                                          .arg(QString::fromStdString(ui->item(i)->id), QString::number(i),
                                               QString::fromStdString(ui->id()), QString::number(row), *missing));
        }
    }
    return true;
}
