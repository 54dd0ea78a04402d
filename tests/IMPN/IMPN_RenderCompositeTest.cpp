#include "IMPN/IMPN_RenderComposite.h"
#include "IMPN/IMPN_ChangeCounter.h"
#include "IMPN/IMPN_SurfaceRenderer.h"
#include "IMPN_RenderTestInk.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
// Two inks over a tinted paper, 700 x 600 pixels: two tile columns and rows at 1:1.
struct Surface
{
    std::uint8_t paper[3] = {230, 240, 250};
    std::unique_ptr<IMPN_SurfaceRenderer> renderer;
    Surface()
    {
        std::vector<std::unique_ptr<IMPN_RenderInk>> inks;
        inks.push_back(std::make_unique<IMPN_RenderTestInk>(
            700, 600, [](std::uint32_t x, std::uint32_t y) { return (x ^ y) % 3 == 0; }));
        auto second = std::make_unique<IMPN_RenderTestInk>(
            700, 600, [](std::uint32_t x, std::uint32_t) { return x > 400; });
        second->colour[0] = 255;
        inks.push_back(std::move(second));
        renderer = std::make_unique<IMPN_SurfaceRenderer>(std::move(inks), paper);
    }
};
} // namespace

// A rectangle reaching past the picture on every side: white outside, and inside exactly the
// pixels of the tiles, across tile borders.
TEST(RenderComposite, RectangleAcrossTilesAndPastThePictureEdges)
{
    Surface s;
    const std::uint32_t stamp = IMPN_ChangeCounter::Next();
    for (int level : {3, 5})
    {
        const IMPN_RenderLevel& l = s.renderer->GetLevel(level);
        const std::int32_t top = -3, left = -5, width = l.width + 9, height = l.height + 7;
        std::vector<std::uint8_t> out(std::size_t(width) * height * 3, 7);
        ASSERT_TRUE(IMPN_RenderComposite::Compose(*s.renderer, level, stamp, top, left, width,
                                                  height, out.data(), std::size_t(width) * 3));
        for (std::int32_t y = 0; y < height; ++y)
            for (std::int32_t x = 0; x < width; ++x)
            {
                const std::int32_t lx = x + left, ly = y + top;
                std::uint8_t expected[3] = {255, 255, 255};
                if (lx >= 0 && ly >= 0 && lx < l.width && ly < l.height)
                {
                    const IMPN_RenderTile* t = s.renderer->GetTile(ly, lx, level, stamp);
                    ASSERT_NE(t, nullptr);
                    t->CopyRow(ly - t->top, lx - t->left, 1, expected);
                }
                const std::uint8_t* p = out.data() + (std::size_t(y) * width + x) * 3;
                ASSERT_TRUE(p[0] == expected[0] && p[1] == expected[1] && p[2] == expected[2])
                    << "level " << level << " at " << lx << "," << ly;
            }
    }
    std::uint8_t pixel[3];
    EXPECT_FALSE(IMPN_RenderComposite::Compose(*s.renderer, 13, stamp, 0, 0, 1, 1, pixel, 3));
    EXPECT_FALSE(IMPN_RenderComposite::Compose(*s.renderer, 3, stamp, 0, 0, -1, 1, pixel, 3));
}
