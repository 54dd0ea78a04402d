#pragma once
// The job browser's window, "Impositions": a folder's impositions as a tree, the folder's path
// above it, with Rescan (choose a folder and scan it), Open (the selected imposition, signature
// or sheet) and the scan's progress.
//
// The process has at most one. A job window's Job Browser command shows it and makes that job
// window the receiver of what is opened; the receiver is held weakly, and when it has closed the
// sheets open in new job windows instead. A sheet that a job window already shows is not opened a
// second time: that window comes to the front. Sheets travel as counted references.
//
// A scan runs on a thread of its own: the window keeps painting and answering, and Stop ends the
// scan after the file being read, showing what was found until then. The tree of the last scan
// stays until the new one is complete. Closing the window hides it with its tree, and cancels a
// scan in progress: nothing of it appears afterwards.

#include "IMPN/IMPN_RegistryScan.h"
#include "WKRN/browser/WKRN_RegistryScanner.h"
#include "WKRN/files/WKRN_FileListWindow.h"

#include "GLIB/GLIB_MessageTarget.h"

#include <QDialog>
#include <QPointer>

#include <functional>
#include <vector>

class IMPN_Sheet;
class QLabel;
class QProgressBar;
class QPushButton;
class WKRN_RegistryBrowser;
class WMCT_DoubleClickMessage;
class WMCT_SelectionChangedMessage;

class WKRN_RegistryWindow : public QDialog, public GLIB_MessageTarget
{
    Q_OBJECT
public:
    // Asks for a folder: owner, prompt, the folder to start in. Empty: cancelled.
    using FolderChooser = std::function<QString(QWidget*, const QString&, const QString&)>;
    using FileListPresenter = std::function<void(QWidget*, const QString&, const QString&,
                                                 const std::vector<WKRN_InvalidFile>&)>;

    static constexpr int kWidth = 540;
    static constexpr int kHeight = 380;

    // The Job Browser command of a job window: the first call makes the window, shows it and
    // lets the user choose a folder; later calls bring it back as it was. application receives
    // the open requests when the requesting job window is gone.
    static WKRN_RegistryWindow* ShowFor(QWidget* requester, QObject* application);
    static WKRN_RegistryWindow* Instance();

    // Test seams; each returns the previous one. An empty one restores the default.
    static FolderChooser SetFolderChooser(FolderChooser chooser);
    static FileListPresenter SetFileListPresenter(FileListPresenter presenter);

    WKRN_RegistryWindow();
    ~WKRN_RegistryWindow() override;

    // Rescan: choose a folder (a cancel changes nothing), then scan it.
    void ChooseAndScan();
    // Starts scanning the folder; when the scan is complete, its tree replaces the one shown and
    // its invalid files are reported.
    void ScanFolder(const QString& folder);
    // Ends the scan in progress after the file being read and shows what it found.
    void StopScan();
    // Lets the event loop run until the scan in progress has ended (for callers that need its
    // result at once).
    void WaitForScan();
    // Open: hands the sheets of the selected row to the receiving job window and hides.
    void Open();

    WKRN_RegistryBrowser* Browser() const { return m_browser; }
    QPushButton* RescanButton() const { return m_rescan; }
    QPushButton* OpenButton() const { return m_open; }
    QPushButton* StopButton() const { return m_stop; }
    QLabel* FolderText() const { return m_folder; }
    QProgressBar* ProgressBar() const { return m_progress; }
    QLabel* StatusText() const { return m_status; }
    const IMPN_RegistryFolder& Folder() const { return m_record; }
    QWidget* Target() const;
    bool IsScanning() const { return m_scanner.Running(); }

    // Whether two sheets are the same: the same object, or the same job, signature and web made
    // of the same files.
    static bool SameSheet(const IMPN_Sheet& a, const IMPN_Sheet& b);

protected:
    bool event(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void OnDoubleClick(const WMCT_DoubleClickMessage& message);
    void OnSelectionChanged(const WMCT_SelectionChangedMessage& message);
    void UpdateCommandState();
    void ScanEnded(WKRN_RegistryScanner::Result& result);
    void ShowFolder();
    void ReportInvalidFiles();
    void ShowProgress(int done, int total, bool setBar);
    static QWidget* WindowShowing(const IMPN_Sheet& sheet);

    WKRN_RegistryBrowser* m_browser;
    QPushButton* m_rescan;
    QPushButton* m_open;
    QPushButton* m_stop;
    QProgressBar* m_progress;
    QLabel* m_status;
    QLabel* m_folder;
    WKRN_RegistryScanner m_scanner;
    QPointer<QWidget> m_target;
    QPointer<QObject> m_application;
    IMPN_RegistryFolder m_record;
};
