#include "core/ProgramFolder.h"

#include <QCoreApplication>
#include <QFileInfo>

std::string programFolder()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath().toStdString();
    // Without an application object (plain tests, early start-up) ask the kernel.
    const QFileInfo self(QStringLiteral("/proc/self/exe"));
    return self.exists() ? QFileInfo(self.symLinkTarget()).absolutePath().toStdString() : std::string();
}
