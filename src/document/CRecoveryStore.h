#pragma once

#include <QDateTime>
#include <QString>

#include <vector>

class CResourceHolder;

// Recovery copies of modified documents, in the user's data folder (never
// beside or over the document): a normal resource file per document, with
// a small note of whose it is. A copy whose editor is no longer running is
// what a crash or a kill left behind.
class CRecoveryStore {
public:
    struct Entry {
        QString copy;      // the recovery copy, a .mrc any reader opens
        QString original;  // the document's own file; empty for an untitled one
        QString title;     // as the window showed it
        QDateTime written;
        qint64 process = 0;
    };

    // The folder; tests put it elsewhere.
    static QString folder();
    static void setFolder(const QString& folder);
    // Seconds between the last change and the copy; 0 writes none.
    static int intervalSeconds();
    static void setIntervalSeconds(int seconds);
    static constexpr int kDefaultIntervalSeconds = 60;

    // Writes the copy of one document (`key` names it while it is open);
    // false when it could not be written.
    static bool write(const QString& key, CResourceHolder& holder, const QString& original, const QString& title);
    static void remove(const QString& key);
    // Copies left by editors that are no longer running, newest first.
    static std::vector<Entry> abandoned();
    static void discard(const Entry& entry);
};
