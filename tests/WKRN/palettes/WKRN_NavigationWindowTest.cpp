#include "WKRN_JobWindowFixture.h"

#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_Tressida.h"
#include "WKRN/palettes/WKRN_NavigationWindow.h"
#include "WKRN/preferences/WKRN_Preferences.h"
#include "WKRN/sheet/WKRN_OverlayPainter.h"
#include "WKRN/sheet/WKRN_SheetView.h"
#include "WKRN/sheet/WKRN_SheetWindow.h"

#include "IMPN/IMPN_Separation.h"
#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_Surface.h"
#include "IMPN/IMPN_ThumbnailImage.h"
#include "WTLU/WTLU_MessageEvent.h"

#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

namespace
{
// Keeps the requests the palette sends to its job window (they go on to the view as well).
class RequestRecorder : public QObject
{
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (WTLU_MessageEvent::IsMessage(event))
        {
            const auto& message = static_cast<const WTLU_MessageEvent&>(*event);
            if (message.Message() == JOBMSG_PAN_REQUEST || message.Message() == JOBMSG_ZOOM_REQUEST)
            {
                std::array<double, 4> f{};
                if (message.LParam() != 0)
                    std::copy_n(reinterpret_cast<const double*>(message.LParam()), 4, f.begin());
                requests.push_back({message.Message(), f});
            }
        }
        return false;
    }
    struct Request
    {
        int message;
        std::array<double, 4> fractions;
    };
    std::vector<Request> requests;
};

bool LeftHalf(std::uint32_t x, std::uint32_t)
{
    return x < 1000;
}
bool TopQuarter(std::uint32_t, std::uint32_t y)
{
    return y < 375;
}

class NavigationPalette : public WKRN_JobWindowTest
{
protected:
    // No fog: outside the outline the thumbnail shows as it is.
    void AdjustPreferences(WKRN_PreferenceValues& values) override
    {
        values.NavigationScreen = {255, 255, 255, 0};
    }

    // 2000 x 1500 pixels: a 350 x 262 thumbnail.
    void Open(std::vector<WKRN_TestSurface> surfaces, std::uint16_t workStyle = 0)
    {
        WKRN_TestSheetSpec spec;
        spec.width = 2000;
        spec.height = 1500;
        spec.workStyle = workStyle;
        spec.surfaces = std::move(surfaces);
        spec.pages = {WKRN_TestSheets::Page(1, 0, 100, 100, 1400, 900)};
        job = WKRN_JobWindowTest::Open(sheets.Make(spec), QRect(20, 20, 900, 700));
        navigation = qobject_cast<WKRN_NavigationWindow*>(job->Palette(ID_WINDOW_NAVIGATION));
        ASSERT_NE(navigation, nullptr);
        job->installEventFilter(&recorder);
        WKRN_ProcessEvents();
    }
    static WKRN_TestSurface Surface(std::uint16_t surface,
                                    bool (*fill)(std::uint32_t, std::uint32_t))
    {
        WKRN_TestSurface s;
        s.surface = surface;
        s.fill = fill;
        return s;
    }
    QSize Picture() const { return navigation->PictureRect().size(); }
    QPoint At(int x, int y) const { return navigation->PictureOffset() + QPoint(x, y); }
    void Click(QPoint picturePoint)
    {
        QTest::mouseClick(navigation, Qt::LeftButton, {}, At(picturePoint.x(), picturePoint.y()));
    }
    void Drag(QPoint from, QPoint to)
    {
        QTest::mousePress(navigation, Qt::LeftButton, {}, At(from.x(), from.y()));
        QTest::mouseMove(navigation, At(to.x(), to.y()));
        QTest::mouseRelease(navigation, Qt::LeftButton, {}, At(to.x(), to.y()));
    }
    // The picture as drawn, at a thumbnail point.
    QRgb Drawn(int x, int y) const
    {
        const QPoint p = At(x, y);
        return navigation->grab().toImage().pixel(p);
    }
    static QRgb ThumbnailPixel(const IMPN_Surface& surface, int x, int y)
    {
        const IMPN_ThumbnailImage& t = *surface.GetThumbnail();
        const std::uint8_t* p = t.GetPixels() + std::size_t(y) * t.GetRowLength() + x * 4;
        return qRgb(p[2], p[1], p[0]);
    }
    // The view's centre as a fraction of its level picture.
    QPointF ViewCentre() const
    {
        const auto f = job->View()->VisibleFractions();
        return QPointF(f[1] + f[2] / 2, f[0] + f[3] / 2);
    }

    WKRN_SheetWindow* job = nullptr;
    WKRN_NavigationWindow* navigation = nullptr;
    RequestRecorder recorder;
};
} // namespace

TEST_F(NavigationPalette, Rectangle_FollowsZoomAndScroll)
{
    Open({Surface(0, LeftHalf)});
    ASSERT_EQ(Picture(), QSize(350, 262));
    EXPECT_EQ(navigation->sizeHint(), QSize(350, 262));
    job->Execute(ID_ZOOM_1_1);
    WKRN_ProcessEvents();
    const QSize client = job->View()->ClientSize();
    const QRect atTopLeft = navigation->ViewRect();
    EXPECT_EQ(atTopLeft.topLeft(), QPoint(0, 0));
    // The window shows client / 2000 of the picture's width.
    EXPECT_NEAR(atTopLeft.width(), 350.0 * client.width() / 2000, 1.0);
    EXPECT_NEAR(atTopLeft.height(), 262.0 * client.height() / 1500, 1.0);

    job->View()->Scroll(Qt::Horizontal, WKRN_SheetView::ToBottom);
    job->View()->Scroll(Qt::Vertical, WKRN_SheetView::ToBottom);
    WKRN_ProcessEvents();
    const QRect atBottomRight = navigation->ViewRect();
    EXPECT_NEAR(atBottomRight.left() + atBottomRight.width(), 350, 1);
    EXPECT_NEAR(atBottomRight.top() + atBottomRight.height(), 262, 1);
    // The view may scroll past the picture's right edge by as much as the floating palettes
    // cover it: the rectangle then holds only the part of the picture still in the window.
    EXPECT_LE(atBottomRight.width(), atTopLeft.width() + 1);
    EXPECT_NEAR(atBottomRight.height(), atTopLeft.height(), 1);

    job->Execute(ID_ZOOM_1_4);
    WKRN_ProcessEvents();
    EXPECT_NEAR(navigation->ViewRect().width(), 350.0 * std::min(client.width(), 500) / 500, 1.0);
}

TEST_F(NavigationPalette, Click_CentresTheViewThere_ASmallWobbleIsStillAClick)
{
    Open({Surface(0, LeftHalf)});
    job->Execute(ID_ZOOM_1_1);
    WKRN_ProcessEvents();
    Click(QPoint(180, 120));
    WKRN_ProcessEvents();
    ASSERT_EQ(recorder.requests.size(), 1u);
    EXPECT_EQ(recorder.requests[0].message, JOBMSG_PAN_REQUEST);
    EXPECT_EQ(job->View()->GetLevel(), 3);
    EXPECT_NEAR(ViewCentre().x(), 180.0 / 350, 2.0 / 350);
    EXPECT_NEAR(ViewCentre().y(), 120.0 / 262, 2.0 / 262);
    // The rectangle follows, centred on the click.
    EXPECT_NEAR(navigation->ViewRect().center().x(), 180, 2);

    // Near the edge the rectangle stops at the picture.
    Click(QPoint(348, 260));
    WKRN_ProcessEvents();
    EXPECT_NEAR(navigation->ViewRect().left() + navigation->ViewRect().width(), 350, 1);
    EXPECT_NEAR(navigation->ViewRect().top() + navigation->ViewRect().height(), 262, 1);

    // Two pixels of movement from a press outside the rectangle: a click, not a rectangle.
    recorder.requests.clear();
    Drag(QPoint(20, 20), QPoint(22, 22));
    WKRN_ProcessEvents();
    ASSERT_EQ(recorder.requests.size(), 1u);
    EXPECT_EQ(recorder.requests[0].message, JOBMSG_PAN_REQUEST);
    EXPECT_EQ(navigation->ViewRect().topLeft(), QPoint(0, 0));
}

TEST_F(NavigationPalette, DrawnRectangle_ZoomsToIt_InAnyDirection)
{
    Open({Surface(0, LeftHalf)});
    job->Execute(ID_ZOOM_1_1);
    WKRN_ProcessEvents();
    const int before = job->View()->GetLevel();
    // Drawn from bottom right to top left, partly off the picture's top.
    QTest::mousePress(navigation, Qt::LeftButton, {}, At(240, 20));
    QTest::mouseMove(navigation, At(225, 10));
    QTest::mouseMove(navigation, At(220, -30));
    EXPECT_EQ(navigation->GetDragMode(), WKRN_NavigationWindow::DrawingRect);
    QTest::mouseRelease(navigation, Qt::LeftButton, {}, At(220, -30));
    WKRN_ProcessEvents();
    ASSERT_EQ(recorder.requests.size(), 1u);
    const auto& zoom = recorder.requests[0];
    EXPECT_EQ(zoom.message, JOBMSG_ZOOM_REQUEST);
    EXPECT_DOUBLE_EQ(zoom.fractions[0], 0.0);
    EXPECT_DOUBLE_EQ(zoom.fractions[1], 220.0 / 350);
    EXPECT_DOUBLE_EQ(zoom.fractions[2], 20.0 / 350);
    EXPECT_DOUBLE_EQ(zoom.fractions[3], 20.0 / 262);
    EXPECT_LT(job->View()->GetLevel(), before);
    EXPECT_NEAR(ViewCentre().x(), 230.0 / 350, 0.03);
}

TEST_F(NavigationPalette, Drag_KeepsTheUsersRectangleAndTakesTheViewsAreaAfterwards)
{
    Open({Surface(0, LeftHalf)});
    job->Execute(ID_ZOOM_1_1);
    job->View()->Scroll(Qt::Horizontal, WKRN_SheetView::ToBottom);
    WKRN_ProcessEvents();
    recorder.requests.clear();
    // A rectangle drawn off the picture's left edge is empty there: nothing is asked.
    QTest::mousePress(navigation, Qt::LeftButton, {}, At(0, 200));
    QTest::mouseMove(navigation, At(-40, 150));
    const QRect drawn = navigation->ViewRect();
    // The view reports its area meanwhile: the drag is not disturbed.
    std::array<double, 4> area{0.5, 0.25, 0.2, 0.2};
    WTLU_MessageEvent::Send(navigation, JOBMSG_VISIBLE_AREA, 0, 0, area);
    EXPECT_EQ(navigation->ViewRect(), drawn);
    QTest::mouseRelease(navigation, Qt::LeftButton, {}, At(-40, 150));
    EXPECT_TRUE(recorder.requests.empty());
    // On release the latest area counts.
    EXPECT_EQ(navigation->ViewRect(), QRect(87, 131, 70, 52));
    // Along one row only, no rectangle is drawn: nothing is asked, and the area stays.
    Drag(QPoint(20, 240), QPoint(60, 240));
    EXPECT_TRUE(recorder.requests.empty());
    EXPECT_EQ(navigation->ViewRect(), QRect(87, 131, 70, 52));

    // Moving the rectangle drags the view along; the area reported meanwhile is not taken.
    const QRect start = navigation->ViewRect();
    QTest::mousePress(navigation, Qt::LeftButton, {}, At(start.center().x(), start.center().y()));
    EXPECT_EQ(navigation->CursorId(), 217);
    QTest::mouseMove(navigation, At(start.center().x() + 30, start.center().y() - 20));
    WTLU_MessageEvent::Send(navigation, JOBMSG_VISIBLE_AREA, 0, 0, area);
    QTest::mouseRelease(navigation, Qt::LeftButton, {},
                        At(start.center().x() + 30, start.center().y() - 20));
    ASSERT_EQ(recorder.requests.size(), 1u);
    EXPECT_EQ(recorder.requests[0].message, JOBMSG_PAN_REQUEST);
    EXPECT_EQ(navigation->ViewRect(), start.translated(30, -20));
    EXPECT_DOUBLE_EQ(recorder.requests[0].fractions[1], (start.left() + 30) / 350.0);
    EXPECT_EQ(navigation->CursorId(), 104);
}

TEST_F(NavigationPalette, Flip_ShowsTheBackThumbnail_FogAndOutlineFromThePreferences)
{
    Open({Surface(0, LeftHalf), Surface(1, TopQuarter)});
    job->Execute(ID_ZOOM_1_1);
    WKRN_ProcessEvents();
    const IMPN_Sheet& sheet = *job->Sheet();
    // No fog: the front's thumbnail, as it is, outside the outlined rectangle.
    EXPECT_EQ(navigation->ShownSurface(), &sheet.GetFrontSurface());
    for (QPoint p : {QPoint(100, 200), QPoint(300, 200), QPoint(300, 20)})
        EXPECT_EQ(Drawn(p.x(), p.y()), ThumbnailPixel(sheet.GetFrontSurface(), p.x(), p.y()))
            << p.x();
    EXPECT_NE(Drawn(100, 200), Drawn(300, 200));

    job->Execute(ID_SHEET_FLIP);
    WKRN_ProcessEvents();
    EXPECT_FALSE(navigation->FrontFaces());
    EXPECT_EQ(navigation->ShownSurface(), &sheet.GetBackSurface());
    for (QPoint p : {QPoint(100, 200), QPoint(300, 200), QPoint(300, 20)})
        EXPECT_EQ(Drawn(p.x(), p.y()), ThumbnailPixel(sheet.GetBackSurface(), p.x(), p.y()))
            << p.x();
    EXPECT_NE(Drawn(300, 20), Drawn(300, 200));

    // A full fog hides everything but the outlined part; the outline is one pixel wide.
    WKRN_Preferences::Current().NavigationScreen = {0, 0, 200, 100};
    WKRN_Preferences::Current().NavigationFrame = {255, 0, 0, 100};
    const QRect view = navigation->ViewRect();
    EXPECT_EQ(Drawn(340, 250), qRgb(200, 0, 0));
    EXPECT_EQ(Drawn(view.left(), view.top() + 5), qRgb(0, 0, 255));
    EXPECT_EQ(Drawn(view.left() + 2, view.top() + 5),
              ThumbnailPixel(sheet.GetBackSurface(), view.left() + 2, view.top() + 5));
}

TEST_F(NavigationPalette, EmptyFacingSurface_ShowsTheOtherMirroredAlongTheFlipAxis)
{
    WKRN_Preferences::Current().ShowImpositionOnOpen = true;
    // Work style 1 turns the sheet left to right.
    Open({Surface(1, LeftHalf)}, 1);
    const IMPN_Sheet& sheet = *job->Sheet();
    ASSERT_EQ(sheet.GetFlipAxis(), 1u);
    EXPECT_TRUE(navigation->FrontFaces());
    EXPECT_TRUE(navigation->FacingEmpty());
    EXPECT_EQ(navigation->ShownSurface(), &sheet.GetBackSurface());
    navigation->SetPageOverlays(true, true);
    // Far from the outline and from where a page would be drawn.
    for (QPoint p : {QPoint(20, 250), QPoint(330, 250), QPoint(340, 5)})
        EXPECT_EQ(Drawn(p.x(), p.y()), ThumbnailPixel(sheet.GetBackSurface(), 349 - p.x(), p.y()))
            << p.x();
    // The empty facing surface has no pages to draw in the page colour.
    const QRgb page =
        WKRN_OverlayColors::FromPreferences(WKRN_Preferences::Current()).pageEdge.rgb();
    const QImage drawn = navigation->grab().toImage();
    for (int x = 0; x < drawn.width(); ++x)
        for (int y = 0; y < drawn.height(); ++y)
            ASSERT_NE(drawn.pixel(x, y), page) << x << "," << y;
}

TEST_F(NavigationPalette, PagesOfTheFacingSurface_AreDrawnAtThumbnailScale)
{
    Open({Surface(0, nullptr)});
    const IMPN_Sheet& sheet = *job->Sheet();
    ASSERT_GT(sheet.GetThumbnailScale(), 0u);
    const QRgb page =
        WKRN_OverlayColors::FromPreferences(WKRN_Preferences::Current()).pageEdge.rgb();
    navigation->SetPageOverlays(true, false);
    // The page's left edge, 100 full-resolution pixels in.
    const int left = int(std::lround(100.0 / sheet.GetThumbnailScale()));
    const int middle = int(std::lround(800.0 / sheet.GetThumbnailScale()));
    EXPECT_EQ(Drawn(left, middle), page);
    navigation->SetPageOverlays(false, false);
    EXPECT_NE(Drawn(left, middle), page);
}

TEST_F(NavigationPalette, WithoutASheet_MouseAndMessagesDoNothing)
{
    WKRN_SheetWindow* empty = app->OpenJobWindow({}, QRect(20, 20, 400, 300), true);
    WKRN_NavigationWindow palette(*empty);
    palette.resize(200, 150);
    palette.show();
    empty->installEventFilter(&recorder);
    QTest::mouseClick(&palette, Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mousePress(&palette, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(&palette, QPoint(80, 90));
    QTest::mouseRelease(&palette, Qt::LeftButton, {}, QPoint(80, 90));
    std::array<double, 4> area{0.0, 0.0, 0.5, 0.5};
    WTLU_MessageEvent::Send(&palette, JOBMSG_ZOOM_CHANGED, 0, 0, area);
    palette.grab();
    EXPECT_TRUE(recorder.requests.empty());
    EXPECT_EQ(palette.ViewRect().size(), QSize(0, 0));
}

// The thumbnail shows the inks as the view does: an ink hidden in the separations palette leaves
// it, a recoloured one takes its new colour.
TEST_F(NavigationPalette, Thumbnail_FollowsHiddenAndRecolouredInks)
{
    Open({Surface(0, LeftHalf)});
    IMPN_Separation* black = job->View()->GetTopSurface()->GetSeparation(0);
    ASSERT_NE(black, nullptr);
    const QRgb paper = Drawn(300, 100);
    EXPECT_LT(qGray(Drawn(50, 100)), 64);

    black->SetVisible(false);
    WTLU_MessageEvent::Send(job, JOBMSG_SEPARATION_VISIBILITY, 0, 0);
    WKRN_ProcessEvents();
    EXPECT_EQ(Drawn(50, 100), paper);

    black->SetVisible(true);
    IMPN_ColorRecord red = black->GetCurrentColor();
    red.color = IMPN_MakeColorBGR(255, 0, 0);
    black->SetCurrentColor(red);
    WTLU_MessageEvent::Send(job, JOBMSG_SEPARATION_COLOUR, 0, 0);
    WKRN_ProcessEvents();
    const QRgb recoloured = Drawn(50, 100);
    EXPECT_GT(qRed(recoloured), 200);
    EXPECT_LT(qGreen(recoloured), 60);
}
