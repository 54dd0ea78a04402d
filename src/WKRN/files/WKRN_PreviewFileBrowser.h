#pragma once
// The list of one surface's preview files in the Add Preview Files dialog: a sortable list with
// full-row selection, a "Color" column (the decided colour's name behind its swatch) and a
// "Filename" column. Sorting by colour puts process inks first in their code order, then spot
// inks; sorting by file name ignores case. Rows that compare equal keep their order.

#include "WTLU/WTLU_SortableListView.h"

#include "GFIL/GFIL_FileSpec.h"

#include <memory>
#include <vector>

class IMPN_Separation;
class IMPN_Surface;
class WKRN_PreviewFileRow;

class WKRN_PreviewFileBrowser : public WTLU_SortableListView
{
    Q_OBJECT
public:
    static constexpr int kColorWidth = 130;
    static constexpr int kFileNameWidth = 180;

    explicit WKRN_PreviewFileBrowser(QWidget* parent = nullptr);
    ~WKRN_PreviewFileBrowser() override;

    // Appends a row referring to a separation of a sheet, or owning one made in the dialog.
    WKRN_PreviewFileRow* AppendSeparation(IMPN_Separation& separation, GFIL_FileSpec file);
    WKRN_PreviewFileRow* AppendSeparation(std::unique_ptr<IMPN_Separation> separation,
                                          GFIL_FileSpec file);
    // One row per separation of the surface, in the surface's order.
    void AppendSurface(const IMPN_Surface& surface);

    WKRN_PreviewFileRow* FileRow(int index) const;
    // The files of the rows, in list order.
    std::vector<GFIL_FileSpec> Files() const;
};
