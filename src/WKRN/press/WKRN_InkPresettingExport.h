#pragma once
// File > Export Ink Presetting (CIP3 PPF)... of one job window: writes the shown sheet as the
// ink-presetting file a press reads (IMPN_PpfExport), front and back in one file. A save dialog
// asks for the file, opening in the folder used last; the counting runs on a thread of its own
// with a worker pool, while the status bar shows how far it got and offers to cancel, so the
// window stays usable throughout. A failure is a message box naming the file and the reason; a
// cancelled export leaves whatever was at the path before.
//
// Owned by the job window beside its other commands. The export reads nothing of the sheet once
// it runs, so the window may show or close its sheet meanwhile; closing the window cancels it.

#include "IMPN/IMPN_PpfExport.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

class IMPN_Sheet;
class IMPN_WorkerPool;
class QProgressBar;
class QPushButton;
class QWidget;
class WKRN_SheetWindowHost;

class WKRN_InkPresettingExport : public QObject
{
    Q_OBJECT
public:
    // Asks for the file to write (parent, title, suggested path, filter); empty: no export.
    using FileChooser =
        std::function<QString(QWidget*, const QString&, const QString&, const QString&)>;
    // Replaces the save dialog (tests); an empty chooser restores it.
    static void SetFileChooser(FileChooser chooser);
    // Runs on the export's thread at every step of its progress (tests hold an export there to
    // act while it runs); empty: nothing.
    static void SetProgressPause(std::function<void()> pause);

    enum class Result
    {
        Written,
        Cancelled,
        Failed,
    };

    explicit WKRN_InkPresettingExport(WKRN_SheetWindowHost& window);
    ~WKRN_InkPresettingExport() override;

    // Installs the command's handler in the window.
    void Install();
    // Asks for a file and starts writing the shown sheet to it.
    void Choose();
    // Starts writing the shown sheet to path at once; false when an export is running already
    // or the window shows no sheet.
    bool Start(const QString& path);
    // Stops a running export; it ends as cancelled.
    void Cancel();
    bool IsRunning() const { return m_thread.joinable(); }

    // A file name for a sheet: its job title and its signature and web, with what file systems
    // refuse replaced.
    static QString SuggestedFileName(const IMPN_Sheet& sheet);

signals:
    // The export ended (on the window's thread, after its message or status text).
    void Finished(WKRN_InkPresettingExport::Result result, const QString& path);

private:
    void ShowProgress();
    void Finish(const IMPN_PpfExport::Outcome& outcome);
    void RemoveProgress();

    WKRN_SheetWindowHost& m_Window;
    QPointer<QProgressBar> m_Bar;
    QPointer<QPushButton> m_CancelButton;
    QTimer m_Timer;
    QString m_Path;

    // Shared with the export's thread.
    std::atomic<bool> m_Stop{false};
    std::atomic<std::uint64_t> m_Done{0};
    std::atomic<std::uint64_t> m_Total{0};

    std::unique_ptr<IMPN_WorkerPool> m_Pool;
    std::unique_ptr<IMPN_PpfExport> m_Export;
    std::thread m_thread;
};
