// The viewer's process entry.

#include "WKRN/app/WKRN_Application.h"
#include "WKRN/app/WKRN_ApplicationBarrier.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

namespace
{
const char* const kUsage =
    "Usage: quorkrn [FILE]...\n"
    "Show prepress preview files: the files of a job are grouped into impositions, signatures\n"
    "and sheets, and each sheet opens in a job window of its own as a colour composite of its\n"
    "inks. Files given while the viewer already runs are handed over to it and open there.\n"
    "\n"
    "  -h, --help     show this help and exit\n"
    "      --version  show the version and exit\n";
} // namespace

int main(int argc, char** argv)
{
    // Answered before a display is opened, so that they work in any terminal (and the manual
    // page is made from them at build time). Only as the one argument: a file list is never
    // taken for an option.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0)
    {
        std::printf("quorkrn (Quor KRN) %s\n", KRN_VERSION);
        return 0;
    }
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0))
    {
        std::fputs(kUsage, stdout);
        return 0;
    }
    QApplication::setOrganizationName(QStringLiteral("Quor"));
    QApplication::setApplicationName(QStringLiteral("Quor KRN"));
    // Ties the windows to the installed desktop entry (task bars, Wayland compositors).
    QGuiApplication::setDesktopFileName(QStringLiteral("quorkrn"));
    WKRN_ApplicationBarrier application(argc, argv);
    Q_INIT_RESOURCE(wkrn_resources);
    return WKRN_Application::Run();
}
