#include "WTLA/WTLA_PaletteFollower.h"

#include "WTLA/WTLA_PaletteFrame.h"
#include "WTLA/WTLA_PaletteLayout.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QMainWindow>
#include <QScopedValueRollback>

WTLA_PaletteFollower::WTLA_PaletteFollower(QMainWindow& window) : m_window(window)
{
    m_window.installEventFilter(this);
    WatchArea();
    m_area = WTLA_PaletteLayout::FloatingArea(m_window);
}

WTLA_PaletteFollower::~WTLA_PaletteFollower() = default;

void WTLA_PaletteFollower::AddFrame(WTLA_PaletteFrame* frame)
{
    if (frame == nullptr)
        return;
    m_frames.emplace_back(frame);
    frame->installEventFilter(this);
}

void WTLA_PaletteFollower::Anchor(bool leftEdge)
{
    m_left = leftEdge;
    WatchArea();
    m_area = WTLA_PaletteLayout::FloatingArea(m_window);
}

/* The central widget and, for a scroll area, its viewport: a resize of either (scroll bars, dock
   columns) moves the edge without moving the window. */
void WTLA_PaletteFollower::WatchArea()
{
    QWidget* central = m_window.centralWidget();
    if (central == m_watchedArea)
        return;
    m_watchedArea = central;
    if (central == nullptr)
        return;
    central->installEventFilter(this);
    if (auto* scrolling = qobject_cast<QAbstractScrollArea*>(central))
        scrolling->viewport()->installEventFilter(this);
}

QPoint WTLA_PaletteFollower::Edge(const QRect& area) const
{
    return m_left ? area.topLeft() : QPoint(area.left() + area.width(), area.top());
}

void WTLA_PaletteFollower::Follow()
{
    WatchArea();
    const QRect before = m_area;
    const QRect area = WTLA_PaletteLayout::FloatingArea(m_window);
    m_area = area;
    const QPoint delta = Edge(area) - Edge(before);
    const bool resized = area.size() != before.size();
    if (delta.isNull() && !resized)
        return;
    bool misfit = false;
    {
        QScopedValueRollback guard(m_moving, true);
        for (const QPointer<WTLA_PaletteFrame>& frame : m_frames)
        {
            if (!frame || !frame->isFloating())
                continue;
            const QRect outer = frame->frameGeometry();
            if (!delta.isNull())
                frame->move(frame->pos() + delta);
            if (resized && before.contains(outer) && !area.contains(outer.translated(delta)))
                misfit = true;
        }
    }
    emit PalettesMoved();
    if (misfit)
        emit PalettesNoLongerFit();
}

bool WTLA_PaletteFollower::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::Move && type != QEvent::Resize && type != QEvent::Show &&
        type != QEvent::Hide)
        return false;
    const bool isFrame = qobject_cast<WTLA_PaletteFrame*>(watched) != nullptr;
    if (isFrame)
    {
        if (!m_moving)
            emit PalettesMoved();
    }
    else if (type == QEvent::Move || type == QEvent::Resize)
    {
        Follow();
    }
    return false;
}
