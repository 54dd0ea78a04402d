#include "WKRN/sheet/WKRN_SheetWindowCommands.h"

#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/palettes/WKRN_SheetWindowPalettes.h"
#include "WKRN/sheet/WKRN_SheetView.h"
#include "WKRN/sheet/WKRN_SheetWindowHost.h"

#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_Surface.h"
#include "WTLU/WTLU_MessageEvent.h"

#include <QAction>
#include <QWidget>

#include <algorithm>
#include <array>

namespace
{
// Zoom level commands by level index.
constexpr std::array<int, IMPN_SheetView::kLevelCount> kZoomCommands = {
    ID_ZOOM_8_1,   ID_ZOOM_4_1,   ID_ZOOM_2_1,  ID_ZOOM_1_1,  ID_ZOOM_1_2,
    ID_ZOOM_1_4,   ID_ZOOM_1_8,   ID_ZOOM_1_16, ID_ZOOM_1_32, ID_ZOOM_1_64,
    ID_ZOOM_1_128, ID_ZOOM_1_256, ID_ZOOM_1_512};

constexpr int kLastLevel = IMPN_SheetView::kLevelCount - 1;

void SetChecked(WKRN_SheetWindowHost& window, int id, bool checked)
{
    if (QAction* action = window.Action(id))
        action->setChecked(checked);
}

quintptr ZoomPair(int oldLevel, int newLevel)
{
    return quintptr(newLevel & 0xFFFF) << 16 | quintptr(oldLevel & 0xFFFF);
}
} // namespace

WKRN_SheetWindowCommands::WKRN_SheetWindowCommands(WKRN_SheetWindowHost& window,
                                                   WKRN_SheetView& view)
    : m_window(window), m_view(view)
{
}

void WKRN_SheetWindowCommands::Install()
{
    for (int level = 0; level <= kLastLevel; ++level)
        m_window.SetCommandHandler(kZoomCommands[std::size_t(level)],
                                   [this, level] { ZoomTo(level); });
    m_window.SetCommandHandler(ID_ZOOM_IN, [this] { ZoomTo(m_view.GetLevel() - 1); });
    m_window.SetCommandHandler(ID_ZOOM_OUT, [this] { ZoomTo(m_view.GetLevel() + 1); });
    m_window.SetCommandHandler(ID_ZOOM_FIT, [this] { FitToWindow(); });

    m_window.SetCommandHandler(ID_SHEET_SHOW_IMPOSITION, [this] { ShowImposition(); });
    for (int id : {int(ID_SHEET_PRESS_SHEET_EDGE), int(ID_SHEET_BLEED_EDGE),
                   int(ID_SHEET_PAGE_EDGE), int(ID_SHEET_PAGE_NUMBERS), int(ID_SHEET_CLIP_PATH)})
        m_window.SetCommandHandler(id, [this, id] { ToggleFlag(id); });

    m_window.SetCommandHandler(ID_BACKUP_PLATES,
                               [this] { SetBackupMode(IMPN_SheetView::BackupPlates); });
    m_window.SetCommandHandler(ID_BACKUP_PRESS_SHEETS,
                               [this] { SetBackupMode(IMPN_SheetView::BackupPressSheets); });
    m_window.SetCommandHandler(ID_BACKUP_PAGES,
                               [this] { SetBackupMode(IMPN_SheetView::BackupPages); });
    m_window.SetCommandHandler(ID_SHEET_FLIP, [this] { Flip(); });
    m_window.SetCommandHandler(ID_SHEET_MORE_OPAQUE, [this] { ChangeOpacity(kOpacityStep); });
    m_window.SetCommandHandler(ID_SHEET_LESS_OPAQUE, [this] { ChangeOpacity(-kOpacityStep); });

    m_window.SetCommandHandler(ID_TOOL_PAN, [this] { SetTool(WKRN_SheetView::PanTool); });
    m_window.SetCommandHandler(ID_TOOL_MEASURE, [this] { SetTool(WKRN_SheetView::MeasureTool); });
    m_window.SetCommandHandler(ID_TOOL_ZOOM, [this] { SetTool(WKRN_SheetView::ZoomTool); });

    for (int id :
         {int(ID_WINDOW_NAVIGATION), int(ID_WINDOW_SEPARATIONS), int(ID_WINDOW_MEASUREMENT)})
        m_window.SetCommandHandler(id, [this, id] { TogglePalette(id); });
    const std::pair<int, WTLA_Arrangement> arrangements[] = {
        {ID_PALETTES_FLOAT_LEFT, WTLA_Arrangement::FloatLeft},
        {ID_PALETTES_FLOAT_RIGHT, WTLA_Arrangement::FloatRight},
        {ID_PALETTES_DOCK_LEFT, WTLA_Arrangement::DockLeft},
        {ID_PALETTES_DOCK_RIGHT, WTLA_Arrangement::DockRight},
    };
    for (const auto& [id, arrangement] : arrangements)
        m_window.SetCommandHandler(id, [this, arrangement = arrangement]
                                   { m_window.Palettes().Arrange(arrangement); });
}

bool WKRN_SheetWindowCommands::Allows(int commandId) const
{
    switch (commandId)
    {
    case ID_ZOOM_IN:
        return m_view.GetLevel() > 0;
    case ID_ZOOM_OUT:
        return m_view.GetLevel() < kLastLevel;
    case ID_SHEET_CLIP_PATH:
        return m_view.GetClipPathsAvailable();
    case ID_SHEET_FLIP:
    {
        // Flipping to a surface without inks would show an empty sheet.
        const IMPN_Surface* other = m_view.GetUnderneathSurface();
        return other != nullptr && other->HasSeparations();
    }
    case ID_WINDOW_NAVIGATION:
    case ID_WINDOW_SEPARATIONS:
    case ID_WINDOW_MEASUREMENT:
        return m_window.Palette(commandId) != nullptr;
    case ID_PALETTES_FLOAT_LEFT:
    case ID_PALETTES_FLOAT_RIGHT:
    case ID_PALETTES_DOCK_LEFT:
    case ID_PALETTES_DOCK_RIGHT:
        // Only palettes in frames of the job window can be arranged.
        return m_window.Palettes().Frame(ID_WINDOW_NAVIGATION) != nullptr ||
               m_window.Palettes().Frame(ID_WINDOW_SEPARATIONS) != nullptr ||
               m_window.Palettes().Frame(ID_WINDOW_MEASUREMENT) != nullptr;
    default:
        return true;
    }
}

void WKRN_SheetWindowCommands::UpdateChecks()
{
    const bool shows = m_view.GetSheet() != nullptr;
    for (int level = 0; level <= kLastLevel; ++level)
        SetChecked(m_window, kZoomCommands[std::size_t(level)],
                   shows && level == m_view.GetLevel());
    SetChecked(m_window, ID_SHEET_PRESS_SHEET_EDGE, shows && m_view.GetPressSheetEdge());
    SetChecked(m_window, ID_SHEET_BLEED_EDGE, shows && m_view.GetBleedEdge());
    SetChecked(m_window, ID_SHEET_PAGE_EDGE, shows && m_view.GetPageEdge());
    SetChecked(m_window, ID_SHEET_PAGE_NUMBERS, shows && m_view.GetPageNumbers());
    SetChecked(m_window, ID_SHEET_CLIP_PATH,
               shows && m_view.GetClipPathsAvailable() && m_view.GetClipPathsShown());
    const int mode = m_view.GetBackupMode();
    SetChecked(m_window, ID_BACKUP_PLATES, shows && mode == IMPN_SheetView::BackupPlates);
    SetChecked(m_window, ID_BACKUP_PRESS_SHEETS,
               shows && mode == IMPN_SheetView::BackupPressSheets);
    SetChecked(m_window, ID_BACKUP_PAGES, shows && mode == IMPN_SheetView::BackupPages);
    const int tool = m_view.GetTool();
    SetChecked(m_window, ID_TOOL_PAN, shows && tool == WKRN_SheetView::PanTool);
    SetChecked(m_window, ID_TOOL_MEASURE, shows && tool == WKRN_SheetView::MeasureTool);
    SetChecked(m_window, ID_TOOL_ZOOM, shows && tool == WKRN_SheetView::ZoomTool);
    for (int id :
         {int(ID_WINDOW_NAVIGATION), int(ID_WINDOW_SEPARATIONS), int(ID_WINDOW_MEASUREMENT)})
        SetChecked(m_window, id, m_window.Palettes().IsShown(id));
}

void WKRN_SheetWindowCommands::TellZoom(int oldLevel, int newLevel)
{
    std::array<double, 4> fractions = m_view.VisibleFractions();
    WTLU_MessageEvent::Send(m_window.Palette(ID_WINDOW_NAVIGATION), JOBMSG_ZOOM_CHANGED,
                            ZoomPair(oldLevel, newLevel),
                            reinterpret_cast<qintptr>(fractions.data()), fractions);
}

void WKRN_SheetWindowCommands::ZoomTo(int level)
{
    if (level < 0 || level > kLastLevel)
        return;
    const int old = m_view.GetLevel();
    m_view.ZoomToLevel(level, true);
    TellZoom(old, m_view.GetLevel());
}

void WKRN_SheetWindowCommands::FitToWindow()
{
    const int old = m_view.GetLevel();
    m_view.FitToWindow(true);
    TellZoom(old, m_view.GetLevel());
}

void WKRN_SheetWindowCommands::ShowImposition()
{
    if (m_view.IsAllImpositionShown())
        m_view.HideImposition();
    else
        m_view.ShowImposition();
    TellOverlays();
}

void WKRN_SheetWindowCommands::ToggleFlag(int commandId)
{
    switch (commandId)
    {
    case ID_SHEET_PRESS_SHEET_EDGE:
        m_view.SetPressSheetEdge(!m_view.GetPressSheetEdge());
        m_view.Redraw();
        break;
    case ID_SHEET_BLEED_EDGE:
        m_view.SetBleedEdge(!m_view.GetBleedEdge());
        m_view.Redraw();
        break;
    case ID_SHEET_PAGE_EDGE:
        m_view.TogglePageEdges();
        break;
    case ID_SHEET_PAGE_NUMBERS:
        m_view.TogglePageNumbers();
        break;
    case ID_SHEET_CLIP_PATH:
        m_view.SetClipPathsShown(!m_view.GetClipPathsShown());
        m_view.Redraw();
        break;
    default:
        return;
    }
    TellOverlays();
}

void WKRN_SheetWindowCommands::TellOverlays()
{
    m_window.Palettes().TellOverlays();
}

void WKRN_SheetWindowCommands::SetBackupMode(int mode)
{
    m_view.SetBackupMode(mode);
    m_view.Redraw();
}

/* The palettes read the first argument as "the front faces the viewer". */
void WKRN_SheetWindowCommands::Flip()
{
    m_view.FlipSheet();
    const IMPN_Sheet* sheet = m_view.GetSheet();
    const bool front = sheet == nullptr || m_view.GetTopSurface() == &sheet->GetFrontSurface();
    WTLU_MessageEvent::Send(m_window.Palette(ID_WINDOW_NAVIGATION),
                            front ? NAVMSG_FRONT_FACES : NAVMSG_BACK_FACES, front ? 1 : 0);
    WTLU_MessageEvent::Send(m_window.Palette(ID_WINDOW_SEPARATIONS), SEPMSG_FACING, front ? 1 : 0);
}

/* A step that would pass a limit stops at it, so that an opacity the separations palette left
   between steps can still reach fully opaque and fully transparent from the keyboard. */
void WKRN_SheetWindowCommands::ChangeOpacity(int step)
{
    IMPN_Surface* top = m_view.GetTopSurface();
    if (top == nullptr)
        return;
    m_view.SetOpacity(std::clamp(top->GetOpacity() + step, 0, 100));
    WTLU_MessageEvent::Send(m_window.Palette(ID_WINDOW_SEPARATIONS), JOBMSG_SURFACE_OPACITY,
                            quintptr(top->GetOpacity()));
}

void WKRN_SheetWindowCommands::SetTool(int tool)
{
    m_view.SetTool(tool);
    if (tool == WKRN_SheetView::MeasureTool)
        m_window.Palettes().SetShown(ID_WINDOW_MEASUREMENT, true);
}

void WKRN_SheetWindowCommands::TogglePalette(int paletteId)
{
    WKRN_SheetWindowPalettes& palettes = m_window.Palettes();
    palettes.SetShown(paletteId, !palettes.IsShown(paletteId));
}
