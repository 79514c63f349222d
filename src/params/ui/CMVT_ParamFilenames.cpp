#include "params/ui/CMVT_ParamFilenames.h"

#include "params/ui/WidgetHelpers.h"

#include "core/IPrompter.h"
#include "params/ui/CMVT_EditTyped.h"
#include "params/ui/CMVT_FileSelection.h"
#include "params/ui/CMVT_ParamFilename.h"
#include "params/ui/CUiServices.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QUrl>

#include <algorithm>
#include <functional>

CMVT_ParamFilenames::CMVT_ParamFilenames(QWidget* parent)
    : CMVT_Parameter(parent),
      m_edit(new CMVT_EditTyped(this, CMVT_EditTyped::TypeMultiLineText)),
      m_filter(CMVT_ParamFilename::kDefaultFilter)
{
    m_edit->setEditLimit(kEditLimit);
    m_edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Drops are the item's: a dropped folder is a question, not text.
    m_edit->setAcceptDrops(false);
    m_edit->viewport()->setAcceptDrops(false);
    setAcceptDrops(true);
    m_edit->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_edit, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu* menu = createContextMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(m_edit->viewport()->mapToGlobal(at));
    });
    addControl(m_edit, 1);
    watchEdit(m_edit);
}

void CMVT_ParamFilenames::setText(const std::string& text)
{
    m_edit->setTextValue(text);
    refreshLabel();
}

const std::string& CMVT_ParamFilenames::text() const { return m_edit->textValue(); }

std::vector<std::string> CMVT_ParamFilenames::fileNames() const
{
    std::vector<std::string> out;
    std::string line;
    for (char c : text() + "\n") {
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (!line.empty())
                out.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    return out;
}

void CMVT_ParamFilenames::appendNames(const std::vector<std::string>& names)
{
    if (names.empty())
        return;
    std::string t = text();
    for (const std::string& n : names) {
        if (!t.empty() && t.back() != '\n')
            t += '\n';
        t += n;
    }
    setText(t);
    m_edit->verticalScrollBar()->setValue(m_edit->verticalScrollBar()->maximum());
    notifyChanged();
}

void CMVT_ParamFilenames::addDroppedPaths(const std::vector<std::string>& paths)
{
    const bool anyFolder = std::any_of(paths.begin(), paths.end(), &CMVT_FileSelection::isFolder);
    if (anyFolder
        && CUiServices::prompter().ask(kAddFolderContents, IPrompter::Buttons::YesNo, IPrompter::Icon::Question)
               == IPrompter::Answer::Yes) {
        appendNames(CMVT_FileSelection::expandFolders(paths));
        return;
    }
    appendNames(paths);
}

void CMVT_ParamFilenames::sortNames(bool ascending)
{
    std::vector<std::string> names = fileNames();
    if (ascending)
        std::sort(names.begin(), names.end());
    else
        std::sort(names.begin(), names.end(), std::greater<>());
    std::string t;
    for (const std::string& n : names)
        t += (t.empty() ? "" : "\n") + n;
    setText(t);
    notifyChanged();
}

void CMVT_ParamFilenames::addFiles()
{
    appendNames(CMVT_FileSelection::selectMany(this, m_filter, plainLabel()));
}

void CMVT_ParamFilenames::addFolder()
{
    const std::string folder = CUiServices::fileChooser().chooseFolder(this, plainLabel(), {});
    if (!folder.empty())
        addDroppedPaths({folder});
}

QMenu* CMVT_ParamFilenames::createContextMenu(QWidget* parent)
{
    auto* menu = new QMenu(parent);
    menu->addAction(QStringLiteral("Edit..."), this, [this] {
        m_edit->setFocus(Qt::OtherFocusReason);
        m_edit->selectAll();
    });
    menu->addSeparator();
    menu->addAction(QStringLiteral("Sort All Ascending"), this, [this] { sortNames(true); });
    menu->addAction(QStringLiteral("Sort All Descending"), this, [this] { sortNames(false); });
    menu->addSeparator();
    menu->addAction(QStringLiteral("Files"), this, [this] { addFiles(); });
    menu->addAction(QStringLiteral("Folders"), this, [this] { addFolder(); });
    return menu;
}

std::string CMVT_ParamFilenames::statusText() const
{
    return ": (Remaining Chars = " + std::to_string(m_edit->editLimit() - m_edit->currentLength()) + ", "
         + std::to_string(fileNames().size()) + " Filenames)";
}

void CMVT_ParamFilenames::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMVT_ParamFilenames::dropEvent(QDropEvent* event)
{
    std::vector<std::string> paths;
    for (const QString& path : droppedLocalFiles(event->mimeData()))
        paths.push_back(path.toStdString());
    event->acceptProposedAction();
    addDroppedPaths(paths);
}

std::string CMVT_ParamFilenames::valueText() const { return text(); }
void CMVT_ParamFilenames::setValueText(const std::string& list) { setText(list); }
