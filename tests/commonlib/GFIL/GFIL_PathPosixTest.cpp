#include "GFIL/GFIL_PathPosix.h"
#include "GFIL/GFIL_Constants.h"
#include "GFIL_TestSupport.h"

#include <cerrno>
#include <climits>

namespace
{
const std::wstring kCurrent = L"/work/jobs";

std::wstring Normalize(const std::wstring& given)
{
    return GFIL_PathPosix::Normalize(given, kCurrent);
}

TEST(PathPosix, ExpandsAndResolvesLexically)
{
    const struct
    {
        const wchar_t* given;
        const wchar_t* expected;
    } cases[] = {
        {L"/", L"/"},
        {L"/a/b.tif", L"/a/b.tif"},
        {L"a/b", L"/work/jobs/a/b"},
        {L".", L"/work/jobs"},
        {L"..", L"/work"},
        {L"../../../../x", L"/x"},
        {L"//a///b//", L"/a/b"},
        {L"/a/./b/../c/", L"/a/c"},
        {L"/..", L"/"},
        {L"/a/..", L"/"},
        // A backslash is an ordinary character of a name here.
        {L"a\\b", L"/work/jobs/a\\b"},
        // Names that the Windows grammar refuses are plain names on this platform.
        {L"/con/aux:1/<x>|*?", L"/con/aux:1/<x>|*?"},
        {L"/\x00e9t\x00e9", L"/\x00e9t\x00e9"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ToNarrow(Normalize(c.given)), ToNarrow(c.expected)) << ToNarrow(c.given);
}

TEST(PathPosix, RefusesControlCharactersAndNonCharacters)
{
    EXPECT_FILE_ERROR(Normalize(L"/a\tb"), GFIL_ERR_INVALID_PATH,
                      "The path \"/a\tb\" contains the invalid character 0x9");
    EXPECT_FILE_ERROR(Normalize(L"rel\x1f"), GFIL_ERR_INVALID_PATH,
                      "The path \"/work/jobs/rel\x1f\" contains the invalid character 0x1f");
    EXPECT_FILE_ERROR(Normalize(std::wstring(L"/a\0b", 4)), GFIL_ERR_INVALID_PATH,
                      "The path \"/a?b\" contains the invalid character 0x0");
    // A surrogate or a value past U+10FFFF would reach the disk as "?" and name another file.
    EXPECT_FILE_ERROR(Normalize(std::wstring(L"/a") + static_cast<wchar_t>(0xD800)),
                      GFIL_ERR_INVALID_PATH,
                      "The path \"/a?\" contains the invalid character 0xd800");
    EXPECT_FILE_ERROR(Normalize(std::wstring(L"/a") + static_cast<wchar_t>(0x110000)),
                      GFIL_ERR_INVALID_PATH,
                      "The path \"/a?\" contains the invalid character 0x110000");
    EXPECT_EQ(Normalize(L"/a\x7f"), L"/a\x7f");
}

TEST(PathPosix, EmptyPathCannotBeExpanded)
{
    EXPECT_FILE_ERROR(Normalize(L""), GFIL_ERR_INVALID_PATH,
                      "The path \"\" cannot be expanded;" + SysText(ENOENT));
}

TEST(PathPosix, PathLimitCountsUtf8BytesAndTheTerminator)
{
    // PATH_MAX - 1 bytes fit; one more does not.
    std::wstring shortComponents;
    while (shortComponents.size() + 10 <= PATH_MAX - 1)
        shortComponents += L"/abcdefghi";
    shortComponents += L"/" + std::wstring(PATH_MAX - 2 - shortComponents.size(), L'z');
    ASSERT_EQ(shortComponents.size(), static_cast<std::size_t>(PATH_MAX - 1));
    EXPECT_EQ(Normalize(shortComponents), shortComponents);

    const std::wstring tooLong = shortComponents + L"y";
    EXPECT_FILE_ERROR(Normalize(tooLong), GFIL_ERR_INVALID_PATH,
                      "The path \"" + ToNarrow(tooLong) + "\" cannot be expanded;" +
                          SysText(ENAMETOOLONG));
    // Thousands of components resolve without trouble when ".." keeps them short.
    std::wstring climbing = L"/base";
    for (int i = 0; i < 5000; ++i)
        climbing += L"/step/..";
    EXPECT_EQ(Normalize(climbing), L"/base");
}

TEST(PathPosix, ComponentLimitIsNameMaxBytes)
{
    const std::wstring longest(NAME_MAX, L'n');
    EXPECT_EQ(Normalize(L"/" + longest), L"/" + longest);
    EXPECT_FILE_ERROR(Normalize(L"/" + longest + L"n/x"), GFIL_ERR_INVALID_PATH,
                      "The path \"/" + ToNarrow(longest) +
                          "n/x\" contains an invalid name component \"" + ToNarrow(longest) +
                          "n\"");
    // Two bytes per character in UTF-8: half as many characters fit.
    const std::wstring accents(NAME_MAX / 2 + 1, L'\x00e9');
    EXPECT_EQ(CatchFileError([&] { Normalize(L"/" + accents); }).code, GFIL_ERR_INVALID_PATH);
    EXPECT_NO_THROW(Normalize(L"/" + accents.substr(1)));
}

TEST(PathPosix, RootNameParentAndChild)
{
    EXPECT_TRUE(GFIL_PathPosix::IsRoot(L"/"));
    EXPECT_FALSE(GFIL_PathPosix::IsRoot(L"/a"));
    EXPECT_EQ(GFIL_PathPosix::Name(L"/"), L"/");
    EXPECT_EQ(GFIL_PathPosix::Name(L"/jobs/sheet 1.tif"), L"sheet 1.tif");
    EXPECT_EQ(GFIL_PathPosix::ParentPath(L"/jobs/sheet.tif"), L"/jobs");
    EXPECT_EQ(GFIL_PathPosix::ParentPath(L"/jobs"), L"/");
    EXPECT_FILE_ERROR(GFIL_PathPosix::ParentPath(L"/"), GFIL_ERR_INVALID_PATH,
                      "The spec \"/\" is the root object; cannot retrieve a parent.");
    EXPECT_EQ(GFIL_PathPosix::ChildPath(L"/", L"a"), L"/a");
    EXPECT_EQ(GFIL_PathPosix::ChildPath(L"/a", L"b"), L"/a/b");
}

TEST(PathPosix, ChildNameCheck)
{
    for (const wchar_t* bad : {L"a/b", L"/", L"a\nb"})
    {
        EXPECT_FILE_ERROR(GFIL_PathPosix::ChildPath(L"/a", bad), GFIL_ERR_INVALID_PATH,
                          "The name \"" + ToNarrow(bad) + "\" is invalid for the Win32 platform.");
    }
    EXPECT_FALSE(GFIL_PathPosix::IsValidName(std::wstring(NAME_MAX + 1, L'x')));
    EXPECT_TRUE(GFIL_PathPosix::IsValidName(std::wstring(NAME_MAX, L'x')));
    EXPECT_TRUE(GFIL_PathPosix::IsValidName(L"con"));
    EXPECT_TRUE(GFIL_PathPosix::IsValidName(L""));
}
} // namespace
