// Replacing a file the safe way: a save killed half way leaves the old file whole and a
// temporary that the next save removes; permissions of the old file and symbolic links survive;
// a temporary still held by a save, another user's file or a name no save makes is never removed.

#include "GFIL/GFIL_SafeSave.h"
#include "GFIL_TestSupport.h"

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <sys/file.h>
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

    // A temporary whose lock is held is somebody's save in progress: left alone.
    const fs::path live =
        folder.Path() / ("Custom.colordb.tmp-" + std::to_string(::getppid()) + "-1");
    std::ofstream(live) << "in progress";
    const int held = ::open(live.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
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
    ::close(held);
}

// Whether a save is alive is told by its lock alone: a process number means nothing for a save
// made on another machine sharing the folder, or in a sandbox with numbers of its own. And in a
// folder shared with others only exactly the names a save makes, of this user's regular files,
// are candidates at all.
TEST(SafeSave, StaleTemporariesAreToldByTheirLockAndTheirExactName)
{
    GFIL_ScratchFolder folder;
    const fs::path file = folder.Path() / "Varnex.conf";
    Save(file, "old");
    const std::string prefix = "Varnex.conf.tmp-";
    const auto make = [&](const std::string& name)
    {
        std::ofstream(folder.Path() / name) << "x";
        return folder.Path() / name;
    };

    // Held by a save whose process number does not run here: alive.
    const fs::path remote = make(prefix + "4000001-7");
    const int held = ::open(remote.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    // Not held, though its process number runs (reused, or a sandbox's): stale.
    make(prefix + std::to_string(::getppid()) + "-3");
    make(prefix + "12-1");
    // Names no save makes.
    const std::vector<std::string> foreignNames = {
        prefix + " 99994-x", prefix + "+99993-y", prefix + "2147483648-neg", prefix + "0123-1",
        prefix + "99-",      prefix + "-5",       prefix + "77-1-x",         prefix + "77-01"};
    for (const std::string& name : foreignNames)
        make(name);
    // Exact names, but a folder, a symbolic link (to a file that must survive) and a FIFO.
    fs::create_directory(folder.Path() / (prefix + "55-1"));
    const fs::path elsewhere = make("elsewhere");
    fs::create_symlink(elsewhere, folder.Path() / (prefix + "55-2"));
    ASSERT_EQ(::mkfifo((folder.Path() / (prefix + "55-3")).c_str(), 0600), 0);
    std::vector<std::string> expected = foreignNames;
    expected.insert(expected.end(),
                    {prefix + "4000001-7", prefix + "55-1", prefix + "55-2", prefix + "55-3"});
    // Another user's file with an exact name, where this user may give files away.
    const fs::path others = make(prefix + "66-1");
    if (::chown(others.c_str(), 65534, 65534) == 0)
        expected.push_back(prefix + "66-1");

    Save(file, "new");
    EXPECT_EQ(ReadAll(file), "new");
    std::vector<std::string> left = Temporaries(folder.Path());
    std::sort(left.begin(), left.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(left, expected);
    EXPECT_TRUE(fs::exists(elsewhere));

    // Once its save has ended, the held one goes with the next save.
    ::close(held);
    EXPECT_EQ(GFIL_SafeSave::RemoveStaleTemporaries(file.string()), 1);
    EXPECT_FALSE(fs::exists(remote));
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

    // Links that lead nowhere: round in a circle (kept as links, not replaced by a file), and
    // into a folder that does not exist.
    fs::create_symlink("loop-b", folder.Path() / "loop-a");
    fs::create_symlink("loop-a", folder.Path() / "loop-b");
    fs::create_symlink("missing/folder/x.conf", folder.Path() / "dangling.conf");
    for (const char* name : {"loop-a", "dangling.conf"})
    {
        try
        {
            Save(folder.Path() / name, "x");
            ADD_FAILURE() << name << " was written";
        }
        catch (const std::system_error& e)
        {
            EXPECT_NE(std::string(e.what()).find("cannot save"), std::string::npos);
            EXPECT_NE(e.code().value(), 0) << name;
        }
        EXPECT_TRUE(fs::is_symlink(folder.Path() / name)) << name;
    }
    EXPECT_TRUE(Temporaries(folder.Path()).empty());
}
} // namespace
