// Files written in every byte order, compression and private-tag placement read back with every
// private field and every pixel as written.

#include "TIFX/TIFX_KRNFile.h"
#include "TIFX/TIFX_KRNWriter.h"
#include "TIFX_TestFiles.h"

#include <tiffio.h>

#include <tuple>

namespace
{
using Options = TIFX_KRNWriterOptions;
using Param = std::tuple<Options::ByteOrder, Options::Compression, bool>;

std::string CompressionName(Options::Compression c)
{
    switch (c)
    {
    case Options::Compression::None:
        return "none";
    case Options::Compression::PackBits:
        return "packbits";
    case Options::Compression::LZW:
        return "lzw";
    case Options::Compression::Deflate:
        return "deflate";
    case Options::Compression::CCITTGroup4:
        return "g4";
    }
    return "?";
}

class TIFX_RoundTrip : public TIFX_ScratchTest, public ::testing::WithParamInterface<Param>
{
};

TEST_P(TIFX_RoundTrip, EveryFieldAndPixelReadsBackAsWritten)
{
    const auto [order, compression, inQuorIFD] = GetParam();
    Options options;
    options.byteOrder = order;
    options.compression = compression;
    options.tagsInQuorIFD = inQuorIFD;
    const uint32_t width = 1100, height = 600; // partial tiles on the right and bottom
    const std::vector<uint8_t> bitmap = TIFX_Pattern(width, height);
    const KRNDirectoryInfo info = KRN_TestFullInfo();

    TIFX_KRNWriter writer(options);
    writer.SetMainBitmap(width, height, bitmap);
    writer.SetDirectoryInfo(info);
    const std::string path = PathOf("roundtrip.tif");
    writer.Write(path);

    TIFX_KRNFile file(path);
    file.Open();
    ASSERT_TRUE(file.IsValidPreviewFile()) << file.GetValidityFailure();
    EXPECT_EQ(file.GetDirectory(), 0);
    EXPECT_TRUE(file.HasQuorIFD());
    EXPECT_EQ(file.GetDirectoryInfo(), TIFX_WithScale(info, 1));
    EXPECT_EQ(file.GetImageWidth(), width);
    EXPECT_EQ(file.GetImageLength(), height);
    EXPECT_EQ(file.GetBitsPerSample(), 1);
    EXPECT_EQ(file.GetPhotometricInterpretation(), PHOTOMETRIC_MINISWHITE);
    EXPECT_FLOAT_EQ(file.GetXResolution(), 600.0f);
    EXPECT_FLOAT_EQ(file.GetYResolution(), 600.0f);
    EXPECT_EQ(file.GetTileWidth(), 512u);
    EXPECT_EQ(file.GetTileLength(), 512u);
    const std::array<uint16_t, 4> cmyk = {0, 65535, 32768, 1234};
    EXPECT_EQ(file.GetCMYKEquivalent(), cmyk);

    // Every pixel of the one-bit image.
    ASSERT_EQ(file.GetTileSize(), 512 * 512 / 8);
    std::vector<uint8_t> tile(static_cast<size_t>(file.GetTileSize()));
    const uint32_t rowBytes = (width + 7) / 8;
    for (uint32_t y0 = 0; y0 < height; y0 += 512)
        for (uint32_t x0 = 0; x0 < width; x0 += 512)
        {
            ASSERT_EQ(file.ReadTile(tile.data(), x0, y0), file.GetTileSize());
            for (uint32_t r = 0; r < 512 && y0 + r < height; ++r)
                for (uint32_t c = 0; c < 512 && x0 + c < width; ++c)
                {
                    const uint32_t x = x0 + c, y = y0 + r;
                    const int expected = (bitmap[size_t{y} * rowBytes + x / 8] >> (7 - x % 8)) & 1;
                    const int actual = (tile[size_t{r} * 64 + c / 8] >> (7 - c % 8)) & 1;
                    ASSERT_EQ(actual, expected) << "pixel " << x << ", " << y;
                }
        }

    // The reduced directory carries the same information with its own scale.
    ASSERT_TRUE(file.SetDirectory(1));
    EXPECT_EQ(file.GetBitsPerSample(), 8);
    EXPECT_EQ(file.GetImageWidth(), (width + 7) / 8);
    EXPECT_EQ(file.GetDirectoryInfo(), TIFX_WithScale(info, 8));
}

INSTANTIATE_TEST_SUITE_P(
    AllLayouts, TIFX_RoundTrip,
    ::testing::Combine(::testing::Values(Options::ByteOrder::LittleEndian,
                                         Options::ByteOrder::BigEndian),
                       ::testing::Values(Options::Compression::None, Options::Compression::PackBits,
                                         Options::Compression::LZW, Options::Compression::Deflate,
                                         Options::Compression::CCITTGroup4),
                       ::testing::Bool()),
    [](const ::testing::TestParamInfo<Param>& p)
    {
        return std::string(std::get<0>(p.param) == Options::ByteOrder::BigEndian ? "big"
                                                                                 : "little") +
               "_" + CompressionName(std::get<1>(p.param)) + "_" +
               (std::get<2>(p.param) ? "embedded" : "directory");
    });
} // namespace
