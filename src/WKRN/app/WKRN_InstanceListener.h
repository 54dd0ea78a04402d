#pragma once
// The first instance's end of the hand-over channel: a local stream socket on which later starts
// write their command line as a hand-over record. Other programs of the same user can connect as
// well, so it is built to outlast them: it never closes because an accept failed (too many open
// files, no memory), but pauses and tries again; it reads at most a bounded number of
// connections at once and holds at most a bounded number of record bytes in all, the other
// connections waiting in the socket's queue; and a client that sends nothing complete within a
// few seconds is dropped.

#include "GLIB/GLIB_HandOverRecord.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

class QSocketNotifier;

class WKRN_InstanceListener : public QObject
{
    Q_OBJECT
public:
    struct Limits
    {
        int connections = 32;                // read at once
        std::int64_t heldBytes = 16ll << 20; // of unfinished records, in all
        int idleMs = 3000;                   // from the connection to the whole record
        int retryMs = 250;                   // after an accept failed
    };
    using Receiver = std::function<void(const GLIB_HandOverRecord::Record&)>;

    explicit WKRN_InstanceListener(QObject* parent = nullptr);
    // Stops listening and removes the socket.
    ~WKRN_InstanceListener() override;

    void SetLimits(const Limits& limits) { m_limits = limits; }
    void SetReceiver(Receiver receiver) { m_receiver = std::move(receiver); }

    // Listens at path, with only the user's access, replacing a socket left there. False, with
    // the reason in problem, when it cannot.
    bool Listen(const QString& path, QString& problem);
    bool IsListening() const { return m_fd >= 0; }

    // Record bytes held now, and connections being read.
    std::int64_t HeldBytes() const { return m_held; }
    std::size_t ConnectionCount() const { return m_connections.size(); }

private:
    struct Connection
    {
        QSocketNotifier* notifier = nullptr;
        QByteArray bytes;
        std::int64_t deadline = 0; // monotonic milliseconds
    };

    void AcceptPending();
    void ReadFrom(int fd);
    void Drop(int fd);
    void DropOverdue();
    static std::int64_t Now();

    Limits m_limits;
    Receiver m_receiver;
    QString m_path;
    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
    QTimer m_retry;
    QTimer m_sweep;
    std::map<int, Connection> m_connections;
    std::int64_t m_held = 0;
};
