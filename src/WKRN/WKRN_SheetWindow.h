#pragma once
// A job window: the top-level frame of one open job, with the shared menu, toolbar and status
// bar. It starts empty and receives a sheet once; a further sheet sent to it goes to a new job
// window. Commands marked for every window are enabled in an empty one, job commands only once a
// sheet is shown; a command is enabled only while something carries it out (a handler), so that
// no menu item does nothing when chosen.
//
// The window talks to the application window only through posted messages, except for its close
// notice, which is sent before the window goes.

#include "IMPN/IMPN_SheetReference.h"

#include <QMainWindow>

#include <functional>
#include <map>
#include <vector>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QToolBar;

class WKRN_SheetWindow : public QMainWindow
{
    Q_OBJECT
public:
    // identity: the Window-menu command id; application: where the application messages go.
    WKRN_SheetWindow(int identity, QObject* application);
    ~WKRN_SheetWindow() override;

    int Identity() const { return m_identity; }
    bool ShowsSheet() const { return static_cast<bool>(m_sheet); }
    const IMPN_SheetReference& Sheet() const { return m_sheet; }

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

    // The colours of inks may have changed: palettes and view refresh themselves.
    void RefreshColours();

    // Installs what a command does; the command is enabled from then on where its rule allows.
    void SetCommandHandler(int commandId, std::function<void()> handler);
    QAction* Action(int commandId) const;
    QMenu* Menu(int index) const;
    QToolBar* ToolBar() const { return m_toolBar; }
    QLabel* WorkStylePane() const { return m_workStylePane; }
    QLabel* ZoomPane() const { return m_zoomPane; }
    QLabel* CapsPane() const { return m_capsPane; }

    // Runs a command as if chosen from the menu (only when it is enabled).
    void Execute(int commandId);

signals:
    void ColoursChanged();
    void SheetShown();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void BuildToolBar();
    void BuildStatusBar();
    void InstallBuiltInCommands();
    void UpdateEnabling();
    void PostToApplication(int message, quintptr wParam, qintptr lParam);

    int m_identity;
    QObject* m_application;
    IMPN_SheetReference m_sheet;
    std::map<int, QAction*> m_actions;
    std::map<int, std::function<void()>> m_handlers;
    std::vector<QMenu*> m_menus;
    std::vector<QAction*> m_windowItems;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_workStylePane = nullptr;
    QLabel* m_zoomPane = nullptr;
    QLabel* m_capsPane = nullptr;
};
