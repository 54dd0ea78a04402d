#pragma once

#include <iosfwd>
#include <string>

class GFIL_FileSystem;

// A file specification: a shared handle to one GFIL_FileSystem object standing for one
// absolute, normalised path. Copying a handle adds a reference; the last handle deletes the
// object. A handle may be empty.
//
// Constructing from a path expands and checks it once with the platform's path grammar and
// throws GLIB_DerivedException<Tag_GFIL_Exception> (code 1158001) on any fault; the handle is
// then never made. Narrow paths are bytes, widened with PathToWide (undecodable bytes are kept
// as U+DC80..U+DCFF).
class GFIL_FileSpec
{
public:
    GFIL_FileSpec() noexcept = default;
    // Takes a reference to an existing object (null gives an empty handle).
    explicit GFIL_FileSpec(GFIL_FileSystem* object) noexcept;

    explicit GFIL_FileSpec(const wchar_t* path);
    explicit GFIL_FileSpec(const char* path);
    explicit GFIL_FileSpec(const std::wstring& path);
    explicit GFIL_FileSpec(const std::string& path);

    GFIL_FileSpec(const GFIL_FileSpec& other) noexcept;
    GFIL_FileSpec(GFIL_FileSpec&& other) noexcept;
    GFIL_FileSpec& operator=(const GFIL_FileSpec& other) noexcept;
    GFIL_FileSpec& operator=(GFIL_FileSpec&& other) noexcept;
    ~GFIL_FileSpec();

    bool IsEmpty() const noexcept { return m_object == nullptr; }
    explicit operator bool() const noexcept { return m_object != nullptr; }

    // The object, or null for an empty handle.
    GFIL_FileSystem* Get() const noexcept { return m_object; }
    // The object; an empty handle throws the file-system exception (1158001) rather than
    // handing out a null pointer.
    GFIL_FileSystem* operator->() const;
    GFIL_FileSystem& operator*() const;

    // Drops this handle's reference; the handle becomes empty.
    void Reset() noexcept;

    // Shortcuts to the object's operations of the same names (empty handle: see operator->).
    std::wstring Path() const;
    bool IsRoot() const;
    std::wstring Name() const;
    GFIL_FileSpec Parent() const;
    GFIL_FileSpec Child(const std::wstring& name) const;

private:
    GFIL_FileSystem* m_object = nullptr;
};

// Writes the path (its bytes, through PathToNarrow); an empty handle writes nothing.
std::ostream& operator<<(std::ostream& stream, const GFIL_FileSpec& spec);

// The object's class needs the handle complete and the handle's users need the object's
// operations, so each header brings in the other.
#include "GFIL/GFIL_FileSystem.h"
