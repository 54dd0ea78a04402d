#include "WKRN/app/WKRN_InstanceListener.h"

#include "GLIB/GLIB_Log.h"

#include <QFile>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <string_view>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace
{
std::string ErrorText(int error)
{
    return std::strerror(error);
}
} // namespace

WKRN_InstanceListener::WKRN_InstanceListener(QObject* parent) : QObject(parent)
{
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &WKRN_InstanceListener::AcceptPending);
    connect(&m_sweep, &QTimer::timeout, this, &WKRN_InstanceListener::DropOverdue);
}

WKRN_InstanceListener::~WKRN_InstanceListener()
{
    while (!m_connections.empty())
        Drop(m_connections.begin()->first);
    if (m_fd < 0)
        return;
    delete m_notifier;
    ::close(m_fd);
    ::unlink(QFile::encodeName(m_path).constData());
}

std::int64_t WKRN_InstanceListener::Now()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool WKRN_InstanceListener::Listen(const QString& path, QString& problem)
{
    const QByteArray native = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (std::size_t(native.size()) >= sizeof(address.sun_path))
    {
        problem = QStringLiteral("the path is too long for a socket");
        return false;
    }
    std::memcpy(address.sun_path, native.constData(), std::size_t(native.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
    {
        problem = QString::fromStdString(ErrorText(errno));
        return false;
    }
    // What a crashed run left at the path goes (the folder is the user's alone); a folder stays,
    // and the bind fails on it.
    ::unlink(native.constData());
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        ::chmod(native.constData(), 0600) != 0 || ::listen(fd, SOMAXCONN) != 0)
    {
        problem = QString::fromStdString(ErrorText(errno));
        ::close(fd);
        return false;
    }
    m_fd = fd;
    m_path = path;
    m_notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &WKRN_InstanceListener::AcceptPending);
    return true;
}

/* Connections beyond the limit stay in the socket's queue, and the listening socket is not
   watched until one of those being read ends. A failed accept (no descriptor or memory left)
   takes the connection nowhere: the socket is left alone for a moment and tried again. */
void WKRN_InstanceListener::AcceptPending()
{
    if (m_fd < 0)
        return;
    while (m_connections.size() < std::size_t(m_limits.connections))
    {
        const int client = ::accept4(m_fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (client < 0)
        {
            const int error = errno;
            if (error == EINTR || error == ECONNABORTED)
                continue;
            if (error == EAGAIN || error == EWOULDBLOCK)
            {
                m_notifier->setEnabled(true);
                return;
            }
            LogMessage(GLIB_SEVERITY_WARNING,
                       (QStringLiteral("Hand-over: cannot accept a connection on ") + m_path +
                        QStringLiteral(": ") + QString::fromStdString(ErrorText(error)) +
                        QStringLiteral("; trying again"))
                           .toStdWString(),
                       __FILE__, __LINE__);
            m_notifier->setEnabled(false);
            m_retry.start(m_limits.retryMs);
            return;
        }
        Connection& connection = m_connections[client];
        connection.deadline = Now() + m_limits.idleMs;
        connection.notifier = new QSocketNotifier(client, QSocketNotifier::Read, this);
        connect(connection.notifier, &QSocketNotifier::activated, this,
                [this, client] { ReadFrom(client); });
        if (!m_sweep.isActive())
            m_sweep.start(std::max(1, m_limits.idleMs / 4));
        ReadFrom(client);
    }
    m_notifier->setEnabled(false);
}

void WKRN_InstanceListener::ReadFrom(int fd)
{
    const auto found = m_connections.find(fd);
    if (found == m_connections.end())
        return;
    Connection& connection = found->second;
    char chunk[65536];
    for (;;)
    {
        // No more than the record still needs: a client that sends more is not a viewer.
        const std::int64_t expected = GLIB_HandOverRecord::ExpectedSize(
            std::string_view(connection.bytes.constData(), std::size_t(connection.bytes.size())));
        if (expected < 0)
        {
            Drop(fd);
            return;
        }
        const std::int64_t have = connection.bytes.size();
        if (expected > 0 && have == expected)
            break;
        const std::int64_t want = expected > 0
                                      ? std::min<std::int64_t>(expected - have, sizeof(chunk))
                                      : GLIB_HandOverRecord::kHeaderSize - have;
        if (m_held + want > m_limits.heldBytes)
        {
            // The bytes of all unfinished records stay bounded: this one waits no more.
            Drop(fd);
            return;
        }
        const ssize_t n = ::recv(fd, chunk, std::size_t(want), 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        if (n <= 0)
        {
            Drop(fd); // closed or failed before the record was whole
            return;
        }
        connection.bytes.append(chunk, n);
        m_held += n;
    }
    // More than one record is not something a viewer sends: dropped without effect.
    char extra = 0;
    const bool more = ::recv(fd, &extra, 1, MSG_PEEK | MSG_DONTWAIT) > 0;
    const QByteArray bytes = connection.bytes;
    Drop(fd);
    if (more)
        return;
    if (const auto record = GLIB_HandOverRecord::Decode(
            std::string_view(bytes.constData(), std::size_t(bytes.size())));
        record && m_receiver)
        m_receiver(*record);
}

void WKRN_InstanceListener::Drop(int fd)
{
    const auto found = m_connections.find(fd);
    if (found == m_connections.end())
        return;
    m_held -= found->second.bytes.size();
    // A disabled notifier watches nothing, so the descriptor's number may be given to the next
    // connection at once; the notifier itself goes once the event loop is back (this may be its
    // own signal).
    found->second.notifier->setEnabled(false);
    found->second.notifier->deleteLater();
    ::close(fd);
    const bool wasFull = m_connections.size() >= std::size_t(m_limits.connections);
    m_connections.erase(found);
    if (m_connections.empty())
        m_sweep.stop();
    // Room for one more: the queue is read again, once the event loop is back.
    if (wasFull && m_fd >= 0 && !m_retry.isActive())
        m_notifier->setEnabled(true);
}

void WKRN_InstanceListener::DropOverdue()
{
    const std::int64_t now = Now();
    for (auto it = m_connections.begin(); it != m_connections.end();)
    {
        const int fd = it->first;
        const bool overdue = now >= it->second.deadline;
        ++it;
        if (overdue)
            Drop(fd);
    }
}
