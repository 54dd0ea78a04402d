#pragma once
// The status bar of a job window: the message pane (command help while menus are browsed) and,
// on the right, the work-style icon, the zoom text and the Caps Lock indicator.
//
// The zoom and caps panes follow their state when it changes rather than on every idle turn of
// the event loop: the zoom text is set by the window after every zoom change, and the caps pane
// is read again after each key that reaches the application while the window is active and when
// the window becomes active (Caps Lock may have changed in another program meanwhile).

#include <QObject>
#include <QString>

#include <functional>

class QLabel;
class QStatusBar;

class WKRN_StatusPanes : public QObject
{
    Q_OBJECT
public:
    static constexpr int kWorkStyleWidth = 20;
    static constexpr int kMinimumPaneWidth = 32;

    // Adds the three panes to the bar. The bar's window is the one whose activation and keys are
    // watched.
    explicit WKRN_StatusPanes(QStatusBar* bar);
    ~WKRN_StatusPanes() override;

    // Work style of the sheet shown (1 to 4; anything else gets the generic icon).
    void SetWorkStyle(int workStyle);
    void ClearWorkStyle();
    // The zoom level's text ("8:1" ... "1:512"); a level out of 0..12 empties the pane.
    void SetZoomLevel(int level);
    // Reads the Caps Lock state now and shows "CAPS" or nothing.
    void UpdateCaps();

    QLabel* WorkStylePane() const { return m_workStyle; }
    QLabel* ZoomPane() const { return m_zoom; }
    QLabel* CapsPane() const { return m_caps; }

    // The text of a zoom level, or empty for a level out of range.
    static QString ZoomText(int level);

    // Where the Caps Lock state comes from: the X11 keyboard indicators by default (off where the
    // platform does not tell). Tests put their own source in.
    using CapsSource = std::function<bool()>;
    static void SetCapsSource(CapsSource source);
    static bool PlatformCapsLock();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ScheduleCapsUpdate();

    QStatusBar* m_bar;
    QLabel* m_workStyle;
    QLabel* m_zoom;
    QLabel* m_caps;
    bool m_capsUpdatePending = false;
};
