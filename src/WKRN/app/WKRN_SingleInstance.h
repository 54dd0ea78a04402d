#pragma once
// One running viewer per user. The first start takes a lock file (stale locks of dead processes
// are taken over) and listens on a local socket; both live in a folder that belongs to the user
// and no one else: the runtime folder ($XDG_RUNTIME_DIR) when it is set and private, otherwise
// <temporary folder>/quorkrn-<uid>, made with mode 0700. Before every use the folder is checked
// (owned by the user, mode exactly 0700, not a symbolic link): a folder that fails means no single
// instance at all, every start opening a window of its own with a warning in the log, never names
// another user could have made first. The lock and the socket are the user's alone (0600).
//
// A later start cannot take the lock: it connects to the socket (ten looks, 100 ms apart) and
// writes its command line as a hand-over record. When no instance answers, HandOver says so and
// the start opens a window of its own rather than losing its files.
//
// When the socket cannot listen (the path taken by something else, the folder not writable), the
// failure is logged and the lock given back: this process runs on as a viewer of its own, and so
// does every later start, rather than handing its files to an instance that cannot hear them.
// The listening side (WKRN_InstanceListener) outlasts hostile clients of the same user.

#include "WKRN/app/WKRN_InstanceListener.h"

#include "GLIB/GLIB_HandOverRecord.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>

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

    // folder: where the lock and the socket live (DefaultFolder() when empty); made with mode
    // 0700 when missing, and checked like the default one.
    explicit WKRN_SingleInstance(const QString& folder = {}, QObject* parent = nullptr);
    ~WKRN_SingleInstance() override;

    // Before TryBecomeFirst: the listener's limits (tests shorten the idle time).
    void SetListenerLimits(const WKRN_InstanceListener::Limits& limits) { m_limits = limits; }

    // Takes the lock. True: this process opens its own window (it is the first instance, and
    // the socket listens from now on unless IsListening says otherwise; or the folder is not
    // private and there is no single instance).
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

    // The later start's side: ten looks, 100 ms apart, then the record. True when it was written;
    // false too when the folder is not private, without a look.
    bool HandOver(const std::wstring& commandLine, int looks = 10, int sleepMs = 100) const;

    QString SocketPath() const;
    QString LockPath() const;

    // The runtime folder when it is set and private, else <temporary folder>/quorkrn-<uid>.
    static QString DefaultFolder();
    // Why the folder may not hold the lock and the socket (it is missing, not a folder, a
    // symbolic link, another user's, or open to others); empty when it is private.
    static QString FolderProblem(const QString& folder);

private:
    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    WKRN_InstanceListener* m_listener = nullptr;
    WKRN_InstanceListener::Limits m_limits;
    Receiver m_receiver;
};
