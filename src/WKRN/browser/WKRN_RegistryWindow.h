#pragma once
// The job browser's window, "Impositions": a folder's impositions as a tree, with Rescan (choose a
// folder and scan it), Open (the selected imposition, signature or sheet) and the scan's progress.
//
// The process has at most one. A job window's Job Browser command shows it and makes that job
// window the receiver of what is opened; the receiver is held weakly, and when it has closed the
// sheets open in new job windows instead. A sheet that a job window already shows is not opened a
// second time: that window comes to the front. Sheets travel as counted references. Closing the
// window only hides it, with its tree.

#include "IMPN/IMPN_RegistryScan.h"
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
    // Scans the folder and reports its invalid files.
    void ScanFolder(const QString& folder);
    // Open: hands the sheets of the selected row to the receiving job window and hides.
    void Open();

    WKRN_RegistryBrowser* Browser() const { return m_browser; }
    QPushButton* RescanButton() const { return m_rescan; }
    QPushButton* OpenButton() const { return m_open; }
    QProgressBar* ProgressBar() const { return m_progress; }
    QLabel* StatusText() const { return m_status; }
    const IMPN_RegistryFolder& Folder() const { return m_record; }
    QWidget* Target() const;
    bool IsScanning() const { return m_scanning; }

    // Whether two sheets are the same: the same object, or the same job, signature and web made
    // of the same files.
    static bool SameSheet(const IMPN_Sheet& a, const IMPN_Sheet& b);

protected:
    bool event(QEvent* event) override;

private:
    void OnDoubleClick(const WMCT_DoubleClickMessage& message);
    void OnSelectionChanged(const WMCT_SelectionChangedMessage& message);
    void UpdateCommandState();
    void ReportInvalidFiles();
    void ShowProgress(int done, int total, bool setBar);
    static QWidget* WindowShowing(const IMPN_Sheet& sheet);

    WKRN_RegistryBrowser* m_browser;
    QPushButton* m_rescan;
    QPushButton* m_open;
    QProgressBar* m_progress;
    QLabel* m_status;
    QPointer<QWidget> m_target;
    QPointer<QObject> m_application;
    IMPN_RegistryFolder m_record;
    bool m_scanning = false;
};
