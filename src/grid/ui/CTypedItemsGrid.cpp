#include "grid/ui/CTypedItemsGrid.h"

#include "grid/CellValue.h"
#include "core/IPrompter.h"
#include "grid/ui/IPanelHost.h"
#include "params/ui/CUiServices.h"
#include "params/ui/IFileChooser.h"

#include <QMenu>

#include <string>

CTypedItemsGrid::CTypedItemsGrid(int group, std::vector<Column> columns, QWidget* parent)
    : CItemsGrid(group, parent), m_columns(std::move(columns))
{
}

QString CTypedItemsGrid::editorHeader(int column) const
{
    if (column < 0 || column >= editorColumnCount())
        return {};
    return QString::fromLatin1(m_columns[static_cast<std::size_t>(column)].title);
}

bool CTypedItemsGrid::editorCellEditable(int column) const
{
    return column >= 0 && column < editorColumnCount() && m_columns[static_cast<std::size_t>(column)].editable;
}

QString CTypedItemsGrid::editorCellText(int column, int item) const
{
    CellValue value;
    if (!editorCellValue(column, item, value))
        return {};
    return QString::fromStdString(value.displayText(column + kLeadingColumns, item));
}

bool CTypedItemsGrid::editorCellValue(int column, int item, CellValue& value) const
{
    if (column < 0 || column >= editorColumnCount() || !fillCell(column, item, value))
        return false;
    value.setEditable(editorCellEditable(column));
    return true;
}

int CTypedItemsGrid::setEditorCellValue(int column, int item, const CellValue& value)
{
    if (!editorCellEditable(column))
        return 0;
    return storeCell(column, item, value);
}

int CTypedItemsGrid::setEditorCell(int column, int item, const QString& text)
{
    CellValue value;
    if (!editorCellValue(column, item, value) || !value.setFromText(text.toStdString()))
        return 0;
    return setEditorCellValue(column, item, value);
}

int CTypedItemsGrid::copyEditorCell(int column, int to, int from)
{
    CellValue value;
    if (to == from || !editorCellEditable(column) || !editorCellValue(column, from, value))
        return 0;
    return setEditorCellValue(column, to, value);
}

void CTypedItemsGrid::addMenuEntry(QMenu& menu, int base, int entry, const char* label, const char* help, bool enabled)
{
    QAction* action = menu.addAction(QString::fromLatin1(label));
    action->setData(base + entry);
    action->setStatusTip(QString::fromLatin1(help));
    action->setToolTip(QString::fromLatin1(help));
    action->setEnabled(enabled);
}

void CTypedItemsGrid::addEmptyMenu(QMenu& menu, int base)
{
    addMenuEntry(menu, base, 0, "Empty", "Empty menu", false);
}

QString CTypedItemsGrid::chooseExchangeFile(const char* title, const char* filter, bool save, const std::string& startName)
{
    IFileChooser::Request request;
    request.title = title;
    request.filter = filter;
    request.save = save;
    request.startName = startName;
    const std::vector<std::string> files = CUiServices::fileChooser().chooseFiles(this, request);
    return files.empty() ? QString() : QString::fromStdString(files.front());
}

bool CTypedItemsGrid::reportExchange(const QString& error, const std::string& done)
{
    if (!error.isEmpty()) {
        CUiServices::prompter().tell(error.toStdString(), IPrompter::Icon::Stop);
        return false;
    }
    CUiServices::showStatus(done);
    return true;
}

void CTypedItemsGrid::showImported(int row)
{
    if (host())
        host()->broadcastReload();
    selectRow(row);
}
