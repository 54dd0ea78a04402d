#pragma once
// The preferences the platform-free sheet view reads when a sheet is shown. The viewer fills it
// from its preference store; tests fill it by hand.

#include "IMPN/IMPN_ColorRecord.h"

struct IMPN_ViewPreferences
{
    // Paper colour given to both surfaces, blue, green, red.
    IMPN_ColorBGR defaultSurfaceColor{255, 255, 255};
    bool zoomToFitWindowOnOpen = false;
    bool showImpositionOnOpen = false;
};
