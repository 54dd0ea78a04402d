#pragma once
// The user guide: "QuorKRNHelp_" + the language code of the texts in use + ".html", looked up
// with the program's data files and shown in the program's own help window, centred on the job
// window. A language without a guide of its own shows the English one; when neither is there the
// user is told so, naming the file. Escape and Ctrl+W close the help window.

#include <QString>

class QWidget;
class QTextBrowser;

class WKRN_Help
{
public:
    // "QuorKRNHelp_en.html" for the language code "en".
    static QString FileName(const QString& languageCode);
    static QString FileName();

    // Shows the help window (one per process, reused) or the "Help Unavailable" message.
    // Returns whether the help was shown.
    static bool Show(QWidget* jobWindow);

    // The help window while it exists, else null.
    static QTextBrowser* Window();
    // Closes and deletes the help window (the end of the run).
    static void Shutdown();
};
