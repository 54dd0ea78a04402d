#ifndef _WIN32

#include "GFIL/GFIL_FileSystemPosix.h"

#include "GFIL/GFIL_Messages.h"
#include "GFIL/GFIL_PathPosix.h"
#include "GLIB/GLIB_Exception.h"
#include "GLIB/GLIB_Log.h"
#include "GLIB/GLIB_String.h"

#include <cerrno>
#include <cstdint>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
using GFIL_Messages::Quoted;
using GFIL_Messages::SystemText;
using GFIL_Messages::Throw;

constexpr std::uint64_t kLargestOffset = std::uint64_t{1} << 63;

bool IsNotFound(int error)
{
    return error == ENOENT || error == ENOTDIR;
}

bool IsBusyOrLocked(int error)
{
    return error == EACCES || error == EPERM || error == EBUSY || error == ETXTBSY ||
           error == EWOULDBLOCK || error == EAGAIN;
}

bool IsDiskFull(int error)
{
    return error == ENOSPC || error == EDQUOT;
}

[[noreturn]] void ThrowNotFound(const std::wstring& path, int error, const char* file, int line)
{
    Throw(GFIL_ERR_NOT_FOUND, "Unable to find the file " + Quoted(path) + "; " + SystemText(error),
          file, line);
}

[[noreturn]] void ThrowBusy(const std::wstring& path, int error, const char* file, int line)
{
    Throw(GFIL_ERR_BUSY_OR_LOCKED,
          "The file " + Quoted(path) + " is busy or locked; " + SystemText(error), file, line);
}

[[noreturn]] void ThrowUnknown(int error, const char* file, int line)
{
    Throw(GFIL_ERR_OTHER, "An unknown error occured; " + SystemText(error), file, line);
}

[[noreturn]] void ThrowDuring(const char* operation, int error, const char* file, int line)
{
    Throw(GFIL_ERR_OTHER,
          std::string("An unknown error occured during ") + operation + SystemText(error), file,
          line);
}

int AccessFlags(std::uint32_t mode)
{
    const bool read = (mode & GFIL_MODE_READ) != 0;
    const bool write = (mode & GFIL_MODE_WRITE) != 0;
    if (read && write)
        return O_RDWR;
    if (write)
        return O_WRONLY;
    return O_RDONLY;
}

// Sharing between openers of this class: unshared opens hold an exclusive lock, shared ones a
// shared lock, neither waits. A file system without flock() support does not stop the open.
bool LockForSharing(int descriptor, std::uint32_t mode)
{
    const int operation = ((mode & GFIL_MODE_SHARED_SEQUENTIAL) ? LOCK_SH : LOCK_EX) | LOCK_NB;
    if (::flock(descriptor, operation) == 0)
        return true;
    return errno != EWOULDBLOCK && errno != EAGAIN;
}

void CloseQuietly(int descriptor)
{
    const int saved = errno;
    ::close(descriptor);
    errno = saved;
}

bool CurrentDirectoryOf(std::wstring& directory, int& error)
{
    std::string buffer(256, '\0');
    for (;;)
    {
        if (::getcwd(buffer.data(), buffer.size()))
            break;
        if (errno != ERANGE || buffer.size() > (std::size_t{1} << 20))
        {
            error = errno;
            return false;
        }
        buffer.resize(buffer.size() * 2);
    }
    buffer.resize(buffer.find('\0'));
    directory = PathToWide(buffer);
    // An unreachable directory is reported by Linux with a leading "(unreachable)".
    if (directory.empty() || directory[0] != L'/')
    {
        error = directory.empty() ? EILSEQ : ENOENT;
        return false;
    }
    return true;
}

std::wstring NormalizeAgainstCurrentDirectory(const std::wstring& path)
{
    std::wstring base;
    if (!path.empty() && path[0] != L'/')
    {
        int error = 0;
        if (!CurrentDirectoryOf(base, error))
            GFIL_Messages::ThrowCannotExpand(Quoted(path), error, __FILE__, __LINE__);
    }
    return GFIL_PathPosix::Normalize(path, base);
}
} // namespace

GFIL_FileSystemPosix::GFIL_FileSystemPosix(const std::wstring& path)
    : m_path(NormalizeAgainstCurrentDirectory(path))
{
}

GFIL_FileSystemPosix::~GFIL_FileSystemPosix()
{
    // The holder closes the file; a descriptor still held here would leak for the rest of the
    // run, so it is given back without a word.
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

std::wstring GFIL_FileSystemPosix::CurrentDirectory()
{
    std::wstring directory;
    int error = 0;
    if (!CurrentDirectoryOf(directory, error))
        return std::wstring();
    try
    {
        return GFIL_PathPosix::Normalize(directory, std::wstring());
    }
    catch (const GLIB_DerivedException<Tag_GFIL_Exception>&)
    {
        // A folder no specification can name (a control character in it) is no usable base.
        return std::wstring();
    }
}

std::string GFIL_FileSystemPosix::NativePath() const
{
    return PathToNarrow(m_path);
}

std::wstring GFIL_FileSystemPosix::Path() const
{
    return m_path;
}

bool GFIL_FileSystemPosix::HasPath() const
{
    return !m_path.empty();
}

GFIL_FileSystemPosix::Kind GFIL_FileSystemPosix::Look() const
{
    const std::string native = NativePath();
    struct stat status
    {
    };
    if (::stat(native.c_str(), &status) == 0)
        return S_ISDIR(status.st_mode) ? Kind::Directory : Kind::File;
    // A link whose target is gone is still an entry of its folder.
    if (::lstat(native.c_str(), &status) == 0)
        return Kind::File;
    return Kind::Missing;
}

bool GFIL_FileSystemPosix::Exists() const
{
    return Look() != Kind::Missing;
}

bool GFIL_FileSystemPosix::IsDirectory() const
{
    return Look() == Kind::Directory;
}

bool GFIL_FileSystemPosix::IsFile() const
{
    return Look() == Kind::File;
}

bool GFIL_FileSystemPosix::IsRoot() const
{
    return GFIL_PathPosix::IsRoot(m_path);
}

std::wstring GFIL_FileSystemPosix::Name() const
{
    return GFIL_PathPosix::Name(m_path);
}

GFIL_FileSpec GFIL_FileSystemPosix::Parent() const
{
    return GFIL_FileSpec(GFIL_PathPosix::ParentPath(m_path));
}

bool GFIL_FileSystemPosix::ChildExists(const std::wstring& name) const
{
    const std::string native = PathToNarrow(GFIL_PathPosix::ChildPath(m_path, name));
    struct stat status
    {
    };
    return ::stat(native.c_str(), &status) == 0 || ::lstat(native.c_str(), &status) == 0;
}

GFIL_FileSpec GFIL_FileSystemPosix::Child(const std::wstring& name) const
{
    return GFIL_FileSpec(GFIL_PathPosix::ChildPath(m_path, name));
}

void GFIL_FileSystemPosix::OpenDescriptor(int flags, std::uint32_t mode, bool creating)
{
    // A second open would otherwise lose the descriptor held so far.
    Close();

    const std::string native = NativePath();
    // Opening never waits: a FIFO without a writer, or a device, would otherwise block here.
    const int descriptor = ::open(native.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (descriptor < 0)
    {
        const int error = errno;
        if (IsNotFound(error))
            ThrowNotFound(m_path, error, __FILE__, __LINE__);
        if (IsBusyOrLocked(error))
            ThrowBusy(m_path, error, __FILE__, __LINE__);
        if (creating && error == EEXIST)
        {
            Throw(GFIL_ERR_EXISTS,
                  "Unable to create the file " + Quoted(m_path) + " because it already exists; " +
                      SystemText(error),
                  __FILE__, __LINE__);
        }
        if (creating)
            ThrowUnknown(error, __FILE__, __LINE__);
        Throw(GFIL_ERR_OTHER, "An unknown error occured; the Win32 " + SystemText(error), __FILE__,
              __LINE__);
    }

    // A folder opens for reading here, but it is no file: refuse it as the folder it is.
    struct stat status
    {
    };
    if (::fstat(descriptor, &status) == 0 && S_ISDIR(status.st_mode))
    {
        CloseQuietly(descriptor);
        if (creating)
            ThrowUnknown(EISDIR, __FILE__, __LINE__);
        Throw(GFIL_ERR_OTHER, "An unknown error occured; the Win32 " + SystemText(EISDIR), __FILE__,
              __LINE__);
    }
    // Only regular files hold what this class reads and writes; anything else is refused before
    // the first read could wait on it.
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode))
    {
        CloseQuietly(descriptor);
        const char* kind = S_ISFIFO(status.st_mode)   ? " but a FIFO"
                           : S_ISSOCK(status.st_mode) ? " but a socket"
                           : S_ISCHR(status.st_mode)  ? " but a character device"
                           : S_ISBLK(status.st_mode)  ? " but a block device"
                                                      : "";
        Throw(GFIL_ERR_OTHER, "The file " + Quoted(m_path) + " is not a regular file" + kind,
              __FILE__, __LINE__);
    }
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);

    if (!LockForSharing(descriptor, mode))
    {
        const int error = errno;
        CloseQuietly(descriptor);
        ThrowBusy(m_path, error, __FILE__, __LINE__);
    }

    // Replacing a file empties it only once the lock shows nobody else holds it.
    if (creating && (mode & GFIL_MODE_OVERWRITE) && ::ftruncate(descriptor, 0) != 0)
    {
        // A descriptor without write access cannot cut the file; a second one can.
        const int emptier = ::open(native.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        if (emptier < 0)
        {
            const int error = errno;
            CloseQuietly(descriptor);
            if (IsBusyOrLocked(error))
                ThrowBusy(m_path, error, __FILE__, __LINE__);
            ThrowUnknown(error, __FILE__, __LINE__);
        }
        ::close(emptier);
    }

    ::posix_fadvise(descriptor, 0, 0,
                    (mode & GFIL_MODE_SHARED_SEQUENTIAL) ? POSIX_FADV_SEQUENTIAL
                                                         : POSIX_FADV_RANDOM);
    m_descriptor = descriptor;
    SetOpen(true);
}

void GFIL_FileSystemPosix::Create(std::uint32_t mode)
{
    int flags = AccessFlags(mode) | O_CREAT;
    if (!(mode & GFIL_MODE_OVERWRITE))
        flags |= O_EXCL;
    OpenDescriptor(flags, mode, true);
    SetMode(mode & (GFIL_MODE_CREATION_MASK | GFIL_MODE_ACCESS_MASK));
}

void GFIL_FileSystemPosix::Open(std::uint32_t mode)
{
    OpenDescriptor(AccessFlags(mode), mode, false);
    SetMode((Mode() & GFIL_MODE_CREATION_MASK) | (mode & GFIL_MODE_ACCESS_MASK));
}

void GFIL_FileSystemPosix::Close()
{
    if (!IsOpen())
        return;
    if (::close(m_descriptor) != 0)
    {
        LogMessage(GLIB_SEVERITY_ERROR,
                   "CloseHandle() caused an internal error; " + SystemText(errno), __FILE__,
                   __LINE__);
    }
    m_descriptor = -1;
    SetOpen(false);
}

void GFIL_FileSystemPosix::Delete()
{
    const std::string native = NativePath();
    // Openers of this class that hold the file keep it from being deleted under them, as they
    // would on a platform with share modes.
    const int probe = ::open(native.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (probe >= 0)
    {
        const bool held =
            ::flock(probe, LOCK_EX | LOCK_NB) != 0 && (errno == EWOULDBLOCK || errno == EAGAIN);
        const int error = errno;
        ::close(probe);
        if (held)
            ThrowBusy(m_path, error, __FILE__, __LINE__);
    }

    if (::unlink(native.c_str()) != 0)
    {
        const int error = errno;
        if (IsNotFound(error))
            ThrowNotFound(m_path, error, __FILE__, __LINE__);
        if (IsBusyOrLocked(error))
            ThrowBusy(m_path, error, __FILE__, __LINE__);
        ThrowUnknown(error, __FILE__, __LINE__);
    }
}

std::uint64_t GFIL_FileSystemPosix::Size() const
{
    struct stat status
    {
    };
    if (::fstat(m_descriptor, &status) != 0)
        ThrowUnknown(errno, __FILE__, __LINE__);
    return static_cast<std::uint64_t>(status.st_size);
}

namespace
{
// Checks the offset limit and positions the descriptor at the offset from the file's start.
void PositionAt(int descriptor, std::uint64_t offset)
{
    if (offset > kLargestOffset)
    {
        LogMessage(GLIB_SEVERITY_FATAL, "Win32 cannot support file offsets greater than 2^63",
                   __FILE__, __LINE__);
    }
    // 2^63 itself passes the limit but no file position can hold it.
    if (offset >= kLargestOffset)
        ThrowDuring("SetFilePointer(); ", EINVAL, __FILE__, __LINE__);
    if (::lseek(descriptor, static_cast<off_t>(offset), SEEK_SET) < 0)
        ThrowDuring("SetFilePointer(); ", errno, __FILE__, __LINE__);
}
} // namespace

void GFIL_FileSystemPosix::SetSize(std::uint64_t offset)
{
    PositionAt(m_descriptor, offset);
    if (::ftruncate(m_descriptor, static_cast<off_t>(offset)) != 0)
    {
        const int error = errno;
        if (IsDiskFull(error))
            Throw(GFIL_ERR_DISK_FULL, "The target disk is full; " + SystemText(error), __FILE__,
                  __LINE__);
        ThrowUnknown(error, __FILE__, __LINE__);
    }
}

GFIL_ReadBuffer GFIL_FileSystemPosix::Read(std::uint64_t offset)
{
    PositionAt(m_descriptor, offset);
    GFIL_ReadBuffer buffer = AllocateBuffer();
    const std::uint32_t capacity = buffer.Capacity();
    std::uint32_t total = 0;
    while (total < capacity)
    {
        const ssize_t got = ::read(m_descriptor, buffer.Storage() + total, capacity - total);
        if (got < 0)
        {
            if (errno == EINTR)
                continue;
            ThrowDuring("ReadFile() ; ", errno, __FILE__, __LINE__);
        }
        if (got == 0)
            break;
        total += static_cast<std::uint32_t>(got);
    }
    buffer.SetData(0, total);
    buffer.SetEndOfFile(total < capacity);
    return buffer;
}

GFIL_ReadBuffer GFIL_FileSystemPosix::AllocateBuffer()
{
    return GFIL_ReadBuffer(m_bufferSize != 0 ? m_bufferSize : DefaultBufferSize());
}

void GFIL_FileSystemPosix::ReleaseBuffer(GFIL_ReadBuffer& buffer)
{
    buffer.Release();
}

void GFIL_FileSystemPosix::Write(GFIL_ReadBuffer& buffer, std::uint64_t offset)
{
    PositionAt(m_descriptor, offset);
    const std::uint8_t* data = buffer.Data();
    std::uint32_t left = buffer.Count();
    while (left > 0)
    {
        const ssize_t put = ::write(m_descriptor, data, left);
        if (put < 0)
        {
            if (errno == EINTR)
                continue;
            ThrowDuring("WriteFile(); ", errno, __FILE__, __LINE__);
        }
        // A write that takes nothing would repeat forever; it only happens on a full device.
        if (put == 0)
            ThrowDuring("WriteFile(); ", ENOSPC, __FILE__, __LINE__);
        data += put;
        left -= static_cast<std::uint32_t>(put);
    }
    ReleaseBuffer(buffer);
}

void GFIL_FileSystemPosix::Flush()
{
    if (::fsync(m_descriptor) != 0)
    {
        LogMessage(GLIB_SEVERITY_ERROR,
                   "FlushFileBuffers() generated an error; " + SystemText(errno), __FILE__,
                   __LINE__);
    }
}

std::vector<GFIL_FileSpec> GFIL_FileSystemPosix::ListEntries() const
{
    std::vector<GFIL_FileSpec> entries;
    DIR* directory = ::opendir(NativePath().c_str());
    if (!directory)
        return entries;
    try
    {
        while (const dirent* entry = ::readdir(directory))
        {
            const std::string native = entry->d_name;
            if (native == "." || native == "..")
                continue;
            // A name that no specification can hold (a control character, a path grown past the
            // limit) cannot be named by the viewer at all; bytes that are not UTF-8 are carried.
            const std::wstring name = PathToWide(native);
            if (name.empty() || !GFIL_PathPosix::IsValidName(name))
                continue;
            try
            {
                entries.push_back(Child(name));
            }
            catch (const GLIB_DerivedException<Tag_GFIL_Exception>&)
            {
            }
        }
    }
    catch (...)
    {
        ::closedir(directory);
        throw;
    }
    ::closedir(directory);
    return entries;
}

#endif // _WIN32
