#pragma once
// What the Zoom, Sheet, Tools and palette commands of a job window do to its sheet view, and the
// check marks and extra enabling rules that follow from the view's state. The job window owns
// one and asks it, after every command and every notice from the view, to bring the menu and
// toolbar up to date.

#include <QtGlobal>

#include <any>

class WKRN_SheetView;
class WKRN_SheetWindowHost;

class WKRN_SheetWindowCommands
{
public:
    static constexpr int kOpacityStep = 5;

    WKRN_SheetWindowCommands(WKRN_SheetWindowHost& window, WKRN_SheetView& view);

    // Installs the handlers of the Zoom, Sheet, Tools and palette commands in the window.
    void Install();

    // Rules on top of the command table: Zoom In stops at 8:1, Zoom Out at 1:512, the source
    // clip path command needs clip paths, Flip Sheet a surface with inks to turn to, a palette
    // command needs its palette.
    bool Allows(int commandId) const;
    // Check marks of zoom level, overlays, backup mode, tool and palettes from the view's state.
    void UpdateChecks();

    // The zoom level changed from old to new (the view's own tools, the navigation palette, a
    // command): tells the navigation palette, with the visible area.
    void TellZoom(int oldLevel, int newLevel);

private:
    void ZoomTo(int level);
    void FitToWindow();
    void ShowImposition();
    void ToggleFlag(int commandId);
    void TellOverlays();
    void SetBackupMode(int mode);
    void Flip();
    void ChangeOpacity(int step);
    void SetTool(int tool);
    void TogglePalette(int paletteId);

    WKRN_SheetWindowHost& m_window;
    WKRN_SheetView& m_view;
};
