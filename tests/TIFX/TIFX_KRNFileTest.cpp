// Opening, closing, directory selection, getters and their exceptions.

#include "TIFX/TIFX_KRNFile.h"
#include "TIFX/TIFX_KRNWriter.h"
#include "TIFX_TestFiles.h"

#include "GFIL/GFIL_FileSpec.h"
#include "TIFX/TIFX_HandleState.h"

#include <tiffio.h>

#include <atomic>
#include <thread>
#include <vector>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace
{
class TIFX_File : public TIFX_ScratchTest
{
protected:
    std::string WriteDefault(TIFX_KRNWriterOptions options = {})
    {
        return TIFX_WritePattern(PathOf("file.tif"), KRN_TestFullInfo(), options, 520, 530);
    }
};

TEST_F(TIFX_File, MissingFileThrowsFileIOExceptionWithoutModulePrefix)
{
    const std::string path = PathOf("absent.tif");
    TIFX_KRNFile file(path);
    try
    {
        file.Open();
        FAIL() << "opened a missing file";
    }
    catch (const TIFX_FileIOException& e)
    {
        EXPECT_EQ(e.GetCode(), 1500005);
        EXPECT_EQ(std::string(e.what()), path + ": No such file or directory");
    }
    EXPECT_FALSE(file.IsOpen());
}

// Readers open on several threads at once (the renderer's workers do): each handle takes its own
// private record, and each failed open names its own file.
TEST_F(TIFX_File, OpensOnSeveralThreadsAtOnceEachGetTheirOwnRecordAndFailure)
{
    constexpr int kThreads = 4;
    std::vector<std::string> paths;
    for (int t = 0; t < kThreads; ++t)
    {
        KRNDirectoryInfo info = KRN_TestFullInfo();
        info.colorName = "Ink " + std::to_string(t);
        paths.push_back(
            TIFX_WritePattern(PathOf("ink" + std::to_string(t) + ".tif"), info, {}, 64, 64));
    }
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back(
            [&, t]
            {
                const std::string ink = "Ink " + std::to_string(t);
                const std::string missing = PathOf("missing" + std::to_string(t) + ".tif");
                for (int i = 0; i < 100; ++i)
                {
                    TIFX_KRNFile file(paths[t]);
                    file.Open();
                    if (file.GetDirectoryInfo().colorName != ink)
                        wrong.fetch_add(1);
                    TIFX_KRNFile absent(missing);
                    try
                    {
                        absent.Open();
                        wrong.fetch_add(1);
                    }
                    catch (const TIFX_FileIOException& e)
                    {
                        if (std::string(e.what()) != missing + ": No such file or directory")
                            wrong.fetch_add(1);
                    }
                }
            });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(wrong.load(), 0);
}

TEST_F(TIFX_File, NonTiffFileThrowsFileIOException)
{
    const std::string path = PathOf("text.tif");
    FILE* f = std::fopen(path.c_str(), "w");
    std::fputs("this is not a TIFF file at all", f);
    std::fclose(f);
    TIFX_KRNFile file(path);
    EXPECT_THROW(file.Open(), TIFX_FileIOException);
    EXPECT_FALSE(file.IsOpen());
}

TEST_F(TIFX_File, ModulePrefixIsCutUpToTheBracketAndTheCharacterAfterIt)
{
    EXPECT_EQ(TIFX_StripModule("[TIFFOpen] /a/b: No such file"), "/a/b: No such file");
    EXPECT_EQ(TIFX_StripModule("no module here"), "no module here");
    EXPECT_EQ(TIFX_StripModule("[mod]"), "");
    EXPECT_EQ(TIFX_StripModule("[mod]x"), "");
    EXPECT_EQ(TIFX_StripModule("[a] b] c"), "b] c");
}

TEST_F(TIFX_File, AbsentTagsThrowTagNotFoundNamingTagAndDirectory)
{
    TIFX_KRNFile file(WriteDefault());
    file.Open();
    try
    {
        file.GetInkNames();
        FAIL() << "ink names found";
    }
    catch (const TIFX_TagNotFoundException& e)
    {
        EXPECT_EQ(e.GetCode(), 1500001);
        EXPECT_EQ(e.GetTag(), 333u);
        EXPECT_STREQ(e.what(), "Tag #333 not found in current directory (0)");
    }
    ASSERT_TRUE(file.SetDirectory(1));
    try
    {
        file.GetInkNames();
        FAIL() << "ink names found";
    }
    catch (const TIFX_Exception& e)
    {
        EXPECT_STREQ(e.what(), "Tag #333 not found in current directory (1)");
    }
}

TEST_F(TIFX_File, CMYKEquivalentAbsentThrowsForItsTag)
{
    TIFX_KRNWriter writer;
    KRNDirectoryInfo info;
    info.title = "no cmyk";
    info.SetField(TIFX_Field::Title);
    writer.SetMainBitmap(16, 16, std::vector<uint8_t>(32, 0));
    writer.SetDirectoryInfo(info);
    const std::string path = PathOf("nocmyk.tif");
    writer.Write(path);
    TIFX_KRNFile file(path);
    file.Open();
    EXPECT_EQ(file.GetDirectoryInfo().title, "no cmyk");
    try
    {
        file.GetCMYKEquivalent();
        FAIL() << "CMYK equivalent found";
    }
    catch (const TIFX_TagNotFoundException& e)
    {
        EXPECT_EQ(e.GetTag(), 34032u);
    }
}

TEST_F(TIFX_File, ClosedFileAnswersEmptyAndThrows)
{
    TIFX_KRNFile file(WriteDefault());
    EXPECT_FALSE(file.IsOpen());
    EXPECT_THROW(file.GetImageWidth(), TIFX_TagNotFoundException);
    EXPECT_EQ(file.GetDirectoryInfo(), KRNDirectoryInfo());
    EXPECT_FALSE(file.HasQuorIFD());
    EXPECT_FALSE(file.SetDirectory(0));
    EXPECT_EQ(file.CountDirectories(), 0);
    EXPECT_EQ(file.GetTileSize(), 0);
    uint8_t buffer[16];
    EXPECT_EQ(file.ReadTile(buffer, 0, 0), -1);
}

TEST_F(TIFX_File, OpenTwiceKeepsHandleAndReopenAfterCloseStartsAtDirectoryZero)
{
    TIFX_KRNFile file(WriteDefault());
    file.Open();
    ASSERT_TRUE(file.SetDirectory(1));
    file.Open(); // already open: nothing happens
    EXPECT_EQ(file.GetDirectory(), 1);
    file.Close();
    EXPECT_FALSE(file.IsOpen());
    file.Close();
    file.Open();
    EXPECT_EQ(file.GetDirectory(), 0);
    EXPECT_EQ(file.GetDirectoryInfo().scale, 1);
}

TEST_F(TIFX_File, DirectoryRecordIsRebuiltAtEveryChangeAndBadIndexKeepsCurrent)
{
    TIFX_KRNFile file(WriteDefault());
    file.Open();
    // The record is complete straight after opening, before any directory change.
    EXPECT_EQ(file.GetDirectoryInfo(), TIFX_WithScale(KRN_TestFullInfo(), 1));
    EXPECT_EQ(file.CountDirectories(), 2);
    ASSERT_TRUE(file.SetDirectory(1));
    EXPECT_EQ(file.GetDirectoryInfo(), TIFX_WithScale(KRN_TestFullInfo(), 8));
    EXPECT_FALSE(file.SetDirectory(7));
    EXPECT_EQ(file.GetDirectory(), 1);
    EXPECT_EQ(file.GetDirectoryInfo().scale, 8);
    EXPECT_EQ(file.GetBitsPerSample(), 8);
    ASSERT_TRUE(file.SetDirectory(0));
    EXPECT_EQ(file.GetDirectoryInfo().scale, 1);
}

TEST_F(TIFX_File, FileSpecificationNamesTheSameFile)
{
    const std::string path = WriteDefault();
    TIFX_KRNFile file{GFIL_FileSpec(path)};
    EXPECT_EQ(file.GetPath(), path);
    file.Open();
    EXPECT_TRUE(file.IsValidPreviewFile());
}

TEST_F(TIFX_File, ReducedImageIsTheAverageInkOfEachCell)
{
    // Left half solid ink, right half blank; scale 8.
    const uint32_t width = 64, height = 16;
    std::vector<uint8_t> bits(8 * height, 0);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t b = 0; b < 4; ++b)
            bits[y * 8 + b] = 0xFF;
    bits[8 * 0 + 4] = 0xF0; // half of the first cell right of the middle, top row only
    TIFX_KRNWriter writer;
    writer.SetMainBitmap(width, height, bits);
    const std::string path = PathOf("reduced.tif");
    writer.Write(path);

    TIFX_KRNFile file(path);
    file.Open();
    ASSERT_TRUE(file.SetDirectory(1));
    ASSERT_EQ(file.GetImageWidth(), 8u);
    ASSERT_EQ(file.GetImageLength(), 2u);
    std::vector<uint8_t> tile(static_cast<size_t>(file.GetTileSize()));
    ASSERT_GT(file.ReadTile(tile.data(), 0, 0), 0);
    EXPECT_EQ(tile[0], 255);
    EXPECT_EQ(tile[3], 255);
    EXPECT_EQ(tile[4], 255 * 4 / 64); // four inked pixels of 64
    EXPECT_EQ(tile[5], 0);
    EXPECT_EQ(tile[512 + 3], 255);
    EXPECT_EQ(tile[512 + 4], 0);
}

TEST_F(TIFX_File, UnknownTagsWarnIntoTheCollectedTextAndTag12000IsAccepted)
{
    // A plain tiled TIFF written directly, with tag 12000 that no table knows.
    const std::string path = PathOf("unknown.tif");
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    ASSERT_NE(tif, nullptr);
    static const TIFFFieldInfo extra[] = {{12000, TIFF_VARIABLE2, TIFF_VARIABLE2, TIFF_LONG,
                                           FIELD_CUSTOM, 1, 1, const_cast<char*>("T12000")},
                                          {12345, TIFF_VARIABLE2, TIFF_VARIABLE2, TIFF_LONG,
                                           FIELD_CUSTOM, 1, 1, const_cast<char*>("T12345")}};
    TIFFMergeFieldInfo(tif, extra, 2);
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, 16);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, 16);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    TIFFSetField(tif, TIFFTAG_TILEWIDTH, 16);
    TIFFSetField(tif, TIFFTAG_TILELENGTH, 16);
    const uint32_t values[] = {1, 2, 3};
    TIFFSetField(tif, 12000, 3u, values);
    TIFFSetField(tif, 12345, 3u, values);
    uint8_t tileData[32] = {};
    ASSERT_GE(TIFFWriteTile(tif, tileData, 0, 0, 0, 0), 0);
    TIFFClose(tif);

    TIFX_KRNFile file(path);
    file.Open();
    EXPECT_NE(TIFX_LastWarningText().find("12345"), std::string::npos) << TIFX_LastWarningText();
    EXPECT_EQ(file.GetDirectoryInfo().fieldsSet, 0u);
    EXPECT_FALSE(file.IsValidPreviewFile());
}
} // namespace

// The stored bytes of tiles as the comparison of versions reads them: what libtiff says the file
// holds at a tile's offset, read back through the reader's own descriptor; nothing from past the
// end of the file, from a closed file or beyond the caller's limit.
TEST_F(TIFX_File, RawTilesAreTheFileBytesAtTheirOffsetsAndNeverReadPastTheEnd)
{
    TIFX_KRNWriterOptions options;
    options.compression = TIFX_KRNWriterOptions::Compression::LZW;
    const std::string path = WriteDefault(options);
    std::vector<std::uint64_t> offsets, counts;
    {
        TIFF* tif = TIFFOpen(path.c_str(), "r");
        ASSERT_NE(tif, nullptr);
        for (ttile_t t = 0; t < TIFFNumberOfTiles(tif); ++t)
        {
            offsets.push_back(TIFFGetStrileOffset(tif, t));
            counts.push_back(TIFFGetStrileByteCount(tif, t));
        }
        TIFFClose(tif);
    }
    std::ifstream stream(path, std::ios::binary);
    const std::string whole((std::istreambuf_iterator<char>(stream)), {});

    TIFX_KRNFile file(path);
    file.Open();
    ASSERT_EQ(file.CountTiles(), offsets.size());
    ASSERT_EQ(file.TileIndex(519, 529), offsets.size() - 1);
    std::vector<std::uint8_t> bytes;
    for (std::uint32_t t = 0; t < file.CountTiles(); ++t)
    {
        ASSERT_TRUE(file.ReadRawTile(t, bytes, 1u << 20)) << t;
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
                  whole.substr(std::size_t(offsets[t]), std::size_t(counts[t])))
            << t;
    }
    EXPECT_FALSE(file.ReadRawTile(0, bytes, counts[0] - 1));
    EXPECT_FALSE(file.ReadRawTile(file.CountTiles(), bytes, 1u << 20));
    std::vector<std::uint8_t> tail(16);
    EXPECT_TRUE(file.ReadFileBytes(whole.size() - 16, 16, tail.data()));
    EXPECT_FALSE(file.ReadFileBytes(whole.size() - 15, 16, tail.data()));
    EXPECT_FALSE(file.ReadFileBytes(UINT64_MAX - 4, 16, tail.data()));
    // Cut short by another program while open: the last tile is no longer there to read.
    std::filesystem::resize_file(path, offsets.back() + counts.back() / 2);
    EXPECT_FALSE(file.ReadRawTile(file.CountTiles() - 1, bytes, 1u << 20));
    file.Close();
    EXPECT_EQ(file.GetRawTileSize(0), 0u);
    EXPECT_FALSE(file.ReadFileBytes(0, 1, tail.data()));
}

TEST_F(TIFX_File, TileCodingsDifferWithTheCompressionAndAgreeForTheSameOptions)
{
    const auto codingOf = [this](TIFX_KRNWriterOptions::Compression compression, const char* name)
    {
        TIFX_KRNWriterOptions options;
        options.compression = compression;
        TIFX_KRNFile file(TIFX_WritePattern(PathOf(name), KRN_TestFullInfo(), options, 520, 530));
        file.Open();
        return file.GetTileCoding();
    };
    using C = TIFX_KRNWriterOptions::Compression;
    const TIFX_KRNFile::TileCoding g4 = codingOf(C::CCITTGroup4, "a.tif");
    EXPECT_EQ(g4, codingOf(C::CCITTGroup4, "b.tif"));
    EXPECT_EQ(g4.imageWidth, 520u);
    EXPECT_EQ(g4.compression, COMPRESSION_CCITTFAX4);
    for (C other : {C::None, C::PackBits, C::LZW, C::Deflate})
        EXPECT_FALSE(codingOf(other, "c.tif") == g4);
}
