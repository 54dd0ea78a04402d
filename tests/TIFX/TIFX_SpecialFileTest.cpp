// A FIFO, a socket or a device named as a preview file is refused with a message that says what
// it is, at once: the open runs in a child process killed after a few seconds, so that a
// regression fails instead of hanging the suite.

#include "TIFX/TIFX_KRNFile.h"
#include "TIFX_TestFiles.h"

#include "KRN_ChildProcess.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <vector>

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

// A preview file cut short by another program while it is open: the tiles now past its end read
// as errors (a mapped file would end the process with SIGBUS).
TEST_F(TIFX_SpecialFile, FileCutShortWhileOpenReadsAsAnError)
{
    TIFX_KRNWriterOptions options;
    options.compression = TIFX_KRNWriterOptions::Compression::None;
    const std::string path =
        TIFX_WritePattern(PathOf("cut.tif"), KRNDirectoryInfo(), options, 2048, 2048);
    const int status =
        KRN_RunWithin(5,
                      [&]
                      {
                          TIFX_KRNFile file(path);
                          file.Open();
                          std::vector<std::uint8_t> tile(std::size_t(file.GetTileSize()));
                          if (file.ReadTile(tile.data(), 1536, 1536) <= 0)
                              return 2; // the whole file reads before it is cut
                          if (::truncate(path.c_str(), 4096) != 0)
                              return 3;
                          try
                          {
                              return file.ReadTile(tile.data(), 1024, 1536) < 0 ? 0 : 1;
                          }
                          catch (const std::exception&)
                          {
                              return 0;
                          }
                      });
    EXPECT_EQ(status, 0);
}
} // namespace
