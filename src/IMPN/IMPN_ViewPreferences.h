#pragma once
// The preferences the platform-free sheet view reads when a sheet is shown. The viewer fills it
// from its preference store; tests fill it by hand.

#include "IMPN/IMPN_ColorRecord.h"
#include "IMPN/IMPN_SurfaceRenderer.h"

#include <cstddef>

struct IMPN_ViewPreferences
{
    // Paper colour given to both surfaces, blue, green, red.
    IMPN_ColorBGR defaultSurfaceColor{255, 255, 255};
    bool zoomToFitWindowOnOpen = false;
    bool showImpositionOnOpen = false;
    // Budget of each shown surface's tiles, in bytes; see IMPN_SurfaceRenderer.
    std::size_t tileMemoryBudget = IMPN_SurfaceRenderer::kDefaultMemoryBudget;
};
