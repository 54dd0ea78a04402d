#include "WKRN/press/WKRN_InkPresettingExport.h"

#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_StringTable.h"
#include "WKRN/preferences/WKRN_Preferences.h"
#include "WKRN/sheet/WKRN_SheetWindowHost.h"

#include "IMPN/IMPN_ColorDatabases.h"
#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_SheetReference.h"
#include "IMPN/IMPN_WorkerPool.h"
#include "WTLU/WTLU_MessageBox.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

#ifndef KRN_VERSION
#define KRN_VERSION "0"
#endif

namespace
{
// How often the status bar follows the count.
constexpr int kProgressMilliseconds = 100;
// How many unreadable tiles the message names; the rest are counted.
constexpr int kTilesNamed = 8;

WKRN_InkPresettingExport::FileChooser& Chooser()
{
    static WKRN_InkPresettingExport::FileChooser chooser;
    return chooser;
}

std::function<void()>& Pause()
{
    static std::function<void()> pause;
    return pause;
}
} // namespace

void WKRN_InkPresettingExport::SetFileChooser(FileChooser chooser)
{
    Chooser() = std::move(chooser);
}

void WKRN_InkPresettingExport::SetProgressPause(std::function<void()> pause)
{
    Pause() = std::move(pause);
}

WKRN_InkPresettingExport::WKRN_InkPresettingExport(WKRN_SheetWindowHost& window) : m_Window(window)
{
    m_Timer.setInterval(kProgressMilliseconds);
    connect(&m_Timer, &QTimer::timeout, this, &WKRN_InkPresettingExport::ShowProgress);
}

WKRN_InkPresettingExport::~WKRN_InkPresettingExport()
{
    // The thread reads nothing of this object but the counters; the result it would post is
    // dropped with the object.
    m_Stop = true;
    if (m_thread.joinable())
        m_thread.join();
    RemoveProgress();
}

void WKRN_InkPresettingExport::Install()
{
    m_Window.SetCommandHandler(ID_FILE_EXPORT_INK_PRESETTING, [this] { Choose(); });
}

QString WKRN_InkPresettingExport::SuggestedFileName(const IMPN_Sheet& sheet)
{
    QString name = QString::fromUtf8(sheet.GetTitle()).trimmed();
    name += (name.isEmpty() ? QString() : QStringLiteral(" ")) +
            QString::fromStdString(IMPN_PpfExport::SheetName(sheet));
    static const QString refused = QStringLiteral("/\\:*?\"<>|");
    for (QChar& c : name)
        if (refused.contains(c) || c.unicode() < 0x20)
            c = QLatin1Char('_');
    if (name.isEmpty() || name.startsWith(QLatin1Char('.')))
        name.prepend(QStringLiteral("sheet"));
    return name + QStringLiteral(".ppf");
}

void WKRN_InkPresettingExport::Choose()
{
    if (IsRunning() || !m_Window.ShowsSheet())
        return;
    QString& folder = WKRN_Preferences::Current().InkPresettingFolder;
    const QString start =
        QDir(folder.isEmpty() || !QFileInfo(folder).isDir() ? QDir::homePath() : folder)
            .filePath(SuggestedFileName(*m_Window.Sheet()));
    const QString title = WKRN_StringTable::Load(IDS_PPF_EXPORT_TITLE);
    const QString filter = WKRN_StringTable::Load(IDS_PPF_FILTER);
    const QString path =
        Chooser() ? Chooser()(&m_Window.HostWindow(), title, start, filter)
                  : QFileDialog::getSaveFileName(&m_Window.HostWindow(), title, start, filter);
    if (path.isEmpty())
        return;
    folder = QFileInfo(path).absolutePath();
    Start(path);
}

bool WKRN_InkPresettingExport::Start(const QString& path)
{
    if (IsRunning() || !m_Window.ShowsSheet())
        return false;
    m_Path = path;
    m_Stop = false;
    m_Done = 0;
    m_Total = 0;
    // One worker less than the cores: this export's own thread counts too.
    const unsigned cores = IMPN_WorkerPool::DefaultWorkerCount();
    m_Pool = cores > 1 ? std::make_unique<IMPN_WorkerPool>(cores - 1) : nullptr;
    // The files open here, on the thread that opens every preview file; the thread below only
    // counts through them.
    m_Export =
        std::make_unique<IMPN_PpfExport>(*m_Window.Sheet(), IMPN_ColorDatabases::Global(), cores);

    IMPN_PpfExport::Options options;
    options.software = std::string("Quor KRN ") + KRN_VERSION;
    options.pool = m_Pool.get();
    options.progress = [this, pause = Pause()](std::uint64_t done, std::uint64_t total)
    {
        if (pause)
            pause();
        m_Total = total;
        m_Done = done;
        return !m_Stop.load();
    };

    auto* bar = new QProgressBar(m_Window.HostWindow().statusBar());
    bar->setObjectName(QStringLiteral("WKRN_PpfProgress"));
    bar->setRange(0, 1000);
    bar->setValue(0);
    bar->setTextVisible(false);
    bar->setMaximumWidth(160);
    auto* cancel =
        new QPushButton(WKRN_StringTable::Load(IDS_PPF_CANCEL), m_Window.HostWindow().statusBar());
    cancel->setObjectName(QStringLiteral("WKRN_PpfCancel"));
    connect(cancel, &QPushButton::clicked, this, &WKRN_InkPresettingExport::Cancel);
    m_Window.HostWindow().statusBar()->addPermanentWidget(bar);
    m_Window.HostWindow().statusBar()->addPermanentWidget(cancel);
    m_Bar = bar;
    m_CancelButton = cancel;
    ShowProgress();
    m_Timer.start();

    const std::string target = path.toStdString();
    m_thread = std::thread(
        [this, target, options]
        {
            const IMPN_PpfExport::Outcome outcome = m_Export->Write(target, options);
            QMetaObject::invokeMethod(
                this, [this, outcome] { Finish(outcome); }, Qt::QueuedConnection);
        });
    return true;
}

void WKRN_InkPresettingExport::Cancel()
{
    m_Stop = true;
    if (m_CancelButton)
        m_CancelButton->setEnabled(false);
}

void WKRN_InkPresettingExport::ShowProgress()
{
    const std::uint64_t total = m_Total.load(), done = m_Done.load();
    const int permille = total == 0 ? 0 : int(std::min<std::uint64_t>(done * 1000 / total, 1000));
    if (m_Bar)
        m_Bar->setValue(permille);
    m_Window.HostWindow().statusBar()->showMessage(WKRN_StringTable::Load(IDS_PPF_PROGRESS)
                                                       .arg(QFileInfo(m_Path).fileName())
                                                       .arg(permille / 10));
}

void WKRN_InkPresettingExport::RemoveProgress()
{
    m_Timer.stop();
    delete m_Bar.data();
    delete m_CancelButton.data();
}

void WKRN_InkPresettingExport::Finish(const IMPN_PpfExport::Outcome& outcome)
{
    if (m_thread.joinable())
        m_thread.join();
    m_Export.reset();
    m_Pool.reset();
    RemoveProgress();
    m_Window.HostWindow().statusBar()->clearMessage();

    using Status = IMPN_PpfExport::Outcome::Status;
    const QString title = WKRN_StringTable::Load(IDS_PPF_EXPORT_TITLE);
    Result result = Result::Written;
    switch (outcome.status)
    {
    case Status::Written:
        m_Window.HostWindow().statusBar()->showMessage(
            WKRN_StringTable::Load(IDS_PPF_WRITTEN).arg(m_Path));
        if (!outcome.warnings.empty())
        {
            QStringList lines;
            for (std::size_t k = 0; k < outcome.warnings.size() && int(k) < kTilesNamed; ++k)
                lines << QString::fromStdString(outcome.warnings[k]);
            if (outcome.warnings.size() > std::size_t(kTilesNamed))
                lines << WKRN_StringTable::Load(IDS_PPF_MORE_TILES)
                             .arg(qulonglong(outcome.warnings.size() - kTilesNamed));
            WTLU_MessageBox::ShowWarning(title,
                                         WKRN_StringTable::Load(IDS_PPF_UNREADABLE_TILES)
                                             .arg(m_Path)
                                             .arg(qulonglong(outcome.warnings.size())),
                                         lines.join(QLatin1Char('\n')), &m_Window.HostWindow());
        }
        break;
    case Status::Cancelled:
        result = Result::Cancelled;
        m_Window.HostWindow().statusBar()->showMessage(WKRN_StringTable::Load(IDS_PPF_CANCELLED));
        break;
    case Status::Failed:
        result = Result::Failed;
        WTLU_MessageBox::ShowError(title, WKRN_StringTable::Load(IDS_PPF_FAILED).arg(m_Path),
                                   QString::fromStdString(outcome.reason), &m_Window.HostWindow());
        break;
    }
    emit Finished(result, m_Path);
}
