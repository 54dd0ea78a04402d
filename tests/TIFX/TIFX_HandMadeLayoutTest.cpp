// Tiny preview directories laid out byte by byte from the TIFF layout, one per byte order, so that
// the reader is checked against bytes the writer did not make, and the writer's embedded entries
// against bytes the reader did not read.

#include "TIFX/TIFX_KRNFile.h"
#include "TIFX_TestFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace
{
namespace T = TIFX_Tag;
namespace F = TIFX_Field;

constexpr uint16_t kByte = 1, kAscii = 2, kShort = 3, kLong = 4, kFloat = 11;

// Bytes in one byte order, written without any help from the project's code.
class Bytes
{
public:
    explicit Bytes(bool bigEndian) : m_big(bigEndian) {}
    void U16(uint16_t v)
    {
        if (m_big)
            Raw({static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)});
        else
            Raw({static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)});
    }
    void U32(uint32_t v)
    {
        if (m_big)
            Raw({static_cast<uint8_t>(v >> 24), static_cast<uint8_t>(v >> 16),
                 static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)});
        else
            Raw({static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                 static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)});
    }
    void Raw(std::initializer_list<uint8_t> v) { m_out.insert(m_out.end(), v); }
    void Raw(const std::vector<uint8_t>& v) { m_out.insert(m_out.end(), v.begin(), v.end()); }
    const std::vector<uint8_t>& Data() const { return m_out; }
    size_t Size() const { return m_out.size(); }

private:
    bool m_big;
    std::vector<uint8_t> m_out;
};

// One entry of the embedded directory: its value bytes in the file's byte order.
struct Entry
{
    uint16_t tag, type;
    uint32_t count;
    std::vector<uint8_t> value;
};

Entry Shorts(bool big, uint16_t tag, std::initializer_list<uint16_t> values)
{
    Bytes b(big);
    for (uint16_t v : values)
        b.U16(v);
    return {tag, kShort, static_cast<uint32_t>(values.size()), b.Data()};
}

Entry Longs(bool big, uint16_t tag, std::initializer_list<uint32_t> values)
{
    Bytes b(big);
    for (uint32_t v : values)
        b.U32(v);
    return {tag, kLong, static_cast<uint32_t>(values.size()), b.Data()};
}

Entry Text(uint16_t tag, const char* text)
{
    std::vector<uint8_t> v(text, text + std::strlen(text) + 1);
    return {tag, kAscii, static_cast<uint32_t>(v.size()), v};
}

Entry Float(bool big, uint16_t tag, float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    Bytes b(big);
    b.U32(bits);
    return {tag, kFloat, 1, b.Data()};
}

// Every kind of entry the embedded directory meets: inline and out-of-line scalars and arrays,
// a float, a text, per-page arrays and the clip-path sequence, sorted by tag as TIFF requires.
std::vector<Entry> PrivateEntries(bool big)
{
    return {
        Float(big, T::CompressionRatio, 12.5f),
        Text(T::Title, "Hand made"),
        Shorts(big, T::Scale, {1}),
        Shorts(big, T::Color, {2}),
        Longs(big, T::PressSheetBottom, {700}),
        Shorts(big, T::NumPages, {2}),
        Shorts(big, T::Signature, {3}),
        Shorts(big, T::Surface, {1}),
        Longs(big, T::PagePosnTop, {10, 300}),
        Shorts(big, T::PageNumber, {5, 6}),
        // page 0: one path of two points; page 1: no path
        Longs(big, T::PageSourceClipPath, {1, 2, 1, 2, 3, 4, 0}),
        Shorts(big, T::CMYKEquivalent, {65535, 0, 32768, 1}),
    };
}

// The job information those entries stand for.
KRNDirectoryInfo PrivateInfo()
{
    KRNDirectoryInfo info;
    info.compressionRatio = 12.5f;
    info.title = "Hand made";
    info.color = 2;
    info.pressSheetBottom = 700;
    info.numPages = 2;
    info.signature = 3;
    info.surface = 1;
    info.pages.resize(2);
    info.pages[0].posTop = 10;
    info.pages[1].posTop = 300;
    info.pages[0].pageNumber = 5;
    info.pages[1].pageNumber = 6;
    info.pages[0].clipPaths = {{{1, 2}, {3, 4}}};
    info.cmykEquivalent[0] = 65535;
    info.cmykEquivalent[2] = 32768;
    info.cmykEquivalent[3] = 1;
    for (unsigned bit :
         {F::CompressionRatio, F::Title, F::Color, F::PressSheetBottom, F::NumPages, F::Signature,
          F::Surface, F::PagePosnTop, F::PageNumber, F::PageSourceClipPath, F::CMYKEquivalent})
        info.SetField(bit);
    return info;
}

// The embedded directory placed at `base` in the file: entry count, entries, then the values that
// do not fit in four bytes, each on an even offset.
std::vector<uint8_t> EmbeddedDirectory(bool big, const std::vector<Entry>& entries, uint32_t base)
{
    Bytes head(big);
    Bytes tail(big);
    const uint32_t dataStart = base + 2 + 12 * static_cast<uint32_t>(entries.size());
    head.U16(static_cast<uint16_t>(entries.size()));
    for (const Entry& e : entries)
    {
        head.U16(e.tag);
        head.U16(e.type);
        head.U32(e.count);
        if (e.value.size() <= 4)
        {
            std::vector<uint8_t> field(e.value);
            field.resize(4, 0);
            head.Raw(field);
        }
        else
        {
            head.U32(dataStart + static_cast<uint32_t>(tail.Size()));
            tail.Raw(e.value);
            if (tail.Size() & 1)
                tail.Raw({0});
        }
    }
    std::vector<uint8_t> out = head.Data();
    out.insert(out.end(), tail.Data().begin(), tail.Data().end());
    return out;
}

// A whole classic TIFF: header, one directory of a 16 x 8 one-bit min-is-white strip image
// carrying QuorIFD, then the embedded directory, then the strip.
std::vector<uint8_t> HandMadeFile(bool big)
{
    constexpr uint16_t kDirEntries = 9;
    constexpr uint32_t kDirOffset = 8;
    constexpr uint32_t kEmbeddedOffset = kDirOffset + 2 + 12 * kDirEntries + 4;
    const std::vector<uint8_t> embedded =
        EmbeddedDirectory(big, PrivateEntries(big), kEmbeddedOffset);
    const uint32_t stripOffset =
        (kEmbeddedOffset + static_cast<uint32_t>(embedded.size()) + 1) & ~1u;

    Bytes f(big);
    if (big)
        f.Raw({'M', 'M'});
    else
        f.Raw({'I', 'I'});
    f.U16(42);
    f.U32(kDirOffset);
    f.U16(kDirEntries);
    const auto entry = [&](uint16_t tag, uint16_t type, uint32_t count, uint32_t value)
    {
        f.U16(tag);
        f.U16(type);
        f.U32(count);
        if (type == kShort && count == 1)
        {
            f.U16(static_cast<uint16_t>(value));
            f.U16(0);
        }
        else
        {
            f.U32(value);
        }
    };
    entry(256, kShort, 1, 16); // ImageWidth
    entry(257, kShort, 1, 8);  // ImageLength
    entry(258, kShort, 1, 1);  // BitsPerSample
    entry(259, kShort, 1, 1);  // Compression: none
    entry(262, kShort, 1, 0);  // PhotometricInterpretation: min is white
    entry(273, kLong, 1, stripOffset);
    entry(278, kShort, 1, 8); // RowsPerStrip
    entry(279, kLong, 1, 16); // StripByteCounts
    entry(T::QuorIFD, kByte, static_cast<uint32_t>(embedded.size()), kEmbeddedOffset);
    f.U32(0); // no further directory
    f.Raw(embedded);
    while (f.Size() < stripOffset)
        f.Raw({0});
    for (int row = 0; row < 8; ++row)
        f.Raw({0xF0, 0x0F});
    return f.Data();
}

class TIFX_HandMadeLayoutTest : public TIFX_ScratchTest, public ::testing::WithParamInterface<bool>
{
};

TEST_P(TIFX_HandMadeLayoutTest, ReaderDecodesEveryKindOfEmbeddedEntry)
{
    const bool big = GetParam();
    const std::string path = PathOf(big ? "handmade-mm.tif" : "handmade-ii.tif");
    {
        const std::vector<uint8_t> bytes = HandMadeFile(big);
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    TIFX_KRNFile file(path);
    file.Open();
    ASSERT_TRUE(file.HasQuorIFD());
    EXPECT_EQ(file.GetImageWidth(), 16u);
    EXPECT_EQ(file.GetBitsPerSample(), 1u);

    KRNDirectoryInfo expected = PrivateInfo();
    expected.scale = 1;
    expected.SetField(F::Scale);
    const KRNDirectoryInfo& read = file.GetDirectoryInfo();
    EXPECT_EQ(read.fieldsSet, expected.fieldsSet);
    EXPECT_EQ(read.title, "Hand made");
    EXPECT_FLOAT_EQ(read.compressionRatio, 12.5f);
    EXPECT_EQ(read.color, 2);
    EXPECT_EQ(read.pressSheetBottom, 700);
    EXPECT_EQ(read.signature, 3);
    EXPECT_EQ(read.surface, 1);
    EXPECT_EQ(read.pages, expected.pages);
    EXPECT_EQ(file.GetCMYKEquivalent(), (std::array<uint16_t, 4>{65535, 0, 32768, 1}));
    // Not a valid preview: no tiles, no reduced image; the reader must say so, not throw.
    EXPECT_FALSE(file.IsValidPreviewFile());
}

TEST_P(TIFX_HandMadeLayoutTest, WriterEncodesTheSameEntriesAsTheHandMadeLayout)
{
    const bool big = GetParam();
    const std::vector<Entry> hand = PrivateEntries(big);
    const std::vector<TIFX_RawEntry> written = TIFX_KRNWriter::EncodeEntries(PrivateInfo(), 1, big);
    ASSERT_EQ(written.size(), hand.size());
    for (size_t i = 0; i < hand.size(); ++i)
    {
        SCOPED_TRACE(hand[i].tag);
        EXPECT_EQ(written[i].tag, hand[i].tag);
        EXPECT_EQ(written[i].type, hand[i].type);
        EXPECT_EQ(written[i].count, hand[i].count);
        EXPECT_EQ(written[i].data, hand[i].value);
    }
}

INSTANTIATE_TEST_SUITE_P(ByteOrder, TIFX_HandMadeLayoutTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info)
                         { return info.param ? "BigEndian" : "LittleEndian"; });
} // namespace
