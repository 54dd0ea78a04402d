#pragma once
// The ink-coverage tools of one job window: the Densitometer tool's readings (in the status bar
// while it hovers, pinned into a dock of their own on a click), the Ink Limit overlay and the Ink
// Zones dialog. Counting runs on one coverage worker per surface, made when first needed from
// the surface's preview files and dropped with the sheet, so the view never waits for a count.

#include "IMPN/IMPN_Rect.h"
#include "WKRN/coverage/WKRN_InkZonesDialog.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>

#include <map>
#include <memory>
#include <string>
#include <vector>

class IMPN_Surface;
class WKRN_CoverageWorker;
class WKRN_DensitometerDock;
class WKRN_InkLimitOverlay;
class WKRN_SheetView;
class WKRN_SheetWindowHost;
class WTLU_MessageEvent;

// Owned by the job window beside its commands, so that it goes before the window's view.
class WKRN_InkCoverageTools : public QObject
{
    Q_OBJECT
public:
    WKRN_InkCoverageTools(WKRN_SheetWindowHost& window, WKRN_SheetView& view);
    ~WKRN_InkCoverageTools() override;

    // Installs the command handlers and the view's overlay.
    void Install();
    // The view's densitometer notices; false for other messages.
    bool HandleMessage(const WTLU_MessageEvent& message);
    // The view showed a new area, zoom, surface or ink visibility: the overlay follows, soon.
    void ViewChanged();
    // The window shows another sheet: every count of the old one goes.
    void SheetChanged();
    // Check marks of the tool and the overlay.
    void UpdateChecks();

    // The square aperture of `micrometres` around the device pixel under a point of level
    // pixels, at the view's scale (level pixels per device pixel) and the sheet's resolution.
    // At least one pixel a side; empty for a resolution that is not a positive number.
    static IMPN_Rect Aperture(const QPoint& levelPoint, double scale, double xResolution,
                              double yResolution, int micrometres);

    // The status-bar text of the latest reading (empty before the first).
    const QString& LastReading() const { return m_LastReading; }
    WKRN_DensitometerDock* Dock() const { return m_Dock; }
    WKRN_InkLimitOverlay& Overlay() const { return *m_Overlay; }
    WKRN_InkZonesDialog* ZonesDialog() const { return m_Zones; }
    // The worker of a surface of the shown sheet, made when first asked for; null for a surface
    // without separations.
    WKRN_CoverageWorker* WorkerFor(IMPN_Surface* surface);

private:
    struct Pin
    {
        IMPN_Rect aperture;
        QString position;
    };

    // Where the view's viewport lies on the screen and what it shows, before the window's
    // docks change.
    struct PictureAnchor
    {
        QPoint viewportOnScreen;
        QPoint scroll;
    };

    void Read(const QPoint& levelPoint, bool pin);
    void MakeDock();
    PictureAnchor AnchorPicture() const;
    void KeepPicture(const PictureAnchor& anchor);
    void SubmitPins();
    void SyncOverlay();
    void ToggleInkLimit();
    void ShowZones();
    std::vector<std::string> InkNames(const IMPN_Surface& surface) const;

    WKRN_SheetWindowHost& m_Window;
    WKRN_SheetView& m_View;
    std::map<const IMPN_Surface*, std::unique_ptr<WKRN_CoverageWorker>> m_Workers;
    // After the workers: it cancels its jobs on them when it goes.
    std::unique_ptr<WKRN_InkLimitOverlay> m_Overlay;
    WKRN_DensitometerDock* m_Dock = nullptr;
    QPointer<WKRN_InkZonesDialog> m_Zones;
    QString m_LastReading;
    std::vector<Pin> m_Pins; // clicked, not counted yet
    bool m_SyncQueued = false;
};
