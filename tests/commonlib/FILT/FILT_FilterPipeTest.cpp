#include "FILT/FILT_FilterPipe.h"
#include "FILT_TestSupport.h"

#include <gtest/gtest.h>

#include <numeric>

using filt_test::AddFilter;
using filt_test::Drive;
using filt_test::LogCapture;

namespace
{

std::vector<uint8_t> Ramp(std::size_t n)
{
    std::vector<uint8_t> bytes(n);
    for (std::size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<uint8_t>(i * 7 + i / 256);
    return bytes;
}

std::vector<uint8_t> Added(std::vector<uint8_t> bytes, int add)
{
    for (auto& b : bytes)
        b = static_cast<uint8_t>(b + add);
    return bytes;
}

} // namespace

TEST(FILT_FilterPipe, EmptyPipeCopiesAndPassesEndOfDataOnlyWhenDrained)
{
    FILT_FilterPipe pipe;
    FILT_FilterBuffer in(10);
    FILT_FilterBuffer out(4);
    const auto bytes = Ramp(10);
    in.Write(bytes.data(), 10);
    in.SetEndOfData();
    pipe.ProcessBytes(in, out);
    EXPECT_EQ(out.DataAvailable(), 4u);
    EXPECT_EQ(in.DataAvailable(), 6u);
    EXPECT_FALSE(out.EndOfData());
    FILT_FilterBuffer rest(6);
    pipe.ProcessBytes(in, rest);
    EXPECT_EQ(rest.DataAvailable(), 6u);
    EXPECT_TRUE(rest.EndOfData());
}

TEST(FILT_FilterPipe, IntermediateBuffersJoinNeighbours)
{
    FILT_FilterPipe pipe;
    auto* a = new AddFilter(1, 1);
    ASSERT_TRUE(pipe.PrependFilter(std::unique_ptr<FILT_Filter>(a)));
    EXPECT_EQ(pipe.IntermediateAt(1), nullptr); // the first filter sits between the caller's

    auto* b = new AddFilter(1, 2);
    ASSERT_TRUE(pipe.PrependFilter(std::unique_ptr<FILT_Filter>(b)));
    FILT_FilterBuffer* ba = pipe.IntermediateAt(1);
    ASSERT_NE(ba, nullptr);
    EXPECT_EQ(ba->Capacity(), 16384u);

    auto* c = new AddFilter(1, 3);
    ASSERT_TRUE(pipe.AppendFilter(std::unique_ptr<FILT_Filter>(c)));
    auto* d = new AddFilter(1, 4);
    ASSERT_TRUE(pipe.PrependFilter(std::unique_ptr<FILT_Filter>(d)));
    // Stream order d, b, a, c; the buffer between b and a is the one made for b.
    ASSERT_EQ(pipe.FilterCount(), 4);
    EXPECT_EQ(pipe.FilterAt(0), d);
    EXPECT_EQ(pipe.FilterAt(1), b);
    EXPECT_EQ(pipe.FilterAt(2), a);
    EXPECT_EQ(pipe.FilterAt(3), c);
    EXPECT_EQ(pipe.IntermediateAt(2), ba);
    EXPECT_NE(pipe.IntermediateAt(3), nullptr);
    EXPECT_EQ(pipe.IntermediateAt(4), nullptr);

    EXPECT_EQ(Drive(pipe, Ramp(100), 100, 100), Added(Ramp(100), 10));
}

TEST(FILT_FilterPipe, LessThanATupleIsStagedAndCompletedByTheNextCall)
{
    FILT_FilterPipe pipe;
    pipe.AppendFilter(std::make_unique<AddFilter>(5, 1));
    FILT_FilterBuffer in(8);
    FILT_FilterBuffer out(8);
    const auto bytes = Ramp(5);
    in.Write(bytes.data(), 3);
    pipe.ProcessBytes(in, out);
    EXPECT_EQ(in.DataAvailable(), 0u);
    EXPECT_EQ(out.DataAvailable(), 0u);
    EXPECT_LT(pipe.Cursor(), 0);
    in.Write(bytes.data() + 3, 2);
    pipe.ProcessBytes(in, out);
    ASSERT_EQ(out.DataAvailable(), 5u);
    EXPECT_EQ(std::vector<uint8_t>(out.ReadPosition(), out.WritePosition()), Added(bytes, 1));
}

// Feeding and draining a byte at a time must give exactly what one large call gives: every
// cursor move, staging copy and pending byte is exercised on the way.
TEST(FILT_FilterPipe, ByteAtATimeEqualsAllAtOnce)
{
    const auto input = Ramp(20000); // more than an intermediate buffer holds
    for (auto [inChunk, outChunk] :
         {std::pair<uint32_t, uint32_t>{1, 1}, {1, 40000}, {40000, 1}, {7, 3}, {16384, 16384}})
    {
        FILT_FilterPipe pipe;
        pipe.AppendFilter(std::make_unique<AddFilter>(3, 1));
        pipe.AppendFilter(std::make_unique<AddFilter>(7, 2));
        pipe.PrependFilter(std::make_unique<AddFilter>(2, 4));
        // 20000 is not a multiple of 7 or 3: the short tails are dropped on the way.
        const auto output = Drive(pipe, input, inChunk, outChunk);
        std::vector<uint8_t> expected = Added(input, 7);
        expected.resize(20000 / 2 * 2 / 3 * 3 / 7 * 7);
        EXPECT_EQ(output, expected) << inChunk << " / " << outChunk;
    }
}

TEST(FILT_FilterPipe, TraceLinesNameEveryStep)
{
    LogCapture log;
    FILT_FilterPipe pipe;
    pipe.SetTrace(true);
    pipe.SetTraceOutput(true);
    pipe.AppendFilter(std::make_unique<AddFilter>(2, 1));
    FILT_FilterBuffer in(8);
    FILT_FilterBuffer out(8);
    const auto bytes = Ramp(4);
    in.Write(bytes.data(), 4);
    in.SetEndOfData();
    pipe.ProcessBytes(in, out);

    std::vector<std::string> texts;
    for (const auto& entry : log.lines)
    {
        EXPECT_EQ(entry.severity, 6);
        texts.push_back(entry.text);
    }
    const std::vector<std::string> expected = {
        "FILT_FilterPipe::ProcessBytes, inBuf.DataAvailable = 4 (eod), outBuf.SpaceRemaining = 8",
        "  About to call AddFilter::ProcessBytes, inBuf.DataAvailable = 4 (eod), "
        "outBuf.SpaceRemaining = 8",
        "  AddFilter::ProcessBytes consumed 4 (eod) and generated 4 (eod)",
        "  AddFilter::ProcessBytes produced the following data:",
        "FILT_FilterPipe::ProcessBytes,  consumed 4 (eod) and generated 4 (eod)",
    };
    EXPECT_EQ(texts, expected);
}
