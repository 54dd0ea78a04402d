#include "WKRN/sheet/WKRN_SheetWindow.h"

#include "WKRN/app/WKRN_AboutDialog.h"
#include "WKRN/app/WKRN_Help.h"
#include "WKRN/app/WKRN_Icons.h"
#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_Language.h"
#include "WKRN/app/WKRN_StringTable.h"
#include "WKRN/browser/WKRN_RegistryWindow.h"
#include "WKRN/compare/WKRN_CompareMode.h"
#include "WKRN/coverage/WKRN_InkCoverageTools.h"
#include "WKRN/files/WKRN_AddFileDialog.h"
#include "WKRN/files/WKRN_UnreadableFiles.h"
#include "WKRN/palettes/WKRN_EditColorDialog.h"
#include "WKRN/palettes/WKRN_MeasurementFormat.h"
#include "WKRN/palettes/WKRN_SheetWindowPalettes.h"
#include "WKRN/preferences/WKRN_Preferences.h"
#include "WKRN/preferences/WKRN_PreferencesApplied.h"
#include "WKRN/preferences/WKRN_PreferencesDialog.h"
#include "WKRN/press/WKRN_InkPresettingExport.h"
#include "WKRN/sheet/WKRN_CommandTable.h"
#include "WKRN/sheet/WKRN_SheetView.h"
#include "WKRN/sheet/WKRN_SheetWindowCommands.h"
#include "WKRN/sheet/WKRN_StatusPanes.h"

#include "GLIB/GLIB_String.h"
#include "IMPN/IMPN_Sheet.h"
#include "WTLU/WTLU_MessageEvent.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMetaObject>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>
#include <cmath>

namespace
{
constexpr int kFixedWindowItems = 11;
constexpr int kJobNameLimit = 64;

// "%i" placeholders filled in order, as the printf family does for this format.
QString FormatIntegers(QString format, std::initializer_list<long long> values)
{
    for (long long value : values)
    {
        const qsizetype at = format.indexOf(QStringLiteral("%i"));
        if (at < 0)
            break;
        format.replace(at, 2, QString::number(value));
    }
    return format;
}

bool IsPaletteId(int id)
{
    return id == ID_WINDOW_NAVIGATION || id == ID_WINDOW_SEPARATIONS || id == ID_WINDOW_MEASUREMENT;
}
} // namespace

WKRN_SheetWindow::WKRN_SheetWindow(int identity, QObject* application)
    : m_identity(identity), m_application(application)
{
    setObjectName(QStringLiteral("WKRN_SheetWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(WKRN_Icons::Program());
    setWindowTitle(MenuText());
    BuildMenus();
    BuildToolBar();
    statusBar()->setObjectName(QStringLiteral("WKRN_StatusBar_59393"));
    m_panes = new WKRN_StatusPanes(statusBar());
    m_view = new WKRN_SheetView(this);
    m_view->setObjectName(QStringLiteral("WKRN_ClientView"));
    m_view->SetNoticeReceiver(this);
    setCentralWidget(m_view);
    m_paletteSet = std::make_unique<WKRN_SheetWindowPalettes>(*this);
    m_commands = std::make_unique<WKRN_SheetWindowCommands>(*this, *m_view);
    InstallBuiltInCommands();
    // New overlay and navigation colours repaint everything at once; the inks keep their colours.
    // A new tile memory budget takes effect at once too.
    connect(&WKRN_PreferencesApplied::Instance(), &WKRN_PreferencesApplied::Applied, this,
            [this]
            {
                m_view->FollowPreferences();
                if (m_sheet)
                    m_view->Redraw();
                if (QWidget* navigation = Palette(ID_WINDOW_NAVIGATION))
                    navigation->update();
            });
    m_commands->Install();
    m_inkCoverage = std::make_unique<WKRN_InkCoverageTools>(*this, *m_view);
    m_inkCoverage->Install();
    m_compare = std::make_unique<WKRN_CompareMode>(*this, *m_view);
    m_compare->Install();
    m_inkPresetting = std::make_unique<WKRN_InkPresettingExport>(*this);
    m_inkPresetting->Install();
    UpdateCommandState();
}

WKRN_SheetWindow::~WKRN_SheetWindow()
{
    // The palette frames go with the window's children; nothing of theirs may reach the palette
    // set after it.
    m_paletteSet.reset();
}

QString WKRN_SheetWindow::JobNameOf(const IMPN_Sheet& sheet)
{
    QString suffix = FormatIntegers(WKRN_StringTable::Load(IDS_JOB_NAME_FORMAT),
                                    {sheet.GetSignatureNumber(), sheet.GetWebNumber()});
    suffix.truncate(kJobNameLimit);
    return QString::fromStdWString(ToWide(sheet.GetTitle())) + suffix;
}

QString WKRN_SheetWindow::JobName() const
{
    return m_sheet ? JobNameOf(*m_sheet) : QString();
}

QString WKRN_SheetWindow::MenuText() const
{
    // An empty job window has no job name; it goes by the program's name.
    return m_sheet ? JobName() : WKRN_StringTable::Load(IDS_EMPTY_JOB);
}

QLabel* WKRN_SheetWindow::WorkStylePane() const
{
    return m_panes->WorkStylePane();
}

QLabel* WKRN_SheetWindow::ZoomPane() const
{
    return m_panes->ZoomPane();
}

QLabel* WKRN_SheetWindow::CapsPane() const
{
    return m_panes->CapsPane();
}

void WKRN_SheetWindow::BuildMenus()
{
    QMenuBar* bar = menuBar();
    for (int i = 0; i < WKRN_CommandTable::kMenuCount; ++i)
        m_menus.push_back(bar->addMenu(WKRN_CommandTable::MenuTitle(i)));

    std::map<std::pair<int, int>, QMenu*> submenus;
    for (const WKRN_CommandInfo& info : WKRN_CommandTable::Entries())
    {
        QMenu* menu = m_menus[info.menu];
        if (info.submenu >= 0)
        {
            QMenu*& sub = submenus[{info.menu, info.submenu}];
            if (sub == nullptr)
                sub = menu->addMenu(WKRN_CommandTable::SubmenuTitle(info.submenu));
            menu = sub;
        }
        if (info.id == 0)
        {
            menu->addSeparator();
            continue;
        }
        auto* action = new QAction(WKRN_CommandTable::MenuText(info), this);
        action->setData(info.id);
        action->setCheckable(info.checkable);
        action->setShortcuts(WKRN_CommandTable::Shortcuts(info));
        // Accelerators act while this window (or one of its palettes) is the active window.
        action->setShortcutContext(Qt::WindowShortcut);
        action->setStatusTip(WKRN_StringTable::CommandHelp(info.id));
        action->setToolTip(WKRN_StringTable::CommandTooltip(info.id));
        action->setIcon(WKRN_Icons::Command(info.id));
        action->setIconVisibleInMenu(false);
        const int id = info.id;
        connect(action, &QAction::triggered, this, [this, id] { Execute(id); });
        menu->addAction(action);
        addAction(action); // shortcuts work while the menu bar is hidden too
        m_actions[id] = action;
    }

    // The source clip path command has no menu item; it still has an action for its string and
    // for the job window's own use.
    auto* clip = new QAction(WKRN_StringTable::CommandTooltip(ID_SHEET_CLIP_PATH), this);
    clip->setData(int(ID_SHEET_CLIP_PATH));
    clip->setCheckable(true);
    clip->setStatusTip(WKRN_StringTable::CommandHelp(ID_SHEET_CLIP_PATH));
    connect(clip, &QAction::triggered, this, [this] { Execute(ID_SHEET_CLIP_PATH); });
    addAction(clip);
    m_actions[ID_SHEET_CLIP_PATH] = clip;
}

void WKRN_SheetWindow::BuildToolBar()
{
    m_toolBar = addToolBar(QString());
    m_toolBar->setObjectName(QStringLiteral("WKRN_ToolBar_0xE800"));
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->setMovable(false);
    m_toolBar->toggleViewAction()->setEnabled(false);
    for (int id : WKRN_CommandTable::ToolbarOrder())
    {
        if (id == 0)
            m_toolBar->addSeparator();
        else
            m_toolBar->addAction(m_actions.at(id));
    }
}

void WKRN_SheetWindow::InstallBuiltInCommands()
{
    m_handlers[ID_APP_EXIT] = [this] { PostToApplication(APPMSG_QUIT, 0, 0); };
    m_handlers[ID_FILE_CLOSE] = [this]
    { PostToApplication(APPMSG_CLOSE_JOB, 0, WTLU_MessageEvent::Handle(this)); };
    m_handlers[ID_WINDOW_CLOSE_ALL] = [this]
    { PostToApplication(APPMSG_CLOSE_ALL, 0, WTLU_MessageEvent::Handle(this)); };
    for (int id : {int(ID_WINDOW_CASCADE), int(ID_WINDOW_TILE_HORZ), int(ID_WINDOW_TILE_VERT)})
        m_handlers[id] = [this, id]
        { PostToApplication(APPMSG_ARRANGE, quintptr(id), WTLU_MessageEvent::Handle(this)); };
    // The window's own flags, not the bars' visibility: a window that is not shown yet has no
    // visible children, and its bars must still keep what the user chose.
    m_handlers[ID_VIEW_TOOLBAR] = [this]
    {
        m_toolBarShown = !m_toolBarShown;
        m_toolBar->setVisible(m_toolBarShown);
    };
    m_handlers[ID_VIEW_STATUS_BAR] = [this]
    {
        m_statusBarShown = !m_statusBarShown;
        statusBar()->setVisible(m_statusBarShown);
    };
    // The dialog sends the sheet it builds back here: shown in open mode (a new job window when
    // this one already shows a job), taken in place of this window's sheet in Add mode.
    m_handlers[ID_FILE_OPEN_PREVIEW] = [this]
    { WKRN_AddFileDialog::Run(this, WKRN_StringTable::Load(IDS_OPEN_FILES_TITLE), {}); };
    m_handlers[ID_FILE_ADD_PREVIEW] = [this]
    { WKRN_AddFileDialog::Run(this, WKRN_StringTable::Load(IDS_ADD_FILES_TITLE), m_sheet); };
    // Every job window refreshes its colours after the custom colours were edited.
    m_handlers[ID_EDIT_CUSTOM_COLORS] = [this]
    {
        if (WKRN_EditColorDialog::Run(this))
            PostToApplication(APPMSG_CUSTOM_COLOURS_EDITED, 0, 0);
    };
    m_handlers[ID_FILE_JOB_BROWSER] = [this] { WKRN_RegistryWindow::ShowFor(this, m_application); };
    m_handlers[ID_HELP_CONTENTS] = [this] { WKRN_Help::Show(this); };
    m_handlers[ID_APP_ABOUT] = [this] { WKRN_AboutDialog::Run(this); };
    m_handlers[ID_EDIT_PREFERENCES] = [this] { WKRN_PreferencesDialog::Run(this); };
}

void WKRN_SheetWindow::SetCommandHandler(int commandId, std::function<void()> handler)
{
    if (handler)
        m_handlers[commandId] = std::move(handler);
    else
        m_handlers.erase(commandId);
    UpdateCommandState();
}

bool WKRN_SheetWindow::IsEnabled(int commandId) const
{
    // The clip path command is a job command that the table leaves to the window.
    const bool byTable = commandId == ID_SHEET_CLIP_PATH
                             ? ShowsSheet()
                             : WKRN_CommandTable::EnabledFor(commandId, ShowsSheet());
    return byTable && m_handlers.count(commandId) != 0 &&
           (m_commands == nullptr || m_commands->Allows(commandId));
}

void WKRN_SheetWindow::WhenColoursChange(QObject* context, std::function<void()> notice)
{
    connect(this, &WKRN_SheetWindow::ColoursChanged, context, std::move(notice));
}

void WKRN_SheetWindow::WhenSheetShown(QObject* context, std::function<void()> notice)
{
    connect(this, &WKRN_SheetWindow::SheetShown, context, std::move(notice));
}

void WKRN_SheetWindow::UpdateCommandState()
{
    for (auto& [id, action] : m_actions)
    {
        const bool enabled = IsEnabled(id);
        if (action->isEnabled() != enabled)
            action->setEnabled(enabled);
    }
    m_actions.at(ID_VIEW_TOOLBAR)->setChecked(m_toolBarShown);
    m_actions.at(ID_VIEW_STATUS_BAR)->setChecked(m_statusBarShown);
    if (m_commands)
        m_commands->UpdateChecks();
    if (m_inkCoverage)
        m_inkCoverage->UpdateChecks();
    if (m_panes && m_view)
        m_panes->SetZoomLevel(ShowsSheet() ? m_view->GetLevel() : -1);
}

QAction* WKRN_SheetWindow::Action(int commandId) const
{
    const auto it = m_actions.find(commandId);
    if (it != m_actions.end())
        return it->second;
    for (QAction* item : m_windowItems)
        if (item->data().toInt() == commandId)
            return item;
    return nullptr;
}

QMenu* WKRN_SheetWindow::Menu(int index) const
{
    return index >= 0 && index < int(m_menus.size()) ? m_menus[index] : nullptr;
}

void WKRN_SheetWindow::SetPalette(int paletteId, QWidget* palette)
{
    if (!IsPaletteId(paletteId))
        return;
    m_paletteSet->SetPalette(paletteId, palette);
    UpdateCommandState();
}

QWidget* WKRN_SheetWindow::Palette(int paletteId) const
{
    return m_paletteSet ? m_paletteSet->Receiver(paletteId) : nullptr;
}

QWidget* WKRN_SheetWindow::PaletteWindow(int paletteId) const
{
    return m_paletteSet ? m_paletteSet->Window(paletteId) : nullptr;
}

QMenu* WKRN_SheetWindow::createPopupMenu()
{
    return nullptr;
}

void WKRN_SheetWindow::Execute(int commandId)
{
    if (m_actions.count(commandId) == 0)
    {
        // Not a command of the table: a job window's item of the Window menu.
        if (commandId >= WKRN_FIRST_JOB_ID)
            PostToApplication(APPMSG_ACTIVATE_JOB, quintptr(commandId), 0);
        return;
    }
    QAction* action = Action(commandId);
    if (action == nullptr || !action->isEnabled())
        return;
    const auto it = m_handlers.find(commandId);
    if (it != m_handlers.end())
    {
        // A copy: the handler may replace itself.
        const std::function<void()> handler = it->second;
        handler();
    }
    UpdateCommandState();
}

void WKRN_SheetWindow::PostToApplication(int message, quintptr wParam, qintptr lParam)
{
    WTLU_MessageEvent::Post(m_application, message, wParam, lParam);
}

void WKRN_SheetWindow::ShowSheet(const IMPN_SheetReference& sheet)
{
    if (!sheet)
        return;
    if (m_sheet)
    {
        WTLU_MessageEvent::Post(m_application, APPMSG_OPEN_JOB, 0, 0, sheet);
        return;
    }
    TakeSheet(sheet);
    m_paletteSet->Create(m_sheet);
    if (isMinimized())
        showNormal();
    emit SheetShown();
}

/* The view fits the sheet to its own size; a window that is not shown yet has no final size, so
   the fit is done again when it first appears. */
void WKRN_SheetWindow::TakeSheet(const IMPN_SheetReference& sheet)
{
    if (m_inkCoverage)
        m_inkCoverage->SheetChanged();
    if (m_compare)
        m_compare->SheetChanged();
    const QString before = MenuText();
    m_sheet = sheet;
    m_view->SetSheet(m_sheet.Get());
    // Files that showing the sheet could not read are named once the window is on the screen,
    // over it, while it shows what could be read.
    QMetaObject::invokeMethod(
        this,
        [this, shown = m_sheet.Get()]
        {
            if (m_sheet.Get() == shown && !m_closed)
                WKRN_UnreadableFiles::Report(this, *m_sheet);
        },
        Qt::QueuedConnection);
    m_fitWhenShown = !isVisible() && m_view->GetPreferences().zoomToFitWindowOnOpen;
    setWindowTitle(WKRN_StringTable::Load(IDS_CAPTION_PREFIX) + JobName());
    m_panes->SetWorkStyle(m_sheet->GetWorkStyle());
    UpdateCommandState();
    if (MenuText() != before)
        RefreshWindowMenus(m_application);
}

/* Every job window of the application lists them all, in the order they were opened (their
   identities grow with it). */
void WKRN_SheetWindow::RefreshWindowMenus(QObject* application)
{
    std::vector<WKRN_SheetWindow*> jobs;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* job = qobject_cast<WKRN_SheetWindow*>(widget))
            if (job->m_application == application && !job->m_closed)
                jobs.push_back(job);
    std::sort(jobs.begin(), jobs.end(),
              [](const WKRN_SheetWindow* a, const WKRN_SheetWindow* b)
              { return a->Identity() < b->Identity(); });
    std::vector<WindowItem> items;
    for (const WKRN_SheetWindow* job : jobs)
        items.push_back({job->Identity(), job->MenuText()});
    for (WKRN_SheetWindow* job : jobs)
        job->RebuildWindowMenu(items);
}

void WKRN_SheetWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_fitWhenShown && m_sheet)
    {
        m_fitWhenShown = false;
        m_view->FitToWindow(true);
        UpdateCommandState();
    }
    UpdateCommandState();
}

/* The palettes start once the window itself is on its way to the screen: a window manager that
   met a palette before its job window could not keep the palette above it. */
void WKRN_SheetWindow::setVisible(bool visible)
{
    QMainWindow::setVisible(visible);
    if (visible && isVisible())
    {
        m_paletteSet->WindowShown();
        UpdateCommandState();
    }
}

void WKRN_SheetWindow::RebuildWindowMenu(const std::vector<WindowItem>& windows)
{
    QMenu* menu = m_menus[WKRN_CommandTable::kWindowMenu];
    const QList<QAction*> items = menu->actions();
    for (qsizetype i = kFixedWindowItems; i < items.size(); ++i)
    {
        menu->removeAction(items[i]);
        if (items[i]->parent() == this)
            items[i]->deleteLater();
    }
    m_windowItems.clear();
    for (const WindowItem& window : windows)
    {
        auto* item = new QAction(window.text, this);
        item->setData(window.id);
        item->setCheckable(true);
        item->setChecked(window.id == m_identity);
        const int id = window.id;
        connect(item, &QAction::triggered, this, [this, id] { Execute(id); });
        menu->addAction(item);
        m_windowItems.push_back(item);
    }
}

void WKRN_SheetWindow::RefreshColours()
{
    emit ColoursChanged();
    if (m_sheet)
        m_view->Redraw();
    RedrawThumbnail();
}

/* The navigation palette's thumbnail shows the inks as the view does; it is made again from the
   separations when it paints. */
void WKRN_SheetWindow::RedrawThumbnail()
{
    if (QWidget* navigation = Palette(ID_WINDOW_NAVIGATION))
        navigation->update();
}

void WKRN_SheetWindow::RelayToPalette(int paletteId, const WTLU_MessageEvent& message,
                                      int asMessage)
{
    WTLU_MessageEvent::Send(Palette(paletteId), asMessage, message.WParam(), message.LParam(),
                            message.Payload());
}

/* Without a measurement palette the values go to the message pane, in the preferred unit. */
void WKRN_SheetWindow::ShowMeasurement(const WTLU_MessageEvent& message)
{
    if (QWidget* palette = Palette(ID_WINDOW_MEASUREMENT))
    {
        WTLU_MessageEvent::Send(palette, JOBMSG_MEASUREMENT, message.WParam(), message.LParam(),
                                message.Payload());
        return;
    }
    std::vector<double> values;
    if (const auto* copy = std::any_cast<std::vector<double>>(&message.Payload()))
        values = *copy;
    else
    {
        if (message.WParam() != 0)
        {
            const auto* first = reinterpret_cast<const double*>(message.WParam());
            values.assign(first, first + 2);
        }
        if (message.LParam() != 0)
        {
            const auto* second = reinterpret_cast<const double*>(message.LParam());
            values.insert(values.end(), second, second + 2);
        }
    }
    if (values.size() < 2)
        return;
    const WKRN_PreferenceValues& preferences = WKRN_Preferences::Current();
    const int unit =
        std::clamp(preferences.PreferredLinearUnits, 0, WKRN_Preferences::kUnitCount - 1);
    const int linear = preferences.LinearUnitPrecision;
    const WKRN_MeasurementFormat format = WKRN_MeasurementFormat::OfRun();
    QStringList parts{format.Pair(values[0], values[1], unit, linear)};
    if (values.size() >= 4)
    {
        const auto measure = WKRN_MeasurementFormat::MeasureOf(values[2], values[3]);
        parts << format.Pair(values[2], values[3], unit, linear)
              << format.DistanceAndAngle(measure.distance, measure.angle, unit, linear,
                                         preferences.AngularUnitPrecision);
    }
    // Values nobody can show leave the pane as it was.
    if (std::any_of(parts.begin(), parts.end(), [](const QString& part) { return part.isEmpty(); }))
        return;
    statusBar()->showMessage(parts.join(QStringLiteral("   ")));
}

/* The progress shares the message pane with the measurements and readings; clearing it takes
   away only its own text, never a reading shown since. */
void WKRN_SheetWindow::ShowPaintProgress(quintptr done, qintptr needed)
{
    if (needed <= 0)
    {
        if (!m_paintProgress.isEmpty() && statusBar()->currentMessage() == m_paintProgress)
            statusBar()->clearMessage();
        m_paintProgress.clear();
        return;
    }
    m_paintProgress = WKRN_StringTable::Load(IDS_PAINT_PROGRESS)
                          .arg(qulonglong(std::min<quintptr>(done, quintptr(needed))))
                          .arg(qlonglong(needed));
    statusBar()->showMessage(m_paintProgress);
}

bool WKRN_SheetWindow::HandleMessage(const WTLU_MessageEvent& message)
{
    switch (message.Message())
    {
    case JOBMSG_SHOW_SHEET:
        if (const auto* sheet = std::any_cast<IMPN_SheetReference>(&message.Payload()))
            ShowSheet(*sheet);
        return true;
    case JOBMSG_SHOW_SHEETS:
        if (const auto* sheets =
                std::any_cast<std::vector<IMPN_SheetReference>>(&message.Payload()))
            for (const IMPN_SheetReference& sheet : *sheets)
                ShowSheet(sheet);
        return true;
    case JOBMSG_SHEET_REBUILT:
        // Only a window that shows a job has one to replace.
        if (const auto* sheet = std::any_cast<IMPN_SheetReference>(&message.Payload()))
            if (*sheet && m_sheet)
            {
                TakeSheet(*sheet);
                m_paletteSet->GiveSheet(m_sheet);
            }
        return true;
    case JOBMSG_VISIBLE_AREA:
    {
        const int level = m_view->GetLevel();
        WTLU_MessageEvent::Send(Palette(ID_WINDOW_NAVIGATION), JOBMSG_ZOOM_CHANGED,
                                quintptr(level) << 16 | quintptr(level), message.LParam(),
                                message.Payload());
        m_inkCoverage->ViewChanged();
        m_compare->ViewChanged();
        return true;
    }
    case JOBMSG_ZOOM_CHANGED:
        RelayToPalette(ID_WINDOW_NAVIGATION, message, JOBMSG_ZOOM_CHANGED);
        UpdateCommandState();
        return true;
    case JOBMSG_PAN_REQUEST:
        WTLU_MessageEvent::Send(m_view, JOBMSG_PAN_REQUEST, message.WParam(), message.LParam(),
                                message.Payload());
        return true;
    case JOBMSG_ZOOM_REQUEST:
        WTLU_MessageEvent::Send(m_view, JOBMSG_ZOOM_REQUEST, message.WParam(), message.LParam(),
                                message.Payload());
        UpdateCommandState();
        return true;
    case JOBMSG_CUSTOM_COLOUR_STORED:
        PostToApplication(APPMSG_COLOURS_CHANGED, 0, 0);
        return true;
    case JOBMSG_SEPARATION_COLOUR:
    case JOBMSG_SEPARATION_VISIBILITY:
    case JOBMSG_SURFACE_OPACITY:
        if (m_sheet)
            m_view->Redraw();
        RedrawThumbnail();
        return true;
    case JOBMSG_POPUP_STARTED:
        m_popUpInProgress = true;
        return true;
    case JOBMSG_POPUP_ENDED:
        m_popUpInProgress = false;
        return true;
    case JOBMSG_SHOW_PALETTE:
        m_paletteSet->SetShown(int(message.WParam()), true);
        UpdateCommandState();
        return true;
    case JOBMSG_MEASUREMENT:
        ShowMeasurement(message);
        return true;
    case JOBMSG_PAINT_PROGRESS:
        ShowPaintProgress(message.WParam(), message.LParam());
        return true;
    case JOBMSG_PALETTE_CLOSED:
        if (IsPaletteId(int(message.WParam())))
            if (QAction* item = Action(int(message.WParam())))
                item->setChecked(false);
        return true;
    case JOBMSG_PALETTE_ACTIVATED:
        m_paletteSet->Reactivated();
        return true;
    case JOBMSG_PALETTE_DEACTIVATED:
        m_paletteSet->PaletteDeactivated(TopLevelByHandle(message.LParam()));
        return true;
    default:
        return m_inkCoverage && m_inkCoverage->HandleMessage(message);
    }
}

/* A window handle from a message is only compared with the windows that exist, never followed
   blindly. */
QWidget* WKRN_SheetWindow::TopLevelByHandle(qintptr handle) const
{
    if (handle == 0)
        return nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (WTLU_MessageEvent::Handle(window) == handle)
            return window;
    return nullptr;
}

bool WKRN_SheetWindow::event(QEvent* event)
{
    if (WTLU_MessageEvent::IsMessage(event) &&
        HandleMessage(static_cast<const WTLU_MessageEvent&>(*event)))
        return true;
    if (m_paletteSet && event->type() == QEvent::WindowActivate)
        m_paletteSet->Reactivated();
    else if (m_paletteSet && event->type() == QEvent::WindowDeactivate)
        m_paletteSet->JobDeactivated(QApplication::activeWindow());
    return QMainWindow::event(event);
}

void WKRN_SheetWindow::closeEvent(QCloseEvent* event)
{
    // The application window must know before the window goes: it may end the run or put an
    // empty job window in this one's place.
    m_closed = true;
    WTLU_MessageEvent::Send(m_application, APPMSG_JOB_CLOSED, 0, WTLU_MessageEvent::Handle(this));
    event->accept();
}
