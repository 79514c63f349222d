#include "document/CRecoveryWriter.h"

#include "core/CResourceHolder.h"
#include "core/ItemRecordBytes.h"
#include "document/CRecoveryStore.h"
#include "kinds/CItemKinds.h"

#include <QElapsedTimer>

CRecoveryWriter::CRecoveryWriter(QString key, std::function<const CResourceHolder*()> holder,
                                 std::function<std::uint64_t()> changes, QObject* parent)
    : QObject(parent), m_key(std::move(key)), m_holder(std::move(holder)), m_changes(std::move(changes))
{
    m_slices.setSingleShot(true);
    m_slices.setInterval(0);
    connect(&m_slices, &QTimer::timeout, this, &CRecoveryWriter::copySlice);
}

CRecoveryWriter::~CRecoveryWriter()
{
    if (m_writing.valid())
        m_writing.wait();
}

bool CRecoveryWriter::busy() const { return m_copying || m_writing.valid(); }

std::uint64_t CRecoveryWriter::state() const
{
    const CResourceHolder* holder = m_holder();
    return m_changes() * 1000003u + (holder ? holder->rowsRevision() : 0);
}

void CRecoveryWriter::write(const QString& original, const QString& title)
{
    m_snapshot.original = original;
    m_snapshot.title = title;
    if (m_writing.valid()) {
        m_again = true;  // the file under way is of an older moment
        return;
    }
    m_restarts = 0;
    restart();
}

void CRecoveryWriter::remove()
{
    m_slices.stop();
    m_copying = false;
    m_again = false;
    if (m_writing.valid())
        m_writing.wait();
    m_writing = {};
    ++m_generation;
    m_snapshot.records = {};
    CRecoveryStore::remove(m_key);
}

void CRecoveryWriter::restart()
{
    const CResourceHolder* holder = m_holder();
    if (!holder)
        return;
    m_snapshot.id = holder->id();
    m_snapshot.comments = holder->comments();
    for (auto& group : m_snapshot.records)
        group.clear();
    m_group = 0;
    m_row = 0;
    m_stateAtStart = state();
    m_copying = true;
    copySlice();
}

void CRecoveryWriter::copySlice()
{
    const CResourceHolder* holder = m_holder();
    if (!m_copying || !holder)
        return;
    if (state() != m_stateAtStart) {
        // Changed between two slices: what was copied is of another moment.
        ++m_restarts;
        restart();
        return;
    }
    const bool atOnce = m_restarts >= kRestartsBeforeWholeCopy;
    QElapsedTimer clock;
    clock.start();
    while (m_group < kGroupCount) {
        if (m_row >= holder->count(m_group)) {
            ++m_group;
            m_row = 0;
            continue;
        }
        m_snapshot.records[std::size_t(m_group)].push_back(storeRecord(*holder->get(m_group, m_row)));
        ++m_row;
        if (!atOnce && clock.elapsed() >= kSliceMs) {
            m_slices.start();
            return;
        }
    }
    m_copying = false;
    startWriting();
}

void CRecoveryWriter::startWriting()
{
    const int generation = ++m_generation;
    m_writing = std::async(std::launch::async, [this, generation, key = m_key, snapshot = std::move(m_snapshot)]() mutable {
        const bool written = writeSnapshot(key, std::move(snapshot));
        QMetaObject::invokeMethod(this, [this, generation, written] { writingDone(generation, written); },
                                  Qt::QueuedConnection);
        return written;
    });
    m_snapshot = {};
}

void CRecoveryWriter::writingDone(int generation, bool written)
{
    if (generation != m_generation || !m_writing.valid())
        return;  // removed meanwhile
    m_writing.get();
    emit finished(written);
    if (m_again) {
        m_again = false;
        m_restarts = 0;
        restart();
    }
}

bool CRecoveryWriter::writeSnapshot(const QString& key, Snapshot snapshot)
{
    auto holder = createDocumentHolder();
    holder->setId(snapshot.id);
    holder->setComments(snapshot.comments);
    for (int g = 0; g < kGroupCount; ++g)
        for (QByteArray& record : snapshot.records[std::size_t(g)]) {
            if (!loadRecord(*holder->get(g, holder->newItem(g, "")), record))
                return false;
            record = QByteArray();  // the copy's memory goes as the document fills
        }
    return CRecoveryStore::write(key, *holder, snapshot.original, snapshot.title);
}
