// A FIFO, a socket or a device named as a preview file is refused with a message that says what
// it is, at once: the open runs in a child process killed after a few seconds, so that a
// regression fails instead of hanging the suite.

#include "TIFX/TIFX_KRNFile.h"
#include "TIFX_TestFiles.h"

#include "KRN_ChildProcess.h"

#include <sys/stat.h>

namespace
{
// 0 when opening `path` throws TIFX_FileIOException with exactly `expected`.
int OpenIsRefused(const std::string& path, const std::string& expected)
{
    TIFX_KRNFile file(path);
    try
    {
        file.Open();
    }
    catch (const TIFX_FileIOException& e)
    {
        return std::string(e.what()) == expected ? 0 : 2;
    }
    return 1;
}

class TIFX_SpecialFile : public TIFX_ScratchTest
{
};

TEST_F(TIFX_SpecialFile, FifoDeviceAndFolderAreRefusedWithoutBlocking)
{
    const std::string fifo = PathOf("pipe.tif");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(KRN_RunWithin(
                  5, [&] { return OpenIsRefused(fifo, fifo + ": Not a regular file but a FIFO"); }),
              0);
    EXPECT_EQ(KRN_RunWithin(5,
                            []
                            {
                                return OpenIsRefused(
                                    "/dev/zero", "/dev/zero: Not a regular file but a character "
                                                 "device");
                            }),
              0);
    EXPECT_EQ(OpenIsRefused(m_dir.string(), m_dir.string() + ": Not a regular file but a folder"),
              0);

    // A regular file still opens after all this.
    TIFX_KRNWriter writer;
    writer.SetMainBitmap(32, 32, TIFX_Pattern(32, 32));
    writer.Write(PathOf("plain.tif"));
    TIFX_KRNFile plain(PathOf("plain.tif"));
    EXPECT_NO_THROW(plain.Open());
    EXPECT_TRUE(plain.IsValidPreviewFile());
}
} // namespace
