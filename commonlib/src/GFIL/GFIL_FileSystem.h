#pragma once

#include "GFIL/GFIL_Constants.h"
#include "GFIL/GFIL_FileSpec.h"
#include "GFIL/GFIL_ReadBuffer.h"
#include "GLIB/GLIB_Memory.h"

#include <cstdint>
#include <string>
#include <vector>

// The operations on one path held by a file specification: what it is, its entries, and for a
// file creating, opening, reading, writing, sizing, flushing and deleting it. Every failure is
// thrown as GLIB_DerivedException<Tag_GFIL_Exception> with one of the codes of
// GFIL_Constants.h, except close and flush failures, which are logged at severity 2, and an
// offset above 2^63, which is a fatal log entry.
//
// The virtual operations keep a fixed slot order (destructor first); the four operations named
// ReservedSlot* have no behaviour and stay as no-operations.
//
// A file object is closed when made; the holder closes it before releasing the last handle.
// Size, SetSize, Read, Write and Flush expect an open file; on a closed one the first four fail
// with 1158007 and the platform's "bad handle" text, and Flush logs that text.
class GFIL_FileSystem : public GLIB_TrackedObject
{
public:
    GFIL_FileSystem() noexcept = default;
    GFIL_FileSystem(const GFIL_FileSystem&) = delete;
    GFIL_FileSystem& operator=(const GFIL_FileSystem&) = delete;

    /* 0 */ virtual ~GFIL_FileSystem();
    /* 1 */ virtual std::wstring Path() const = 0;
    /* 2 */ virtual bool HasPath() const = 0;
    /* 3 */ virtual bool Exists() const = 0;
    /* 4 */ virtual bool IsDirectory() const = 0;
    /* 5 */ virtual bool IsFile() const = 0;
    /* 6 */ virtual bool IsRoot() const = 0;
    /* 7 */ virtual std::wstring Name() const = 0;
    /* 8 */ virtual GFIL_FileSpec Parent() const = 0;
    // The name must pass the platform's name check (else 1158001).
    /* 9 */ virtual bool ChildExists(const std::wstring& name) const = 0;
    /* 10 */ virtual GFIL_FileSpec Child(const std::wstring& name) const = 0;
    // Creates the file and keeps it open; fails with 1158005 when it exists and the mode lacks
    // GFIL_MODE_OVERWRITE (with it, the file is emptied).
    /* 11 */ virtual void Create(std::uint32_t mode) = 0;
    /* 12 */ virtual void Open(std::uint32_t mode) = 0;
    // Does nothing on a closed object.
    /* 13 */ virtual void Close() = 0;
    /* 14 */ virtual void Delete() = 0;
    /* 15 */ virtual std::uint64_t Size() const = 0;
    /* 16 */ virtual void SetSize(std::uint64_t offset) = 0;
    // Reads up to one buffer's worth from the offset. A short read (fewer bytes than the
    // capacity, including none at all) sets the buffer's end-of-file flag.
    /* 17 */ virtual GFIL_ReadBuffer Read(std::uint64_t offset) = 0;
    /* 18 */ virtual void ReservedSlot18(std::uint64_t first, std::uint64_t second);
    /* 19 */ virtual void ReservedSlot19();
    // A buffer of the object's buffer size, or the process-wide default when that is 0.
    /* 20 */ virtual GFIL_ReadBuffer AllocateBuffer() = 0;
    /* 21 */ virtual void ReleaseBuffer(GFIL_ReadBuffer& buffer) = 0;
    // Writes the buffer's data at the offset; on success the buffer is released.
    /* 22 */ virtual void Write(GFIL_ReadBuffer& buffer, std::uint64_t offset) = 0;
    /* 23 */ virtual bool ReservedSlot23() const;
    /* 24 */ virtual void ReservedSlot24();
    /* 25 */ virtual void Flush() = 0;
    // The entries other than "." and "..", in the order the platform lists them. A path that
    // cannot be listed gives an empty list.
    /* 26 */ virtual std::vector<GFIL_FileSpec> ListEntries() const = 0;

    bool IsOpen() const noexcept { return m_open; }
    std::uint32_t Mode() const noexcept { return m_mode; }
    std::int32_t ReferenceCount() const noexcept { return m_referenceCount; }

    // The process-wide read-buffer size used by objects whose own size is 0. Setting 0 restores
    // the built-in 32,768 bytes, since a zero-byte buffer could never read anything.
    static void SetDefaultBufferSize(std::uint32_t size) noexcept;
    static std::uint32_t DefaultBufferSize() noexcept;

protected:
    void SetOpen(bool open) noexcept { m_open = open; }
    void SetMode(std::uint32_t mode) noexcept { m_mode = mode; }

private:
    friend class GFIL_FileSpec;
    void AddReference() noexcept { ++m_referenceCount; }
    // True when this was the last reference.
    bool DropReference() noexcept { return --m_referenceCount <= 0; }

    std::int32_t m_referenceCount = 0;
    bool m_open = false;
    std::uint32_t m_mode = 0;
};
