#pragma once

#include "core/GroupIndex.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <array>
#include <cstdint>
#include <functional>
#include <future>
#include <string>
#include <vector>

class CResourceHolder;

// Writes a document's recovery copy without holding the interface up: the
// items are copied out a slice of time at a time between events, and the
// file is written on a thread of its own. A change while the items are
// being copied starts the copy again, so that a copy is always of one
// moment of the document; after a few restarts the rest is copied at once.
class CRecoveryWriter : public QObject {
    Q_OBJECT
public:
    // The most one slice copies for, in milliseconds: well under a frame.
    static constexpr int kSliceMs = 6;
    static constexpr int kRestartsBeforeWholeCopy = 3;

    // `holder` gives the document as it is now; `changes` moves with every
    // change made to it.
    CRecoveryWriter(QString key, std::function<const CResourceHolder*()> holder, std::function<std::uint64_t()> changes,
                    QObject* parent = nullptr);
    // Waits for a file being written, so that no copy outlives its editor
    // unannounced.
    ~CRecoveryWriter() override;

    // Starts a copy of the document as it is now (a copy under way starts
    // over at the end of the current one).
    void write(const QString& original, const QString& title);
    // Stops a copy under way and removes the copy written.
    void remove();
    bool busy() const;

signals:
    void finished(bool written);

private:
    struct Snapshot {
        std::string id;
        std::string comments;
        std::array<std::vector<QByteArray>, kGroupCount> records;
        QString original;
        QString title;
    };

    void restart();
    void copySlice();
    void startWriting();
    void writingDone(int generation, bool written);
    std::uint64_t state() const;
    static bool writeSnapshot(const QString& key, Snapshot snapshot);

    QString m_key;
    std::function<const CResourceHolder*()> m_holder;
    std::function<std::uint64_t()> m_changes;
    QTimer m_slices;
    Snapshot m_snapshot;
    int m_group = 0;
    int m_row = 0;
    std::uint64_t m_stateAtStart = 0;
    int m_restarts = 0;
    bool m_copying = false;
    bool m_again = false;
    int m_generation = 0;  // of the file being written, so a late answer of a removed one is ignored
    std::future<bool> m_writing;
};
