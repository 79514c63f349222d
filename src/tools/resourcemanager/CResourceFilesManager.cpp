#include "tools/resourcemanager/CResourceFilesManager.h"

#include "core/CResourceHolder.h"
#include "core/IPrompter.h"
#include "kinds/CItemKinds.h"

#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

namespace {
// Agrees to load older versions and keeps what the loader complains about.
class CConversionPrompter : public IPrompter {
public:
    Answer ask(const std::string& text, Buttons buttons, Icon) override
    {
        if (buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel)
            return Answer::Yes;
        if (!complaint.empty())
            complaint += ' ';
        complaint += text;
        return Answer::Ok;
    }
    std::string complaint;
};
} // namespace

bool CResourceFilesManager::isResourceFile(const std::string& path)
{
    return QFileInfo(QString::fromStdString(path)).isFile() && CResourceHolder::isResourceFile(path);
}

std::string CResourceFilesManager::newName(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = path.find_last_of('.');
    const std::string stem = dot == std::string::npos || dot <= nameStart ? path : path.substr(0, dot);
    return stem + kNewSuffix + ".mrc";
}

std::vector<std::string> CResourceFilesManager::filter(const std::vector<std::string>& paths)
{
    std::vector<std::string> kept;
    std::copy_if(paths.begin(), paths.end(), std::back_inserter(kept), &isResourceFile);
    return kept;
}

CResourceFilesManager::FileOutcome CResourceFilesManager::convert(const std::string& path,
                                                                  const ReplaceQuestion& replace)
{
    FileOutcome result{path, newName(path), Outcome::NotResourceFile, {}};
    if (!isResourceFile(path))
        return result;
    const QString target = QString::fromStdString(result.target);
    if (QFileInfo::exists(target) && !(replace && replace(result.target))) {
        result.outcome = Outcome::TargetExists;
        return result;
    }
    auto holder = createDocumentHolder();
    CConversionPrompter prompter;
    holder->setPrompter(&prompter);
    // Absolute, so that a bare name is this folder's file, not the program's.
    const std::string absolute = QFileInfo(QString::fromStdString(path)).absoluteFilePath().toStdString();
    if (!holder->load(absolute) || !prompter.complaint.empty()) {
        result.outcome = Outcome::LoadFailed;
        result.reason = prompter.complaint;
        return result;
    }
    result.outcome = holder->save(result.target) ? Outcome::Converted : Outcome::WriteFailed;
    return result;
}

std::vector<CResourceFilesManager::FileOutcome> CResourceFilesManager::convertAll(
    const std::vector<std::string>& paths, int workers, const ReplaceQuestion& replace,
    const std::function<void(const FileOutcome&)>& done)
{
    std::vector<FileOutcome> outcomes(paths.size());
    std::atomic<std::size_t> next{0};
    // The question may show a window: one at a time, whichever worker asks.
    std::mutex askLock;
    const ReplaceQuestion serialisedReplace = [&](const std::string& target) {
        const std::lock_guard<std::mutex> guard(askLock);
        return replace && replace(target);
    };
    auto work = [&] {
        for (std::size_t taken = next++; taken < paths.size(); taken = next++) {
            const std::size_t i = paths.size() - 1 - taken;
            outcomes[i] = convert(paths[i], serialisedReplace);
            if (done)
                done(outcomes[i]);
        }
    };
    const std::size_t threads = std::clamp<std::size_t>(std::size_t(std::max(1, workers)), 1, std::max<std::size_t>(1, paths.size()));
    std::vector<std::thread> pool;
    for (std::size_t t = 1; t < threads; ++t)
        pool.emplace_back(work);
    work();
    for (std::thread& t : pool)
        t.join();
    return outcomes;
}

std::string CResourceFilesManager::outcomeText(const FileOutcome& outcome)
{
    switch (outcome.outcome) {
    case Outcome::Converted: return "converted to " + outcome.target;
    case Outcome::NotResourceFile: return "not a resource file";
    case Outcome::LoadFailed:
        return outcome.reason.empty() ? "could not be loaded" : "could not be loaded: " + outcome.reason;
    case Outcome::TargetExists: return outcome.target + " exists already, not replaced";
    case Outcome::WriteFailed: return outcome.target + " could not be written";
    }
    return {};
}
