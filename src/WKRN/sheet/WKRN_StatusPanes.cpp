#include "WKRN/sheet/WKRN_StatusPanes.h"

#include "WKRN/app/WKRN_Icons.h"
#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_StringTable.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <QtGui/qguiapplication_platform.h>

#include <dlfcn.h>

#include <algorithm>
#include <array>

namespace
{
const std::array<const char*, 13> kZoomTexts = {"8:1",   "4:1",   "2:1",  "1:1",  "1:2",
                                                "1:4",   "1:8",   "1:16", "1:32", "1:64",
                                                "1:128", "1:256", "1:512"};

// A pane as wide as its sizing text, never narrower than the documented 32 pixels.
int PaneWidth(const QStatusBar* bar, const QString& sizingText)
{
    const QFontMetrics metrics(bar->font());
    return std::max(WKRN_StatusPanes::kMinimumPaneWidth, metrics.horizontalAdvance(sizingText) + 6);
}

WKRN_StatusPanes::CapsSource& Source()
{
    static WKRN_StatusPanes::CapsSource source = &WKRN_StatusPanes::PlatformCapsLock;
    return source;
}
} // namespace

WKRN_StatusPanes::WKRN_StatusPanes(QStatusBar* bar) : QObject(bar), m_bar(bar)
{
    m_workStyle = new QLabel(bar);
    m_workStyle->setObjectName(QStringLiteral("WKRN_WorkStylePane"));
    m_workStyle->setToolTip(WKRN_StringTable::Load(IDS_WORKSTYLE_PANE));
    m_workStyle->setFixedWidth(kWorkStyleWidth);
    m_workStyle->setAlignment(Qt::AlignCenter);
    m_zoom = new QLabel(bar);
    m_zoom->setObjectName(QStringLiteral("WKRN_ZoomPane"));
    m_zoom->setAlignment(Qt::AlignCenter);
    m_zoom->setFixedWidth(PaneWidth(bar, WKRN_StringTable::Load(IDS_ZOOM_PANE_SIZE)));
    m_caps = new QLabel(bar);
    m_caps->setObjectName(QStringLiteral("WKRN_CapsPane"));
    m_caps->setAlignment(Qt::AlignCenter);
    m_caps->setFixedWidth(PaneWidth(bar, WKRN_StringTable::Load(IDS_CAPS)));
    bar->addPermanentWidget(m_workStyle);
    bar->addPermanentWidget(m_zoom);
    bar->addPermanentWidget(m_caps);
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
    UpdateCaps();
}

WKRN_StatusPanes::~WKRN_StatusPanes()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

void WKRN_StatusPanes::SetWorkStyle(int workStyle)
{
    m_workStyle->setPixmap(WKRN_Icons::WorkStyle(workStyle));
    m_workStyle->setProperty("iconId", WKRN_Icons::WorkStyleIconId(workStyle));
}

void WKRN_StatusPanes::ClearWorkStyle()
{
    m_workStyle->clear();
    m_workStyle->setProperty("iconId", QVariant());
}

QString WKRN_StatusPanes::ZoomText(int level)
{
    if (level < 0 || level >= int(kZoomTexts.size()))
        return {};
    return QString::fromLatin1(kZoomTexts[std::size_t(level)]);
}

void WKRN_StatusPanes::SetZoomLevel(int level)
{
    const QString text = ZoomText(level);
    if (m_zoom->text() != text)
        m_zoom->setText(text);
}

void WKRN_StatusPanes::UpdateCaps()
{
    m_capsUpdatePending = false;
    const QString text = Source() && Source()() ? WKRN_StringTable::Load(IDS_CAPS) : QString();
    if (m_caps->text() != text)
        m_caps->setText(text);
}

void WKRN_StatusPanes::SetCapsSource(CapsSource source)
{
    Source() = source ? std::move(source) : CapsSource(&WKRN_StatusPanes::PlatformCapsLock);
}

/* The X11 keyboard indicators, asked through the library the X11 platform plugin has already
   loaded; nothing is linked for it, so the viewer still starts where X11 is absent. Indicator 0
   is Caps Lock on the usual keymaps. */
bool WKRN_StatusPanes::PlatformCapsLock()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 == nullptr || x11->display() == nullptr)
        return false;
    using IndicatorState = int (*)(Display*, unsigned int, unsigned int*);
    static IndicatorState query = []() -> IndicatorState
    {
        void* library = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
        if (library == nullptr)
            return nullptr;
        return reinterpret_cast<IndicatorState>(dlsym(library, "XkbGetIndicatorState"));
    }();
    if (query == nullptr)
        return false;
    constexpr unsigned int kUseCoreKeyboard = 0x0100;
    unsigned int state = 0;
    if (query(x11->display(), kUseCoreKeyboard, &state) != 0)
        return false;
    return (state & 1u) != 0;
}

/* Several keys may arrive in one turn of the event loop; one read after them is enough. */
void WKRN_StatusPanes::ScheduleCapsUpdate()
{
    if (m_capsUpdatePending)
        return;
    m_capsUpdatePending = true;
    QTimer::singleShot(0, this, &WKRN_StatusPanes::UpdateCaps);
}

bool WKRN_StatusPanes::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type())
    {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (m_bar->window()->isActiveWindow())
            ScheduleCapsUpdate();
        break;
    case QEvent::WindowActivate:
        if (watched == m_bar->window())
            ScheduleCapsUpdate();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
