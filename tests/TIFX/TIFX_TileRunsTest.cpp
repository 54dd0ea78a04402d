// Reading CCITT-coded tiles as run lengths through libtiff's fill hook: the runs describe exactly
// the bits libtiff fills in, the bits are filled only when asked for, and a damaged tile reads
// the same whatever the buffer held before.

#include "TIFX/TIFX_KRNFile.h"
#include "TIFX/TIFX_RunReceiver.h"
#include "TIFX_TestFiles.h"

#include "KRN_TestRuns.h"

#include <tiffio.h>

#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <functional>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

namespace
{
struct RecordedRows : TIFX_RunReceiver
{
    std::vector<std::uint32_t> rows;
    std::vector<std::vector<std::uint32_t>> runs;
    std::uint32_t width = 0;

    void AddRow(std::uint32_t row, const std::uint32_t* r, std::size_t count,
                std::uint32_t w) noexcept override
    {
        rows.push_back(row);
        runs.emplace_back(r, r + count);
        width = w;
    }
};

// The tile at (tx, ty): random screens of varying density, black rows, white rows.
std::vector<std::uint8_t> TileBits(std::uint32_t tileWidth, std::uint32_t tileLength,
                                   std::uint32_t tx, std::uint32_t ty)
{
    std::mt19937 random(tx * 131 + ty);
    std::vector<std::uint8_t> bits(std::size_t(tileWidth / 8) * tileLength);
    for (std::uint32_t y = 0; y < tileLength; ++y)
        for (std::uint32_t i = 0; i < tileWidth / 8; ++i)
        {
            std::uint8_t& b = bits[std::size_t(y) * (tileWidth / 8) + i];
            b = y % 11 == 3 ? 0xFF : y % 13 == 5 ? 0x00 : std::uint8_t(random() & random());
        }
    return bits;
}

class TIFX_TileRuns : public TIFX_ScratchTest
{
protected:
    // A plain tiled one-bit TIFF of 200 x 100 pixels in 64 x 32 tiles (partial tiles at the
    // right and bottom edges).
    std::string Write(const char* name, std::uint16_t compression, std::uint16_t photometric)
    {
        const std::string path = PathOf(name);
        TIFF* tif = TIFFOpen(path.c_str(), "w");
        EXPECT_NE(tif, nullptr);
        if (tif == nullptr)
            return path;
        TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, kWidth);
        TIFFSetField(tif, TIFFTAG_IMAGELENGTH, kLength);
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, photometric);
        TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
        if (compression == COMPRESSION_CCITTFAX3)
            TIFFSetField(tif, TIFFTAG_GROUP3OPTIONS, GROUP3OPT_2DENCODING);
        TIFFSetField(tif, TIFFTAG_TILEWIDTH, kTileWidth);
        TIFFSetField(tif, TIFFTAG_TILELENGTH, kTileLength);
        for (std::uint32_t y = 0; y < kLength; y += kTileLength)
            for (std::uint32_t x = 0; x < kWidth; x += kTileWidth)
            {
                std::vector<std::uint8_t> bits = TileBits(kTileWidth, kTileLength, x, y);
                EXPECT_GE(TIFFWriteTile(tif, bits.data(), x, y, 0, 0), 0);
            }
        TIFFClose(tif);
        return path;
    }

    static constexpr std::uint32_t kWidth = 200, kLength = 100, kTileWidth = 64, kTileLength = 32;
    static constexpr std::size_t kTileBytes = kTileWidth / 8 * kTileLength;
};
} // namespace

// Group 3 (two-dimensional) and Group 4, min-is-white and min-is-black: the runs are the decoded
// bits, black being the set bits in both interpretations.
TEST_F(TIFX_TileRuns, RunsAreTheDecodedBitsForGroup3And4InBothInterpretations)
{
    for (std::uint16_t compression :
         {std::uint16_t(COMPRESSION_CCITTFAX4), std::uint16_t(COMPRESSION_CCITTFAX3)})
        for (std::uint16_t photometric :
             {std::uint16_t(PHOTOMETRIC_MINISWHITE), std::uint16_t(PHOTOMETRIC_MINISBLACK)})
        {
            SCOPED_TRACE(testing::Message() << compression << "/" << photometric);
            TIFX_KRNFile file(Write("ccitt.tif", compression, photometric));
            file.Open();
            ASSERT_TRUE(file.CanReadTileRuns());
            ASSERT_EQ(file.GetTileSize(), std::int64_t(kTileBytes));
            for (std::uint32_t y = 0; y < kLength; y += kTileLength)
                for (std::uint32_t x = 0; x < kWidth; x += kTileWidth)
                {
                    const std::vector<std::uint8_t> written =
                        TileBits(kTileWidth, kTileLength, x, y);
                    std::vector<std::uint8_t> plain(kTileBytes), filled(kTileBytes, 0x5A);
                    ASSERT_EQ(file.ReadTile(plain.data(), x, y), std::int64_t(kTileBytes));
                    ASSERT_EQ(plain, written);

                    RecordedRows withBits;
                    ASSERT_EQ(file.ReadTileRuns(filled.data(), x, y, withBits, true),
                              std::int64_t(kTileBytes));
                    EXPECT_EQ(filled, written);

                    // Without the bits the buffer is left alone; the runs are the same.
                    std::vector<std::uint8_t> untouched(kTileBytes, 0xA5);
                    RecordedRows runsOnly;
                    ASSERT_EQ(file.ReadTileRuns(untouched.data(), x, y, runsOnly, false),
                              std::int64_t(kTileBytes));
                    EXPECT_EQ(untouched, std::vector<std::uint8_t>(kTileBytes, 0xA5));
                    EXPECT_EQ(runsOnly.runs, withBits.runs);

                    ASSERT_EQ(runsOnly.rows.size(), kTileLength);
                    EXPECT_EQ(runsOnly.width, kTileWidth);
                    std::vector<std::uint8_t> fromRuns(kTileBytes);
                    for (std::uint32_t row = 0; row < kTileLength; ++row)
                    {
                        ASSERT_EQ(runsOnly.rows[row], row);
                        KRN_TestFillRow(fromRuns.data() + row * (kTileWidth / 8), kTileWidth,
                                        runsOnly.runs[row].data(), runsOnly.runs[row].size());
                    }
                    EXPECT_EQ(fromRuns, written);
                }
            // The hook is put back: a plain read after a run read fills the bits again.
            std::vector<std::uint8_t> again(kTileBytes);
            RecordedRows ignored;
            ASSERT_GE(file.ReadTileRuns(again.data(), 0, 0, ignored, false), 0);
            ASSERT_EQ(file.ReadTile(again.data(), 64, 32), std::int64_t(kTileBytes));
            EXPECT_EQ(again, TileBits(kTileWidth, kTileLength, 64, 32));
        }
}

TEST_F(TIFX_TileRuns, TilesNotCCITTCodedHaveNoRuns)
{
    for (std::uint16_t compression :
         {std::uint16_t(COMPRESSION_NONE), std::uint16_t(COMPRESSION_LZW),
          std::uint16_t(COMPRESSION_PACKBITS)})
    {
        TIFX_KRNFile file(Write("plain.tif", compression, PHOTOMETRIC_MINISWHITE));
        file.Open();
        EXPECT_FALSE(file.CanReadTileRuns());
        std::vector<std::uint8_t> buffer(kTileBytes);
        RecordedRows rows;
        EXPECT_EQ(file.ReadTileRuns(buffer.data(), 0, 0, rows, true), -1);
        EXPECT_TRUE(rows.rows.empty());
        EXPECT_EQ(file.ReadTile(buffer.data(), 0, 0), std::int64_t(kTileBytes));
        EXPECT_EQ(buffer, TileBits(kTileWidth, kTileLength, 0, 0));
    }
    TIFX_KRNFile closed(PathOf("plain.tif"));
    EXPECT_FALSE(closed.CanReadTileRuns());
}

// libtiff's Group 4 decoder stops at damaged data yet reports the whole tile as read; the rows
// it never reached used to keep whatever the caller's buffer held (another tile's ink).
TEST_F(TIFX_TileRuns, DamagedGroup4TileReadsTheSameWhateverTheBufferHeld)
{
    const std::string path = Write("damaged.tif", COMPRESSION_CCITTFAX4, PHOTOMETRIC_MINISWHITE);
    std::uint64_t offset = 0, count = 0;
    {
        TIFF* tif = TIFFOpen(path.c_str(), "r");
        ASSERT_NE(tif, nullptr);
        offset = TIFFGetStrileOffset(tif, 0);
        count = TIFFGetStrileByteCount(tif, 0);
        TIFFClose(tif);
    }
    ASSERT_GT(count, 16u);
    {
        // Zero bits from the middle of the tile's code on: no code word, the decoder gives up.
        std::FILE* f = std::fopen(path.c_str(), "r+b");
        ASSERT_NE(f, nullptr);
        std::fseek(f, long(offset + count / 2), SEEK_SET);
        const std::vector<std::uint8_t> zeros(count - count / 2, 0);
        std::fwrite(zeros.data(), 1, zeros.size(), f);
        std::fclose(f);
    }
    TIFX_KRNFile file(path);
    file.Open();
    std::vector<std::uint8_t> fromInk(kTileBytes, 0xFF), fromPaper(kTileBytes, 0x00);
    ASSERT_EQ(file.ReadTile(fromInk.data(), 0, 0), std::int64_t(kTileBytes));
    ASSERT_EQ(file.ReadTile(fromPaper.data(), 0, 0), std::int64_t(kTileBytes));
    EXPECT_EQ(fromInk, fromPaper);
    EXPECT_NE(fromPaper, TileBits(kTileWidth, kTileLength, 0, 0)); // really damaged

    // The runs read the same: the rows the decoder reached, then nothing.
    std::vector<std::uint8_t> filled(kTileBytes, 0xFF);
    RecordedRows rows;
    ASSERT_EQ(file.ReadTileRuns(filled.data(), 0, 0, rows, true), std::int64_t(kTileBytes));
    EXPECT_EQ(filled, fromPaper);
    std::vector<std::uint8_t> fromRuns(kTileBytes, 0);
    for (std::size_t i = 0; i < rows.rows.size(); ++i)
        KRN_TestFillRow(fromRuns.data() + rows.rows[i] * (kTileWidth / 8), kTileWidth,
                        rows.runs[i].data(), rows.runs[i].size());
    EXPECT_EQ(fromRuns, fromPaper);
}

// A receiver that runs `onFirst` when its first row arrives, before recording it.
struct GatedRows : RecordedRows
{
    std::function<void()> onFirst;
    void AddRow(std::uint32_t row, const std::uint32_t* r, std::size_t count,
                std::uint32_t w) noexcept override
    {
        if (rows.empty() && onFirst)
            onFirst();
        RecordedRows::AddRow(row, r, count, w);
    }
};

// The fill hook finds its receiver per thread. Two decodes are made to overlap: the first stops
// in its first row until the second, on another thread with a handle of its own, is inside its
// own first row; the first then finishes while the second waits, and the second finishes last.
TEST_F(TIFX_TileRuns, OverlappingDecodesOnTwoThreadsEachReceiveTheirOwnRows)
{
    const std::string path = Write("threads.tif", COMPRESSION_CCITTFAX4, PHOTOMETRIC_MINISWHITE);
    TIFX_KRNFile first(path), second(path);
    first.Open(); // opened here: only the tile reads run on the other thread
    second.Open();
    std::mutex mutex;
    std::condition_variable changed;
    bool secondInside = false, firstDone = false;
    std::thread other;
    std::vector<std::uint8_t> firstBuffer(kTileBytes), secondBuffer(kTileBytes);
    GatedRows firstRows, secondRows;
    std::int64_t secondRead = 0;
    secondRows.onFirst = [&]
    {
        std::unique_lock<std::mutex> lock(mutex);
        secondInside = true;
        changed.notify_all();
        changed.wait(lock, [&] { return firstDone; });
    };
    firstRows.onFirst = [&]
    {
        other = std::thread(
            [&]
            { secondRead = second.ReadTileRuns(secondBuffer.data(), 64, 32, secondRows, false); });
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [&] { return secondInside; });
    };
    const std::int64_t firstRead = first.ReadTileRuns(firstBuffer.data(), 0, 0, firstRows, false);
    {
        std::lock_guard<std::mutex> lock(mutex);
        firstDone = true;
    }
    changed.notify_all();
    other.join();

    ASSERT_EQ(firstRead, std::int64_t(kTileBytes));
    ASSERT_EQ(secondRead, std::int64_t(kTileBytes));
    const struct
    {
        const RecordedRows& rows;
        std::uint32_t x, y;
    } decodes[] = {{firstRows, 0, 0}, {secondRows, 64, 32}};
    for (const auto& decode : decodes)
    {
        ASSERT_EQ(decode.rows.rows.size(), kTileLength);
        std::vector<std::uint8_t> fromRuns(kTileBytes);
        for (std::uint32_t row = 0; row < kTileLength; ++row)
            KRN_TestFillRow(fromRuns.data() + row * (kTileWidth / 8), kTileWidth,
                            decode.rows.runs[row].data(), decode.rows.runs[row].size());
        EXPECT_EQ(fromRuns, TileBits(kTileWidth, kTileLength, decode.x, decode.y));
    }
}

// A crafted file may point every tile at the same bytes. They read as the tile whose bytes they
// share, as bits and as runs, and are decoded once per handle: once the bytes are known, damage
// done to them afterwards on disk no longer reaches the handle that holds them.
TEST_F(TIFX_TileRuns, TilesSharingTheirBytesReadAsThatTileAndAreDecodedOnce)
{
    const std::string path = Write("shared.tif", COMPRESSION_CCITTFAX4, PHOTOMETRIC_MINISWHITE);
    TIFX_RawFile raw(path);
    const std::uint32_t offsets = raw.EntryValue(0, TIFFTAG_TILEOFFSETS);
    const std::uint32_t counts = raw.EntryValue(0, TIFFTAG_TILEBYTECOUNTS);
    constexpr std::uint32_t kTiles = 16, kShared = 5; // 4 x 4 tiles; the sixth one is shared
    const std::uint32_t sharedOffset = raw.Long(offsets + 4 * kShared);
    const std::uint32_t sharedCount = raw.Long(counts + 4 * kShared);
    for (std::uint32_t t = 0; t < kTiles; ++t)
    {
        raw.SetLong(offsets + 4 * t, sharedOffset);
        raw.SetLong(counts + 4 * t, sharedCount);
    }
    ASSERT_TRUE(raw.Save());
    const std::vector<std::uint8_t> expected =
        TileBits(kTileWidth, kTileLength, kShared % 4 * kTileWidth, kShared / 4 * kTileLength);

    TIFX_KRNFile file(path);
    file.Open();
    std::uint32_t read = 0;
    for (std::uint32_t y = 0; y < kLength; y += kTileLength)
        for (std::uint32_t x = 0; x < kWidth; x += kTileWidth, ++read)
        {
            SCOPED_TRACE(testing::Message() << "tile at " << x << ", " << y);
            std::vector<std::uint8_t> bits(kTileBytes, 0x5A);
            ASSERT_EQ(file.ReadTile(bits.data(), x, y), std::int64_t(kTileBytes));
            EXPECT_EQ(bits, expected);
            std::vector<std::uint8_t> untouched(kTileBytes, 0xA5), filled(kTileBytes, 0x5A);
            RecordedRows runs, withBits;
            ASSERT_EQ(file.ReadTileRuns(untouched.data(), x, y, runs, false),
                      std::int64_t(kTileBytes));
            ASSERT_EQ(file.ReadTileRuns(filled.data(), x, y, withBits, true),
                      std::int64_t(kTileBytes));
            EXPECT_EQ(untouched, std::vector<std::uint8_t>(kTileBytes, 0xA5));
            EXPECT_EQ(filled, expected);
            ASSERT_EQ(runs.rows.size(), kTileLength);
            std::vector<std::uint8_t> fromRuns(kTileBytes);
            for (std::uint32_t row = 0; row < kTileLength; ++row)
                KRN_TestFillRow(fromRuns.data() + row * (kTileWidth / 8), kTileWidth,
                                runs.runs[row].data(), runs.runs[row].size());
            EXPECT_EQ(fromRuns, expected);
            if (read == 2)
            {
                // The shared bytes are damaged under the handle, which has them already.
                raw.Fill(sharedOffset + sharedCount / 3, sharedCount - sharedCount / 3, 0);
                ASSERT_TRUE(raw.Save());
            }
        }
    // A handle of its own decodes them now, and finds the damage.
    TIFX_KRNFile fresh(path);
    fresh.Open();
    std::vector<std::uint8_t> bits(kTileBytes);
    ASSERT_EQ(fresh.ReadTile(bits.data(), 0, 0), std::int64_t(kTileBytes));
    EXPECT_NE(bits, expected);
}
