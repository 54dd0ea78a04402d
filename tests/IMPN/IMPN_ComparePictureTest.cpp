// The comparison picture a job window shows: the surface renderer draws it in place of the
// surface's own at every zoom level, ink both versions print faded, added and removed pixels in
// their own colours, hidden inks left out; the counts and regions follow the visible inks; and
// the other version's files are open only while the comparison is begun.

#include "IMPN_TreeTestFiles.h"

#include "GFIL/GFIL_FileSpec.h"
#include "IMPN/IMPN_InkMixing.h"
#include "IMPN/IMPN_Registry.h"
#include "IMPN/IMPN_SheetComparison.h"
#include "IMPN/IMPN_SurfaceRenderer.h"
#include "IMPN/IMPN_WorkerPool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace
{
using Rule = std::function<bool(std::uint32_t, std::uint32_t)>;
using Bgr = std::array<std::uint8_t, 3>;

std::size_t OpenDescriptors()
{
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++n;
    return n;
}

class ComparePictureTest : public ::testing::Test
{
protected:
    static IMPN_TestPreview Ink(const std::string& name, std::uint16_t code, const Rule& rule)
    {
        IMPN_TestPreview p;
        p.colorName = name;
        p.color = code == 0 ? std::optional<std::uint16_t>() : std::optional<std::uint16_t>(code);
        p.options.compression = TIFX_KRNWriterOptions::Compression::CCITTGroup4;
        p.fill = IMPN_TestFill(rule);
        return p;
    }

    void SetUp() override
    {
        // Cyan: the left third in both versions; the new one adds the top of the right third,
        // the old one had its bottom instead. Black is the same in both; Gold is only old.
        const Rule newCyan = [](std::uint32_t x, std::uint32_t y)
        { return x < 200 || (x >= 400 && y < 100); };
        const Rule oldCyan = [](std::uint32_t x, std::uint32_t y)
        { return x < 200 || (x >= 400 && y >= 300); };
        const Rule black = [](std::uint32_t x, std::uint32_t y) { return x < 100 && y >= 380; };
        const Rule gold = [](std::uint32_t x, std::uint32_t y)
        { return x >= 250 && x < 260 && y >= 150 && y < 160; };
        for (const auto& [name, p] : {std::pair{"n0.tif", Ink("Cyan", 1, newCyan)},
                                      std::pair{"n1.tif", Ink("Black", 4, black)}})
            m_New.AddFiles({GFIL_FileSpec(m_Folder.Write(name, p))}, false);
        for (const auto& [name, p] : {std::pair{"o0.tif", Ink("Cyan", 1, oldCyan)},
                                      std::pair{"o1.tif", Ink("Black", 4, black)},
                                      std::pair{"o2.tif", Ink("Gold", 0, gold)}})
            m_Other->AddFiles({GFIL_FileSpec(m_Folder.Write(name, p))}, false);
        std::vector<IMPN_Sheet*> sheets;
        m_New.CollectSheets(sheets);
        ASSERT_EQ(sheets.size(), 1u);
        m_Sheet = IMPN_SheetReference(sheets[0]);
        m_Sheet->Prepare();
        m_Surface = &m_Sheet->GetFrontSurface();
        m_Cyan = m_Surface->GetSeparation(0);
        const Bgr colours[2] = {IMPN_MakeColorBGR(0, 255, 255), IMPN_MakeColorBGR(0, 0, 0)};
        for (std::size_t k = 0; k < 2; ++k)
        {
            IMPN_ColorRecord record = m_Surface->GetSeparation(k)->GetCurrentColor();
            record.color = colours[k];
            m_Surface->GetSeparation(k)->SetCurrentColor(record);
        }
    }

    Bgr PixelAt(int level, std::int32_t x, std::int32_t y)
    {
        IMPN_SurfaceRenderer& renderer = *m_Surface->GetRenderer();
        const IMPN_RenderLevel& l = renderer.GetLevel(level);
        const std::int32_t left = x / l.tileWidth * l.tileWidth,
                           top = y / l.tileHeight * l.tileHeight;
        const IMPN_RenderTile* tile =
            renderer.GetTile(top, left, level, m_Surface->GetLatestChange());
        Bgr p{};
        tile->CopyRow(y - top, x - left, 1, p.data());
        return p;
    }

    // An ink at the comparison's share of its opacity over white paper.
    Bgr Faded(Bgr colour) const
    {
        Bgr ink{}, pixel{255, 255, 255};
        const std::uint8_t white[3] = {255, 255, 255};
        IMPN_InkMixing::InkAtPercentage(colour.data(), white, m_Look.unchangedPercent, ink.data());
        IMPN_InkMixing::MixOver(ink.data(), pixel.data());
        return pixel;
    }

    void CountAll(IMPN_SheetComparison& comparison)
    {
        for (std::size_t task : comparison.TaskOrder(0))
        {
            comparison.RunTask(task, nullptr, nullptr);
            comparison.FinishTask(task);
        }
    }

    static std::vector<std::string> Boxes(const std::vector<IMPN_Rect>& regions)
    {
        std::vector<std::string> out;
        for (const IMPN_Rect& r : regions)
            out.push_back(std::to_string(r.top) + "," + std::to_string(r.left) + "," +
                          std::to_string(r.width) + "," + std::to_string(r.height));
        return out;
    }

    IMPN_TestFolder m_Folder;
    IMPN_Registry m_New;
    std::unique_ptr<IMPN_Registry> m_Other = std::make_unique<IMPN_Registry>();
    IMPN_SheetReference m_Sheet;
    IMPN_Surface* m_Surface = nullptr;
    IMPN_Separation* m_Cyan = nullptr;
    IMPN_CompareLook m_Look;
};
} // namespace

TEST_F(ComparePictureTest, ThePictureShowsUnchangedInkFadedAndChangesInTheirColoursAtEveryLevel)
{
    IMPN_SurfaceRenderer* own = m_Surface->GetRenderer();
    const std::size_t descriptors = OpenDescriptors();
    {
        IMPN_SheetComparison comparison(*m_Sheet, std::move(m_Other), m_Look);
        ASSERT_NE(comparison.GetOtherSheet(), nullptr);
        ASSERT_TRUE(comparison.Begin(2));
        EXPECT_EQ(m_Surface->GetRenderer(), own);
        comparison.ShowPictures();
        ASSERT_NE(m_Surface->GetRenderer(), own);

        const Bgr white{255, 255, 255};
        const Bgr cyan = IMPN_MakeColorBGR(0, 255, 255);
        Bgr both = Faded(cyan);
        const Bgr black = Faded({0, 0, 0});
        IMPN_InkMixing::MixOver(black.data(), both.data());
        EXPECT_EQ(PixelAt(3, 50, 50), Faded(cyan));
        EXPECT_EQ(PixelAt(3, 50, 390), both);
        EXPECT_EQ(PixelAt(3, 450, 50), m_Look.added);
        EXPECT_EQ(PixelAt(3, 450, 350), m_Look.removed);
        EXPECT_EQ(PixelAt(3, 255, 155), m_Look.removed); // Gold, of the old version alone
        EXPECT_EQ(PixelAt(3, 300, 200), white);
        EXPECT_EQ(PixelAt(1, 4 * 450, 4 * 50), m_Look.added); // 4:1
        EXPECT_EQ(PixelAt(6, 450 / 8, 50 / 8), m_Look.added); // 1:8, fully added cells
        EXPECT_NE(PixelAt(9, 450 / 64, 350 / 64), white);     // 1:64 keeps a trace

        // A hidden ink leaves the picture; an ink of the old version alone has nothing to hide.
        m_Cyan->SetVisible(false);
        EXPECT_EQ(PixelAt(3, 50, 50), white);
        EXPECT_EQ(PixelAt(3, 450, 50), white);
        EXPECT_EQ(PixelAt(3, 450, 350), white);
        EXPECT_EQ(PixelAt(3, 255, 155), m_Look.removed);
        m_Cyan->SetVisible(true);
        EXPECT_EQ(PixelAt(3, 450, 50), m_Look.added);

        // New colours reach the tiles and the palette already made.
        m_Look.added = IMPN_MakeColorBGR(200, 0, 200);
        comparison.LookChanged();
        EXPECT_EQ(PixelAt(3, 450, 50), m_Look.added);
        EXPECT_GT(OpenDescriptors(), descriptors);
    }
    EXPECT_EQ(m_Surface->GetRenderer(), own);
    EXPECT_EQ(OpenDescriptors(), descriptors);
}

TEST_F(ComparePictureTest, CountsAndRegionsFollowTheVisibleInksOnceTheirTasksAreFinished)
{
    IMPN_SheetComparison comparison(*m_Sheet, std::move(m_Other), m_Look);
    ASSERT_TRUE(comparison.Begin(1));
    IMPN_SheetComparison::Summary before = comparison.Summarize(0);
    EXPECT_EQ(before.inks, 3u);
    EXPECT_EQ(before.pending, 3u);
    EXPECT_EQ(before.oneVersionOnly, 1u);
    EXPECT_TRUE(before.regions.empty());

    CountAll(comparison);
    const IMPN_SheetComparison::Summary all = comparison.Summarize(0);
    EXPECT_EQ(all.pending, 0u);
    EXPECT_EQ(all.added, 200u * 100u);
    EXPECT_EQ(all.removed, 200u * 100u + 10u * 10u);
    EXPECT_EQ(Boxes(all.regions),
              (std::vector<std::string>{"0,384,216,128", "128,192,128,64", "256,384,216,144"}));

    m_Cyan->SetVisible(false);
    const IMPN_SheetComparison::Summary gold = comparison.Summarize(0);
    EXPECT_EQ(gold.added, 0u);
    EXPECT_EQ(gold.removed, 100u);
    EXPECT_EQ(Boxes(gold.regions), std::vector<std::string>{"128,192,128,64"});
    // The back has no inks in either version.
    EXPECT_EQ(comparison.Summarize(1).inks, 0u);
}

TEST_F(ComparePictureTest, AnOtherVersionWithoutTheSheetIsNotBegun)
{
    IMPN_TestPreview p = Ink("Cyan", 1, [](std::uint32_t, std::uint32_t) { return false; });
    p.signature = 2;
    auto other = std::make_unique<IMPN_Registry>();
    other->AddFiles({GFIL_FileSpec(m_Folder.Write("s2.tif", p))}, false);
    IMPN_SurfaceRenderer* own = m_Surface->GetRenderer();
    IMPN_SheetComparison comparison(*m_Sheet, std::move(other), m_Look);
    EXPECT_EQ(comparison.GetOtherSheet(), nullptr);
    EXPECT_FALSE(comparison.Begin(1));
    EXPECT_EQ(m_Surface->GetRenderer(), own);
}

// The comparison picture's tiles made on a pool's workers, through readers of their own, are the
// ones the owner makes alone, at 1:1 and at 1:8.
TEST_F(ComparePictureTest, ThePictureIsTheSameWhateverTheNumberOfThreads)
{
    std::vector<std::uint8_t> alone[2], pooled[2];
    const int levels[2] = {3, 6};
    const auto picture = [&](int level)
    {
        IMPN_SurfaceRenderer& renderer = *m_Surface->GetRenderer();
        const IMPN_RenderLevel& l = renderer.GetLevel(level);
        std::vector<std::uint8_t> pixels(std::size_t(l.width) * l.height * 3);
        for (std::int32_t y = 0; y < l.height; ++y)
            for (std::int32_t x = 0; x < l.width; x += l.tileWidth)
            {
                const IMPN_RenderTile* tile = renderer.GetTile(y / l.tileHeight * l.tileHeight, x,
                                                               level, m_Surface->GetLatestChange());
                tile->CopyRow(y - tile->top, 0, std::min(l.tileWidth, l.width - x),
                              pixels.data() + (std::size_t(y) * l.width + x) * 3);
            }
        return pixels;
    };
    {
        IMPN_SheetComparison comparison(*m_Sheet, std::move(m_Other), m_Look);
        ASSERT_TRUE(comparison.Begin(1));
        comparison.ShowPictures();
        for (int i = 0; i < 2; ++i)
            alone[i] = picture(levels[i]);
    }
    auto other = std::make_unique<IMPN_Registry>();
    for (const char* name : {"o0.tif", "o1.tif", "o2.tif"})
        other->AddFiles({GFIL_FileSpec((m_Folder.Path() / name).string())}, false);
    IMPN_SheetComparison comparison(*m_Sheet, std::move(other), m_Look);
    ASSERT_TRUE(comparison.Begin(2));
    comparison.ShowPictures();
    IMPN_WorkerPool pool(2);
    for (int i = 0; i < 2; ++i)
    {
        IMPN_SurfaceRenderer& renderer = *m_Surface->GetRenderer();
        const IMPN_RenderLevel& l = renderer.GetLevel(levels[i]);
        std::vector<IMPN_SurfaceRenderer::Position> positions;
        for (std::int32_t y = 0; y < l.height; y += l.tileHeight)
            for (std::int32_t x = 0; x < l.width; x += l.tileWidth)
                positions.push_back({y, x});
        renderer.MakeTiles(positions, levels[i], m_Surface->GetLatestChange(), &pool);
        pooled[i] = picture(levels[i]);
        EXPECT_EQ(pooled[i], alone[i]) << "level " << levels[i];
    }
}
