#include "kinds/userinterfaces/ui/CUserInterfaceItemsView.h"

#include "params/ui/CMVT_ParameterList.h"
#include "params/ui/WidgetHelpers.h"

#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "grid/CellValue.h"
#include "grid/ui/CCellDelegate.h"
#include "grid/ui/CSelectedRowsEdit.h"
#include "grid/ui/CTableSearch.h"
#include "kinds/userinterfaces/CUserInterfaceDialog.h"
#include "kinds/userinterfaces/CUserInterfaceMenu.h"
#include "kinds/userinterfaces/UserInterface.h"
#include "kinds/userinterfaces/ui/CBitmapPicture.h"
#include "kinds/userinterfaces/ui/CInterfaceDialog.h"

#include <QAbstractTableModel>
#include <QCoreApplication>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QStatusTipEvent>
#include <QTableView>
#include <QVBoxLayout>

#include <set>

CUserInterfaceItemsView::CUserInterfaceItemsView(QWidget* parent)
    : CSideGrid(kDefaultTitle, "item", "items", parent), m_typeTexts(UserInterfaceItem::typeTexts())
{
    // Values outside the table show as "Unkown", an entry no edit can store.
    m_typeTexts.push_back(UserInterfaceItem::typeText(-1));
    auto* sideHolder = new QWidget;
    m_sideLayout = new QVBoxLayout(sideHolder);
    m_sideLayout->setContentsMargins(0, 0, 0, 0);
    setLowerPane(sideHolder);
    connect(this, &CUserInterfaceItemsView::itemChosen, this, &CUserInterfaceItemsView::reportChosen);
    openRows();
}

void CUserInterfaceItemsView::storeEditedCell(int column, int row, const CellValue& edited)
{
    // The type is a choice over the item type texts; every other cell is a
    // text, the long ones (the states text is several option lines) on
    // several lines.
    if (edited.kind() != CellValue::KindChoice) {
        editCell(column, row, QString::fromStdString(edited.text()));
        return;
    }
    const int choice = edited.choice().index;
    if (choice >= 0 && choice < static_cast<int>(m_typeTexts.size()))
        editCell(column, row, QString::fromStdString(m_typeTexts[static_cast<std::size_t>(choice)]));
}

int CUserInterfaceItemsView::rowTotal() const { return m_ui ? m_ui->itemCount() : 0; }

void CUserInterfaceItemsView::showInterface(UserInterface* ui, const CResourceHolder* document)
{
    m_ui = ui;
    m_document = document;
    resetRows();
    table()->clearSelection();
    if (ui)
        setTitle(QString::fromStdString(ui->id()));
    else
        showDefaultTitle();
    rebuildSide();
}

UserInterface* CUserInterfaceItemsView::shownInterface() const { return m_ui; }

QString CUserInterfaceItemsView::header(int column)
{
    static const char* const titles[ColumnCount] = {"Index", "ID", "Type", "Title", "Default Value",
        "Minimum Value", "Maximum Value", "Level", "Image", "States", "Advanced", "Help Text", "Specifications",
        "Comments"};
    return column >= 0 && column < ColumnCount ? QString::fromLatin1(titles[column]) : QString();
}

QString CUserInterfaceItemsView::cellText(int column, int row) const
{
    const UserInterfaceItem* item = m_ui ? m_ui->item(row) : nullptr;
    if (!item)
        return {};
    auto text = [](const std::string& s) { return QString::fromStdString(s); };
    switch (column) {
    case ColIndex: return QString::number(row);
    case ColId: return text(item->id);
    case ColType: return text(UserInterfaceItem::typeText(item->type));
    case ColTitle: return text(item->title);
    case ColDefault: return text(item->defaultValue);
    case ColMinimum: return text(item->minimumValue);
    case ColMaximum: return text(item->maximumValue);
    case ColLevel: return QString::number(item->level);
    case ColImage: return text(item->image);
    case ColStates: return text(item->states);
    case ColAdvanced: return text(item->advancedText());
    case ColHelp: return text(item->helpText);
    case ColComments: return text(item->comments);
    default: return {};
    }
}

bool CUserInterfaceItemsView::cellValue(int column, int row, CellValue& value) const
{
    const UserInterfaceItem* item = m_ui ? m_ui->item(row) : nullptr;
    if (!item || column < 0 || column >= ColumnCount)
        return false;
    value = CellValue();
    if (column == ColType) {
        value.setKind(CellValue::KindChoice);
        const bool known = item->type >= 0 && item->type < UserInterfaceItem::kTypeCount;
        value.setChoice(&m_typeTexts, known ? item->type : UserInterfaceItem::kTypeCount);
    } else {
        const bool longText =
            column == ColStates || column == ColHelp || column == ColSpecs || column == ColComments;
        value.setKind(longText ? CellValue::KindLongText : CellValue::KindText);
        value.setFromText(cellText(column, row).toStdString());
        // The image names a bitmap by its ID: picked by name and picture.
        if (column == ColImage && m_document)
            value.setReference(m_document, GroupBitmaps);
    }
    value.setEditable(cellEditable(column));
    return true;
}

bool CUserInterfaceItemsView::cellEditable(int column) const
{
    return column != ColIndex && column != ColAdvanced && column != ColSpecs && column >= 0 && column < ColumnCount;
}

bool CUserInterfaceItemsView::storeText(int column, int row, const std::string& s)
{
    UserInterfaceItem* item = m_ui ? m_ui->item(row) : nullptr;
    if (!item || !cellEditable(column))
        return false;
    switch (column) {
    case ColId: item->id = s; break;
    case ColType: {
        int type = -1;
        for (std::size_t i = 0; i < m_typeTexts.size(); ++i)
            if (m_typeTexts[i] == s)
                type = static_cast<int>(i);
        if (type < 0 || type >= UserInterfaceItem::kTypeCount)
            return false;
        item->type = type;
        break;
    }
    case ColTitle: item->title = s; break;
    case ColDefault: item->defaultValue = s; break;
    case ColMinimum: item->minimumValue = s; break;
    case ColMaximum: item->maximumValue = s; break;
    case ColLevel: item->level = CellValue::readInteger(s); break;
    case ColImage: item->image = s; break;
    case ColStates: item->states = s; break;
    case ColHelp: item->helpText = s; break;
    case ColComments: item->comments = s; break;
    default: return false;
    }
    return true;
}

int CUserInterfaceItemsView::setCell(int column, int row, const QString& text)
{
    if (!storeText(column, row, text.toStdString()))
        return 0;
    rowChanged(row);
    changed();
    return 1;
}

int CUserInterfaceItemsView::editCell(int column, int row, const QString& text)
{
    const CSelectedRowsEdit::Result result = CSelectedRowsEdit::run(
        row, selectedRows(), [&] { return storeText(column, row, text.toStdString()); },
        // The field as the edited row now holds it, read the way it was typed.
        [&](int other) { return storeText(column, other, cellText(column, row).toStdString()); });
    if (!result.stored) {
        // A refused edit shows the stored value again.
        rowChanged(row);
        return 0;
    }
    allRowsChanged();
    changed();
    return 1 + result.copied;
}

int CUserInterfaceItemsView::insertItem()
{
    if (!m_ui)
        return -1;
    const int row = m_ui->appendItem("New ID");
    if (row < 0)
        return -1;
    resetRows();
    table()->selectRow(row);
    changed();
    return row;
}

int CUserInterfaceItemsView::deleteItem(int row)
{
    if (!m_ui || !m_ui->removeItem(row))
        return 0;
    resetRows();
    changed();
    return 1;
}

int CUserInterfaceItemsView::moveItem(int from, int to)
{
    if (!m_ui || !m_ui->moveItem(from, to))
        return 0;
    resetRows();
    table()->selectRow(to);
    changed();
    return 1;
}

int CUserInterfaceItemsView::swapItems(int a, int b)
{
    if (!m_ui || !m_ui->swapItems(a, b))
        return 0;
    resetRows();
    changed();
    return 1;
}

void CUserInterfaceItemsView::addOwnEntries(QMenu& menu)
{
    const bool shown = m_ui != nullptr;
    addEntry(menu, kTestMenuEntry, kTestMenuHelp, CmdTestMenu, shown);
    addEntry(menu, kTestDialogEntry, kTestDialogHelp, CmdTestDialog, shown);
}

int CUserInterfaceItemsView::runOwnCommand(int command)
{
    switch (command) {
    case CmdTestMenu: {
        std::unique_ptr<QMenu> menu = buildTestMenu();
        if (!menu)
            return 0;
        if (QAction* chosen = menu->exec(QCursor::pos()))
            emit itemChosen(chosen->data().toInt());
        return 1;
    }
    case CmdTestDialog: {
        std::unique_ptr<CInterfaceDialog> dialog = buildTestDialog(this);
        if (!dialog)
            return 0;
        dialog->exec();
        return 1;
    }
    default: return 0;
    }
}

void CUserInterfaceItemsView::addEntries(QMenu& menu, const std::vector<CMenuEntry>& entries) const
{
    for (const CMenuEntry& entry : entries) {
        switch (entry.kind) {
        case CMenuEntry::Kind::Separator: menu.addSeparator(); break;
        case CMenuEntry::Kind::SubMenu:
            addEntries(*menu.addMenu(QString::fromStdString(entry.title)), entry.children);
            break;
        case CMenuEntry::Kind::Command: {
            QAction* action = menu.addAction(QString::fromStdString(entry.title));
            action->setIcon(pictureIcon(entry.picture.id));
            action->setData(entry.itemIndex);
            action->setStatusTip(QString::fromStdString(entry.helpText));
            action->setToolTip(QString::fromStdString(entry.helpText));
            break;
        }
        }
    }
}

QIcon CUserInterfaceItemsView::pictureIcon(const std::string& bitmapId) const
{
    // Pictures come from the picture source when the user interface has one
    // (the program's own resources), else from the document it is part of.
    const CResourceHolder* pictures = m_ui && m_ui->pictureSource() ? m_ui->pictureSource() : m_document;
    const QImage image = pictures ? CBitmapPicture::of(*pictures, CPictureRef{bitmapId, -1}) : QImage();
    return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}

void CUserInterfaceItemsView::reportChosen(int itemIndex)
{
    const UserInterfaceItem* item = m_ui ? m_ui->item(itemIndex) : nullptr;
    if (!item)
        return;
    // The test only says what was chosen, on the status line of the window.
    QStatusTipEvent tip(QStringLiteral("Chosen: item %1, ID \"%2\", \"%3\"")
                            .arg(QString::number(itemIndex), QString::fromStdString(item->id),
                                 QString::fromStdString(item->title)));
    QCoreApplication::sendEvent(this, &tip);
}

std::unique_ptr<QMenu> CUserInterfaceItemsView::buildTestMenu() const
{
    if (!m_ui)
        return nullptr;
    auto menu = std::make_unique<QMenu>();
    addEntries(*menu, CUserInterfaceMenu::build(*m_ui));
    return menu;
}

std::unique_ptr<CInterfaceDialog> CUserInterfaceItemsView::buildTestDialog(QWidget* parent) const
{
    if (!m_ui || !m_document)
        return nullptr;
    auto dialog = std::make_unique<CInterfaceDialog>(*m_ui, *m_document,
                                                     QString::fromLatin1(CUserInterfaceDialog::kTitle), parent);
    // A test only shows the items: a button of a document's user interface
    // must not open whatever address the document put in its default value,
    // as the program's own "explore" buttons do.
    QObject::disconnect(dialog->sheet(), &CMVT_ParameterList::itemChanged, dialog.get(), nullptr);
    return dialog;
}

void CUserInterfaceItemsView::rebuildSide()
{
    delete m_side;
    m_side = nullptr;
    std::unique_ptr<CInterfaceDialog> dialog = buildTestDialog(nullptr);
    if (!dialog)
        return;
    // Shown inside the view rather than as a window of its own.
    dialog->setWindowFlags(Qt::Widget);
    m_side = dialog.release();
    m_sideLayout->addWidget(m_side);
    m_side->show();
}

void CUserInterfaceItemsView::changed()
{
    rebuildSide();
    if (m_modified)
        m_modified();
}
