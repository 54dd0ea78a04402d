#pragma once
// What the sheet view draws on: a painter on the view's canvas image, with the blend state of the
// surface being drawn (constant alpha from its opacity) and the transform that places it (the
// viewport origin, and for the surface underneath the mirror and backup offset).
//
// Two transforms are kept. Pictures are drawn by area: level pixel x covers [x, x + 1), and the
// mirror x' = C - x sends it to [C - x - 1, C - x). Outlines are drawn through pixel indices,
// where the same mirror is x' = C - 1 - x; keeping both lets a mirrored outline fall exactly on
// the mirrored pixels it frames.

#include "IMPN/IMPN_ColorRecord.h"
#include "IMPN/IMPN_Rect.h"
#include "IMPN/IMPN_SheetView.h"

#include <QTransform>

#include <cstdint>
#include <functional>

class QPainter;
struct IMPN_RenderTile;

class WKRN_CanvasTarget : public IMPN_DrawTarget
{
public:
    // The painter's world transform at construction is the device transform (viewport origin).
    explicit WKRN_CanvasTarget(QPainter& painter);

    QPainter& Painter() const { return m_Painter; }

    // Constant alpha of a surface's opacity in percent: opacity x 255 / 100, integer division;
    // opacities outside 0..100 are taken at the nearer end.
    static int AlphaOf(int opacity);

    // The transforms that place the underneath surface for a flip axis (1 left-right, 2
    // top-bottom, anything else: none) in a level picture of width x height with backup offsets
    // dx, dy. The outline form maps pixel indices (see above).
    static QTransform MirrorForPictures(std::uint32_t axis, std::int32_t width, std::int32_t height,
                                        std::int32_t dx, std::int32_t dy);
    static QTransform MirrorForOutlines(std::uint32_t axis, std::int32_t width, std::int32_t height,
                                        std::int32_t dx, std::int32_t dy);

    // Saves the device transform and sets the mirror in front of it; the alpha of opacity.
    void BeginUnderneath(const QTransform& pictures, const QTransform& outlines, int opacity);
    // Back to the device transform.
    void EndUnderneath();
    void BeginTop(int opacity);
    int Alpha() const { return m_Alpha; }

    // The transform outlines are drawn with now (mirror included).
    const QTransform& OutlineTransform() const { return m_OutlineTransform; }

    // Opaque fill of a level-pixel rectangle.
    void FillRect(const IMPN_Rect& rect, const IMPN_ColorBGR& color);

    // Blends the tile at (left, top) with the current alpha. A tile whose store cannot hold its
    // own geometry is not drawn. With boundaries, the tile's outline follows in orange.
    void DrawTile(const IMPN_RenderTile& tile, bool boundaries);

private:
    QPainter& m_Painter;
    QTransform m_Device;
    QTransform m_OutlineTransform;
    int m_Alpha = 255;
};
