#pragma once

#include "GLIB/GLIB_Exception.h"
#include "GLIB/GLIB_Globals.h"
#include "GLIB/GLIB_String.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

// What a file-system call threw: nothing, or its code and text.
struct GFIL_Thrown
{
    bool thrown = false;
    int code = 0;
    std::string text;
};

// Runs the call and catches the file-system exception; any other exception fails the test by
// escaping.
template <class Call>
GFIL_Thrown CatchFileError(Call&& call)
{
    GFIL_Thrown result;
    try
    {
        std::forward<Call>(call)();
    }
    catch (const GLIB_DerivedException<Tag_GFIL_Exception>& error)
    {
        result.thrown = true;
        result.code = error.GetCode();
        result.text = error.WhatNarrow();
    }
    return result;
}

#define EXPECT_FILE_ERROR(call, expectedCode, expectedText)                                        \
    do                                                                                             \
    {                                                                                              \
        const GFIL_Thrown thrown_ = CatchFileError([&] { (void)(call); });                         \
        EXPECT_TRUE(thrown_.thrown) << #call << " threw nothing";                                  \
        EXPECT_EQ(thrown_.code, (expectedCode)) << #call;                                          \
        EXPECT_EQ(thrown_.text, (expectedText)) << #call;                                          \
    } while (false)

// The system text that ends most messages.
inline std::string SysText(int error)
{
    return SystemErrorTextNarrow(error);
}

// Records log entries for the life of the object instead of writing them to the console.
class GFIL_LogCapture
{
public:
    struct Entry
    {
        int severity;
        std::string text;
    };

    GFIL_LogCapture()
    {
        m_previous = GLIB_Globals::Instance().SetLogHandler(
            [this](int severity, const std::wstring& text, const char*, int) {
                m_entries.push_back({severity, ToNarrow(text)});
            });
    }
    ~GFIL_LogCapture() { GLIB_Globals::Instance().SetLogHandler(m_previous); }
    GFIL_LogCapture(const GFIL_LogCapture&) = delete;
    GFIL_LogCapture& operator=(const GFIL_LogCapture&) = delete;

    const std::vector<Entry>& Entries() const { return m_entries; }

private:
    GLIB_LogHandler m_previous;
    std::vector<Entry> m_entries;
};

// A fresh folder for one test under $KRN_TEST_TMP (or the system's temporary folder), removed
// when the test ends.
class GFIL_ScratchFolder
{
public:
    GFIL_ScratchFolder()
    {
        const char* base = std::getenv("KRN_TEST_TMP");
        std::filesystem::path root =
            base && *base ? std::filesystem::path(base) : std::filesystem::temp_directory_path();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = "gfil-" + std::to_string(::getpid());
        if (info)
            name += std::string("-") + info->test_suite_name() + "-" + info->name();
        for (char& c : name)
        {
            if (c == '/')
                c = '_';
        }
        m_path = root / name;
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~GFIL_ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    GFIL_ScratchFolder(const GFIL_ScratchFolder&) = delete;
    GFIL_ScratchFolder& operator=(const GFIL_ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // The folder or an entry below it, as the wide text a specification is made from.
    std::wstring Wide(const std::string& relative = std::string()) const
    {
        return ToWide((relative.empty() ? m_path : m_path / relative).string());
    }

private:
    std::filesystem::path m_path;
};
