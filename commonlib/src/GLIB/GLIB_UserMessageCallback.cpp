#include "GLIB/GLIB_UserMessageCallback.h"

#include "GLIB/GLIB_Globals.h"
#include "GLIB/GLIB_Log.h"
#include "GLIB/GLIB_String.h"

GLIB_UserMessageCallback::~GLIB_UserMessageCallback() = default;

void DefaultUserMessageCallback::PostUserMessage(const char* sourceFile, int line, int kind,
                                                 int32_t code,
                                                 const std::vector<std::wstring>& params)
{
    int severity = GLIB_SEVERITY_INFO;
    switch (kind)
    {
    case GLIB_USER_MESSAGE_ERROR:
        severity = GLIB_SEVERITY_ERROR;
        break;
    case GLIB_USER_MESSAGE_WARNING:
        severity = GLIB_SEVERITY_WARNING;
        break;
    case GLIB_USER_MESSAGE_INFORMATION:
        severity = GLIB_SEVERITY_INFO;
        break;
    default:
        // Fatal: throws GLIB_FatalException.
        LogMessage(GLIB_SEVERITY_FATAL, "Invalid user message severity", "GLIB_LogUserMessage", 89);
        return;
    }
    const std::string text = ToNarrow(GLIB_Globals::Instance().FormatErrorText(code, params));
    LogMessage(severity, text, sourceFile, line);
}

void PostUserMessage(const char* sourceFile, int line, int kind, int32_t code,
                     const std::vector<std::wstring>& params)
{
    GLIB_Globals::Instance().GetUserMessageCallback().PostUserMessage(sourceFile, line, kind, code,
                                                                      params);
}

void PostUserMessage(const char* sourceFile, int line, int kind, int32_t code)
{
    PostUserMessage(sourceFile, line, kind, code, std::vector<std::wstring>());
}
