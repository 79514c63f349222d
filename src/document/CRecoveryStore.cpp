#include "document/CRecoveryStore.h"

#include "core/CRegularFile.h"
#include "core/CResourceHolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>

#include <csignal>
#include <sys/types.h>

namespace {
QString g_folder;
int g_interval = CRecoveryStore::kDefaultIntervalSeconds;

QString copyOf(const QString& key) { return QDir(CRecoveryStore::folder()).filePath(key + QStringLiteral(".mrc")); }
QString noteOf(const QString& key) { return QDir(CRecoveryStore::folder()).filePath(key + QStringLiteral(".note")); }

// A process that has ended but whose parent has not yet collected it (a
// zombie) still answers kill(0), yet will never save its document.
bool zombie(qint64 process)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(process));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const qsizetype afterName = line.lastIndexOf(')');
    return afterName >= 0 && line.mid(afterName + 1).trimmed().startsWith('Z');
}

bool running(qint64 process)
{
    return process > 0 && (::kill(pid_t(process), 0) == 0 || errno == EPERM) && !zombie(process);
}
} // namespace

QString CRecoveryStore::folder()
{
    if (!g_folder.isEmpty())
        return g_folder;
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)).filePath(QStringLiteral("recovery"));
}

void CRecoveryStore::setFolder(const QString& folder) { g_folder = folder; }
int CRecoveryStore::intervalSeconds() { return g_interval; }
void CRecoveryStore::setIntervalSeconds(int seconds) { g_interval = std::max(0, seconds); }

bool CRecoveryStore::write(const QString& key, CResourceHolder& holder, const QString& original, const QString& title)
{
    if (!QDir().mkpath(folder()))
        return false;
    // The holder's own save: written aside and renamed, so a copy is whole
    // or the previous one stays.
    if (!holder.save(CRegularFile::nameOf(copyOf(key))))
        return false;
    QSettings note(noteOf(key), QSettings::IniFormat);
    note.setValue(QStringLiteral("original"), original);
    note.setValue(QStringLiteral("title"), title);
    note.setValue(QStringLiteral("written"), QDateTime::currentDateTime());
    note.setValue(QStringLiteral("process"), QCoreApplication::applicationPid());
    note.sync();
    return note.status() == QSettings::NoError;
}

void CRecoveryStore::remove(const QString& key)
{
    QFile::remove(copyOf(key));
    QFile::remove(noteOf(key));
}

std::vector<CRecoveryStore::Entry> CRecoveryStore::abandoned()
{
    std::vector<Entry> out;
    const QDir dir(folder());
    for (const QString& name : dir.entryList({QStringLiteral("*.note")}, QDir::Files)) {
        const QString key = name.chopped(5);
        const QSettings note(dir.filePath(name), QSettings::IniFormat);
        Entry entry{copyOf(key), note.value(QStringLiteral("original")).toString(),
                    note.value(QStringLiteral("title")).toString(), note.value(QStringLiteral("written")).toDateTime(),
                    note.value(QStringLiteral("process")).toLongLong()};
        if (!QFile::exists(entry.copy) || running(entry.process))
            continue;
        out.push_back(entry);
    }
    std::sort(out.begin(), out.end(), [](const Entry& a, const Entry& b) { return a.written > b.written; });
    return out;
}

void CRecoveryStore::discard(const Entry& entry)
{
    QFile::remove(entry.copy);
    QFile::remove(entry.copy.chopped(4) + QStringLiteral(".note"));
}
