#include "WKRN/app/WKRN_SingleInstance.h"

#include "WKRN/app/WKRN_Ids.h"

#include "GLIB/GLIB_CommandLine.h"
#include "GLIB/GLIB_Log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{
void Warn(const QString& text)
{
    LogMessage(GLIB_SEVERITY_WARNING, text.toStdWString(), __FILE__, __LINE__);
}

// Makes the folder, the last part with mode 0700, when it is missing; a folder that is there
// already is left as it is, to be checked.
void MakePrivateFolder(const QString& folder)
{
    const QByteArray native = QFile::encodeName(folder);
    struct stat st
    {
    };
    if (::lstat(native.constData(), &st) == 0)
        return;
    QDir().mkpath(QFileInfo(folder).absolutePath());
    ::mkdir(native.constData(), 0700);
}
} // namespace

WKRN_SingleInstance::WKRN_SingleInstance(const QString& folder, QObject* parent)
    : QObject(parent), m_folder(folder.isEmpty() ? DefaultFolder() : folder)
{
}

WKRN_SingleInstance::~WKRN_SingleInstance()
{
    delete m_listener;
    if (m_lock)
        m_lock->unlock();
}

QString WKRN_SingleInstance::FolderProblem(const QString& folder)
{
    struct stat st
    {
    };
    if (::lstat(QFile::encodeName(folder).constData(), &st) != 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    if (S_ISLNK(st.st_mode))
        return QStringLiteral("a symbolic link");
    if (!S_ISDIR(st.st_mode))
        return QStringLiteral("not a folder");
    if (st.st_uid != ::geteuid())
        return QStringLiteral("owned by user %1").arg(st.st_uid);
    if ((st.st_mode & 07777) != 0700)
        return QStringLiteral("mode %1, not 700").arg(st.st_mode & 07777, 0, 8);
    return {};
}

QString WKRN_SingleInstance::DefaultFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
    {
        const QString problem = FolderProblem(runtime);
        if (problem.isEmpty())
            return runtime;
        Warn(QStringLiteral("The runtime folder ") + runtime + QStringLiteral(" is not private (") +
             problem + QStringLiteral("); a folder of this user's own is used"));
    }
    return QDir::tempPath() + QStringLiteral("/quorkrn-") + QString::number(::geteuid());
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
    MakePrivateFolder(m_folder);
    if (const QString problem = FolderProblem(m_folder); !problem.isEmpty())
    {
        Warn(QStringLiteral("No single instance: ") + m_folder +
             QStringLiteral(" is not private (") + problem +
             QStringLiteral("); this start opens a window of its own"));
        return true;
    }
    m_lock = std::make_unique<QLockFile>(LockPath());
    // Only a dead holder makes a lock stale, never its age: a viewer may run for weeks.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0))
    {
        m_lock.reset();
        return false;
    }
    ::chmod(QFile::encodeName(LockPath()).constData(), 0600);
    m_listener = new WKRN_InstanceListener(this);
    m_listener->SetLimits(m_limits);
    m_listener->SetReceiver(
        [this](const GLIB_HandOverRecord::Record& record)
        {
            if (m_receiver)
                m_receiver(record);
        });
    QString problem;
    if (!m_listener->Listen(SocketPath(), problem))
    {
        Warn(QStringLiteral("No hand-over from later starts: cannot listen on ") + SocketPath() +
             QStringLiteral(": ") + problem);
        delete m_listener;
        m_listener = nullptr;
        m_lock->unlock();
        m_lock.reset();
    }
    return true;
}

bool WKRN_SingleInstance::IsListening() const
{
    return m_listener != nullptr && m_listener->IsListening();
}

bool WKRN_SingleInstance::HandOver(const std::wstring& commandLine, int looks, int sleepMs) const
{
    // A socket in a folder others could have made may be theirs: nothing is sent there. (In a
    // folder that is not there at all, no socket answers either.)
    if (QFileInfo(m_folder).exists() && !FolderProblem(m_folder).isEmpty())
        return false;
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
