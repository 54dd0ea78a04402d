// FIFOs, sockets and devices named as files are refused at once instead of blocking the open or
// the first read. Each open runs in a child process that is killed after a few seconds, so that a
// regression fails the test instead of hanging the suite.

#include "GFIL/GFIL_FileSpec.h"
#include "GFIL/GFIL_FileSystemPosix.h"
#include "GFIL_TestSupport.h"

#include "KRN_ChildProcess.h"
#include "KRN_TestFolder.h"

#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

namespace
{
// 0 when opening the path with the given mode throws the file-system error that names what it is.
int OpenIsRefused(const std::wstring& path, std::uint32_t mode, const std::string& kind)
{
    const GFIL_Thrown thrown = CatchFileError([&] { GFIL_FileSpec(path)->Open(mode); });
    if (!thrown.thrown)
        return 1;
    if (thrown.code != GFIL_ERR_OTHER)
        return 2;
    return thrown.text.find("is not a regular file" + kind) != std::string::npos ? 0 : 3;
}

TEST(FileSystemPosixSpecialFiles, FifoIsRefusedWithoutBlocking)
{
    GFIL_ScratchFolder folder;
    const std::filesystem::path fifo = folder.Path() / "pipe.tif";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::wstring path = folder.Wide("pipe.tif");
    EXPECT_EQ(KRN_RunWithin(5, [&] { return OpenIsRefused(path, GFIL_MODE_READ, " but a FIFO"); }),
              0);
    // Writing to a FIFO nobody reads fails at once with its own error: thrown, not hung.
    EXPECT_GT(KRN_RunWithin(5, [&] { return OpenIsRefused(path, GFIL_MODE_WRITE, ""); }), 1);
}

TEST(FileSystemPosixSpecialFiles, DevicesAndSocketsAreRefused)
{
    EXPECT_EQ(KRN_RunWithin(5,
                            [] {
                                return OpenIsRefused(L"/dev/null", GFIL_MODE_READ,
                                                     " but a character device");
                            }),
              0);

    const KRN_SocketFolder folder;
    const std::string native = (folder.Path() / "s.tif").string();
    const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(s, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(native.size(), sizeof address.sun_path);
    std::memcpy(address.sun_path, native.c_str(), native.size() + 1);
    ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    // Opening a socket by name fails with its own error; it must not be taken for a file.
    const GFIL_Thrown thrown =
        CatchFileError([&] { GFIL_FileSpec(ToWide(native))->Open(GFIL_MODE_READ); });
    EXPECT_TRUE(thrown.thrown);
    ::close(s);
}
} // namespace
