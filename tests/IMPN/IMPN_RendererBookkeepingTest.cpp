// What a surface renderer keeps grows with the tiles asked for, never with the picture a file
// declares: a picture 16,777,216 pixels wide costs no more to look at in one place than a small
// one, and shows the same pixels there.

#include "IMPN/IMPN_ChangeCounter.h"
#include "IMPN/IMPN_SurfaceRenderer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace
{
// Every 512 x 512 tile holds the same screen, made on each read instead of being held, so that a
// huge declared picture costs the test nothing.
class RepeatedTileInk : public IMPN_RenderInk
{
public:
    RepeatedTileInk(std::uint32_t width, std::uint32_t length) : m_Width(width), m_Length(length)
    {
        m_Tile.assign(64 * 512, 0);
        for (std::uint32_t y = 0; y < 512; ++y)
            for (std::uint32_t x = 0; x < 512; ++x)
                if ((x + 3 * y) % 29 < 11)
                    m_Tile[y * 64 + x / 8] |= std::uint8_t(0x80u >> (x % 8));
    }

    bool GetImageInfo(std::uint32_t& w, std::uint32_t& l, std::uint32_t& tw,
                      std::uint32_t& tl) override
    {
        w = m_Width;
        l = m_Length;
        tw = tl = 512;
        return true;
    }
    std::int64_t ReadTile(std::uint8_t* buffer, std::size_t size, std::uint32_t x,
                          std::uint32_t y) override
    {
        if (x >= m_Width || y >= m_Length || size < m_Tile.size())
            return -1;
        ++reads;
        std::memcpy(buffer, m_Tile.data(), m_Tile.size());
        return std::int64_t(m_Tile.size());
    }
    int GetTileClass(std::uint32_t x, std::uint32_t y) override
    {
        return x < m_Width && y < m_Length ? 4 : 128;
    }
    bool IsVisible() const override { return true; }
    void GetInk(std::uint8_t c[3], std::uint8_t bg[3], unsigned& op) const override
    {
        c[0] = 200;
        c[1] = 40;
        c[2] = 10;
        std::memset(bg, 255, 3);
        op = 100;
    }

    int reads = 0;

private:
    std::uint32_t m_Width, m_Length;
    std::vector<std::uint8_t> m_Tile;
};

struct Surface
{
    std::uint8_t paper[3] = {255, 255, 255};
    RepeatedTileInk* ink = nullptr;
    std::unique_ptr<IMPN_SurfaceRenderer> renderer;

    Surface(std::uint32_t width, std::uint32_t length)
    {
        std::vector<std::unique_ptr<IMPN_RenderInk>> inks;
        auto owned = std::make_unique<RepeatedTileInk>(width, length);
        ink = owned.get();
        inks.push_back(std::move(owned));
        renderer = std::make_unique<IMPN_SurfaceRenderer>(std::move(inks), paper);
    }
};

std::vector<std::uint8_t> Pixels(const IMPN_RenderTile* tile)
{
    std::vector<std::uint8_t> out(std::size_t(tile->width) * tile->height * 3);
    for (std::int32_t y = 0; y < tile->height; ++y)
        tile->CopyRow(y, 0, tile->width, out.data() + std::size_t(y) * tile->width * 3);
    return out;
}

TEST(RendererBookkeeping, HugeDeclaredPictureKeepsOnlyTheTilesVisited)
{
    Surface huge(16777216, 512);
    EXPECT_EQ(huge.renderer->GetTileRecordCount(), 0u);
    ASSERT_EQ(huge.renderer->GetLevel(3).tilesAcross, 32768);

    const std::uint32_t stamp = IMPN_ChangeCounter::Next();
    // One tile at 1:1 far to the right, one magnified from it, one at 1:512 made through the
    // pyramid from every level down to 1:8.
    ASSERT_NE(huge.renderer->GetTile(0, 512 * 20000, 3, stamp), nullptr);
    EXPECT_EQ(huge.renderer->GetTileRecordCount(), 1u);
    ASSERT_NE(huge.renderer->GetTile(0, 8 * 512 * 20000, 0, stamp), nullptr);
    EXPECT_EQ(huge.renderer->GetTileRecordCount(), 2u);
    ASSERT_NE(huge.renderer->GetTile(0, 64 * 100, 12, stamp), nullptr);
    // 64 tiles at 1:8 stand behind one 1:512 tile, and half as many at each level below.
    EXPECT_LE(huge.renderer->GetTileRecordCount(), 2u + 64 + 32 + 16 + 8 + 4 + 2 + 1);
    EXPECT_LE(huge.ink->reads, 1 + 64 * 8);

    huge.renderer->ReleaseTiles();
    EXPECT_EQ(huge.renderer->GetTileRecordCount(), 0u);
    EXPECT_EQ(huge.renderer->GetCachedBytes(), 0u);
}

TEST(RendererBookkeeping, TilesOfAHugePictureMatchTheSameContentInASmallOne)
{
    // Every source tile holds the same screen, so any tile away from the huge picture's edges
    // shows what the first tile of a small one does: at 1:1 and 1:4 one source tile, at 1:32
    // four (the whole width of the small picture).
    Surface huge(16777216, 512);
    Surface small(2048, 512);
    const std::uint32_t stamp = IMPN_ChangeCounter::Next();
    for (int level : {3, 5, 8})
    {
        const IMPN_RenderTile* far = huge.renderer->GetTile(0, 64 * 4000, level, stamp);
        const IMPN_RenderTile* near = small.renderer->GetTile(0, 0, level, stamp);
        ASSERT_NE(far, nullptr);
        ASSERT_NE(near, nullptr);
        ASSERT_EQ(far->width, near->width) << level;
        EXPECT_EQ(Pixels(far), Pixels(near)) << level;
    }
}
} // namespace
