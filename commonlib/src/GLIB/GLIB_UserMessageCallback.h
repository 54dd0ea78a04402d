#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Kinds of user messages.
inline constexpr int GLIB_USER_MESSAGE_ERROR = 0;
inline constexpr int GLIB_USER_MESSAGE_WARNING = 1;
inline constexpr int GLIB_USER_MESSAGE_INFORMATION = 2;

// A sink for messages meant for the user, identified by an error code and its parameters.
class GLIB_UserMessageCallback
{
public:
    virtual ~GLIB_UserMessageCallback();
    virtual void PostUserMessage(const char* sourceFile, int line, int kind, int32_t code,
                                 const std::vector<std::wstring>& params) = 0;
};

// The default sink: logs the formatter's text of the code at the severity of the kind (error,
// warning, information). Any other kind is a fatal log entry ("Invalid user message severity"),
// which throws GLIB_FatalException.
class DefaultUserMessageCallback : public GLIB_UserMessageCallback
{
public:
    void PostUserMessage(const char* sourceFile, int line, int kind, int32_t code,
                         const std::vector<std::wstring>& params) override;
};

// Hands a message to the sink held by GLIB_Globals.
void PostUserMessage(const char* sourceFile, int line, int kind, int32_t code,
                     const std::vector<std::wstring>& params);
void PostUserMessage(const char* sourceFile, int line, int kind, int32_t code);
