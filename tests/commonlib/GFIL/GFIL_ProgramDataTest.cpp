#include "GFIL/GFIL_ProgramData.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <unistd.h>

namespace
{
std::filesystem::path ScratchFolder(const std::string& name)
{
    const char* root = std::getenv("KRN_TEST_TMP");
    std::filesystem::path base = root != nullptr && root[0] != '\0'
                                     ? std::filesystem::path(root)
                                     : std::filesystem::temp_directory_path();
    const auto folder = base / ("programdata-" + std::to_string(::getpid())) / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

void WriteRaw(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}
} // namespace

TEST(GFIL_ProgramData, BesideTheExecutableThenInstalledShare)
{
    const auto root = ScratchFolder("program");
    std::filesystem::create_directories(root / "bin");
    std::filesystem::create_directories(root / "share" / "quorkrn");
    EXPECT_FALSE(GFIL_ProgramData::Find(root / "bin", "Pantone.colordb"));

    WriteRaw(root / "share" / "quorkrn" / "Pantone.colordb", "x");
    EXPECT_EQ(GFIL_ProgramData::Find(root / "bin", "Pantone.colordb"),
              (root / "share" / "quorkrn" / "Pantone.colordb").lexically_normal());
    WriteRaw(root / "bin" / "Pantone.colordb", "x");
    EXPECT_EQ(GFIL_ProgramData::Find(root / "bin", "Pantone.colordb"),
              (root / "bin" / "Pantone.colordb").lexically_normal());

    const auto exe = GFIL_ProgramData::ExecutableFolder();
    ASSERT_TRUE(exe.has_value());
    EXPECT_TRUE(std::filesystem::is_directory(*exe));
}

TEST(GFIL_ProgramData, AFolderOfTheNameIsNotTheFile)
{
    // A folder called like the file beside the program does not hide the installed file.
    const auto root = ScratchFolder("folder");
    std::filesystem::create_directories(root / "bin" / "splash.png");
    std::filesystem::create_directories(root / "share" / "quorkrn");
    EXPECT_FALSE(GFIL_ProgramData::Find(root / "bin", "splash.png"));
    WriteRaw(root / "share" / "quorkrn" / "splash.png", "x");
    EXPECT_EQ(GFIL_ProgramData::Find(root / "bin", "splash.png"),
              (root / "share" / "quorkrn" / "splash.png").lexically_normal());
}
