#include "WKRN/files/WKRN_PathCollector.h"

#include <gtest/gtest.h>

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
