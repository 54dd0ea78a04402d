#include "GFIL/GFIL_PathWin32.h"

#include "GFIL/GFIL_Constants.h"
#include "GFIL/GFIL_Messages.h"

#include <cerrno>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace
{
// Error codes whose system text ends the "cannot be expanded" and "cannot be divided" messages.
#ifdef _WIN32
constexpr int kErrorTooLong = ERROR_FILENAME_EXCED_RANGE;
constexpr int kErrorInvalidName = ERROR_INVALID_NAME;
#else
constexpr int kErrorTooLong = ENAMETOOLONG;
constexpr int kErrorInvalidName = ENOENT;
#endif

bool IsAsciiLetter(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

wchar_t UpperAscii(wchar_t c)
{
    return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

// Splits on backslashes, keeping empty pieces so that doubled separators survive.
std::vector<std::wstring> SplitKeepingEmpty(const std::wstring& text)
{
    std::vector<std::wstring> pieces;
    std::size_t start = 0;
    for (;;)
    {
        const std::size_t separator = text.find(L'\\', start);
        if (separator == std::wstring::npos)
        {
            pieces.push_back(text.substr(start));
            return pieces;
        }
        pieces.push_back(text.substr(start, separator - start));
        start = separator + 1;
    }
}

// An absolute path taken apart: its root ("X:\" or "\\") and the components after it. For a
// UNC path the first two components (server and share) are part of what ".." cannot leave.
struct Parts
{
    std::wstring root;
    std::vector<std::wstring> components;
    std::size_t fixed = 0;
};

Parts SplitAbsolute(const std::wstring& path)
{
    Parts parts;
    if (path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\')
    {
        parts.root = L"\\\\";
        parts.fixed = 2;
        if (path.size() > 2)
            parts.components = SplitKeepingEmpty(path.substr(2));
    }
    else if (path.size() >= 2 && path[1] == L':')
    {
        parts.root = path.substr(0, 2) + L"\\";
        const std::size_t restStart = (path.size() >= 3 && path[2] == L'\\') ? 3 : 2;
        if (path.size() > restStart)
            parts.components = SplitKeepingEmpty(path.substr(restStart));
    }
    else
    {
        parts.root = L"\\";
        if (!path.empty())
            parts.components = SplitKeepingEmpty(path.substr(path[0] == L'\\' ? 1 : 0));
    }
    return parts;
}

// "." is dropped and ".." removes the previous component, but never one of the fixed leading
// components of a UNC path.
void Append(Parts& parts, const std::vector<std::wstring>& more)
{
    for (const std::wstring& component : more)
    {
        if (component == L".")
            continue;
        if (component == L"..")
        {
            if (parts.components.size() > parts.fixed)
                parts.components.pop_back();
            continue;
        }
        parts.components.push_back(component);
    }
}

std::wstring Join(const Parts& parts)
{
    std::wstring path = parts.root;
    for (std::size_t i = 0; i < parts.components.size(); ++i)
    {
        if (i > 0)
            path += L'\\';
        path += parts.components[i];
    }
    return path;
}

// The base for a drive-relative "X:name": the current directory when it is on that drive,
// else the drive's own remembered directory, else the drive's root.
std::wstring DriveBase(wchar_t letter, const GFIL_PathWin32::Environment& environment)
{
    const std::wstring& current = environment.currentDirectory;
    if (current.size() >= 2 && current[1] == L':' && UpperAscii(current[0]) == UpperAscii(letter))
        return current;
    const auto found = environment.driveDirectories.find(UpperAscii(letter));
    if (found != environment.driveDirectories.end())
        return found->second;
    return std::wstring(1, letter) + L":\\";
}

// The root of the current directory: "X:\" or "\\server\share".
Parts CurrentRoot(const GFIL_PathWin32::Environment& environment)
{
    Parts parts = SplitAbsolute(environment.currentDirectory);
    if (parts.root == L"\\\\")
    {
        if (parts.components.size() > 2)
            parts.components.resize(2);
    }
    else
    {
        parts.components.clear();
    }
    return parts;
}

std::wstring StripTrailingSeparators(std::wstring path)
{
    while (!path.empty() && path.back() == L'\\')
        path.pop_back();
    if (path.size() == 2 && path[1] == L':' && IsAsciiLetter(path[0]))
        path += L'\\';
    return path;
}
} // namespace

bool GFIL_PathWin32::Expand(const std::wstring& given, const Environment& environment,
                            std::wstring& expanded)
{
    if (given.empty())
        return false;
    std::wstring text = given;
    for (wchar_t& c : text)
    {
        if (c == L'/')
            c = L'\\';
    }

    Parts parts;
    std::wstring rest;
    if (text.size() >= 2 && text[0] == L'\\' && text[1] == L'\\')
    {
        parts.root = L"\\\\";
        parts.fixed = 2;
        rest = text.substr(2);
    }
    else if (text.size() >= 2 && text[1] == L':')
    {
        if (!IsAsciiLetter(text[0]))
        {
            // Not a drive the expansion knows; the checks that follow refuse it by its shape.
            expanded = text;
            return expanded.size() < kMaxPath;
        }
        if (text.size() >= 3 && text[2] == L'\\')
        {
            parts.root = text.substr(0, 3);
            rest = text.substr(3);
        }
        else
        {
            parts = SplitAbsolute(DriveBase(text[0], environment));
            rest = text.substr(2);
        }
    }
    else if (!text.empty() && text[0] == L'\\')
    {
        parts = CurrentRoot(environment);
        rest = text.substr(1);
    }
    else
    {
        parts = SplitAbsolute(environment.currentDirectory);
        rest = text;
    }

    if (!rest.empty())
        Append(parts, SplitKeepingEmpty(rest));
    expanded = Join(parts);
    return expanded.size() < kMaxPath;
}

std::wstring GFIL_PathWin32::Normalize(const std::wstring& given, const Environment& environment)
{
    std::wstring path;
    if (!Expand(given, environment, path))
    {
        GFIL_Messages::ThrowCannotExpand(GFIL_Messages::Quoted(given),
                                         given.empty() ? kErrorInvalidName : kErrorTooLong,
                                         __FILE__, __LINE__);
    }

    for (wchar_t& c : path)
    {
        if (c == L'/')
            c = L'\\';
        if (c == L'<' || c == L'>' || c == L'*' || c == L'"' || c == L'|' ||
            static_cast<std::uint32_t>(c) < 0x20)
        {
            GFIL_Messages::ThrowInvalidCharacter(path, c, __FILE__, __LINE__);
        }
    }

    for (std::size_t i = 0; i < path.size(); ++i)
    {
        if (path[i] == L':' && i != 1)
        {
            GFIL_Messages::Throw(GFIL_ERR_INVALID_PATH,
                                 "The path " + GFIL_Messages::Quoted(path) +
                                     " cannot contain \":\"",
                                 __FILE__, __LINE__);
        }
    }

    const bool drive = path.size() >= 2 && path[1] == L':';
    if (drive && (!IsAsciiLetter(path[0]) || path.size() < 3 || path[2] != L'\\'))
    {
        GFIL_Messages::Throw(GFIL_ERR_INVALID_PATH,
                             "The path " + GFIL_Messages::Quoted(path) +
                                 " isn't using the \"[A-Z]:\\\" format",
                             __FILE__, __LINE__);
    }
    const bool unc = path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\';
    if (!path.empty() && path[0] == L'\\' && !unc)
    {
        GFIL_Messages::Throw(GFIL_ERR_INVALID_PATH,
                             "The path " + GFIL_Messages::Quoted(path) +
                                 " isn't using the \"\\\" UNC format",
                             __FILE__, __LINE__);
    }

    std::size_t start = unc ? 2 : (drive ? 3 : 0);
    for (std::size_t separator = path.find(L'\\', start); separator != std::wstring::npos;
         separator = path.find(L'\\', start))
    {
        if (separator == start)
            GFIL_Messages::ThrowEmptyComponent(path, start, __FILE__, __LINE__);
        const std::wstring component = path.substr(start, separator - start);
        if (!IsValidName(component))
            GFIL_Messages::ThrowInvalidComponent(path, component, __FILE__, __LINE__);
        start = separator + 1;
    }
    const std::wstring last = path.substr(start);
    if (!IsValidName(last))
        GFIL_Messages::ThrowInvalidComponent(path, last, __FILE__, __LINE__);
    // Two backslashes and nothing else name no server; stripping them would leave no path.
    if (unc && path.size() == 2)
        GFIL_Messages::ThrowEmptyComponent(path, 2, __FILE__, __LINE__);

    return StripTrailingSeparators(path);
}

bool GFIL_PathWin32::IsValidName(const std::wstring& name)
{
    for (const wchar_t c : name)
    {
        if (c == L'<' || c == L'>' || c == L'*' || c == L':' || c == L'/' || c == L'"' ||
            c == L'\\' || static_cast<std::uint32_t>(c) < 0x20)
        {
            return false;
        }
    }
    if (name == L"aux" || name == L"con" || name == L"prn")
        return false;
    if (name.size() == 4 && (name.compare(0, 3, L"lpt") == 0 || name.compare(0, 3, L"com") == 0) &&
        name[3] >= L'0' && name[3] <= L'9')
    {
        return false;
    }
    return true;
}

bool GFIL_PathWin32::IsRoot(const std::wstring& path)
{
    if (path.size() == 3 && IsAsciiLetter(path[0]) && path[1] == L':' && path[2] == L'\\')
        return true;
    if (path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\')
    {
        std::size_t separators = 0;
        for (const wchar_t c : path)
        {
            if (c == L'\\')
                ++separators;
        }
        return separators < 4;
    }
    return false;
}

std::wstring GFIL_PathWin32::ExpandForDivision(const std::wstring& path,
                                               const Environment& environment,
                                               std::size_t& lastStart)
{
    std::wstring expanded;
    if (!Expand(path, environment, expanded))
    {
        GFIL_Messages::ThrowCannotDivide(path, path.empty() ? kErrorInvalidName : kErrorTooLong,
                                         __FILE__, __LINE__);
    }
    const std::size_t separator = expanded.rfind(L'\\');
    lastStart = separator == std::wstring::npos ? 0 : separator + 1;
    return expanded;
}

std::wstring GFIL_PathWin32::Name(const std::wstring& path, const Environment& environment)
{
    if (IsRoot(path))
        return path;
    std::size_t start = 0;
    const std::wstring expanded = ExpandForDivision(path, environment, start);
    return expanded.substr(start);
}

std::wstring GFIL_PathWin32::ParentPath(const std::wstring& path, const Environment& environment)
{
    if (IsRoot(path))
        GFIL_Messages::ThrowRootHasNoParent(path, __FILE__, __LINE__);
    std::size_t start = 0;
    const std::wstring expanded = ExpandForDivision(path, environment, start);
    return StripTrailingSeparators(expanded.substr(0, start));
}

std::wstring GFIL_PathWin32::ChildPath(const std::wstring& path, const std::wstring& name)
{
    if (!IsValidName(name))
        GFIL_Messages::ThrowInvalidName(name, __FILE__, __LINE__);
    if (!path.empty() && path.back() == L'\\')
        return path + name;
    return path + L'\\' + name;
}
