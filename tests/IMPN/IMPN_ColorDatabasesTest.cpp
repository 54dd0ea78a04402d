// Start-up loading of the named and custom colours, storing and saving custom colours, and the
// folders they come from.

#include "IMPN/IMPN_ColorDatabases.h"

#include "IMPN/IMPN_ColorDatabasePaths.h"
#include "KRN_TestFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <unistd.h>

namespace
{
std::filesystem::path ScratchFolder(const std::string& name)
{
    return KRN_TestNamedFolder("colordbs", name);
}

void WriteRaw(const std::filesystem::path& path, const std::string& bytes)
{
    KRN_TestWriteBytes(path, bytes);
}

std::string ReadRaw(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

IMPN_ColorBGR RGB(int r, int g, int b)
{
    return IMPN_MakeColorBGR(static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                             static_cast<std::uint8_t>(b));
}
} // namespace

TEST(ColorDatabases, BuiltInsAndDefaults)
{
    IMPN_ColorDatabases dbs;
    EXPECT_EQ(dbs.NamedColors().Size(), 7u);
    EXPECT_EQ(dbs.LookUpNamedColor("cyan"), RGB(0, 175, 240));
    EXPECT_EQ(dbs.LookUpNamedColor("BLACK"), RGB(0, 0, 0));
    EXPECT_EQ(dbs.LookUpNamedColor("Red"), RGB(255, 0, 0));
    EXPECT_EQ(dbs.LookUpNamedColor("green"), RGB(0, 255, 0));
    EXPECT_EQ(dbs.LookUpNamedColor("Blue"), RGB(0, 0, 255));
    EXPECT_EQ(dbs.NamedColors().Find("Yellow")->Space(), IMPN_ColorSpace::CMYK);
    EXPECT_FALSE(dbs.LookUpNamedColor("Orange").has_value());
    EXPECT_EQ(dbs.DefaultColor(), RGB(153, 153, 153));
    EXPECT_TRUE(dbs.CustomColors().Empty());
    EXPECT_FALSE(dbs.CustomColorsFile().has_value());
}

TEST(ColorDatabases, NamedColorsLoadTheLibraryAfterTheBuiltIns)
{
    const auto folder = ScratchFolder("named");
    IMPN_ColorDatabase library;
    library.Set("PANTONE 185 C", *IMPN_ColorEntry::FromLab(49.5, 72.25, 43.5));
    library.Set("CYAN", IMPN_ColorEntry::FromBGR(RGB(1, 2, 3)));
    IMPN_ColorDatabaseFile::Write(folder / "Pantone.colordb", library);

    IMPN_ColorDatabases dbs;
    auto result = dbs.LoadNamedColors(folder / "Pantone.colordb");
    EXPECT_EQ(result.status, IMPN_ColorDatabaseFile::Status::Complete);
    EXPECT_EQ(dbs.NamedColors().Size(), 8u);
    EXPECT_EQ(dbs.LookUpNamedColor("pantone 185 c"), RGB(231, 25, 48));
    // The library may refine a built-in.
    EXPECT_EQ(dbs.LookUpNamedColor("Cyan"), RGB(1, 2, 3));

    // Loading again starts over from the built-ins: a missing or foreign file leaves only them.
    result = dbs.LoadNamedColors(folder / "missing.colordb");
    EXPECT_EQ(result.status, IMPN_ColorDatabaseFile::Status::Missing);
    EXPECT_EQ(dbs.NamedColors().Size(), 7u);
    EXPECT_EQ(dbs.LookUpNamedColor("Cyan"), RGB(0, 175, 240));
    WriteRaw(folder / "foreign.colordb", std::string("RIFF\x01\0\0\0\x01\0\0\0", 12));
    EXPECT_EQ(dbs.LoadNamedColors(folder / "foreign.colordb").status,
              IMPN_ColorDatabaseFile::Status::Rejected);
    EXPECT_EQ(dbs.NamedColors().Size(), 7u);
    dbs.LoadNamedColors(std::nullopt);
    EXPECT_EQ(dbs.NamedColors().Size(), 7u);
}

TEST(ColorDatabases, FirstRunCreatesTheFolderAndAnEmptyCustomFile)
{
    const auto folder = ScratchFolder("first-run") / "Quor" / "Varnex";
    IMPN_ColorDatabases dbs;
    const auto result = dbs.LoadCustomColors(folder);
    EXPECT_EQ(result.status, IMPN_ColorDatabaseFile::Status::Missing);
    ASSERT_TRUE(dbs.CustomColorsFile().has_value());
    EXPECT_EQ(*dbs.CustomColorsFile(), folder / "Custom.colordb");
    EXPECT_EQ(ReadRaw(folder / "Custom.colordb"), std::string("BDCC\x01\0\0\0\0\0\0\0", 12));
    EXPECT_TRUE(dbs.CustomColors().Empty());
}

TEST(ColorDatabases, CustomColorsStoreSaveAndReload)
{
    const auto folder = ScratchFolder("custom");
    IMPN_ColorDatabases dbs;
    dbs.LoadCustomColors(folder);

    EXPECT_TRUE(dbs.StoreCustomColor("Varnish", RGB(10, 20, 30)));
    EXPECT_TRUE(dbs.StoreCustomColor("VARNISH", RGB(40, 50, 60)));
    // Never over a named colour, in any letter case.
    EXPECT_FALSE(dbs.StoreCustomColor("magenta", RGB(1, 1, 1)));
    EXPECT_TRUE(dbs.StoreCustomColor("Die Cut", RGB(0, 0, 0)));
    EXPECT_EQ(dbs.CustomColors().Size(), 2u);
    EXPECT_EQ(dbs.LookUpCustomColor("varnish"), RGB(40, 50, 60));
    dbs.SaveCustomColors();

    IMPN_ColorDatabases again;
    const auto result = again.LoadCustomColors(folder);
    EXPECT_EQ(result.status, IMPN_ColorDatabaseFile::Status::Complete);
    EXPECT_EQ(again.CustomColors(), dbs.CustomColors());
    EXPECT_EQ(again.CustomColors().Find("Varnish")->Space(), IMPN_ColorSpace::RGB);

    again.RemoveCustomColor("die cut");
    again.SaveCustomColors();
    IMPN_ColorDatabases third;
    third.LoadCustomColors(folder);
    EXPECT_EQ(third.CustomColors().Size(), 1u);
    third.ClearCustomColors();
    // A folder removed during the run is made again.
    std::filesystem::remove_all(folder);
    third.SaveCustomColors();
    IMPN_ColorDatabases fourth;
    fourth.LoadCustomColors(folder);
    EXPECT_TRUE(fourth.CustomColors().Empty());
}

TEST(ColorDatabases, NoUserFolderMeansNoCustomFile)
{
    IMPN_ColorDatabases dbs;
    dbs.LoadCustomColors(std::nullopt);
    EXPECT_FALSE(dbs.CustomColorsFile().has_value());
    // Kept for the run, never written anywhere.
    EXPECT_TRUE(dbs.StoreCustomColor("Varnish", RGB(1, 2, 3)));
    EXPECT_NO_THROW(dbs.SaveCustomColors());
    EXPECT_EQ(dbs.LookUpCustomColor("Varnish"), RGB(1, 2, 3));
}

TEST(ColorDatabases, UnreadableCustomFileIsKeptBeforeItIsOverwritten)
{
    const auto folder = ScratchFolder("foreign-custom");
    // A later format version: not read, but not to be destroyed either.
    const std::string foreign("BDCC\x02\0\0\0\x05\0\0\0future", 18);
    WriteRaw(folder / "Custom.colordb", foreign);

    IMPN_ColorDatabases dbs;
    EXPECT_EQ(dbs.LoadCustomColors(folder).status, IMPN_ColorDatabaseFile::Status::Rejected);
    EXPECT_TRUE(dbs.CustomColors().Empty());
    EXPECT_EQ(ReadRaw(folder / "Custom.colordb"), foreign);

    dbs.StoreCustomColor("Varnish", RGB(1, 2, 3));
    dbs.SaveCustomColors();
    EXPECT_EQ(ReadRaw(folder / "Custom.colordb.bak"), foreign);
    IMPN_ColorDatabases again;
    EXPECT_EQ(again.LoadCustomColors(folder).status, IMPN_ColorDatabaseFile::Status::Complete);
    EXPECT_EQ(again.LookUpCustomColor("Varnish"), RGB(1, 2, 3));
}

TEST(ColorDatabases, TruncatedCustomFileKeepsWhatWasRead)
{
    const auto folder = ScratchFolder("truncated-custom");
    IMPN_ColorDatabase db;
    db.Set("A", IMPN_ColorEntry::FromBGR(RGB(1, 1, 1)));
    db.Set("B", IMPN_ColorEntry::FromBGR(RGB(2, 2, 2)));
    auto bytes = IMPN_ColorDatabaseFile::Serialize(db);
    bytes.resize(bytes.size() - 5);
    WriteRaw(folder / "Custom.colordb", std::string(bytes.begin(), bytes.end()));

    IMPN_ColorDatabases dbs;
    EXPECT_EQ(dbs.LoadCustomColors(folder).status, IMPN_ColorDatabaseFile::Status::Incomplete);
    EXPECT_EQ(dbs.CustomColors().Size(), 1u);
    EXPECT_EQ(dbs.LookUpCustomColor("a"), RGB(1, 1, 1));
}

TEST(ColorDatabasePaths, UserDataFolderFollowsTheEnvironment)
{
    using Paths = IMPN_ColorDatabasePaths;
    EXPECT_EQ(Paths::UserDataFolder("/xdg", "/home/u"), std::filesystem::path("/xdg/Quor/Varnex"));
    EXPECT_EQ(Paths::UserDataFolder(nullptr, "/home/u"),
              std::filesystem::path("/home/u/.local/share/Quor/Varnex"));
    EXPECT_EQ(Paths::UserDataFolder("", "/home/u"),
              std::filesystem::path("/home/u/.local/share/Quor/Varnex"));
    EXPECT_EQ(Paths::UserDataFolder("relative", "/home/u"),
              std::filesystem::path("/home/u/.local/share/Quor/Varnex"));
    EXPECT_FALSE(Paths::UserDataFolder(nullptr, nullptr).has_value());
    EXPECT_FALSE(Paths::UserDataFolder("", "").has_value());
}
