#pragma once
// The run of the viewer: language, operating-system check, single instance, application window
// with the splash, colour databases, preferences, the program's own command line handed to its
// own application window, and the event loop until the quit message.

#include <QString>

#include <string>

class WKRN_Application
{
public:
    // The whole run; returns the exit code. Expects the QApplication to exist.
    static int Run();

    // Reports a failure that escaped the run (or an event handler) in the message box titled
    // "Unhandled exception caught in main", with the warning icon and no owner.
    static void ShowFailure(const std::wstring& title, const std::wstring& text,
                            const std::wstring& details);

    // The splash picture (resource 240): splash.png from the program's data folders, else the
    // built-in copy.
    static QString SplashResource();
};
