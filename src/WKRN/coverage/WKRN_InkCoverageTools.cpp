#include "WKRN/coverage/WKRN_InkCoverageTools.h"

#include "IMPN/IMPN_InkCoverage.h"
#include "IMPN/IMPN_InkLimit.h"
#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_Surface.h"
#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_Language.h"
#include "WKRN/app/WKRN_StringTable.h"
#include "WKRN/coverage/WKRN_CoverageTexts.h"
#include "WKRN/coverage/WKRN_CoverageWorker.h"
#include "WKRN/coverage/WKRN_DensitometerDock.h"
#include "WKRN/coverage/WKRN_InkLimitOverlay.h"
#include "WKRN/coverage/WKRN_InkZonesDialog.h"
#include "WKRN/palettes/WKRN_MeasurementFormat.h"
#include "WKRN/palettes/WKRN_SheetWindowPalettes.h"
#include "WKRN/preferences/WKRN_Preferences.h"
#include "WKRN/sheet/WKRN_SheetView.h"
#include "WKRN/sheet/WKRN_SheetViewTools.h"
#include "WKRN/sheet/WKRN_SheetWindowHost.h"
#include "WTLU/WTLU_MessageEvent.h"

#include <QAction>
#include <QFileInfo>
#include <QLayout>
#include <QMainWindow>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace
{
// Decoded source tiles each worker keeps: a 3 mm aperture at 2400 dpi touches at most four tiles
// of each of eight inks, so a hovering densitometer reads from memory.
constexpr std::size_t kCachedTiles = 256;

struct Reading
{
    std::vector<WKRN_DensitometerDock::Ink> inks;
    double total = 0;
};

Reading MakeReading(const std::vector<QString>& names, const IMPN_InkCoverageCounts& counts)
{
    Reading r;
    for (std::size_t k = 0; k < names.size() && k < counts.inked.size(); ++k)
    {
        r.inks.push_back({names[k], counts.AreaPercent(k)});
        r.total += counts.AreaPercent(k);
    }
    return r;
}
} // namespace

WKRN_InkCoverageTools::WKRN_InkCoverageTools(WKRN_SheetWindowHost& window, WKRN_SheetView& view)
    : m_Window(window), m_View(view), m_Overlay(std::make_unique<WKRN_InkLimitOverlay>(view))
{
    connect(m_Overlay.get(), &WKRN_InkLimitOverlay::TilesUnreadable, this,
            [this](quint64 total)
            {
                m_Window.HostWindow().statusBar()->showMessage(
                    WKRN_StringTable::Load(IDS_INK_LIMIT_UNREADABLE).arg(total));
            });
}

WKRN_InkCoverageTools::~WKRN_InkCoverageTools()
{
    m_View.SetTopTileOverlay({});
    if (m_Zones)
        delete m_Zones.data();
}

void WKRN_InkCoverageTools::Install()
{
    m_Window.SetCommandHandler(ID_TOOL_DENSITOMETER,
                               [this] { m_View.SetTool(WKRN_SheetView::DensitometerTool); });
    m_Window.SetCommandHandler(ID_VIEW_INK_LIMIT, [this] { ToggleInkLimit(); });
    m_Window.SetCommandHandler(ID_SHEET_INK_ZONES, [this] { ShowZones(); });
    m_View.SetTopTileOverlay([this](QPainter& painter, const QRect& levelRect)
                             { m_Overlay->Paint(painter, levelRect, m_View.GetLevel()); });
}

void WKRN_InkCoverageTools::UpdateChecks()
{
    const bool shows = m_View.GetSheet() != nullptr;
    if (QAction* tool = m_Window.Action(ID_TOOL_DENSITOMETER))
        tool->setChecked(shows && m_View.GetTool() == WKRN_SheetView::DensitometerTool);
    if (QAction* limit = m_Window.Action(ID_VIEW_INK_LIMIT))
        limit->setChecked(shows && m_Overlay->IsEnabled());
}

WKRN_CoverageWorker* WKRN_InkCoverageTools::WorkerFor(IMPN_Surface* surface)
{
    if (!surface || !surface->HasSeparations())
        return nullptr;
    auto found = m_Workers.find(surface);
    if (found != m_Workers.end())
        return found->second.get();
    std::vector<std::string> paths;
    for (const auto& separation : surface->GetSeparations())
        paths.push_back(separation->GetFilePath());
    // The readers open here, on the thread that opens every preview file.
    auto worker = std::make_unique<WKRN_CoverageWorker>(
        IMPN_InkCoverage::FromFiles(paths, kCachedTiles), paths);
    WKRN_CoverageWorker* made = worker.get();
    m_Workers.emplace(surface, std::move(worker));
    return made;
}

std::vector<std::string> WKRN_InkCoverageTools::InkNames(const IMPN_Surface& surface) const
{
    std::vector<std::string> names;
    for (const auto& separation : surface.GetSeparations())
        names.push_back(separation->GetName());
    return names;
}

void WKRN_InkCoverageTools::SheetChanged()
{
    if (m_Zones)
        delete m_Zones.data();
    m_Overlay->SetSource(nullptr, {});
    m_Pins.clear();
    m_Workers.clear();
    m_LastReading.clear();
}

IMPN_Rect WKRN_InkCoverageTools::Aperture(const QPoint& levelPoint, double scale,
                                          double xResolution, double yResolution, int micrometres)
{
    IMPN_Rect rect;
    if (!(scale > 0) || !(xResolution > 0) || !(yResolution > 0) || !std::isfinite(xResolution) ||
        !std::isfinite(yResolution) || micrometres <= 0)
        return rect;
    const double inches = micrometres / 25400.0;
    const std::int64_t w = std::max<std::int64_t>(1, std::llround(inches * xResolution));
    const std::int64_t h = std::max<std::int64_t>(1, std::llround(inches * yResolution));
    const std::int64_t x = std::int64_t(std::floor(levelPoint.x() / scale));
    const std::int64_t y = std::int64_t(std::floor(levelPoint.y() / scale));
    const auto clamp32 = [](std::int64_t v)
    { return std::int32_t(std::clamp<std::int64_t>(v, INT32_MIN / 2, INT32_MAX / 2)); };
    rect.left = clamp32(x - w / 2);
    rect.top = clamp32(y - h / 2);
    rect.width = clamp32(w);
    rect.height = clamp32(h);
    return rect;
}

void WKRN_InkCoverageTools::Read(const QPoint& levelPoint, bool pin)
{
    const IMPN_Sheet* sheet = m_View.GetSheet();
    IMPN_Surface* top = m_View.GetTopSurface();
    WKRN_CoverageWorker* worker = WorkerFor(top);
    if (!sheet || !worker)
        return;
    const double scale = IMPN_SheetView::Scale(m_View.GetLevel());
    const int micrometres = WKRN_Preferences::Current().DensitometerAperture;
    const IMPN_Rect aperture =
        Aperture(levelPoint, scale, sheet->GetXResolution(), sheet->GetYResolution(), micrometres);
    // The pointer itself must be over the picture; the aperture may reach past its edge and
    // counts its inside part.
    const double dx = std::floor(levelPoint.x() / scale), dy = std::floor(levelPoint.y() / scale);
    if (aperture.width <= 0 || dx < 0 || dy < 0 || dx >= worker->ImageWidth() ||
        dy >= worker->ImageLength())
    {
        worker->Cancel(WKRN_CoverageWorker::ReadingLane);
        m_LastReading = WKRN_StringTable::Load(IDS_DENSITOMETER_OUTSIDE);
        m_Window.HostWindow().statusBar()->showMessage(m_LastReading);
        return;
    }

    std::vector<QString> names;
    for (const std::string& name : InkNames(*top))
        names.push_back(QString::fromStdString(name));
    const QString size = WKRN_CoverageTexts::Millimetres(micrometres);

    if (pin)
    {
        const WKRN_PreferenceValues& preferences = WKRN_Preferences::Current();
        const int unit =
            std::clamp(preferences.PreferredLinearUnits, 0, WKRN_Preferences::kUnitCount - 1);
        const int precision =
            std::clamp(preferences.LinearUnitPrecision, 0, WKRN_Preferences::kMaxPrecision);
        const double perInch = WKRN_SheetViewTools::UnitsPerInch(unit);
        const WKRN_MeasurementFormat format = WKRN_MeasurementFormat::OfRun();
        const QString position =
            QStringLiteral("%1, %2 %3")
                .arg(format.Number((dx + 0.5) / sheet->GetXResolution() * perInch, precision),
                     format.Number((dy + 0.5) / sheet->GetYResolution() * perInch, precision),
                     WKRN_Language::UnitAbbreviations()[std::size_t(unit)]);
        m_Pins.push_back({aperture, position});
        SubmitPins();
        return;
    }

    worker->Submit(WKRN_CoverageWorker::ReadingLane,
                   [this, aperture, names, size](IMPN_InkCoverage& counter,
                                                 const WKRN_CoverageWorker::Context& context)
                   {
                       IMPN_InkCoverageCounts counts;
                       if (!counter.CountColumns(aperture, 1, counts))
                           return;
                       const Reading reading = MakeReading(names, counts);
                       context.Deliver(
                           [this, reading, size]
                           {
                               QStringList parts;
                               for (const auto& ink : reading.inks)
                                   parts << QStringLiteral("%1 %2 %").arg(
                                       ink.name, WKRN_CoverageTexts::Percent(ink.percent));
                               parts << QStringLiteral("%1 %2 %").arg(
                                   WKRN_StringTable::Load(IDS_COVERAGE_TOTAL),
                                   WKRN_CoverageTexts::Percent(reading.total));
                               m_LastReading = WKRN_StringTable::Load(IDS_DENSITOMETER_READING)
                                                   .arg(size, parts.join(QStringLiteral("   ")));
                               m_Window.HostWindow().statusBar()->showMessage(m_LastReading);
                           });
                   });
}

/* Clicks are counted in one job that a later click replaces with itself and every click not yet
   shown, so that quick clicks lose none of their readings. */
void WKRN_InkCoverageTools::SubmitPins()
{
    WKRN_CoverageWorker* worker = WorkerFor(m_View.GetTopSurface());
    if (!worker || m_Pins.empty())
        return;
    std::vector<QString> names;
    for (const std::string& name : InkNames(*m_View.GetTopSurface()))
        names.push_back(QString::fromStdString(name));
    const std::vector<Pin> pins = m_Pins;
    worker->Submit(
        WKRN_CoverageWorker::PinLane,
        [this, pins, names](IMPN_InkCoverage& counter, const WKRN_CoverageWorker::Context& context)
        {
            for (const Pin& pin : pins)
            {
                IMPN_InkCoverageCounts counts;
                if (context.Stopped())
                    return;
                const bool counted = counter.CountColumns(pin.aperture, 1, counts);
                const Reading reading = counted ? MakeReading(names, counts) : Reading();
                context.Deliver(
                    [this, pin, reading, counted]
                    {
                        m_Pins.erase(m_Pins.begin());
                        if (!counted)
                            return;
                        if (!m_Dock)
                            MakeDock();
                        // A dock shown again takes its room back from the view as well.
                        const bool appears = !m_Dock->isVisible();
                        const PictureAnchor anchor = AnchorPicture();
                        m_Dock->AddReading(pin.position, reading.inks, reading.total);
                        if (appears)
                            KeepPicture(anchor);
                    });
            }
        });
}

void WKRN_InkCoverageTools::MakeDock()
{
    // On the side away from the palettes, which would cover it there.
    m_Dock = new WKRN_DensitometerDock(&m_Window.HostWindow());
    m_Dock->hide();
    m_Window.HostWindow().addDockWidget(
        WTLA_PaletteArrangement::IsLeft(m_Window.Palettes().GetArrangement())
            ? Qt::RightDockWidgetArea
            : Qt::LeftDockWidgetArea,
        m_Dock);
}

WKRN_InkCoverageTools::PictureAnchor WKRN_InkCoverageTools::AnchorPicture() const
{
    return {m_View.viewport()->mapToGlobal(QPoint(0, 0)), m_View.ScrollPosition()};
}

/* A dock that appears narrows the view and, on the left, moves it: the picture would jump by the
   dock's width under the pointer, and the next click would read elsewhere. The window's layout
   is settled at once and the view scrolled by what its viewport moved on the screen, so that the
   picture stays where it was wherever the sheet's extent allows. */
void WKRN_InkCoverageTools::KeepPicture(const PictureAnchor& anchor)
{
    if (QLayout* layout = m_Window.HostWindow().layout())
        layout->activate();
    const QPoint moved = m_View.viewport()->mapToGlobal(QPoint(0, 0)) - anchor.viewportOnScreen;
    if (moved.isNull())
        return;
    m_View.ScrollTo(anchor.scroll.x() + moved.x(), anchor.scroll.y() + moved.y(), true);
}

void WKRN_InkCoverageTools::ToggleInkLimit()
{
    m_Overlay->SetLimit(WKRN_Preferences::Current().InkLimit);
    m_Overlay->SetEnabled(!m_Overlay->IsEnabled());
    SyncOverlay();
    UpdateChecks();
}

void WKRN_InkCoverageTools::ViewChanged()
{
    // The view reports from inside its painting; the overlay may ask it to draw again.
    if (m_SyncQueued || !m_Overlay->IsEnabled())
        return;
    m_SyncQueued = true;
    QTimer::singleShot(0, this,
                       [this]
                       {
                           m_SyncQueued = false;
                           SyncOverlay();
                       });
}

void WKRN_InkCoverageTools::SyncOverlay()
{
    if (!m_Overlay->IsEnabled())
        return;
    IMPN_Surface* top = m_View.GetTopSurface();
    std::vector<bool> included;
    if (top)
        for (const auto& separation : top->GetSeparations())
            included.push_back(separation->IsVisible());
    const WKRN_PreferenceValues& preferences = WKRN_Preferences::Current();
    const IMPN_Sheet* sheet = m_View.GetSheet();
    m_Overlay->SetLimit(preferences.InkLimit);
    m_Overlay->SetCellSide(
        sheet ? IMPN_InkLimit::CellSide(std::clamp(preferences.InkLimitArea,
                                                   WKRN_Preferences::kMinInkLimitArea,
                                                   WKRN_Preferences::kMaxInkLimitArea),
                                        sheet->GetXResolution())
              : 0);
    m_Overlay->SetSource(WorkerFor(top), included);
    m_Overlay->Update();
}

void WKRN_InkCoverageTools::ShowZones()
{
    IMPN_Surface* top = m_View.GetTopSurface();
    const IMPN_Sheet* sheet = m_View.GetSheet();
    WKRN_CoverageWorker* worker = WorkerFor(top);
    if (!worker || !sheet)
        return;
    if (m_Zones)
        delete m_Zones.data();
    std::vector<QString> names;
    for (const std::string& name : InkNames(*top))
        names.push_back(QString::fromStdString(name));
    std::vector<QColor> colours;
    for (const auto& separation : top->GetSeparations())
    {
        const auto& bgr = separation->GetCurrentColor().color;
        colours.emplace_back(bgr[2], bgr[1], bgr[0]);
    }
    WKRN_InkZonesDialog::Subject subject;
    subject.job = QString::fromStdString(sheet->GetTitle());
    subject.sheet = QString::fromStdString(sheet->GetName());
    subject.signature = sheet->GetSignatureNumber();
    subject.web = sheet->GetWebNumber();
    subject.back = top == &m_View.GetSheet()->GetBackSurface();
    subject.folder =
        QFileInfo(QString::fromStdString(top->GetSeparations().front()->GetFilePath())).path();
    m_Zones =
        new WKRN_InkZonesDialog(*worker, names, colours, sheet->GetXResolution(), subject,
                                WKRN_Preferences::Current().ZonePresets, &m_Window.HostWindow());
    m_Zones->setAttribute(Qt::WA_DeleteOnClose);
    m_Zones->show();
    m_Zones->Count();
}

bool WKRN_InkCoverageTools::HandleMessage(const WTLU_MessageEvent& message)
{
    if (message.Message() != JOBMSG_DENSITOMETER)
        return false;
    if (const auto* point = std::any_cast<QPoint>(&message.Payload()))
        Read(*point, message.WParam() == 1);
    return true;
}
