// Files whose declared dimensions promise more than the file holds. Each fixture is a small valid
// preview file with one dimension overwritten afterwards, named after the fault it pins: such a
// file is not a preview file, and the reason says which check failed.

#include "TIFX/TIFX_KRNFile.h"
#include "TIFX/TIFX_KRNWriter.h"
#include "TIFX_TestFiles.h"

#include <tiffio.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace
{
// Overwrites the value of `tag` in image directory `directory` (counted from 0) of a classic TIFF
// with one LONG `value`; the entry's value must be stored in the entry itself.
void PatchEntry(const std::string& path, unsigned directory, uint16_t tag, uint32_t value)
{
    ASSERT_TRUE(TIFX_RawFile(path).SetEntryValue(directory, tag, value, true))
        << "tag " << tag << " in directory " << directory;
}

class TIFX_DeclaredSize : public TIFX_ScratchTest
{
protected:
    std::string WriteValid(const std::string& name, uint32_t width, uint32_t height,
                           uint16_t reducedScale = 8)
    {
        TIFX_KRNWriterOptions options;
        options.reducedScale = reducedScale;
        TIFX_KRNWriter writer(options);
        writer.SetMainBitmap(width, height, TIFX_Pattern(width, height));
        writer.SetDirectoryInfo(KRN_TestFullInfo());
        const std::string path = PathOf(name);
        writer.Write(path);
        return path;
    }

    // Validity, and the reason when invalid.
    std::pair<bool, std::string> Check(const std::string& path)
    {
        TIFX_KRNFile file(path);
        file.Open();
        const bool valid = file.IsValidPreviewFile();
        EXPECT_EQ(file.GetDirectory(), 0u);
        return {valid, file.GetValidityFailure()};
    }
};

TEST_F(TIFX_DeclaredSize, MainImage16777216WideWith9TileOffsetsIsNotAPreviewFile)
{
    const std::string path = WriteValid("main-16777216-wide-9-tile-offsets.tif", 9 * 512, 512);
    ASSERT_TRUE(Check(path).first) << Check(path).second;
    PatchEntry(path, 0, TIFFTAG_IMAGEWIDTH, 16777216);
    EXPECT_LT(std::filesystem::file_size(path), 64u * 1024);

    const auto [valid, reason] = Check(path);
    EXPECT_FALSE(valid);
    EXPECT_EQ(reason,
              "directory 0 declares 32768 tiles but has an offset and byte count for only 9");
}

TEST_F(TIFX_DeclaredSize, ReducedImage58483RowsTallWithOneTileIsNotAPreviewFile)
{
    const std::string path = WriteValid("reduced-58483-rows-1-tile.tif", 512, 512);
    ASSERT_TRUE(Check(path).first);
    PatchEntry(path, 1, TIFFTAG_IMAGELENGTH, 58483);

    const auto [valid, reason] = Check(path);
    EXPECT_FALSE(valid);
    EXPECT_EQ(reason, "directory 1 declares 115 tiles but has an offset and byte count for only 1");
}

TEST_F(TIFX_DeclaredSize, ReducedImageLargerThanTheMainImageIsNotAPreviewFile)
{
    // Both directories hold every tile they declare; only the sizes disagree. A reduced copy of
    // the same size as its original is still a reduced copy.
    const std::string same = WriteValid("same-size.tif", 1024, 512, 1);
    EXPECT_TRUE(Check(same).first) << Check(same).second;
    const std::string path = WriteValid("reduced-larger-than-main.tif", 1024, 512, 1);
    PatchEntry(path, 0, TIFFTAG_IMAGEWIDTH, 600);

    const auto [valid, reason] = Check(path);
    EXPECT_FALSE(valid);
    EXPECT_EQ(reason,
              "directory 1 (1024 x 512) is larger than the full-resolution image (600 x 512)");
}

TEST_F(TIFX_DeclaredSize, TileBytesBeyondTheEndOfTheFileAreReported)
{
    // One tile, so that its byte count stands in the directory entry itself.
    const std::string path = WriteValid("tile-beyond-end.tif", 512, 512);
    PatchEntry(path, 0, TIFFTAG_TILEBYTECOUNTS, 0x7FFFFFF0u);

    const auto [valid, reason] = Check(path);
    EXPECT_FALSE(valid);
    EXPECT_EQ(reason, "directory 0: tile 0 of 1 lies beyond the end of the file");
}

// A side of more than 1,048,576 pixels is beyond any plate, however honestly the file holds its
// tiles: a crafted file whose millions of tiles share their bytes would otherwise pass.
TEST_F(TIFX_DeclaredSize, MainImageOfMoreThan1048576PixelsOnASideIsNotAPreviewFile)
{
    for (const uint32_t width : {TIFX_KRNFile::kMaxSide, TIFX_KRNFile::kMaxSide + 1})
    {
        TIFX_KRNWriter writer;
        writer.SetMainImage(width, 512, [](uint32_t, uint32_t, uint8_t*) {});
        writer.SetReducedImage(std::vector<uint8_t>(size_t{(width + 7) / 8} * 64, 0));
        writer.SetDirectoryInfo(KRN_TestFullInfo());
        const std::string path = PathOf("wide-" + std::to_string(width) + ".tif");
        writer.Write(path);
        const auto [valid, reason] = Check(path);
        if (width == TIFX_KRNFile::kMaxSide)
            EXPECT_TRUE(valid) << reason;
        else
            EXPECT_EQ(reason,
                      "directory 0 declares 1048577 x 512 pixels, more than 1048576 on a side");
    }
}
} // namespace
