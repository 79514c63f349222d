#include "app/CRecentFileList.h"

#include <QFileInfo>
#include <QSettings>

namespace {
QString entryKey(int index) { return QString::asprintf(CRecentFileList::kEntryFormat, index + 1); }

QString canonical(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
}
} // namespace

void CRecentFileList::load(QSettings& settings)
{
    m_paths.clear();
    settings.beginGroup(QString::fromLatin1(kSection));
    for (int i = 0; i < kSize; ++i) {
        const QString path = settings.value(entryKey(i)).toString();
        if (!path.isEmpty())
            m_paths.append(path);
    }
    settings.endGroup();
}

void CRecentFileList::save(QSettings& settings) const
{
    settings.beginGroup(QString::fromLatin1(kSection));
    for (int i = 0; i < kSize; ++i) {
        if (i < m_paths.size())
            settings.setValue(entryKey(i), m_paths[i]);
        else
            settings.remove(entryKey(i));
    }
    settings.endGroup();
}

void CRecentFileList::add(const QString& path)
{
    if (path.isEmpty())
        return;
    const QString key = canonical(path);
    for (int i = static_cast<int>(m_paths.size()) - 1; i >= 0; --i)
        if (canonical(m_paths[i]) == key)
            m_paths.removeAt(i);
    m_paths.prepend(QFileInfo(path).absoluteFilePath());
    while (m_paths.size() > kSize)
        m_paths.removeLast();
}

void CRecentFileList::remove(int index)
{
    if (index >= 0 && index < m_paths.size())
        m_paths.removeAt(index);
}

QString CRecentFileList::path(int index) const
{
    return index >= 0 && index < m_paths.size() ? m_paths[index] : QString();
}

QString CRecentFileList::menuText(int index) const
{
    if (index < 0 || index >= m_paths.size())
        return {};
    QString shown = m_paths[index];
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    // The first nine get their number as the mnemonic.
    const QString number = index < 9 ? QStringLiteral("&%1").arg(index + 1) : QString::number(index + 1);
    return number + QLatin1Char(' ') + shown;
}
