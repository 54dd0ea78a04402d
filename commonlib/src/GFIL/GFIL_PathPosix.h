#pragma once

#include <string>

// The path grammar of the POSIX file system, as pure functions of their inputs (the current
// directory is a parameter), so that it can be tested without touching the disk.
//
// Normalised form: absolute, "/" separated, "." and ".." resolved lexically (no symbolic links
// are followed), doubled separators collapsed, no trailing "/" except on the root "/".
// Refused (code 1158001, GLIB_DerivedException<Tag_GFIL_Exception>): an empty path, a path
// whose expansion reaches PATH_MAX bytes, a character below U+0020 or one that is not a Unicode
// scalar value (it could not be named on disk), a component longer than NAME_MAX bytes. Bytes of
// a name that are not UTF-8 are carried as U+DC80..U+DCFF (PathToWide) and accepted, unless they
// would spell a valid UTF-8 sequence on disk and so name another file.
class GFIL_PathPosix
{
public:
    // Expands `given` against `currentDirectory` (itself absolute and normalised) and checks the
    // result. Returns the normalised path.
    static std::wstring Normalize(const std::wstring& given, const std::wstring& currentDirectory);

    // The name check for one component: no "/", no character below U+0020 or outside Unicode,
    // at most NAME_MAX bytes in UTF-8. An empty name passes.
    static bool IsValidName(const std::wstring& name);

    static bool IsRoot(const std::wstring& path);
    // The last component; the root's name is the root itself.
    static std::wstring Name(const std::wstring& path);
    // The containing folder's path; the root throws 1158001 "The spec "/" is the root object;
    // cannot retrieve a parent.".
    static std::wstring ParentPath(const std::wstring& path);
    // The path of the named entry (unnormalised; construct a specification from it). An invalid
    // name throws 1158001 "The name "…" is invalid for the Win32 platform.".
    static std::wstring ChildPath(const std::wstring& path, const std::wstring& name);
};
