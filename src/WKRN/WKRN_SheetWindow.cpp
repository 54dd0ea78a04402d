#include "WKRN/WKRN_SheetWindow.h"

#include "WKRN/WKRN_AboutDialog.h"
#include "WKRN/WKRN_CommandTable.h"
#include "WKRN/WKRN_Help.h"
#include "WKRN/WKRN_Icons.h"
#include "WKRN/WKRN_Ids.h"
#include "WKRN/WKRN_StringTable.h"

#include "GLIB/GLIB_String.h"
#include "IMPN/IMPN_Sheet.h"
#include "WTLU/WTLU_MessageEvent.h"

#include <QAction>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

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
    BuildStatusBar();
    // Until a sheet view takes the client area, it names the job the window holds.
    auto* client = new QLabel(this);
    client->setObjectName(QStringLiteral("WKRN_ClientView"));
    client->setAlignment(Qt::AlignCenter);
    client->setAutoFillBackground(true);
    client->setBackgroundRole(QPalette::Dark);
    QFont font = client->font();
    font.setPointSizeF(font.pointSizeF() * 1.6);
    client->setFont(font);
    setCentralWidget(client);
    InstallBuiltInCommands();
    UpdateEnabling();
}

WKRN_SheetWindow::~WKRN_SheetWindow() = default;

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

void WKRN_SheetWindow::BuildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("WKRN_StatusBar_59393"));
    const QFontMetrics metrics(bar->font());
    m_workStylePane = new QLabel(bar);
    m_workStylePane->setObjectName(QStringLiteral("WKRN_WorkStylePane"));
    m_workStylePane->setToolTip(WKRN_StringTable::Load(IDS_WORKSTYLE_PANE));
    m_workStylePane->setFixedWidth(20);
    m_workStylePane->setAlignment(Qt::AlignCenter);
    m_zoomPane = new QLabel(bar);
    m_zoomPane->setObjectName(QStringLiteral("WKRN_ZoomPane"));
    m_zoomPane->setAlignment(Qt::AlignCenter);
    m_zoomPane->setFixedWidth(
        std::max(32, metrics.horizontalAdvance(WKRN_StringTable::Load(IDS_ZOOM_PANE_SIZE)) + 6));
    m_capsPane = new QLabel(bar);
    m_capsPane->setObjectName(QStringLiteral("WKRN_CapsPane"));
    m_capsPane->setAlignment(Qt::AlignCenter);
    m_capsPane->setFixedWidth(
        std::max(32, metrics.horizontalAdvance(WKRN_StringTable::Load(IDS_CAPS)) + 6));
    bar->addPermanentWidget(m_workStylePane);
    bar->addPermanentWidget(m_zoomPane);
    bar->addPermanentWidget(m_capsPane);
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
    m_handlers[ID_VIEW_TOOLBAR] = [this]
    {
        m_toolBar->setVisible(!m_toolBar->isVisible());
        m_actions.at(ID_VIEW_TOOLBAR)->setChecked(!m_toolBar->isHidden());
    };
    m_handlers[ID_VIEW_STATUS_BAR] = [this]
    {
        statusBar()->setVisible(!statusBar()->isVisible());
        m_actions.at(ID_VIEW_STATUS_BAR)->setChecked(!statusBar()->isHidden());
    };
    m_handlers[ID_HELP_CONTENTS] = [this] { WKRN_Help::Show(this); };
    m_handlers[ID_APP_ABOUT] = [this] { WKRN_AboutDialog::Run(this); };
    m_actions.at(ID_VIEW_TOOLBAR)->setChecked(true);
    m_actions.at(ID_VIEW_STATUS_BAR)->setChecked(true);
}

void WKRN_SheetWindow::SetCommandHandler(int commandId, std::function<void()> handler)
{
    if (handler)
        m_handlers[commandId] = std::move(handler);
    else
        m_handlers.erase(commandId);
    UpdateEnabling();
}

void WKRN_SheetWindow::UpdateEnabling()
{
    for (auto& [id, action] : m_actions)
        action->setEnabled(WKRN_CommandTable::EnabledFor(id, ShowsSheet()) &&
                           m_handlers.count(id) != 0);
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
    m_sheet = sheet;
    const QString name = JobName();
    setWindowTitle(WKRN_StringTable::Load(IDS_CAPTION_PREFIX) + name);
    if (auto* client = qobject_cast<QLabel*>(centralWidget()))
        client->setText(name);
    // Until the application window rebuilds the menu, the window lists at least itself.
    auto* own = new QAction(name, this);
    own->setData(m_identity);
    own->setCheckable(true);
    own->setChecked(true);
    connect(own, &QAction::triggered, this, [this] { Execute(m_identity); });
    m_menus[WKRN_CommandTable::kWindowMenu]->addAction(own);
    m_windowItems.push_back(own);
    m_workStylePane->setPixmap(WKRN_Icons::WorkStyle(m_sheet->GetWorkStyle()));
    UpdateEnabling();
    if (isMinimized())
        showNormal();
    emit SheetShown();
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
}

bool WKRN_SheetWindow::event(QEvent* event)
{
    if (WTLU_MessageEvent::IsMessage(event))
    {
        const auto* message = static_cast<WTLU_MessageEvent*>(event);
        switch (message->Message())
        {
        case JOBMSG_SHOW_SHEET:
            if (const auto* sheet = std::any_cast<IMPN_SheetReference>(&message->Payload()))
                ShowSheet(*sheet);
            return true;
        case JOBMSG_SHOW_SHEETS:
            if (const auto* sheets =
                    std::any_cast<std::vector<IMPN_SheetReference>>(&message->Payload()))
                for (const IMPN_SheetReference& sheet : *sheets)
                    ShowSheet(sheet);
            return true;
        case JOBMSG_CUSTOM_COLOUR_STORED:
            PostToApplication(APPMSG_COLOURS_CHANGED, 0, 0);
            return true;
        default:
            break;
        }
    }
    return QMainWindow::event(event);
}

void WKRN_SheetWindow::closeEvent(QCloseEvent* event)
{
    // The application window must know before the window goes: it may end the run or put an
    // empty job window in this one's place.
    WTLU_MessageEvent::Send(m_application, APPMSG_JOB_CLOSED, 0, WTLU_MessageEvent::Handle(this));
    event->accept();
}
