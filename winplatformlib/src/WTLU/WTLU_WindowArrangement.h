#pragma once
// Tiling and cascading of top-level windows inside a work area, in place of the desktop's own
// window arrangement. The first window of the list is the one the user asked from: it gets the
// first tile, and it ends in front of a cascade.
//
// Rectangles are outer ones: the window manager's frame (title bar and borders) is part of them,
// so that a window placed in the work area can still be moved and closed with the mouse. The frame
// is the one the window system reports; before it does (a window not shown yet), the frame of
// another shown window, since a window manager decorates all ordinary windows alike; and when it
// reports none, a default margin large enough for the usual title bars.

#include <QMargins>
#include <QRect>

#include <vector>

class QWidget;

class WTLU_WindowArrangement
{
public:
    // The frame assumed where the window system reports none: left, top, right, bottom.
    static constexpr QMargins kDefaultFrame{8, 40, 8, 8};
    // How far each new job window steps from the previous one.
    static constexpr int kCascadeStep = 26;

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

    // The rectangle of a window opened after the one at previous: one step right and down, as large
    // as previous where the area allows and cut at its right and bottom edges. Where that would
    // leave less than two thirds of the area's width or height, the cascade starts again at the
    // area's top-left corner.
    static QRect NextCascade(const QRect& previous, const QRect& area, int step);

    // The frame around a top-level window (see above).
    static QMargins FrameMargins(const QWidget* window);
    // The window's geometry with its frame around it.
    static QRect OuterRect(const QWidget* window);
    // Puts the window's frame on the outer rectangle. A window whose frame is not known yet is
    // fitted again once the window system reports it (within a few seconds of being shown).
    static void PlaceOuter(QWidget* window, const QRect& outer);

    // Moves the windows to their outer rectangles and stacks them (the first in front).
    static void Arrange(const std::vector<QWidget*>& windows, const QRect& area, Kind kind);

    // The work area of the screen a window is on (or the primary screen) shrunk by 5 pixels.
    static QRect WorkArea(const QWidget* window);
};
