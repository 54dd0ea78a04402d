#include "GLIB/GLIB_MainGuard.h"

#include "GLIB/GLIB_Exception.h"
#include "GLIB/GLIB_String.h"

#include <exception>

namespace
{
const wchar_t* const kTitle = L"Unhandled exception caught in main";
}

int GLIB_RunMainGuarded(const std::function<int()>& body, const GLIB_FailureSink& sink)
{
    try
    {
        return body();
    }
    catch (const GLIB_Exception& exception)
    {
        sink(kTitle, L"Caught a GLIB_Exception.", exception.GetDeveloperMessage());
    }
    catch (const std::exception& exception)
    {
        sink(kTitle, L"Caught a std::exception.", ToWide(exception.what()));
    }
    catch (...)
    {
        sink(kTitle, L"An unidentified exception has been caught.", std::wstring());
    }
    return 0;
}
