#pragma once

#include <cstddef>
#include <map>
#include <string>

// The Windows path grammar (drive and UNC forms) as pure functions of their inputs, built and
// tested on every platform and used by GFIL_FileSystemWin32 on Windows.
//
// Normalised form: all separators backslashes; "X:\…" (drive) or "\\server\share\…" (UNC);
// no trailing backslash except on a drive root, which keeps its one. Every fault throws
// GLIB_DerivedException<Tag_GFIL_Exception> with code 1158001 and the documented text.
class GFIL_PathWin32
{
public:
    // What the full-path expansion resolves relative forms against.
    struct Environment
    {
        // Absolute, normalised: "C:\Work" or "\\server\share\dir".
        std::wstring currentDirectory;
        // Current directories of other drives, keyed by upper-case letter, for "D:name" forms.
        // A drive that has none resolves against its root.
        std::map<wchar_t, std::wstring> driveDirectories;
    };

    // Limit of the expansion, in characters including the terminating zero.
    static constexpr std::size_t kMaxPath = 260;

    // The platform's full-path expansion: relative, drive-relative and rooted forms resolved,
    // "/" turned into "\", "." and ".." components resolved (".." never climbs above a drive
    // root or a UNC share). Doubled separators are kept so that the checks can refuse them.
    // Returns false when the path cannot be expanded (empty, or longer than kMaxPath - 1).
    static bool Expand(const std::wstring& given, const Environment& environment,
                       std::wstring& expanded);

    // Expands and checks `given`, returning the normalised path.
    static std::wstring Normalize(const std::wstring& given, const Environment& environment);

    // The name check: none of < > * : / " \ and no character below U+0020; not exactly "aux",
    // "con" or "prn"; not lpt or com followed by one decimal digit (lower case only). "?" and
    // "|" pass; an empty name passes.
    static bool IsValidName(const std::wstring& name);

    // Drive root "X:\" (exactly three characters) or UNC path with fewer than four backslashes.
    static bool IsRoot(const std::wstring& path);
    static std::wstring Name(const std::wstring& path, const Environment& environment);
    static std::wstring ParentPath(const std::wstring& path, const Environment& environment);
    // The child's path, to be normalised by constructing a specification from it; the child of
    // a drive root gets a single separator after the drive.
    static std::wstring ChildPath(const std::wstring& path, const std::wstring& name);

private:
    // Expands a stored path again and finds where its last component begins; a path that
    // cannot be expanded throws the "cannot be divided" message.
    static std::wstring ExpandForDivision(const std::wstring& path, const Environment& environment,
                                          std::size_t& lastStart);
};
