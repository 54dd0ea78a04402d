#pragma once
// The texts of the file-list dialogs (Add Preview Files, Invalid Files). Texts with a string id
// come from the viewer's string table; texts of the dialog templates have no id and are translated
// under this class's own context.

#include "WKRN/app/WKRN_Ids.h"

#include <QString>

class WKRN_FileListTexts
{
public:
    // "One file was not added ..." for 1, "%i files were not added ..." with the count otherwise.
    static QString RejectedText(int rejected);
    static QString RejectedDetail(int rejected);

    // Dialog template texts.
    static QString AddButton();         // "Add..."
    static QString RemoveButton();      // "Remove"
    static QString InvalidFilesTitle(); // "Invalid Files"
    static QString PreviewFileFilter(); // "Preview File"
    static QString TiffFileFilter();    // "Corvane TIFF"
    // The reason a file that is not a valid preview file is refused.
    static QString MissingTagReason();

    static constexpr const char* kContext = "WKRN_FileListTexts";
};
