#include "GLIB/GLIB_CheckWinApi.h"

#include "GLIB/GLIB_Exception.h"
#include "GLIB/GLIB_OStringStream.h"
#include "GLIB/GLIB_String.h"

void CheckWinApiFailure(std::string_view resultText, bool isNullResult, int errorCode,
                        const char* sourceFile, int line)
{
    if (errorCode == 0)
        return;
    GLIB_OStringStream text;
    if (isNullResult)
        text << "WinAPI function returned NULL. ";
    else
        text << "WinAPI function returned error value = '" << resultText << "'. ";
    text << "Windows error code = " << errorCode << ". ";
    text << "Windows error message = '" << SystemErrorTextNarrow(errorCode) << "'.";
    throw GLIB_DerivedException<Tag_UWIN_Exception>(GLIB_WINAPI_ERROR_CODE, text.str(), sourceFile,
                                                    line);
}
