#include "tools/resourcemanager/ui/CResourceFilesManagerDialog.h"

#include "core/IPrompter.h"
#include "params/ui/CMVT_ParamButton.h"
#include "params/ui/CMVT_ParamFilenames.h"
#include "params/ui/CMVT_ParamInfo.h"
#include "params/ui/CMVT_ParameterList.h"
#include "params/ui/CUiServices.h"
#include "tools/resourcemanager/CResourceFilesManager.h"

#include <QApplication>
#include <QFileInfo>

#include <set>
#include <thread>

CResourceFilesManagerDialog::CResourceFilesManagerDialog(QWidget* parent) : CParametersDialog(kTitle, true, parent)
{
    CMVT_ParameterList* list = sheet();
    list->addTitle(0, "", "Manage Resources Files");
    list->addInfo(1, "", "This utility converts previous versions of Marvoline Game Resources Files (.mrc) to this "
                         "version.\n\nNew files have a \"-NEW-\" added to the end of filename.");
    m_sources = list->addFilenames(1, "sources", "&Source Res Filenames", "");
    // The pattern completes the filter's description so that the chooser
    // shows resource files only.
    m_sources->setFilter("Marvoline Game Resources Files (*.mrc)\n*.mrc\n\n");
    list->addButton(1, "filter", "&Filter Quillop Resources Files");
    list->addButton(1, "convert", "&Convert Files");
    m_summary = list->addInfo(1, "summary", "");
    connect(this, &CParametersDialog::itemNotification, this, &CResourceFilesManagerDialog::onItem);
    resize(600, 520);
}

void CResourceFilesManagerDialog::onItem(CMVT_Parameter* item)
{
    // Only button presses act; the button is told by its name.
    if (!qobject_cast<CMVT_ParamButton*>(item))
        return;
    if (item->name() == "filter")
        filterFiles();
    else if (item->name() == "convert")
        convertFiles();
}

void CResourceFilesManagerDialog::filterFiles()
{
    std::string text;
    for (const std::string& name : CResourceFilesManager::filter(m_sources->fileNames()))
        text += name + "\n";
    m_sources->setText(text);
}

void CResourceFilesManagerDialog::convertFiles()
{
    const std::vector<std::string> files = m_sources->fileNames();
    // Every question is asked here, before the workers start: windows
    // belong to this thread. No is the default: Enter must not destroy a
    // file the user did not mean to replace.
    std::set<std::string> replace;
    for (auto it = files.rbegin(); it != files.rend(); ++it) {
        const std::string target = CResourceFilesManager::newName(*it);
        if (CResourceFilesManager::isResourceFile(*it) && QFileInfo::exists(QString::fromStdString(target))
            && CUiServices::prompter().ask(QString::fromLatin1(kReplaceQuestion)
                                               .arg(QString::fromStdString(target))
                                               .toStdString(),
                                           IPrompter::Buttons::YesNoDefaultNo, IPrompter::Icon::Question)
                   == IPrompter::Answer::Yes)
            replace.insert(target);
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto outcomes = CResourceFilesManager::convertAll(
        files, int(std::max(1u, std::thread::hardware_concurrency())),
        [&replace](const std::string& target) { return replace.count(target) != 0; });
    QApplication::restoreOverrideCursor();
    int converted = 0;
    std::string skipped;
    for (const auto& o : outcomes) {
        if (o.outcome == CResourceFilesManager::Outcome::Converted)
            ++converted;
        else
            skipped += "\n" + QFileInfo(QString::fromStdString(o.source)).fileName().toStdString() + ": "
                       + CResourceFilesManager::outcomeText(o);
    }
    m_summary->setText(std::to_string(converted) + " of " + std::to_string(outcomes.size()) + " files converted."
                       + (skipped.empty() ? "" : "\nSkipped:" + skipped));
    m_sources->setText(m_sources->text()); // the list item is refreshed
}
