#include "kinds/binaryfiles/ui/CBinaryFilesPanel.h"

#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "grid/ui/CPanelView.h"
#include "grid/ui/CTitledTextView.h"
#include "kinds/binaryfiles/CBinaryFileImport.h"
#include "kinds/binaryfiles/CBinaryFileItem.h"
#include "params/ui/CUiServices.h"

#include <QMenu>
#include <QRegularExpression>

CBinaryFilesPanel::CBinaryFilesPanel(QWidget* parent)
    : CItemsGrid(GroupBinaryFiles, parent), m_info(new CTitledTextView)
{
    installPanelView(*this, m_info);
}

QString CBinaryFilesPanel::editorHeader(int column) const
{
    switch (column) {
    case ColId: return QStringLiteral("ID");
    case ColSource: return QStringLiteral("Source Filename");
    case ColSpecs: return QStringLiteral("Specifications");
    case ColComments: return QStringLiteral("Comments");
    default: return {};
    }
}

QString CBinaryFilesPanel::editorCellText(int column, int item) const
{
    const CBinaryFileItem* file = itemAs<CBinaryFileItem>(item);
    if (!file)
        return {};
    switch (column) {
    case ColId: return QString::fromStdString(file->id());
    case ColSource: return QString::fromStdString(file->sourceFileName());
    case ColSpecs: return QString::fromStdString(file->specsText());
    case ColComments: return QString::fromStdString(file->comments());
    default: return {};
    }
}

bool CBinaryFilesPanel::editorCellEditable(int column) const { return column != ColSpecs && column >= 0; }

int CBinaryFilesPanel::setEditorCell(int column, int item, const QString& text)
{
    CBinaryFileItem* file = itemAs<CBinaryFileItem>(item);
    if (!file)
        return 0;
    switch (column) {
    case ColId: file->setId(text.toStdString()); return 1;
    case ColSource: file->setSourceFileName(text.toStdString()); return 1;
    case ColComments: file->setComments(text.toStdString()); return 1;
    default: return 0;
    }
}

int CBinaryFilesPanel::newItem()
{
    if (!holder())
        return -1;
    IFileChooser::Request request;
    request.title = kInsertTitle;
    request.filter = kAllFiles;
    request.multiple = true;
    const std::vector<std::string> paths = CUiServices::fileChooser().chooseFiles(this, request);
    if (paths.empty())
        return -1;
    return CBinaryFileImport::insertFiles(*holder(), paths);
}

int CBinaryFilesPanel::dropFile(const QString& path)
{
    if (!holder())
        return 0;
    const int row = CBinaryFileImport::insertFiles(*holder(), {path.toStdString()});
    if (row < 0)
        return 0;
    selectRow(row);
    return 1;
}

void CBinaryFilesPanel::buildMenu(QMenu& menu, int base)
{
    QAction* save = menu.addAction(QString::fromLatin1(kSaveEntry));
    save->setData(base + EntrySaveSource);
    save->setStatusTip(QString::fromLatin1(kSaveHelp));
    save->setToolTip(QString::fromLatin1(kSaveHelp));
    save->setEnabled(itemAs<CBinaryFileItem>(currentItem()) != nullptr);
}

int CBinaryFilesPanel::command(int base, int chosen)
{
    if (chosen == base + EntrySaveSource)
        saveSource();
    // Saving leaves the document as it is: never reported as a change.
    return 0;
}

int CBinaryFilesPanel::saveSource()
{
    const CBinaryFileItem* file = itemAs<CBinaryFileItem>(currentItem());
    if (!file)
        return 0;
    IFileChooser::Request request;
    request.title = kSaveTitle;
    request.filter = kAllFiles;
    request.startName = file->sourceFileName();
    request.save = true;
    const std::vector<std::string> paths = CUiServices::fileChooser().chooseFiles(this, request);
    if (paths.empty())
        return 0;
    return file->saveSource(paths.front());
}

void CBinaryFilesPanel::reloadEditorView()
{
    const CBinaryFileItem* file = itemAs<CBinaryFileItem>(currentItem());
    if (!file) {
        m_info->setInfo({}, {});
        return;
    }
    // A number and its unit stay on one line when a narrow view wraps.
    static const QRegularExpression numberAndUnit(QStringLiteral("(\\d) (bytes|KB|MB)"));
    QString info = QString::fromStdString(file->infoText());
    info.replace(numberAndUnit, QStringLiteral("\\1") + QChar(0x00A0) + QStringLiteral("\\2"));
    m_info->setInfo(QString::fromStdString(file->id()), info);
}
