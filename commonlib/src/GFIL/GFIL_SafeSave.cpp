#include "GFIL/GFIL_SafeSave.h"

#ifndef _WIN32

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

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

// A plain decimal number: one or more digits, no sign, no leading zero, at most `maxDigits`.
bool IsPlainNumber(const std::string& text, std::size_t maxDigits)
{
    if (text.empty() || text.size() > maxDigits || (text[0] == '0' && text.size() > 1))
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Takes the save's lock of the open temporary without waiting.
bool Lock(int fd)
{
    int result = 0;
    do
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    while (result != 0 && errno == EINTR);
    return result == 0;
}

// Whether `fd` is still the file that `path` names (not removed or replaced meanwhile).
bool StillNamed(int fd, const std::string& path)
{
    struct stat opened
    {
    };
    struct stat named
    {
    };
    return ::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 &&
           SameFile(opened, named);
}

// Removes one temporary when it is a regular file of this user that no save holds.
bool RemoveIfStale(const std::string& path)
{
    struct stat named
    {
    };
    if (::lstat(path.c_str(), &named) != 0 || !S_ISREG(named.st_mode) ||
        named.st_uid != ::geteuid())
        return false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat opened
    {
    };
    // The lock is held while the name is checked and removed, so that a save cannot take the
    // file up in between; a name that meanwhile points elsewhere is left alone.
    const bool removed = ::fstat(fd, &opened) == 0 && SameFile(opened, named) && Lock(fd) &&
                         StillNamed(fd, path) && ::unlink(path.c_str()) == 0;
    ::close(fd);
    return removed;
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

bool GFIL_SafeSave::IsTemporaryName(const std::string& name, const std::string& prefix)
{
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
        return false;
    const std::string rest = name.substr(prefix.size());
    const std::size_t dash = rest.find('-');
    if (dash == std::string::npos)
        return false;
    // Process numbers stay below 2^22 on this platform, serials are unsigned.
    return IsPlainNumber(rest.substr(0, dash), 7) && IsPlainNumber(rest.substr(dash + 1), 10);
}

int GFIL_SafeSave::RemoveStaleTemporaries(const std::string& target)
{
    const std::string prefix = NameOf(TemporaryPrefix(target));
    const std::string folder = FolderOf(target);
    DIR* directory = ::opendir(folder.c_str());
    if (!directory)
        return 0;
    std::vector<std::string> candidates;
    while (const dirent* entry = ::readdir(directory))
        if (IsTemporaryName(entry->d_name, prefix))
            candidates.push_back(folder + "/" + entry->d_name);
    ::closedir(directory);
    int removed = 0;
    for (const std::string& path : candidates)
        if (RemoveIfStale(path))
            ++removed;
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
    // A link that leads nowhere but round in circles: replacing it would lose the link.
    if (!exists && errno == ELOOP)
        fail(ELOOP);
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
        // Between the creation and the lock another save's clean-up may have taken the new file
        // for a stale one; then the name is tried again with the next serial.
        if (fd >= 0 && (!Lock(fd) || !StillNamed(fd, temporary)))
        {
            ::close(fd);
            fd = -1;
        }
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
    // A writer that saves by path may have replaced the temporary with a file of its own: the
    // flush, the permissions and the lock go to what is there now. The lock of the first file is
    // let go only once the second one holds it, and the lock is held until the rename.
    if (!StillNamed(fd, temporary))
    {
        const int replaced = ::open(temporary.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (replaced < 0 || !Lock(replaced))
        {
            const int error = errno;
            if (replaced >= 0)
                ::close(replaced);
            abandon(error);
        }
        ::close(fd);
        fd = replaced;
    }
    if (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0)
        abandon(errno);
    if (exists && (old.st_uid != ::geteuid() || old.st_gid != ::getegid()))
        (void)::fchown(fd, old.st_uid, old.st_gid); // kept where we may; else ours
    if (::rename(temporary.c_str(), target.c_str()) != 0)
        abandon(errno);
    // The data reached the disk with the fsync; a late error of close changes nothing now.
    ::close(fd);
    fd = -1;
    SyncFolder(FolderOf(target));
}

void GFIL_SafeSave::ReplaceWith(const std::string& target, const void* bytes, std::size_t size,
                                const std::string& failureText)
{
    const auto* data = static_cast<const unsigned char*>(bytes);
    Replace(
        target,
        [&](int fd, const std::string&)
        {
            std::size_t done = 0;
            while (done < size)
            {
                const ssize_t n = ::write(fd, data + done, size - done);
                if (n < 0 && errno == EINTR)
                    continue;
                if (n <= 0)
                    return false;
                done += static_cast<std::size_t>(n);
            }
            return true;
        },
        failureText);
}

#endif
