#include "params/CTaskLog.h"

#include "core/CArchive.h"
#include "core/CArchiveException.h"
#include "core/ProgramFolder.h"
#include "params/CTaskProgressText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace {
// A bare name goes beside the program, as it always did, unless the program
// lies where the user may not write (installed under /usr): then the log
// goes to the user's own data folder.
std::string besideProgram(const std::string& name)
{
    if (name.find('/') != std::string::npos)
        return name;
    QString folder = QString::fromStdString(programFolder());
    if (folder.isEmpty() || !QFileInfo(folder).isWritable()) {
        const QString own = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
        if (!own.isEmpty() && QDir().mkpath(own))
            folder = own;
    }
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder.toStdString() + name;
}
} // namespace

CTaskLog::CTaskLog() : m_path(besideProgram(kDefaultFileName)) {}

void CTaskLog::setLogFileName(const std::string& name)
{
    std::lock_guard lock(m_mutex);
    m_path = besideProgram(name);
}

std::string CTaskLog::logFilePath() const
{
    std::lock_guard lock(m_mutex);
    return m_path;
}

void CTaskLog::setLogOptions(bool showPrevious, bool doNotRead, int limit)
{
    std::string path;
    {
        std::lock_guard lock(m_mutex);
        m_previous.clear();
        m_showPrevious = showPrevious;
        m_doNotRead = doNotRead;
        m_limit = std::max(limit, kMinimumLimit);
        m_logToFile = true;
        if (doNotRead) {
            m_showPrevious = false;
            return;
        }
        path = m_path;
    }
    // Read outside the lock: the log box may ask for the text meanwhile.
    std::string text;
    QFile file(QString::fromStdString(path));
    if (file.open(QIODevice::ReadOnly)) {
        try {
            CDeviceArchive ar(file, CArchive::Mode::Load);
            text = ar.readString();
        } catch (const CArchiveException&) {
            text.clear(); // a damaged log is as good as none
        }
    }
    {
        std::lock_guard lock(m_mutex);
        m_previous = std::move(text);
    }
    changed();
}

void CTaskLog::disableLogFile()
{
    {
        std::lock_guard lock(m_mutex);
        m_previous.clear();
        m_logToFile = false;
    }
    changed();
}

void CTaskLog::setLogText(const std::string& text)
{
    {
        std::lock_guard lock(m_mutex);
        m_current = text;
    }
    changed();
}

void CTaskLog::append(const std::string& text)
{
    {
        std::lock_guard lock(m_mutex);
        m_current += text;
    }
    changed();
}

void CTaskLog::logWithTime(const std::string& format)
{
    append(CTaskProgressText::withTime(format, CTaskProgressText::currentTimeText()));
}

void CTaskLog::logWithTime(const std::string& format, const std::tm& when)
{
    append(CTaskProgressText::withTime(format, CTaskProgressText::timeText(when)));
}

std::string CTaskLog::currentText() const
{
    std::lock_guard lock(m_mutex);
    return m_current;
}

std::string CTaskLog::previousText() const
{
    std::lock_guard lock(m_mutex);
    return m_previous;
}

std::string CTaskLog::displayedText() const
{
    std::lock_guard lock(m_mutex);
    return m_showPrevious ? m_previous + m_current : m_current;
}

bool CTaskLog::logToFile() const
{
    std::lock_guard lock(m_mutex);
    return m_logToFile;
}

bool CTaskLog::showPrevious() const
{
    std::lock_guard lock(m_mutex);
    return m_showPrevious;
}

bool CTaskLog::doNotRead() const
{
    std::lock_guard lock(m_mutex);
    return m_doNotRead;
}

int CTaskLog::limit() const
{
    std::lock_guard lock(m_mutex);
    return m_limit;
}

std::string CTaskLog::storedText(const std::string& previous, const std::string& current, int limit)
{
    std::string text = previous + current;
    const auto keep = static_cast<std::size_t>(std::max(limit, 0));
    if (text.size() > keep)
        text = kTruncatedMark + text.substr(text.size() - keep);
    return text;
}

int CTaskLog::writeLogFile()
{
    std::string text;
    std::string path;
    {
        std::lock_guard lock(m_mutex);
        if (!m_logToFile)
            return 0;
        text = storedText(m_previous, m_current, m_limit);
        path = m_path;
        m_previous.clear();
        m_current.clear();
    }
    changed();
    // Written beside and renamed over, so a failed write keeps the old log.
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly))
        return 0;
    try {
        CDeviceArchive ar(file, CArchive::Mode::Store);
        ar.writeString(text);
        ar.close();
    } catch (const CFileException&) {
        file.cancelWriting();
        return 0;
    }
    return file.commit() ? 1 : 0;
}

void CTaskLog::setChangeCallback(std::function<void()> callback)
{
    std::lock_guard lock(m_mutex);
    m_onChange = std::move(callback);
}

void CTaskLog::changed()
{
    std::function<void()> callback;
    {
        std::lock_guard lock(m_mutex);
        callback = m_onChange;
    }
    if (callback)
        callback();
}
