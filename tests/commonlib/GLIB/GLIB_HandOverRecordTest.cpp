#include "GLIB/GLIB_HandOverRecord.h"

#include <gtest/gtest.h>

namespace
{
constexpr std::uint64_t kTag = 0xB001;

std::string Header(std::uint64_t tag, std::uint32_t count)
{
    std::string bytes;
    for (int i = 0; i < 8; ++i)
        bytes.push_back(char((tag >> (8 * i)) & 0xFF));
    for (int i = 0; i < 4; ++i)
        bytes.push_back(char((count >> (8 * i)) & 0xFF));
    return bytes;
}

std::string Units(std::initializer_list<char16_t> units)
{
    std::string bytes;
    for (char16_t unit : units)
    {
        bytes.push_back(char(unit & 0xFF));
        bytes.push_back(char(unit >> 8));
    }
    return bytes;
}
} // namespace

TEST(GLIB_HandOverRecord, Encode_TagCountAndUtf16TextWithNul)
{
    const std::string record = GLIB_HandOverRecord::Encode(L"q a", kTag);
    std::string expected = Header(0xB001, 8);
    expected.append("q\0 \0a\0\0\0", 8);
    EXPECT_EQ(record, expected);
}

TEST(GLIB_HandOverRecord, RoundTrip_KeepsTextOutsideTheBasicPlane)
{
    const std::wstring line = L"/usr/bin/quorkrn \"/jobs/Gr\u00fc\u00dfe \U0001F600.tif\"";
    const auto record = GLIB_HandOverRecord::Decode(GLIB_HandOverRecord::Encode(line, kTag));
    ASSERT_TRUE(record);
    EXPECT_TRUE(record->wellFormed);
    EXPECT_EQ(record->tag, 0xB001u);
    EXPECT_EQ(record->commandLine, line);
    // The surrogate pair travels as two UTF-16 units.
    EXPECT_EQ(GLIB_HandOverRecord::Encode(L"\U0001F600", kTag).size(), 12u + 6u);
    // A leading U+FEFF is text, not a byte-order mark.
    EXPECT_EQ(
        GLIB_HandOverRecord::Decode(GLIB_HandOverRecord::Encode(L"\uFEFFx", kTag))->commandLine,
        L"\uFEFFx");
}

TEST(GLIB_HandOverRecord, Decode_RefusesRecordsThatAreNotExactlyOne)
{
    const std::string good = GLIB_HandOverRecord::Encode(L"x", kTag);
    EXPECT_FALSE(GLIB_HandOverRecord::Decode(good.substr(0, 11)));              // short header
    EXPECT_FALSE(GLIB_HandOverRecord::Decode(good.substr(0, good.size() - 1))); // short data
    EXPECT_FALSE(GLIB_HandOverRecord::Decode(good + good));                     // two records
    // A count beyond any command line is not believed, whatever follows.
    EXPECT_EQ(GLIB_HandOverRecord::ExpectedSize(Header(0xB001, 0xFFFFFFFFu)), -1);
    EXPECT_EQ(GLIB_HandOverRecord::ExpectedSize(Header(0xB001, 4)), 16);
    EXPECT_EQ(GLIB_HandOverRecord::ExpectedSize(good.substr(0, 5)), 0);
}

TEST(GLIB_HandOverRecord, Decode_MalformedTextIsNotUsed)
{
    // Odd byte count, no terminating NUL, empty data: the tag is known, the text is not used.
    for (const std::string& data :
         {std::string("a\0b", 3), std::string("a\0b\0", 4), std::string()})
    {
        const auto record =
            GLIB_HandOverRecord::Decode(Header(0xB001, std::uint32_t(data.size())) + data);
        ASSERT_TRUE(record);
        EXPECT_FALSE(record->wellFormed);
        EXPECT_TRUE(record->commandLine.empty());
    }
    // Text after the first NUL is not part of the command line.
    const std::string data("a\0\0\0b\0\0\0", 8);
    const auto record = GLIB_HandOverRecord::Decode(Header(0xB001, 8) + data);
    ASSERT_TRUE(record && record->wellFormed);
    EXPECT_EQ(record->commandLine, L"a");
}

TEST(GLIB_HandOverRecord, Decode_LoneSurrogatesBecomeTheReplacementCharacter)
{
    // A high surrogate before a non-surrogate, one right before the NUL, and a low one alone.
    const std::string data = Units({u'a', 0xD83D, u'b', 0xDE00, u'c', 0xD83D, 0});
    const auto record =
        GLIB_HandOverRecord::Decode(Header(0xB001, std::uint32_t(data.size())) + data);
    ASSERT_TRUE(record && record->wellFormed);
    EXPECT_EQ(record->commandLine, L"a\uFFFDb\uFFFDc\uFFFD");
    // Encoding above U+10FFFF is not possible; such a point is replaced, not cut.
    const std::wstring beyond(1, static_cast<wchar_t>(0x110000));
    EXPECT_EQ(GLIB_HandOverRecord::Encode(beyond, kTag).substr(12), Units({0xFFFD, 0}));
}
