#include "GFIL/GFIL_ReadBuffer.h"
#include "GFIL/GFIL_Constants.h"
#include "GFIL_TestSupport.h"

#include <utility>

namespace
{
TEST(ReadBuffer, DataRangeMustLieInsideTheStorage)
{
    GFIL_ReadBuffer buffer(8);
    buffer.SetData(3, 5);
    EXPECT_EQ(buffer.Data(), buffer.Storage() + 3);
    EXPECT_EQ(buffer.Count(), 5u);
    EXPECT_FILE_ERROR(buffer.SetData(4, 5), GFIL_ERR_OTHER,
                      "The data range 4+5 does not fit a buffer of 8 bytes");
    // Sums that wrap in 32 bits are still refused.
    EXPECT_FILE_ERROR(buffer.SetData(0xFFFFFFFFu, 2), GFIL_ERR_OTHER,
                      "The data range 4294967295+2 does not fit a buffer of 8 bytes");
    EXPECT_EQ(buffer.DataOffset(), 3u);
    EXPECT_EQ(buffer.Count(), 5u);
}

TEST(ReadBuffer, MovingHandsOverTheStorage)
{
    GFIL_ReadBuffer source(16);
    source.SetData(1, 2);
    source.SetEndOfFile(true);
    std::uint8_t* storage = source.Storage();

    GFIL_ReadBuffer target = std::move(source);
    EXPECT_FALSE(source.HasStorage());
    EXPECT_EQ(source.Capacity(), 0u);
    EXPECT_EQ(target.Storage(), storage);
    EXPECT_EQ(target.Count(), 2u);
    EXPECT_TRUE(target.IsEndOfFile());

    GFIL_ReadBuffer other(4);
    other = std::move(target);
    EXPECT_EQ(other.Storage(), storage);
    EXPECT_EQ(other.Capacity(), 16u);

    other.Release();
    EXPECT_FALSE(other.HasStorage());
    EXPECT_EQ(other.Data(), nullptr);
    EXPECT_EQ(other.Count(), 0u);
    EXPECT_FALSE(other.IsEndOfFile());
}
} // namespace
