#include "GLIB/GLIB_String.h"
#include "GLIB/GLIB_CaseFolder.h"
#include "GLIB/GLIB_OStringStream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <set>

TEST(GLIB_String, ToWideDecodesUtf8AndStopsAtZero)
{
    EXPECT_EQ(ToWide("plain"), L"plain");
    EXPECT_EQ(ToWide("Stra\xc3\x9f"
                     "e \xe2\x82\xac \xf0\x9f\x98\x80"),
              L"Stra\u00dfe \u20ac \U0001F600");
    EXPECT_EQ(ToWide(std::string_view("ab\0cd", 5)), L"ab");
    EXPECT_EQ(ToWide(static_cast<const char*>(nullptr)), L"");
    EXPECT_EQ(ToWide(""), L"");
}

TEST(GLIB_String, ToWideOfInvalidTextIsEmpty)
{
    EXPECT_EQ(ToWide("ok\xff"), L"");           // byte that never occurs in UTF-8
    EXPECT_EQ(ToWide("\xc3"), L"");             // cut sequence at the end
    EXPECT_EQ(ToWide("\xe2\x82"), L"");         // cut three-byte sequence
    EXPECT_EQ(ToWide("\xc0\xaf"), L"");         // overlong slash
    EXPECT_EQ(ToWide("\xed\xa0\x80"), L"");     // encoded surrogate
    EXPECT_EQ(ToWide("\xf4\x90\x80\x80"), L""); // past U+10FFFF
    EXPECT_EQ(ToWide("a\x80z"), L"");           // stray continuation byte
}

TEST(GLIB_String, ToNarrowEncodesAndReplacesWhatUtf8CannotHold)
{
    EXPECT_EQ(ToNarrow(L"Stra\u00dfe \u20ac \U0001F600"), "Stra\xc3\x9f"
                                                          "e \xe2\x82\xac \xf0\x9f\x98\x80");
    EXPECT_EQ(ToNarrow(std::wstring(1, static_cast<wchar_t>(0xD800)) + L"x"), "?x");
    EXPECT_EQ(ToNarrow(std::wstring(1, static_cast<wchar_t>(0x110000))), "?");
    EXPECT_EQ(ToNarrow(static_cast<const wchar_t*>(nullptr)), "");
    EXPECT_EQ(ToNarrow(std::wstring_view(L"ab\0cd", 5)), "ab");
    // Round trip of every boundary of the encoding.
    const std::wstring edges = {0x7F,   0x80,   0x7FF,   0x800,   0xD7FF,
                                0xE000, 0xFFFF, 0x10000, 0x10FFFF};
    EXPECT_EQ(ToWide(ToNarrow(edges)), edges);
}

TEST(GLIB_CaseFolder, TableHasTheDocumentedShape)
{
    const auto table = GLIB_CaseFoldingTable();
    ASSERT_EQ(table.size(), 829u);
    EXPECT_EQ(table.front().key, 0x0041);
    EXPECT_EQ(table.back().key, 0xFF3A);
    EXPECT_TRUE(std::is_sorted(table.begin(), table.end(),
                               [](const auto& a, const auto& b) { return a.key < b.key; }));
    std::size_t multi = 0;
    std::set<uint16_t> keys;
    std::set<uint16_t> duplicated;
    for (const GLIB_CaseFolding& row : table)
    {
        ASSERT_GE(row.length, 1);
        ASSERT_LE(row.length, 3);
        if (row.length > 1)
            ++multi;
        if (!keys.insert(row.key).second)
            duplicated.insert(row.key);
    }
    EXPECT_EQ(multi, 103u);
    EXPECT_EQ(duplicated.size(), 27u);
    std::set<uint16_t> expected = {0x1FBC, 0x1FCC, 0x1FFC};
    for (uint16_t base : {0x1F88, 0x1F98, 0x1FA8})
        for (uint16_t k = 0; k < 8; ++k)
            expected.insert(static_cast<uint16_t>(base + k));
    EXPECT_EQ(duplicated, expected);
}

TEST(GLIB_CaseFolder, MultiUnitFoldingsAndUnfoldedUnits)
{
    EXPECT_EQ(FoldCase(L"\u00df"), L"ss");
    EXPECT_EQ(FoldCase(L"\u0130"), L"i\u0307");
    EXPECT_EQ(FoldCase(L"\u0149"), L"\u02bcn");
    EXPECT_EQ(FoldCase(L"\uFB03"), L"ffi");
    EXPECT_EQ(FoldCase(L"\u1F88"), L"\u1F00\u03B9"); // the full folding wins
    EXPECT_EQ(FoldCase(L"ABC xyz \uFF21\uFF3A"), L"abc xyz \uFF41\uFF5A");
    EXPECT_EQ(FoldCase(L"\u03A3\u0399\u03A3"), L"\u03C3\u03B9\u03C3");
    // Characters whose lower-case partner came after Unicode 4.0 stay as they are.
    EXPECT_EQ(FoldCase(L"\u10A0\u2132"), L"\u10A0\u2132");
    // Units outside the table, including beyond the BMP, pass through in runs.
    EXPECT_EQ(FoldCase(L"123-\U0001F600-\U00010400"), L"123-\U0001F600-\U00010400");
    EXPECT_EQ(FoldCase(L""), L"");
    EXPECT_EQ(GLIB_FindCaseFolding(L'a'), nullptr);
    ASSERT_NE(GLIB_FindCaseFolding(L'A'), nullptr);
}

TEST(GLIB_String, CompareNoCase)
{
    EXPECT_EQ(CompareNoCase(L"Job Folder", L"JOB FOLDER"), 0);
    EXPECT_EQ(CompareNoCase(L"Stra\u00dfe", L"STRASSE"), 0);
    EXPECT_EQ(CompareNoCase(L"strasse", L"Stra\u00dfe"), 0);
    EXPECT_LT(CompareNoCase(L"abc", L"ABCD"), 0);
    EXPECT_GT(CompareNoCase(L"abcd", L"ABC"), 0);
    EXPECT_LT(CompareNoCase(L"Apple", L"banana"), 0);
    EXPECT_GT(CompareNoCase(L"zeta", L"Alpha"), 0);
    EXPECT_EQ(CompareNoCase(static_cast<const wchar_t*>(nullptr), L""), 0);
    EXPECT_LT(CompareNoCase(static_cast<const wchar_t*>(nullptr), L"a"), 0);
    // Compared as code unit values: a unit above the ASCII range sorts after every ASCII unit.
    EXPECT_GT(CompareNoCase(L"\u00e9", L"z"), 0);
    EXPECT_LT(CompareNoCase(L"z", L"\U0001F600"), 0);
}

TEST(GLIB_String, CompareAsciiNoCase)
{
    EXPECT_EQ(CompareAsciiNoCase("EN", "en"), 0);
    EXPECT_EQ(CompareAsciiNoCase("de", "DE"), 0);
    EXPECT_EQ(CompareAsciiNoCase("a", "B"), 'a' - 'b');
    EXPECT_EQ(CompareAsciiNoCase("ab", "abc"), -'c');
    EXPECT_EQ(CompareAsciiNoCase("abc", "ab"), 'c');
    // Only A-Z folds: '[' (after 'Z') against '{' (after 'z') differ, and bytes above 0x7F are
    // taken unsigned.
    EXPECT_NE(CompareAsciiNoCase("[", "{"), 0);
    EXPECT_GT(CompareAsciiNoCase("\xc3", "z"), 0);
    EXPECT_EQ(CompareAsciiNoCase(nullptr, ""), 0);
    EXPECT_LT(CompareAsciiNoCase(nullptr, "a"), 0);
}

TEST(GLIB_String, FormatBoundedAtTheBufferEdge)
{
    char buffer[8];
    EXPECT_EQ(FormatBounded(buffer, sizeof buffer, "%s", "1234567"), 7);
    EXPECT_STREQ(buffer, "1234567");
    EXPECT_EQ(FormatBounded(buffer, sizeof buffer, "%s", "12345678"), -1);
    EXPECT_STREQ(buffer, "1234567");
    EXPECT_EQ(FormatBounded(buffer, sizeof buffer, "%d-%d", 12, 345), 6);
    EXPECT_STREQ(buffer, "12-345");
    EXPECT_EQ(FormatBounded(nullptr, 8, "%d", 1), -1);
    EXPECT_EQ(FormatBounded(buffer, 0, "%d", 1), -1);
    char one[1] = {'x'};
    EXPECT_EQ(FormatBounded(one, 1, "%s", ""), 0);
    EXPECT_EQ(one[0], '\0');
}

TEST(GLIB_String, FormatBoundedWideAtTheBufferEdge)
{
    wchar_t buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), L'#');
    EXPECT_EQ(FormatBounded(buffer, 8, L"%ls", L"1234567"), 7);
    EXPECT_EQ(std::wstring(buffer), L"1234567");
    EXPECT_EQ(FormatBounded(buffer, 8, L"%ls%d", L"\u00e9t\u00e9", 12345), -1);
    EXPECT_EQ(std::wstring(buffer), L"\u00e9t\u00e91234");
    EXPECT_EQ(FormatBounded(buffer, 4, L"%d", 1234), -1);
    EXPECT_EQ(std::wstring(buffer), L"123");
    EXPECT_EQ(buffer[3], L'\0');
    EXPECT_EQ(FormatBounded(static_cast<wchar_t*>(nullptr), 4, L"%d", 1), -1);
}

TEST(GLIB_String, SystemErrorText)
{
    EXPECT_EQ(SystemErrorText(ENOENT), L"No such file or directory (code: 2)");
    EXPECT_EQ(SystemErrorTextNarrow(EACCES), "Permission denied (code: 13)");
    EXPECT_EQ(SystemErrorText(987654), L"Error translating Win32 error code (code: 987654)");
    EXPECT_EQ(SystemErrorText(-5), L"Error translating Win32 error code (code: -5)");
}

TEST(GLIB_String, StringStreamsComposeTextsAndNumbers)
{
    GLIB_OStringStream narrow;
    narrow << "code = " << 1158001 << "; " << -4;
    EXPECT_EQ(narrow.str(), "code = 1158001; -4");
    GLIB_WOStringStream wide;
    wide << L"line " << 550;
    EXPECT_EQ(wide.str(), L"line 550");
}

TEST(GLIB_String, PathConversionsCarryEveryByteBackAndForth)
{
    // Valid UTF-8 reads as ToWide does; each byte of a broken sequence becomes U+DC00 + byte.
    EXPECT_EQ(PathToWide("Stra\xc3\x9f"
                         "e"),
              L"Stra\u00dfe");
    EXPECT_EQ(PathToWide("caf\xe9.tif"), L"caf\xDCE9.tif");       // Latin-1
    EXPECT_EQ(PathToWide("\xe2\x82"), L"\xDCE2\xDC82");           // cut sequence
    EXPECT_EQ(PathToWide("\xed\xa0\x80"), L"\xDCED\xDCA0\xDC80"); // encoded surrogate
    EXPECT_EQ(PathToWide("\xc0\xaf"), L"\xDCC0\xDCAF");           // overlong slash stays bytes
    EXPECT_EQ(PathToWide(std::string_view("a\xff\0b", 4)), L"a\xDCFF");

    // Every byte string survives the trip, and its wide form is accepted as lossless.
    std::string all;
    for (int b = 1; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    for (const std::string& bytes :
         {all, std::string("\xc3\xa9\xc3"), std::string("\xf0\x9f\x98\x80\xf0\x9f"),
          std::string("/jobs/\xc9t\xe9/a.tif")})
    {
        const std::wstring wide = PathToWide(bytes);
        EXPECT_EQ(PathToNarrow(wide), bytes);
        EXPECT_TRUE(IsLosslessPath(wide));
    }

    // Escapes that spell a valid sequence, and surrogates that are not escapes, are not.
    EXPECT_FALSE(IsLosslessPath(L"\xDCC3\xDCA9"));
    EXPECT_FALSE(IsLosslessPath(std::wstring(1, static_cast<wchar_t>(0xD800))));
    EXPECT_FALSE(IsLosslessPath(L"\xDC41")); // "A" is never escaped
    EXPECT_TRUE(IsLosslessPath(L"\xDCC3x"));
    EXPECT_EQ(PathToNarrow(std::wstring(1, static_cast<wchar_t>(0xD800)) + L"x"), "?x");
}
