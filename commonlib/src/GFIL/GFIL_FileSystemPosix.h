#pragma once

#ifndef _WIN32

#include "GFIL/GFIL_FileSystem.h"

#include <cstdint>
#include <string>

// The file system of this platform: absolute POSIX paths (GFIL_PathPosix) and file
// descriptors. Errors map to the file-system codes by errno: ENOENT/ENOTDIR not found,
// EACCES/EPERM/EBUSY/ETXTBSY/EWOULDBLOCK busy or locked, EEXIST exists, ENOSPC/EDQUOT disk
// full (set size only), anything else 1158007.
//
// Sharing is kept between the openers that go through this class with flock(): an unshared
// open takes an exclusive lock and a shared-sequential one a shared lock, both without
// waiting, so a second unshared opener of a held file is told the file is busy or locked.
class GFIL_FileSystemPosix : public GFIL_FileSystem
{
public:
    // Normalises `path` against the process's current directory; throws 1158001 on any fault.
    explicit GFIL_FileSystemPosix(const std::wstring& path);
    ~GFIL_FileSystemPosix() override;

    std::wstring Path() const override;
    bool HasPath() const override;
    bool Exists() const override;
    bool IsDirectory() const override;
    bool IsFile() const override;
    bool IsRoot() const override;
    std::wstring Name() const override;
    GFIL_FileSpec Parent() const override;
    bool ChildExists(const std::wstring& name) const override;
    GFIL_FileSpec Child(const std::wstring& name) const override;
    void Create(std::uint32_t mode) override;
    void Open(std::uint32_t mode) override;
    void Close() override;
    void Delete() override;
    std::uint64_t Size() const override;
    void SetSize(std::uint64_t offset) override;
    GFIL_ReadBuffer Read(std::uint64_t offset) override;
    GFIL_ReadBuffer AllocateBuffer() override;
    void ReleaseBuffer(GFIL_ReadBuffer& buffer) override;
    void Write(GFIL_ReadBuffer& buffer, std::uint64_t offset) override;
    void Flush() override;
    std::vector<GFIL_FileSpec> ListEntries() const override;

    // The object's own read-buffer size; 0 means the process-wide default.
    void SetBufferSize(std::uint32_t size) noexcept { m_bufferSize = size; }
    std::uint32_t BufferSize() const noexcept { return m_bufferSize; }

    // The file descriptor, or -1 while closed.
    int NativeHandle() const noexcept { return m_descriptor; }

    // The process's current directory in normalised form (the expansion's base); empty when it
    // cannot be had or cannot be named.
    static std::wstring CurrentDirectory();

private:
    enum class Kind
    {
        Missing,
        Directory,
        File
    };
    Kind Look() const;
    std::string NativePath() const;
    void OpenDescriptor(int flags, std::uint32_t mode, bool creating);

    std::uint32_t m_bufferSize = 0;
    std::wstring m_path;
    int m_descriptor = -1;
};

#endif // _WIN32
