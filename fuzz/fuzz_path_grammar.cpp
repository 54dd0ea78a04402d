// Runs arbitrary text through both path grammars (the POSIX one that runs here and the portable
// Windows one). Only the file-system exception with the invalid-path code may escape a
// grammar; a path that is accepted must come back unchanged when normalised again and must be
// rebuilt exactly from its parent and its name.

#include "GFIL/GFIL_Constants.h"
#include "GFIL/GFIL_FileSpec.h"
#include "GFIL/GFIL_PathPosix.h"
#include "GFIL/GFIL_PathWin32.h"
#include "GLIB/GLIB_Exception.h"
#include "GLIB/GLIB_String.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{
void Require(bool condition, const char* what)
{
    if (!condition)
    {
        std::fprintf(stderr, "path grammar property broken: %s\n", what);
        std::abort();
    }
}

// Runs one grammar call; a coded invalid-path failure is an answer, anything else a fault.
template <class Call>
bool Accepts(Call&& call)
{
    try
    {
        call();
        return true;
    }
    catch (const GLIB_DerivedException<Tag_GFIL_Exception>& error)
    {
        Require(error.GetCode() == GFIL_ERR_INVALID_PATH, "unexpected error code");
        Require(!error.GetDeveloperMessage().empty(), "empty message");
        return false;
    }
}

// Four readings of the bytes, so that control characters, lone surrogates, separators and names
// that are not UTF-8 all turn up often: UTF-8, little-endian 16-bit units, one byte per
// character, and bytes as a file name is carried (undecodable bytes as U+DC80..U+DCFF).
std::wstring Decode(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return std::wstring();
    const std::uint8_t mode = data[0] % 4;
    ++data;
    --size;
    std::wstring text;
    if (mode == 0)
    {
        text = ToWide(std::string(reinterpret_cast<const char*>(data), size));
    }
    else if (mode == 1)
    {
        for (std::size_t i = 0; i + 1 < size; i += 2)
            text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    }
    else if (mode == 2)
    {
        for (std::size_t i = 0; i < size; ++i)
            text += static_cast<wchar_t>(data[i]);
    }
    else
    {
        text = PathToWide(std::string_view(reinterpret_cast<const char*>(data), size));
    }
    return text;
}

void CheckWin32(const std::wstring& given, const GFIL_PathWin32::Environment& environment)
{
    std::wstring path;
    if (!Accepts([&] { path = GFIL_PathWin32::Normalize(given, environment); }))
        return;
    Require(!path.empty(), "accepted path is empty");
    Require(GFIL_PathWin32::Normalize(path, environment) == path, "normalising twice differs");
    Require(path.back() != L'\\' || GFIL_PathWin32::IsRoot(path), "trailing separator kept");

    std::wstring name;
    Require(Accepts([&] { name = GFIL_PathWin32::Name(path, environment); }), "Name refused");
    if (GFIL_PathWin32::IsRoot(path))
    {
        Require(name == path, "root name differs");
        Require(!Accepts([&] { GFIL_PathWin32::ParentPath(path, environment); }),
                "root has a parent");
        return;
    }
    std::wstring parent;
    Require(Accepts([&] { parent = GFIL_PathWin32::ParentPath(path, environment); }),
            "ParentPath refused");
    Require(GFIL_PathWin32::Normalize(parent, environment) == parent, "parent not normalised");
    Require(GFIL_PathWin32::Normalize(GFIL_PathWin32::ChildPath(parent, name), environment) == path,
            "parent and name do not rebuild the path");
}

void CheckPosix(const std::wstring& given)
{
    std::wstring path;
    if (!Accepts([&] { path = GFIL_PathPosix::Normalize(given, L"/fuzz/current"); }))
        return;
    Require(!path.empty() && path[0] == L'/', "accepted path not absolute");
    Require(GFIL_PathPosix::Normalize(path, L"/elsewhere") == path, "normalising twice differs");
    // What reaches the disk names this path and no other.
    Require(PathToWide(PathToNarrow(path)) == path, "bytes on disk do not come back");
    if (GFIL_PathPosix::IsRoot(path))
    {
        Require(!Accepts([&] { GFIL_PathPosix::ParentPath(path); }), "root has a parent");
        return;
    }
    const std::wstring parent = GFIL_PathPosix::ParentPath(path);
    Require(GFIL_PathPosix::ChildPath(parent, GFIL_PathPosix::Name(path)) == path,
            "parent and name do not rebuild the path");

    // The handle goes through the same grammar; a refused path must leave no object behind
    // (the leak checker sees it if one is left).
    Accepts([&] { GFIL_FileSpec spec(given); });
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::wstring given = Decode(data, size);
    static const GFIL_PathWin32::Environment drive{L"C:\\Work\\Jobs", {{L'D', L"D:\\Proofs"}}};
    static const GFIL_PathWin32::Environment unc{L"\\\\srv\\plates\\job", {}};
    CheckWin32(given, drive);
    CheckWin32(given, unc);
    CheckPosix(given);
    return 0;
}
