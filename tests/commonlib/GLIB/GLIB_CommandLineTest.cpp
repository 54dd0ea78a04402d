#include "GLIB/GLIB_CommandLine.h"

#include <gtest/gtest.h>

using Args = std::vector<std::wstring>;

TEST(GLIB_CommandLine, SplitFollowsTheShellRules)
{
    const struct
    {
        const wchar_t* line;
        Args expected;
    } cases[] = {
        {L"", {}},
        {L"krn", {L"krn"}},
        {L"  ", {L""}},
        {L"krn a b\tc", {L"krn", L"a", L"b", L"c"}},
        {L"krn   a    b  ", {L"krn", L"a", L"b"}},
        {L"\"C:\\Program Files\\krn.exe\" x", {L"C:\\Program Files\\krn.exe", L"x"}},
        {L"\"prog\"next arg", {L"prog", L"next", L"arg"}},
        {L"krn \"a b\" c", {L"krn", L"a b", L"c"}},
        {L"krn a\"b c\"d", {L"krn", L"ab cd"}},
        {L"krn \"\" x", {L"krn", L"", L"x"}},
        {L"krn a\\\\b", {L"krn", L"a\\\\b"}},
        {L"krn a\\\"b", {L"krn", L"a\"b"}},
        {L"krn a\\\\\"b c\"", {L"krn", L"a\\b c"}},
        {L"krn a\\\\\\\"b", {L"krn", L"a\\\"b"}},
        {L"krn \"C:\\dir\\\\\" next", {L"krn", L"C:\\dir\\", L"next"}},
        {L"krn \"a\"\"b\"", {L"krn", L"a\"b"}},
        {L"krn \"a\"\"\"b", {L"krn", L"a\"b"}},
        {L"krn trailing\\", {L"krn", L"trailing\\"}},
        {L"krn \"unterminated", {L"krn", L"unterminated"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GLIB_CommandLine::Split(c.line), c.expected) << "line: " << c.line;
}

TEST(GLIB_CommandLine, QuoteOnlyWhatNeedsIt)
{
    EXPECT_EQ(GLIB_CommandLine::QuoteArgument(L"plain"), L"plain");
    EXPECT_EQ(GLIB_CommandLine::QuoteArgument(L"a\\b"), L"a\\b");
    EXPECT_EQ(GLIB_CommandLine::QuoteArgument(L""), L"\"\"");
    EXPECT_EQ(GLIB_CommandLine::QuoteArgument(L"a b"), L"\"a b\"");
    EXPECT_EQ(GLIB_CommandLine::QuoteArgument(L"say \"hi\""), L"\"say \\\"hi\\\"\"");
    EXPECT_EQ(GLIB_CommandLine::QuoteArgument(L"dir with space\\"), L"\"dir with space\\\\\"");
    EXPECT_EQ(GLIB_CommandLine::QuoteArgument(L"a\\\"b"), L"\"a\\\\\\\"b\"");
}

TEST(GLIB_CommandLine, JoinThenSplitGivesTheArgumentsBack)
{
    const Args lists[] = {
        {L"/usr/bin/quorkrn"},
        {L"/opt/quor krn/bin/quorkrn", L"/jobs/a b/1.tif", L"/jobs/x.tif"},
        {L"prog", L"", L"\"", L"\\", L"\\\\", L"a\\\"b", L"ends with\\", L"\t tab"},
        {L"prog", L"\"\"\"", L"x\"\"y", L"\\\"\\\"", L"\u00e9t\u00e9 \u20ac"},
        {L"", L"after empty program"},
        {L"pro\"g", L"quote inside program without blanks"},
    };
    for (const Args& args : lists)
    {
        const std::wstring line = GLIB_CommandLine::Join(args);
        EXPECT_EQ(GLIB_CommandLine::Split(line), args) << "line: " << line;
    }
    EXPECT_EQ(GLIB_CommandLine::Join({}), L"");
}

TEST(GLIB_CommandLine, ProgramPathWithQuoteAndBlankLosesItsQuotes)
{
    const std::wstring line = GLIB_CommandLine::Join({L"my \"odd\" prog", L"x"});
    EXPECT_EQ(GLIB_CommandLine::Split(line), (Args{L"my odd prog", L"x"}));
}
