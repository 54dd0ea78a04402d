#include "WKRN/app/WKRN_Tressida.h"

#include "WKRN/app/WKRN_Application.h"
#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/preferences/WKRN_Preferences.h"
#include "WKRN/preferences/WKRN_PreferencesDialog.h"
#include "WKRN/sheet/WKRN_SheetWindow.h"

#include "GLIB/GLIB_CommandLine.h"
#include "GLIB/GLIB_MainGuard.h"
#include "WTLU/WTLU_MessageEvent.h"
#include "WTLU/WTLU_WindowArrangement.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimerEvent>

#include <algorithm>

int WKRN_Tressida::s_nextIdentity = WKRN_FIRST_JOB_ID;

WKRN_Tressida::WKRN_Tressida(const QPixmap& splash)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint), m_splash(splash)
{
    setObjectName(QStringLiteral("WKRN_Tressida"));
    setWindowTitle(QString::fromLatin1(WKRN_INSTANCE_NAME));
    // The picture is painted whole; nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    if (!m_splash.isNull())
        setFixedSize(m_splash.deviceIndependentSize().toSize() + QSize(2, 2));
}

WKRN_Tressida::~WKRN_Tressida()
{
    WKRN_Preferences::SetStorePath({});
    // Job windows still open at the end of the run go with the application window, without
    // closing one by one.
    for (const QPointer<WKRN_SheetWindow>& job : m_jobs)
        delete job.data();
}

void WKRN_Tressida::StartSplash(bool ownArguments)
{
    m_ownArguments = ownArguments;
    if (m_splash.isNull())
    {
        // Without a picture there is nothing to show; the run goes on as after the splash.
        EndSplash();
        return;
    }
    if (QScreen* screen = QGuiApplication::primaryScreen())
    {
        QRect frame(QPoint(0, 0), size());
        frame.moveCenter(screen->geometry().center());
        move(frame.topLeft());
    }
    m_splashTimer = startTimer(SPLASH_MILLISECONDS);
    show();
    raise();
    activateWindow();
    repaint();
}

void WKRN_Tressida::EndSplash()
{
    const bool wasShowing = m_splashTimer != 0 || m_splash.isNull();
    if (m_splashTimer != 0)
    {
        killTimer(m_splashTimer);
        m_splashTimer = 0;
    }
    hide();
    if (wasShowing && !m_ownArguments)
        OpenJobWindow({}, std::nullopt, true);
    // Only once: later calls (a second Escape) change nothing.
    m_ownArguments = true;
}

bool WKRN_Tressida::ReceiveHandOver(const GLIB_HandOverRecord::Record& record)
{
    if (record.tag != COMMAND_LINE_HANDOVER)
        return false;
    if (!record.wellFormed)
        return true;
    std::vector<std::wstring> arguments = GLIB_CommandLine::Split(record.commandLine);
    if (arguments.size() <= 1)
        return true;
    arguments.erase(arguments.begin());
    switch (m_collector.Receive(arguments, m_ticks()))
    {
    case WKRN_PathCollector::Action::OpenNow:
        StopCollectTimer();
        OpenPendingFiles();
        break;
    case WKRN_PathCollector::Action::StartTimer:
        StartCollectTimer();
        break;
    case WKRN_PathCollector::Action::None:
        break;
    }
    return true;
}

void WKRN_Tressida::StartCollectTimer()
{
    StopCollectTimer();
    m_collectTimer = startTimer(COLLECT_MILLISECONDS);
}

void WKRN_Tressida::StopCollectTimer()
{
    if (m_collectTimer != 0)
    {
        killTimer(m_collectTimer);
        m_collectTimer = 0;
    }
}

void WKRN_Tressida::CollectTimerFired()
{
    if (m_collector.TimerFired(m_ticks()))
    {
        StopCollectTimer();
        OpenPendingFiles();
    }
    else if (!m_collector.Collecting())
    {
        StopCollectTimer();
    }
}

void WKRN_Tressida::OpenPendingFiles()
{
    const WKRN_OpenResult result = m_opener(m_collector.Pending());
    WKRN_JobOpener::ReportRejected(result.Rejected());

    std::size_t next = 0;
    // Empty job windows take the first sheets, in list order.
    for (WKRN_SheetWindow* job : JobWindows())
    {
        if (next == result.sheets.size())
            break;
        if (!job->ShowsSheet())
            WTLU_MessageEvent::Send(job, JOBMSG_SHOW_SHEET, 0, 0, result.sheets[next++]);
    }
    for (; next < result.sheets.size(); ++next)
        OpenJobWindow(result.sheets[next], std::nullopt, true);
    if (result.sheets.empty() && JobWindows().empty())
        OpenJobWindow({}, std::nullopt, true);
    else if (!result.sheets.empty())
        RefreshWindowMenus();
}

WKRN_SheetWindow* WKRN_Tressida::OpenJobWindow(const IMPN_SheetReference& sheet,
                                               const std::optional<QRect>& rect, bool refreshMenus)
{
    // Cascaded from the job window opened last, so that a new one never hides the others
    // exactly; the first fills the work area.
    WKRN_SheetWindow* previous = nullptr;
    for (WKRN_SheetWindow* job : JobWindows())
        if (job->isVisible() && !job->isMinimized())
            previous = job;
    const int identity = s_nextIdentity++;
    auto* job = new WKRN_SheetWindow(identity, this);
    if (rect)
    {
        job->setGeometry(*rect);
    }
    else
    {
        const QRect area =
            WTLU_WindowArrangement::WorkArea(previous ? static_cast<QWidget*>(previous) : this);
        WTLU_WindowArrangement::PlaceOuter(
            job, previous ? WTLU_WindowArrangement::NextCascade(
                                WTLU_WindowArrangement::OuterRect(previous), area,
                                WTLU_WindowArrangement::kCascadeStep)
                          : area);
    }
    m_jobs.emplace_back(job);
    if (sheet)
        job->ShowSheet(sheet);
    job->show();
    if (refreshMenus)
        RefreshWindowMenus();
    return job;
}

std::vector<WKRN_SheetWindow*> WKRN_Tressida::JobWindows() const
{
    std::vector<WKRN_SheetWindow*> jobs;
    for (const QPointer<WKRN_SheetWindow>& job : m_jobs)
        if (job)
            jobs.push_back(job.data());
    return jobs;
}

void WKRN_Tressida::RefreshWindowMenus()
{
    std::vector<WKRN_SheetWindow::WindowItem> items;
    const std::vector<WKRN_SheetWindow*> jobs = JobWindows();
    for (WKRN_SheetWindow* job : jobs)
        items.push_back({job->Identity(), job->MenuText()});
    for (WKRN_SheetWindow* job : jobs)
        job->RebuildWindowMenu(items);
}

WKRN_SheetWindow* WKRN_Tressida::FindWindow(qintptr handle) const
{
    // Handles are compared, never dereferenced, until they are known to be job windows.
    for (WKRN_SheetWindow* job : JobWindows())
        if (WTLU_MessageEvent::Handle(job) == handle)
            return job;
    return nullptr;
}

void WKRN_Tressida::Arrange(int commandId, qintptr requester)
{
    std::vector<QWidget*> windows;
    WKRN_SheetWindow* first = FindWindow(requester);
    if (first != nullptr)
        windows.push_back(first);
    for (WKRN_SheetWindow* job : JobWindows())
        if (job != first)
            windows.push_back(job);
    WTLU_WindowArrangement::Kind kind = WTLU_WindowArrangement::Kind::Cascade;
    if (commandId == ID_WINDOW_TILE_HORZ)
        kind = WTLU_WindowArrangement::Kind::TileHorizontally;
    else if (commandId == ID_WINDOW_TILE_VERT)
        kind = WTLU_WindowArrangement::Kind::TileVertically;
    else if (commandId != ID_WINDOW_CASCADE)
        return;
    WTLU_WindowArrangement::Arrange(windows, WTLU_WindowArrangement::WorkArea(first), kind);
}

void WKRN_Tressida::Activate(int commandId, qintptr handle)
{
    WKRN_SheetWindow* target = nullptr;
    if (handle != 0)
    {
        target = FindWindow(handle);
    }
    else if (commandId >= WKRN_FIRST_JOB_ID && commandId <= WKRN_LAST_ROUTED_JOB_ID)
    {
        for (WKRN_SheetWindow* job : JobWindows())
            if (job->Identity() == commandId)
                target = job;
    }
    if (target == nullptr)
        return;
    if (target->isMinimized())
        target->showNormal();
    target->raise();
    target->activateWindow();
}

void WKRN_Tressida::JobClosed(qintptr handle)
{
    WKRN_SheetWindow* closing = FindWindow(handle);
    if (closing == nullptr)
        return;
    if (JobWindows().size() == 1)
    {
        if (m_closeReplace || m_closeAll)
        {
            m_closeReplace = false;
            m_closeAll = false;
            OpenJobWindow({}, m_rememberedRect, false);
        }
        else
        {
            WTLU_MessageEvent::Send(this, APPMSG_QUIT, 0, 0);
        }
    }
    m_jobs.erase(std::remove_if(m_jobs.begin(), m_jobs.end(),
                                [closing](const QPointer<WKRN_SheetWindow>& job)
                                { return job.isNull() || job.data() == closing; }),
                 m_jobs.end());
    RefreshWindowMenus();
}

void WKRN_Tressida::SetPreferencesPath(const QString& path)
{
    WKRN_Preferences::SetStorePath(path);
}

void WKRN_Tressida::Quit()
{
    // The last chance to say so: the run's changes live nowhere else.
    const QString problem = WKRN_Preferences::WritePreferences();
    if (!problem.isEmpty())
        WKRN_PreferencesDialog::ShowNotSaved(problem, true, nullptr);
    if (m_quitAction)
        m_quitAction();
    else
        QCoreApplication::exit(0);
}

bool WKRN_Tressida::event(QEvent* event)
{
    if (!WTLU_MessageEvent::IsMessage(event) && event->type() != QEvent::Timer)
        return QWidget::event(event);
    // Exceptions must not cross the event loop: what escapes a message is reported as at the
    // program entry, and the run ends the same way.
    bool handled = false;
    const int completed = GLIB_RunMainGuarded(
        [&]() -> int
        {
            handled = WTLU_MessageEvent::IsMessage(event)
                          ? HandleMessage(static_cast<WTLU_MessageEvent*>(event))
                          : QWidget::event(event);
            return 1;
        },
        &WKRN_Application::ShowFailure);
    if (completed == 0)
    {
        QCoreApplication::exit(0);
        return true;
    }
    return handled;
}

bool WKRN_Tressida::HandleMessage(WTLU_MessageEvent* message)
{
    switch (message->Message())
    {
    case APPMSG_OPEN_JOB:
    {
        const auto* sheet = std::any_cast<IMPN_SheetReference>(&message->Payload());
        OpenJobWindow(sheet != nullptr ? *sheet : IMPN_SheetReference(), std::nullopt, true);
        return true;
    }
    case APPMSG_ARRANGE:
        Arrange(static_cast<int>(message->WParam()), message->LParam());
        return true;
    case APPMSG_ACTIVATE_JOB:
        Activate(static_cast<int>(message->WParam()), message->LParam());
        return true;
    case APPMSG_JOB_CLOSED:
        JobClosed(message->LParam());
        return true;
    case APPMSG_CLOSE_JOB:
        if (WKRN_SheetWindow* job = FindWindow(message->LParam()))
        {
            m_rememberedRect = job->geometry();
            m_closeReplace = true;
            QMetaObject::invokeMethod(job, &QWidget::close, Qt::QueuedConnection);
        }
        return true;
    case APPMSG_CLOSE_ALL:
        if (WKRN_SheetWindow* job = FindWindow(message->LParam()))
            m_rememberedRect = job->geometry();
        else if (!JobWindows().empty())
            m_rememberedRect = JobWindows().front()->geometry();
        m_closeAll = true;
        for (WKRN_SheetWindow* job : JobWindows())
            QMetaObject::invokeMethod(job, &QWidget::close, Qt::QueuedConnection);
        return true;
    case APPMSG_QUIT:
        Quit();
        return true;
    case APPMSG_COLOURS_CHANGED:
    case APPMSG_CUSTOM_COLOURS_EDITED:
        for (WKRN_SheetWindow* job : JobWindows())
            job->RefreshColours();
        return true;
    default:
        return QWidget::event(message);
    }
}

void WKRN_Tressida::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::WindowText));
    if (!m_splash.isNull())
        painter.drawPixmap(1, 1, m_splash);
}

void WKRN_Tressida::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && SplashShowing())
    {
        EndSplash();
        return;
    }
    QWidget::keyPressEvent(event);
}

void WKRN_Tressida::mousePressEvent(QMouseEvent* event)
{
    if ((event->button() == Qt::LeftButton || event->button() == Qt::RightButton) &&
        SplashShowing())
    {
        EndSplash();
        return;
    }
    QWidget::mousePressEvent(event);
}

void WKRN_Tressida::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_splashTimer && m_splashTimer != 0)
        EndSplash();
    else if (event->timerId() == m_collectTimer && m_collectTimer != 0)
        CollectTimerFired();
    else
        QWidget::timerEvent(event);
}
