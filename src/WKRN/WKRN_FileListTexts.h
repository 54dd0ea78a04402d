#pragma once
// The texts of the file-list dialogs (Add Preview Files, Invalid Files). Texts with a string id
// come from the viewer's string table; texts of the dialog templates have no id and are translated
// under this class's own context.

#include <QString>

enum WKRN_FileListStringId : unsigned
{
    IDS_SURFACE_INVALID_ONE = 140,
    IDS_SURFACE_INVALID_ONE_DETAIL = 142,
    IDS_SURFACE_INVALID_MANY = 143,
    IDS_SURFACE_INVALID_MANY_DETAIL = 145,
    IDS_FRONT_SURFACE = 162,
    IDS_BACK_SURFACE = 164,
    IDS_COLUMN_COLOR = 184,
    IDS_COLUMN_FILENAME = 185,
    IDS_INVALID_PREVIEW_FILES = 189,
    IDS_COLUMN_EXPLANATION = 190,
};

class WKRN_FileListTexts
{
public:
    // The string table's text of one of the ids above.
    static QString Load(unsigned id);

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
