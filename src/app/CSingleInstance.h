#pragma once

#include <QObject>
#include <QStringList>

class QLocalServer;

// One editor per desktop session: a second start on files hands them to the
// editor already running and ends, so that one file never gets two windows
// whose saves overwrite each other. The editor that runs listens for such
// hand-overs and opens what it is given.
class CSingleInstance : public QObject {
    Q_OBJECT
public:
    // `key` names the meeting point; the default is per user and display.
    explicit CSingleInstance(QString key = defaultKey(), QObject* parent = nullptr);
    ~CSingleInstance() override;

    // True when a running editor took the files (this process may end);
    // false when none answered within the time.
    bool handOver(const QStringList& paths, int timeoutMs = 3000) const;
    // Listens for later starts; false when the meeting point cannot be made.
    bool listen();

    static QString defaultKey();

signals:
    // Full names of the files a later start handed over (maybe none).
    void filesHandedOver(const QStringList& paths);

private:
    void acceptConnection();

    QString m_key;
    QLocalServer* m_server = nullptr;
};
