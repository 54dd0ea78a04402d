#include "GSTA/GSTA_Accum.h"
#include "GLIB/GLIB_Exception.h"
#include "GLIB/GLIB_Globals.h"
#include "GSTA/GSTA_AccumScope.h"
#include "GSTA/GSTA_TimeStats.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace
{

constexpr int64_t kSecond = 10000000; // 100 ns units

// A clock the test moves by hand; user time runs at half and kernel time at a quarter of wall.
struct FakeClock
{
    int64_t now = 0;
    void Advance(double seconds) { now += static_cast<int64_t>(seconds * kSecond); }
    GSTA_TimeSampler Sampler()
    {
        return [this] { return GSTA_TimeSample{now, now / 2, now / 4}; };
    }
};

struct LogEntry
{
    int severity;
    std::string text;
};

// Collects log entries for the lifetime of the fixture.
class GSTA_AccumTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_saved = GLIB_Globals::Instance().SetLogHandler(
            [this](int severity, const std::wstring& text, const char*, int) {
                m_log.push_back({severity, std::string(text.begin(), text.end())});
            });
        m_accum.Setup({"A", "B", "C"}, GSTA_TimeStats::Factory(m_clock.Sampler()));
    }
    void TearDown() override { GLIB_Globals::Instance().SetLogHandler(m_saved); }

    const GSTA_TimeStats& Total(int id) const
    {
        return dynamic_cast<const GSTA_TimeStats&>(m_accum.Total(id));
    }

    FakeClock m_clock;
    GSTA_Accum m_accum;
    std::vector<LogEntry> m_log;
    GLIB_LogHandler m_saved;
};

class OtherStats : public GSTA_AccumStats
{
public:
    void Assign(const GSTA_AccumStats&) override {}
    void Subtract(const GSTA_AccumStats&) override {}
    void Add(const GSTA_AccumStats&) override {}
    bool NotLess(const GSTA_AccumStats&) const override { return true; }
    void Sample() override {}
    void Reset() override {}
};

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size())
    {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos)
        {
            lines.push_back(text.substr(start) + "<no CRLF>");
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

} // namespace

TEST_F(GSTA_AccumTest, NestedPhaseIsSubtractedFromItsContainer)
{
    m_accum.Push(0);
    m_clock.Advance(0.5); // in A before B
    m_accum.Push(1);
    m_clock.Advance(2.0);
    m_accum.Pop(1);
    m_clock.Advance(1.0);
    m_accum.Pop(0);

    EXPECT_EQ(Total(0).WallTime(), 15 * kSecond / 10);
    EXPECT_EQ(Total(1).WallTime(), 2 * kSecond);
    EXPECT_EQ(Total(0).UserTime(), 15 * kSecond / 20);
    EXPECT_EQ(Total(1).KernelTime(), 2 * kSecond / 4);
    EXPECT_EQ(m_accum.Count(0), 1u);
    EXPECT_EQ(m_accum.Count(1), 1u);
    EXPECT_TRUE(m_accum.ActivePhases().empty());
    EXPECT_TRUE(m_log.empty());

    // Totals accumulate over repeated entries; Reset clears them but keeps the phases.
    m_accum.Push(1);
    m_clock.Advance(1.0);
    m_accum.Pop(1);
    EXPECT_EQ(Total(1).WallTime(), 3 * kSecond);
    EXPECT_EQ(m_accum.Count(1), 2u);
    m_accum.Reset();
    EXPECT_EQ(Total(1).WallTime(), 0);
    EXPECT_EQ(m_accum.Count(1), 0u);
    EXPECT_EQ(m_accum.PhaseCount(), 3);
}

TEST_F(GSTA_AccumTest, ScopeGuardPopsWhenAnExceptionLeaves)
{
    try
    {
        GSTA_AccumScope outer(m_accum, 0);
        m_clock.Advance(1.0);
        GSTA_AccumScope inner(m_accum, 2);
        m_clock.Advance(3.0);
        throw 42;
    }
    catch (int)
    {
    }
    EXPECT_TRUE(m_accum.ActivePhases().empty());
    EXPECT_EQ(Total(0).WallTime(), kSecond);
    EXPECT_EQ(Total(2).WallTime(), 3 * kSecond);
    {
        GSTA_AccumScope off(nullptr, 1);
    }
    EXPECT_EQ(m_accum.Count(1), 0u);
}

TEST_F(GSTA_AccumTest, PopOfWrongPhaseWarnsDumpsStackAndPopsTheTop)
{
    m_accum.Push(0);
    m_accum.Push(2);
    m_clock.Advance(1.0);
    m_accum.Pop(1); // C is on top
    ASSERT_EQ(m_log.size(), 4u);
    EXPECT_EQ(m_log[0].severity, 3);
    EXPECT_EQ(m_log[0].text, "GSTA_Accum::Pop expecting to pop B");
    EXPECT_EQ(m_log[1].severity, 6);
    EXPECT_EQ(m_log[1].text, "  Accum stack contains 2 items.");
    EXPECT_EQ(m_log[2].text, "  Accum[ 1 ] = C");
    EXPECT_EQ(m_log[3].text, "  Accum[ 0 ] = A");
    EXPECT_EQ(Total(2).WallTime(), kSecond);
    EXPECT_EQ(m_accum.ActivePhases(), std::vector<int>{0});

    // An empty stack and an unknown phase are logged, never indexed.
    m_accum.Pop(0);
    m_log.clear();
    m_accum.Pop(0);
    m_accum.Push(7);
    m_accum.Pop(7);
    EXPECT_EQ(m_log.size(), 2u);
    EXPECT_TRUE(m_accum.ActivePhases().empty());
}

TEST_F(GSTA_AccumTest, SeventeenthNestedPhaseIsRefusedAndItsPopIgnored)
{
    for (int i = 0; i < GSTA_Accum::kMaxDepth; ++i)
        m_accum.Push(i % 3);
    EXPECT_TRUE(m_log.empty());
    m_accum.Push(1);
    ASSERT_EQ(m_log.size(), 1u);
    EXPECT_EQ(m_log[0].severity, 3);
    EXPECT_EQ(m_accum.ActivePhases().size(), 16u);

    m_clock.Advance(1.0);
    m_accum.Pop(1); // pairs with the refused push: the 16th phase keeps running
    EXPECT_EQ(m_accum.ActivePhases().size(), 16u);
    for (int i = GSTA_Accum::kMaxDepth - 1; i >= 0; --i)
        m_accum.Pop(i % 3);
    EXPECT_EQ(m_log.size(), 1u);
    EXPECT_TRUE(m_accum.ActivePhases().empty());
    // The second of the refused push went to the innermost phase that ran, id 15 % 3 = 0.
    EXPECT_EQ(Total(0).WallTime(), kSecond);
}

TEST_F(GSTA_AccumTest, ReportLinesUpUnderItsHeader)
{
    m_accum.Push(0);
    m_clock.Advance(1.0);
    m_accum.Push(1);
    m_clock.Advance(3.0);
    m_accum.Pop(1);
    m_accum.Pop(0);

    const std::vector<std::string> lines = Lines(m_accum.ReportText());
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0], std::string(70, '%'));
    EXPECT_EQ(lines[1], "%");
    EXPECT_EQ(lines[2], "% Object           # Objs WallTime    %  KrnlTime    %  UserTime    % ");
    EXPECT_EQ(lines[3], "% ---------------- ------ -------- ----- -------- ----- -------- -----");
    EXPECT_EQ(lines[4], "% A                     1      1.0  25.0      0.2  25.0      0.5  25.0");
    EXPECT_EQ(lines[5], "% B                     1      3.0  75.0      0.8  75.0      1.5  75.0");
    EXPECT_EQ(lines[6], "% C                     0      0.0   0.0      0.0   0.0      0.0   0.0");
    EXPECT_EQ(lines[7], "%                  ------ --------      --------      --------     ");
    EXPECT_EQ(lines[8], "%            Total      2      4.0           1.0           2.0");
    // Every phase line ends where the dashes under the header end.
    for (int i = 4; i <= 6; ++i)
        EXPECT_EQ(lines[static_cast<std::size_t>(i)].size(), lines[3].size()) << lines[i];
}

TEST_F(GSTA_AccumTest, ReportWithNoTimeShowsZeroPercent)
{
    m_accum.Push(0);
    m_accum.Pop(0);
    const std::vector<std::string> lines = Lines(m_accum.ReportText());
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[4], "% A                     1      0.0   0.0      0.0   0.0      0.0   0.0");
    EXPECT_EQ(lines[8], "%            Total      1      0.0           0.0           0.0");
}

TEST(GSTA_TimeStats, ArithmeticAndForeignValues)
{
    GSTA_TimeStats a([] { return GSTA_TimeSample{100, 20, 10}; });
    GSTA_TimeStats b([] { return GSTA_TimeSample{30, 5, 7}; });
    a.Sample();
    b.Sample();
    a.SetObjectCount(3);
    EXPECT_TRUE(a.NotLess(b));
    EXPECT_FALSE(b.NotLess(a));
    a.Subtract(b);
    EXPECT_EQ(a.WallTime(), 70);
    EXPECT_EQ(a.UserTime(), 15);
    EXPECT_EQ(a.KernelTime(), 3);
    a.Add(b);
    a.Add(b);
    EXPECT_EQ(a.WallTime(), 130);
    a.Sample(); // sampling leaves the object count alone
    EXPECT_EQ(a.ObjectCount(), 3);
    b.Assign(a);
    EXPECT_EQ(b.WallTime(), 100);
    EXPECT_EQ(b.ObjectCount(), 3);
    b.Reset();
    EXPECT_EQ(b.WallTime(), 0);
    EXPECT_EQ(b.ObjectCount(), 0);

    OtherStats other;
    try
    {
        a.Add(other);
        FAIL() << "no exception";
    }
    catch (const GLIB_DerivedException<Tag_GSTA_Exception>& e)
    {
        EXPECT_EQ(e.GetCode(), 1205001);
        EXPECT_EQ(e.WhatNarrow(), "Dynamic cast failed");
    }
    EXPECT_THROW(a.Assign(other), GLIB_DerivedException<Tag_GSTA_Exception>);
    EXPECT_THROW(a.Subtract(other), GLIB_DerivedException<Tag_GSTA_Exception>);
    EXPECT_THROW((void)a.NotLess(other), GLIB_DerivedException<Tag_GSTA_Exception>);
}

TEST(GSTA_TimeStats, RealClockIsAFileTime)
{
    GSTA_TimeStats stats;
    stats.Sample();
    // 2020-01-01 as a file time; a Unix-epoch clock would read far below it.
    EXPECT_GT(stats.WallTime(), 132223104000000000LL);
    EXPECT_GE(stats.UserTime(), 0);
    EXPECT_GE(stats.KernelTime(), 0);
}
