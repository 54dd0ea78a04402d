#pragma once
// The comparison of a job window's sheet with another version of the job (Sheet > Compare
// With...): the sheet view shows, at every zoom level, the ink both versions print faded and the
// pixels added (only in the window's version) and removed (only in the other) in the colours of
// the Preferences; the Navigation palette marks the changed regions, Next and Previous
// Difference (F8, Shift+F8) centre the view on them in turn, a pane of the status bar gives the
// counts, and Compare Off shows the sheet itself again. The other version's files are open only
// while the comparison is on.
//
// The pixels are counted on a thread of the comparison's own, one separation after the other,
// those of the surface facing the viewer first; each separation's counts are adopted on the
// user-interface thread as they arrive, tagged with the comparison they belong to, so that the
// counts and marks of a comparison that has ended are never shown. The view changes to the
// comparison picture once the surface facing the viewer is counted.

#include "IMPN/IMPN_CompareInk.h"
#include "IMPN/IMPN_SheetComparison.h"

#include <QColor>
#include <QObject>
#include <QStringList>

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

class IMPN_WorkerPool;
class QLabel;
class WKRN_SheetView;
class WKRN_SheetWindowHost;

// Owned by the job window beside its other parts, so that it goes before the window's view.
class WKRN_CompareMode : public QObject
{
    Q_OBJECT
public:
    WKRN_CompareMode(WKRN_SheetWindowHost& window, WKRN_SheetView& view);
    ~WKRN_CompareMode() override;

    // Installs Compare With...; the other commands are installed while a comparison is on.
    void Install();

    // Compare With... without the dialog: compares with the preview files the paths name (files,
    // or folders of preview files). False, after a message naming the problem and with the view
    // as it was, when they hold no preview file or no sheet of this one's identity.
    bool CompareWith(const QStringList& paths);
    // Compare Off; nothing when no comparison is on.
    void Off();
    // Next and Previous Difference: centre the view on the next or previous changed region of
    // the surface facing the viewer, in the regions' order, round and round.
    void Next();
    void Previous();

    // The window shows another sheet: the comparison of the old one ends.
    void SheetChanged();
    // The view showed another area, surface or ink visibility: counts and marks follow the
    // visible inks of the surface facing the viewer.
    void ViewChanged();

    bool IsOn() const { return static_cast<bool>(m_Comparison); }
    // Every separation counted.
    bool IsCounted() const;
    const IMPN_SheetComparison::Summary& GetSummary() const { return m_Summary; }
    // The region the view was last centred on, -1 for none.
    int CurrentRegion() const { return m_Current; }
    QLabel* StatusPane() const { return m_Pane; }
    const IMPN_CompareLook& Look() const { return m_Look; }

private:
    void ChooseOtherVersion();
    void StartCounting();
    // The comparison pictures take the surfaces' place once the surface facing the viewer is
    // counted: until then the view shows the sheet itself and the count has the processor.
    void ShowPicturesWhenCounted();
    void StopCounting();
    void Adopt(std::uint64_t generation, std::size_t task);
    void InstallModeCommands(bool on);
    void TakeColours();
    int FacingSide() const;
    // Summarises again when the facing side, the visible inks or the counted separations changed
    // since the last time (or always when forced), then shows the pane and the marks.
    void Refresh(bool force);
    void ShowStatus();
    void ShowMarks();
    void CentreOn(int region);

    WKRN_SheetWindowHost& m_Window;
    WKRN_SheetView& m_View;
    IMPN_CompareLook m_Look;
    std::unique_ptr<IMPN_SheetComparison> m_Comparison;
    std::unique_ptr<IMPN_WorkerPool> m_Pool;
    std::thread m_Thread;
    std::atomic<bool> m_Stop{false};
    std::uint64_t m_Generation = 0;
    IMPN_SheetComparison::Summary m_Summary;
    std::vector<int> m_SummaryKey; // facing side, visibility of its inks, counted separations
    int m_Current = -1;
    QLabel* m_Pane = nullptr;
};
