#pragma once
// Draws the imposition geometry over a surface's picture: the image frame, the press sheet edge,
// bleed and maximum bleed edges, pages (outline with a folded top-right corner, a bar along the
// top, the page number) and source clip paths. Geometry arrives in full-resolution pixels and is
// scaled to the zoom level, halves going to the even neighbour. Pens are one pixel wide, solid
// for the surface facing the viewer and dashed for the one underneath; overlays are never
// blended.

#include "IMPN/IMPN_ClipPath.h"
#include "IMPN/IMPN_PageEntry.h"
#include "IMPN/IMPN_Rect.h"

#include <QColor>
#include <QTransform>

#include <cstdint>
#include <vector>

class QPainter;
struct WKRN_PreferenceValues;

struct WKRN_OverlayColors
{
    QColor imageFrame{153, 153, 153};
    QColor pressSheetEdge{0, 255, 0};
    QColor bleedEdge{0, 0, 255};
    QColor pageEdge{255, 0, 0};

    // The edge colours of the preferences (bytes blue, green, red) and the fixed frame grey.
    static WKRN_OverlayColors FromPreferences(const WKRN_PreferenceValues& preferences);
};

// A rectangle scaled to a zoom level, 64-bit so that no file value can overflow it.
struct WKRN_LevelRect
{
    std::int64_t top = 0;
    std::int64_t left = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;
};

class WKRN_OverlayPainter
{
public:
    // transform: where outlines go (device origin, and the mirror for the underneath surface).
    WKRN_OverlayPainter(QPainter& painter, const QTransform& transform, int level,
                        const WKRN_OverlayColors& colors, bool underneath);

    // Full-resolution rectangle at the level, each value rounded half to even.
    static WKRN_LevelRect ScaleRect(const IMPN_Rect& rect, int level);

    // rect is already in level pixels.
    void DrawImageFrame(const IMPN_Rect& rect);
    void DrawPressSheetEdge(const IMPN_Rect& rect);
    void DrawBleedEdges(const std::vector<IMPN_Rect>& rects);
    void DrawPages(const std::vector<IMPN_PageEntry>& pages, bool edges, bool numbers);
    void DrawClipPaths(const std::vector<std::vector<IMPN_ClipPath>>& pagePaths);

    // The page transform of an orientation (0 up, 1 down, 2 left, 3 right; others as 0) for a
    // scaled page rectangle: it maps the page's own box (q x u, returned) onto the rectangle.
    static QTransform PageTransform(int orientation, const WKRN_LevelRect& page, double& q,
                                    double& u);

    // Page numbers taller than this many pixels are not drawn: no window shows them whole, and
    // the font engine would be asked for glyphs of any size a file cares to name.
    static constexpr std::int64_t kMaxNumberPixels = 1 << 14;

private:
    void Outline(const WKRN_LevelRect& rect, const QColor& color);
    void DrawPage(const IMPN_PageEntry& page, bool edges, bool numbers);
    QPen PenOf(const QColor& color) const;

    QPainter& m_Painter;
    QTransform m_Transform;
    int m_Level;
    WKRN_OverlayColors m_Colors;
    bool m_Underneath;
};
