#include "WKRN/app/WKRN_SingleInstance.h"

#include "WKRN/app/WKRN_Ids.h"

#include "GLIB/GLIB_CommandLine.h"
#include "GLIB/GLIB_Log.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

#include <string_view>
#include <vector>

namespace
{
// A client that connects and then sends nothing complete is cut off after this long.
constexpr int kReadTimeoutMs = 5000;
constexpr const char* kBufferProperty = "wkrnHandOverBuffer";
} // namespace

WKRN_SingleInstance::WKRN_SingleInstance(const QString& folder, QObject* parent)
    : QObject(parent), m_folder(folder.isEmpty() ? DefaultFolder() : folder)
{
}

WKRN_SingleInstance::~WKRN_SingleInstance()
{
    if (m_server != nullptr)
        m_server->close();
    if (m_lock)
        m_lock->unlock();
}

QString WKRN_SingleInstance::DefaultFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder;
}

QString WKRN_SingleInstance::SocketPath() const
{
    return m_folder + QLatin1Char('/') + QLatin1String(WKRN_INSTANCE_NAME);
}

QString WKRN_SingleInstance::LockPath() const
{
    return SocketPath() + QStringLiteral(".lock");
}

bool WKRN_SingleInstance::TryBecomeFirst()
{
    if (m_lock && m_lock->isLocked())
        return true;
    QDir().mkpath(m_folder);
    m_lock = std::make_unique<QLockFile>(LockPath());
    // Only a dead holder makes a lock stale, never its age: a viewer may run for weeks.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0))
    {
        m_lock.reset();
        return false;
    }
    // A socket left by a crashed run would refuse the listen.
    QLocalServer::removeServer(SocketPath());
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &WKRN_SingleInstance::Accept);
    if (!m_server->listen(SocketPath()))
    {
        LogMessage(GLIB_SEVERITY_WARNING,
                   (QStringLiteral("No hand-over from later starts: cannot listen on ") +
                    SocketPath() + QStringLiteral(": ") + m_server->errorString())
                       .toStdWString(),
                   __FILE__, __LINE__);
        delete m_server;
        m_server = nullptr;
        m_lock->unlock();
        m_lock.reset();
    }
    return true;
}

bool WKRN_SingleInstance::IsListening() const
{
    return m_server != nullptr && m_server->isListening();
}

void WKRN_SingleInstance::Accept()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection())
    {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadFrom(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QTimer::singleShot(kReadTimeoutMs, socket, [socket] { socket->abort(); });
        if (socket->bytesAvailable() > 0)
            ReadFrom(socket);
    }
}

void WKRN_SingleInstance::ReadFrom(QLocalSocket* socket)
{
    QByteArray buffer = socket->property(kBufferProperty).toByteArray();
    buffer.append(socket->readAll());
    const qint64 expected = GLIB_HandOverRecord::ExpectedSize(
        std::string_view(buffer.constData(), std::size_t(buffer.size())));
    if (expected < 0 || (expected > 0 && buffer.size() > expected))
    {
        // Oversized or followed by more than one record: not something a viewer sent.
        socket->setProperty(kBufferProperty, QByteArray());
        socket->abort();
        return;
    }
    if (expected == 0 || buffer.size() < expected)
    {
        socket->setProperty(kBufferProperty, buffer);
        return;
    }
    socket->setProperty(kBufferProperty, QByteArray());
    socket->disconnectFromServer();
    if (const auto record = GLIB_HandOverRecord::Decode(
            std::string_view(buffer.constData(), std::size_t(buffer.size())));
        record && m_receiver)
        m_receiver(*record);
}

bool WKRN_SingleInstance::HandOver(const std::wstring& commandLine, int looks, int sleepMs) const
{
    QLocalSocket socket;
    for (int look = 0; look < looks; ++look)
    {
        socket.connectToServer(SocketPath());
        if (socket.waitForConnected(1000))
        {
            const QByteArray record = QByteArray::fromStdString(
                GLIB_HandOverRecord::Encode(commandLine, COMMAND_LINE_HANDOVER));
            if (socket.write(record) != record.size())
                return false;
            while (socket.bytesToWrite() > 0)
                if (!socket.waitForBytesWritten(3000))
                    return false;
            socket.disconnectFromServer();
            if (socket.state() != QLocalSocket::UnconnectedState)
                socket.waitForDisconnected(1000);
            return true;
        }
        socket.abort();
        QThread::msleep(static_cast<unsigned long>(sleepMs));
    }
    return false;
}

std::wstring WKRN_SingleInstance::HandOverCommandLine(const QStringList& arguments,
                                                      const QString& workingFolder)
{
    std::vector<std::wstring> parts;
    const QDir folder(workingFolder);
    for (qsizetype i = 0; i < arguments.size(); ++i)
    {
        const QString& argument = arguments[i];
        if (i == 0 || argument.isEmpty() || !QDir::isRelativePath(argument))
            parts.push_back(argument.toStdWString());
        else
            parts.push_back(QDir::cleanPath(folder.absoluteFilePath(argument)).toStdWString());
    }
    return GLIB_CommandLine::Join(parts);
}
