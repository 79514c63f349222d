#include "params/ui/CMVT_FileSelection.h"

#include "core/IPrompter.h"
#include "params/ui/CUiServices.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>

std::string CMVT_FileSelection::selectOne(QWidget* parent, const std::string& filter, const std::string& title,
                                          const std::string& current, bool save)
{
    IFileChooser::Request request;
    request.title = title;
    request.filter = filter;
    request.save = save;
    request.startName = current.empty() ? (QDir::currentPath().toStdString() + "/" + kPleaseSelect) : current;
    const std::vector<std::string> chosen = CUiServices::fileChooser().chooseFiles(parent, request);
    if (chosen.empty() || chosen.front().size() > static_cast<std::size_t>(kMaxPathLength))
        return {};
    return chosen.front();
}

std::vector<std::string> CMVT_FileSelection::selectMany(QWidget* parent, const std::string& filter,
                                                        const std::string& title)
{
    IFileChooser::Request request;
    request.title = title;
    request.filter = filter;
    request.multiple = true;
    request.startName = QDir::currentPath().toStdString() + "/" + kPleaseSelect;
    std::vector<std::string> chosen = CUiServices::fileChooser().chooseFiles(parent, request);
    if (!fitsNameBuffer(chosen)) {
        CUiServices::prompter().tell(kTooManyFiles, IPrompter::Icon::Stop);
        return {};
    }
    return chosen;
}

bool CMVT_FileSelection::fitsNameBuffer(const std::vector<std::string>& paths)
{
    if (paths.empty())
        return true;
    std::size_t needed = 1;
    if (paths.size() == 1) {
        needed += paths.front().size() + 1;
    } else {
        needed += QFileInfo(QString::fromStdString(paths.front())).absolutePath().toStdString().size() + 1;
        for (const std::string& p : paths)
            needed += QFileInfo(QString::fromStdString(p)).fileName().toStdString().size() + 1;
    }
    return needed <= kNameBufferSize;
}

bool CMVT_FileSelection::isFolder(const std::string& path) { return QFileInfo(QString::fromStdString(path)).isDir(); }

std::vector<std::string> CMVT_FileSelection::expandFolders(const std::vector<std::string>& paths)
{
    std::vector<std::string> out;
    for (const std::string& p : paths) {
        if (!isFolder(p)) {
            out.push_back(p);
            continue;
        }
        // Links to folders are not followed: a link back up the tree would
        // never end.
        std::vector<std::string> found;
        QDirIterator it(QString::fromStdString(p), QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            found.push_back(it.next().toStdString());
        std::sort(found.begin(), found.end());
        out.insert(out.end(), found.begin(), found.end());
    }
    return out;
}
