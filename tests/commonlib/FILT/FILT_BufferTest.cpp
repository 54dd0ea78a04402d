#include "FILT/FILT_FilterBuffer.h"
#include "FILT/FILT_TupleBufferR.h"
#include "FILT/FILT_TupleBufferW.h"

#include <gtest/gtest.h>

#include <cstring>
#include <numeric>
#include <vector>

namespace
{

std::vector<uint8_t> Iota(std::size_t n, uint8_t first = 0)
{
    std::vector<uint8_t> bytes(n);
    std::iota(bytes.begin(), bytes.end(), first);
    return bytes;
}

} // namespace

TEST(FILT_FilterBuffer, CopyThroughMovesWhatFitsAndKeepsCounters)
{
    FILT_FilterBuffer a(10);
    FILT_FilterBuffer b(4);
    const auto bytes = Iota(7, 1);
    EXPECT_EQ(a.Write(bytes.data(), 7), 7u);
    EXPECT_EQ(a.DataAvailable(), 7u);
    EXPECT_EQ(a.SpaceRemaining(), 3u);
    EXPECT_EQ(a.BytesProduced(), 7u);

    EXPECT_EQ(a.CopyThrough(b), 4u);
    EXPECT_EQ(std::memcmp(b.ReadPosition(), bytes.data(), 4), 0);
    EXPECT_EQ(a.BytesConsumed(), 4u);
    EXPECT_EQ(a.BytesProduced(), 0u);
    EXPECT_EQ(b.BytesProduced(), 4u);
    EXPECT_TRUE(b.IsFull());
    EXPECT_EQ(a.CopyThrough(b), 0u);

    // Writing clears the consumed counter; reading clears the produced one.
    a.Write(bytes.data(), 1);
    EXPECT_EQ(a.BytesConsumed(), 0u);
    EXPECT_EQ(a.BytesProduced(), 1u);
}

TEST(FILT_FilterBuffer, ResetKeepsStreamPositionsAndClearsEndOfData)
{
    FILT_FilterBuffer buffer(8);
    const auto bytes = Iota(8);
    buffer.Write(bytes.data(), 6);
    uint8_t sink[8];
    buffer.Read(sink, 6);
    buffer.SetEndOfData();
    buffer.Reset();
    EXPECT_FALSE(buffer.EndOfData());
    EXPECT_EQ(buffer.StreamOffset(), 6u);
    EXPECT_EQ(buffer.ReadStreamPosition(), 6u);
    EXPECT_EQ(buffer.SpaceRemaining(), 8u);
    EXPECT_EQ(buffer.BytesConsumed(), 6u);
    buffer.Rewind();
    EXPECT_EQ(buffer.BytesConsumed(), 0u);
    EXPECT_EQ(buffer.StreamOffset(), 6u);

    // Positions are set by stream position, kept inside the store, and drag each other.
    buffer.SetWriteStreamPosition(10);
    EXPECT_EQ(buffer.DataAvailable(), 4u);
    buffer.SetReadStreamPosition(12);
    EXPECT_EQ(buffer.ReadStreamPosition(), 12u);
    EXPECT_EQ(buffer.WriteStreamPosition(), 12u);
    buffer.SetWriteStreamPosition(7);
    EXPECT_EQ(buffer.ReadStreamPosition(), 7u);
    buffer.SetReadStreamPosition(1000);
    EXPECT_EQ(buffer.ReadPosition(), buffer.StorageEnd());
    buffer.SetWriteStreamPosition(0);
    EXPECT_EQ(buffer.ReadPosition(), buffer.StorageStart());

    FILT_FilterBuffer empty(0);
    EXPECT_EQ(empty.StorageStart(), nullptr);
    EXPECT_TRUE(empty.IsFull());
    empty.Reset();
    EXPECT_EQ(empty.StreamOffset(), 0u);
}

TEST(FILT_FilterBuffer, OverCallerStoreOrOwnStore)
{
    uint8_t store[5] = {};
    FILT_FilterBuffer outside(store, 5, false);
    EXPECT_FALSE(outside.OwnsStorage());
    EXPECT_EQ(outside.StorageStart(), store);
    outside.Init(nullptr, 3, false); // no start: the buffer makes its own
    EXPECT_TRUE(outside.OwnsStorage());
    EXPECT_EQ(outside.Capacity(), 3u);
}

TEST(FILT_TupleBufferR, TupleSplitAcrossCallsIsStagedAndInPlaceOtherwise)
{
    FILT_TupleBufferR reader(4);
    FILT_FilterBuffer in(16);
    const auto bytes = Iota(16);

    in.Write(bytes.data(), 10); // two whole tuples and a half
    reader.Attach(in);
    ASSERT_EQ(reader.TuplesAvailable(), 2u);
    EXPECT_EQ(reader.CurrentTuple(), in.ReadPosition()); // no copy
    reader.Advance(2);
    // The two left-over bytes went into the staging store and the buffer was drained.
    EXPECT_EQ(reader.StagedCount(), 2u);
    EXPECT_EQ(in.DataAvailable(), 0u);
    EXPECT_EQ(reader.TuplesAvailable(), 0u);
    EXPECT_EQ(reader.CurrentTuple(), nullptr);

    in.Reset();
    in.Write(bytes.data() + 10, 6);
    reader.Attach(in);
    ASSERT_EQ(reader.TuplesAvailable(), 1u);
    EXPECT_EQ(std::vector<uint8_t>(reader.CurrentTuple(), reader.CurrentTuple() + 4),
              (std::vector<uint8_t>{8, 9, 10, 11}));
    reader.Advance(1);
    ASSERT_EQ(reader.TuplesAvailable(), 1u);
    EXPECT_EQ(reader.CurrentTuple()[0], 12);
    reader.Advance(1);
    EXPECT_EQ(reader.TuplesAvailable(), 0u);
    EXPECT_FALSE(reader.Attached());
}

TEST(FILT_TupleBufferR, PartialTailAtEndOfDataIsDroppedUnlessDelivered)
{
    const auto bytes = Iota(6);
    for (bool deliver : {false, true})
    {
        FILT_TupleBufferR reader(4);
        reader.SetDeliverPartial(deliver);
        FILT_FilterBuffer in(8);
        in.Write(bytes.data(), 6);
        in.SetEndOfData();
        reader.Attach(in);
        ASSERT_EQ(reader.TuplesAvailable(), 1u);
        reader.Advance(1);
        EXPECT_TRUE(reader.EndOfDataSeen());
        EXPECT_EQ(reader.StagedCount(), 2u);
        EXPECT_EQ(reader.TuplesAvailable(), 0u);
        if (deliver)
        {
            EXPECT_FALSE(reader.Finished());
            ASSERT_NE(reader.CurrentTuple(), nullptr);
            EXPECT_EQ(reader.CurrentTuple()[1], 5);
            reader.Advance(1);
            EXPECT_EQ(reader.StagedCount(), 0u);
        }
        else
        {
            EXPECT_TRUE(reader.Finished());
            EXPECT_EQ(reader.CurrentTuple(), nullptr);
        }
    }
}

TEST(FILT_TupleBufferR, AdvanceNeverPassesTheData)
{
    FILT_TupleBufferR reader(3);
    FILT_FilterBuffer in(9);
    const auto bytes = Iota(9);
    in.Write(bytes.data(), 9);
    reader.Attach(in);
    reader.Advance(100);
    EXPECT_EQ(in.DataAvailable(), 0u);
    EXPECT_LE(in.ReadPosition(), in.WritePosition());
    reader.Resize(0);
    EXPECT_EQ(reader.TupleSize(), 1u);
}

TEST(FILT_TupleBufferW, TupleThatDoesNotFitIsSplitAndPendingBytesGoFirst)
{
    FILT_TupleBufferW writer(8);
    FILT_FilterBuffer small(3);
    writer.Attach(small);
    ASSERT_EQ(writer.TuplesSpace(), 1u);
    uint8_t* tuple = writer.NextTuple();
    ASSERT_NE(tuple, small.WritePosition()); // staged
    const auto bytes = Iota(8, 1);
    std::memcpy(tuple, bytes.data(), 8);
    writer.Commit(1);
    EXPECT_EQ(small.DataAvailable(), 3u);
    EXPECT_EQ(writer.PendingCount(), 5u);
    EXPECT_EQ(writer.TuplesSpace(), 0u);

    FILT_FilterBuffer big(10);
    writer.Attach(big);
    EXPECT_EQ(writer.PendingCount(), 0u);
    ASSERT_EQ(big.DataAvailable(), 5u);
    EXPECT_EQ(std::memcmp(big.ReadPosition(), bytes.data() + 3, 5), 0);
    // Five bytes of room left: the next tuple is staged again.
    EXPECT_EQ(writer.TuplesSpace(), 1u);

    FILT_FilterBuffer roomy(16);
    writer.Attach(roomy);
    EXPECT_EQ(writer.TuplesSpace(), 2u);
    EXPECT_EQ(writer.NextTuple(), roomy.WritePosition()); // in place
    writer.Commit(5);                                     // never past the room
    EXPECT_EQ(roomy.DataAvailable(), 16u);
}

TEST(FILT_TupleBufferW, EndOfDataWaitsForPendingBytes)
{
    FILT_TupleBufferW writer(4);
    FILT_FilterBuffer first(2);
    writer.Attach(first);
    std::memset(writer.NextTuple(), 7, 4);
    writer.Commit(1);
    writer.SetEndOfData();
    EXPECT_FALSE(first.EndOfData());
    EXPECT_TRUE(writer.Closed());
    EXPECT_EQ(writer.TuplesSpace(), 0u);
    EXPECT_EQ(writer.NextTuple(), nullptr);

    FILT_FilterBuffer second(1);
    writer.Attach(second);
    EXPECT_FALSE(second.EndOfData());
    FILT_FilterBuffer third(4);
    writer.Attach(third);
    EXPECT_EQ(third.DataAvailable(), 1u);
    EXPECT_TRUE(third.EndOfData());
}
