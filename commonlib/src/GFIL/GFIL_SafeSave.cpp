#include "GFIL/GFIL_SafeSave.h"

#ifndef _WIN32

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace
{
std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool ProcessRuns(pid_t pid)
{
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

// Flushes the folder's entries, so that a rename inside it outlives a power cut.
void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}
} // namespace

std::string GFIL_SafeSave::TemporaryPrefix(const std::string& target)
{
    return target + ".tmp-";
}

std::string GFIL_SafeSave::ResolveTarget(const std::string& path)
{
    std::string current = path;
    // As many links as the kernel itself follows; a longer chain is a loop.
    for (int hop = 0; hop < 40; ++hop)
    {
        struct stat status
        {
        };
        if (::lstat(current.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
            return current;
        std::string link(PATH_MAX, '\0');
        const ssize_t n = ::readlink(current.c_str(), link.data(), link.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= link.size())
            return path;
        link.resize(static_cast<std::size_t>(n));
        current = link[0] == '/' ? link : FolderOf(current) + "/" + link;
    }
    return path;
}

int GFIL_SafeSave::RemoveStaleTemporaries(const std::string& target)
{
    const std::string prefix = NameOf(TemporaryPrefix(target));
    const std::string folder = FolderOf(target);
    DIR* directory = ::opendir(folder.c_str());
    if (!directory)
        return 0;
    int removed = 0;
    while (const dirent* entry = ::readdir(directory))
    {
        const std::string name = entry->d_name;
        if (name.compare(0, prefix.size(), prefix) != 0)
            continue;
        // "<prefix><pid>-<serial>", and whatever a writer that saves by path adds behind it.
        char* end = nullptr;
        const long pid = std::strtol(name.c_str() + prefix.size(), &end, 10);
        if (end == name.c_str() + prefix.size() || *end != '-' || pid <= 0)
            continue;
        if (pid == ::getpid() || ProcessRuns(static_cast<pid_t>(pid)))
            continue;
        if (::unlink((folder + "/" + name).c_str()) == 0)
            ++removed;
    }
    ::closedir(directory);
    return removed;
}

void GFIL_SafeSave::Replace(const std::string& path, const Writer& write,
                            const std::string& failureText)
{
    auto fail = [&](int error)
    { throw std::system_error(error, std::generic_category(), failureText); };

    const std::string target = ResolveTarget(path);
    RemoveStaleTemporaries(target);

    struct stat old
    {
    };
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode))
        fail(S_ISDIR(old.st_mode) ? EISDIR : EINVAL);
    mode_t mode = 0;
    if (exists)
        mode = old.st_mode & 07777;
    else
    {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }

    static unsigned serial = 0;
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt)
    {
        temporary =
            TemporaryPrefix(target) + std::to_string(::getpid()) + "-" + std::to_string(++serial);
        // Private until complete; it takes the old file's permissions just before the rename.
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST)
            fail(errno);
    }
    if (fd < 0)
        fail(EEXIST);

    auto abandon = [&](int error)
    {
        if (fd >= 0)
            ::close(fd);
        ::unlink(temporary.c_str());
        fail(error == 0 ? EIO : error);
    };
    errno = 0;
    if (!write(fd, temporary))
        abandon(errno);
    if (::close(fd) != 0)
    {
        fd = -1;
        abandon(errno);
    }
    // A writer that saves by path may have replaced the temporary with a file of its own: the
    // flush and the permissions go to what is there now.
    fd = ::open(temporary.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::fchmod(fd, mode) != 0 || ::fsync(fd) != 0)
        abandon(errno);
    if (exists && (old.st_uid != ::geteuid() || old.st_gid != ::getegid()))
        (void)::fchown(fd, old.st_uid, old.st_gid); // kept where we may; else ours
    ::close(fd);
    fd = -1;
    if (::rename(temporary.c_str(), target.c_str()) != 0)
        abandon(errno);
    SyncFolder(FolderOf(target));
}

#endif
