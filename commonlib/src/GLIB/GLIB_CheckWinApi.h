#pragma once

// Turns a failed platform call into an exception. Call right after a call whose failure shows as
// a false, zero or null result; the error code is the call's errno. An errno of 0 throws nothing.
//
// The exception is GLIB_DerivedException<Tag_UWIN_Exception> with code 1437004 and the text
// "WinAPI function returned error value = 'V'. " (or "WinAPI function returned NULL. " for
// pointers), then "Windows error code = N. Windows error message = '<SystemErrorText(N)>'.".

#include <cerrno>
#include <concepts>
#include <string>
#include <string_view>

inline constexpr int GLIB_WINAPI_ERROR_CODE = 1437004;

// The common end of every form: throws for a non-zero errorCode, does nothing for 0.
void CheckWinApiFailure(std::string_view resultText, bool isNullResult, int errorCode,
                        const char* sourceFile, int line);

// A false result is checked against errno; true passes.
inline bool CheckWinApi(bool result, const char* sourceFile, int line)
{
    if (!result)
        CheckWinApiFailure("false", false, errno, sourceFile, line);
    return result;
}

// A zero result is checked against errno; anything else passes.
template <std::integral T>
T CheckWinApi(T result, const char* sourceFile, int line)
{
    if (result == 0)
    {
        const int error = errno;
        CheckWinApiFailure(std::to_string(result), false, error, sourceFile, line);
    }
    return result;
}

// A null result is checked against errno.
template <class T>
T* CheckWinApi(T* result, const char* sourceFile, int line)
{
    if (!result)
        CheckWinApiFailure({}, true, errno, sourceFile, line);
    return result;
}

#define GLIB_CHECK_WINAPI(expression) CheckWinApi((expression), __FILE__, __LINE__)
