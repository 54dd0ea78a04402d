#include "WKRN/palettes/WKRN_NavigationWindow.h"

#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/preferences/WKRN_Preferences.h"
#include "WKRN/sheet/WKRN_Cursors.h"
#include "WKRN/sheet/WKRN_OverlayPainter.h"
#include "WKRN/sheet/WKRN_SheetWindowHost.h"

#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_Surface.h"
#include "IMPN/IMPN_ThumbnailImage.h"
#include "WTLU/WTLU_MessageEvent.h"

#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{
// Fractions far outside the picture say nothing a rectangle can show; they are limited before
// they become pixels.
constexpr double kLargestPixel = 1 << 24;

/* The alpha of a colour's percentage in whole steps: 0 % lets the thumbnail through unchanged
   (255), 100 % hides it (0). */
double AlphaOf(int percent)
{
    const int p = std::clamp(percent, 0, 100);
    return double((100 - p) * 255 / 100) / 255.0;
}

QColor ColorOf(const WKRN_NavigationColor& color)
{
    return QColor(color.red, color.green, color.blue);
}

int ToPixel(double value)
{
    return static_cast<int>(std::trunc(std::clamp(value, -kLargestPixel, kLargestPixel)));
}

/* The four fractions of a visible-area message, from its payload or, when sent, through lParam;
   false when there are none or one is not a number. */
bool ReadArea(const WTLU_MessageEvent& message, std::array<double, 4>& area)
{
    if (const auto* copy = std::any_cast<std::array<double, 4>>(&message.Payload()))
        area = *copy;
    else if (message.LParam() != 0)
        std::memcpy(area.data(), reinterpret_cast<const double*>(message.LParam()),
                    sizeof(double) * 4);
    else
        return false;
    return std::all_of(area.begin(), area.end(), [](double v) { return std::isfinite(v); });
}

std::int32_t RoundHalfEven(double value)
{
    return static_cast<std::int32_t>(
        std::clamp(std::nearbyint(value), -2147483648.0, 2147483647.0));
}
} // namespace

WKRN_NavigationWindow::WKRN_NavigationWindow(WKRN_SheetWindowHost& job, QWidget* parent)
    : QWidget(parent), m_job(&job.HostWindow())
{
    setObjectName(QStringLiteral("WKRN_NavigationWindow"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    SetCursorId(WKRN_Cursors::Measure);
}

void WKRN_NavigationWindow::SetSheet(const IMPN_SheetReference& sheet, bool frontFaces)
{
    m_sheet = sheet;
    m_frontFaces = frontFaces;
    m_hasArea = false;
    m_area = {};
    m_viewRect = QRect();
    m_dragMode = NoDrag;
    m_press = m_last = QPoint(-1, -1);
    updateGeometry();
    update();
}

void WKRN_NavigationWindow::SetPageOverlays(bool edges, bool numbers)
{
    m_pageEdges = edges;
    m_pageNumbers = numbers;
    update();
}

bool WKRN_NavigationWindow::FacingEmpty() const
{
    if (!m_sheet)
        return false;
    const IMPN_Surface& facing =
        m_frontFaces ? m_sheet->GetFrontSurface() : m_sheet->GetBackSurface();
    return !facing.HasSeparations();
}

IMPN_Surface* WKRN_NavigationWindow::ShownSurface() const
{
    if (!m_sheet)
        return nullptr;
    IMPN_Surface& front = m_sheet->GetFrontSurface();
    IMPN_Surface& back = m_sheet->GetBackSurface();
    IMPN_Surface& facing = m_frontFaces ? front : back;
    IMPN_Surface& other = m_frontFaces ? back : front;
    if (facing.HasSeparations())
        return &facing;
    return other.HasSeparations() ? &other : nullptr;
}

/* The picture is the thumbnail that is shown, at its own size: the back's may differ from the
   front's, from which the sheet takes its thumbnail size. */
QRect WKRN_NavigationWindow::PictureRect() const
{
    if (!m_sheet)
        return QRect();
    if (const IMPN_Surface* surface = ShownSurface())
        if (const IMPN_ThumbnailImage* thumbnail = surface->GetThumbnail())
            if (thumbnail->GetPixels() != nullptr && thumbnail->GetWidth() > 0 &&
                thumbnail->GetHeight() > 0)
                return QRect(0, 0, thumbnail->GetWidth(), thumbnail->GetHeight());
    return QRect(0, 0, int(std::min<std::uint32_t>(m_sheet->GetThumbnailWidth(), 1 << 16)),
                 int(std::min<std::uint32_t>(m_sheet->GetThumbnailLength(), 1 << 16)));
}

QSize WKRN_NavigationWindow::sizeHint() const
{
    const QRect picture = PictureRect();
    return picture.isEmpty() ? QSize(160, 120) : picture.size();
}

QPoint WKRN_NavigationWindow::PictureOffset() const
{
    const QRect picture = PictureRect();
    return QPoint(std::max(0, (width() - picture.width()) / 2),
                  std::max(0, (height() - picture.height()) / 2));
}

QPoint WKRN_NavigationWindow::ToPicture(const QPoint& windowPoint) const
{
    return windowPoint - PictureOffset();
}

void WKRN_NavigationWindow::SetCursorId(int id)
{
    if (id == m_cursorId)
        return;
    m_cursorId = id;
    setCursor(WKRN_Cursors::Get(id));
}

// ---- the view's area -------------------------------------------------------------------------

QRect WKRN_NavigationWindow::RectFromArea() const
{
    if (!m_hasArea)
        return QRect();
    const QRect picture = PictureRect();
    const double w = picture.width(), h = picture.height();
    const int left = ToPixel(w * m_area[1]);
    const int right = ToPixel(w * (m_area[1] + m_area[2]));
    const int top = ToPixel(h * m_area[0]);
    const int bottom = ToPixel(h * (m_area[0] + m_area[3]));
    return QRect(QPoint(std::min(left, right), std::min(top, bottom)),
                 QSize(std::abs(right - left), std::abs(bottom - top)));
}

void WKRN_NavigationWindow::TakeArea(const std::array<double, 4>& fractions)
{
    m_area = fractions;
    m_hasArea = true;
    if (m_dragMode == NoDrag)
    {
        m_viewRect = RectFromArea();
        update();
    }
}

bool WKRN_NavigationWindow::HandleMessage(QEvent* event)
{
    const auto& message = static_cast<const WTLU_MessageEvent&>(*event);
    switch (message.Message())
    {
    case JOBMSG_VISIBLE_AREA:
    case JOBMSG_ZOOM_CHANGED:
    {
        std::array<double, 4> area{};
        if (ReadArea(message, area))
            TakeArea(area);
        return true;
    }
    case NAVMSG_FRONT_FACES:
    case NAVMSG_BACK_FACES:
        m_frontFaces = message.WParam() != 0;
        // A thumbnail of another size outlines the same fractions.
        if (m_dragMode == NoDrag)
            m_viewRect = RectFromArea();
        updateGeometry();
        update();
        return true;
    case NAVMSG_PAGE_EDGES_ON:
    case NAVMSG_PAGE_EDGES_OFF:
        SetPageOverlays(message.Message() == NAVMSG_PAGE_EDGES_ON, m_pageNumbers);
        return true;
    case NAVMSG_PAGE_NUMBERS_ON:
    case NAVMSG_PAGE_NUMBERS_OFF:
        SetPageOverlays(m_pageEdges, message.Message() == NAVMSG_PAGE_NUMBERS_ON);
        return true;
    default:
        return false;
    }
}

bool WKRN_NavigationWindow::event(QEvent* event)
{
    if (WTLU_MessageEvent::IsMessage(event) && HandleMessage(event))
        return true;
    return QWidget::event(event);
}

// ---- requests to the view --------------------------------------------------------------------

bool WKRN_NavigationWindow::Fractions(const QRect& rect, std::array<double, 4>& fractions) const
{
    const QRect picture = PictureRect();
    if (picture.width() <= 0 || picture.height() <= 0)
        return false;
    const double w = picture.width(), h = picture.height();
    fractions = {rect.top() / h, rect.left() / w, rect.width() / w, rect.height() / h};
    return true;
}

void WKRN_NavigationWindow::RequestScroll(const QRect& rect)
{
    std::array<double, 4> fractions{};
    if (!Fractions(rect, fractions))
        return;
    WTLU_MessageEvent::Send(m_job, JOBMSG_PAN_REQUEST, 0,
                            reinterpret_cast<qintptr>(fractions.data()),
                            std::array<double, 2>{fractions[0], fractions[1]});
}

void WKRN_NavigationWindow::RequestZoom(const QRect& rect)
{
    std::array<double, 4> fractions{};
    if (!Fractions(rect, fractions))
        return;
    WTLU_MessageEvent::Send(m_job, JOBMSG_ZOOM_REQUEST, 0,
                            reinterpret_cast<qintptr>(fractions.data()), fractions);
}

/* A side that crosses the picture's edge is put on it and the opposite side follows; a
   rectangle larger than the picture keeps its top-left corner on the picture's. */
QRect WKRN_NavigationWindow::PushedInside(QRect rect) const
{
    const QRect picture = PictureRect();
    if (rect.left() + rect.width() > picture.width())
        rect.moveLeft(picture.width() - rect.width());
    if (rect.top() + rect.height() > picture.height())
        rect.moveTop(picture.height() - rect.height());
    if (rect.left() < 0)
        rect.moveLeft(0);
    if (rect.top() < 0)
        rect.moveTop(0);
    return rect;
}

// ---- mouse -----------------------------------------------------------------------------------

void WKRN_NavigationWindow::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || m_dragMode != NoDrag)
        return QWidget::mousePressEvent(event);
    const QPoint point = ToPicture(event->position().toPoint());
    m_press = m_last = point;
    if (!m_sheet || !PictureRect().contains(point))
        m_dragMode = NoDrag;
    else if (m_viewRect.contains(point))
    {
        m_dragMode = MovingView;
        SetCursorId(WKRN_Cursors::PanDrag);
    }
    else
        m_dragMode = Pressed;
}

void WKRN_NavigationWindow::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = ToPicture(event->position().toPoint());
    if (m_dragMode == NoDrag)
    {
        if (m_sheet)
            SetCursorId(m_viewRect.contains(point) ? WKRN_Cursors::Pan : WKRN_Cursors::Measure);
        return;
    }
    if (m_dragMode == Pressed)
    {
        const QRect square(m_press - QPoint(kClickSlack, kClickSlack),
                           QSize(2 * kClickSlack, 2 * kClickSlack));
        if (!square.contains(point))
        {
            // Nothing is drawn until the mouse has left the press point's row and column.
            m_dragMode = DrawingRect;
            m_drawn = QRect();
        }
    }
    if (m_dragMode == MovingView)
    {
        m_viewRect = PushedInside(m_viewRect.translated(point - m_last));
        m_last = point;
    }
    else if (m_dragMode == DrawingRect && point.x() != m_press.x() && point.y() != m_press.y())
    {
        // Drawn in any direction; only its part on the picture counts.
        m_drawn = QRect(QPoint(std::min(point.x(), m_press.x()), std::min(point.y(), m_press.y())),
                        QPoint(std::max(point.x(), m_press.x()) - 1,
                               std::max(point.y(), m_press.y()) - 1))
                      .intersected(PictureRect());
        m_viewRect = m_drawn;
    }
    update();
}

void WKRN_NavigationWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || m_dragMode == NoDrag)
    {
        m_dragMode = NoDrag;
        m_press = QPoint(-1, -1);
        return QWidget::mouseReleaseEvent(event);
    }
    const QPoint point = ToPicture(event->position().toPoint());
    const int mode = m_dragMode;
    // The drag is over before any request goes out: the view's answer must be taken.
    m_dragMode = NoDrag;
    m_press = QPoint(-1, -1);
    const QRect moved = m_viewRect;
    // Whatever the view reported meanwhile counts again.
    m_viewRect = RectFromArea();
    switch (mode)
    {
    case Pressed:
        if (PictureRect().contains(point))
        {
            QRect centred = m_viewRect;
            centred.moveLeft(point.x() - m_viewRect.width() / 2);
            centred.moveTop(point.y() - m_viewRect.height() / 2);
            m_viewRect = PushedInside(centred);
            update();
            RequestScroll(m_viewRect);
        }
        break;
    case MovingView:
        SetCursorId(WKRN_Cursors::Pan);
        m_viewRect = moved;
        update();
        RequestScroll(moved);
        break;
    case DrawingRect:
        update();
        if (!m_drawn.isEmpty())
            RequestZoom(m_drawn);
        m_drawn = QRect();
        break;
    default:
        break;
    }
}

// ---- painting --------------------------------------------------------------------------------

/* The thumbnail as an opaque picture, row by row at its own row length, mirrored along the
   sheet's flip axis when it belongs to the surface that does not face the viewer. */
QImage WKRN_NavigationWindow::ThumbnailPicture() const
{
    IMPN_Surface* surface = ShownSurface();
    if (surface == nullptr || surface->GetThumbnail() == nullptr)
        return QImage();
    IMPN_ThumbnailImage& thumbnail = *surface->GetThumbnail();
    if (thumbnail.GetChangeStamp() < surface->GetLatestChange())
        thumbnail.Rebuild();
    const std::uint8_t* pixels = thumbnail.GetPixels();
    const int width = thumbnail.GetWidth(), height = thumbnail.GetHeight();
    const std::uint32_t rowLength = thumbnail.GetRowLength();
    if (pixels == nullptr || width <= 0 || height <= 0 ||
        std::uint64_t(rowLength) < std::uint64_t(width) * 4)
        return QImage();
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
    {
        const std::uint8_t* in = pixels + std::size_t(y) * rowLength;
        auto* out = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x, in += 4)
            out[x] = qRgb(in[2], in[1], in[0]);
    }
    if (FacingEmpty())
    {
        const bool vertical = m_sheet->GetFlipAxis() == 2;
        picture = picture.mirrored(!vertical, vertical);
    }
    return picture;
}

/* The pages of the facing surface as the sheet view draws them, scaled from full-resolution
   pixels to thumbnail pixels. */
void WKRN_NavigationWindow::DrawPages(QPainter& painter, const IMPN_Surface& surface) const
{
    const std::uint32_t scale = m_sheet->GetThumbnailScale();
    if (scale == 0)
        return;
    std::vector<IMPN_PageEntry> pages = surface.GetPages();
    for (IMPN_PageEntry& page : pages)
    {
        IMPN_Rect& r = page.position;
        r = IMPN_Rect{RoundHalfEven(double(r.top) / scale), RoundHalfEven(double(r.left) / scale),
                      RoundHalfEven(double(r.width) / scale),
                      RoundHalfEven(double(r.height) / scale)};
    }
    // At 1:1 the overlay painter keeps the rectangles as they are.
    constexpr int kOneToOne = 3;
    WKRN_OverlayPainter overlay(
        painter, QTransform::fromTranslate(PictureOffset().x(), PictureOffset().y()), kOneToOne,
        WKRN_OverlayColors::FromPreferences(WKRN_Preferences::Current()), false);
    overlay.DrawPages(pages, m_pageEdges, m_pageNumbers);
}

void WKRN_NavigationWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Dark));
    const QImage picture = ThumbnailPicture();
    if (picture.isNull())
        return;
    const QPoint offset = PictureOffset();
    const QRect area(offset, picture.size());
    const WKRN_PreferenceValues& preferences = WKRN_Preferences::Current();

    painter.setClipRect(area);
    painter.fillRect(area, ColorOf(preferences.NavigationScreen));
    painter.setOpacity(AlphaOf(preferences.NavigationScreen.opacity));
    painter.drawImage(offset, picture);

    const QRect view = m_viewRect.intersected(QRect(QPoint(0, 0), picture.size()));
    if (!view.isEmpty())
    {
        painter.setOpacity(1.0);
        painter.fillRect(view.translated(offset), ColorOf(preferences.NavigationFrame));
        painter.setOpacity(AlphaOf(preferences.NavigationFrame.opacity));
        painter.drawImage(view.translated(offset), picture, view);
        const QRect inner = view.adjusted(1, 1, -1, -1);
        painter.setOpacity(1.0);
        if (!inner.isEmpty())
            painter.drawImage(inner.translated(offset), picture, inner);
    }
    painter.setOpacity(1.0);

    if (!FacingEmpty() && (m_pageEdges || m_pageNumbers))
        if (const IMPN_Surface* surface = ShownSurface())
            DrawPages(painter, *surface);
    if (!FacingEmpty())
        DrawRegionMarks(painter, area);
}

void WKRN_NavigationWindow::SetRegionMarks(std::vector<QRectF> marks, int current,
                                           const QColor& colour)
{
    m_marks = std::move(marks);
    m_currentMark = current >= 0 && current < int(m_marks.size()) ? current : -1;
    m_markColour = colour;
    update();
}

/* A changed region may be far smaller than a thumbnail pixel: every mark is at least a few
   pixels across, outlined in the mark colour over a white line so that it reads on any ink. */
void WKRN_NavigationWindow::DrawRegionMarks(QPainter& painter, const QRect& area) const
{
    constexpr int kSmallest = 5;
    painter.setBrush(Qt::NoBrush);
    for (std::size_t i = 0; i < m_marks.size(); ++i)
    {
        const QRectF& f = m_marks[i];
        const double x = area.left() + f.x() * area.width(), y = area.top() + f.y() * area.height();
        const double w = f.width() * area.width(), h = f.height() * area.height();
        if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(w) || !std::isfinite(h) ||
            std::fabs(x) > kLargestPixel || std::fabs(y) > kLargestPixel ||
            std::fabs(w) > kLargestPixel || std::fabs(h) > kLargestPixel)
            continue;
        QRect mark(int(std::floor(x)), int(std::floor(y)), std::max(kSmallest, int(std::ceil(w))),
                   std::max(kSmallest, int(std::ceil(h))));
        if (mark.width() == kSmallest)
            mark.moveLeft(int(std::lround(x + w / 2)) - kSmallest / 2);
        if (mark.height() == kSmallest)
            mark.moveTop(int(std::lround(y + h / 2)) - kSmallest / 2);
        const bool current = int(i) == m_currentMark;
        painter.setPen(QPen(Qt::white, current ? 4 : 3));
        painter.drawRect(mark);
        painter.setPen(QPen(m_markColour, current ? 2 : 1));
        painter.drawRect(mark);
    }
}
