#include "WKRN/palettes/WKRN_SheetWindowPalettes.h"

#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_StringTable.h"
#include "WKRN/palettes/WKRN_MeasurementWindow.h"
#include "WKRN/palettes/WKRN_NavigationWindow.h"
#include "WKRN/palettes/WKRN_SeparationWindow.h"
#include "WKRN/sheet/WKRN_SheetView.h"
#include "WKRN/sheet/WKRN_SheetWindowHost.h"

#include "IMPN/IMPN_Sheet.h"
#include "WTLA/WTLA_PaletteFollower.h"
#include "WTLA/WTLA_PaletteFrame.h"
#include "WTLA/WTLA_PaletteLayout.h"
#include "WTLU/WTLU_MessageEvent.h"

#include <QApplication>
#include <QMainWindow>
#include <QTimer>

#include <array>
#include <utility>

namespace
{
// The palettes in the order every arrangement keeps, with their titles.
constexpr std::array<std::pair<int, unsigned>, 3> kPalettes{{
    {ID_WINDOW_NAVIGATION, IDS_NAVIGATION},
    {ID_WINDOW_SEPARATIONS, IDS_SEPARATIONS},
    {ID_WINDOW_MEASUREMENT, IDS_MEASUREMENT},
}};

QString TitleOf(int paletteId)
{
    for (const auto& [id, title] : kPalettes)
        if (id == paletteId)
            return WKRN_StringTable::Load(title);
    return {};
}

/* How a palette content takes a new sheet, for the contents that can. */
template <class Content>
std::function<void(const IMPN_SheetReference&, bool)> SheetTakerOf(Content* content)
{
    if constexpr (requires(Content & c, const IMPN_SheetReference& s) { c.SetSheet(s, true); })
        return [content = QPointer<Content>(content)](const IMPN_SheetReference& sheet,
                                                      bool frontFaces)
        {
            if (content)
                content->SetSheet(sheet, frontFaces);
        };
    else
        return {};
}
} // namespace

WKRN_SheetWindowPalettes::WKRN_SheetWindowPalettes(WKRN_SheetWindowHost& host)
    : m_host(host), m_window(host.HostWindow()),
      m_follower(std::make_unique<WTLA_PaletteFollower>(m_window))
{
    connect(m_follower.get(), &WTLA_PaletteFollower::PalettesMoved, this,
            [this] { UpdateCover(); });
    connect(m_follower.get(), &WTLA_PaletteFollower::PalettesNoLongerFit, this,
            [this]
            {
                if (!WTLA_PaletteArrangement::IsDocked(m_arrangement))
                    Arrange(m_arrangement);
            });
}

WKRN_SheetWindowPalettes::~WKRN_SheetWindowPalettes() = default;

/* Every palette content of a job window is made in this one place; each gets its frame here. */
void WKRN_SheetWindowPalettes::Create(const IMPN_SheetReference& sheet)
{
    const auto add = [this](int id, auto* content)
    { AddFramed(id, content, SheetTakerOf(content)); };
    add(ID_WINDOW_NAVIGATION, new WKRN_NavigationWindow(m_host));
    add(ID_WINDOW_SEPARATIONS, new WKRN_SeparationWindow(m_host));
    add(ID_WINDOW_MEASUREMENT, new WKRN_MeasurementWindow(m_host));

    GiveSheet(sheet);
    if (m_window.isVisible())
        Start();
    else
        m_startWhenShown = true;
}

/* The arrangement at start needs the job window's final layout: it waits for the first show. */
void WKRN_SheetWindowPalettes::Start()
{
    m_startWhenShown = false;
    Arrange(WTLA_Arrangement::FloatRight, true);
    SetShown(ID_WINDOW_NAVIGATION, true);
    SetShown(ID_WINDOW_SEPARATIONS, true);
}

void WKRN_SheetWindowPalettes::WindowShown()
{
    if (m_startWhenShown)
        Start();
}

bool WKRN_SheetWindowPalettes::FrontFaces() const
{
    const IMPN_Sheet* sheet = m_host.View()->GetSheet();
    return sheet == nullptr || m_host.View()->GetTopSurface() == &sheet->GetFrontSurface();
}

void WKRN_SheetWindowPalettes::GiveSheet(const IMPN_SheetReference& sheet)
{
    const bool front = FrontFaces();
    for (auto& [id, palette] : m_palettes)
        if (palette.setSheet)
            palette.setSheet(sheet, front);
    TellOverlays();
}

void WKRN_SheetWindowPalettes::TellOverlays()
{
    QWidget* navigation = Receiver(ID_WINDOW_NAVIGATION);
    const WKRN_SheetView& view = *m_host.View();
    WTLU_MessageEvent::Send(navigation,
                            view.GetPageEdge() ? NAVMSG_PAGE_EDGES_ON : NAVMSG_PAGE_EDGES_OFF);
    WTLU_MessageEvent::Send(navigation, view.GetPageNumbers() ? NAVMSG_PAGE_NUMBERS_ON
                                                              : NAVMSG_PAGE_NUMBERS_OFF);
}

void WKRN_SheetWindowPalettes::SetPalette(int paletteId, QWidget* palette)
{
    const auto it = m_palettes.find(paletteId);
    if (it != m_palettes.end() && it->second.frame && it->second.frame != palette)
    {
        it->second.frame->hide();
        it->second.frame->deleteLater();
    }
    if (palette == nullptr)
    {
        m_palettes.erase(paletteId);
        return;
    }
    Palette& entry = m_palettes[paletteId];
    entry = Palette();
    entry.receiver = palette;
    entry.window = palette;
}

WTLA_PaletteFrame*
WKRN_SheetWindowPalettes::AddFramed(int paletteId, QWidget* content,
                                    std::function<void(const IMPN_SheetReference&, bool)> setSheet)
{
    auto* frame = new WTLA_PaletteFrame(TitleOf(paletteId), content, &m_window);
    frame->setObjectName(QStringLiteral("WKRN_Palette_%1").arg(paletteId));
    m_window.addDockWidget(Qt::RightDockWidgetArea, frame);
    frame->setFloating(true);
    frame->hide();
    SetPalette(paletteId, nullptr);
    Palette& entry = m_palettes[paletteId];
    entry.receiver = content;
    entry.window = frame;
    entry.frame = frame;
    entry.setSheet = std::move(setSheet);
    m_follower->AddFrame(frame);

    // The frame's notices reach the job window as the palettes' messages.
    QMainWindow* window = &m_window;
    WKRN_SheetWindowHost* host = &m_host;
    connect(frame, &WTLA_PaletteFrame::ClosedByUser, this,
            [window, paletteId]
            { WTLU_MessageEvent::Send(window, JOBMSG_PALETTE_CLOSED, quintptr(paletteId)); });
    connect(frame, &WTLA_PaletteFrame::Activated, this,
            [window, paletteId]
            { WTLU_MessageEvent::Send(window, JOBMSG_PALETTE_ACTIVATED, quintptr(paletteId)); });
    connect(frame, &WTLA_PaletteFrame::Deactivated, this,
            [window, paletteId](QWidget* activating)
            {
                WTLU_MessageEvent::Send(window, JOBMSG_PALETTE_DEACTIVATED, quintptr(paletteId),
                                        WTLU_MessageEvent::Handle(activating));
            });
    // Check marks follow the palette however it was shown or hidden (its frame's own drag and
    // drop included).
    connect(frame, &QDockWidget::visibilityChanged, this, [host] { host->UpdateCommandState(); });
    m_host.UpdateCommandState();
    return frame;
}

QWidget* WKRN_SheetWindowPalettes::Receiver(int paletteId) const
{
    const auto it = m_palettes.find(paletteId);
    return it == m_palettes.end() ? nullptr : it->second.receiver.data();
}

QWidget* WKRN_SheetWindowPalettes::Window(int paletteId) const
{
    const auto it = m_palettes.find(paletteId);
    return it == m_palettes.end() ? nullptr : it->second.window.data();
}

WTLA_PaletteFrame* WKRN_SheetWindowPalettes::Frame(int paletteId) const
{
    const auto it = m_palettes.find(paletteId);
    return it == m_palettes.end() ? nullptr : it->second.frame.data();
}

bool WKRN_SheetWindowPalettes::IsFloating(const Palette& palette) const
{
    if (palette.frame)
        return palette.frame->isFloating();
    return palette.window && palette.window->isWindow();
}

bool WKRN_SheetWindowPalettes::IsShown(int paletteId) const
{
    const auto it = m_palettes.find(paletteId);
    if (it == m_palettes.end() || !it->second.window)
        return false;
    if (m_hidden && IsFloating(it->second) && it->second.remembered)
        return true;
    return !it->second.window->isHidden();
}

void WKRN_SheetWindowPalettes::SetShown(int paletteId, bool shown)
{
    const auto it = m_palettes.find(paletteId);
    if (it == m_palettes.end() || !it->second.window)
        return;
    if (m_hidden && IsFloating(it->second))
        it->second.remembered = shown; // comes back (or not) with the job window
    else
        it->second.window->setVisible(shown);
}

void WKRN_SheetWindowPalettes::Arrange(WTLA_Arrangement arrangement, bool everyPalette)
{
    m_arrangement = arrangement;
    std::vector<WTLA_PaletteEntry> entries;
    for (const auto& [id, title] : kPalettes)
    {
        WTLA_PaletteEntry entry;
        entry.frame = Frame(id);
        entry.included = entry.frame != nullptr && (everyPalette || IsShown(id));
        entry.extraHeight = id == ID_WINDOW_NAVIGATION ? kNavigationDockExtra : 0;
        entry.setsColumnWidth = id == ID_WINDOW_NAVIGATION || id == ID_WINDOW_SEPARATIONS;
        entries.push_back(entry);
    }
    WTLA_PaletteLayout::Arrange(m_window, arrangement, entries);
    if (!WTLA_PaletteArrangement::IsDocked(arrangement))
        m_follower->Anchor(WTLA_PaletteArrangement::IsLeft(arrangement));
    UpdateCover();
}

void WKRN_SheetWindowPalettes::UpdateCover()
{
    WKRN_SheetView* view = m_host.View();
    if (view == nullptr)
        return;
    std::vector<QRect> frames;
    for (const auto& [id, palette] : m_palettes)
        if (palette.frame && palette.frame->isFloating() && IsShown(id))
            frames.push_back(palette.frame->frameGeometry());
    const WTLA_Cover cover =
        WTLA_PaletteArrangement::Covered(WTLA_PaletteLayout::FloatingArea(m_window), frames);
    view->SetOverscroll(cover.left, cover.right);
}

void WKRN_SheetWindowPalettes::RaiseFloating()
{
    for (const auto& [id, palette] : m_palettes)
        if (palette.window && IsFloating(palette) && palette.window->isVisible())
            palette.window->raise();
}

bool WKRN_SheetWindowPalettes::Owns(const QWidget* window) const
{
    if (window == nullptr)
        return false;
    for (const auto& [id, palette] : m_palettes)
        if (palette.window == window || palette.frame == window)
            return true;
    return false;
}

void WKRN_SheetWindowPalettes::HideFloating()
{
    // Already hidden: what was remembered then is what must come back.
    if (m_hidden)
        return;
    for (auto& [id, palette] : m_palettes)
        palette.remembered = palette.window && IsFloating(palette) && !palette.window->isHidden();
    // Set first: the check marks, updated as each palette goes, must read what comes back.
    m_hidden = true;
    for (auto& [id, palette] : m_palettes)
        if (palette.remembered)
            palette.window->hide();
    m_host.UpdateCommandState();
}

void WKRN_SheetWindowPalettes::JobDeactivated(QWidget* activating)
{
    if (m_host.PopUpInProgress() || Owns(activating))
        return;
    HideFloating();
}

void WKRN_SheetWindowPalettes::PaletteDeactivated(QWidget* activating)
{
    if (m_host.PopUpInProgress() || activating == &m_window || Owns(activating))
        return;
    HideFloating();
    // After the palettes have gone: hiding an active palette moves the activation on its own.
    if (WKRN_SheetWindowHost* host = WKRN_SheetWindowHost::Of(activating))
    {
        QMainWindow* other = &host->HostWindow();
        QTimer::singleShot(0, other,
                           [other]
                           {
                               if (QApplication::activeWindow() != other)
                                   other->activateWindow();
                           });
    }
}

void WKRN_SheetWindowPalettes::Reactivated()
{
    if (!m_hidden)
    {
        RaiseFloating();
        return;
    }
    m_hidden = false;
    for (auto& [id, palette] : m_palettes)
    {
        if (palette.remembered && palette.window)
            palette.window->show();
        palette.remembered = false;
    }
    m_host.UpdateCommandState();
}
