// The sheet view's pictures, checked on its canvas: tile kinds and blending, the mirrored surface
// underneath, the imposition overlays, progressive painting and the pause at 1:1.

#include "WKRN_SheetViewTestSheets.h"
#include "WKRN_TestSupport.h"

#include "IMPN/IMPN_RenderTile.h"
#include "IMPN/IMPN_Sheet.h"
#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/preferences/WKRN_Preferences.h"
#include "WKRN/sheet/WKRN_CanvasTarget.h"
#include "WKRN/sheet/WKRN_OverlayPainter.h"
#include "WKRN/sheet/WKRN_SheetView.h"

#include <QImage>
#include <QPainter>
#include <QTest>
#include <ostream>

#include <gtest/gtest.h>

#include <cstring>

namespace
{
QColor ColorOf(const WKRN_ColorBytes& bytes)
{
    return QColor(bytes.red, bytes.green, bytes.blue);
}

class SheetViewDrawTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WKRN_Preferences::Current() = WKRN_PreferenceValues{};
        m_View.SetTilePause({});
        m_View.SetNoticeReceiver(&m_Notices);
        m_View.resize(1000, 800);
        m_View.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_View));
    }

    // Paints what is invalid and waits for progressive painting to finish.
    void Settle()
    {
        m_View.viewport()->repaint();
        ASSERT_TRUE(QTest::qWaitFor([this] { return !m_View.IsPaintingTimerActive(); }, 5000));
        WKRN_ProcessEvents();
    }

    QColor Pixel(int x, int y) const { return m_View.Canvas().pixelColor(x, y); }

    // Shows the sheet at a level with backup offsets of the plates (none), front facing.
    void Show(IMPN_SheetReference& sheet, int level)
    {
        m_View.SetSheet(sheet.Get());
        m_View.SetBackupMode(IMPN_SheetView::BackupPlates);
        m_View.ZoomToLevel(level, true);
        m_View.ScrollTo(0, 0, true);
        Settle();
    }

    WKRN_PreferencesGuard m_Preferences;
    WKRN_TestSheets m_Sheets;
    WKRN_NoticeRecorder m_Notices;
    WKRN_SheetView m_View;
};

bool LeftHalf(std::uint32_t x, std::uint32_t)
{
    return x < 400;
}

TEST_F(SheetViewDrawTest, BlackInkAtFullOpacityPaintsBlackAtOnceAndProgressively)
{
    WKRN_TestSheetSpec spec;
    spec.surfaces[0].fill = LeftHalf;
    IMPN_SheetReference sheet = m_Sheets.Make(spec);

    Show(sheet, 3); // 1:1, drawn at once
    EXPECT_EQ(Pixel(10, 300), QColor(Qt::black));
    EXPECT_EQ(Pixel(399, 300), QColor(Qt::black));
    EXPECT_EQ(Pixel(400, 300), QColor(Qt::white));
    EXPECT_EQ(Pixel(700, 300), QColor(Qt::white));
    // Right of and below the picture: the window colour.
    EXPECT_EQ(Pixel(900, 300).rgb(), m_View.palette().color(QPalette::Base).rgb());

    Show(sheet, 4); // 1:2, painted by the timer
    EXPECT_EQ(Pixel(10, 150), QColor(Qt::black));
    EXPECT_EQ(Pixel(199, 150), QColor(Qt::black));
    EXPECT_EQ(Pixel(300, 150), QColor(Qt::white));
    // The image frame outlines the level picture.
    EXPECT_EQ(Pixel(399, 150), QColor(153, 153, 153));
    EXPECT_EQ(Pixel(250, 299), QColor(153, 153, 153));
}

TEST_F(SheetViewDrawTest, ViewWithoutSheetShowsTheWorkspace)
{
    m_View.Refresh();
    Settle();
    EXPECT_EQ(Pixel(500, 400).rgb(), m_View.palette().color(QPalette::Dark).rgb());
    EXPECT_TRUE(m_Notices.Of(JOBMSG_VISIBLE_AREA).empty());
}

TEST_F(SheetViewDrawTest, PaintReportsTheVisibleAreaAsFractions)
{
    WKRN_TestSheetSpec spec;
    spec.width = 4000;
    spec.height = 3000;
    IMPN_SheetReference sheet = m_Sheets.Make(spec);
    Show(sheet, 3);
    m_Notices.Clear();
    m_View.ScrollTo(1000, 600, true);
    Settle();
    const auto notices = m_Notices.Of(JOBMSG_VISIBLE_AREA);
    ASSERT_FALSE(notices.empty());
    const QSize client = m_View.ClientSize();
    const std::vector<double>& f = notices.back().first;
    ASSERT_EQ(f.size(), 4u);
    EXPECT_DOUBLE_EQ(f[0], 600.0 / 3000);
    EXPECT_DOUBLE_EQ(f[1], 1000.0 / 4000);
    EXPECT_DOUBLE_EQ(f[2], client.width() / 4000.0);
    EXPECT_DOUBLE_EQ(f[3], client.height() / 3000.0);
}

TEST(SheetViewAlpha, OpacityBecomesConstantAlphaByIntegerDivision)
{
    EXPECT_EQ(WKRN_CanvasTarget::AlphaOf(100), 255);
    EXPECT_EQ(WKRN_CanvasTarget::AlphaOf(50), 127);
    EXPECT_EQ(WKRN_CanvasTarget::AlphaOf(1), 2);
    EXPECT_EQ(WKRN_CanvasTarget::AlphaOf(0), 0);
    EXPECT_EQ(WKRN_CanvasTarget::AlphaOf(101), 255);
    EXPECT_EQ(WKRN_CanvasTarget::AlphaOf(-3), 0);
}

TEST_F(SheetViewDrawTest, HalfOpaqueSurfaceIsBlendedWithAlpha127OverItsPaper)
{
    WKRN_TestSheetSpec spec;
    spec.surfaces[0].fill = LeftHalf;
    IMPN_SheetReference sheet = m_Sheets.Make(spec);
    Show(sheet, 3);
    m_View.SetOpacity(50);
    Settle();
    // Black at alpha 127 over white paper: 255 - 127 = 128, give or take the blender's rounding.
    const QColor blended = Pixel(100, 100);
    EXPECT_NEAR(blended.red(), 128, 1);
    EXPECT_EQ(blended.red(), blended.green());
    EXPECT_EQ(blended.red(), blended.blue());
    EXPECT_EQ(Pixel(600, 100), QColor(Qt::white));

    // Refreshing again backs the tile with paper first, so the blend does not darken.
    m_View.Refresh();
    Settle();
    EXPECT_EQ(Pixel(100, 100), blended);
}

// Each tile kind through the canvas target, on a white canvas.
TEST(SheetViewTiles, EveryTileKindIsDrawnAtItsPlaceWithTheBlendAlpha)
{
    QImage canvas(64, 32, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    const std::uint8_t palette[] = {255, 255, 255, 0, 0, 0, 255, 0, 0}; // white, black, blue

    IMPN_RenderTile indexed;
    indexed.kind = IMPN_TileKind::Indexed;
    indexed.left = 0;
    indexed.width = 4;
    indexed.height = 2;
    indexed.rowBytes = 8; // wider than the tile: the stride is honoured
    indexed.Allocate(16);
    const std::uint8_t indices[] = {0, 1, 2, 7, 9, 9, 9, 9, 1, 1, 1, 1, 9, 9, 9, 9};
    std::memcpy(indexed.pixels.get(), indices, sizeof indices);
    indexed.palette = palette;
    indexed.paletteCount = 3;

    IMPN_RenderTile colour;
    colour.kind = IMPN_TileKind::Colour;
    colour.left = 8;
    colour.width = 2;
    colour.height = 1;
    colour.rowBytes = 6;
    colour.Allocate(6);
    const std::uint8_t bgr[] = {0, 0, 255, 0, 255, 0}; // red, green
    std::memcpy(colour.pixels.get(), bgr, sizeof bgr);

    IMPN_RenderTile uniformIndex;
    uniformIndex.kind = IMPN_TileKind::UniformIndex;
    uniformIndex.left = 16;
    uniformIndex.width = 4;
    uniformIndex.height = 4;
    uniformIndex.Allocate(1);
    uniformIndex.pixels[0] = 2;
    uniformIndex.palette = palette;
    uniformIndex.paletteCount = 3;

    IMPN_RenderTile uniformColour;
    uniformColour.kind = IMPN_TileKind::UniformColour;
    uniformColour.left = 24;
    uniformColour.top = 4;
    uniformColour.width = 4;
    uniformColour.height = 4;
    uniformColour.Allocate(3);
    uniformColour.pixels[0] = 0;
    uniformColour.pixels[1] = 0;
    uniformColour.pixels[2] = 0;

    {
        QPainter painter(&canvas);
        WKRN_CanvasTarget target(painter);
        target.BeginTop(100);
        for (const IMPN_RenderTile* tile : {&indexed, &colour, &uniformIndex})
            target.DrawTile(*tile, false);
        target.BeginTop(50);
        target.DrawTile(uniformColour, false);
    }
    EXPECT_EQ(canvas.pixelColor(0, 0), QColor(Qt::white));
    EXPECT_EQ(canvas.pixelColor(1, 0), QColor(Qt::black));
    EXPECT_EQ(canvas.pixelColor(2, 0), QColor(0, 0, 255));
    // Indices beyond the palette show white.
    EXPECT_EQ(canvas.pixelColor(3, 0), QColor(Qt::white));
    EXPECT_EQ(canvas.pixelColor(0, 1), QColor(Qt::black));
    EXPECT_EQ(canvas.pixelColor(4, 0), QColor(Qt::white)); // padding of the row is not drawn
    // Colour tiles are blue, green, red bytes.
    EXPECT_EQ(canvas.pixelColor(8, 0), QColor(255, 0, 0));
    EXPECT_EQ(canvas.pixelColor(9, 0), QColor(0, 255, 0));
    EXPECT_EQ(canvas.pixelColor(17, 3), QColor(0, 0, 255));
    EXPECT_NEAR(canvas.pixelColor(25, 5).red(), 128, 1);
    EXPECT_EQ(canvas.pixelColor(25, 3), QColor(Qt::white));
}

TEST(SheetViewTiles, TileWhoseStoreIsShortIsNotDrawn)
{
    QImage canvas(16, 16, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    IMPN_RenderTile tile;
    tile.kind = IMPN_TileKind::Colour;
    tile.width = 8;
    tile.height = 8;
    tile.rowBytes = 24;
    tile.Allocate(24 * 7); // one row short
    std::memset(tile.pixels.get(), 0, tile.storeBytes);
    QPainter painter(&canvas);
    WKRN_CanvasTarget target(painter);
    target.DrawTile(tile, false);
    tile.kind = IMPN_TileKind::Indexed;
    tile.rowBytes = 4; // narrower than the tile
    target.DrawTile(tile, false);
    painter.end();
    EXPECT_EQ(canvas.pixelColor(0, 0), QColor(Qt::white));
    EXPECT_EQ(canvas.pixelColor(7, 7), QColor(Qt::white));
}

TEST_F(SheetViewDrawTest, TileBoundariesAreOutlinedInOrangeWhenAsked)
{
    WKRN_TestSheetSpec spec;
    spec.width = 1000;
    IMPN_SheetReference sheet = m_Sheets.Make(spec);
    Show(sheet, 3);
    EXPECT_EQ(Pixel(511, 300), QColor(Qt::white));

    WKRN_Preferences::Current().ShowTileBoundaries = true;
    m_View.Redraw();
    Settle();
    EXPECT_EQ(Pixel(511, 300), QColor(255, 127, 0));
    EXPECT_EQ(Pixel(512, 300), QColor(255, 127, 0));
    EXPECT_EQ(Pixel(300, 511), QColor(255, 127, 0));
    EXPECT_EQ(Pixel(300, 512), QColor(255, 127, 0));
    EXPECT_EQ(Pixel(300, 300), QColor(Qt::white));
}

TEST_F(SheetViewDrawTest, PausesAfterEachTileOnlyAtOneToOneAndLarger)
{
    WKRN_TestSheetSpec spec;
    spec.width = 1000;
    IMPN_SheetReference sheet = m_Sheets.Make(spec);
    std::vector<int> pauses;
    m_View.SetTilePause([&pauses](int milliseconds) { pauses.push_back(milliseconds); });
    Show(sheet, 3);
    ASSERT_FALSE(pauses.empty());
    EXPECT_EQ(pauses.front(), 5);
    pauses.clear();
    Show(sheet, 4);
    EXPECT_TRUE(pauses.empty());
}

// Underneath: the back surface inked in its left quarter, the front fully transparent, the
// plates' backup (no offsets): the back shows mirrored about the level picture.
class UnderneathTest : public SheetViewDrawTest, public ::testing::WithParamInterface<std::uint16_t>
{
};

TEST_P(UnderneathTest, UnderneathSurfaceIsMirroredByItsFlipAxis)
{
    const std::uint16_t workStyle = GetParam();
    WKRN_TestSheetSpec spec;
    spec.workStyle = workStyle;
    WKRN_TestSurface front;
    WKRN_TestSurface back;
    back.surface = 1;
    back.fill = [](std::uint32_t x, std::uint32_t y) { return x < 200 && y < 150; };
    spec.surfaces = {front, back};
    IMPN_SheetReference sheet = m_Sheets.Make(spec);
    Show(sheet, 3);
    m_View.SetOpacity(0);
    Settle();

    const std::uint32_t axis = m_View.GetFlipAxis();
    if (workStyle == 1)
    {
        ASSERT_EQ(axis, 1u);
        EXPECT_EQ(Pixel(600, 10), QColor(Qt::black));
        EXPECT_EQ(Pixel(798, 149), QColor(Qt::black));
        EXPECT_EQ(Pixel(599, 10), QColor(Qt::white));
        EXPECT_EQ(Pixel(700, 150), QColor(Qt::white));
        EXPECT_EQ(Pixel(100, 10), QColor(Qt::white));
    }
    else
    {
        ASSERT_EQ(axis, 0u);
        // Single-sided work never shows the other surface, whatever the opacity.
        EXPECT_EQ(Pixel(100, 10), QColor(Qt::white));
        EXPECT_EQ(Pixel(700, 10), QColor(Qt::white));
        EXPECT_EQ(Pixel(100, 500), QColor(Qt::white));
    }
}

INSTANTIATE_TEST_SUITE_P(WorkStyles, UnderneathTest, ::testing::Values(0, 1));

TEST_F(SheetViewDrawTest, WorkAndTumbleShowsTheUnderneathSurfaceUpsideDown)
{
    WKRN_TestSheetSpec spec;
    spec.workStyle = 4; // one plate prints both sides, tumbled
    spec.surfaces[0].fill = [](std::uint32_t x, std::uint32_t y) { return x < 200 && y < 150; };
    IMPN_SheetReference sheet = m_Sheets.Make(spec);
    Show(sheet, 3);
    ASSERT_EQ(m_View.GetFlipAxis(), 2u);
    m_View.SetOpacity(0);
    Settle();
    EXPECT_EQ(Pixel(10, 450), QColor(Qt::black));
    EXPECT_EQ(Pixel(199, 598), QColor(Qt::black));
    EXPECT_EQ(Pixel(10, 449), QColor(Qt::white));
    EXPECT_EQ(Pixel(10, 10), QColor(Qt::white)); // the front, fully transparent
}

TEST_F(SheetViewDrawTest, ScrollingMovesTheCanvasAndFillsTheStripAtOnce)
{
    WKRN_TestSheetSpec spec;
    spec.width = 4000;
    spec.height = 3000;
    spec.surfaces[0].fill = [](std::uint32_t x, std::uint32_t) { return x >= 100 && x < 110; };
    IMPN_SheetReference sheet = m_Sheets.Make(spec);
    Show(sheet, 3);
    ASSERT_EQ(Pixel(100, 50), QColor(Qt::black));

    m_View.ScrollTo(60, 0, false);
    // Before any paint: the ink moved left with the content, the new strip shows the window.
    EXPECT_EQ(Pixel(40, 50), QColor(Qt::black));
    EXPECT_EQ(Pixel(39, 50), QColor(Qt::white));
    const int right = m_View.ClientSize().width() - 1;
    EXPECT_EQ(Pixel(right, 50).rgb(), m_View.palette().color(QPalette::Base).rgb());
    Settle();
    EXPECT_EQ(Pixel(right, 50), QColor(Qt::white)); // the paper of the picture
    EXPECT_EQ(Pixel(40, 50), QColor(Qt::black));
}

// ---- Overlays, drawn straight onto an image at 1:1 -----------------------------------------

class OverlayTest : public ::testing::Test
{
protected:
    OverlayTest() : m_Canvas(400, 300, QImage::Format_RGB32) { m_Canvas.fill(Qt::white); }

    void Draw(const std::function<void(WKRN_OverlayPainter&)>& draw, bool underneath = false,
              int level = 3)
    {
        QPainter painter(&m_Canvas);
        WKRN_OverlayPainter overlay(painter, QTransform(), level, m_Colors, underneath);
        draw(overlay);
    }

    bool IsPage(int x, int y) const { return m_Canvas.pixelColor(x, y) == m_Colors.pageEdge; }
    int CountPage(const QRect& area) const
    {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                count += IsPage(x, y) ? 1 : 0;
        return count;
    }

    QImage m_Canvas;
    WKRN_OverlayColors m_Colors;
};

TEST(OverlayGeometry, ScaledRectanglesRoundHalvesToEven)
{
    // At 1:4 (level 5): 2 / 4 = 0.5 -> 0, 6 / 4 = 1.5 -> 2, -6 / 4 = -1.5 -> -2, 10 / 4 -> 2.
    const WKRN_LevelRect r = WKRN_OverlayPainter::ScaleRect(IMPN_Rect{2, 6, -6, 10}, 5);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.left, 2);
    EXPECT_EQ(r.width, -2);
    EXPECT_EQ(r.height, 2);
    // At 8:1 values beyond 32 bits stay exact.
    EXPECT_EQ(WKRN_OverlayPainter::ScaleRect(IMPN_Rect{0, 0x7FFFFFFF, 0, 0}, 0).left,
              std::int64_t{0x7FFFFFFF} * 8);
}

TEST(OverlayGeometry, OverlayColoursComeFromThePreferenceBytes)
{
    WKRN_PreferenceValues values;
    values.PageEdgeColor = {1, 2, 3}; // blue, green, red
    const WKRN_OverlayColors colors = WKRN_OverlayColors::FromPreferences(values);
    EXPECT_EQ(colors.pageEdge, QColor(3, 2, 1));
    EXPECT_EQ(colors.bleedEdge, ColorOf(values.BleedEdgeColor));
    EXPECT_EQ(colors.imageFrame, QColor(153, 153, 153));
}

TEST_F(OverlayTest, RectanglesAreOutlinedOnTheirOwnEdgePixels)
{
    Draw([](WKRN_OverlayPainter& o) { o.DrawImageFrame(IMPN_Rect{10, 20, 100, 50}); });
    const QColor frame = m_Colors.imageFrame;
    EXPECT_EQ(m_Canvas.pixelColor(20, 10), frame);
    EXPECT_EQ(m_Canvas.pixelColor(119, 59), frame);
    EXPECT_EQ(m_Canvas.pixelColor(120, 30), QColor(Qt::white));
    EXPECT_EQ(m_Canvas.pixelColor(60, 60), QColor(Qt::white));
    EXPECT_EQ(m_Canvas.pixelColor(60, 30), QColor(Qt::white));
}

TEST_F(OverlayTest, UnderneathOutlinesAreDashed)
{
    Draw([](WKRN_OverlayPainter& o) { o.DrawPressSheetEdge(IMPN_Rect{10, 10, 300, 100}); }, true);
    const int drawn = [&]
    {
        int count = 0;
        for (int x = 10; x < 310; ++x)
            count += m_Canvas.pixelColor(x, 10) == m_Colors.pressSheetEdge ? 1 : 0;
        return count;
    }();
    EXPECT_GT(drawn, 50);
    EXPECT_LT(drawn, 250);
}

struct FoldCase
{
    int orientation;
    QPoint fold;      // a pixel of the folded corner's lines
    QPoint elsewhere; // where the fold would be in another orientation
};

// Test names and failure messages say which orientation, not the bytes of the case.
void PrintTo(const FoldCase& c, std::ostream* out)
{
    static const char* const names[] = {"Up", "Down", "Left", "Right"};
    *out << names[c.orientation & 3];
}

class PageFoldTest : public OverlayTest, public ::testing::WithParamInterface<FoldCase>
{
};

// Page at left 100, top 100, 200 x 120: m = 120, k = 19.
TEST_P(PageFoldTest, FoldedCornerSitsAtThePagesTopRight)
{
    const FoldCase c = GetParam();
    IMPN_PageEntry page;
    page.number = 3;
    page.orientation = std::uint16_t(c.orientation);
    page.position = IMPN_Rect{100, 100, 200, 120};
    Draw([&](WKRN_OverlayPainter& o) { o.DrawPages({page}, true, false); });
    EXPECT_TRUE(IsPage(c.fold.x(), c.fold.y()));
    EXPECT_FALSE(IsPage(c.elsewhere.x(), c.elsewhere.y()));
    // The outline follows the page rectangle on every side.
    EXPECT_TRUE(IsPage(200, 100));
    EXPECT_TRUE(IsPage(200, 220));
    EXPECT_TRUE(IsPage(100, 160));
    EXPECT_TRUE(IsPage(300, 160));
    EXPECT_FALSE(IsPage(200, 160));
}

INSTANTIATE_TEST_SUITE_P(Orientations, PageFoldTest,
                         ::testing::Values(FoldCase{0, {281, 110}, {119, 210}},
                                           FoldCase{1, {119, 210}, {281, 110}},
                                           FoldCase{2, {110, 119}, {290, 201}},
                                           FoldCase{3, {290, 201}, {110, 119}}),
                         [](const ::testing::TestParamInfo<FoldCase>& info)
                         { return ::testing::PrintToString(info.param); });

TEST_F(OverlayTest, PageNumberAndBarAreDrawnWithNumbersOn)
{
    IMPN_PageEntry page;
    page.number = 8;
    page.position = IMPN_Rect{40, 40, 240, 200}; // m = 200: k = 32, x = 8, text 50 points
    Draw([&](WKRN_OverlayPainter& o) { o.DrawPages({page}, false, true); });
    // Without edges only the number: centred in the page.
    EXPECT_GT(CountPage(QRect(140, 120, 40, 40)), 20);
    EXPECT_EQ(CountPage(QRect(40, 40, 240, 20)), 0);
    EXPECT_EQ(CountPage(QRect(40, 200, 240, 40)), 0);

    m_Canvas.fill(Qt::white);
    Draw([&](WKRN_OverlayPainter& o) { o.DrawPages({page}, true, true); });
    // The bar from (8, 12) to (240 - 8 - 32, 20), filled on the facing surface.
    EXPECT_TRUE(IsPage(40 + 100, 40 + 15));
    EXPECT_TRUE(IsPage(40 + 8, 40 + 12));
    EXPECT_FALSE(IsPage(40 + 100, 40 + 25));

    m_Canvas.fill(Qt::white);
    Draw([&](WKRN_OverlayPainter& o) { o.DrawPages({page}, true, true); }, true);
    // Underneath the bar is only outlined.
    EXPECT_FALSE(IsPage(40 + 100, 40 + 15));
}

TEST_F(OverlayTest, PageNumberFollowsThePageOrientation)
{
    IMPN_PageEntry page;
    page.number = 1;
    page.position = IMPN_Rect{20, 20, 100, 260};
    Draw([&](WKRN_OverlayPainter& o) { o.DrawPages({page}, false, true); });
    const QImage upright = m_Canvas.copy(20, 20, 100, 260);
    m_Canvas.fill(Qt::white);
    page.orientation = 1;
    Draw([&](WKRN_OverlayPainter& o) { o.DrawPages({page}, false, true); });
    const QImage turned = m_Canvas.copy(20, 20, 100, 260);
    EXPECT_GT(CountPage(QRect(20, 20, 100, 260)), 10);
    EXPECT_NE(upright, turned);
}

TEST_F(OverlayTest, ClipPathsAreClosedBackToTheirFirstPoint)
{
    IMPN_ClipPath triangle =
        IMPN_ClipPath::FromPoints({IMPN_Point{100, 100}, IMPN_Point{300, 100}, {200, 250}});
    IMPN_ClipPath single = IMPN_ClipPath::FromPoints({IMPN_Point{50, 50}});
    Draw([&](WKRN_OverlayPainter& o) { o.DrawClipPaths({{triangle, single}}); });
    EXPECT_TRUE(IsPage(200, 100));
    EXPECT_TRUE(IsPage(250, 175));
    // The closing edge from (200, 250) back to (100, 100).
    EXPECT_TRUE(CountPage(QRect(149, 174, 3, 3)) > 0);
    EXPECT_FALSE(IsPage(50, 50)); // a path of one point is not drawn
}

TEST_F(OverlayTest, HostileGeometryIsDrawnWithoutHarm)
{
    IMPN_PageEntry page;
    page.number = 65535;
    page.position = IMPN_Rect{-0x7FFFFFFF, -0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF};
    IMPN_PageEntry flat;
    flat.position = IMPN_Rect{10, 10, 0, 50};
    Draw(
        [&](WKRN_OverlayPainter& o)
        {
            o.DrawPages({page, flat}, true, true);
            o.DrawBleedEdges({IMPN_Rect{0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF}});
            o.DrawClipPaths({{IMPN_ClipPath::FromPoints(
                {IMPN_Point{-0x7FFFFFFF, 0}, IMPN_Point{0x7FFFFFFF, 5}})}});
        },
        false, 0);
    SUCCEED();
}

TEST_F(SheetViewDrawTest, ShownImpositionDrawsPagesClipPathsAndEdges)
{
    WKRN_TestSheetSpec spec;
    KRNPageInfo page = WKRN_TestSheets::Page(5, 0, 100, 100, 400, 350);
    page.clipPaths = {{KRNPoint{150, 150}, KRNPoint{300, 150}, KRNPoint{300, 300}}};
    spec.pages = {page};
    IMPN_SheetReference sheet = m_Sheets.Make(spec);
    Show(sheet, 3);
    ASSERT_TRUE(m_View.GetClipPathsAvailable());
    const WKRN_PreferenceValues& preferences = WKRN_Preferences::Current();
    EXPECT_NE(Pixel(200, 100), ColorOf(preferences.PageEdgeColor));

    m_View.ShowImposition();
    Settle();
    EXPECT_EQ(Pixel(200, 100), ColorOf(preferences.PageEdgeColor));
    EXPECT_EQ(Pixel(200, 10), ColorOf(preferences.PressSheetEdgeColor));
    EXPECT_EQ(Pixel(200, 95), ColorOf(preferences.BleedEdgeColor));
    EXPECT_EQ(Pixel(200, 90), ColorOf(preferences.BleedEdgeColor));
    EXPECT_EQ(Pixel(225, 225), ColorOf(preferences.PageEdgeColor)); // the clip path's diagonal

    m_View.HideImposition();
    m_View.Redraw();
    Settle();
    EXPECT_EQ(Pixel(200, 100), QColor(Qt::white));
}
} // namespace

namespace
{
// With the pages' backup the back is shifted, leaving a strip that nothing opaque covers: a
// half-opaque front must look the same after any number of repaints.
TEST_F(SheetViewDrawTest, RepaintsDoNotDarkenABlendedSurfaceWhereNothingLiesUnderIt)
{
    WKRN_TestSheetSpec spec;
    spec.workStyle = 1;
    spec.pages = {WKRN_TestSheets::Page(1, 0, 100, 100, 500, 300)};
    WKRN_TestSurface front;
    front.fill = [](std::uint32_t, std::uint32_t) { return true; };
    WKRN_TestSurface back;
    back.surface = 1;
    spec.surfaces = {front, back};
    IMPN_SheetReference sheet = m_Sheets.Make(spec);
    m_View.SetSheet(sheet.Get());
    m_View.SetBackupMode(IMPN_SheetView::BackupPages);
    m_View.SetOpacity(50);
    m_View.ZoomToLevel(4, true);
    ASSERT_NE(m_View.GetBackupDx(), 0);
    Settle();
    const QImage first = m_View.Canvas().copy();
    for (int round = 0; round < 3; ++round)
    {
        m_View.Refresh();
        Settle();
    }
    EXPECT_EQ(m_View.Canvas(), first);
}

// A scroll while the picture is being painted tile by tile queues every tile again: the tiles
// the interrupted frame had drawn must not be blended a second time over themselves. Single-sided
// work never shows its back, so nothing opaque lies under the half-opaque front.
TEST_F(SheetViewDrawTest, ScrollDuringProgressivePaintingDrawsEachPixelOnce)
{
    WKRN_TestSheetSpec spec;
    spec.workStyle = 0;
    spec.width = 8000;
    spec.height = 6000;
    WKRN_TestSurface front;
    front.fill = [](std::uint32_t x, std::uint32_t y) { return (x / 64 + y / 64) % 2 == 0; };
    WKRN_TestSurface back;
    back.surface = 1;
    back.fill = [](std::uint32_t x, std::uint32_t) { return x % 200 < 100; };
    spec.surfaces = {front, back};
    IMPN_SheetReference sheet = m_Sheets.Make(spec);
    m_View.SetSheet(sheet.Get());
    m_View.SetOpacity(50);
    m_View.ZoomToLevel(4, true);
    Settle();

    int interrupted = 0;
    for (int round = 0; round < 3; ++round)
    {
        m_View.Redraw();
        m_View.viewport()->repaint();
        const QImage erased = m_View.Canvas().copy();
        // Some tiles drawn, others still queued.
        ASSERT_TRUE(QTest::qWaitFor([&] { return m_View.Canvas() != erased; }, 5000));
        interrupted += m_View.IsPaintingTimerActive() ? 1 : 0;
        m_View.ScrollTo(m_View.ScrollPosition().x() + 7, m_View.ScrollPosition().y() + 5, false);
        Settle();
        const QImage scrolled = m_View.Canvas().copy();
        m_View.Redraw();
        Settle();
        EXPECT_EQ(scrolled, m_View.Canvas()) << "round " << round;
    }
    EXPECT_GT(interrupted, 0);
}
} // namespace
