#include "WKRN/files/WKRN_PreviewFileBrowser.h"

#include "WKRN/app/WKRN_StringTable.h"
#include "WKRN/files/WKRN_FileListTexts.h"
#include "WKRN/files/WKRN_PreviewFileRow.h"

#include "GLIB/GLIB_Exception.h"
#include "IMPN/IMPN_Surface.h"

WKRN_PreviewFileBrowser::WKRN_PreviewFileBrowser(QWidget* parent) : WTLU_SortableListView(parent)
{
    setObjectName(QStringLiteral("WKRN_PreviewFileBrowser_1030"));
    setIconSize(QSize(WKRN_PreviewFileRow::kSwatchSize, WKRN_PreviewFileRow::kSwatchSize));
    AddColumn(WKRN_StringTable::Load(IDS_COLUMN_COLOR), kColorWidth);
    AddColumn(WKRN_StringTable::Load(IDS_COLUMN_FILENAME), kFileNameWidth);
    SetComparator(WKRN_PreviewFileRow::kColorColumn, &WKRN_PreviewFileRow::CompareColor);
    SetComparator(WKRN_PreviewFileRow::kFileNameColumn, &WKRN_PreviewFileRow::CompareFileName);
}

WKRN_PreviewFileBrowser::~WKRN_PreviewFileBrowser() = default;

WKRN_PreviewFileRow* WKRN_PreviewFileBrowser::AppendSeparation(IMPN_Separation& separation,
                                                               GFIL_FileSpec file)
{
    auto* row = new WKRN_PreviewFileRow(separation, std::move(file));
    addTopLevelItem(row);
    return row;
}

WKRN_PreviewFileRow*
WKRN_PreviewFileBrowser::AppendSeparation(std::unique_ptr<IMPN_Separation> separation,
                                          GFIL_FileSpec file)
{
    auto* row = new WKRN_PreviewFileRow(std::move(separation), std::move(file));
    addTopLevelItem(row);
    return row;
}

void WKRN_PreviewFileBrowser::AppendSurface(const IMPN_Surface& surface)
{
    for (const std::unique_ptr<IMPN_Separation>& separation : surface.GetSeparations())
    {
        GFIL_FileSpec file;
        try
        {
            file = GFIL_FileSpec(separation->GetFilePath());
        }
        catch (const GLIB_Exception&)
        {
            // The sheet was made from this path, so this does not happen in practice; the row
            // still shows the separation, and the rebuilt sheet leaves it out.
        }
        AppendSeparation(*separation, std::move(file));
    }
}

WKRN_PreviewFileRow* WKRN_PreviewFileBrowser::FileRow(int index) const
{
    return dynamic_cast<WKRN_PreviewFileRow*>(Row(index));
}

std::vector<GFIL_FileSpec> WKRN_PreviewFileBrowser::Files() const
{
    std::vector<GFIL_FileSpec> files;
    files.reserve(std::size_t(RowCount()));
    for (int i = 0; i < RowCount(); ++i)
        if (const WKRN_PreviewFileRow* row = FileRow(i))
            files.push_back(row->File());
    return files;
}
