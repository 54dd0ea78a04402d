#include "GFIL/GFIL_Directory.h"
#include "GFIL/GFIL_FileSpec.h"
#include "GFIL_TestSupport.h"

#include <cerrno>
#include <fstream>

namespace
{
namespace fs = std::filesystem;

TEST(Directory, MakeDirectoryCreatesOneLevel)
{
    GFIL_ScratchFolder folder;
    MakeDirectory(GFIL_FileSpec(folder.Wide("jobs")));
    EXPECT_TRUE(fs::is_directory(folder.Path() / "jobs"));
}

TEST(Directory, MakeDirectoryFailuresNameThePathUnquoted)
{
    GFIL_ScratchFolder folder;
    fs::create_directory(folder.Path() / "there");
    EXPECT_FILE_ERROR(MakeDirectory(GFIL_FileSpec(folder.Wide("there"))), GFIL_ERR_MAKE_DIRECTORY,
                      "Failed to create the directory " + (folder.Path() / "there").string() +
                          "; " + SysText(EEXIST));
    EXPECT_FILE_ERROR(MakeDirectory(GFIL_FileSpec(folder.Wide("a/b"))), GFIL_ERR_MAKE_DIRECTORY,
                      "Failed to create the directory " + (folder.Path() / "a/b").string() + "; " +
                          SysText(ENOENT));
}

TEST(Directory, EnsureDirectoryCreatesMissingAncestors)
{
    GFIL_ScratchFolder folder;
    const GFIL_FileSpec deep(folder.Wide("one/two/three"));
    EnsureDirectory(deep);
    EXPECT_TRUE(fs::is_directory(folder.Path() / "one"));
    EXPECT_TRUE(fs::is_directory(folder.Path() / "one/two"));
    EXPECT_TRUE(fs::is_directory(folder.Path() / "one/two/three"));
    // Already there: nothing to do, nothing thrown.
    EXPECT_NO_THROW(EnsureDirectory(deep));
    EXPECT_NO_THROW(EnsureDirectory(GFIL_FileSpec(L"/")));
}

TEST(Directory, EnsureDirectoryDoesNotTakeAFileForAFolder)
{
    GFIL_ScratchFolder folder;
    std::ofstream(folder.Path() / "plain") << "x";
    const std::string failed = "Failed to create the directory " +
                               (folder.Path() / "plain").string() + "; " + SysText(EEXIST);
    EXPECT_FILE_ERROR(EnsureDirectory(GFIL_FileSpec(folder.Wide("plain"))), GFIL_ERR_MAKE_DIRECTORY,
                      failed);
    EXPECT_FILE_ERROR(EnsureDirectory(GFIL_FileSpec(folder.Wide("plain/sub/deeper"))),
                      GFIL_ERR_MAKE_DIRECTORY, failed);
    EXPECT_TRUE(fs::is_regular_file(folder.Path() / "plain"));
}
} // namespace
