#include "WKRN/sheet/WKRN_SheetViewTools.h"

#include "IMPN/IMPN_Sheet.h"
#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/preferences/WKRN_Preferences.h"
#include "WKRN/sheet/WKRN_Cursors.h"
#include "WKRN/sheet/WKRN_SheetView.h"
#include "WTLU/WTLU_MessageEvent.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace
{
// Half the length of each arm of the cross at the start of a measurement.
constexpr int kCrossArm = 11;
constexpr int kLastLevel = IMPN_SheetView::kLevelCount - 1;
// A zoom press that moves no further than this (screen pixels either way) is a click.
constexpr int kZoomDragPixels = 4;
} // namespace

void WKRN_SheetViewTools::SetTool(int tool)
{
    if (tool >= WKRN_SheetView::PanTool && tool <= WKRN_SheetView::DensitometerTool)
        m_Tool = tool;
}

double WKRN_SheetViewTools::UnitsPerInch(int unit)
{
    static constexpr double kUnits[] = {72.0, 6.0, 1.0, 25.4, 2.54};
    return unit >= 0 && unit < 5 ? kUnits[unit] : kUnits[0];
}

int WKRN_SheetViewTools::ToolOf(Qt::KeyboardModifiers modifiers, bool space) const
{
    if (modifiers & Qt::ControlModifier)
        return WKRN_SheetView::ZoomTool;
    if (space)
        return WKRN_SheetView::PanTool;
    return m_Tool;
}

int WKRN_SheetViewTools::CursorFor(Qt::KeyboardModifiers modifiers, bool space) const
{
    if (m_Dragging && m_DragTool == WKRN_SheetView::PanTool)
        return WKRN_Cursors::PanDrag;
    switch (ToolOf(modifiers, space))
    {
    case WKRN_SheetView::MeasureTool:
        return WKRN_Cursors::Measure;
    case WKRN_SheetView::DensitometerTool:
        return WKRN_Cursors::Densitometer;
    case WKRN_SheetView::ZoomTool:
    {
        const int level = m_View.GetLevel();
        if (modifiers & Qt::ShiftModifier)
            return level < kLastLevel ? WKRN_Cursors::ZoomOut : WKRN_Cursors::ZoomNone;
        return level > 0 ? WKRN_Cursors::ZoomIn : WKRN_Cursors::ZoomNone;
    }
    default:
        return WKRN_Cursors::Pan;
    }
}

void WKRN_SheetViewTools::Press(const QPoint& client, Qt::KeyboardModifiers modifiers, bool space)
{
    Cancel();
    if (!m_View.GetSheet())
        return;
    m_DragTool = ToolOf(modifiers, space);
    const QPoint scroll = m_View.ScrollPosition();
    switch (m_DragTool)
    {
    case WKRN_SheetView::PanTool:
        m_Dragging = true;
        m_ButtonDown = true;
        m_Last = client;
        m_View.SetCursorId(WKRN_Cursors::PanDrag);
        break;
    case WKRN_SheetView::ZoomTool:
        // A click zooms when the button goes up; a drag beyond a few pixels draws a rectangle.
        m_Dragging = true;
        m_ButtonDown = true;
        m_ZoomOut = modifiers & Qt::ShiftModifier;
        m_Start = client + scroll;
        m_End = m_Start;
        m_RectDrawn = false;
        break;
    case WKRN_SheetView::MeasureTool:
        m_Dragging = true;
        m_ButtonDown = true;
        m_Start = client + scroll;
        m_End = m_Start;
        m_AxisLock = 0;
        m_LineDrawn = false;
        WTLU_MessageEvent::Send(m_View.NoticeReceiver(), JOBMSG_SHOW_PALETTE, ID_WINDOW_MEASUREMENT,
                                0);
        break;
    case WKRN_SheetView::DensitometerTool:
        WTLU_MessageEvent::Send(m_View.NoticeReceiver(), JOBMSG_DENSITOMETER, 1, 0,
                                client + scroll);
        break;
    default:
        break;
    }
}

void WKRN_SheetViewTools::Move(const QPoint& client, Qt::MouseButtons buttons,
                               Qt::KeyboardModifiers modifiers)
{
    if (!m_Dragging && m_View.GetSheet() &&
        ToolOf(modifiers, false) == WKRN_SheetView::DensitometerTool)
        WTLU_MessageEvent::Send(m_View.NoticeReceiver(), JOBMSG_DENSITOMETER, 0, 0,
                                client + m_View.ScrollPosition());
    if (!m_Dragging || !m_View.GetSheet())
        return;
    if (m_DragTool == WKRN_SheetView::PanTool)
    {
        if (buttons & Qt::LeftButton)
            PanMove(client);
    }
    else if (m_DragTool == WKRN_SheetView::MeasureTool)
    {
        MeasureMove(client, buttons, modifiers);
    }
    else if (m_DragTool == WKRN_SheetView::ZoomTool)
    {
        if (buttons & Qt::LeftButton)
            ZoomMove(client);
    }
}

bool WKRN_SheetViewTools::IsZoomRectangle(const QPoint& end) const
{
    const QPoint moved = end - m_Start;
    return std::abs(moved.x()) > kZoomDragPixels || std::abs(moved.y()) > kZoomDragPixels;
}

void WKRN_SheetViewTools::ZoomMove(const QPoint& client)
{
    const QPoint end = client + m_View.ScrollPosition();
    EraseZoomRectangle();
    if (!m_RectDrawn && !IsZoomRectangle(end))
        return;
    m_End = end;
    ToggleZoomRectangle();
    m_RectDrawn = true;
}

/* The rectangle in level pixels, whichever corner the drag started from. */
QRect WKRN_SheetViewTools::ZoomRectangle() const
{
    return QRect(std::min(m_Start.x(), m_End.x()), std::min(m_Start.y(), m_End.y()),
                 std::abs(m_End.x() - m_Start.x()), std::abs(m_End.y() - m_Start.y()));
}

void WKRN_SheetViewTools::ZoomRelease(const QPoint& client, bool rectDrawn)
{
    const int old = m_View.GetLevel();
    const QPoint end = client + m_View.ScrollPosition();
    if (rectDrawn || IsZoomRectangle(end))
    {
        m_End = end;
        const QRect rect = ZoomRectangle();
        m_View.ZoomToRect(rect.top(), rect.left(), std::max(1, rect.width()),
                          std::max(1, rect.height()));
    }
    else
    {
        if (m_ZoomOut ? old >= kLastLevel : old <= 0)
            return;
        m_View.ZoomToLevelAt(m_ZoomOut ? old + 1 : old - 1, m_Start.x(), m_Start.y(), false);
    }
    const int now = m_View.GetLevel();
    std::array<double, 4> fractions = m_View.VisibleFractions();
    WTLU_MessageEvent::Send(m_View.NoticeReceiver(), JOBMSG_ZOOM_CHANGED,
                            quintptr(now) << 16 | quintptr(old),
                            reinterpret_cast<qintptr>(fractions.data()), fractions);
    m_View.Redraw();
}

/* The picture follows the mouse: moving the mouse right scrolls left. */
void WKRN_SheetViewTools::PanMove(const QPoint& client)
{
    const QPoint scroll = m_View.ScrollPosition();
    const QPoint moved = client - m_Last;
    m_View.ApplyScroll(std::int64_t{scroll.x()} - moved.x(), std::int64_t{scroll.y()} - moved.y());
    m_Last = client;
}

void WKRN_SheetViewTools::MeasureMove(const QPoint& client, Qt::MouseButtons buttons,
                                      Qt::KeyboardModifiers modifiers)
{
    double kx = 0, ky = 0;
    if (!ScaleFactors(kx, ky))
        return;
    const QPoint scroll = m_View.ScrollPosition();
    const double px = double(client.x()) + scroll.x(), py = double(client.y()) + scroll.y();
    if (!(buttons & Qt::LeftButton))
    {
        // The drag has not seen its button-up yet: only where the pointer is.
        SendMeasurement(px * kx, py * ky, nullptr);
        return;
    }
    const int width = m_View.GetLevelWidth(), height = m_View.GetLevelHeight();
    if (m_Start.x() < 0 || m_Start.y() < 0 || m_Start.x() >= width || m_Start.y() >= height)
        return;

    const QPoint current(int(std::clamp<double>(px, 0, width)),
                         int(std::clamp<double>(py, 0, height)));
    int dx = current.x() - m_Start.x();
    int dy = current.y() - m_Start.y();
    if ((modifiers & Qt::ShiftModifier) && m_AxisLock == 0)
        m_AxisLock = std::abs(dy) < std::abs(dx) ? 1 : 2;
    QPoint end = current;
    if (m_AxisLock == 1)
    {
        end.setY(m_Start.y());
        dy = 0;
    }
    else if (m_AxisLock == 2)
    {
        end.setX(m_Start.x());
        dx = 0;
    }

    EraseRubberLine();
    ToggleRubberLine(m_Start, end);
    m_End = end;
    m_LineDrawn = true;

    const double delta[2] = {dx * kx, dy * ky};
    SendMeasurement(current.x() * kx, current.y() * ky, delta);
}

void WKRN_SheetViewTools::Release(const QPoint& client)
{
    if (!m_Dragging)
        return;
    const int tool = m_DragTool;
    const bool rectDrawn = m_RectDrawn;
    Cancel();
    if (tool == WKRN_SheetView::PanTool)
        m_View.SendVisibleArea();
    else if (tool == WKRN_SheetView::ZoomTool && m_View.GetSheet())
        ZoomRelease(client, rectDrawn);
}

void WKRN_SheetViewTools::Cancel()
{
    EraseRubberLine();
    EraseZoomRectangle();
    m_Dragging = false;
    m_ButtonDown = false;
}

/* Level pixels to the preferred unit: units per inch over level pixels per inch. A sheet without
   a usable resolution cannot be measured. */
bool WKRN_SheetViewTools::ScaleFactors(double& kx, double& ky) const
{
    const IMPN_Sheet* sheet = m_View.GetSheet();
    if (!sheet)
        return false;
    const double xres = sheet->GetXResolution(), yres = sheet->GetYResolution();
    if (!(xres > 0) || !(yres > 0) || !std::isfinite(xres) || !std::isfinite(yres))
        return false;
    const double units = UnitsPerInch(WKRN_Preferences::Current().PreferredLinearUnits);
    const double scale = IMPN_SheetView::Scale(m_View.GetLevel());
    kx = units / (scale * xres);
    ky = units / (scale * yres);
    return true;
}

void WKRN_SheetViewTools::SendMeasurement(double x, double y, const double* delta)
{
    double position[2] = {x, y};
    double offset[2] = {0, 0};
    std::vector<double> values{x, y};
    if (delta)
    {
        offset[0] = delta[0];
        offset[1] = delta[1];
        values.push_back(offset[0]);
        values.push_back(offset[1]);
    }
    WTLU_MessageEvent::Send(m_View.NoticeReceiver(), JOBMSG_MEASUREMENT,
                            reinterpret_cast<quintptr>(position),
                            delta ? reinterpret_cast<qintptr>(offset) : 0, std::move(values));
}

/* Inverting twice restores the canvas, so the same call draws and erases. Points are level
   pixels; the canvas shows them less the scroll position. */
void WKRN_SheetViewTools::ToggleRubberLine(const QPoint& start, const QPoint& end)
{
    QImage& canvas = m_View.m_Canvas.Image();
    if (canvas.isNull())
        return;
    const QPoint scroll = m_View.ScrollPosition();
    const QPoint s = start - scroll, e = end - scroll;
    QPainterPath path;
    path.moveTo(s.x() - kCrossArm, s.y());
    path.lineTo(s.x() + kCrossArm, s.y());
    path.moveTo(s.x(), s.y() - kCrossArm);
    path.lineTo(s.x(), s.y() + kCrossArm);
    path.moveTo(s);
    path.lineTo(e);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.setPen(QPen(Qt::white, 0));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
    }
    m_View.UpdateCanvas(path.boundingRect().toAlignedRect().adjusted(-1, -1, 2, 2));
}

void WKRN_SheetViewTools::ToggleZoomRectangle()
{
    QImage& canvas = m_View.m_Canvas.Image();
    if (canvas.isNull())
        return;
    const QRect rect = ZoomRectangle().translated(-m_View.ScrollPosition());
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.setPen(QPen(Qt::white, 0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect);
    }
    m_View.UpdateCanvas(rect.adjusted(-1, -1, 2, 2));
}

void WKRN_SheetViewTools::EraseZoomRectangle()
{
    if (!m_RectDrawn)
        return;
    ToggleZoomRectangle();
    m_RectDrawn = false;
}

void WKRN_SheetViewTools::EraseRubberLine()
{
    if (!m_LineDrawn)
        return;
    ToggleRubberLine(m_Start, m_End);
    m_LineDrawn = false;
}
