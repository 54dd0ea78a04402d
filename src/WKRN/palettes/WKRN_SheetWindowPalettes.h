#pragma once
// The palettes of a job window: their frames, which one receives the messages meant for each,
// their arrangement and their hiding while another window is active.
//
// The floating palettes belong to the active job window only. When the job window or one of its
// palettes gives way to a window that is neither, the floating palettes that are visible are
// remembered and hidden, unless a palette shows a pop-up of its own (a colour menu or dialog);
// when the job window is active again, exactly those come back. Docked palettes stay: they are
// part of the job window. A second deactivation while the palettes are already hidden keeps what
// was remembered the first time. When the job window is activated, its shown floating palettes
// come to the front with it.
//
// Floating palettes stay with the window: they move when it moves, is resized or tiled, and are
// arranged again when it became too small for them. The sheet view may scroll past the sheet's
// edges by as much as the shown floating palettes reach into it, so that every part of the sheet
// can be brought out from under them.

#include "IMPN/IMPN_SheetReference.h"
#include "WTLA/WTLA_PaletteArrangement.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>

class QMainWindow;
class WKRN_SheetWindowHost;
class WTLA_PaletteFollower;
class WTLA_PaletteFrame;

class WKRN_SheetWindowPalettes : public QObject
{
public:
    // The navigation palette takes this much more of a docked column than its own height.
    static constexpr int kNavigationDockExtra = 5;

    explicit WKRN_SheetWindowPalettes(WKRN_SheetWindowHost& host);
    ~WKRN_SheetWindowPalettes() override;

    // Makes the palettes of a job that shows its first sheet, floating against the right edge,
    // navigation and separations shown, and gives them the sheet.
    void Create(const IMPN_SheetReference& sheet);
    // The job window appeared: a start that waited for its layout is made now.
    void WindowShown();
    // A new sheet for the palettes that show one, from the view's facing surface and overlays.
    void GiveSheet(const IMPN_SheetReference& sheet);
    // Tells the navigation palette the page overlay states of the view.
    void TellOverlays();

    // A palette that is its own window (no frame): it receives its messages and is shown and
    // hidden as it is. Null removes the palette.
    void SetPalette(int paletteId, QWidget* palette);
    // A palette in a frame of the job window, floating, hidden until shown; content receives the
    // messages. setSheet, when given, is how the palette takes a new sheet.
    WTLA_PaletteFrame*
    AddFramed(int paletteId, QWidget* content,
              std::function<void(const IMPN_SheetReference&, bool frontFaces)> setSheet = {});

    // Where the messages for a palette go; null when there is none.
    QWidget* Receiver(int paletteId) const;
    // What is shown and hidden for a palette: its frame, or the palette itself.
    QWidget* Window(int paletteId) const;
    WTLA_PaletteFrame* Frame(int paletteId) const;
    // Shown to the user: visible, or hidden only while another window is active.
    bool IsShown(int paletteId) const;
    void SetShown(int paletteId, bool shown);

    // Float or dock the shown palettes (all of them with everyPalette) in the order navigation,
    // separations, measurement.
    void Arrange(WTLA_Arrangement arrangement, bool everyPalette = false);
    // The arrangement last made (Float Right from the start).
    WTLA_Arrangement GetArrangement() const { return m_arrangement; }

    // The job window was deactivated in favour of activating (may be null).
    void JobDeactivated(QWidget* activating);
    // A palette gave way to activating (0x8024).
    void PaletteDeactivated(QWidget* activating);
    // The job window or one of its palettes is active again.
    void Reactivated();
    bool Hidden() const { return m_hidden; }
    // Whether the window is the frame or window of one of the palettes.
    bool Owns(const QWidget* window) const;

private:
    struct Palette
    {
        QPointer<QWidget> receiver;
        QPointer<QWidget> window;
        QPointer<WTLA_PaletteFrame> frame;
        std::function<void(const IMPN_SheetReference&, bool)> setSheet;
        bool remembered = false;
    };
    bool IsFloating(const Palette& palette) const;
    void HideFloating();
    // Tells the view how far the shown floating palettes reach into it from each side.
    void UpdateCover();
    void RaiseFloating();
    bool FrontFaces() const;
    void Start();

    WKRN_SheetWindowHost& m_host;
    QMainWindow& m_window; // the host's window: the palettes' frames dock in it
    std::map<int, Palette> m_palettes;
    std::unique_ptr<WTLA_PaletteFollower> m_follower;
    bool m_hidden = false;
    bool m_startWhenShown = false;
    WTLA_Arrangement m_arrangement = WTLA_Arrangement::FloatRight;
};
