#pragma once
// Tiling and cascading of top-level windows inside a work area, in place of the desktop's own
// window arrangement. The first window of the list is the one the user asked from: it gets the
// first tile, and it ends in front of a cascade.

#include <QRect>

#include <vector>

class QWidget;

class WTLU_WindowArrangement
{
public:
    enum class Kind
    {
        Cascade,
        TileHorizontally, // one window above the other
        TileVertically,   // side by side
    };

    // Outer rectangles for count windows; tiles cover the area without overlapping.
    static std::vector<QRect> Tiles(int count, const QRect& area, Kind kind);
    // Outer rectangles of a cascade: each window one step right and down from the previous, the
    // first window of the list at the deepest step so that it is stacked in front.
    static std::vector<QRect> Cascade(int count, const QRect& area, int step);

    // Moves the windows to their outer rectangles and stacks them (the first in front).
    static void Arrange(const std::vector<QWidget*>& windows, const QRect& area, Kind kind);

    // The work area of the screen a window is on (or the primary screen) shrunk by 5 pixels.
    static QRect WorkArea(const QWidget* window);
};
