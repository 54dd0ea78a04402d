// The private lines of the directory report, byte for byte, for every directory of a file.

#include "TIFX/TIFX_KRNFile.h"
#include "TIFX/TIFX_KRNWriter.h"
#include "TIFX_TestFiles.h"

#include <tiffio.h>

#include <cstdio>
#include <cstdlib>

namespace
{
// The report from the first private line on.
std::string PrivatePart(const std::string& report)
{
    size_t start = report.find("  IT8 Color Sequence:");
    if (start == std::string::npos)
        start = report.find("--- Quor Private IFD ---");
    return start == std::string::npos ? std::string() : report.substr(start);
}

std::string ExpectedFullReport(int scale)
{
    return "  IT8 Color Sequence: CMYK\n"
           "  IT8 CMYK Equivalent: [0x0000,0xFFFF,0x8000,0x04D2] (0.0,100.0,50.0,1.9) %\n"
           "--- Quor Private IFD ---\n"
           "  QuorTag Intf Version: (3-2)\n"
           "  Plugin  Intf Version: (7-5)\n"
           "  DIG Version: DIG 4.2.1\n"
           "  Title: Spring Catalogue\n"
           "  SourceMachine: rip-07\n"
           "  PrintTime: 2006-03-14 09:26:53\n"
           "  PsFileNum: 1\n"
           "  PsFileCount: 2\n"
           "  PsImageNum: 5\n"
           "  PsLastImage: 1\n"
           "  Color: PANTONE 186 C (Black (4))\n"
           "  Interpretation Time: 12.5 (seconds)\n"
           "  Rendering Time: 3.25 (seconds)\n"
           "  Compression Ratio: 17.75:1\n"
           "  Scale: 1:" +
           std::to_string(scale) +
           "\n"
           "  Signature: 3\n"
           "  Surface: 1\n"
           "  Imposition Tile: 700 x 500\n"
           "  Imposition Tile: (1, 0)\n"
           "  Imposition Tile Count: 2 x 1\n"
           "  Tile Orientation: Right\n"
           "  Workstyle: Perfector (2)\n"
           "  Press Sheet: (0,0)-(1000,1400)\n"
           "  Num Pages: 3\n"
           "  Index: 0, Page Number: 1, Orientation: Up (0)\n"
           "    Position: (50,100)-(400,900)\n"
           "    Bleed: (40,90)-(410,910)\n"
           "    Max Bleed: (30,80)-(420,920)\n"
           "    Bottling:   0.50 degrees about (225,4294966796)\n"
           "  Number of Source Clip Paths: 1\n"
           "    Source Clip Path #1\n"
           "    +  (    50,   100 )\n"
           "    +  (   400,   100 )\n"
           "    +  (   400,   900 )\n"
           "    +  (    50,   900 )\n"
           "  Index: 1, Page Number: 2, Orientation: Down (1)\n"
           "    Position: (450,101)-(800,899)\n"
           "    Bleed: (440,90)-(810,910)\n"
           "    Max Bleed: (430,80)-(820,920)\n"
           "    Bottling:  90.50 degrees about (625,4294966797)\n"
           "  Number of Source Clip Paths: 0\n"
           "  Index: 2, Page Number: 3, Orientation: Left (2)\n"
           "    Position: (850,102)-(1200,898)\n"
           "    Bleed: (840,90)-(1210,910)\n"
           "    Max Bleed: (830,80)-(1220,920)\n"
           "    Bottling: 180.50 degrees about (1025,4294966798)\n"
           "  Number of Source Clip Paths: 2\n"
           "    Source Clip Path #1\n"
           "    +  (   850,   102 )\n"
           "    +  (  1200,   102 )\n"
           "    +  (  1200,   898 )\n"
           "    Source Clip Path #2\n"
           "    +  (   900,   200 )\n"
           "    +  (  1000,   300 )\n";
}

class TIFX_Print : public TIFX_ScratchTest
{
protected:
    std::string Write(const KRNDirectoryInfo& info, TIFX_KRNWriterOptions options = {})
    {
        return TIFX_WritePattern(PathOf("print.tif"), info, options, 64, 64);
    }
};

TEST_F(TIFX_Print, EveryLineFormatOfAFullDirectory)
{
    TIFX_KRNWriterOptions options;
    options.compression = TIFX_KRNWriterOptions::Compression::None;
    TIFX_KRNFile file(Write(KRN_TestFullInfo(), options));
    file.Open();
    EXPECT_EQ(PrivatePart(TIFX_Report(file)), ExpectedFullReport(1));
}

// libtiff resets a handle's print method for every directory it reads; the private lines must
// still appear for the second directory and after returning to the first.
TEST_F(TIFX_Print, PrivateLinesAppearForEveryDirectoryAndAfterReturning)
{
    TIFX_KRNWriterOptions options;
    options.compression = TIFX_KRNWriterOptions::Compression::CCITTGroup4;
    options.reducedDirectory = 2;
    TIFX_KRNFile file(Write(KRN_TestFullInfo(), options));
    file.Open();
    ASSERT_TRUE(file.SetDirectory(1));
    EXPECT_EQ(PrivatePart(TIFX_Report(file)), ExpectedFullReport(8));
    ASSERT_TRUE(file.SetDirectory(2));
    EXPECT_EQ(PrivatePart(TIFX_Report(file)), ExpectedFullReport(8));
    ASSERT_TRUE(file.SetDirectory(0));
    const std::string report = TIFX_Report(file);
    // The G4 codec prints its own lines before the private ones.
    EXPECT_NE(report.find("CCITT Group 4"), std::string::npos);
    EXPECT_EQ(PrivatePart(report), ExpectedFullReport(1));
}

TEST_F(TIFX_Print, LinesNeedAllTheirFieldsPresent)
{
    namespace F = TIFX_Field;
    KRNDirectoryInfo info;
    info.intfVersion = 9; // without its minimum: no version line
    info.SetField(F::QuorTagIntfVersion);
    info.colorName = "Spot 1"; // without a colour code: code 0 is shown
    info.SetField(F::ColorStr);
    info.pressSheetTop = 1; // three of four press-sheet fields: no line
    info.pressSheetLeft = 2;
    info.pressSheetBottom = 3;
    info.SetField(F::PressSheetTop);
    info.SetField(F::PressSheetLeft);
    info.SetField(F::PressSheetBottom);
    info.impoTileOrientation = 9;
    info.SetField(F::ImpoTileOrientation);
    info.workStyle = 7;
    info.SetField(F::WorkStyle);
    info.numPages = 1;
    info.pages.resize(1);
    info.pages[0].pageNumber = 12;
    info.pages[0].posTop = 5; // position incomplete: no line
    info.SetField(F::NumPages);
    info.SetField(F::PageNumber);
    info.SetField(F::PagePosnTop);
    TIFX_KRNFile file(Write(info));
    file.Open();
    EXPECT_EQ(PrivatePart(TIFX_Report(file)), "--- Quor Private IFD ---\n"
                                              "  Color: Spot 1 (Unknown (0))\n"
                                              "  Scale: 1:1\n"
                                              "  Tile Orientation: *****\n"
                                              "  Workstyle: *** Unknown *** (7)\n"
                                              "  Num Pages: 1\n"
                                              "  Index: 0, Page Number: 12\n");
}

TEST_F(TIFX_Print, PlainTiffHasNoPrivateLines)
{
    const std::string path = PathOf("plain.tif");
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    ASSERT_NE(tif, nullptr);
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, 16);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, 16);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 16);
    uint8_t row[16] = {};
    for (uint32_t y = 0; y < 16; ++y)
        TIFFWriteScanline(tif, row, y, 0);
    TIFFClose(tif);

    TIFX_KRNFile file(path);
    file.Open();
    const std::string report = TIFX_Report(file);
    EXPECT_NE(report.find("Image Width: 16"), std::string::npos);
    EXPECT_EQ(report.find("Quor"), std::string::npos);
    EXPECT_FALSE(file.IsValidPreviewFile());
}
} // namespace
