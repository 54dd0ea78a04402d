// The renderer on preview files written to disk and placed through the registry, as the viewer
// opens them: the surface creates its renderer when prepared, tiles come from decoded one-bit
// tiles and the separations' tile classes, and changes of the separations reach the tiles.

#include "IMPN_TreeTestFiles.h"

#include "IMPN/IMPN_InkMixing.h"
#include "IMPN/IMPN_Registry.h"
#include "IMPN/IMPN_RenderComposite.h"
#include "IMPN/IMPN_SeparationInk.h"
#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_SheetReference.h"
#include "IMPN/IMPN_SurfaceRenderer.h"
#include "IMPN/IMPN_WorkerPool.h"
#include "TIFX/TIFX_KRNFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

namespace
{
using Bgr = std::array<std::uint8_t, 3>;

Bgr Pixel(const IMPN_RenderTile* tile, std::int32_t x, std::int32_t y)
{
    Bgr p{};
    tile->CopyRow(y, x, 1, p.data());
    return p;
}

class SurfaceRendererFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        IMPN_TestPreview p;
        p.colorName = "Black";
        p.color = 4;
        p.width = 1100;
        p.height = 600;
        // Tile (0, 0) solid, tile (1, 0) every other pixel, the rest blank.
        p.fill = [](std::uint32_t x0, std::uint32_t y) -> std::uint8_t
        {
            if (y >= 512)
                return 0;
            return x0 < 512 ? 0xFF : x0 < 1024 ? 0xAA : 0x00;
        };
        p.options.compression = TIFX_KRNWriterOptions::Compression::CCITTGroup4;
        TIFX_KRNFile file(m_Folder.Write("black.tif", p));
        file.Open();
        ASSERT_TRUE(file.IsValidPreviewFile());
        m_Registry.AddFile(file);
        std::vector<IMPN_Sheet*> sheets;
        m_Registry.CollectSheets(sheets);
        ASSERT_EQ(sheets.size(), 1u);
        m_Sheet = IMPN_SheetReference(sheets[0]);
        m_Sheet->Prepare();
        m_Surface = &m_Sheet->GetFrontSurface();
        m_Black = m_Surface->GetSeparation(0);
        IMPN_ColorRecord black = m_Black->GetCurrentColor();
        black.color = {0, 0, 0};
        m_Black->SetCurrentColor(black);
    }

    IMPN_SurfaceRenderer& Renderer() { return *m_Surface->GetRenderer(); }
    const IMPN_RenderTile* Tile(int level, std::int32_t top, std::int32_t left)
    {
        return Renderer().GetTile(top, left, level, m_Surface->GetLatestChange());
    }

    IMPN_TestFolder m_Folder;
    IMPN_Registry m_Registry;
    IMPN_SheetReference m_Sheet;
    IMPN_Surface* m_Surface = nullptr;
    IMPN_Separation* m_Black = nullptr;
};
} // namespace

TEST_F(SurfaceRendererFileTest, PreparedSurfaceRendersItsFileAtEveryKindOfLevel)
{
    ASSERT_NE(m_Surface->GetRenderer(), nullptr);
    EXPECT_EQ(Renderer().GetLevel(3).width, 1100);
    EXPECT_EQ(Renderer().GetLevel(6).width, 138); // 137.5 to the even neighbour

    const IMPN_RenderTile* solid = Tile(5, 0, 0);
    EXPECT_EQ(solid->kind, IMPN_TileKind::UniformColour);
    EXPECT_EQ(Pixel(solid, 3, 3), (Bgr{0, 0, 0}));
    EXPECT_EQ(m_Black->GetTileClass(0, 0), IMPN_Separation::TileSolid);

    const IMPN_RenderTile* screen = Tile(3, 0, 512);
    ASSERT_EQ(screen->kind, IMPN_TileKind::Indexed);
    EXPECT_EQ(Pixel(screen, 0, 0), (Bgr{0, 0, 0}));
    EXPECT_EQ(Pixel(screen, 1, 0), (Bgr{255, 255, 255}));

    // Half of every 8 x 8 cell inked: coverage 127, black at 49 %.
    const IMPN_RenderTile* grey = Tile(6, 0, 64);
    const std::uint8_t value = std::uint8_t(255 * (100 - 100 * 127 / 255) / 100);
    EXPECT_EQ(Pixel(grey, 0, 0), (Bgr{value, value, value}));
    // The last tile column: 138 - 128 = 10 pixels inside, white beyond; blank inside.
    const IMPN_RenderTile* last = Tile(6, 0, 128);
    EXPECT_EQ(Pixel(last, 9, 0), (Bgr{255, 255, 255}));
    m_Surface->SetPaperColor(0, 128, 255);
    m_Black->SetOpacity(100); // a new stamp, so the colour tiles are remade on the new paper
    last = Tile(6, 0, 128);
    EXPECT_EQ(Pixel(last, 9, 0), (Bgr{0, 128, 255}));
    EXPECT_EQ(Pixel(last, 10, 0), (Bgr{255, 255, 255}));
    EXPECT_EQ(Pixel(Tile(6, 64, 0), 0, 0), (Bgr{0, 128, 255}));
}

TEST_F(SurfaceRendererFileTest, HidingTheInkAtOneToOneRebuildsOnlyThePalette)
{
    const IMPN_RenderTile* screen = Tile(3, 0, 512);
    const IMPN_RenderTile* magnified = Tile(1, 0, 2048);
    const std::uint32_t stamps[2] = {screen->stamp, magnified->stamp};
    EXPECT_EQ(Pixel(magnified, 0, 0), (Bgr{0, 0, 0}));
    EXPECT_EQ(Pixel(magnified, 4, 0), (Bgr{255, 255, 255}));

    m_Black->SetVisible(false);
    EXPECT_EQ(Tile(3, 0, 512), screen);
    EXPECT_EQ(Tile(1, 0, 2048), magnified);
    EXPECT_EQ(screen->stamp, stamps[0]);
    EXPECT_EQ(magnified->stamp, stamps[1]);
    EXPECT_GT(Renderer().GetPalette().Stamp(), m_Black->GetChangeStamp());
    EXPECT_EQ(Pixel(screen, 0, 0), (Bgr{255, 255, 255}));
    EXPECT_EQ(Pixel(magnified, 0, 0), (Bgr{255, 255, 255}));

    // Colour tiles below 1:1 follow the change too.
    EXPECT_EQ(Pixel(Tile(4, 0, 0), 0, 0), (Bgr{255, 255, 255}));
}

// Workers read the files through handles of their own: every level equals the single-threaded
// picture, and the classes they found reach the separation.
TEST_F(SurfaceRendererFileTest, WorkersReadingTheFilesMakeTheSamePictureAtEveryLevel)
{
    IMPN_WorkerPool pool(2);
    const std::uint32_t stamp = m_Surface->GetLatestChange();
    auto threaded = IMPN_SeparationInk::CreateRenderer(m_Surface->GetSeparations(),
                                                       m_Surface->PaperColor().data());
    EXPECT_EQ(m_Black->GetTileClass(0, 0), IMPN_Separation::TileUnknown);
    for (int level = IMPN_RenderLevel::kLevelCount - 1; level >= 0; --level)
    {
        const IMPN_RenderLevel& l = Renderer().GetLevel(level);
        const std::int32_t w = std::min(l.width, 1200), h = std::min(l.height, 700);
        std::vector<std::uint8_t> expected(std::size_t(w) * h * 3), got(expected.size());
        IMPN_RenderComposite::Compose(*threaded, level, stamp, 0, 0, w, h, got.data(),
                                      std::size_t(w) * 3, {}, &pool);
        if (level == IMPN_RenderLevel::kLevelCount - 1)
        {
            EXPECT_EQ(m_Black->GetTileClass(0, 0), IMPN_Separation::TileSolid);
        }
        IMPN_RenderComposite::Compose(Renderer(), level, stamp, 0, 0, w, h, expected.data(),
                                      std::size_t(w) * 3);
        EXPECT_TRUE(got == expected) << "level " << level;
    }
}
