// The writer's row source: a sheet is asked for one band of tile rows at a time, top to bottom,
// each row once, and the file is the same byte for byte as one written from the whole bitmap.

#include "TIFX/TIFX_Exception.h"
#include "TIFX/TIFX_KRNWriter.h"
#include "TIFX_TestFiles.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace
{
class TIFX_RowStreaming : public TIFX_ScratchTest
{
protected:
    static std::string Bytes(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

TEST_F(TIFX_RowStreaming, WideShallowSheetIsAskedBandByBandAndMatchesTheWholeBitmap)
{
    // Wide and shallow, with a partial tile at the right and a partial band at the bottom: the
    // case where a band is the whole of the sheet's width and only a fraction of its height.
    const uint32_t width = 20000 + 37, height = 512 + 100;
    const size_t rowBytes = (width + 7) / 8;
    const std::vector<uint8_t> bitmap = TIFX_Pattern(width, height);

    struct Call
    {
        uint32_t y0, rows;
    };
    std::vector<Call> calls;
    TIFX_KRNWriter streamed;
    streamed.SetMainRows(width, height,
                         [&](uint32_t y0, uint32_t rows, uint8_t* band)
                         {
                             calls.push_back({y0, rows});
                             std::memcpy(band, bitmap.data() + rowBytes * y0, rowBytes * rows);
                         });
    streamed.SetDirectoryInfo(KRN_TestFullInfo());
    const std::string streamedPath = PathOf("streamed.tif");
    streamed.Write(streamedPath);

    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].y0, 0u);
    EXPECT_EQ(calls[0].rows, 512u);
    EXPECT_EQ(calls[1].y0, 512u);
    EXPECT_EQ(calls[1].rows, 100u);

    TIFX_KRNWriter whole;
    whole.SetMainBitmap(width, height, bitmap);
    whole.SetDirectoryInfo(KRN_TestFullInfo());
    const std::string wholePath = PathOf("whole.tif");
    whole.Write(wholePath);
    const std::string a = Bytes(streamedPath), b = Bytes(wholePath);
    ASSERT_FALSE(a.empty());
    EXPECT_TRUE(a == b) << "the streamed file differs from the one written from the bitmap";
}

TEST_F(TIFX_RowStreaming, ReducedImageFromASourceIsTakenAfterTheRowsAndChecked)
{
    const uint32_t width = 1000, height = 700;
    const size_t rowBytes = (width + 7) / 8;
    const std::vector<uint8_t> bitmap = TIFX_Pattern(width, height);
    TIFX_KRNWriterOptions options;
    options.reducedScale = 8;
    uint32_t rowsMade = 0;
    uint32_t rowsWhenReduced = 0;
    TIFX_KRNWriter writer(options);
    writer.SetMainRows(width, height,
                       [&](uint32_t y0, uint32_t rows, uint8_t* band)
                       {
                           std::memcpy(band, bitmap.data() + rowBytes * y0, rowBytes * rows);
                           rowsMade += rows;
                       });
    writer.SetReducedImage(
        [&]
        {
            rowsWhenReduced = rowsMade;
            return std::vector<uint8_t>(size_t{125} * 88, 7);
        });
    writer.SetDirectoryInfo(KRN_TestFullInfo());
    writer.Write(PathOf("reduced.tif"));
    EXPECT_EQ(rowsWhenReduced, height);

    // A reduced image of the wrong size is refused, not written past its end.
    writer.SetReducedImage([] { return std::vector<uint8_t>(10, 0); });
    EXPECT_THROW(writer.Write(PathOf("wrong.tif")), TIFX_FileIOException);
}
} // namespace
