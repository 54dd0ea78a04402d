#pragma once
// The application window: a small pop-up that shows the splash picture for a few seconds and then
// stays hidden for the rest of the run, coordinating the job windows. It keeps their list, opens
// new ones, arranges, activates and closes them, rebuilds their Window menus, forwards colour
// changes, receives the command lines of later starts and ends the run when the last job window
// goes.
//
// Job windows reach it only through messages (posted, except the close notice, which is sent).

#include "GLIB/GLIB_HandOverRecord.h"
#include "WKRN/app/WKRN_TickCount.h"
#include "WKRN/files/WKRN_JobOpener.h"
#include "WKRN/files/WKRN_PathCollector.h"

#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class WKRN_SheetWindow;
class WTLU_MessageEvent;

class WKRN_Tressida : public QWidget
{
    Q_OBJECT
public:
    using Opener = std::function<WKRN_OpenResult(const std::vector<std::wstring>&)>;

    // A null splash picture means no splash: the window stays hidden from the start.
    explicit WKRN_Tressida(const QPixmap& splash);
    ~WKRN_Tressida() override;

    // Shows the splash (when there is a picture) and starts its timer. ownArguments: whether the
    // program's own command line names files; without, the end of the splash opens an empty job
    // window.
    void StartSplash(bool ownArguments);
    void EndSplash();
    bool SplashShowing() const { return m_splashTimer != 0; }

    // The copy-data message: a hand-over record. Returns whether it was handled (a record with
    // another tag is not).
    bool ReceiveHandOver(const GLIB_HandOverRecord::Record& record);
    // The collection timer's tick.
    void CollectTimerFired();
    bool CollectTimerRunning() const { return m_collectTimer != 0; }
    const WKRN_PathCollector& Collector() const { return m_collector; }

    // Opens the pending files of the last hand-over.
    void OpenPendingFiles();

    // Opens a job window (with the sheet, or empty) at the rectangle, or else with its frame on
    // the work area shrunk by 5 pixels (the first) or one cascade step from the job window opened
    // last. Returns the window.
    WKRN_SheetWindow* OpenJobWindow(const IMPN_SheetReference& sheet,
                                    const std::optional<QRect>& rect, bool refreshMenus);

    std::vector<WKRN_SheetWindow*> JobWindows() const;
    int NextJobIdentity() const { return s_nextIdentity; }

    // Where the preferences are written at quit and by the Preferences dialog (the one store path
    // of the run, kept by WKRN_Preferences); empty: nowhere. The run's path ends with this window.
    void SetPreferencesPath(const QString& path);
    // Test seams: the clock of the collection rule, the batch opener and what quitting does after
    // the preferences are written (the default ends the event loop with exit code 0).
    void SetTickSource(WKRN_TickSource ticks) { m_ticks = std::move(ticks); }
    void SetOpener(Opener opener) { m_opener = std::move(opener); }
    void SetQuitAction(std::function<void()> action) { m_quitAction = std::move(action); }

    bool CloseReplacePending() const { return m_closeReplace; }
    bool CloseAllPending() const { return m_closeAll; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    bool HandleMessage(WTLU_MessageEvent* message);
    void RefreshWindowMenus();
    WKRN_SheetWindow* FindWindow(qintptr handle) const;
    void Arrange(int commandId, qintptr requester);
    void Activate(int commandId, qintptr handle);
    void JobClosed(qintptr handle);
    void Quit();
    void StopCollectTimer();
    void StartCollectTimer();

    static int s_nextIdentity;

    QPixmap m_splash;
    bool m_ownArguments = false;
    int m_splashTimer = 0;
    int m_collectTimer = 0;
    std::vector<QPointer<WKRN_SheetWindow>> m_jobs;
    bool m_closeReplace = false;
    bool m_closeAll = false;
    QRect m_rememberedRect;
    WKRN_PathCollector m_collector;
    WKRN_TickSource m_ticks = WKRN_TickCount;
    Opener m_opener = WKRN_JobOpener::Open;
    std::function<void()> m_quitAction;
};
