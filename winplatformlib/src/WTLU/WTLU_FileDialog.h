#pragma once
// The open-file dialog through which the user picks existing files. The file system is
// case-sensitive, so every pattern of a filter is offered in both letter cases ("*.TIF" also
// finds "job.tif") and the dialog matches the patterns in any letter case ("job.Tif" too). The
// dialog starts in the folder it is given and reports the folder it ended in, so that callers can
// remember it for the next time.
//
// The dialog is shown by a chooser. The default one runs a modal QFileDialog; tests install
// their own to answer with the paths a user would have picked.

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QWidget;

// One entry of the file-type list: a name and its patterns separated by semicolons
// ("*.PRV;*.KRN").
struct WTLU_FileFilter
{
    QString name;
    QString patterns;
};

struct WTLU_FileDialogRequest
{
    QWidget* owner = nullptr;
    QString title;
    // Qt name filters, already carrying both letter cases.
    QStringList nameFilters;
    // Where the dialog starts; empty for the working folder.
    QString folder;
    // Several files may be chosen.
    bool multiple = true;
    // The name filter chosen at the start (one of nameFilters); the first when empty.
    QString selectedFilter;
    // Folders that may be chosen whole: a folder this answers true for, selected and opened with
    // the Open button, comes back as the one chosen path instead of being entered. Other folders
    // are entered as usual. Empty: files only.
    std::function<bool(const QString& folder)> folderChoice;
};

struct WTLU_FileDialogResult
{
    // Chosen files, in the order the dialog returned them; empty when cancelled.
    QStringList files;
    // The folder the dialog was in when it closed; empty when cancelled.
    QString folder;
    // The name filter chosen when it closed (as in the request's nameFilters).
    QString filter;

    bool Accepted() const { return !files.isEmpty(); }
};

class WTLU_FileDialog
{
public:
    using Chooser = std::function<WTLU_FileDialogResult(const WTLU_FileDialogRequest&)>;

    // Shows the dialog for existing files. The result's folder is the chooser's, or, when the
    // chooser leaves it empty, the folder of the first chosen file. selectedFilter, when given,
    // names the filter to start with (a name filter as NameFilter makes it) and receives the one
    // chosen, so that callers can remember it with the folder.
    // folderChoice, when given, lets a folder be chosen whole (see WTLU_FileDialogRequest).
    static WTLU_FileDialogResult
    GetOpenFileNames(QWidget* owner, const QString& title,
                     const std::vector<WTLU_FileFilter>& filters, const QString& folder,
                     bool multiple = true, QString* selectedFilter = nullptr,
                     std::function<bool(const QString&)> folderChoice = {});

    // "Preview File (*.PRV *.prv *.KRN *.krn)": each pattern in its upper-case and its
    // lower-case form (once when both are the same), duplicates and blanks dropped.
    static QString NameFilter(const WTLU_FileFilter& filter);
    static QStringList NameFilters(const std::vector<WTLU_FileFilter>& filters);

    // Returns the previous chooser, so that a scope can restore it. An empty chooser restores the
    // default one.
    static Chooser SetChooser(Chooser chooser);
    // The default chooser: a modal QFileDialog.
    static WTLU_FileDialogResult RunModal(const WTLU_FileDialogRequest& request);
};
