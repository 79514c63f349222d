#include "params/ui/CMVT_ParamFilename.h"

#include "params/CValueFormat.h"
#include "params/ui/CMVT_EditTyped.h"
#include "params/ui/CMVT_FileSelection.h"
#include "params/ui/CUiServices.h"

#include <QDesktopServices>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QPushButton>
#include <QStorageInfo>
#include <QStyle>
#include <QToolButton>
#include <QUrl>

#include <cinttypes>

CMVT_ParamFilename::CMVT_ParamFilename(QWidget* parent)
    : CMVT_Parameter(parent),
      m_edit(new CMVT_EditTyped(this, CMVT_EditTyped::TypeText)),
      m_browse(new QPushButton(QStringLiteral(" ... "), this)),
      m_icon(new QToolButton(this))
{
    m_edit->setEditLimit(CMVT_FileSelection::kMaxPathLength);
    m_browse->setAutoDefault(false);
    m_icon->setAutoRaise(true);
    addControl(m_edit, 1);
    addControl(m_browse);
    addControl(m_icon);
    watchEdit(m_edit);
    connect(m_edit, &CMVT_EditTyped::valueEdited, this, &CMVT_ParamFilename::refresh);
    connect(m_browse, &QPushButton::clicked, this, [this] { browse(); });
    // The icon opens what the path names, as the desktop would.
    connect(m_icon, &QToolButton::clicked, this, [this] {
        const QFileInfo info(QString::fromStdString(path()));
        if (info.exists())
            QDesktopServices::openUrl(QUrl::fromLocalFile(info.isDir() ? info.absoluteFilePath() : info.absolutePath()));
    });
    refresh();
}

void CMVT_ParamFilename::setPath(const std::string& p) { m_edit->setTextValue(p); }

const std::string& CMVT_ParamFilename::path() const { return m_edit->textValue(); }

void CMVT_ParamFilename::refresh()
{
    const QFileInfo info(QString::fromStdString(path()));
    if (!path().empty() && info.exists())
        m_icon->setIcon(QFileIconProvider().icon(info));
    else
        m_icon->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    refreshLabel();
}

bool CMVT_ParamFilename::browse()
{
    std::string chosen;
    if (m_mode == 0 || m_mode == 1) {
        chosen = CMVT_FileSelection::selectOne(this, m_filter, plainLabel(), path(), m_mode == 1);
    } else {
        chosen = CUiServices::fileChooser().chooseFolder(this, plainLabel(), path());
    }
    if (chosen.empty())
        return false;
    setPath(chosen);
    refresh();
    notifyChanged();
    return true;
}

std::string CMVT_ParamFilename::statusText() const
{
    std::string s = ": (Remaining Chars = " + std::to_string(m_edit->editLimit() - m_edit->currentLength());
    if (m_mode != 4 && m_mode != 5 && !path().empty()) {
        const QFileInfo info(QString::fromStdString(path()));
        const QStorageInfo disk(info.isDir() ? info.absoluteFilePath() : info.absolutePath());
        if (disk.isValid() && disk.isReady())
            s += ", MB Free = " + CValueFormat::groupDigits(std::to_string(disk.bytesFree() >> 20));
        // Sizes are 64-bit: files of 2 GB and more are common now.
        if (info.isFile())
            s += ", File Exists, Nb Bytes = " + CValueFormat::groupDigits(std::to_string(info.size()));
        else if (info.isDir())
            s += ", Folder Exists";
    }
    return s + ")";
}

std::string CMVT_ParamFilename::valueText() const { return path(); }

void CMVT_ParamFilename::setValueText(const std::string& text)
{
    setPath(text);
    refresh();
}
