#include "tools/renamer/CFileRenamer.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QString>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <map>
#include <set>
#include <unistd.h>

namespace {
using Entry = CFileRenamer::Entry;
using Status = Entry::Status;

QString qs(const std::string& s) { return QString::fromStdString(s); }

// Moves a file only if nothing has the new name; falls back to link and
// unlink where the file system cannot refuse an existing name in one step.
bool renameNoReplace(const std::string& from, const std::string& to)
{
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    if (link(from.c_str(), to.c_str()) != 0)
        return false;
    return unlink(from.c_str()) == 0;
}

QString numbered(const QString& pattern, const QString& stem, long long number)
{
    QString out;
    for (qsizetype i = 0; i < pattern.size();) {
        if (pattern[i] == QLatin1Char('#')) {
            qsizetype run = 0;
            while (i + run < pattern.size() && pattern[i + run] == QLatin1Char('#'))
                ++run;
            out += QStringLiteral("%1").arg(number, int(run), 10, QLatin1Char('0'));
            i += run;
        } else {
            out += pattern[i] == QLatin1Char('*') ? stem : QString(pattern[i]);
            ++i;
        }
    }
    return out;
}

QString newName(const QFileInfo& file, const CFileRenamer::Rule& rule, int index, const QRegularExpression& re)
{
    const QString name = file.fileName();
    if (rule.mode == CFileRenamer::Rule::Mode::Numbering) {
        const QString suffix = file.suffix().isEmpty() ? QString() : QLatin1Char('.') + file.suffix();
        const long long number = rule.start + static_cast<long long>(index) * rule.step;
        return numbered(qs(rule.pattern), file.completeBaseName(), number) + suffix;
    }
    if (rule.find.empty())
        return name;
    QString result = name;
    if (rule.regularExpression)
        return result.replace(re, qs(rule.replace));
    return result.replace(qs(rule.find), qs(rule.replace),
                          rule.caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive);
}

const char* invalidName(const QString& name)
{
    if (name.isEmpty())
        return "the new name is empty";
    if (name.contains(QLatin1Char('/')))
        return "the new name holds a '/'";
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return "the new name is not a file name";
    return nullptr;
}
} // namespace

std::vector<Entry> CFileRenamer::preview(const std::vector<std::string>& paths, const Rule& rule)
{
    QRegularExpression re;
    if (rule.mode == Rule::Mode::Replace && rule.regularExpression) {
        re.setPattern(qs(rule.find));
        if (!rule.caseSensitive)
            re.setPatternOptions(QRegularExpression::CaseInsensitiveOption);
    }
    std::vector<Entry> entries;
    std::set<std::string> sources;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const QFileInfo file(qs(paths[i]));
        Entry e;
        e.source = file.absoluteFilePath().toStdString();
        e.target = e.source;
        if (!sources.insert(e.source).second) {
            e.status = Status::Invalid;
            e.why = "listed twice";
        } else if (!file.exists()) {
            e.status = Status::Invalid;
            e.why = "no such file";
        } else if (!re.pattern().isEmpty() && !re.isValid()) {
            e.status = Status::Invalid;
            e.why = "the regular expression is not valid: " + re.errorString().toStdString();
        } else {
            const QString name = newName(file, rule, int(i), re);
            if (const char* why = invalidName(name)) {
                e.status = Status::Invalid;
                e.why = why;
            } else {
                e.target = file.dir().filePath(name).toStdString();
                e.status = e.target == e.source ? Status::Unchanged : Status::Renamed;
            }
        }
        entries.push_back(e);
    }
    // Which names the files will have once renamed, and which stay where they are.
    std::map<std::string, int> finalNames;
    for (const Entry& e : entries)
        ++finalNames[e.status == Status::Renamed ? e.target : e.source];
    for (Entry& e : entries) {
        if (e.status != Status::Renamed)
            continue;
        if (finalNames[e.target] > 1) {
            e.status = Status::Collision;
            e.why = "another file of the list takes this name";
        } else if (QFileInfo::exists(qs(e.target)) && !sources.count(e.target)) {
            e.status = Status::Collision;
            e.why = "a file of this name exists";
        }
    }
    return entries;
}

bool CFileRenamer::acceptable(const std::vector<Entry>& entries)
{
    for (const Entry& e : entries)
        if (e.status == Status::Collision || e.status == Status::Invalid)
            return false;
    return true;
}

int CFileRenamer::apply(const std::vector<Entry>& entries, std::string* error)
{
    auto refuse = [error](const std::string& why) {
        if (error)
            *error = why;
    };
    if (!acceptable(entries)) {
        for (const Entry& e : entries)
            if (e.status == Status::Collision || e.status == Status::Invalid) {
                refuse(e.source + ": " + e.why);
                break;
            }
        return 0;
    }
    // First every file to a name of its own, then to its new name: a list
    // that swaps two names never needs one to overwrite the other.
    struct Move {
        std::string source, temporary, target;
    };
    std::vector<Move> moves;
    int serial = 0;
    for (const Entry& e : entries)
        if (e.status == Status::Renamed)
            moves.push_back({e.source, {}, e.target});
    std::vector<std::pair<std::string, std::string>> done; // (from, to), to undo in reverse
    auto undo = [&done] {
        for (auto it = done.rbegin(); it != done.rend(); ++it)
            renameNoReplace(it->second, it->first);
    };
    for (Move& m : moves) {
        do
            m.temporary = m.source + ".renaming-" + std::to_string(getpid()) + "-" + std::to_string(serial++);
        while (QFileInfo::exists(qs(m.temporary)));
        if (!renameNoReplace(m.source, m.temporary)) {
            undo();
            refuse(m.source + ": could not be renamed");
            return 0;
        }
        done.emplace_back(m.source, m.temporary);
    }
    int renamed = 0;
    for (Move& m : moves) {
        if (!renameNoReplace(m.temporary, m.target)) {
            undo();
            refuse(m.target + ": a file of this name appeared, or it could not be written");
            return 0;
        }
        done.emplace_back(m.temporary, m.target);
        ++renamed;
    }
    return renamed;
}
