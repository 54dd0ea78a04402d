#include "GFIL/GFIL_PathWin32.h"
#include "GFIL/GFIL_Constants.h"
#include "GFIL_TestSupport.h"

#include <cerrno>

namespace
{
const GFIL_PathWin32::Environment kDriveEnvironment{L"C:\\Work\\Jobs", {{L'D', L"D:\\Proofs"}}};
const GFIL_PathWin32::Environment kUncEnvironment{L"\\\\srv\\plates\\job7", {}};

std::wstring Normalize(const std::wstring& given,
                       const GFIL_PathWin32::Environment& environment = kDriveEnvironment)
{
    return GFIL_PathWin32::Normalize(given, environment);
}

struct NormalizeCase
{
    const wchar_t* given;
    const wchar_t* expected;
};

void PrintTo(const NormalizeCase& c, std::ostream* out)
{
    *out << ToNarrow(c.given);
}

class PathWin32_Normalizes : public ::testing::TestWithParam<NormalizeCase>
{
};

TEST_P(PathWin32_Normalizes, ToTheExpectedPath)
{
    EXPECT_EQ(ToNarrow(Normalize(GetParam().given)), ToNarrow(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Forms, PathWin32_Normalizes,
    ::testing::Values(
        // Forward slashes come back as backslashes.
        NormalizeCase{L"C:/Work/a.tif", L"C:\\Work\\a.tif"},
        NormalizeCase{L"//srv/plates/x", L"\\\\srv\\plates\\x"},
        // The drive root keeps its backslash; everything else loses its trailing one.
        NormalizeCase{L"C:\\", L"C:\\"}, NormalizeCase{L"c:/", L"c:\\"},
        NormalizeCase{L"C:\\a\\", L"C:\\a"},
        NormalizeCase{L"\\\\srv\\plates\\", L"\\\\srv\\plates"},
        NormalizeCase{L"\\\\srv\\", L"\\\\srv"},
        // Relative, rooted and drive-relative forms.
        NormalizeCase{L"sub\\file.tif", L"C:\\Work\\Jobs\\sub\\file.tif"},
        NormalizeCase{L"\\file.tif", L"C:\\file.tif"}, NormalizeCase{L"C:", L"C:\\Work\\Jobs"},
        NormalizeCase{L"c:sub", L"C:\\Work\\Jobs\\sub"}, NormalizeCase{L"D:x", L"D:\\Proofs\\x"},
        NormalizeCase{L"E:x", L"E:\\x"},
        // "." and ".." resolve, never above the drive root.
        NormalizeCase{L".\\a\\.\\b\\..\\c", L"C:\\Work\\Jobs\\a\\c"},
        NormalizeCase{L"..\\..\\..\\..\\x", L"C:\\x"}, NormalizeCase{L"C:\\a\\..", L"C:\\"},
        NormalizeCase{L"\\\\srv\\plates\\dir\\..\\x", L"\\\\srv\\plates\\x"},
        NormalizeCase{L"\\\\srv\\plates\\..\\..\\x", L"\\\\srv\\plates\\x"},
        // Names the check lets through.
        NormalizeCase{L"C:\\CON", L"C:\\CON"}, NormalizeCase{L"C:\\Prn", L"C:\\Prn"},
        NormalizeCase{L"C:\\LPT1", L"C:\\LPT1"}, NormalizeCase{L"C:\\COM9", L"C:\\COM9"},
        NormalizeCase{L"C:\\lpt", L"C:\\lpt"}, NormalizeCase{L"C:\\com10", L"C:\\com10"},
        NormalizeCase{L"C:\\nul", L"C:\\nul"}, NormalizeCase{L"C:\\con.txt", L"C:\\con.txt"},
        NormalizeCase{L"C:\\lptx", L"C:\\lptx"}, NormalizeCase{L"C:\\what?", L"C:\\what?"}));

TEST(PathWin32, RelativeFormsFollowAUncCurrentDirectory)
{
    EXPECT_EQ(Normalize(L"x", kUncEnvironment), L"\\\\srv\\plates\\job7\\x");
    EXPECT_EQ(Normalize(L"\\x", kUncEnvironment), L"\\\\srv\\plates\\x");
    EXPECT_EQ(Normalize(L"..\\..\\..", kUncEnvironment), L"\\\\srv\\plates");
}

TEST(PathWin32, InvalidCharactersAreNamed)
{
    for (const wchar_t c : {L'<', L'>', L'*', L'"', L'|'})
    {
        const std::wstring path = std::wstring(L"C:\\a") + c + L"b";
        EXPECT_FILE_ERROR(Normalize(path), GFIL_ERR_INVALID_PATH,
                          "The path \"" + ToNarrow(path) + "\" contains the invalid character \"" +
                              static_cast<char>(c) + "\"");
    }
}

TEST(PathWin32, ControlCharactersAreGivenInLowerCaseHex)
{
    EXPECT_FILE_ERROR(Normalize(L"C:\\a\tb"), GFIL_ERR_INVALID_PATH,
                      "The path \"C:\\a\tb\" contains the invalid character 0x9");
    EXPECT_FILE_ERROR(Normalize(L"C:\\a\x1f"), GFIL_ERR_INVALID_PATH,
                      "The path \"C:\\a\x1f\" contains the invalid character 0x1f");
    EXPECT_FILE_ERROR(Normalize(std::wstring(L"C:\\a\0b", 6)), GFIL_ERR_INVALID_PATH,
                      "The path \"C:\\a?b\" contains the invalid character 0x0");
    // The first fault from the left decides.
    EXPECT_FILE_ERROR(Normalize(L"C:\\a\x01<"), GFIL_ERR_INVALID_PATH,
                      "The path \"C:\\a\x01<\" contains the invalid character 0x1");
}

TEST(PathWin32, ColonsOnlyAfterTheDriveLetter)
{
    EXPECT_FILE_ERROR(Normalize(L"C:\\a:b"), GFIL_ERR_INVALID_PATH,
                      "The path \"C:\\a:b\" cannot contain \":\"");
    EXPECT_FILE_ERROR(Normalize(L":x"), GFIL_ERR_INVALID_PATH,
                      "The path \"C:\\Work\\Jobs\\:x\" cannot contain \":\"");
    EXPECT_FILE_ERROR(Normalize(L"\\\\srv\\c:"), GFIL_ERR_INVALID_PATH,
                      "The path \"\\\\srv\\c:\" cannot contain \":\"");
}

TEST(PathWin32, DriveMustBeALetterFollowedByColonAndBackslash)
{
    const std::string format = "\" isn't using the \"[A-Z]:\\\" format";
    EXPECT_FILE_ERROR(Normalize(L"1:\\x"), GFIL_ERR_INVALID_PATH, "The path \"1:\\x" + format);
    EXPECT_FILE_ERROR(Normalize(L"1:"), GFIL_ERR_INVALID_PATH, "The path \"1:" + format);
    EXPECT_FILE_ERROR(Normalize(L"\x00e9:\\x"), GFIL_ERR_INVALID_PATH,
                      "The path \"\xc3\xa9:\\x" + format);
}

TEST(PathWin32, SingleLeadingBackslashIsNotUnc)
{
    // Only reachable when there is no current directory to root the path in.
    const GFIL_PathWin32::Environment none{};
    EXPECT_FILE_ERROR(Normalize(L"x", none), GFIL_ERR_INVALID_PATH,
                      "The path \"\\x\" isn't using the \"\\\" UNC format");
}

TEST(PathWin32, EmptyComponentsGiveTheirPosition)
{
    EXPECT_FILE_ERROR(Normalize(L"C:\\a\\\\b"), GFIL_ERR_INVALID_PATH,
                      "The path \"C:\\a\\\\b\" contains an empty name component at pos 5");
    EXPECT_FILE_ERROR(Normalize(L"C:\\\\a"), GFIL_ERR_INVALID_PATH,
                      "The path \"C:\\\\a\" contains an empty name component at pos 3");
    EXPECT_FILE_ERROR(Normalize(L"C://a"), GFIL_ERR_INVALID_PATH,
                      "The path \"C:\\\\a\" contains an empty name component at pos 3");
    EXPECT_FILE_ERROR(Normalize(L"\\\\\\srv"), GFIL_ERR_INVALID_PATH,
                      "The path \"\\\\\\srv\" contains an empty name component at pos 2");
    EXPECT_FILE_ERROR(Normalize(L"\\\\srv\\\\plates"), GFIL_ERR_INVALID_PATH,
                      "The path \"\\\\srv\\\\plates\" contains an empty name component at pos 6");
    // Two trailing separators leave an empty component before the last one.
    EXPECT_FILE_ERROR(Normalize(L"C:\\a\\\\"), GFIL_ERR_INVALID_PATH,
                      "The path \"C:\\a\\\\\" contains an empty name component at pos 5");
}

TEST(PathWin32, UncWithoutServerIsRefusedInsteadOfBecomingEmpty)
{
    EXPECT_FILE_ERROR(Normalize(L"\\\\"), GFIL_ERR_INVALID_PATH,
                      "The path \"\\\\\" contains an empty name component at pos 2");
    EXPECT_FILE_ERROR(Normalize(L"//"), GFIL_ERR_INVALID_PATH,
                      "The path \"\\\\\" contains an empty name component at pos 2");
}

TEST(PathWin32, ReservedLowerCaseNamesAreRefusedAnywhere)
{
    for (const wchar_t* name : {L"con", L"prn", L"aux", L"lpt1", L"com9", L"com0"})
    {
        const std::string narrow = ToNarrow(name);
        EXPECT_FILE_ERROR(Normalize(std::wstring(L"C:\\a\\") + name), GFIL_ERR_INVALID_PATH,
                          "The path \"C:\\a\\" + narrow +
                              "\" contains an invalid name component \"" + narrow + "\"");
        EXPECT_FILE_ERROR(Normalize(std::wstring(L"C:\\") + name + L"\\b"), GFIL_ERR_INVALID_PATH,
                          "The path \"C:\\" + narrow +
                              "\\b\" contains an invalid name component \"" + narrow + "\"");
    }
    // The server and share of a UNC path are components too.
    EXPECT_FILE_ERROR(Normalize(L"\\\\aux\\x"), GFIL_ERR_INVALID_PATH,
                      "The path \"\\\\aux\\x\" contains an invalid name component \"aux\"");
}

TEST(PathWin32, ExpansionLimitIs259Characters)
{
    const std::wstring fits = L"C:\\" + std::wstring(256, L'a');
    EXPECT_EQ(Normalize(fits), fits);
    const std::wstring tooLong = fits + L"a";
    EXPECT_FILE_ERROR(Normalize(tooLong), GFIL_ERR_INVALID_PATH,
                      "The path \"" + ToNarrow(tooLong) + "\" cannot be expanded;" +
                          SysText(ENAMETOOLONG));
    // A short relative path can still expand past the limit.
    const std::wstring relative(250, L'b');
    EXPECT_FILE_ERROR(Normalize(relative), GFIL_ERR_INVALID_PATH,
                      "The path \"" + ToNarrow(relative) + "\" cannot be expanded;" +
                          SysText(ENAMETOOLONG));
    // ".." may bring a long given path back under the limit.
    EXPECT_EQ(Normalize(L"C:\\" + std::wstring(300, L'c') + L"\\..\\d"), L"C:\\d");
}

TEST(PathWin32, EmptyPathCannotBeExpanded)
{
    EXPECT_FILE_ERROR(Normalize(L""), GFIL_ERR_INVALID_PATH,
                      "The path \"\" cannot be expanded;" + SysText(ENOENT));
}

TEST(PathWin32, NameCheck)
{
    for (const wchar_t* good : {L"", L"a", L"CON", L"lpt", L"com10", L"nul", L"a?b", L"a|b",
                                L"lpt1.txt", L"x.", L"\x00e9t\x00e9"})
        EXPECT_TRUE(GFIL_PathWin32::IsValidName(good)) << ToNarrow(good);
    for (const wchar_t* bad : {L"a<", L"a>", L"a*", L"a:", L"a/b", L"a\"", L"a\\b", L"a\tb", L"aux",
                               L"con", L"prn", L"lpt0", L"com5"})
        EXPECT_FALSE(GFIL_PathWin32::IsValidName(bad)) << ToNarrow(bad);
}

TEST(PathWin32, Roots)
{
    EXPECT_TRUE(GFIL_PathWin32::IsRoot(L"C:\\"));
    EXPECT_TRUE(GFIL_PathWin32::IsRoot(L"\\\\srv"));
    EXPECT_TRUE(GFIL_PathWin32::IsRoot(L"\\\\srv\\plates"));
    EXPECT_FALSE(GFIL_PathWin32::IsRoot(L"\\\\srv\\plates\\job"));
    EXPECT_FALSE(GFIL_PathWin32::IsRoot(L"C:\\a"));
    EXPECT_FALSE(GFIL_PathWin32::IsRoot(L"C:"));
}

TEST(PathWin32, NameIsTheLastComponentOrTheWholeRoot)
{
    EXPECT_EQ(GFIL_PathWin32::Name(L"C:\\", kDriveEnvironment), L"C:\\");
    EXPECT_EQ(GFIL_PathWin32::Name(L"C:\\Work\\sheet 1.tif", kDriveEnvironment), L"sheet 1.tif");
    EXPECT_EQ(GFIL_PathWin32::Name(L"C:\\Work", kDriveEnvironment), L"Work");
    EXPECT_EQ(GFIL_PathWin32::Name(L"\\\\srv\\plates", kDriveEnvironment), L"\\\\srv\\plates");
    EXPECT_EQ(GFIL_PathWin32::Name(L"\\\\srv\\plates\\job", kDriveEnvironment), L"job");
}

TEST(PathWin32, ParentOfDriveAndUncForms)
{
    EXPECT_EQ(GFIL_PathWin32::ParentPath(L"C:\\a", kDriveEnvironment), L"C:\\");
    EXPECT_EQ(GFIL_PathWin32::ParentPath(L"C:\\a\\b.tif", kDriveEnvironment), L"C:\\a");
    EXPECT_EQ(GFIL_PathWin32::ParentPath(L"\\\\srv\\plates\\job", kDriveEnvironment),
              L"\\\\srv\\plates");
    EXPECT_EQ(GFIL_PathWin32::ParentPath(L"\\\\srv\\plates\\job\\x", kDriveEnvironment),
              L"\\\\srv\\plates\\job");
    for (const wchar_t* root : {L"C:\\", L"\\\\srv", L"\\\\srv\\plates"})
    {
        EXPECT_FILE_ERROR(
            GFIL_PathWin32::ParentPath(root, kDriveEnvironment), GFIL_ERR_INVALID_PATH,
            "The spec \"" + ToNarrow(root) + "\" is the root object; cannot retrieve a parent.");
    }
}

TEST(PathWin32, ParentOfAPathThatCannotBeExpandedCannotBeDivided)
{
    const std::wstring tooLong = L"C:\\" + std::wstring(300, L'a');
    EXPECT_FILE_ERROR(GFIL_PathWin32::ParentPath(tooLong, kDriveEnvironment), GFIL_ERR_INVALID_PATH,
                      "The path \"" + ToNarrow(tooLong) +
                          "\" cannot be divided into its parent and child parts; " +
                          SysText(ENAMETOOLONG));
}

TEST(PathWin32, ChildHasOneSeparator)
{
    EXPECT_EQ(Normalize(GFIL_PathWin32::ChildPath(L"C:\\", L"a")), L"C:\\a");
    EXPECT_EQ(Normalize(GFIL_PathWin32::ChildPath(L"C:\\a", L"b.tif")), L"C:\\a\\b.tif");
    EXPECT_EQ(Normalize(GFIL_PathWin32::ChildPath(L"\\\\srv", L"plates")), L"\\\\srv\\plates");
    EXPECT_EQ(Normalize(GFIL_PathWin32::ChildPath(L"C:\\a", L"")), L"C:\\a");
}

TEST(PathWin32, ChildNameMustPassTheNameCheck)
{
    for (const wchar_t* bad : {L"con", L"a:b", L"a/b", L"a\\b", L"a*"})
    {
        EXPECT_FILE_ERROR(GFIL_PathWin32::ChildPath(L"C:\\a", bad), GFIL_ERR_INVALID_PATH,
                          "The name \"" + ToNarrow(bad) + "\" is invalid for the Win32 platform.");
    }
    // A vertical bar passes the name check but not the path's character check.
    EXPECT_FILE_ERROR(Normalize(GFIL_PathWin32::ChildPath(L"C:\\a", L"x|y")), GFIL_ERR_INVALID_PATH,
                      "The path \"C:\\a\\x|y\" contains the invalid character \"|\"");
}

TEST(PathWin32, NormalizedPathsAreStable)
{
    for (const wchar_t* given : {L"C:/a/b/", L"..\\x", L"\\\\srv\\plates\\", L"D:", L"C:\\"})
    {
        const std::wstring once = Normalize(given);
        EXPECT_EQ(Normalize(once), once) << ToNarrow(given);
    }
}
} // namespace
