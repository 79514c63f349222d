#include "tools/renamer/ui/CRenameFilesDialog.h"

#include "params/ui/CMVT_ParamBoolean.h"
#include "params/ui/CMVT_ParamButton.h"
#include "params/ui/CMVT_ParamFilenames.h"
#include "params/ui/CMVT_ParamInfo.h"
#include "params/ui/CMVT_ParamInteger.h"
#include "params/ui/CMVT_ParamText.h"
#include "params/ui/CMVT_ParameterList.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QTreeWidget>

namespace {
using Status = CFileRenamer::Entry::Status;

QString fileName(const std::string& path)
{
    return QFileInfo(QString::fromStdString(path)).fileName();
}
} // namespace

CRenameFilesDialog::CRenameFilesDialog(QWidget* parent)
    : CParametersDialog(kTitle, true, parent), m_preview(new QTreeWidget(this))
{
    const CFileRenamer::Rule defaults;
    CMVT_ParameterList* list = sheet();
    list->addTitle(0, "", "Rename files or replace a string in a list of files");
    m_files = list->addFilenames(1, "files", "&Files", "");
    list->addBoolean(1, "numbering", "&Number the Files Instead of Replacing a String", false);
    list->addText(1, "find", "F&ind", "");
    list->addText(1, "replace", "Re&place With", "");
    list->addBoolean(1, "regex", "Find a Regular &Expression (\\1 in the replacement is its first group)", false);
    list->addBoolean(1, "case", "&Case Sensitive", true);
    list->addText(1, "pattern", "Numbering Pa&ttern (# digits of the number, * the old name)", defaults.pattern);
    list->addInteger(1, "start", "First &Number", 0, 1000000000, defaults.start);
    list->addInteger(1, "step", "Number S&tep", -1000000, 1000000, defaults.step);
    list->addButton(1, "rename", "&Rename Files");
    m_result = list->addInfo(1, "result", "");
    m_preview->setColumnCount(3);
    m_preview->setHeaderLabels({tr("Old Name"), tr("New Name"), tr("Status")});
    m_preview->setRootIsDecorated(false);
    m_preview->header()->setSectionResizeMode(QHeaderView::Stretch);
    // The sheet keeps the room it needs; the preview shows a handful of rows.
    m_preview->setFixedHeight(180);
    addBelow(m_preview);
    connect(this, &CParametersDialog::itemNotification, this, &CRenameFilesDialog::onItem);
    resize(720, 860);
    refreshPreview();
}

CFileRenamer::Rule CRenameFilesDialog::rule() const
{
    const CMVT_ParameterList* list = sheet();
    CFileRenamer::Rule r;
    r.mode = list->findAs<CMVT_ParamBoolean>("numbering")->value() ? CFileRenamer::Rule::Mode::Numbering
                                                                    : CFileRenamer::Rule::Mode::Replace;
    r.find = list->findAs<CMVT_ParamText>("find")->value();
    r.replace = list->findAs<CMVT_ParamText>("replace")->value();
    r.regularExpression = list->findAs<CMVT_ParamBoolean>("regex")->value();
    r.caseSensitive = list->findAs<CMVT_ParamBoolean>("case")->value();
    r.pattern = list->findAs<CMVT_ParamText>("pattern")->value();
    r.start = int(list->findAs<CMVT_ParamInteger>("start")->value());
    r.step = int(list->findAs<CMVT_ParamInteger>("step")->value());
    return r;
}

void CRenameFilesDialog::onItem(CMVT_Parameter* item)
{
    if (item->name() == "rename")
        renameFiles();
    else if (item->name() != "result")
        refreshPreview();
}

void CRenameFilesDialog::refreshPreview()
{
    m_entries = CFileRenamer::preview(m_files->fileNames(), rule());
    m_preview->clear();
    int renamed = 0;
    for (const auto& e : m_entries) {
        const bool bad = e.status == Status::Collision || e.status == Status::Invalid;
        const QString status = bad ? QString::fromStdString(e.why)
                               : e.status == Status::Renamed ? tr("will be renamed")
                                                             : tr("unchanged");
        auto* row = new QTreeWidgetItem(m_preview, {fileName(e.source), fileName(e.target), status});
        row->setToolTip(0, QString::fromStdString(e.source));
        if (bad)
            for (int c = 0; c < 3; ++c)
                row->setForeground(c, QColor(200, 0, 0));
        renamed += e.status == Status::Renamed;
    }
    sheet()->find("rename")->setEnabled(renamed > 0 && CFileRenamer::acceptable(m_entries));
}

bool CRenameFilesDialog::renameFiles()
{
    refreshPreview();
    std::string error;
    const int renamed = CFileRenamer::apply(m_entries, &error);
    if (!error.empty()) {
        m_result->setText("Nothing renamed: " + error);
        return false;
    }
    std::string names;
    for (const auto& e : m_entries)
        names += (e.status == Status::Renamed ? e.target : e.source) + "\n";
    m_files->setText(names);
    m_result->setText(std::to_string(renamed) + " files renamed.");
    refreshPreview();
    return true;
}
