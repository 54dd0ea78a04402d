#pragma once
// Where the palettes of a frame window go for each of the four arrangements, computed without a
// display so that the rules can be checked by table.
//
// Floating, the palettes stand one below the other against the left or right edge of the
// window's client area (the area between the bars, in screen coordinates), each at its own outer
// size, the first at the top of that area. Docked, they share one column on the left or right
// side: the column is as wide as the widest palette marked as setting the width, and each
// palette starts at the fraction of the client height that the palettes above it cover (their
// heights plus any extra height), at most 1, and reaches down to where the next one starts.

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
};

struct WTLA_Placement
{
    int index = 0;      // the item placed
    QRect rect;         // floating: outer rectangle; docked: its part of the column
    double start = 0.0; // docked: where it starts, as a fraction of the client height
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
};
