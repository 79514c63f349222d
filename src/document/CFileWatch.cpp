#include "document/CFileWatch.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

CFileWatch::CFileWatch(QObject* parent) : QObject(parent)
{
    m_settling.setSingleShot(true);
    m_settling.setInterval(kSettleMs);
    connect(&m_settling, &QTimer::timeout, this, &CFileWatch::settle);
    // The file itself, and its folder: a file replaced by a rename (as every
    // safe save does) or removed and made again is only seen there.
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, [this] { m_settling.start(); });
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] { m_settling.start(); });
}

void CFileWatch::watch(const QString& path)
{
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    m_path = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    m_known = current();
    arm();
}

void CFileWatch::remember()
{
    m_known = current();
    arm();
}

CFileWatch::Signature CFileWatch::current() const
{
    struct stat status {};
    if (m_path.isEmpty() || ::stat(QFile::encodeName(m_path).constData(), &status) != 0)
        return {};
    const auto ns = [](const timespec& t) { return qint64(t.tv_sec) * 1000000000 + t.tv_nsec; };
    return {true, quint64(status.st_ino), qint64(status.st_size), ns(status.st_mtim), ns(status.st_ctim)};
}

void CFileWatch::arm()
{
    if (m_path.isEmpty())
        return;
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!m_watcher.directories().contains(folder))
        m_watcher.addPath(folder);
    if (QFileInfo::exists(m_path) && !m_watcher.files().contains(m_path))
        m_watcher.addPath(m_path);
}

void CFileWatch::settle()
{
    arm();  // a replaced file is a new one to watch
    const Signature now = current();
    if (now == m_known)
        return;
    m_known = now;
    if (now.exists)
        emit changedOutside();
    else
        emit removed();
}
