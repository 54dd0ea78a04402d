#pragma once

#include "GLIB/GLIB_Message.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class GLIB_UserMessageCallback;

// Builds the wide text of an error from its code and parameters.
using GLIB_ErrorTextFormatter =
    std::function<std::wstring(int32_t code, const std::vector<std::wstring>& params)>;
// Called when a tracked allocation fails; may throw. If it returns, the allocation yields null.
using GLIB_OutOfMemoryHandler =
    std::function<void(std::size_t bytes, const char* sourceFile, int line)>;
// Receives every log entry.
using GLIB_LogHandler =
    std::function<void(int severity, const std::wstring& text, const char* sourceFile, int line)>;

// Announces a change of the foundation library's globals, carrying a copy of every setting.
class GLIB_GlobalsMessage : public GLIB_Message
{
public:
    std::string Description() const override;

    std::string tempVariableName;
    GLIB_ErrorTextFormatter errorTextFormatter;
    GLIB_OutOfMemoryHandler outOfMemoryHandler;
    GLIB_LogHandler logHandler;
    GLIB_UserMessageCallback* userMessageCallback = nullptr;
};
