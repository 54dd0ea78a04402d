// Replacing a file the safe way: a save killed half way leaves the old file whole and a
// temporary that the next save removes; permissions of the old file and symbolic links survive.

#include "GFIL/GFIL_SafeSave.h"
#include "GFIL_TestSupport.h"

#include <algorithm>
#include <csignal>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <system_error>

namespace
{
namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void Save(const fs::path& path, const std::string& text)
{
    GFIL_SafeSave::Replace(
        path.string(),
        [&](int fd, const std::string&)
        { return ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()); },
        "cannot save");
}

std::vector<std::string> Temporaries(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().find(".tmp-") != std::string::npos)
            names.push_back(entry.path().filename().string());
    return names;
}

TEST(SafeSave, SaveKilledHalfWayKeepsTheOldFileAndTheNextSaveCleansUp)
{
    GFIL_ScratchFolder folder;
    const fs::path file = folder.Path() / "Custom.colordb";
    Save(file, "old content");

    // The child writes half of the new content, tells the parent, and waits to be killed.
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0)
    {
        ::close(ready[0]);
        GFIL_SafeSave::Replace(
            file.string(),
            [&](int fd, const std::string&)
            {
                (void)!::write(fd, "new co", 6);
                (void)!::write(ready[1], "x", 1);
                for (;;)
                    ::pause();
                return true;
            },
            "cannot save");
        ::_exit(0);
    }
    ::close(ready[1]);
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::close(ready[0]);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);

    EXPECT_EQ(ReadAll(file), "old content");
    ASSERT_EQ(Temporaries(folder.Path()).size(), 1u);

    // A temporary of a process still running is somebody's save in progress: left alone.
    const fs::path live =
        folder.Path() / ("Custom.colordb.tmp-" + std::to_string(::getppid()) + "-1");
    std::ofstream(live) << "in progress";
    // Another file's temporaries and names that merely look alike are not ours to remove.
    std::ofstream(folder.Path() / "Other.colordb.tmp-999999999-1") << "x";
    std::ofstream(folder.Path() / "Custom.colordb.tmp-notes") << "x";

    Save(file, "new content");
    EXPECT_EQ(ReadAll(file), "new content");
    std::vector<std::string> left = Temporaries(folder.Path());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{
                        "Custom.colordb.tmp-" + std::to_string(::getppid()) + "-1",
                        "Custom.colordb.tmp-notes", "Other.colordb.tmp-999999999-1"}));
}

TEST(SafeSave, PermissionsAndSymbolicLinksOfTheOldFileSurvive)
{
    GFIL_ScratchFolder folder;
    fs::create_directory(folder.Path() / "real");
    const fs::path real = folder.Path() / "real" / "Varnex.conf";
    Save(real, "first");
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    // A relative link from another folder, as a dotfile manager makes them.
    const fs::path link = folder.Path() / "Varnex.conf";
    fs::create_symlink("real/Varnex.conf", link);

    Save(link, "second");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadAll(real), "second");
    struct stat st
    {
    };
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_TRUE(Temporaries(folder.Path()).empty());
    EXPECT_TRUE(Temporaries(folder.Path() / "real").empty());

    // A link to a file not there yet makes that file; a new file takes the usual permissions.
    const fs::path dangling = folder.Path() / "later.conf";
    fs::create_symlink("real/later.conf", dangling);
    Save(dangling, "made");
    EXPECT_TRUE(fs::is_symlink(dangling));
    EXPECT_EQ(ReadAll(folder.Path() / "real" / "later.conf"), "made");
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ASSERT_EQ(::stat((folder.Path() / "real" / "later.conf").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0666u & ~mask);
}

TEST(SafeSave, FailedWritesLeaveTheOldFileAndNoTemporary)
{
    GFIL_ScratchFolder folder;
    const fs::path file = folder.Path() / "a.colordb";
    Save(file, "kept");
    EXPECT_THROW(GFIL_SafeSave::Replace(
                     file.string(),
                     [](int, const std::string&)
                     {
                         errno = ENOSPC;
                         return false;
                     },
                     "cannot save"),
                 std::system_error);
    EXPECT_EQ(ReadAll(file), "kept");
    EXPECT_TRUE(Temporaries(folder.Path()).empty());

    // A folder where the file should be is not replaced.
    fs::create_directory(folder.Path() / "dir.colordb");
    EXPECT_THROW(Save(folder.Path() / "dir.colordb", "x"), std::system_error);
    EXPECT_TRUE(fs::is_directory(folder.Path() / "dir.colordb"));
    EXPECT_TRUE(Temporaries(folder.Path()).empty());
}
} // namespace
