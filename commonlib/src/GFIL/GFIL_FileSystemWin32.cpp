#ifdef _WIN32

#include "GFIL/GFIL_FileSystemWin32.h"

#include "GFIL/GFIL_Messages.h"
#include "GLIB/GLIB_Exception.h"
#include "GLIB/GLIB_Log.h"
#include "GLIB/GLIB_String.h"

#include <vector>

namespace
{
using GFIL_Messages::Quoted;
using GFIL_Messages::SystemText;
using GFIL_Messages::Throw;

constexpr std::uint64_t kLargestOffset = std::uint64_t{1} << 63;

enum class Kind
{
    Missing,
    Directory,
    File
};

int LastError()
{
    return static_cast<int>(::GetLastError());
}

bool IsNotFound(int error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool IsBusyOrLocked(int error)
{
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
           error == ERROR_LOCK_VIOLATION;
}

[[noreturn]] void ThrowNotFound(const std::wstring& path, int error)
{
    Throw(GFIL_ERR_NOT_FOUND, "Unable to find the file " + Quoted(path) + "; " + SystemText(error),
          __FILE__, __LINE__);
}

[[noreturn]] void ThrowBusy(const std::wstring& path, int error)
{
    Throw(GFIL_ERR_BUSY_OR_LOCKED,
          "The file " + Quoted(path) + " is busy or locked; " + SystemText(error), __FILE__,
          __LINE__);
}

[[noreturn]] void ThrowUnknown(int error)
{
    Throw(GFIL_ERR_OTHER, "An unknown error occured; " + SystemText(error), __FILE__, __LINE__);
}

[[noreturn]] void ThrowDuring(const char* operation, int error)
{
    Throw(GFIL_ERR_OTHER,
          std::string("An unknown error occured during ") + operation + SystemText(error), __FILE__,
          __LINE__);
}

// Looks the path up as a directory entry; a drive root or a UNC share has no entry of its own
// and is recognised by having something inside it.
Kind LookUp(const std::wstring& path)
{
    WIN32_FIND_DATAW data{};
    HANDLE found = ::FindFirstFileW(path.c_str(), &data);
    if (found != INVALID_HANDLE_VALUE)
    {
        ::FindClose(found);
        return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? Kind::Directory : Kind::File;
    }
    const std::wstring pattern =
        (!path.empty() && path.back() == L'\\') ? path + L"*" : path + L"\\*";
    found = ::FindFirstFileW(pattern.c_str(), &data);
    if (found != INVALID_HANDLE_VALUE)
    {
        ::FindClose(found);
        return Kind::Directory;
    }
    return Kind::Missing;
}

std::wstring NormalizeInProcess(const std::wstring& path)
{
    return GFIL_PathWin32::Normalize(path, GFIL_FileSystemWin32::CurrentEnvironment());
}
} // namespace

GFIL_PathWin32::Environment GFIL_FileSystemWin32::CurrentEnvironment()
{
    GFIL_PathWin32::Environment environment;
    const DWORD needed = ::GetCurrentDirectoryW(0, nullptr);
    if (needed > 0)
    {
        std::vector<wchar_t> buffer(needed + 1);
        const DWORD got = ::GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
        if (got > 0 && got < buffer.size())
            environment.currentDirectory.assign(buffer.data(), got);
    }
    // The drives' own current directories live in the hidden "=X:" variables.
    for (wchar_t letter = L'A'; letter <= L'Z'; ++letter)
    {
        const wchar_t name[] = {L'=', letter, L':', L'\0'};
        wchar_t value[MAX_PATH];
        const DWORD length = ::GetEnvironmentVariableW(name, value, MAX_PATH);
        if (length > 0 && length < MAX_PATH)
            environment.driveDirectories[letter].assign(value, length);
    }
    return environment;
}

GFIL_FileSystemWin32::GFIL_FileSystemWin32(const std::wstring& path)
    : m_path(NormalizeInProcess(path))
{
}

GFIL_FileSystemWin32::~GFIL_FileSystemWin32()
{
    if (m_handle != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_handle);
}

std::wstring GFIL_FileSystemWin32::Path() const
{
    return m_path;
}

bool GFIL_FileSystemWin32::HasPath() const
{
    return !m_path.empty();
}

bool GFIL_FileSystemWin32::Exists() const
{
    return LookUp(m_path) != Kind::Missing;
}

bool GFIL_FileSystemWin32::IsDirectory() const
{
    return LookUp(m_path) == Kind::Directory;
}

bool GFIL_FileSystemWin32::IsFile() const
{
    return LookUp(m_path) == Kind::File;
}

bool GFIL_FileSystemWin32::IsRoot() const
{
    return GFIL_PathWin32::IsRoot(m_path);
}

std::wstring GFIL_FileSystemWin32::Name() const
{
    return GFIL_PathWin32::Name(m_path, CurrentEnvironment());
}

GFIL_FileSpec GFIL_FileSystemWin32::Parent() const
{
    return GFIL_FileSpec(GFIL_PathWin32::ParentPath(m_path, CurrentEnvironment()));
}

bool GFIL_FileSystemWin32::ChildExists(const std::wstring& name) const
{
    return LookUp(GFIL_PathWin32::ChildPath(m_path, name)) != Kind::Missing;
}

GFIL_FileSpec GFIL_FileSystemWin32::Child(const std::wstring& name) const
{
    return GFIL_FileSpec(GFIL_PathWin32::ChildPath(m_path, name));
}

void GFIL_FileSystemWin32::OpenHandle(DWORD disposition, std::uint32_t mode, bool creating)
{
    // A second open would otherwise lose the handle held so far.
    Close();

    DWORD access = 0;
    DWORD share = 0;
    if (mode & GFIL_MODE_READ)
        access |= GENERIC_READ;
    if (mode & GFIL_MODE_WRITE)
        access |= GENERIC_WRITE;
    if (mode & GFIL_MODE_SHARED_SEQUENTIAL)
    {
        if (mode & GFIL_MODE_READ)
            share |= FILE_SHARE_READ;
        if (mode & GFIL_MODE_WRITE)
            share |= FILE_SHARE_WRITE;
    }
    DWORD flags =
        (mode & GFIL_MODE_SHARED_SEQUENTIAL) ? FILE_FLAG_SEQUENTIAL_SCAN : FILE_FLAG_RANDOM_ACCESS;
    if (creating)
        flags |= (mode & GFIL_MODE_TEMPORARY) ? FILE_ATTRIBUTE_TEMPORARY : FILE_ATTRIBUTE_NORMAL;

    HANDLE handle =
        ::CreateFileW(m_path.c_str(), access, share, nullptr, disposition, flags, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
    {
        const int error = LastError();
        if (IsNotFound(error))
            ThrowNotFound(m_path, error);
        if (IsBusyOrLocked(error))
            ThrowBusy(m_path, error);
        if (creating && (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS))
        {
            Throw(GFIL_ERR_EXISTS,
                  "Unable to create the file " + Quoted(m_path) + " because it already exists; " +
                      SystemText(error),
                  __FILE__, __LINE__);
        }
        if (creating)
            ThrowUnknown(error);
        Throw(GFIL_ERR_OTHER, "An unknown error occured; the Win32 " + SystemText(error), __FILE__,
              __LINE__);
    }
    m_handle = handle;
    SetOpen(true);
}

void GFIL_FileSystemWin32::Create(std::uint32_t mode)
{
    OpenHandle((mode & GFIL_MODE_OVERWRITE) ? CREATE_ALWAYS : CREATE_NEW, mode, true);
    SetMode(mode & (GFIL_MODE_CREATION_MASK | GFIL_MODE_ACCESS_MASK));
}

void GFIL_FileSystemWin32::Open(std::uint32_t mode)
{
    OpenHandle(OPEN_EXISTING, mode, false);
    SetMode((Mode() & GFIL_MODE_CREATION_MASK) | (mode & GFIL_MODE_ACCESS_MASK));
}

void GFIL_FileSystemWin32::Close()
{
    if (!IsOpen())
        return;
    if (!::CloseHandle(m_handle))
    {
        LogMessage(GLIB_SEVERITY_ERROR,
                   "CloseHandle() caused an internal error; " + SystemText(LastError()), __FILE__,
                   __LINE__);
    }
    m_handle = INVALID_HANDLE_VALUE;
    SetOpen(false);
}

void GFIL_FileSystemWin32::Delete()
{
    if (!::DeleteFileW(m_path.c_str()))
    {
        const int error = LastError();
        if (IsNotFound(error))
            ThrowNotFound(m_path, error);
        if (IsBusyOrLocked(error))
            ThrowBusy(m_path, error);
        ThrowUnknown(error);
    }
}

std::uint64_t GFIL_FileSystemWin32::Size() const
{
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(m_handle, &size))
        ThrowUnknown(LastError());
    return static_cast<std::uint64_t>(size.QuadPart);
}

void GFIL_FileSystemWin32::PositionAt(std::uint64_t offset)
{
    if (offset > kLargestOffset)
    {
        LogMessage(GLIB_SEVERITY_FATAL, "Win32 cannot support file offsets greater than 2^63",
                   __FILE__, __LINE__);
    }
    LARGE_INTEGER distance{};
    distance.QuadPart = static_cast<LONGLONG>(offset);
    if (!::SetFilePointerEx(m_handle, distance, nullptr, FILE_BEGIN))
        ThrowDuring("SetFilePointer(); ", LastError());
}

void GFIL_FileSystemWin32::SetSize(std::uint64_t offset)
{
    PositionAt(offset);
    if (!::SetEndOfFile(m_handle))
    {
        const int error = LastError();
        if (error == ERROR_HANDLE_DISK_FULL || error == ERROR_DISK_FULL)
        {
            Throw(GFIL_ERR_DISK_FULL, "The target disk is full; " + SystemText(error), __FILE__,
                  __LINE__);
        }
        ThrowUnknown(error);
    }
}

GFIL_ReadBuffer GFIL_FileSystemWin32::Read(std::uint64_t offset)
{
    PositionAt(offset);
    GFIL_ReadBuffer buffer = AllocateBuffer();
    DWORD got = 0;
    if (!::ReadFile(m_handle, buffer.Storage(), buffer.Capacity(), &got, nullptr))
    {
        const int error = LastError();
        if (error != ERROR_HANDLE_EOF)
            ThrowDuring("ReadFile() ; ", error);
        got = 0;
    }
    buffer.SetData(0, got);
    buffer.SetEndOfFile(got < buffer.Capacity());
    return buffer;
}

GFIL_ReadBuffer GFIL_FileSystemWin32::AllocateBuffer()
{
    return GFIL_ReadBuffer(m_bufferSize != 0 ? m_bufferSize : DefaultBufferSize());
}

void GFIL_FileSystemWin32::ReleaseBuffer(GFIL_ReadBuffer& buffer)
{
    buffer.Release();
}

void GFIL_FileSystemWin32::Write(GFIL_ReadBuffer& buffer, std::uint64_t offset)
{
    PositionAt(offset);
    const std::uint8_t* data = buffer.Data();
    DWORD left = buffer.Count();
    while (left > 0)
    {
        DWORD put = 0;
        if (!::WriteFile(m_handle, data, left, &put, nullptr))
            ThrowDuring("WriteFile(); ", LastError());
        if (put == 0)
            ThrowDuring("WriteFile(); ", ERROR_DISK_FULL);
        data += put;
        left -= put;
    }
    ReleaseBuffer(buffer);
}

void GFIL_FileSystemWin32::Flush()
{
    if (!::FlushFileBuffers(m_handle))
    {
        LogMessage(GLIB_SEVERITY_ERROR,
                   "FlushFileBuffers() generated an error; " + SystemText(LastError()), __FILE__,
                   __LINE__);
    }
}

std::vector<GFIL_FileSpec> GFIL_FileSystemWin32::ListEntries() const
{
    std::vector<GFIL_FileSpec> entries;
    const std::wstring pattern =
        (!m_path.empty() && m_path.back() == L'\\') ? m_path + L"*.*" : m_path + L"\\*.*";
    WIN32_FIND_DATAW data{};
    HANDLE found = ::FindFirstFileW(pattern.c_str(), &data);
    if (found == INVALID_HANDLE_VALUE)
        return entries;
    try
    {
        do
        {
            const wchar_t* name = data.cFileName;
            if (::CompareStringW(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, name, -1, L"..", -1) ==
                    CSTR_EQUAL ||
                ::CompareStringW(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, name, -1, L".", -1) ==
                    CSTR_EQUAL)
            {
                continue;
            }
            // An entry no specification can hold (a reserved name, a path grown past the
            // limit) cannot be named by the viewer at all.
            try
            {
                entries.push_back(Child(name));
            }
            catch (const GLIB_DerivedException<Tag_GFIL_Exception>&)
            {
            }
        } while (::FindNextFileW(found, &data));
    }
    catch (...)
    {
        ::FindClose(found);
        throw;
    }
    ::FindClose(found);
    return entries;
}

HANDLE GFIL_FileSystemWin32::NativeHandle() const
{
    return m_handle;
}

#endif // _WIN32
