#include "params/CDialogFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>

namespace {
bool isFolder(const QString& path) { return !path.isEmpty() && QFileInfo(path).isDir(); }

// A settings key: a slash would open a group.
QString keyOf(const QString& dialog)
{
    QString key = dialog;
    key.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    return key;
}
} // namespace

QString CDialogFolders::startFolder(const QString& dialog) const
{
    const QString remembered = m_folders.value(keyOf(dialog));
    if (isFolder(remembered))
        return remembered;
    if (isFolder(m_documentFolder))
        return m_documentFolder;
    return QDir::homePath();
}

QString CDialogFolders::startName(const QString& dialog, const QString& startName) const
{
    // A bare name says nothing of where: it is not the working folder.
    const bool placed = startName.contains(QLatin1Char('/'));
    if (placed && isFolder(QFileInfo(startName).absolutePath()))
        return startName;
    // Names stored by older files may use backslashes.
    const QString name = startName.mid(startName.lastIndexOf(QRegularExpression(QStringLiteral("[/\\\\]"))) + 1);
    const QString folder = startFolder(dialog);
    return name.isEmpty() ? folder + QLatin1Char('/') : QDir(folder).filePath(name);
}

void CDialogFolders::remember(const QString& dialog, const QString& chosen)
{
    if (chosen.isEmpty())
        return;
    const QFileInfo info(chosen);
    m_folders.insert(keyOf(dialog), info.isDir() ? info.absoluteFilePath() : info.absolutePath());
}

void CDialogFolders::load(QSettings& settings)
{
    m_folders.clear();
    settings.beginGroup(QString::fromLatin1(kSection));
    for (const QString& key : settings.childKeys())
        m_folders.insert(key, settings.value(key).toString());
    settings.endGroup();
}

void CDialogFolders::save(QSettings& settings) const
{
    settings.beginGroup(QString::fromLatin1(kSection));
    for (auto it = m_folders.cbegin(); it != m_folders.cend(); ++it)
        settings.setValue(it.key(), it.value());
    settings.endGroup();
}
