#include "WKRN_TestSupport.h"

#include "WKRN/app/WKRN_SingleInstance.h"

#include "GLIB/GLIB_CommandLine.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHostInfo>
#include <QLocalSocket>

#include <gtest/gtest.h>

#include <csignal>
#include <optional>
#include <stdexcept>

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
