#include "CliCommand.h"

#include "core/CResourceHolder.h"

#include <QFileInfo>

#include <cstdio>

int fail(const QString& message)
{
    std::fprintf(stderr, "quillop-cli: %s\n", qPrintable(message));
    return 1;
}

bool loadDocument(CResourceHolder& holder, const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        fail(QStringLiteral("%1: no such file").arg(path));
        return false;
    }
    // An absolute name, so that a bare name means the current folder here,
    // not the program's folder as it does for the editor's own files.
    if (!holder.load(info.absoluteFilePath().toStdString())) {
        fail(QStringLiteral("%1: could not be loaded").arg(path));
        return false;
    }
    return true;
}
