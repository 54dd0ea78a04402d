#pragma once

#ifdef _WIN32

#include "GFIL/GFIL_FileSystem.h"
#include "GFIL/GFIL_PathWin32.h"

#include <windows.h>

#include <cstdint>
#include <string>

// The file system on Windows: drive and UNC paths (GFIL_PathWin32) and native file handles.
// Adds a 28th slot that returns the native handle.
class GFIL_FileSystemWin32 : public GFIL_FileSystem
{
public:
    // Normalises `path` against the process's current directory (and the drives' own current
    // directories for "X:name" forms); throws 1158001 on any fault.
    explicit GFIL_FileSystemWin32(const std::wstring& path);
    ~GFIL_FileSystemWin32() override;

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
    /* 27 */ virtual HANDLE NativeHandle() const;

    void SetBufferSize(std::uint32_t size) noexcept { m_bufferSize = size; }
    std::uint32_t BufferSize() const noexcept { return m_bufferSize; }

    // What the path expansion resolves relative forms against, read from the process.
    static GFIL_PathWin32::Environment CurrentEnvironment();

private:
    void OpenHandle(DWORD disposition, std::uint32_t mode, bool creating);
    void PositionAt(std::uint64_t offset);

    std::uint32_t m_bufferSize = 0;
    std::wstring m_path;
    HANDLE m_handle = INVALID_HANDLE_VALUE;
};

#endif // _WIN32
