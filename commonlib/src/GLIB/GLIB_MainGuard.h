#pragma once

#include <functional>
#include <string>

// Shows a caught failure to the user: title, text and details.
using GLIB_FailureSink = std::function<void(const std::wstring& title, const std::wstring& text,
                                            const std::wstring& details)>;

// The outermost handler of the program entry: runs the body and returns its result. Whatever
// escapes is shown through the sink, titled "Unhandled exception caught in main", and 0 is
// returned so that the caller continues with its normal shutdown.
int GLIB_RunMainGuarded(const std::function<int()>& body, const GLIB_FailureSink& sink);
