#pragma once
// Tells the user which preview files of a sheet could not be read, and why: no descriptor left,
// no memory, a file gone since the job was opened. Showing a sheet opens its files anew each time
// (a sheet no window shows holds none), so any showing may meet what the first one did not.

#include "WKRN/files/WKRN_FileListWindow.h"

#include <vector>

class IMPN_Sheet;
struct IMPN_FileFailure;
class QWidget;

class WKRN_UnreadableFiles
{
public:
    // One row a file: its path and the reason, in the viewer's words where it has them.
    static std::vector<WKRN_InvalidFile> Rows(const std::vector<IMPN_FileFailure>& files);
    // The same as lines "path: reason", for a message box.
    static QString Lines(const std::vector<IMPN_FileFailure>& files);

    // Opens the Unreadable Preview Files dialog over `owner` (modal to it, without waiting) for
    // the files the sheet could not read when it was last prepared; null when it read them all.
    // The dialog deletes itself when closed.
    static WKRN_FileListWindow* Report(QWidget* owner, const IMPN_Sheet& sheet);
};
