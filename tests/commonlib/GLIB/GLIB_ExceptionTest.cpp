#include "GLIB/GLIB_Exception.h"
#include "GLIB/GLIB_BadAllocException.h"
#include "GLIB/GLIB_Globals.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

namespace
{
std::string NarrowReport(const GLIB_Exception& e)
{
    std::ostringstream out;
    e.WriteReport(out);
    return out.str();
}

std::wstring WideReport(const GLIB_Exception& e)
{
    std::wostringstream out;
    e.WriteReport(out);
    return out.str();
}
} // namespace

TEST(GLIB_Exception, FullReportIsByteExactInBothForms)
{
    GLIB_Exception e(1158001, {"C:\\missing"}, "File not found", "GFIL_FileSpec.cpp", 550);
    const std::string expected =
        "code = 1158001; developer-speak message = 'File not found'; source file = "
        "GFIL_FileSpec.cpp; line number = 550; localized Message = '( code = 1158001; param[0] "
        "= 'C:\\missing' )'";
    EXPECT_EQ(NarrowReport(e), expected);
    EXPECT_EQ(WideReport(e), std::wstring(expected.begin(), expected.end()));
    EXPECT_EQ(e.ReportNarrow(), expected);
}

TEST(GLIB_Exception, EmptyExceptionReportsOnlyCodeAndFormatterText)
{
    GLIB_Exception e;
    EXPECT_EQ(NarrowReport(e), "code = 0; localized Message = '( code = 0 )'");
    EXPECT_EQ(e.GetCode(), 0);
    EXPECT_TRUE(e.GetParams().empty());
    EXPECT_STREQ(e.What(), L"");
}

TEST(GLIB_Exception, LineZeroOrNegativeIsLeftOut)
{
    EXPECT_EQ(NarrowReport(GLIB_Exception(7, "m", "f.cpp", 0)),
              "code = 7; developer-speak message = 'm'; source file = f.cpp; localized Message = "
              "'( code = 7 )'");
    EXPECT_EQ(NarrowReport(GLIB_Exception(7, "", "", -3)),
              "code = 7; localized Message = '( code = 7 )'");
}

TEST(GLIB_Exception, NullTextsAreEmpty)
{
    GLIB_Exception e(3, static_cast<const char*>(nullptr), nullptr, 4);
    EXPECT_EQ(e.GetDeveloperMessage(), L"");
    EXPECT_EQ(e.GetSourceFile(), L"");
    e.SetParam(0, static_cast<const wchar_t*>(nullptr));
    EXPECT_EQ(e.GetParams().size(), 1u);
    e.SetDeveloperMessage(3, static_cast<const char*>(nullptr));
    EXPECT_EQ(e.GetDeveloperMessage(), L"");
}

TEST(GLIB_Exception, NarrowAndWideTextsAndParamsAreKept)
{
    GLIB_Exception wide(12, {L"\u00e9t\u00e9", L""}, L"caf\u00e9", "x.cpp", 9);
    EXPECT_EQ(wide.GetDeveloperMessage(), L"caf\u00e9");
    EXPECT_EQ(wide.WhatNarrow(), "caf\xc3\xa9");
    EXPECT_EQ(wide.GetParam(0), L"\u00e9t\u00e9");
    EXPECT_EQ(wide.GetParams().size(), 2u);

    GLIB_Exception narrow(12, {"caf\xc3\xa9", "b"}, "caf\xc3\xa9", "x.cpp", 9);
    EXPECT_EQ(narrow.GetParam(0), L"caf\u00e9");
    EXPECT_EQ(narrow.GetParam(1), L"b");
    EXPECT_EQ(narrow.GetDeveloperMessage(), L"caf\u00e9");
}

TEST(GLIB_Exception, SetCodeKeepsOrClearsMessageAndParams)
{
    GLIB_Exception e(5, {"p"}, "message", "f.cpp", 1);
    e.SetCode(5);
    EXPECT_EQ(e.GetDeveloperMessage(), L"message");
    EXPECT_EQ(e.GetParams().size(), 1u);

    e.SetCode(6);
    EXPECT_EQ(e.GetCode(), 6);
    EXPECT_EQ(e.GetDeveloperMessage(), L"");
    EXPECT_TRUE(e.GetParams().empty());
    EXPECT_EQ(e.GetSourceFile(), L"f.cpp");
}

TEST(GLIB_Exception, SetDeveloperMessageClearsParamsOnlyForANewCode)
{
    GLIB_Exception e(5, {"p"}, "old", "f.cpp", 1);
    e.SetDeveloperMessage(5, L"same code");
    EXPECT_EQ(e.GetDeveloperMessage(), L"same code");
    EXPECT_EQ(e.GetParam(0), L"p");

    e.SetDeveloperMessage(8, "new code");
    EXPECT_EQ(e.GetCode(), 8);
    EXPECT_EQ(e.GetDeveloperMessage(), L"new code");
    EXPECT_TRUE(e.GetParams().empty());
}

TEST(GLIB_Exception, SetParamPastTheEndGrowsAndFormatterListsOnlyNonEmpty)
{
    GLIB_Exception e(9, "m", "f.cpp", 2);
    e.SetParam(3, "fourth");
    ASSERT_EQ(e.GetParams().size(), 4u);
    EXPECT_EQ(e.GetParam(0), L"");
    EXPECT_EQ(e.GetParam(2), L"");
    EXPECT_EQ(e.GetParam(3), L"fourth");
    EXPECT_EQ(e.GetParam(4), L"");
    EXPECT_EQ(e.GetParam(1000), L"");
    EXPECT_EQ(e.GetLocalizedMessage(), L"( code = 9; param[3] = 'fourth' )");

    EXPECT_THROW(e.SetParam(static_cast<std::size_t>(-1), "wraps"), std::length_error);
    EXPECT_EQ(e.GetParams().size(), 4u);

    e.SetParam(1, std::wstring(L"second"));
    EXPECT_EQ(e.GetParams().size(), 4u);
    EXPECT_EQ(e.GetLocalizedMessage(), L"( code = 9; param[1] = 'second'; param[3] = 'fourth' )");
}

TEST(GLIB_Exception, LocalizedMessageComesFromTheInstalledFormatter)
{
    GLIB_ErrorTextFormatter previous = GLIB_Globals::Instance().SetErrorTextFormatter(
        [](int32_t code, const std::vector<std::wstring>& params)
        { return L"text " + std::to_wstring(code) + L"/" + std::to_wstring(params.size()); });
    GLIB_Exception e(42, {"a", "b"}, "m", "f.cpp", 1);
    EXPECT_EQ(e.GetLocalizedMessage(), L"text 42/2");
    GLIB_Globals::Instance().SetErrorTextFormatter([](int32_t, const std::vector<std::wstring>&)
                                                   { return std::wstring(); });
    // An empty localized text leaves its part out of the report.
    EXPECT_EQ(e.ReportNarrow(), "code = 42; developer-speak message = 'm'; source file = f.cpp; "
                                "line number = 1");
    GLIB_Globals::Instance().SetErrorTextFormatter(previous);
}

TEST(GLIB_Exception, DerivedExceptionsAreCaughtByTagAndAsBase)
{
    try
    {
        throw GLIB_DerivedException<Tag_GFIL_Exception>(1158001, "text", __FILE__, __LINE__);
    }
    catch (const GLIB_DerivedException<Tag_GSTA_Exception>&)
    {
        FAIL() << "caught by the wrong tag";
    }
    catch (const GLIB_Exception& e)
    {
        EXPECT_EQ(e.GetCode(), 1158001);
        EXPECT_EQ(e.GetDeveloperMessage(), L"text");
        EXPECT_GT(e.GetLineNumber(), 0);
        EXPECT_NE(dynamic_cast<const GLIB_DerivedException<Tag_GFIL_Exception>*>(&e), nullptr);
    }
}

TEST(GLIB_Exception, CopiesAreIndependent)
{
    GLIB_Exception original(1, {"a"}, "m", "f.cpp", 3);
    GLIB_Exception copy = original;
    copy.SetParam(0, "b");
    EXPECT_EQ(original.GetParam(0), L"a");
    EXPECT_EQ(copy.GetParam(0), L"b");
}

TEST(GLIB_BadAllocException, ReportAndWhatText)
{
    const GLIB_BadAllocException e(4096, "GLIB_Memory.cpp", 77);
    EXPECT_STREQ(e.what(), "bad allocation");
    std::ostringstream narrow;
    e.WriteReport(narrow);
    EXPECT_EQ(narrow.str(), "size : 4096 file : GLIB_Memory.cpp line : 77 \n");
    std::wostringstream wide;
    e.WriteReport(wide);
    EXPECT_EQ(wide.str(), L"size : 4096 file : GLIB_Memory.cpp line : 77 \n");

    try
    {
        throw GLIB_BadAllocException(1, nullptr, 2);
    }
    catch (const std::bad_alloc& caught)
    {
        EXPECT_STREQ(caught.what(), "bad allocation");
    }
}
