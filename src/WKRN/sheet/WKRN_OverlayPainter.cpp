#include "WKRN/sheet/WKRN_OverlayPainter.h"

#include "IMPN/IMPN_RenderLevel.h"
#include "WKRN/preferences/WKRN_Preferences.h"

#include <QFont>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace
{
QColor ColorOf(const WKRN_ColorBytes& bytes)
{
    return QColor(bytes.red, bytes.green, bytes.blue);
}

std::int64_t ScaleValue(std::int64_t v, int level)
{
    return IMPN_RenderLevel::Scale(v, std::clamp(level, 0, IMPN_RenderLevel::kLevelCount - 1));
}
} // namespace

WKRN_OverlayColors WKRN_OverlayColors::FromPreferences(const WKRN_PreferenceValues& preferences)
{
    WKRN_OverlayColors colors;
    colors.pressSheetEdge = ColorOf(preferences.PressSheetEdgeColor);
    colors.bleedEdge = ColorOf(preferences.BleedEdgeColor);
    colors.pageEdge = ColorOf(preferences.PageEdgeColor);
    return colors;
}

WKRN_OverlayPainter::WKRN_OverlayPainter(QPainter& painter, const QTransform& transform, int level,
                                         const WKRN_OverlayColors& colors, bool underneath)
    : m_Painter(painter), m_Transform(transform), m_Level(level), m_Colors(colors),
      m_Underneath(underneath)
{
}

WKRN_LevelRect WKRN_OverlayPainter::ScaleRect(const IMPN_Rect& rect, int level)
{
    return WKRN_LevelRect{ScaleValue(rect.top, level), ScaleValue(rect.left, level),
                          ScaleValue(rect.width, level), ScaleValue(rect.height, level)};
}

QPen WKRN_OverlayPainter::PenOf(const QColor& color) const
{
    QPen pen(color, 0, m_Underneath ? Qt::DashLine : Qt::SolidLine);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

/* The outline runs over the rectangle's own edge pixels (left to left + width - 1), so that the
   frame of the level picture stays inside the picture. Rectangles stored with their edges the
   wrong way round are outlined all the same. */
void WKRN_OverlayPainter::Outline(const WKRN_LevelRect& rect, const QColor& color)
{
    double left = double(rect.left), top = double(rect.top);
    double width = double(rect.width), height = double(rect.height);
    if (width < 0)
    {
        left += width;
        width = -width;
    }
    if (height < 0)
    {
        top += height;
        height = -height;
    }
    if (width < 1 || height < 1)
        return;
    m_Painter.save();
    m_Painter.setWorldTransform(m_Transform);
    m_Painter.setOpacity(1.0);
    m_Painter.setRenderHint(QPainter::Antialiasing, false);
    m_Painter.setPen(PenOf(color));
    m_Painter.setBrush(Qt::NoBrush);
    m_Painter.drawRect(QRectF(left, top, width - 1, height - 1));
    m_Painter.restore();
}

void WKRN_OverlayPainter::DrawImageFrame(const IMPN_Rect& rect)
{
    Outline(WKRN_LevelRect{rect.top, rect.left, rect.width, rect.height}, m_Colors.imageFrame);
}

void WKRN_OverlayPainter::DrawPressSheetEdge(const IMPN_Rect& rect)
{
    Outline(ScaleRect(rect, m_Level), m_Colors.pressSheetEdge);
}

void WKRN_OverlayPainter::DrawBleedEdges(const std::vector<IMPN_Rect>& rects)
{
    for (const IMPN_Rect& rect : rects)
        Outline(ScaleRect(rect, m_Level), m_Colors.bleedEdge);
}

QTransform WKRN_OverlayPainter::PageTransform(int orientation, const WKRN_LevelRect& page,
                                              double& q, double& u)
{
    const double l = double(page.left), t = double(page.top);
    const double w = double(page.width), h = double(page.height);
    switch (orientation)
    {
    case 1: // upside down: rotated half a turn about the page centre
        q = w;
        u = h;
        return QTransform(-1, 0, 0, -1, l + w, t + h);
    case 2: // its top to the left: x' = y + l, y' = -x + t + h
        q = h;
        u = w;
        return QTransform(0, -1, 1, 0, l, t + h);
    case 3: // its top to the right: x' = -y + l + w, y' = x + t
        q = h;
        u = w;
        return QTransform(0, 1, -1, 0, l + w, t);
    default:
        q = w;
        u = h;
        return QTransform(1, 0, 0, 1, l, t);
    }
}

void WKRN_OverlayPainter::DrawPages(const std::vector<IMPN_PageEntry>& pages, bool edges,
                                    bool numbers)
{
    if (!edges && !numbers)
        return;
    m_Painter.save();
    m_Painter.setOpacity(1.0);
    m_Painter.setRenderHint(QPainter::Antialiasing, false);
    m_Painter.setRenderHint(QPainter::TextAntialiasing, true);
    m_Painter.setBackgroundMode(Qt::TransparentMode);
    for (const IMPN_PageEntry& page : pages)
        DrawPage(page, edges, numbers);
    m_Painter.restore();
}

/* Everything of a page is drawn in the page's own box, q wide and u tall with its top edge at
   y = 0, so that one shape serves all four orientations: the folded corner always sits at the
   page's top right and the bar below its top edge. */
void WKRN_OverlayPainter::DrawPage(const IMPN_PageEntry& page, bool edges, bool numbers)
{
    const WKRN_LevelRect rect = ScaleRect(page.position, m_Level);
    double q = 0, u = 0;
    const QTransform pageTransform = PageTransform(page.orientation, rect, q, u);
    m_Painter.setWorldTransform(pageTransform * m_Transform);
    const std::int64_t m = std::min(rect.width, rect.height);
    const QColor& color = m_Colors.pageEdge;

    if (edges)
    {
        const double k = std::trunc(double(m) * 0.16);
        QPainterPath outline;
        outline.moveTo(0, 0);
        outline.lineTo(q - k, 0);
        outline.lineTo(q - k, k);
        outline.lineTo(q, k);
        outline.lineTo(q - k, 0);
        outline.lineTo(q, 0);
        outline.lineTo(q, u);
        outline.lineTo(0, u);
        outline.lineTo(0, 0);
        m_Painter.strokePath(outline, PenOf(color));

        if (numbers)
        {
            const double x = std::trunc(double(m) * 0.04);
            const double x0 = x, y0 = std::floor(x * 3 / 2);
            const double x1 = q - x - k, y1 = std::floor(x * 5 / 2);
            QPainterPath bar;
            bar.addRect(QRectF(QPointF(x0, y0), QPointF(x1, y1)).normalized());
            if (m_Underneath)
                m_Painter.strokePath(bar, PenOf(color));
            else
                m_Painter.fillPath(bar, color);
        }
    }

    if (numbers && m > 0)
    {
        const int dpi = m_Painter.device() ? m_Painter.device()->logicalDpiY() : 96;
        const std::int64_t points = m / 4;
        const std::int64_t pixels = (points * dpi + 36) / 72;
        if (pixels >= 1 && pixels <= kMaxNumberPixels)
        {
            QFont font(QStringLiteral("Arial"));
            font.setWeight(QFont::Normal);
            font.setPixelSize(int(pixels));
            m_Painter.setFont(font);
            m_Painter.setPen(color);
            m_Painter.drawText(QRectF(0, 0, q, u), Qt::AlignCenter | Qt::TextSingleLine,
                               QString::number(page.number));
        }
    }
    m_Painter.setWorldTransform(m_Transform);
}

void WKRN_OverlayPainter::DrawClipPaths(const std::vector<std::vector<IMPN_ClipPath>>& pagePaths)
{
    m_Painter.save();
    m_Painter.setWorldTransform(m_Transform);
    m_Painter.setOpacity(1.0);
    m_Painter.setRenderHint(QPainter::Antialiasing, false);
    const QPen pen = PenOf(m_Colors.pageEdge);
    for (const std::vector<IMPN_ClipPath>& paths : pagePaths)
    {
        for (const IMPN_ClipPath& path : paths)
        {
            if (path.points.size() < 2)
                continue;
            QPainterPath polygon;
            bool first = true;
            for (const IMPN_Point& point : path.points)
            {
                const QPointF p(double(ScaleValue(point.x, m_Level)),
                                double(ScaleValue(point.y, m_Level)));
                if (first)
                    polygon.moveTo(p);
                else
                    polygon.lineTo(p);
                first = false;
            }
            polygon.closeSubpath();
            m_Painter.strokePath(polygon, pen);
        }
    }
    m_Painter.restore();
}
