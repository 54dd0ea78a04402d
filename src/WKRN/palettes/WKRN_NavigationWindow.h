#pragma once
// The navigation palette of a job window: the thumbnail of the surface facing the viewer, with
// the part the sheet view shows outlined and the rest veiled by a fog. A click centres the view
// on the point, dragging the outlined rectangle moves the view, dragging out a new rectangle
// zooms the view to it; the requests go to the job window, which passes them to its view.
//
// Messages handled (sent by the job window):
//   0x800C, 0x800D visible area: four fractions top, left, width, height of the level picture,
//          as a payload std::array<double, 4> or through lParam.
//   0x8010, 0x8011 facing surface: wParam 1 when the front faces the viewer, 0 when the back does.
//   0x8012, 0x8013 page edges on, off; 0x8014, 0x8015 page numbers on, off.
// Requests sent to the job window: 0x800E scroll to fractions (payload std::array<double, 2>
// top, left; lParam -> the four fractions) and 0x800F zoom to a rectangle (payload and lParam:
// the four fractions of the rectangle).
//
// While a drag is in progress the view's own area notices are kept aside: the rectangle under
// the mouse is the user's. On release the latest notice counts again unless the release itself
// asks the view to move there.

#include "IMPN/IMPN_SheetReference.h"

#include <QColor>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include <array>
#include <cstdint>
#include <vector>

class IMPN_Surface;
class WKRN_SheetWindowHost;

class WKRN_NavigationWindow : public QWidget
{
    Q_OBJECT
public:
    // Half the side of the square a press may wander in and still be a click.
    static constexpr int kClickSlack = 3;

    enum DragMode : int
    {
        NoDrag = 0,
        Pressed = 1,
        MovingView = 2,
        DrawingRect = 3,
    };

    explicit WKRN_NavigationWindow(WKRN_SheetWindowHost& job, QWidget* parent = nullptr);

    // The job's sheet (none shows nothing) and which of its surfaces faces the viewer.
    void SetSheet(const IMPN_SheetReference& sheet, bool frontFaces);
    void SetPageOverlays(bool edges, bool numbers);
    // Marks over the thumbnail of the facing surface: the changed regions of a comparison with
    // another version, as fractions of the picture (x left, y top, width, height); `current`,
    // the one the view was last centred on, is drawn stronger (-1: none). None: no marks.
    void SetRegionMarks(std::vector<QRectF> marks, int current, const QColor& colour);
    const std::vector<QRectF>& RegionMarks() const { return m_marks; }
    int CurrentMark() const { return m_currentMark; }

    // The thumbnail's size; the frame adds its caption.
    QSize sizeHint() const override;

    bool FrontFaces() const { return m_frontFaces; }
    // The facing surface has no separations: the other one's thumbnail is shown, mirrored.
    bool FacingEmpty() const;
    // The surface whose thumbnail is shown; null without a sheet or without separations.
    IMPN_Surface* ShownSurface() const;
    // 0, 0, thumbnail width, thumbnail height.
    QRect PictureRect() const;
    // Where the picture's top-left corner is in the window.
    QPoint PictureOffset() const;
    // The outlined rectangle, in thumbnail pixels, before it is clipped to the picture.
    QRect ViewRect() const { return m_viewRect; }
    int GetDragMode() const { return m_dragMode; }
    int CursorId() const { return m_cursorId; }
    bool PageEdges() const { return m_pageEdges; }
    bool PageNumbers() const { return m_pageNumbers; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool HandleMessage(QEvent* event);
    void TakeArea(const std::array<double, 4>& fractions);
    QRect RectFromArea() const;
    QRect PushedInside(QRect rect) const;
    // The four fractions of a rectangle; false when the picture has no size to divide by.
    bool Fractions(const QRect& rect, std::array<double, 4>& fractions) const;
    void RequestScroll(const QRect& rect);
    void RequestZoom(const QRect& rect);
    QImage ThumbnailPicture() const;
    void DrawPages(QPainter& painter, const IMPN_Surface& surface) const;
    void DrawRegionMarks(QPainter& painter, const QRect& area) const;
    void SetCursorId(int id);
    QPoint ToPicture(const QPoint& windowPoint) const;

    QPointer<QObject> m_job; // the job window, for its messages
    IMPN_SheetReference m_sheet;
    bool m_frontFaces = true;
    bool m_pageEdges = false;
    bool m_pageNumbers = false;
    // The view's last reported area; the rectangle shown follows it except during a drag.
    std::array<double, 4> m_area{};
    bool m_hasArea = false;
    QRect m_viewRect;
    // The rectangle being drawn, normalised and clipped to the picture; empty until it has size.
    QRect m_drawn;
    int m_dragMode = NoDrag;
    QPoint m_press{-1, -1};
    QPoint m_last{-1, -1};
    int m_cursorId = 0;
    std::vector<QRectF> m_marks;
    int m_currentMark = -1;
    QColor m_markColour;
};
