#include "WKRN/app/WKRN_Application.h"

#include "WKRN/app/WKRN_DataFolders.h"
#include "WKRN/app/WKRN_Help.h"
#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_Language.h"
#include "WKRN/app/WKRN_OSVersion.h"
#include "WKRN/app/WKRN_SingleInstance.h"
#include "WKRN/app/WKRN_StringTable.h"
#include "WKRN/app/WKRN_Tressida.h"
#include "WKRN/preferences/WKRN_Preferences.h"

#include "GLIB/GLIB_CommandLine.h"
#include "GLIB/GLIB_Log.h"
#include "GLIB/GLIB_MainGuard.h"
#include "IMPN/IMPN_ColorDatabases.h"
#include "WTLU/WTLU_MessageBox.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>

namespace
{
// The guard reports in English; the ids give the texts of the language in use.
QString Translated(const std::wstring& english)
{
    const QString text = QString::fromStdWString(english);
    for (unsigned id : {unsigned(IDS_UNHANDLED_TITLE), unsigned(IDS_UNHANDLED_GLIB),
                        unsigned(IDS_UNHANDLED_STD), unsigned(IDS_UNHANDLED_OTHER)})
        if (text == WKRN_StringTable::English(id))
            return WKRN_StringTable::Load(id);
    return text;
}

std::wstring OwnCommandLine()
{
    return WKRN_SingleInstance::HandOverCommandLine(QCoreApplication::arguments(),
                                                    QDir::currentPath());
}
} // namespace

void WKRN_Application::ShowFailure(const std::wstring& title, const std::wstring& text,
                                   const std::wstring& details)
{
    WTLU_MessageBox::ShowWarning(Translated(title), Translated(text),
                                 QString::fromStdWString(details), nullptr);
}

QString WKRN_Application::SplashResource()
{
    // The shipped file beside the program or in the share folder comes first, so that a site can
    // put its own picture in place; the built-in copy serves when there is none.
    const QString shipped = WKRN_DataFolders::Find(QStringLiteral("splash.png"));
    return shipped.isEmpty() ? QStringLiteral(":/WKRN/splash/240.png") : shipped;
}

int WKRN_Application::Run()
{
    QApplication::setQuitOnLastWindowClosed(false);
    WTLU_MessageBox::SetStringLookup(&WKRN_StringTable::Load);

    WKRN_Language::Start(WKRN_DataFolders::ProgramDataFolders());

    if (!WKRN_OSVersion::IsSupported(WKRN_OSVersion::Current()))
    {
        WTLU_MessageBox::ShowError(IDS_OS_TITLE, IDS_OS_TEXT, IDS_OS_SECOND, nullptr);
        return 0;
    }

    const std::wstring commandLine = OwnCommandLine();
    WKRN_SingleInstance instance;
    // A lock held by an instance that does not answer must not swallow the start's files: they
    // open in a window of this start's own.
    if (!instance.TryBecomeFirst())
    {
        if (instance.HandOver(commandLine))
            return 0;
        LogMessage(GLIB_SEVERITY_WARNING,
                   L"No running instance took the command line; this start opens a window of its "
                   L"own",
                   __FILE__, __LINE__);
    }

    const int exitCode = GLIB_RunMainGuarded(
        [&]() -> int
        {
            WKRN_Tressida application{QPixmap(SplashResource())};
            // Cleared however the body ends: a start during the failure report must not reach
            // the destroyed window.
            const WKRN_SingleInstance::ReceiverScope receiver(
                instance, [&application](const GLIB_HandOverRecord::Record& record)
                { application.ReceiveHandOver(record); });
            const bool ownArguments = GLIB_CommandLine::Split(commandLine).size() > 1;
            application.StartSplash(ownArguments);

            IMPN_ColorDatabases::Global().LoadAtStartUp();

            const QString store = WKRN_Preferences::DefaultStorePath();
            WKRN_Preferences::ReadPreferences(store);
            application.SetPreferencesPath(store);
            const WKRN_ColorBytes spot = WKRN_Preferences::Current().DefaultSpotColor;
            IMPN_ColorDatabases::Global().SetDefaultColor({spot.blue, spot.green, spot.red});

            GLIB_HandOverRecord::Record own;
            own.tag = COMMAND_LINE_HANDOVER;
            own.commandLine = commandLine;
            own.wellFormed = true;
            application.ReceiveHandOver(own);

            return QApplication::exec();
        },
        &WKRN_Application::ShowFailure);

    WKRN_Help::Shutdown();
    WKRN_Language::Stop();
    return exitCode;
}
