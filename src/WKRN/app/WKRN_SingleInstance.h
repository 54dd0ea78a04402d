#pragma once
// One running viewer per user. The first start takes a lock file (stale locks of dead processes
// are taken over) and listens on a local socket; both live in the per-user runtime folder under
// the instance name. A later start cannot take the lock: it connects to the socket (ten looks,
// 100 ms apart), writes its command line as a hand-over record and ends. When no instance answers
// the command line is given up silently.
//
// When the socket cannot listen (the path taken by something else, the folder not writable), the
// failure is logged and the lock given back: this process runs on as a viewer of its own, and so
// does every later start, rather than handing its files to an instance that cannot hear them.
//
// The listening side reads each connection until one complete record has arrived, then hands it
// on; a connection that sends a record too large, or nothing complete before it closes, is
// dropped without effect.

#include "GLIB/GLIB_HandOverRecord.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>

class QLocalServer;
class QLocalSocket;
class QLockFile;

class WKRN_SingleInstance : public QObject
{
    Q_OBJECT
public:
    using Receiver = std::function<void(const GLIB_HandOverRecord::Record&)>;

    // The command line a start hands over: the program path, then every argument as a path
    // made absolute against the folder the start was made in. The receiving instance runs in a
    // folder of its own, where a relative path would name another file or none.
    static std::wstring HandOverCommandLine(const QStringList& arguments,
                                            const QString& workingFolder);

    // folder: where the lock and the socket live (the runtime folder when empty).
    explicit WKRN_SingleInstance(const QString& folder = {}, QObject* parent = nullptr);
    ~WKRN_SingleInstance() override;

    // Takes the lock. True: this process opens its own window (it is the first instance, and
    // the socket listens from now on unless IsListening says otherwise).
    bool TryBecomeFirst();
    bool IsListening() const;

    // Called with every complete record received while first.
    void SetReceiver(Receiver receiver) { m_receiver = std::move(receiver); }
    bool HasReceiver() const { return bool(m_receiver); }

    // Sets the receiver for the scope's life and clears it on every way out, an exception
    // included, so that no hand-over reaches a receiver that has gone.
    class ReceiverScope
    {
    public:
        ReceiverScope(WKRN_SingleInstance& instance, Receiver receiver) : m_instance(instance)
        {
            m_instance.SetReceiver(std::move(receiver));
        }
        ~ReceiverScope() { m_instance.SetReceiver({}); }
        ReceiverScope(const ReceiverScope&) = delete;
        ReceiverScope& operator=(const ReceiverScope&) = delete;

    private:
        WKRN_SingleInstance& m_instance;
    };

    // The later start's side: ten looks, 100 ms apart, then the record. True when it was written.
    bool HandOver(const std::wstring& commandLine, int looks = 10, int sleepMs = 100) const;

    QString SocketPath() const;
    QString LockPath() const;

    static QString DefaultFolder();

private:
    void Accept();
    void ReadFrom(QLocalSocket* socket);

    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
    Receiver m_receiver;
};
