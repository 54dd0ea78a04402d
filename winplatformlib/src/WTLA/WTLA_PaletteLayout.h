#pragma once
// Carries out a palette arrangement on the frames of a main window: floating ones are placed
// against the edge of the area that shows the document (between its bars, inside its scroll
// bars), docked ones are put in one column of its side, in order, with the widths and heights
// the arrangement gives.

#include "WTLA/WTLA_PaletteArrangement.h"

#include <vector>

class QMainWindow;
class WTLA_PaletteFrame;

struct WTLA_PaletteEntry
{
    WTLA_PaletteFrame* frame = nullptr;
    bool included = true;
    int extraHeight = 0;
    bool setsColumnWidth = false;
};

class WTLA_PaletteLayout
{
public:
    // The area between the main window's bars, in its own coordinates.
    static QRect ClientArea(const QMainWindow& window);
    // Where palettes float, in screen coordinates: the central widget without its frame and
    // scroll bars (the viewport of a scroll area), so that no palette hides a scroll bar.
    static QRect FloatingArea(const QMainWindow& window);

    // Included frames are floated or docked as the arrangement says; the others keep their
    // place. Visibility is left as it is.
    static void Arrange(QMainWindow& window, WTLA_Arrangement arrangement,
                        const std::vector<WTLA_PaletteEntry>& entries);
};
