#include "CliCommand.h"

#include "core/CRegularFile.h"
#include "core/CResourceHolder.h"
#include "core/CWalkedDocument.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <future>

namespace {
// A byte that is not part of valid text travels as a lone low surrogate,
// which no valid text contains, so the name comes back byte for byte.
constexpr char16_t kEscapedByte = 0xDC00;
} // namespace

namespace {
// "TERM<tab>text" lines as an indented two-column list.
QString optionLines(const char* options)
{
    QString text;
    for (const QString& line : QString::fromUtf8(options).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QString term = line.section(QLatin1Char('\t'), 0, 0);
        const QString what = line.section(QLatin1Char('\t'), 1);
        text += QStringLiteral("  %1  %2\n").arg(term, -22).arg(what);
    }
    return text;
}
} // namespace

const char* const kStoppableExits = "0\tdone\n1\tfailed, or the arguments were wrong\n130\tstopped by Ctrl+C";

QString usageWithOptions(const char* usage, const char* options)
{
    const QString list = optionLines(options);
    return QStringLiteral("usage: %1").arg(QLatin1String(usage)) +
           (list.isEmpty() ? QString() : QStringLiteral("\noptions:\n") + list.chopped(1));
}

QString commandHelp(const CliCommand& command)
{
    QString text = QStringLiteral("usage: quillop-cli %1\n  %2\n").arg(QLatin1String(command.usage),
                                                                     QString::fromUtf8(command.summary));
    const QString list = optionLines(command.options);
    if (!list.isEmpty())
        text += QStringLiteral("\noptions:\n") + list;
    const char* exits = command.exits ? command.exits : "0\tdone\n1\tfailed, or the arguments were wrong";
    text += QStringLiteral("\nexit status:\n") + optionLines(exits);
    return text;
}

int fail(const QString& message)
{
    std::fprintf(stderr, "quillop-cli: %s\n", qPrintable(message));
    return 1;
}

QString argumentText(const QByteArray& bytes)
{
    const QString text = QFile::decodeName(bytes);
    if (QFile::encodeName(text) == bytes)
        return text;
    QString escaped;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        escaped += byte < 0x80 ? QChar(byte) : QChar(char16_t(kEscapedByte + byte));
    }
    return escaped;
}

std::string argumentBytes(const QString& argument)
{
    const auto isEscaped = [](QChar c) { return c.unicode() >= kEscapedByte + 0x80 && c.unicode() <= kEscapedByte + 0xFF; };
    if (std::none_of(argument.begin(), argument.end(), isEscaped))
        return QFile::encodeName(argument).toStdString();
    // An escaped argument holds nothing but ASCII and escaped bytes.
    std::string bytes;
    for (const QChar c : argument)
        bytes += static_cast<char>(isEscaped(c) ? c.unicode() - kEscapedByte : c.unicode());
    return bytes;
}

std::string absoluteArgument(const QString& argument)
{
    const std::string name = argumentBytes(argument);
    if (!name.empty() && name.front() == '/')
        return name;
    return QFile::encodeName(QDir::currentPath()).toStdString() + "/" + name;
}

bool requireReplaceable(const QString& target)
{
    if (CRegularFile::isReplaceable(argumentBytes(target)))
        return true;
    fail(QStringLiteral("%1: exists and is not a regular file; it is left as it is").arg(target));
    return false;
}

bool loadDocument(CResourceHolder& holder, const QString& path)
{
    const std::string name = absoluteArgument(path);
    if (!CRegularFile::exists(name)) {
        fail(QStringLiteral("%1: no such file").arg(path));
        return false;
    }
    if (!CRegularFile::isRegular(name)) {
        fail(QStringLiteral("%1: not a regular file").arg(path));
        return false;
    }
    // An absolute name, so that a bare name means the current folder here,
    // not the program's folder as it does for the editor's own files.
    if (!holder.load(name)) {
        fail(QStringLiteral("%1: could not be loaded").arg(path));
        return false;
    }
    if (const auto& dropped = holder.droppedPart())
        fail(QStringLiteral("%1: only partly loaded: the %2 bytes from byte %3 on are of an unknown type and were left out")
                 .arg(path)
                 .arg(dropped->bytes)
                 .arg(dropped->offset));
    return true;
}

namespace {
// Runs `work` on every entry, the first on this thread and each other on a
// thread of its own; true when it succeeded on all.
template <typename Entry, typename Work>
bool eachOnItsOwnThread(const std::vector<Entry>& entries, const Work& work)
{
    std::vector<std::future<bool>> others;
    for (std::size_t i = 1; i < entries.size(); ++i)
        others.push_back(std::async(std::launch::async, [&, i] { return work(entries[i]); }));
    bool all = entries.empty() || work(entries[0]);
    for (std::future<bool>& other : others)
        all = other.get() && all;
    return all;
}
} // namespace

bool loadDocuments(const std::vector<std::pair<CResourceHolder*, QString>>& documents)
{
    return eachOnItsOwnThread(documents, [](const auto& document) { return loadDocument(*document.first, document.second); });
}

bool walkDocuments(const std::vector<std::pair<CWalkedDocument*, QString>>& documents)
{
    const auto walk = [](CWalkedDocument& document, const QString& path) {
        // The names a full load would refuse are left to it.
        const std::string name = absoluteArgument(path);
        return CRegularFile::isRegular(name) && CResourceHolder::isResourceFile(name) && document.open(name);
    };
    return eachOnItsOwnThread(documents, [&](const auto& document) { return walk(*document.first, document.second); });
}
