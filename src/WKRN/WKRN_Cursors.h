#pragma once
// The sheet view's six cursors, made once per process from the cursor pictures (data/cursors,
// named by resource id) with their hot spots.

#include <QCursor>

enum WKRN_CursorId : int
{
    IDC_PAN = 104,
    IDC_ZOOM_IN = 106,
    IDC_ZOOM_OUT = 215,
    IDC_ZOOM_NONE = 216,
    IDC_PAN_DRAG = 217,
    IDC_MEASURE = 1003,
};

class WKRN_Cursors
{
public:
    // The cursor of an id above; any other id gives the arrow. Needs the GUI application.
    static const QCursor& Get(int id);
};
