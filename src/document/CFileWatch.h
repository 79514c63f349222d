#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

// Notices when another program changes or removes a document's file (a
// build script re-packs it, git checks out another branch). Events settle
// for a moment first: a writer that truncates and rewrites, or git's remove
// and create, comes out as one change. What this program wrote itself is
// not news: `remember()` takes the file as it now stands.
class CFileWatch : public QObject {
    Q_OBJECT
public:
    static constexpr int kSettleMs = 250;

    explicit CFileWatch(QObject* parent = nullptr);

    // Watches `path` (nothing for an empty one) and takes it as it stands.
    void watch(const QString& path);
    // The file as it stands now is ours: after a save, or when the user
    // chose to keep the document as it is.
    void remember();
    QString path() const { return m_path; }

signals:
    void changedOutside();
    void removed();

private:
    // File times move in steps of the kernel's clock tick: a file replaced
    // within one tick by one of the same size differs only in its inode.
    struct Signature {
        bool exists = false;
        quint64 inode = 0;
        qint64 size = -1;
        qint64 modifiedNs = 0;
        qint64 changedNs = 0;
        bool operator==(const Signature&) const = default;
    };
    Signature current() const;
    void arm();
    void settle();

    QFileSystemWatcher m_watcher;
    QTimer m_settling;
    QString m_path;
    Signature m_known;
};
