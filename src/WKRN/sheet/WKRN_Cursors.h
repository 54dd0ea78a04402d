#pragma once
// The sheet view's seven cursors, made once per process from the cursor pictures (data/cursors,
// named by resource id) with their hot spots.

#include <QCursor>

class WKRN_Cursors
{
public:
    // The cursor resource ids.
    enum Id : int
    {
        Pan = 104,
        ZoomIn = 106,
        ZoomOut = 215,
        ZoomNone = 216,
        PanDrag = 217,
        Measure = 1003,
        Densitometer = 2301,
    };

    // The cursor of an id above; any other id gives the arrow. Needs the GUI application.
    static const QCursor& Get(int id);
};
