#pragma once
// A job window: the top-level frame of one open job, with the shared menu, toolbar and status
// bar around its sheet view. It starts empty and receives a sheet once; a further sheet sent to
// it goes to a new job window, and only the Add Preview Files dialog replaces the sheet it shows.
// Commands marked for every window are enabled in an empty one, job commands only once a sheet
// is shown; a command is enabled only while something carries it out (a handler), so that no
// menu item does nothing when chosen.
//
// The window talks to the application window only through posted messages, except for its close
// notice, which is sent before the window goes. Notices of the view and requests of the palettes
// are relayed synchronously.

#include "IMPN/IMPN_SheetReference.h"
#include "WKRN/sheet/WKRN_SheetWindowHost.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QToolBar;
class WKRN_CompareMode;
class WKRN_InkCoverageTools;
class WKRN_InkPresettingExport;
class WKRN_SheetView;
class WKRN_SheetWindowCommands;
class WKRN_SheetWindowPalettes;
class WKRN_StatusPanes;
class WTLU_MessageEvent;

class WKRN_SheetWindow : public QMainWindow, public WKRN_SheetWindowHost
{
    Q_OBJECT
public:
    // identity: the Window-menu command id; application: where the application messages go.
    WKRN_SheetWindow(int identity, QObject* application);
    ~WKRN_SheetWindow() override;

    int Identity() const { return m_identity; }
    QMainWindow& HostWindow() override { return *this; }
    bool ShowsSheet() const override { return static_cast<bool>(m_sheet); }
    const IMPN_SheetReference& Sheet() const override { return m_sheet; }

    // The job name: the imposition name followed by ": Signature %i Web %i"; empty when empty.
    QString JobName() const;
    // The text of this window's item in every Window menu.
    QString MenuText() const;
    static QString JobNameOf(const IMPN_Sheet& sheet);

    // Shows the sheet here, or, when this window already shows one, asks the application window
    // for a new job window with it.
    void ShowSheet(const IMPN_SheetReference& sheet);

    struct WindowItem
    {
        int id;
        QString text;
    };
    // Keeps the first eleven items of the Window menu and appends one item per job window.
    void RebuildWindowMenu(const std::vector<WindowItem>& windows);
    // Rebuilds the Window menu of every job window of the application: a job's name changed.
    static void RefreshWindowMenus(QObject* application);

    // The colours of inks may have changed: palettes and view refresh themselves.
    void RefreshColours();

    // Installs what a command does; the command is enabled from then on where its rule allows.
    void SetCommandHandler(int commandId, std::function<void()> handler) override;
    QAction* Action(int commandId) const override;
    QMenu* Menu(int index) const;
    QToolBar* ToolBar() const { return m_toolBar; }
    bool ToolBarShown() const { return m_toolBarShown; }
    bool StatusBarShown() const { return m_statusBarShown; }
    WKRN_StatusPanes* StatusPanes() const { return m_panes; }
    QLabel* WorkStylePane() const;
    QLabel* ZoomPane() const;
    QLabel* CapsPane() const;
    WKRN_SheetView* View() const override { return m_view; }
    WKRN_InkCoverageTools* InkCoverage() const { return m_inkCoverage.get(); }
    WKRN_CompareMode* Compare() const { return m_compare.get(); }
    WKRN_InkPresettingExport* InkPresetting() const { return m_inkPresetting.get(); }

    // The palette shown and hidden by a palette command (32822 navigation, 32823 separations,
    // 32831 measurement), and the receiver of the relays meant for it. None: its command stays
    // disabled and its relays end here. The palettes a job window makes for itself sit in frames
    // (see Palettes()); SetPalette puts a palette of its own window in their place.
    void SetPalette(int paletteId, QWidget* palette);
    // Where the messages for a palette go (the content of its frame).
    QWidget* Palette(int paletteId) const override;
    // What is shown and hidden for a palette: its frame, or the palette window itself.
    QWidget* PaletteWindow(int paletteId) const;
    WKRN_SheetWindowPalettes& Palettes() const override { return *m_paletteSet; }
    // The separations palette shows a colour menu or dialog.
    bool PopUpInProgress() const override { return m_popUpInProgress; }

    // Shown, the window starts its palettes once it is on its way to the screen.
    void setVisible(bool visible) override;

    // Runs a command as if chosen from the menu (only when it is enabled).
    void Execute(int commandId);
    // Brings enabling and check marks in line with the view and the palettes.
    void UpdateCommandState() override;

    void WhenColoursChange(QObject* context, std::function<void()> notice) override;
    void WhenSheetShown(QObject* context, std::function<void()> notice) override;

signals:
    void ColoursChanged();
    void SheetShown();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // The palettes' own commands are the menu's: no context menu of the dock areas.
    QMenu* createPopupMenu() override;

private:
    void BuildMenus();
    void BuildToolBar();
    void InstallBuiltInCommands();
    bool IsEnabled(int commandId) const;
    void PostToApplication(int message, quintptr wParam, qintptr lParam);
    void TakeSheet(const IMPN_SheetReference& sheet);
    bool HandleMessage(const WTLU_MessageEvent& message);
    void RelayToPalette(int paletteId, const WTLU_MessageEvent& message, int asMessage);
    void ShowMeasurement(const WTLU_MessageEvent& message);
    void ShowPaintProgress(quintptr done, qintptr needed);
    void RedrawThumbnail();
    QWidget* TopLevelByHandle(qintptr handle) const;

    int m_identity;
    QObject* m_application;
    bool m_closed = false; // closed, not yet destroyed: no longer in any Window menu
    IMPN_SheetReference m_sheet;
    std::map<int, QAction*> m_actions;
    std::map<int, std::function<void()>> m_handlers;
    std::vector<QMenu*> m_menus;
    std::vector<QAction*> m_windowItems;
    QToolBar* m_toolBar = nullptr;
    bool m_toolBarShown = true;
    bool m_statusBarShown = true;
    WKRN_StatusPanes* m_panes = nullptr;
    WKRN_SheetView* m_view = nullptr;
    std::unique_ptr<WKRN_SheetWindowCommands> m_commands;
    std::unique_ptr<WKRN_SheetWindowPalettes> m_paletteSet;
    std::unique_ptr<WKRN_InkCoverageTools> m_inkCoverage;
    std::unique_ptr<WKRN_CompareMode> m_compare;
    std::unique_ptr<WKRN_InkPresettingExport> m_inkPresetting;
    bool m_popUpInProgress = false;
    QString m_paintProgress; // the progress text shown, empty when none
    // The sheet arrived before the window had its size: fit again once it is shown.
    bool m_fitWhenShown = false;
};
