#include "document/CDocumentDialogs.h"

#include "params/CDialogFolders.h"
#include "params/ui/CUiServices.h"
#include "params/ui/FileDialogLayout.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>

namespace {
IDocumentDialogs* g_installed = nullptr;

QStringList filters()
{
    return {QString::fromLatin1(CDocumentDialogs::kResourceFilter), QString::fromLatin1(CDocumentDialogs::kAllFilter)};
}
} // namespace

IDocumentDialogs& CDocumentDialogs::current()
{
    static CDocumentDialogs toolkit;
    return g_installed ? *g_installed : toolkit;
}

void CDocumentDialogs::install(IDocumentDialogs* dialogs) { g_installed = dialogs; }

std::string CDocumentDialogs::withDefaultExtension(const std::string& name, int filterIndex)
{
    if (filterIndex != 1 || name.empty())
        return name;
    // Only the last path component decides: a dot in a folder name is not an extension.
    const auto slash = name.find_last_of('/');
    const std::string base = slash == std::string::npos ? name : name.substr(slash + 1);
    if (base.empty() || base.find('.') != std::string::npos)
        return name;
    return name + ".mrc";
}

IDocumentDialogs::FileChoice CDocumentDialogs::choose(QWidget* parent, bool save, const std::string& startName,
                                                      int filterIndex)
{
    QFileDialog dialog(parent, QString::fromLatin1(save ? kSaveTitle : kOpenTitle));
    dialog.setNameFilters(filters());
    dialog.selectNameFilter(filters().value(filterIndex - 1, filters().front()));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The name gets its extension after the choice, as the filter says; the
    // overwrite question must then be about that name, so it is asked there.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    CDialogFolders& folders = CUiServices::dialogFolders();
    const QString kind = QString::fromLatin1(kFoldersKey);
    const QFileInfo start(folders.startName(kind, QString::fromStdString(startName)));
    dialog.setDirectory(start.absolutePath());
    dialog.selectFile(start.fileName());
    fitFileDialog(dialog);
    FileChoice choice;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return choice;
    folders.remember(kind, dialog.selectedFiles().front());
    choice.accepted = true;
    choice.name = dialog.selectedFiles().front().toStdString();
    choice.filterIndex = static_cast<int>(filters().indexOf(dialog.selectedNameFilter())) + 1;
    if (choice.filterIndex < 1)
        choice.filterIndex = 1;
    return choice;
}

IDocumentDialogs::FileChoice CDocumentDialogs::chooseOpenFile(QWidget* parent, const std::string& startName,
                                                              int filterIndex)
{
    return choose(parent, false, startName, filterIndex);
}

IDocumentDialogs::FileChoice CDocumentDialogs::chooseSaveFile(QWidget* parent, const std::string& startName,
                                                              int filterIndex)
{
    return choose(parent, true, startName, filterIndex);
}

bool CDocumentDialogs::askPassword(QWidget* parent, std::string& typed)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parent, QString::fromLatin1(kPasswordTitle),
                                               QString::fromLatin1(kPasswordLabel), QLineEdit::Password, QString(), &ok);
    if (ok)
        typed = text.toStdString();
    return ok;
}
