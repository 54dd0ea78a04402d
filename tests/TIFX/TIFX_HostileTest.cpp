// Crafted embedded directories and broken files: every bad offset, count or length is ignored
// without reading past anything, and what is sound around it is still decoded. The sanitizer
// build runs these too.

#include "TIFX/TIFX_KRNFile.h"
#include "TIFX/TIFX_KRNWriter.h"
#include "TIFX_TestFiles.h"

#include <tiffio.h>

#include <filesystem>

namespace
{
namespace T = TIFX_Tag;
namespace F = TIFX_Field;

class TIFX_Hostile : public TIFX_ScratchTest, public ::testing::WithParamInterface<bool>
{
protected:
    bool Big() const { return GetParam(); }

    TIFX_RawEntry Entry(uint32_t tag, uint16_t type, const std::vector<uint32_t>& values) const
    {
        return TIFX_KRNWriter::MakeEntry(static_cast<uint16_t>(tag), type, values, Big());
    }

    TIFX_RawEntry Text(uint32_t tag, const std::string& text) const
    {
        std::vector<uint32_t> bytes(text.begin(), text.end());
        bytes.push_back(0);
        return Entry(tag, TIFF_ASCII, bytes);
    }

    // A valid preview file whose embedded directories hold exactly `entries`.
    std::string WriteEntries(const std::vector<TIFX_RawEntry>& entries,
                             std::optional<uint16_t> declared = std::nullopt)
    {
        TIFX_KRNWriterOptions options;
        options.byteOrder = Big() ? TIFX_KRNWriterOptions::ByteOrder::BigEndian
                                  : TIFX_KRNWriterOptions::ByteOrder::LittleEndian;
        TIFX_KRNWriter writer(options);
        writer.SetMainBitmap(32, 32, TIFX_Pattern(32, 32));
        writer.SetQuorIFDEntries(entries, declared);
        const std::string path = PathOf("hostile.tif");
        writer.Write(path);
        return path;
    }

    KRNDirectoryInfo Decode(const std::vector<TIFX_RawEntry>& entries,
                            std::optional<uint16_t> declared = std::nullopt)
    {
        TIFX_KRNFile file(WriteEntries(entries, declared));
        file.Open();
        EXPECT_TRUE(file.HasQuorIFD());
        return file.GetDirectoryInfo();
    }
};

TEST_P(TIFX_Hostile, OffsetsOutsideTheFileSkipOnlyTheirEntry)
{
    TIFX_RawEntry title = Text(T::Title, "a title longer than four bytes");
    title.forcedOffset = 0xFFFFFFF0u;
    TIFX_RawEntry pages = Entry(T::NumPages, TIFF_SHORT, {2});
    const std::vector<TIFX_RawEntry> first = {title, pages};
    const KRNDirectoryInfo info = Decode(first);
    EXPECT_FALSE(info.IsFieldSet(F::Title));
    EXPECT_EQ(info.title, "");
    EXPECT_TRUE(info.IsFieldSet(F::NumPages));
    EXPECT_EQ(info.pages.size(), 2u);

    // One byte past the end is as bad as far past it; exactly up to the end is fine.
    const uint64_t size = std::filesystem::file_size(WriteEntries(first));
    const uint32_t length = static_cast<uint32_t>(title.data.size());
    title.forcedOffset = static_cast<uint32_t>(size - length + 1);
    EXPECT_FALSE(Decode({title, pages}).IsFieldSet(F::Title));
    title.forcedOffset = static_cast<uint32_t>(size - length);
    const KRNDirectoryInfo atEnd = Decode({title, pages});
    EXPECT_TRUE(atEnd.IsFieldSet(F::Title));
}

TEST_P(TIFX_Hostile, CountsWhoseByteSizeOverflowsAreIgnored)
{
    TIFX_RawEntry posn = Entry(T::PagePosnTop, TIFF_LONG, {7, 8});
    posn.count = 0x40000001u; // 4 bytes in 32-bit arithmetic
    posn.forcedOffset = 8;
    TIFX_RawEntry clip = Entry(T::PageSourceClipPath, TIFF_LONG, {1, 1, 5, 5});
    clip.count = 0xFFFFFFFFu;
    clip.forcedOffset = 0;
    const KRNDirectoryInfo info = Decode(
        {Entry(T::NumPages, TIFF_SHORT, {2}), Entry(T::Signature, TIFF_SHORT, {4}), posn, clip});
    EXPECT_FALSE(info.IsFieldSet(F::PagePosnTop));
    EXPECT_FALSE(info.IsFieldSet(F::PageSourceClipPath));
    EXPECT_EQ(info.pages[0].posTop, 0);
    EXPECT_EQ(info.signature, 4);
}

TEST_P(TIFX_Hostile, DirectoryClaimingMoreEntriesThanItHoldsIsReadAsFarAsItGoes)
{
    const KRNDirectoryInfo info =
        Decode({Entry(T::Signature, TIFF_SHORT, {6}), Entry(T::Surface, TIFF_SHORT, {1})}, 4000);
    EXPECT_EQ(info.signature, 6);
    EXPECT_EQ(info.surface, 1);
    EXPECT_TRUE(info.IsFieldSet(F::Surface));
}

TEST_P(TIFX_Hostile, EmptyOrTinyPrivateDirectoryHoldsNothing)
{
    EXPECT_EQ(Decode({}).fieldsSet, 0u);
    EXPECT_EQ(Decode({}, 3).fieldsSet, 0u);
}

TEST_P(TIFX_Hostile, ShortPageArraysLeaveTheMissingValuesZero)
{
    const KRNDirectoryInfo info =
        Decode({Entry(T::NumPages, TIFF_SHORT, {3}), Entry(T::PagePosnTop, TIFF_LONG, {11, 12}),
                Entry(T::PageOrientation, TIFF_SHORT, {2}),
                Entry(T::PageBottleAngle, TIFF_FLOAT, {0x40490FDBu})});
    ASSERT_EQ(info.pages.size(), 3u);
    EXPECT_EQ(info.pages[0].posTop, 11);
    EXPECT_EQ(info.pages[1].posTop, 12);
    EXPECT_EQ(info.pages[2].posTop, 0);
    EXPECT_EQ(info.pages[0].orientation, 2);
    EXPECT_EQ(info.pages[1].orientation, 0);
    EXPECT_FLOAT_EQ(info.pages[0].bottleAngle, 3.14159274f);
    EXPECT_EQ(info.pages[1].bottleAngle, 0.0f);
}

TEST_P(TIFX_Hostile, PageArraysLongerThanThePageCountAreUsedUpToIt)
{
    const KRNDirectoryInfo info =
        Decode({Entry(T::NumPages, TIFF_SHORT, {2}), Entry(T::PageNumber, TIFF_SHORT, {5, 6, 7, 8}),
                Entry(T::PagePosnLeft, TIFF_LONG, {1, 2, 3, 4, 5})});
    ASSERT_EQ(info.pages.size(), 2u);
    EXPECT_EQ(info.pages[1].pageNumber, 6);
    EXPECT_EQ(info.pages[1].posLeft, 2);
}

TEST_P(TIFX_Hostile, ZeroPagesIgnoreThePageArrays)
{
    const KRNDirectoryInfo info =
        Decode({Entry(T::NumPages, TIFF_SHORT, {0}), Entry(T::PageNumber, TIFF_SHORT, {5, 6}),
                Entry(T::PageSourceClipPath, TIFF_LONG, {1, 1, 3, 4})});
    EXPECT_TRUE(info.IsFieldSet(F::NumPages));
    EXPECT_EQ(info.numPages, 0);
    EXPECT_TRUE(info.pages.empty());
}

TEST_P(TIFX_Hostile, PageArraysBeforeThePageCountFindNoPages)
{
    // Out of tag order: the arrays come before "Num Pages" and have no records to fill.
    const KRNDirectoryInfo info =
        Decode({Entry(T::PageNumber, TIFF_SHORT, {5, 6}), Entry(T::NumPages, TIFF_SHORT, {2})});
    ASSERT_EQ(info.pages.size(), 2u);
    EXPECT_EQ(info.pages[0].pageNumber, 0);
}

TEST_P(TIFX_Hostile, ClipPathCountBeyondTheDataEndsClipPathDecoding)
{
    // Page 0: one triangle. Page 1: one path claiming 1000 points with two values left.
    const KRNDirectoryInfo info =
        Decode({Entry(T::NumPages, TIFF_SHORT, {3}),
                Entry(T::PageSourceClipPath, TIFF_LONG, {1, 3, 1, 2, 3, 4, 5, 6, 1, 1000, 9, 9})});
    ASSERT_EQ(info.pages.size(), 3u);
    ASSERT_EQ(info.pages[0].clipPaths.size(), 1u);
    EXPECT_EQ(info.pages[0].clipPaths[0], (std::vector<KRNPoint>{{1, 2}, {3, 4}, {5, 6}}));
    EXPECT_TRUE(info.pages[1].clipPaths.empty());
    EXPECT_TRUE(info.pages[2].clipPaths.empty());

    // A path count of 2^32 - 1 with nothing behind it.
    const KRNDirectoryInfo huge = Decode({Entry(T::NumPages, TIFF_SHORT, {1}),
                                          Entry(T::PageSourceClipPath, TIFF_LONG, {0xFFFFFFFFu})});
    EXPECT_TRUE(huge.pages[0].clipPaths.empty());
}

TEST_P(TIFX_Hostile, WrongTypesAndShortCMYKAreIgnored)
{
    const KRNDirectoryInfo info =
        Decode({Text(T::Scale, "xx"), Entry(T::Signature, 5 /* RATIONAL */, {1, 2}),
                Entry(T::ColorStr, TIFF_LONG, {1}), Entry(T::CMYKEquivalent, TIFF_SHORT, {1, 2}),
                Entry(T::Surface, TIFF_LONG, {1})});
    EXPECT_FALSE(info.IsFieldSet(F::Scale));
    EXPECT_FALSE(info.IsFieldSet(F::Signature));
    EXPECT_FALSE(info.IsFieldSet(F::ColorStr));
    EXPECT_FALSE(info.IsFieldSet(F::CMYKEquivalent));
    // A LONG where a SHORT is registered is still a number.
    EXPECT_TRUE(info.IsFieldSet(F::Surface));
    EXPECT_EQ(info.surface, 1);
}

TEST_P(TIFX_Hostile, TextWithoutTerminatorStopsAtItsCount)
{
    TIFX_RawEntry title = Entry(T::Title, TIFF_ASCII, {'A', 'B', 'C', 'D', 'E', 'F'});
    const KRNDirectoryInfo info = Decode({title});
    EXPECT_EQ(info.title, "ABCDEF");
}

TEST_P(TIFX_Hostile, PrivateDirectoryInsideItselfIsNotFollowed)
{
    // An entry for the embedded directory pointing at the embedded directory's own entries.
    TIFX_RawEntry nested = Entry(T::QuorIFD, TIFF_BYTE, std::vector<uint32_t>(40, 0));
    const std::string path = WriteEntries(
        {Entry(T::Signature, TIFF_SHORT, {2}), nested, Entry(T::Surface, TIFF_SHORT, {1})});
    TIFX_KRNFile file(path);
    file.Open();
    EXPECT_EQ(file.GetDirectoryInfo().signature, 2);
    EXPECT_EQ(file.GetDirectoryInfo().surface, 1);
}

TEST_P(TIFX_Hostile, EntriesRereadingTheSameRegionStopAtTheReadBudget)
{
    // Twenty entries that each point at the same mebibyte of tile data; a reader without a budget
    // would read and decode it twenty times. A later small out-of-line value is past the budget.
    TIFX_KRNWriterOptions options;
    options.byteOrder = Big() ? TIFX_KRNWriterOptions::ByteOrder::BigEndian
                              : TIFX_KRNWriterOptions::ByteOrder::LittleEndian;
    options.compression = TIFX_KRNWriterOptions::Compression::None;
    options.writeReducedImage = false;
    std::vector<TIFX_RawEntry> entries;
    for (int i = 0; i < 20; ++i)
    {
        TIFX_RawEntry sequence = Entry(T::ColorSequence, TIFF_ASCII, {'x', 'y', 'z', 'w', 0});
        sequence.count = 1u << 20;
        sequence.forcedOffset = 16;
        entries.push_back(sequence);
    }
    TIFX_RawEntry title = Text(T::Title, "late title");
    title.forcedOffset = 16;
    entries.push_back(title);
    TIFX_KRNWriter writer(options);
    writer.SetMainBitmap(4096, 4096, std::vector<uint8_t>(512 * 4096, 0));
    writer.SetQuorIFDEntries(entries);
    const std::string path = PathOf("budget.tif");
    writer.Write(path);

    TIFX_KRNFile file(path);
    file.Open();
    EXPECT_TRUE(file.GetDirectoryInfo().IsFieldSet(F::ColorSequence));
    EXPECT_FALSE(file.GetDirectoryInfo().IsFieldSet(F::Title));
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, TIFX_Hostile, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& p)
                         { return p.param ? "big" : "little"; });

class TIFX_Truncated : public TIFX_ScratchTest
{
};

TEST_F(TIFX_Truncated, EveryTruncationFailsCleanlyOrStaysReadable)
{
    TIFX_KRNWriterOptions options;
    options.compression = TIFX_KRNWriterOptions::Compression::CCITTGroup4;
    TIFX_KRNWriter writer(options);
    writer.SetMainBitmap(600, 600, TIFX_Pattern(600, 600));
    writer.SetDirectoryInfo(KRN_TestFullInfo());
    const std::string original = PathOf("full.tif");
    writer.Write(original);
    const uint64_t size = std::filesystem::file_size(original);

    int opened = 0, refused = 0;
    for (uint64_t length : {uint64_t{0}, uint64_t{3}, uint64_t{8}, uint64_t{100}, size / 4,
                            size / 2, size - 200, size - 13, size - 1})
    {
        const std::string path = PathOf("cut-" + std::to_string(length) + ".tif");
        std::filesystem::copy_file(original, path);
        std::filesystem::resize_file(path, length);
        TIFX_KRNFile file(path);
        try
        {
            file.Open();
        }
        catch (const TIFX_FileIOException& e)
        {
            ++refused;
            EXPECT_NE(std::string(e.what()), "") << length;
            EXPECT_NE(e.what()[0], '[') << length;
            continue;
        }
        ++opened;
        file.IsValidPreviewFile();
        std::vector<uint8_t> tile(static_cast<size_t>(std::max<int64_t>(file.GetTileSize(), 1)));
        for (uint16_t d = 0; d < file.CountDirectories() && file.SetDirectory(d); ++d)
            if (file.GetTileSize() > 0 && static_cast<size_t>(file.GetTileSize()) <= tile.size())
                file.ReadTile(tile.data(), 0, 0);
    }
    EXPECT_GT(refused, 0);
    EXPECT_EQ(opened + refused, 9);
}
} // namespace
