// The colour decision reading a real preview file: what the reader can and cannot give, and that
// nothing it throws escapes.

#include "IMPN/IMPN_ColorDecision.h"
#include "TIFX/TIFX_KRNFile.h"
#include "TIFX/TIFX_KRNWriter.h"
#include "TIFX/TIFX_Tags.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <tiffio.h>
#include <unistd.h>
#include <vector>

namespace
{
std::filesystem::path ScratchFolder()
{
    const char* root = std::getenv("KRN_TEST_TMP");
    std::filesystem::path base = root != nullptr && root[0] != '\0'
                                     ? std::filesystem::path(root)
                                     : std::filesystem::temp_directory_path();
    const auto folder = base / ("color-decision-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    return folder;
}

// A one-bit tiled TIFF that names its ink in InkNames, written with libtiff alone.
std::string WriteInkNamesTiff(const std::string& name, const std::string& inkName)
{
    const std::string path = (ScratchFolder() / name).string();
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    EXPECT_NE(tif, nullptr);
    if (tif == nullptr)
        return path;
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, 16u);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, 16u);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_TILEWIDTH, 16u);
    TIFFSetField(tif, TIFFTAG_TILELENGTH, 16u);
    // libtiff takes the byte count including the terminating NUL.
    TIFFSetField(tif, TIFFTAG_INKNAMES, static_cast<int>(inkName.size() + 1), inkName.c_str());
    std::vector<std::uint8_t> tile(TIFFTileSize(tif), 0);
    TIFFWriteTile(tif, tile.data(), 0, 0, 0, 0);
    TIFFClose(tif);
    return path;
}

std::string WritePreviewWithCMYK(const std::string& name)
{
    KRNDirectoryInfo info;
    info.title = "Job";
    info.SetField(TIFX_Field::Title);
    info.colorName = "PANTONE 185";
    info.SetField(TIFX_Field::ColorStr);
    info.cmykEquivalent[0] = 0;
    info.cmykEquivalent[1] = 65535;
    info.cmykEquivalent[2] = 0;
    info.cmykEquivalent[3] = 0;
    info.SetField(TIFX_Field::CMYKEquivalent);
    TIFX_KRNWriter writer;
    writer.SetMainBitmap(64, 64, std::vector<std::uint8_t>(8 * 64, 0));
    writer.SetDirectoryInfo(info);
    const std::string path = (ScratchFolder() / name).string();
    writer.Write(path);
    return path;
}

class ColorDecisionFile : public ::testing::Test
{
protected:
    ColorDecisionFile()
    {
        IMPN_ColorDatabase library;
        library.Set("PANTONE 185 C", IMPN_ColorEntry::FromBGR(named185c));
        databases.SetNamedColors(library);
    }

    IMPN_ColorDatabases databases;
    IMPN_ColorBGR named185c = IMPN_MakeColorBGR(200, 16, 46);
};
} // namespace

TEST_F(ColorDecisionFile, UnreadableFileLeavesTheNamesToDecide)
{
    TIFX_KRNFile file((ScratchFolder() / "no-such-file.tif").string());
    const auto r = IMPN_ColorDecision::DecideForFile(file, "PANTONE 185", databases);
    EXPECT_FALSE(r.hasCMYKEquivalent);
    EXPECT_EQ(r.color.color, named185c);
    EXPECT_EQ(r.color.name, "?");

    const auto unknown = IMPN_ColorDecision::DecideForFile(file, "Spot 9", databases);
    EXPECT_TRUE(unknown.color.isDefault);
    EXPECT_EQ(unknown.color.name, "Spot 9");
}

TEST_F(ColorDecisionFile, InkNameFromTheFileNamesTheNamedColour)
{
    TIFX_KRNFile file(WriteInkNamesTiff("inknames.tif", "PANTONE 185 C"));
    const auto r = IMPN_ColorDecision::DecideForFile(file, "PANTONE 185", databases);
    // No CMYK equivalent in this file: the named colour decides, under the file's ink name.
    EXPECT_FALSE(r.hasCMYKEquivalent);
    EXPECT_EQ(r.color.color, named185c);
    EXPECT_EQ(r.color.name, "PANTONE 185 C");
}

TEST_F(ColorDecisionFile, CMYKEquivalentWithoutInkNameIsNotUsed)
{
    TIFX_KRNFile file(WritePreviewWithCMYK("cmyk-no-inknames.tif"));
    file.Open();
    ASSERT_NO_THROW(file.GetCMYKEquivalent());
    // Left in another directory by an earlier reader: the decision reads directory 0.
    file.SetDirectory(1);
    const auto r = IMPN_ColorDecision::DecideForFile(file, "PANTONE 185", databases);
    EXPECT_FALSE(r.hasCMYKEquivalent);
    EXPECT_EQ(r.color.color, named185c);
    EXPECT_EQ(r.color.name, "?");
}
