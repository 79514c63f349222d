#include "CliCommand.h"

#include "core/CRegularFile.h"
#include "core/CResourceHolder.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstdio>

namespace {
// A byte that is not part of valid text travels as a lone low surrogate,
// which no valid text contains, so the name comes back byte for byte.
constexpr char16_t kEscapedByte = 0xDC00;
} // namespace

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
