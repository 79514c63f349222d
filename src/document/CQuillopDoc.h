#pragma once

#include "core/IPrompter.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>
#include <string>

class CDocumentHistory;
class CFileWatch;
class QTimer;
class CRecoveryWriter;
class CResourceHolder;
class QWidget;

// One resource file in memory: the holder with the document's ID, Comments
// and ten groups, plus the path, the title and the modified flag. Messages go
// through the interface's prompter, file names and passwords through the
// document dialogs, so that tests drive it without windows.
class CQuillopDoc : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kLoadFailed = "Error occured while loading !";
    static constexpr const char* kSaveFailed = "Error occured during save !";
    static constexpr const char* kFrameworkSaveFailed = "Error occured while saving !";
    static constexpr const char* kUnreadable = "Error: unreadable file format !";
    // A file that did not open is named above the reason it did not.
    static constexpr const char* kAboutFile = "%1\n\n%2";
    static constexpr const char* kSaveChanges = "Save changes to %1?";
    static constexpr const char* kReplaceFile = "%1 already exists.\nDo you want to replace it?";
    static constexpr const char* kModifiedMark = " *";
    static constexpr const char* kUntitledName = "Untitled.mrc";
    static constexpr const char* kPartlyLoadedMark = " (partly loaded)";
    static constexpr const char* kChangedOutside =
        "%1 was changed by another program.\n\nReload it and lose your changes? No keeps your changes.";
    static constexpr const char* kCannotReload = "%1 was changed by another program and cannot be read now: %2";
    static constexpr const char* kSaveOverPartlyLoaded =
        "%1 was only partly loaded: %2 bytes of it are of an unknown type and were left out.\n\n"
        "Saving over it loses them. Do you still want to save over %1?";

    // One per program, shared by Open and Save As.
    struct FileDialogState {
        std::string lastName;
        int filterIndex = 1;
    };
    static FileDialogState& fileDialogState();

    explicit CQuillopDoc(QObject* parent = nullptr);
    ~CQuillopDoc() override;

    CResourceHolder& holder() { return *m_holder; }
    const CResourceHolder& holder() const { return *m_holder; }
    // Every change goes through it; its clean state is the modified mark.
    CDocumentHistory& history() const { return *m_history; }

    // A new, untitled document ("MRC1", "MRC2" ...).
    void initNew();
    // Reads the file and asks for its password when it has one. 1 on
    // success; on failure 0 and one message that names the file and says
    // why (the reader's words, or "Error occured while loading !").
    int openDocument(const QString& path);
    // Saves under that path and makes it the document's: 1 on success;
    // "Error occured while saving !" on failure.
    int saveDocument(const QString& path);

    // The Save and Save As commands: 1 when saved.
    int save(QWidget* parent = nullptr);
    int saveAs(QWidget* parent = nullptr);
    // Asks "Save changes to ...?" for a modified document: false when the
    // user cancelled or the save failed.
    bool canClose();

    // Takes a recovery copy a crash left behind as this document: under
    // the name of the file it belongs to (none for an untitled one), and
    // modified, so that Save writes it where it belongs. 1 when read.
    int recover(const QString& copy, const QString& original, const QString& title);

    // What accepting Document Properties writes.
    int applyProperties(const std::string& id, const std::string& comments, int stepDelay,
                        const std::string& password);

    QString path() const { return m_path; }
    QString title() const { return m_title; }
    // Modified while the history is away from its saved point, or after a
    // change that was not recorded in it.
    bool isModified() const;
    // Opened from a file whose end could not be read: saving over that file
    // asks first, as it would lose the part left out.
    bool isPartlyLoaded() const { return m_leftOut > 0; }
    // The title with a trailing " *" taken off, and put back when modified.
    void setTitle(const QString& title);
    // False: this is the saved state (the history's clean point).
    void setModified(bool modified);
    // After an edit: modified, and the mark shown at once. Inside a recorded
    // edit it waits for the step, whose undo may take the mark away again.
    void markModified();

signals:
    void titleChanged(const QString& title);
    // Saved or opened under a path: the recent-file list takes it.
    void pathRecorded(const QString& path);
    // The command states of the main frame may have changed.
    void commandStatesChanged();
    // Properties were applied: panels reload and the timer restarts.
    void propertiesApplied();

private:
    IPrompter& prompter() const;
    bool mayReplaceSource(const QString& target);
    void savedAs(const QString& target);
    void recordPath(const QString& path);
    void tellSaveFailed(const char* text, const QString& path);
    // The file was changed or removed by another program.
    void fileChangedOutside();
    void reloadFromFile();
    // A copy in the recovery folder some seconds after a change; gone once
    // the document is saved or closed.
    void scheduleRecoveryCopy();
    void writeRecoveryCopy();
    static QString displayName(const QString& path);
    int refuseOpen(const QString& path, const std::string& reason, IPrompter::Icon icon);

    std::unique_ptr<CResourceHolder> m_holder;
    std::unique_ptr<CDocumentHistory> m_history;
    QString m_path;
    QString m_title;
    std::int64_t m_leftOut = 0;  // bytes of the source the load did not read
    bool m_changedOutsideHistory = false;
    CFileWatch* m_watch;
    QTimer* m_recoveryTimer;
    std::uint64_t m_changes = 0;  // every change, for the recovery copy taken in slices
    CRecoveryWriter* m_recovery;
};
