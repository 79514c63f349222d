#pragma once

#include <QMap>
#include <QString>

class QSettings;

// Where file dialogs open: the folder each dialog (by its title) was last
// left in, kept in the settings between runs; for a dialog not used yet, the
// folder of the document being edited; else the home folder.
class CDialogFolders {
public:
    static constexpr const char* kSection = "Settings/Dialog Folders";

    // The full name a dialog starts with. A start name in a folder that
    // exists is kept; otherwise its file name (if any: a bare folder ends
    // in "/") is put in the folder above.
    QString startName(const QString& dialog, const QString& startName) const;
    QString startFolder(const QString& dialog) const;
    // The folder of a chosen file (or a chosen folder itself) becomes the
    // dialog's.
    void remember(const QString& dialog, const QString& chosen);
    void setDocumentFolder(const QString& folder) { m_documentFolder = folder; }

    void load(QSettings& settings);
    void save(QSettings& settings) const;
    void clear() { m_folders.clear(); }

private:
    QMap<QString, QString> m_folders;
    QString m_documentFolder;
};
