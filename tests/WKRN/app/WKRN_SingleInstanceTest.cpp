#include "KRN_TestDescriptors.h"
#include "WKRN_TestSupport.h"

#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_SingleInstance.h"

#include "GLIB/GLIB_CommandLine.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHostInfo>
#include <QLocalServer>
#include <QLocalSocket>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <optional>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace
{
QString Folder(const KRN_SocketFolder& folder)
{
    return QString::fromStdString((folder.Path() / "run").string());
}

// Runs the event loop until the condition holds or two seconds pass.
template <class Condition>
bool WaitFor(Condition condition)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return condition();
}
} // namespace

TEST(WKRN_SingleInstance, SecondStart_HandsItsCommandLineToTheFirst)
{
    KRN_SocketFolder folder;
    WKRN_SingleInstance first(Folder(folder));
    ASSERT_TRUE(first.TryBecomeFirst());
    std::vector<GLIB_HandOverRecord::Record> received;
    first.SetReceiver([&received](const GLIB_HandOverRecord::Record& r) { received.push_back(r); });

    WKRN_SingleInstance second(Folder(folder));
    EXPECT_FALSE(second.TryBecomeFirst());
    EXPECT_TRUE(second.HandOver(L"quorkrn \"/jobs/a b.tif\""));
    ASSERT_TRUE(WaitFor([&] { return !received.empty(); }));
    EXPECT_EQ(received[0].tag, 0xB001u);
    EXPECT_TRUE(received[0].wellFormed);
    EXPECT_EQ(received[0].commandLine, L"quorkrn \"/jobs/a b.tif\"");
}

TEST(WKRN_SingleInstance, NobodyListening_GivesUpAfterItsLooks)
{
    KRN_SocketFolder folder;
    WKRN_SingleInstance lonely(Folder(folder));
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(lonely.HandOver(L"quorkrn /a.tif", 3, 20));
    EXPECT_GE(timer.elapsed(), 50);
}

TEST(WKRN_SingleInstance, LeftoversOfACrashedRun_DoNotStopTheNextStart)
{
    KRN_SocketFolder folder;
    WKRN_SingleInstance probe(Folder(folder));
    std::filesystem::create_directories(folder.Path() / "run");
    std::filesystem::permissions(folder.Path() / "run", std::filesystem::perms::owner_all);
    // A lock of a process that no longer exists, and a socket file nobody listens on.
    qint64 dead = 4000000;
    while (::kill(pid_t(dead), 0) == 0)
        ++dead;
    QFile lock(probe.LockPath());
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray::number(dead) + "\nquorkrn\n" + QHostInfo::localHostName().toUtf8() +
               "\n");
    lock.close();
    QFile socket(probe.SocketPath());
    ASSERT_TRUE(socket.open(QIODevice::WriteOnly));
    socket.close();

    WKRN_SingleInstance first(Folder(folder));
    ASSERT_TRUE(first.TryBecomeFirst());
    std::optional<GLIB_HandOverRecord::Record> received;
    first.SetReceiver([&received](const GLIB_HandOverRecord::Record& r) { received = r; });
    EXPECT_TRUE(WKRN_SingleInstance(Folder(folder)).HandOver(L"quorkrn /x.tif"));
    ASSERT_TRUE(WaitFor([&] { return received.has_value(); }));
    EXPECT_EQ(received->commandLine, L"quorkrn /x.tif");
}

TEST(WKRN_SingleInstance, GarbageOnTheSocket_IsDroppedWithoutEffect)
{
    KRN_SocketFolder folder;
    WKRN_SingleInstance first(Folder(folder));
    ASSERT_TRUE(first.TryBecomeFirst());
    int received = 0;
    first.SetReceiver([&received](const GLIB_HandOverRecord::Record&) { ++received; });

    // A count of 4 GiB, and a header cut short.
    const QByteArray huge("\x01\xB0\0\0\0\0\0\0\xFF\xFF\xFF\xFF", 12);
    for (const QByteArray& garbage : {huge, QByteArray("short")})
    {
        QLocalSocket client;
        client.connectToServer(first.SocketPath());
        ASSERT_TRUE(client.waitForConnected(1000));
        client.write(garbage);
        client.waitForBytesWritten(1000);
        client.disconnectFromServer();
        // Let the server read and drop it.
        QElapsedTimer pause;
        pause.start();
        while (pause.elapsed() < 150)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    EXPECT_EQ(received, 0);
    // A proper record still gets through afterwards.
    EXPECT_TRUE(WKRN_SingleInstance(Folder(folder)).HandOver(L"q"));
    EXPECT_TRUE(WaitFor([&] { return received == 1; }));
}

// Something else holds the socket's path: the start runs as a viewer of its own and so does the
// next one, instead of believing it is heard and losing the later starts' files.
TEST(WKRN_SingleInstance, SocketThatCannotListen_LetsEveryStartOpenItsOwnWindow)
{
    KRN_SocketFolder folder;
    WKRN_SingleInstance first(Folder(folder));
    ASSERT_TRUE(QDir().mkpath(first.SocketPath()));
    EXPECT_TRUE(first.TryBecomeFirst());
    EXPECT_FALSE(first.IsListening());
    WKRN_SingleInstance second(Folder(folder));
    EXPECT_TRUE(second.TryBecomeFirst());
    EXPECT_FALSE(second.IsListening());
}

// A failure that unwinds the start-up leaves no receiver behind: a later start's hand-over is
// dropped instead of reaching the window that has gone.
TEST(WKRN_SingleInstance, ReceiverScope_ClearsTheReceiverWhenAnExceptionLeavesIt)
{
    KRN_SocketFolder folder;
    WKRN_SingleInstance first(Folder(folder));
    ASSERT_TRUE(first.TryBecomeFirst());
    ASSERT_TRUE(first.IsListening());
    int calls = 0;
    try
    {
        const WKRN_SingleInstance::ReceiverScope scope(
            first, [&calls](const GLIB_HandOverRecord::Record&) { ++calls; });
        EXPECT_TRUE(first.HasReceiver());
        throw std::runtime_error("start-up failed");
    }
    catch (const std::runtime_error&)
    {
    }
    EXPECT_FALSE(first.HasReceiver());
    WKRN_SingleInstance second(Folder(folder));
    ASSERT_FALSE(second.TryBecomeFirst());
    EXPECT_TRUE(second.HandOver(L"quorkrn /jobs/a.tif"));
    WaitFor([] { return false; });
    EXPECT_EQ(calls, 0);
}

TEST(WKRN_HandOverRecord, CommandLine_MakesRelativePathsAbsoluteInTheStartingFolder)
{
    const QStringList arguments{QStringLiteral("quorkrn"), QStringLiteral("job/a b.prv"),
                                QStringLiteral("../other/c.tif"), QStringLiteral("/abs/d.tif"),
                                QStringLiteral("./e.krn")};
    const std::vector<std::wstring> parts = GLIB_CommandLine::Split(
        WKRN_SingleInstance::HandOverCommandLine(arguments, QStringLiteral("/home/op/work")));
    ASSERT_EQ(parts.size(), 5u);
    EXPECT_EQ(parts[0], L"quorkrn"); // the program as started
    EXPECT_EQ(parts[1], L"/home/op/work/job/a b.prv");
    EXPECT_EQ(parts[2], L"/home/op/other/c.tif");
    EXPECT_EQ(parts[3], L"/abs/d.tif");
    EXPECT_EQ(parts[4], L"/home/op/work/e.krn");
}

namespace
{
// Sets an environment variable (or removes it, for an empty value) for the scope's life.
class ScopedVariable
{
public:
    ScopedVariable(const char* name, const QByteArray& value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
    {
        if (value.isEmpty())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~ScopedVariable()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

// Another program's socket at a path: it counts the connections it is offered.
struct PlantedSocket
{
    QLocalServer server;
    explicit PlantedSocket(const QString& path)
    {
        QLocalServer::removeServer(path);
        server.setSocketOptions(QLocalServer::WorldAccessOption);
        EXPECT_TRUE(server.listen(path)) << path.toStdString();
    }
    bool Offered()
    {
        QCoreApplication::processEvents();
        return server.hasPendingConnections();
    }
};

// A raw connection to a socket path, not closed until the end of the test; -1 when the path
// takes no more connections now.
int Connect(const QString& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray native = QFile::encodeName(path);
    std::memcpy(address.sun_path, native.constData(), std::size_t(native.size()));
    if (fd >= 0 && ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0)
        return fd;
    if (fd >= 0)
        ::close(fd);
    return -1;
}

// Whether the other end has closed the connection (after the bytes that were sent).
bool ClosedByPeer(int fd)
{
    char byte = 0;
    return ::recv(fd, &byte, 1, MSG_DONTWAIT) == 0;
}

// Room for `count` more descriptors, raising the soft limit up to the hard one when needed.
void AllowDescriptors(rlim_t count)
{
    rlimit limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &limit), 0);
    if (limit.rlim_cur < count + 256)
    {
        limit.rlim_cur = std::min(limit.rlim_max, count + 256);
        ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &limit), 0);
    }
    ASSERT_GE(limit.rlim_cur, count + 256) << "the hard descriptor limit is too low";
}
} // namespace

// Without a runtime folder (a session started by su or cron) the channel lives in a folder of the
// user's own, never under fixed names in the shared temporary folder: another user's planted
// socket and lock there stop nothing and hear nothing. A private folder planted in advance (open
// to others, or a link to a folder of theirs) means no single instance: every start opens its own
// window, and nothing is sent to the socket found there.
TEST(WKRN_SingleInstance, PlantedNamesInTheSharedFolder_StopNothingAndHearNothing)
{
    KRN_SocketFolder shared;
    const QString tmp = QString::fromStdString(shared.Path().string());
    const ScopedVariable runtime("XDG_RUNTIME_DIR", {});
    const ScopedVariable temporary("TMPDIR", QFile::encodeName(tmp));
    const QString own = tmp + QStringLiteral("/quorkrn-") + QString::number(::geteuid());
    ASSERT_EQ(WKRN_SingleInstance::DefaultFolder(), own);

    // The names of the fixed shared socket and lock, taken first by someone else.
    PlantedSocket old(tmp + QLatin1Char('/') + QLatin1String(WKRN_INSTANCE_NAME));
    QFile lock(tmp + QLatin1Char('/') + QLatin1String(WKRN_INSTANCE_NAME) +
               QStringLiteral(".lock"));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.close();
    {
        WKRN_SingleInstance first;
        ASSERT_TRUE(first.TryBecomeFirst());
        ASSERT_TRUE(first.IsListening());
        struct stat st
        {
        };
        ASSERT_EQ(::stat(QFile::encodeName(own).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0700u);
        ASSERT_EQ(::stat(QFile::encodeName(first.SocketPath()).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 0077, 0u);
        ASSERT_EQ(::stat(QFile::encodeName(first.LockPath()).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 0077, 0u);
        std::optional<GLIB_HandOverRecord::Record> received;
        first.SetReceiver([&received](const GLIB_HandOverRecord::Record& r) { received = r; });
        WKRN_SingleInstance second;
        ASSERT_FALSE(second.TryBecomeFirst());
        EXPECT_TRUE(second.HandOver(L"quorkrn /jobs/secret.tif"));
        ASSERT_TRUE(WaitFor([&] { return received.has_value(); }));
        EXPECT_EQ(received->commandLine, L"quorkrn /jobs/secret.tif");
    }
    EXPECT_FALSE(old.Offered());

    // The user's folder planted in advance: open to others, or a link to a folder of theirs.
    KRN_SocketFolder theirs;
    const QString theirFolder = QString::fromStdString(theirs.Path().string());
    for (const char* plant : {"open folder", "link"})
    {
        SCOPED_TRACE(plant);
        std::filesystem::remove_all(own.toStdString());
        if (std::string(plant) == "link")
            std::filesystem::create_directory_symlink(theirs.Path(), own.toStdString());
        else
            ASSERT_EQ(::mkdir(QFile::encodeName(own).constData(), 0777), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(own).constData(), 0777), 0);
        PlantedSocket planted(own + QLatin1Char('/') + QLatin1String(WKRN_INSTANCE_NAME));
        WKRN_SingleInstance first, second;
        EXPECT_TRUE(first.TryBecomeFirst());
        EXPECT_FALSE(first.IsListening());
        EXPECT_TRUE(second.TryBecomeFirst());
        EXPECT_FALSE(second.HandOver(L"quorkrn /jobs/secret.tif", 2, 10));
        EXPECT_FALSE(planted.Offered());
        EXPECT_FALSE(QFile::exists(theirFolder + QLatin1Char('/') +
                                   QLatin1String(WKRN_INSTANCE_NAME) + QStringLiteral(".lock")));
    }

    // A runtime folder open to others is passed over for the user's own.
    std::filesystem::remove_all(own.toStdString());
    const ScopedVariable open("XDG_RUNTIME_DIR", QFile::encodeName(theirFolder));
    EXPECT_EQ(WKRN_SingleInstance::DefaultFolder(), own);
}

// A folder of the right mode that belongs to another user (root's own, here) is not this
// user's: no single instance there.
TEST(WKRN_SingleInstance, FolderOfAnotherUser_MeansNoSingleInstance)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "runs as root: no folder here belongs to another user";
    struct stat st
    {
    };
    if (::stat("/root", &st) != 0 || st.st_uid != 0 || (st.st_mode & 07777) != 0700)
        GTEST_SKIP() << "no folder of mode 0700 belonging to root at /root";
    WKRN_SingleInstance first(QStringLiteral("/root")), second(QStringLiteral("/root"));
    EXPECT_TRUE(first.TryBecomeFirst());
    EXPECT_FALSE(first.IsListening());
    EXPECT_TRUE(second.TryBecomeFirst());
    EXPECT_FALSE(second.HandOver(L"quorkrn /a.tif", 1, 1));
}

// The same user's programs can connect as they like: thousands of idle connections are read a
// few at a time and dropped when idle too long, and the hand-over behind them still arrives.
TEST(WKRN_SingleInstance, TwoThousandIdleConnections_StillLetAHandOverThrough)
{
    constexpr int kIdle = 2000;
    AllowDescriptors(kIdle + 64);
    KRN_SocketFolder folder;
    WKRN_SingleInstance first(Folder(folder));
    WKRN_InstanceListener::Limits limits;
    limits.idleMs = 20;
    first.SetListenerLimits(limits);
    ASSERT_TRUE(first.TryBecomeFirst());
    std::optional<GLIB_HandOverRecord::Record> received;
    first.SetReceiver([&received](const GLIB_HandOverRecord::Record& r) { received = r; });

    std::vector<int> idle;
    QElapsedTimer timer;
    timer.start();
    while (int(idle.size()) < kIdle && timer.elapsed() < 20000)
    {
        const int fd = Connect(first.SocketPath());
        if (fd >= 0)
            idle.push_back(fd);
        else // the queue is full: let the listener take some
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    ASSERT_EQ(int(idle.size()), kIdle);
    EXPECT_TRUE(first.IsListening());
    EXPECT_TRUE(WKRN_SingleInstance(Folder(folder)).HandOver(L"quorkrn /jobs/late.tif"));
    timer.restart();
    while (!received && timer.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_TRUE(received.has_value());
    EXPECT_EQ(received->commandLine, L"quorkrn /jobs/late.tif");
    EXPECT_TRUE(first.IsListening());
    for (int fd : idle)
        ::close(fd);
}

// With no descriptor left the listener cannot accept: it waits and tries again instead of
// closing, and connections made meanwhile are read once descriptors are free again.
TEST(WKRN_SingleInstance, AcceptWithoutDescriptors_PausesAndTheListenerGoesOn)
{
    if (!KRN_kDescriptorsMayRunOut)
        GTEST_SKIP() << "the sanitizer's own checks need a free descriptor";
    KRN_SocketFolder folder;
    WKRN_SingleInstance first(Folder(folder));
    WKRN_InstanceListener::Limits limits;
    limits.retryMs = 20;
    first.SetListenerLimits(limits);
    ASSERT_TRUE(first.TryBecomeFirst());
    std::vector<GLIB_HandOverRecord::Record> received;
    first.SetReceiver([&received](const GLIB_HandOverRecord::Record& r) { received.push_back(r); });

    const int early = Connect(first.SocketPath());
    ASSERT_GE(early, 0);
    const std::string record = GLIB_HandOverRecord::Encode(L"quorkrn /early.tif", 0xB001);
    ASSERT_EQ(::send(early, record.data(), record.size(), 0), ssize_t(record.size()));
    // Not a descriptor more: the lowest free one is the limit.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    const int lowest = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(lowest, 0);
    ::close(lowest);
    rlimit none = saved;
    none.rlim_cur = rlim_t(lowest);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &none), 0);
    QElapsedTimer pause;
    pause.start();
    while (pause.elapsed() < 150)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &saved), 0);

    EXPECT_TRUE(first.IsListening());
    EXPECT_TRUE(WaitFor([&] { return received.size() == 1; }));
    EXPECT_TRUE(WKRN_SingleInstance(Folder(folder)).HandOver(L"quorkrn /later.tif"));
    ASSERT_TRUE(WaitFor([&] { return received.size() == 2; }));
    EXPECT_EQ(received[0].commandLine, L"quorkrn /early.tif");
    EXPECT_EQ(received[1].commandLine, L"quorkrn /later.tif");
    ::close(early);
}

// Clients that announce large records and send them slowly hold at most the listener's bytes in
// all: past them a client is dropped, and proper starts still get through.
TEST(WKRN_SingleInstance, UnfinishedLargeRecords_HoldBoundedBytesTogether)
{
    KRN_SocketFolder folder;
    WKRN_SingleInstance first(Folder(folder));
    WKRN_InstanceListener::Limits limits;
    limits.heldBytes = 1 << 20;
    first.SetListenerLimits(limits);
    ASSERT_TRUE(first.TryBecomeFirst());
    int received = 0;
    first.SetReceiver([&received](const GLIB_HandOverRecord::Record&) { ++received; });

    // Ten clients, each 150 KiB into a record of 4 MiB: six of them fill the listener's bytes.
    const std::string header("\x01\xB0\0\0\0\0\0\0\0\0\x40\0", 12);
    const std::string part(150 * 1024 - 12, 'x');
    std::vector<int> clients;
    for (int i = 0; i < 10; ++i)
    {
        const int fd = Connect(first.SocketPath());
        ASSERT_GE(fd, 0);
        ::send(fd, header.data(), header.size(), MSG_NOSIGNAL);
        ::send(fd, part.data(), part.size(), MSG_NOSIGNAL);
        clients.push_back(fd);
    }
    // Six fill the bytes; the listener drops the others as their bytes arrive.
    EXPECT_TRUE(WaitFor(
        [&]
        {
            int dropped = 0;
            for (int fd : clients)
                dropped += ClosedByPeer(fd) ? 1 : 0;
            return dropped >= 10 - 6;
        }));
    EXPECT_TRUE(WKRN_SingleInstance(Folder(folder)).HandOver(L"quorkrn /a.tif"));
    EXPECT_TRUE(WaitFor([&] { return received == 1; }));
    for (int fd : clients)
        ::close(fd);
}
