#include "GLIB/GLIB_Globals.h"
#include "GLIB/GLIB_BadAllocException.h"
#include "GLIB/GLIB_Callback.h"
#include "GLIB/GLIB_Memory.h"
#include "GLIB/GLIB_UserMessageCallback.h"

#include "GLIB_TestLog.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

// Huge requests must come back as null so that the out-of-memory path can be exercised under
// the address and thread sanitizers too.
extern "C" const char* __asan_default_options()
{
    return "allocator_may_return_null=1";
}
extern "C" const char* __tsan_default_options()
{
    return "allocator_may_return_null=1";
}

namespace
{
class GlobalsWatcher : public GLIB_MessageTarget
{
public:
    void OnChange(const GLIB_GlobalsMessage& message)
    {
        ++count;
        lastTempName = message.tempVariableName;
        lastSink = message.userMessageCallback;
        hadAllHandlers = message.errorTextFormatter && message.outOfMemoryHandler &&
                         message.logHandler && message.userMessageCallback;
    }

    int count = 0;
    std::string lastTempName;
    GLIB_UserMessageCallback* lastSink = nullptr;
    bool hadAllHandlers = false;
};

class RecordingSink : public GLIB_UserMessageCallback
{
public:
    void PostUserMessage(const char*, int, int kind, int32_t code,
                         const std::vector<std::wstring>& params) override
    {
        kinds.push_back(kind);
        codes.push_back(code);
        paramCounts.push_back(params.size());
    }
    std::vector<int> kinds;
    std::vector<int32_t> codes;
    std::vector<std::size_t> paramCounts;
};

constexpr std::size_t kImpossible = std::numeric_limits<std::size_t>::max() / 2;
} // namespace

TEST(GLIB_Globals, DefaultsAndTempVariableName)
{
    GLIB_Globals& globals = GLIB_Globals::Instance();
    EXPECT_EQ(globals.GetTempVariableName(), "TEMP");
    EXPECT_EQ(globals.FormatErrorText(5, {L"", L"x"}), L"( code = 5; param[1] = 'x' )");
    EXPECT_EQ(&GLIB_Globals::Instance(), &globals);
}

TEST(GLIB_Globals, EverySetterBroadcastsAllCurrentValues)
{
    GLIB_Globals& globals = GLIB_Globals::Instance();
    GlobalsWatcher watcher;
    globals.AddCallback(GLIB_MakeCallback(&watcher, &GlobalsWatcher::OnChange));

    globals.SetTempVariableName("TMPDIR");
    EXPECT_EQ(watcher.count, 1);
    EXPECT_EQ(watcher.lastTempName, "TMPDIR");
    EXPECT_TRUE(watcher.hadAllHandlers);

    GLIB_LogHandler previousLog = globals.SetLogHandler(nullptr);
    GLIB_ErrorTextFormatter previousFormatter = globals.SetErrorTextFormatter(nullptr);
    GLIB_OutOfMemoryHandler previousOom = globals.SetOutOfMemoryHandler(nullptr);
    GLIB_UserMessageCallback* previousSink = globals.SetUserMessageCallback(nullptr);
    EXPECT_EQ(watcher.count, 5);
    EXPECT_TRUE(watcher.hadAllHandlers);
    EXPECT_EQ(watcher.lastTempName, "TMPDIR");
    EXPECT_TRUE(previousLog && previousFormatter && previousOom && previousSink);

    GLIB_GlobalsMessage all = globals.GetAll();
    all.tempVariableName = "TEMP";
    globals.SetAll(all);
    EXPECT_EQ(watcher.count, 6);
    EXPECT_EQ(globals.GetTempVariableName(), "TEMP");
    globals.RemoveTarget(&watcher);
}

TEST(GLIB_Globals, HandlerSettersReturnThePreviousAndNoneRestoresTheDefault)
{
    GLIB_Globals& globals = GLIB_Globals::Instance();
    GLIB_ErrorTextFormatter previous = globals.SetErrorTextFormatter(
        [](int32_t, const std::vector<std::wstring>&) { return std::wstring(L"custom"); });
    EXPECT_EQ(globals.FormatErrorText(1, {}), L"custom");
    GLIB_ErrorTextFormatter custom = globals.SetErrorTextFormatter(nullptr);
    EXPECT_EQ(custom(1, {}), L"custom");
    EXPECT_EQ(globals.FormatErrorText(1, {}), L"( code = 1 )");
    EXPECT_EQ(previous(2, {}), L"( code = 2 )");
}

TEST(GLIB_Globals, ScopedSinkIsInstalledAndRestoredWithBroadcasts)
{
    GLIB_Globals& globals = GLIB_Globals::Instance();
    GLIB_UserMessageCallback* before = &globals.GetUserMessageCallback();
    GlobalsWatcher watcher;
    globals.AddCallback(GLIB_MakeCallback(&watcher, &GlobalsWatcher::OnChange));
    RecordingSink sink;
    {
        GLIB_ScopedUserMessageCallback scope(&sink);
        EXPECT_EQ(&globals.GetUserMessageCallback(), &sink);
        EXPECT_EQ(watcher.lastSink, &sink);
        PostUserMessage("s.cpp", 1, GLIB_USER_MESSAGE_WARNING, 1205001);
        PostUserMessage("s.cpp", 1, GLIB_USER_MESSAGE_ERROR, 3, {L"a", L"b"});
    }
    EXPECT_EQ(&globals.GetUserMessageCallback(), before);
    EXPECT_EQ(watcher.count, 2);
    EXPECT_EQ(watcher.lastSink, before);
    EXPECT_EQ(sink.kinds, (std::vector<int>{1, 0}));
    EXPECT_EQ(sink.codes, (std::vector<int32_t>{1205001, 3}));
    EXPECT_EQ(sink.paramCounts, (std::vector<std::size_t>{0, 2}));
    globals.RemoveTarget(&watcher);
}

TEST(GLIB_Memory, TrackedAllocSucceedsAndFrees)
{
    void* block = TrackedAlloc(128, __LINE__, __FILE__);
    ASSERT_NE(block, nullptr);
    TrackedFree(block, __LINE__, __FILE__);
    TrackedFree(nullptr, __LINE__, __FILE__);
    void* empty = TrackedAlloc(0, __LINE__, __FILE__);
    EXPECT_NE(empty, nullptr);
    TrackedFree(empty, __LINE__, __FILE__);
}

TEST(GLIB_Memory, FailureReleasesReserveAndThrowsWithThePlaceThatAsked)
{
    GLIB_Globals& globals = GLIB_Globals::Instance();
    ASSERT_TRUE(globals.AllocateReserveBlock(4096));
    EXPECT_EQ(globals.GetReserveBlockSize(), 4096u);
    try
    {
        TrackedAlloc(kImpossible, 321, "asking.cpp");
        FAIL() << "an impossible allocation must fail";
    }
    catch (const GLIB_BadAllocException& e)
    {
        EXPECT_EQ(e.GetSize(), kImpossible);
        EXPECT_STREQ(e.GetSourceFile(), "asking.cpp");
        EXPECT_EQ(e.GetLineNumber(), 321);
    }
    EXPECT_EQ(globals.GetReserveBlockSize(), 0u);
}

TEST(GLIB_Memory, ReplacedHandlerThatReturnsGivesNull)
{
    GLIB_Globals& globals = GLIB_Globals::Instance();
    std::size_t reported = 0;
    int reportedLine = 0;
    GLIB_OutOfMemoryHandler previous = globals.SetOutOfMemoryHandler(
        [&](std::size_t bytes, const char*, int line)
        {
            reported = bytes;
            reportedLine = line;
        });
    EXPECT_EQ(TrackedAlloc(kImpossible, 5, "x.cpp"), nullptr);
    EXPECT_EQ(reported, kImpossible);
    EXPECT_EQ(reportedLine, 5);
    globals.SetOutOfMemoryHandler(previous);
}
