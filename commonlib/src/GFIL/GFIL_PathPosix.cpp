#include "GFIL/GFIL_PathPosix.h"

#include "GFIL/GFIL_Messages.h"
#include "GLIB/GLIB_String.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <vector>

namespace
{
#ifdef PATH_MAX
constexpr std::size_t kPathMax = PATH_MAX;
#else
constexpr std::size_t kPathMax = 4096;
#endif
#ifdef NAME_MAX
constexpr std::size_t kNameMax = NAME_MAX;
#else
constexpr std::size_t kNameMax = 255;
#endif

// Bytes of a name that are not UTF-8 travel as U+DC80..U+DCFF (PathToWide).
bool IsEscapedByte(std::uint32_t code)
{
    return code >= 0xDC80 && code <= 0xDCFF;
}

// A character the disk can be asked for: not a control character, and a Unicode scalar value or
// an escaped byte (anything else would reach the file system as "?" and name a different file).
bool IsValidCharacter(wchar_t c)
{
    const auto code = static_cast<std::uint32_t>(c);
    return code >= 0x20 && (!(code >= 0xD800 && code <= 0xDFFF) || IsEscapedByte(code)) &&
           code <= 0x10FFFF;
}

// The first escaped byte of a text whose escapes do not come back as themselves, or 0.
wchar_t FirstAmbiguousEscape(const std::wstring& text)
{
    if (IsLosslessPath(text))
        return 0;
    for (const wchar_t c : text)
        if (IsEscapedByte(static_cast<std::uint32_t>(c)))
            return c;
    return 0;
}

std::size_t Utf8Length(wchar_t c)
{
    const auto code = static_cast<std::uint32_t>(c);
    if (code < 0x80 || IsEscapedByte(code))
        return 1;
    if (code < 0x800)
        return 2;
    if (code < 0x10000)
        return 3;
    return 4;
}

std::size_t Utf8Length(const std::wstring& text)
{
    std::size_t length = 0;
    for (const wchar_t c : text)
        length += Utf8Length(c);
    return length;
}

// Resolves "." and ".." and drops empty components; ".." at the root stays at the root.
void Append(std::vector<std::wstring>& components, const std::wstring& text)
{
    std::size_t start = 0;
    while (start <= text.size())
    {
        std::size_t separator = text.find(L'/', start);
        if (separator == std::wstring::npos)
            separator = text.size();
        const std::wstring component = text.substr(start, separator - start);
        if (component == L"..")
        {
            if (!components.empty())
                components.pop_back();
        }
        else if (!component.empty() && component != L".")
        {
            components.push_back(component);
        }
        start = separator + 1;
    }
}
} // namespace

std::wstring GFIL_PathPosix::Normalize(const std::wstring& given,
                                       const std::wstring& currentDirectory)
{
    if (given.empty())
        GFIL_Messages::ThrowCannotExpand(GFIL_Messages::Quoted(given), ENOENT, __FILE__, __LINE__);

    std::vector<std::wstring> components;
    if (given[0] != L'/')
        Append(components, currentDirectory);
    Append(components, given);

    std::wstring path;
    for (const std::wstring& component : components)
    {
        path += L'/';
        path += component;
    }
    if (path.empty())
        path = L"/";

    // PATH_MAX counts the terminating zero.
    if (Utf8Length(path) >= kPathMax)
    {
        GFIL_Messages::ThrowCannotExpand(GFIL_Messages::Quoted(given), ENAMETOOLONG, __FILE__,
                                         __LINE__);
    }
    for (const wchar_t c : path)
    {
        if (!IsValidCharacter(c))
            GFIL_Messages::ThrowInvalidCharacter(path, c, __FILE__, __LINE__);
    }
    if (const wchar_t c = FirstAmbiguousEscape(path))
        GFIL_Messages::ThrowInvalidCharacter(path, c, __FILE__, __LINE__);
    for (const std::wstring& component : components)
    {
        if (Utf8Length(component) > kNameMax)
            GFIL_Messages::ThrowInvalidComponent(path, component, __FILE__, __LINE__);
    }
    return path;
}

bool GFIL_PathPosix::IsValidName(const std::wstring& name)
{
    for (const wchar_t c : name)
    {
        if (c == L'/' || !IsValidCharacter(c))
            return false;
    }
    return FirstAmbiguousEscape(name) == 0 && Utf8Length(name) <= kNameMax;
}

bool GFIL_PathPosix::IsRoot(const std::wstring& path)
{
    return path == L"/";
}

std::wstring GFIL_PathPosix::Name(const std::wstring& path)
{
    if (IsRoot(path))
        return path;
    const std::size_t separator = path.rfind(L'/');
    return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

std::wstring GFIL_PathPosix::ParentPath(const std::wstring& path)
{
    if (IsRoot(path))
        GFIL_Messages::ThrowRootHasNoParent(path, __FILE__, __LINE__);
    const std::size_t separator = path.rfind(L'/');
    if (separator == std::wstring::npos || separator == 0)
        return L"/";
    return path.substr(0, separator);
}

std::wstring GFIL_PathPosix::ChildPath(const std::wstring& path, const std::wstring& name)
{
    if (!IsValidName(name))
        GFIL_Messages::ThrowInvalidName(name, __FILE__, __LINE__);
    if (!path.empty() && path.back() == L'/')
        return path + name;
    return path + L'/' + name;
}
