#pragma once
// The sheet view's mouse tools. The tool of a press is Zoom while Ctrl is held, Pan while Space
// is held, else the tool chosen in the job window; it stays the tool of that drag.
//   Pan: the picture follows the mouse; the visible area is reported when the button goes up.
//   Zoom: a click zooms one level in about the clicked point, or out with Shift, where a level
//   is left; a drag draws an inverted rectangle and zooms to it when the button goes up.
//   Measure: a rubber line (cross at the start, line to the pointer) inverted on the canvas, and
//   the position and offset in the preferred linear unit after every move; Shift locks the
//   offset to one axis for the rest of the drag.
//   Densitometer: the pointer's place is told to the job window while it hovers and when it is
//   clicked; the job window reads the inks there.

#include <QPoint>
#include <QRect>

#include <Qt>

class WKRN_SheetView;
class QMouseEvent;

class WKRN_SheetViewTools
{
public:
    explicit WKRN_SheetViewTools(WKRN_SheetView& view) : m_View(view) {}

    void SetTool(int tool);
    int GetTool() const { return m_Tool; }
    bool IsDragging() const { return m_Dragging; }

    // The cursor id for the pointer over the view with the given keys held.
    int CursorFor(Qt::KeyboardModifiers modifiers, bool space) const;

    void Press(const QPoint& client, Qt::KeyboardModifiers modifiers, bool space);
    void Move(const QPoint& client, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
    void Release(const QPoint& client);
    // The drag ends without a button-up (focus lost, the sheet replaced): the rubber line goes.
    void Cancel();

    // Units per inch of the linear unit preference 0..4 (points, picas, inches, millimetres,
    // centimetres); points for other values.
    static double UnitsPerInch(int unit);

    // Measure axis lock: 0 none, 1 horizontal, 2 vertical.
    int AxisLock() const { return m_AxisLock; }

private:
    int ToolOf(Qt::KeyboardModifiers modifiers, bool space) const;
    void PanMove(const QPoint& client);
    void MeasureMove(const QPoint& client, Qt::MouseButtons buttons,
                     Qt::KeyboardModifiers modifiers);
    void ZoomMove(const QPoint& client);
    void ZoomRelease(const QPoint& client, bool rectDrawn);
    bool IsZoomRectangle(const QPoint& end) const;
    QRect ZoomRectangle() const;
    void ToggleZoomRectangle();
    void EraseZoomRectangle();
    void ToggleRubberLine(const QPoint& start, const QPoint& end);
    void EraseRubberLine();
    void SendMeasurement(double x, double y, const double* delta);
    bool ScaleFactors(double& kx, double& ky) const;

    WKRN_SheetView& m_View;
    int m_Tool = 0;
    bool m_Dragging = false;
    bool m_ButtonDown = false;
    int m_DragTool = 0;
    QPoint m_Last;  // pan: client point of the previous move
    QPoint m_Start; // measure and zoom: level pixels
    QPoint m_End;   // measure and zoom: level pixels, where the drawn line or rectangle ends
    bool m_LineDrawn = false;
    bool m_RectDrawn = false;
    bool m_ZoomOut = false;
    int m_AxisLock = 0;
};
