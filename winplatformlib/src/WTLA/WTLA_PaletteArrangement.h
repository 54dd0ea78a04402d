#pragma once
// Where the palettes of a frame window go for each of the four arrangements, computed without a
// display so that the rules can be checked by table.
//
// Floating, the palettes stand one below the other against the left or right edge of the area
// they float in (the part of the window's client area that shows the document, in screen
// coordinates), each at its own outer size, the first at the top of that area. A palette that
// does not fit below the one above it starts a new column beside the first, towards the middle
// of the area, so that no palette hangs out of the window; one taller than the whole area is cut
// to it, down to its minimum height. Docked, they share one column on the left or right side: the
// column is as wide as the widest palette marked as setting the width, and each palette starts at
// the fraction of the client height that the palettes above it cover (their heights plus any
// extra height), at most 1, and reaches down to where the next one starts.

#include <QRect>
#include <QSize>

#include <vector>

enum class WTLA_Arrangement
{
    FloatLeft,
    FloatRight,
    DockLeft,
    DockRight,
};

struct WTLA_PaletteItem
{
    QSize size;                   // the palette's preferred outer size
    bool included = true;         // takes part in the arrangement
    int extraHeight = 0;          // docked: added to its height when placing those below it
    bool setsColumnWidth = false; // docked: the column is as wide as the widest of these
    QSize minimum;                // floating: the outer size it cannot be cut below
};

struct WTLA_Placement
{
    int index = 0;      // the item placed
    QRect rect;         // floating: outer rectangle; docked: its part of the column
    double start = 0.0; // docked: where it starts, as a fraction of the client height
};

// How far floating palettes reach into an area from its left and right edges.
struct WTLA_Cover
{
    int left = 0;
    int right = 0;
    bool operator==(const WTLA_Cover&) const = default;
};

class WTLA_PaletteArrangement
{
public:
    static bool IsDocked(WTLA_Arrangement arrangement);
    static bool IsLeft(WTLA_Arrangement arrangement);

    // The included items in their order; excluded items get no placement.
    static std::vector<WTLA_Placement> Compute(WTLA_Arrangement arrangement, const QRect& client,
                                               const std::vector<WTLA_PaletteItem>& items);

    // The docked column's width: the widest item that sets the width whether included or not,
    // else the widest included item.
    static int ColumnWidth(const std::vector<WTLA_PaletteItem>& items);

    // The columns of the area that the frames cover, counted from each edge: a frame that lies
    // over the area covers from its inner side to the nearer edge (the right one when its middle
    // is right of the area's middle). Frames beside the area cover nothing.
    static WTLA_Cover Covered(const QRect& area, const std::vector<QRect>& frames);
};
