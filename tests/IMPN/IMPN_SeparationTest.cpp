// A separation's reads of its file: tile classes, the reduced image, the information getters and
// their fallbacks; and what preparing a sheet computes.

#include "IMPN_TreeTestFiles.h"

#include "IMPN/IMPN_ChangeCounter.h"
#include "IMPN/IMPN_PrintTime.h"
#include "IMPN/IMPN_Registry.h"
#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_SheetReference.h"
#include "IMPN/IMPN_SurfaceRenderer.h"
#include "IMPN/IMPN_ThumbnailImage.h"
#include "TIFX/TIFX_KRNFile.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace
{
class SeparationTest : public ::testing::Test
{
protected:
    // One sheet from the given files, held for the test.
    IMPN_SheetReference SheetOf(const std::vector<IMPN_TestPreview>& previews)
    {
        IMPN_Registry registry;
        for (const IMPN_TestPreview& p : previews)
        {
            TIFX_KRNFile file(m_Folder.Write("s" + std::to_string(m_Count++) + ".tif", p));
            file.Open();
            EXPECT_TRUE(file.IsValidPreviewFile()) << file.GetValidityFailure();
            registry.AddFile(file);
        }
        std::vector<IMPN_Sheet*> sheets;
        registry.CollectSheets(sheets);
        EXPECT_EQ(sheets.size(), 1u);
        return IMPN_SheetReference(sheets.empty() ? nullptr : sheets[0]);
    }

    // 1536 x 1024 pixels: three tiles across, two down. Tile (0,0) blank, (1,0) solid, (2,0)
    // 0x55 everywhere, row 1 a diagonal line.
    static IMPN_TestPreview Patterned()
    {
        IMPN_TestPreview p;
        p.colorName = "Black";
        p.color = 4;
        p.width = 1536;
        p.height = 1024;
        p.pressSheetBottom = 1014;
        p.pressSheetRight = 1526;
        p.fill = [](std::uint32_t x0, std::uint32_t y) -> std::uint8_t
        {
            if (y < 512)
                return x0 < 512 ? 0x00 : x0 < 1024 ? 0xFF : 0x55;
            return (x0 / 8) == ((y - 512) % 64) ? 0x80 : 0x00;
        };
        return p;
    }

    IMPN_TestFolder m_Folder;
    int m_Count = 0;
};

TEST_F(SeparationTest, TilesAreClassifiedOnceAndMixedOnesReadEveryTime)
{
    IMPN_SheetReference sheet = SheetOf({Patterned()});
    IMPN_Separation& s = *sheet->GetFrontSurface().GetSeparation(0);
    EXPECT_EQ(s.GetTilesAcross(), 3u);
    EXPECT_EQ(s.GetTilesDown(), 2u);
    EXPECT_EQ(s.GetTileCount(), 6u);
    ASSERT_EQ(s.GetTileByteCount(), 512u * 512u / 8u);
    std::vector<std::uint8_t> tile(s.GetTileByteCount(), 0xAA);
    const std::int64_t full = static_cast<std::int64_t>(tile.size());

    s.Prepare();
    EXPECT_EQ(s.GetTileClass(0, 0), IMPN_Separation::TileUnknown);
    EXPECT_EQ(s.ReadTile(tile.data(), tile.size(), 10, 10), 1);
    EXPECT_EQ(tile[0], 0x00);
    EXPECT_EQ(s.GetTileClass(511, 511), IMPN_Separation::TileBlank);

    EXPECT_EQ(s.ReadTile(tile.data(), tile.size(), 600, 0), 1);
    EXPECT_EQ(tile[0], 0xFF);
    EXPECT_EQ(s.GetTileClass(1023, 0), IMPN_Separation::TileSolid);
    tile[0] = 0x12;
    EXPECT_EQ(s.ReadTile(tile.data(), tile.size(), 512, 0), 1);
    EXPECT_EQ(tile[0], 0xFF);

    // All bytes equal, but neither blank nor solid: mixed, decoded at every request.
    EXPECT_EQ(s.ReadTile(tile.data(), tile.size(), 1024, 0), full);
    EXPECT_EQ(s.GetTileClass(1024, 0), IMPN_Separation::TileMixed);
    std::fill(tile.begin(), tile.end(), 0);
    EXPECT_EQ(s.ReadTile(tile.data(), tile.size(), 1535, 511), full);
    EXPECT_EQ(tile[0], 0x55);
    EXPECT_EQ(tile.back(), 0x55);

    EXPECT_EQ(s.ReadTile(tile.data(), tile.size(), 0, 512), full);
    EXPECT_EQ(tile[0], 0x80);
    EXPECT_EQ(s.GetTileClass(0, 1023), IMPN_Separation::TileMixed);

    // Preparing again forgets every class.
    s.Prepare();
    EXPECT_EQ(s.GetTileClass(0, 0), IMPN_Separation::TileUnknown);
    EXPECT_EQ(s.GetTileClass(512, 0), IMPN_Separation::TileUnknown);
}

TEST_F(SeparationTest, PositionsOutsideTheImageAreRefused)
{
    IMPN_SheetReference sheet = SheetOf({Patterned()});
    IMPN_Separation& s = *sheet->GetFrontSurface().GetSeparation(0);
    s.Prepare();
    std::vector<std::uint8_t> tile(s.GetTileByteCount());
    EXPECT_EQ(s.GetTileClass(1536, 0), IMPN_Separation::TileOutside);
    EXPECT_EQ(s.GetTileClass(0, 1024), IMPN_Separation::TileOutside);
    EXPECT_EQ(s.GetTileClass(0xFFFFFFFFu, 0xFFFFFFFFu), IMPN_Separation::TileOutside);
    EXPECT_EQ(s.ReadTile(tile.data(), tile.size(), 1536, 0), -1);
    EXPECT_EQ(s.ReadTile(tile.data(), tile.size(), 0, 1024), -1);
    // A buffer that cannot hold a decoded tile is never written past.
    EXPECT_EQ(s.ReadTile(tile.data(), tile.size() - 1, 1024, 0), -1);
    EXPECT_EQ(s.ReadTile(nullptr, tile.size(), 0, 0), -1);
}

TEST_F(SeparationTest, ReducedImageIsReadAsWholeTiles)
{
    IMPN_TestPreview p = Patterned();
    p.options.reducedScale = 2; // 768 x 512 pixels in tiles of 512: a 1024 x 512 raster
    IMPN_SheetReference sheet = SheetOf({p});
    IMPN_Separation& s = *sheet->GetFrontSurface().GetSeparation(0);
    EXPECT_EQ(s.GetThumbnailDirectory(), 1);
    EXPECT_EQ(s.GetThumbnailScale(), 2u);
    std::uint32_t w = 0, l = 0, tw = 0, tl = 0;
    s.GetThumbnailInfo(w, l, tw, tl);
    EXPECT_EQ(w, 768u);
    EXPECT_EQ(l, 512u);
    s.GetImageInfo(w, l, tw, tl);
    EXPECT_EQ(w, 1536u);
    EXPECT_EQ(l, 1024u);
    EXPECT_EQ(tw, 512u);
    EXPECT_EQ(tl, 512u);

    IMPN_Raster raster;
    const std::uint32_t before = IMPN_ChangeCounter::Current();
    const std::int64_t bytes = s.ReadThumbnail(raster);
    ASSERT_GT(bytes, 0);
    EXPECT_GT(raster.changeStamp, before);
    EXPECT_EQ(raster.pixelFormat, IMPN_Raster::FormatGrey8);
    EXPECT_EQ(raster.size, raster.pixels.size());
    EXPECT_EQ(raster.rowLength, 1024u);
    EXPECT_EQ(raster.rows, 512u);
    EXPECT_EQ(raster.rowLength * raster.rows, raster.size);
    // Blank art is 0 (no ink), solid art full coverage, averaged by the writer.
    EXPECT_EQ(raster.pixels[10 * raster.rowLength + 10], 0);
    EXPECT_EQ(raster.pixels[10 * raster.rowLength + 300], 255);
}

TEST_F(SeparationTest, ReadsFallBackWhenTheFileIsGone)
{
    IMPN_SheetReference sheet = SheetOf({Patterned()});
    IMPN_Separation& s = *sheet->GetFrontSurface().GetSeparation(0);
    s.CloseFile();
    std::filesystem::remove(s.GetFile().GetPath());
    s.CloseFile();
    EXPECT_FALSE(s.IsFileOpen());

    std::uint32_t w = 7, l = 8, tw = 9, tl = 10;
    s.GetImageInfo(w, l, tw, tl);
    s.GetThumbnailInfo(w, l, tw, tl);
    EXPECT_EQ(std::vector<std::uint32_t>({w, l, tw, tl}),
              std::vector<std::uint32_t>({7, 8, 9, 10}));
    EXPECT_EQ(s.GetThumbnailScale(), 1u);
    IMPN_Raster raster;
    EXPECT_EQ(s.ReadThumbnail(raster), -1);
    std::vector<std::uint8_t> tile(s.GetTileByteCount());
    EXPECT_EQ(s.ReadTile(tile.data(), tile.size(), 0, 0), -1);
    EXPECT_EQ(s.GetTileClass(0, 0), IMPN_Separation::TileUnknown);

    // The colour decision falls back on the databases: Black is a built-in named colour.
    s.Prepare();
    EXPECT_FALSE(s.GetDecidedColor().isDefault);
    EXPECT_EQ(s.GetDecidedColor().name, "?");
    EXPECT_FALSE(s.HasCMYKEquivalent());
}

TEST_F(SeparationTest, ConstructionLeavesTheFileAtDirectoryZero)
{
    // The caller goes on reading directory 0's job information from the same file (a Work &
    // Turn sheet adds it to its second surface), even when the reduced image is in directory 2.
    IMPN_TestPreview p = Patterned();
    p.options.reducedDirectory = 2;
    TIFX_KRNFile file(m_Folder.Write("dir.tif", p));
    file.Open();
    IMPN_Separation separation(file);
    EXPECT_EQ(separation.GetThumbnailDirectory(), 2);
    EXPECT_EQ(file.GetDirectory(), 0);
    EXPECT_EQ(file.GetBitsPerSample(), 1);
    EXPECT_FALSE(separation.IsFileOpen()); // its own reader opens on first use
}

TEST_F(SeparationTest, PrepareDecidesColoursAndStampsChanges)
{
    IMPN_TestPreview cyan;
    cyan.colorName = "Cyan";
    cyan.color = 1;
    IMPN_TestPreview spot = cyan;
    spot.colorName = "Nobody Knows This Ink";
    spot.color = 0;
    IMPN_SheetReference sheet = SheetOf({cyan, spot});
    IMPN_Surface& front = sheet->GetFrontSurface();
    IMPN_Separation& c = *front.GetSeparation(0);
    IMPN_Separation& x = *front.GetSeparation(1);

    const std::uint32_t before = IMPN_ChangeCounter::Current();
    sheet->Prepare();
    EXPECT_GT(c.GetChangeStamp(), before);
    EXPECT_GT(x.GetChangeStamp(), c.GetChangeStamp());
    EXPECT_EQ(front.GetLatestChange(), x.GetChangeStamp());
    EXPECT_EQ(c.GetCurrentColor(), c.GetDecidedColor());
    EXPECT_TRUE(x.GetDecidedColor().isDefault);
    EXPECT_EQ(x.GetDecidedColor().name, "Nobody Knows This Ink");
    // No InkNames tag: a named colour found under the separation's name is called "?".
    EXPECT_EQ(c.GetDecidedColor().name, "?");

    // A file that names its ink and gives a CMYK equivalent: the equivalent decides.
    IMPN_TestPreview named = cyan;
    named.colorName = "PANTONE 300 C";
    named.color = 0;
    named.options.inkNames = "PANTONE 300 C";
    named.cmyk = std::array<std::uint16_t, 4>{65535, 0, 0, 0};
    IMPN_SheetReference other = SheetOf({named});
    other->Prepare();
    const IMPN_Separation& n = *other->GetFrontSurface().GetSeparation(0);
    EXPECT_TRUE(n.HasCMYKEquivalent());
    EXPECT_EQ(n.GetCMYKEquivalent(), (std::array<std::uint16_t, 4>{65535, 0, 0, 0}));
    EXPECT_EQ(n.GetDecidedColor().name, "PANTONE 300 C");
    EXPECT_FALSE(n.GetDecidedColor().isDefault);

    // User changes stamp the separation; the decided colour stays; Prepare undoes them.
    IMPN_ColorRecord red = c.GetCurrentColor();
    red.color = IMPN_MakeColorBGR(255, 0, 0);
    c.SetCurrentColor(red);
    EXPECT_EQ(front.GetLatestChange(), c.GetChangeStamp());
    const std::uint32_t afterColour = c.GetChangeStamp();
    c.SetVisible(true); // no change, no stamp
    EXPECT_EQ(c.GetChangeStamp(), afterColour);
    c.SetVisible(false);
    EXPECT_GT(c.GetChangeStamp(), afterColour);
    c.SetOpacity(140);
    EXPECT_EQ(c.GetCurrentColor().opacity, 100);
    c.SetOpacity(-3);
    EXPECT_EQ(c.GetCurrentColor().opacity, 0);
    sheet->Prepare();
    EXPECT_EQ(c.GetCurrentColor(), c.GetDecidedColor());
}

TEST_F(SeparationTest, PrepareComputesFlipAxisAndBackupTablesFromTheSurfaces)
{
    // Sheetwise, up: left-right mirror. W = 600; front press sheet 20..580 (centre 300), back
    // 40..580 (centre 310): dx = 600 - 310 - 300 = -10; dy = (10 + 190) - (30 + 180) = -10.
    IMPN_TestPreview front;
    front.colorName = "Black";
    front.color = 4;
    IMPN_TestPreview back = front;
    back.surface = 1;
    back.pressSheetTop = 30;
    back.pressSheetLeft = 40;
    IMPN_SheetReference sheet = SheetOf({front, back});
    sheet->Prepare();
    EXPECT_EQ(sheet->GetFlipAxis(), 1u);
    EXPECT_EQ(sheet->GetBackupDx(IMPN_BackupTables::ModePressSheets, 0), -80);
    EXPECT_EQ(sheet->GetBackupDy(IMPN_BackupTables::ModePressSheets, 3), -10);
    EXPECT_EQ(sheet->GetBackupDx(IMPN_BackupTables::ModePressSheets, 4), -5);
    // Page bounds 60..290 (centre 175): dx = 600 - 350 = 250.
    EXPECT_EQ(sheet->GetBackupDx(IMPN_BackupTables::ModePages, 3), 250);
    EXPECT_EQ(sheet->GetBackupDx(IMPN_BackupTables::ModePages, 12), 0);
    EXPECT_EQ(sheet->GetBackupDy(IMPN_BackupTables::ModePages, 3), 0);
    EXPECT_EQ(sheet->GetBackupDx(IMPN_BackupTables::ModePlates, 3), 0);

    // A sheet with one surface only has no backup offsets.
    IMPN_SheetReference single = SheetOf({back});
    single->Prepare();
    EXPECT_EQ(single->GetBackupDx(IMPN_BackupTables::ModePressSheets, 3), 0);
    EXPECT_EQ(single->GetBackupDy(IMPN_BackupTables::ModePressSheets, 3), 0);
}

TEST_F(SeparationTest, ThumbnailSizeComesFromTheDirectoryThatHoldsTheReducedImage)
{
    IMPN_TestPreview p = Patterned();
    p.options.reducedDirectory = 2;
    p.options.reducedScale = 4;
    IMPN_SheetReference sheet = SheetOf({p});
    EXPECT_EQ(sheet->GetFrontSurface().GetSeparation(0)->GetThumbnailDirectory(), 2);
    EXPECT_EQ(sheet->GetThumbnailWidth(), 384u);
    EXPECT_EQ(sheet->GetThumbnailLength(), 256u);
    EXPECT_EQ(sheet->GetThumbnailScale(), 4u);
    EXPECT_EQ(sheet->GetImageWidth(), 1536u);
    EXPECT_FLOAT_EQ(sheet->GetXResolution(), p.options.resolution);
}

TEST_F(SeparationTest, PrepareMakesRendererAndThumbnailOnceAndTakesTheThumbnailSize)
{
    IMPN_TestPreview front = Patterned(); // reduced image 384 x 256 at scale 4
    IMPN_SheetReference sheet = SheetOf({front});
    IMPN_Surface& surface = sheet->GetFrontSurface();
    EXPECT_EQ(surface.GetRenderer(), nullptr);
    EXPECT_EQ(surface.GetThumbnail(), nullptr);
    sheet->Prepare();
    IMPN_SurfaceRenderer* renderer = surface.GetRenderer();
    IMPN_ThumbnailImage* thumbnail = surface.GetThumbnail();
    ASSERT_NE(renderer, nullptr);
    ASSERT_NE(thumbnail, nullptr);
    // An empty surface gets neither.
    EXPECT_EQ(sheet->GetBackSurface().GetRenderer(), nullptr);
    EXPECT_EQ(sheet->GetBackSurface().GetThumbnail(), nullptr);
    // 384 x 256 reduced to 350 x 233; scale 4 x 384 / 350 rounds to 4.
    EXPECT_EQ(sheet->GetThumbnailWidth(), 350u);
    EXPECT_EQ(sheet->GetThumbnailLength(), 233u);
    EXPECT_EQ(sheet->GetThumbnailScale(), 4u);
    sheet->Prepare();
    EXPECT_EQ(surface.GetRenderer(), renderer);
    EXPECT_EQ(surface.GetThumbnail(), thumbnail);
    // Clear destroys both before the separations they read.
    surface.Clear();
    EXPECT_EQ(surface.GetRenderer(), nullptr);
    EXPECT_EQ(surface.GetThumbnail(), nullptr);
    EXPECT_FALSE(surface.HasSeparations());
}

TEST_F(SeparationTest, PrintTimeOfASheetIsTheMeanOfItsSurfaces)
{
    IMPN_TestPreview a;
    a.colorName = "Cyan";
    a.printTime = "2003:12:31 10:00:00";
    IMPN_TestPreview b = a;
    b.colorName = "Magenta";
    b.color = 2;
    b.printTime = "2003:12:31 10:00:10";
    IMPN_TestPreview c = a;
    c.surface = 1;
    c.printTime = "2003:12:31 10:01:00";
    IMPN_SheetReference sheet = SheetOf({a, b, c});
    const std::int64_t t0 = *IMPN_PrintTime::Parse("2003:12:31 10:00:00");
    const std::int64_t second = IMPN_PrintTime::TicksPerSecond;
    EXPECT_EQ(sheet->GetFrontSurface().GetPrintTime(), t0 + 5 * second);
    EXPECT_EQ(sheet->GetBackSurface().GetPrintTime(), t0 + 60 * second);
    EXPECT_EQ(sheet->GetPrintTime(), t0 + 32 * second + second / 2);
}
} // namespace
