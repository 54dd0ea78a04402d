#include "GFIL/GFIL_ProgramData.h"

#include "KRN_TestFolder.h"

#include <gtest/gtest.h>

TEST(GFIL_ProgramData, BesideTheExecutableThenInstalledShare)
{
    const auto root = KRN_TestNamedFolder("programdata", "program");
    std::filesystem::create_directories(root / "bin");
    std::filesystem::create_directories(root / "share" / "quorkrn");
    EXPECT_FALSE(GFIL_ProgramData::Find(root / "bin", "Pantone.colordb"));

    KRN_TestWriteBytes(root / "share" / "quorkrn" / "Pantone.colordb", "x");
    EXPECT_EQ(GFIL_ProgramData::Find(root / "bin", "Pantone.colordb"),
              (root / "share" / "quorkrn" / "Pantone.colordb").lexically_normal());
    KRN_TestWriteBytes(root / "bin" / "Pantone.colordb", "x");
    EXPECT_EQ(GFIL_ProgramData::Find(root / "bin", "Pantone.colordb"),
              (root / "bin" / "Pantone.colordb").lexically_normal());

    const auto exe = GFIL_ProgramData::ExecutableFolder();
    ASSERT_TRUE(exe.has_value());
    EXPECT_TRUE(std::filesystem::is_directory(*exe));
}

TEST(GFIL_ProgramData, AFolderOfTheNameIsNotTheFile)
{
    // A folder called like the file beside the program does not hide the installed file.
    const auto root = KRN_TestNamedFolder("programdata", "folder");
    std::filesystem::create_directories(root / "bin" / "splash.png");
    std::filesystem::create_directories(root / "share" / "quorkrn");
    EXPECT_FALSE(GFIL_ProgramData::Find(root / "bin", "splash.png"));
    KRN_TestWriteBytes(root / "share" / "quorkrn" / "splash.png", "x");
    EXPECT_EQ(GFIL_ProgramData::Find(root / "bin", "splash.png"),
              (root / "share" / "quorkrn" / "splash.png").lexically_normal());
}
