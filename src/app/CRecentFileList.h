#pragma once

#include <QString>
#include <QStringList>

class QSettings;

// The most recently opened or saved documents, newest first, kept in the
// settings under "Recent File List" as "File1" ... "File16".
class CRecentFileList {
public:
    static constexpr int kSize = 16;
    static constexpr const char* kSection = "Recent File List";
    static constexpr const char* kEntryFormat = "File%d";

    void load(QSettings& settings);
    void save(QSettings& settings) const;

    // Puts the path first; an entry naming the same file moves rather than
    // repeats, and the oldest falls off past 16.
    void add(const QString& path);
    void remove(int index);

    int count() const { return static_cast<int>(m_paths.size()); }
    bool isEmpty() const { return m_paths.isEmpty(); }
    // Empty for an index out of range.
    QString path(int index) const;
    // The menu line of an entry: its number and path, every "&" of the path
    // doubled so that it shows instead of marking a mnemonic.
    QString menuText(int index) const;

private:
    QStringList m_paths;
};
