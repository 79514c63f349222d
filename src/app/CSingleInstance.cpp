#include "app/CSingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include <memory>

#include <unistd.h>

namespace {
// Names travel as UTF-8, one per line, and the message ends with a zero
// byte; the listener answers one byte once it has them.
constexpr char kEnd = '\0';
constexpr char kTaken = '1';
// A hand-over is a few file names; anything longer is not one of ours.
constexpr qint64 kLongestMessage = 1 << 20;
} // namespace

CSingleInstance::CSingleInstance(QString key, QObject* parent) : QObject(parent), m_key(std::move(key)) {}

CSingleInstance::~CSingleInstance() = default;

QString CSingleInstance::defaultKey()
{
    // Editors on two displays (or two users) are separate desktops.
    const QByteArray display = qgetenv("WAYLAND_DISPLAY") + '|' + qgetenv("DISPLAY") + '|' +
                               QGuiApplication::platformName().toUtf8();
    const QString tag = QString::fromLatin1(QCryptographicHash::hash(display, QCryptographicHash::Sha1).toHex().left(12));
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("quillop-%1-%2").arg(::getuid()).arg(tag));
}

bool CSingleInstance::handOver(const QStringList& paths, int timeoutMs) const
{
    QLocalSocket socket;
    socket.connectToServer(m_key);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    QByteArray message;
    for (const QString& path : paths)
        message += QFileInfo(path).absoluteFilePath().toUtf8() + '\n';
    message += kEnd;
    socket.write(message);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    // Only an answer says the files were taken: a listener that hangs or
    // went away leaves this start to open them itself.
    while (socket.bytesAvailable() == 0)
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    return socket.read(1) == QByteArray(1, kTaken);
}

bool CSingleInstance::listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &CSingleInstance::acceptConnection);
    if (m_server->listen(m_key))
        return true;
    // A meeting point left by an editor that crashed: nobody answers there.
    QLocalServer::removeServer(m_key);
    return m_server->listen(m_key);
}

void CSingleInstance::acceptConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto received = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, received] {
            *received += socket->readAll();
            if (received->size() > kLongestMessage) {
                socket->abort();
                return;
            }
            if (!received->endsWith(kEnd))
                return;
            QStringList paths;
            for (const QByteArray& line : received->chopped(1).split('\n'))
                if (!line.isEmpty())
                    paths << QString::fromUtf8(line);
            received->clear();
            socket->write(QByteArray(1, kTaken));
            socket->flush();
            emit filesHandedOver(paths);
        });
    }
}
