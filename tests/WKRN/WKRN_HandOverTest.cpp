#include "WKRN/WKRN_HandOverRecord.h"
#include "WKRN/WKRN_PathCollector.h"

#include <gtest/gtest.h>

namespace
{
QByteArray Header(std::uint64_t tag, std::uint32_t count)
{
    QByteArray bytes;
    for (int i = 0; i < 8; ++i)
        bytes.append(char((tag >> (8 * i)) & 0xFF));
    for (int i = 0; i < 4; ++i)
        bytes.append(char((count >> (8 * i)) & 0xFF));
    return bytes;
}
} // namespace

TEST(WKRN_HandOverRecord, Encode_TagCountAndUtf16TextWithNul)
{
    const QByteArray record = WKRN_HandOverRecord::Encode(L"q a");
    QByteArray expected = Header(0xB001, 8);
    expected.append("q\0 \0a\0\0\0", 8);
    EXPECT_EQ(record, expected);
}

TEST(WKRN_HandOverRecord, RoundTrip_KeepsTextOutsideTheBasicPlane)
{
    const std::wstring line = L"/usr/bin/quorkrn \"/jobs/Gr\u00fc\u00dfe \U0001F600.tif\"";
    const auto record = WKRN_HandOverRecord::Decode(WKRN_HandOverRecord::Encode(line));
    ASSERT_TRUE(record);
    EXPECT_TRUE(record->wellFormed);
    EXPECT_EQ(record->tag, 0xB001u);
    EXPECT_EQ(record->commandLine, line);
    // The surrogate pair travels as two UTF-16 units.
    EXPECT_EQ(WKRN_HandOverRecord::Encode(L"\U0001F600").size(), 12 + 6);
}

TEST(WKRN_HandOverRecord, Decode_RefusesRecordsThatAreNotExactlyOne)
{
    const QByteArray good = WKRN_HandOverRecord::Encode(L"x");
    EXPECT_FALSE(WKRN_HandOverRecord::Decode(good.left(11)));              // short header
    EXPECT_FALSE(WKRN_HandOverRecord::Decode(good.left(good.size() - 1))); // short data
    EXPECT_FALSE(WKRN_HandOverRecord::Decode(good + good));                // two records
    // A count beyond any command line is not believed, whatever follows.
    EXPECT_EQ(WKRN_HandOverRecord::ExpectedSize(Header(0xB001, 0xFFFFFFFFu)), -1);
    EXPECT_EQ(WKRN_HandOverRecord::ExpectedSize(Header(0xB001, 4)), 16);
    EXPECT_EQ(WKRN_HandOverRecord::ExpectedSize(good.left(5)), 0);
}

TEST(WKRN_HandOverRecord, Decode_MalformedTextIsNotUsed)
{
    // Odd byte count, no terminating NUL, empty data: the tag is known, the text is not used.
    for (const QByteArray& data : {QByteArray("a\0b", 3), QByteArray("a\0b\0", 4), QByteArray()})
    {
        const auto record =
            WKRN_HandOverRecord::Decode(Header(0xB001, std::uint32_t(data.size())) + data);
        ASSERT_TRUE(record);
        EXPECT_FALSE(record->wellFormed);
        EXPECT_TRUE(record->commandLine.empty());
    }
    // Text after the first NUL is not part of the command line.
    const QByteArray data("a\0\0\0b\0\0\0", 8);
    const auto record = WKRN_HandOverRecord::Decode(Header(0xB001, 8) + data);
    ASSERT_TRUE(record && record->wellFormed);
    EXPECT_EQ(record->commandLine, L"a");
}

TEST(WKRN_PathCollector, FiveFiles50msApart_OpenAsOneBatchAfterTwentyAveragesOfQuiet)
{
    WKRN_PathCollector collector;
    const std::uint32_t start = 1000000;
    for (int i = 0; i < 5; ++i)
    {
        const auto action =
            collector.Receive({L"/f" + std::to_wstring(i)}, start + 50u * std::uint32_t(i));
        EXPECT_EQ(action, WKRN_PathCollector::Action::StartTimer);
    }
    EXPECT_EQ(collector.AccumulatedTime(), 200u);
    EXPECT_EQ(collector.AverageInterval(), 50u);
    // Exactly twenty averages is not more than twenty: keep waiting one more tick.
    EXPECT_FALSE(collector.TimerFired(start + 200 + 1000));
    EXPECT_TRUE(collector.Collecting());
    EXPECT_TRUE(collector.TimerFired(start + 200 + 2000));
    EXPECT_FALSE(collector.Collecting());
    EXPECT_EQ(collector.Pending(),
              (std::vector<std::wstring>{L"/f0", L"/f1", L"/f2", L"/f3", L"/f4"}));
}

TEST(WKRN_PathCollector, SingleFile_OpensAtTheFirstTick)
{
    WKRN_PathCollector collector;
    EXPECT_EQ(collector.Receive({L"/a"}, 5), WKRN_PathCollector::Action::StartTimer);
    EXPECT_EQ(collector.AverageInterval(), 0u);
    EXPECT_TRUE(collector.TimerFired(1005));
    EXPECT_EQ(collector.Pending(), std::vector<std::wstring>{L"/a"});
    // A stray tick after the collection changes nothing.
    EXPECT_FALSE(collector.TimerFired(3000));
}

TEST(WKRN_PathCollector, MultiFileHandOver_ReplacesTheCollection)
{
    WKRN_PathCollector collector;
    collector.Receive({L"/a"}, 0);
    collector.Receive({L"/b"}, 40);
    EXPECT_EQ(collector.Receive({L"/x", L"/y"}, 60), WKRN_PathCollector::Action::OpenNow);
    EXPECT_FALSE(collector.Collecting());
    EXPECT_EQ(collector.Pending(), (std::vector<std::wstring>{L"/x", L"/y"}));
    // The next single file starts a fresh collection with a fresh list.
    collector.Receive({L"/c"}, 100);
    EXPECT_EQ(collector.Pending(), std::vector<std::wstring>{L"/c"});
    EXPECT_EQ(collector.AccumulatedTime(), 0u);
    EXPECT_EQ(collector.Receive({}, 200), WKRN_PathCollector::Action::None);
}

TEST(WKRN_PathCollector, TickCountWrap_UsesUnsigned32BitArithmetic)
{
    WKRN_PathCollector collector;
    collector.Receive({L"/a"}, 0xFFFFFFF0u);
    collector.Receive({L"/b"}, 0x0000000Fu);
    // The interval across the wrap is counted one short, as it always has been: 0x1F - 1.
    EXPECT_EQ(collector.AccumulatedTime(), 0x1Eu);
    EXPECT_EQ(collector.AverageInterval(), 0x1Eu);
    // The quiet time wraps correctly: 20 x 30 = 600 ms after the last arrival.
    EXPECT_FALSE(collector.TimerFired(0x0000000Fu + 600));
    EXPECT_TRUE(collector.TimerFired(0x0000000Fu + 601));
}
