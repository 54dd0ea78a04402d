#include "GLIB/GLIB_Log.h"
#include "GLIB/GLIB_CheckWinApi.h"
#include "GLIB/GLIB_Exception.h"
#include "GLIB/GLIB_FatalException.h"
#include "GLIB/GLIB_MainGuard.h"
#include "GLIB/GLIB_MessageGuard.h"
#include "GLIB/GLIB_UserMessageCallback.h"

#include "GLIB_TestLog.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <stdexcept>

TEST(GLIB_Log, EntryReachesHandlerWidenedWithFileAndLine)
{
    LogCapture log;
    LogMessage(GLIB_SEVERITY_WARNING, "caf\xc3\xa9", "a.cpp", 12);
    LogMessage(GLIB_SEVERITY_INFO, L"wide", nullptr, 13);
    LogMessage(42, std::string("narrow string"), "b.cpp", 14);
    ASSERT_EQ(log.entries.size(), 3u);
    EXPECT_EQ(log.entries[0].severity, 3);
    EXPECT_EQ(log.entries[0].text, L"caf\u00e9");
    EXPECT_EQ(log.entries[0].file, "a.cpp");
    EXPECT_EQ(log.entries[0].line, 12);
    EXPECT_EQ(log.entries[1].file, "");
    EXPECT_EQ(log.entries[2].severity, 42);
}

TEST(GLIB_Log, FatalEntryIsLoggedFirstThenThrows)
{
    LogCapture log;
    try
    {
        LogMessage(GLIB_SEVERITY_FATAL, "it broke", "c.cpp", 5);
        FAIL() << "a fatal entry must throw";
    }
    catch (const GLIB_FatalException& e)
    {
        EXPECT_EQ(e.GetText(), L"it broke");
    }
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0].severity, 0);
    EXPECT_EQ(log.entries[0].text, L"it broke");
    // Other severities never throw.
    EXPECT_NO_THROW(LogMessage(GLIB_SEVERITY_ASSERT, "assert", "c.cpp", 6));
}

TEST(GLIB_Log, SeverityNames)
{
    EXPECT_STREQ(SeverityName(0), "FATAL");
    EXPECT_STREQ(SeverityName(1), "ASSERT");
    EXPECT_STREQ(SeverityName(2), "ERROR");
    EXPECT_STREQ(SeverityName(3), "WARNING");
    EXPECT_STREQ(SeverityName(4), "TRACE");
    EXPECT_STREQ(SeverityName(5), "DEBUG");
    EXPECT_STREQ(SeverityName(6), "INFO");
    EXPECT_STREQ(SeverityName(-1), "INFO");
}

TEST(GLIB_Log, ConsoleLineIsPlainWithoutTerminalAndColouredWithOne)
{
    EXPECT_EQ(GLIB_Globals::FormatLogLine(3, L"disk almost full", "g.cpp", 17, false),
              "WARNING: g.cpp(17): disk almost full\n");
    EXPECT_EQ(GLIB_Globals::FormatLogLine(2, L"x", "g.cpp", 1, true),
              "\x1b[91mERROR: g.cpp(1): x\x1b[39m\n");
    EXPECT_EQ(GLIB_Globals::FormatLogLine(0, L"x", "g.cpp", 1, true).substr(0, 5), "\x1b[91m");
    EXPECT_EQ(GLIB_Globals::FormatLogLine(3, L"x", "g.cpp", 1, true).substr(0, 5), "\x1b[93m");
    EXPECT_EQ(GLIB_Globals::FormatLogLine(5, L"x", "g.cpp", 1, true).substr(0, 5), "\x1b[37m");
    EXPECT_EQ(GLIB_Globals::FormatLogLine(9, L"x", "g.cpp", 1, true),
              "\x1b[92mINFO: g.cpp(1): x\x1b[39m\n");
}

TEST(GLIB_Log, WriteLogLineToAFileIsPlain)
{
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    GLIB_Globals::WriteLogLine(file, 4, L"tick", "t.cpp", 3);
    std::rewind(file);
    char buffer[64] = {};
    ASSERT_NE(std::fgets(buffer, sizeof buffer, file), nullptr);
    std::fclose(file);
    EXPECT_STREQ(buffer, "TRACE: t.cpp(3): tick\n");
}

TEST(GLIB_UserMessage, KindsMapToSeveritiesWithFormatterText)
{
    LogCapture log;
    PostUserMessage("u.cpp", 10, GLIB_USER_MESSAGE_ERROR, 1158002, {L"C:\\a"});
    PostUserMessage("u.cpp", 11, GLIB_USER_MESSAGE_WARNING, 7);
    PostUserMessage("u.cpp", 12, GLIB_USER_MESSAGE_INFORMATION, 8);
    ASSERT_EQ(log.entries.size(), 3u);
    EXPECT_EQ(log.entries[0].severity, 2);
    EXPECT_EQ(log.entries[0].text, L"( code = 1158002; param[0] = 'C:\\a' )");
    EXPECT_EQ(log.entries[0].file, "u.cpp");
    EXPECT_EQ(log.entries[0].line, 10);
    EXPECT_EQ(log.entries[1].severity, 3);
    EXPECT_EQ(log.entries[1].text, L"( code = 7 )");
    EXPECT_EQ(log.entries[2].severity, 6);
}

TEST(GLIB_UserMessage, InvalidKindIsFatalAndShowsNothing)
{
    LogCapture log;
    EXPECT_THROW(PostUserMessage("u.cpp", 10, 5, 1), GLIB_FatalException);
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0].severity, 0);
    EXPECT_EQ(log.entries[0].text, L"Invalid user message severity");
    EXPECT_EQ(log.entries[0].file, "GLIB_LogUserMessage");
    EXPECT_EQ(log.entries[0].line, 89);
    EXPECT_THROW(PostUserMessage("u.cpp", 10, -1, 1), GLIB_FatalException);
}

TEST(GLIB_CheckWinApi, FailureTextsAndCode)
{
    errno = ENOENT;
    try
    {
        CheckWinApi(false, "w.cpp", 30);
        FAIL() << "expected a throw";
    }
    catch (const GLIB_DerivedException<Tag_UWIN_Exception>& e)
    {
        EXPECT_EQ(e.GetCode(), 1437004);
        EXPECT_EQ(e.WhatNarrow(), "WinAPI function returned error value = 'false'. Windows error "
                                  "code = 2. Windows error message = 'No such file or directory "
                                  "(code: 2)'.");
        EXPECT_EQ(e.GetSourceFile(), L"w.cpp");
        EXPECT_EQ(e.GetLineNumber(), 30);
    }

    errno = EACCES;
    try
    {
        CheckWinApi(static_cast<int*>(nullptr), "w.cpp", 31);
        FAIL() << "expected a throw";
    }
    catch (const GLIB_Exception& e)
    {
        EXPECT_EQ(
            e.WhatNarrow().rfind("WinAPI function returned NULL. Windows error code = 13. ", 0), 0u)
            << e.WhatNarrow();
    }

    errno = EBADF;
    try
    {
        CheckWinApi(0L, "w.cpp", 32);
        FAIL() << "expected a throw";
    }
    catch (const GLIB_Exception& e)
    {
        EXPECT_EQ(e.WhatNarrow().rfind("WinAPI function returned error value = '0'. ", 0), 0u);
    }
}

TEST(GLIB_CheckWinApi, ZeroErrnoOrSuccessThrowsNothing)
{
    errno = 0;
    EXPECT_NO_THROW(CheckWinApi(false, "w.cpp", 1));
    EXPECT_NO_THROW(CheckWinApi(static_cast<void*>(nullptr), "w.cpp", 1));
    errno = EIO;
    int value = 3;
    EXPECT_EQ(CheckWinApi(&value, "w.cpp", 1), &value);
    EXPECT_TRUE(CheckWinApi(true, "w.cpp", 1));
    EXPECT_EQ(CheckWinApi(17, "w.cpp", 1), 17);
}

namespace
{
struct Shown
{
    std::wstring title, text, details;
    int count = 0;
};

GLIB_FailureSink Recorder(Shown& shown)
{
    return
        [&shown](const std::wstring& title, const std::wstring& text, const std::wstring& details)
    {
        shown.title = title;
        shown.text = text;
        shown.details = details;
        ++shown.count;
    };
}
} // namespace

TEST(GLIB_MainGuard, ResultPassesThroughWhenNothingEscapes)
{
    Shown shown;
    EXPECT_EQ(GLIB_RunMainGuarded([] { return 7; }, Recorder(shown)), 7);
    EXPECT_EQ(shown.count, 0);
}

TEST(GLIB_MainGuard, EachKindOfEscapeIsShownAndZeroReturned)
{
    Shown shown;
    EXPECT_EQ(GLIB_RunMainGuarded([]() -> int { throw GLIB_Exception(1, L"dev text", "m.cpp", 2); },
                                  Recorder(shown)),
              0);
    EXPECT_EQ(shown.title, L"Unhandled exception caught in main");
    EXPECT_EQ(shown.text, L"Caught a GLIB_Exception.");
    EXPECT_EQ(shown.details, L"dev text");

    EXPECT_EQ(GLIB_RunMainGuarded([]() -> int { throw std::runtime_error("caf\xc3\xa9"); },
                                  Recorder(shown)),
              0);
    EXPECT_EQ(shown.title, L"Unhandled exception caught in main");
    EXPECT_EQ(shown.text, L"Caught a std::exception.");
    EXPECT_EQ(shown.details, L"caf\u00e9");

    EXPECT_EQ(
        GLIB_RunMainGuarded([]() -> int { throw GLIB_FatalException(L"fatal"); }, Recorder(shown)),
        0);
    EXPECT_EQ(shown.text, L"An unidentified exception has been caught.");
    EXPECT_EQ(shown.details, L"");
    EXPECT_EQ(shown.count, 3);
}

TEST(GLIB_MessageGuard, ResultOfTheHandlerPassesThrough)
{
    EXPECT_EQ(GLIB_GuardMessage("WMCT_MultiColumnTreeCtrl", "h.h", 1, [] { return 5L; }), 5L);
    int calls = 0;
    GLIB_GuardMessage("WMCT_MultiColumnTreeCtrl", "h.h", 1, [&] { ++calls; });
    EXPECT_EQ(calls, 1);
}

TEST(GLIB_MessageGuard, LibraryFailureAndBadAllocBecomeFatal)
{
    LogCapture log;
    GLIB_Exception failure(1449001, "row", "r.cpp", 4);
    EXPECT_THROW(GLIB_GuardMessage("WMCT_MultiColumnTreeCtrl", "h.h", 99, [&] { throw failure; }),
                 GLIB_FatalException);
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0].severity, 0);
    EXPECT_EQ(log.entries[0].text,
              L"Class WMCT_MultiColumnTreeCtrl caught unhandled GLIB_Exception: " +
                  failure.ReportWide());
    EXPECT_EQ(log.entries[0].file, "h.h");
    EXPECT_EQ(log.entries[0].line, 99);

    EXPECT_THROW(
        GLIB_GuardMessage("WMCT_MultiColumnTreeCtrl", "h.h", 99, [] { throw std::bad_alloc(); }),
        GLIB_FatalException);
    ASSERT_EQ(log.entries.size(), 2u);
    EXPECT_EQ(log.entries[1].text,
              L"Class WMCT_MultiColumnTreeCtrl caught unhandled std::bad_alloc");

    // A fatal exception from below is not a failure of this handler: it passes untouched.
    EXPECT_THROW(GLIB_GuardMessage("X", "h.h", 1, [] { throw GLIB_FatalException(L"below"); }),
                 GLIB_FatalException);
    EXPECT_EQ(log.entries.size(), 2u);
}

TEST(GLIB_MessageGuard, UnhandledMessageMapIsFatal)
{
    LogCapture log;
    EXPECT_THROW(GLIB_UnhandledMessageMap("WMCT_MultiColumnTreeCtrl", 3, "h.h", 7),
                 GLIB_FatalException);
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0].text,
              L"Class WMCT_MultiColumnTreeCtrl received unhandled message map ID 3");
}

TEST(GLIB_MessageGuardDeathTest, StandardExceptionEndsTheProcessWithStatusOne)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(GLIB_GuardMessage("WMCT_MultiColumnTreeCtrl", "h.h", 1,
                                  [] { throw std::out_of_range("index 9"); }),
                ::testing::ExitedWithCode(1),
                "ASSERT: h.h\\(1\\): Class WMCT_MultiColumnTreeCtrl caught unhandled CRT "
                "exception: index 9");
}
