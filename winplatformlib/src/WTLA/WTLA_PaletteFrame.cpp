#include "WTLA/WTLA_PaletteFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QTimer>

WTLA_PaletteFrame::WTLA_PaletteFrame(const QString& title, QWidget* content, QWidget* parent)
    : QDockWidget(title, parent)
{
    setObjectName(QStringLiteral("WTLA_PaletteFrame"));
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                QDockWidget::DockWidgetFloatable);
    // A palette that comes back with its job window must not take the keyboard from it.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWidget(content);
}

QSize WTLA_PaletteFrame::PreferredSize() const
{
    // The dock widget's own hint is the content's hint plus its caption; a floating frame adds
    // what the window system draws around it.
    QSize size = sizeHint().expandedTo(minimumSizeHint());
    if (isFloating() && isWindow())
        size += frameGeometry().size() - geometry().size();
    return size;
}

QSize WTLA_PaletteFrame::MinimumSize() const
{
    QSize size = minimumSizeHint().expandedTo(minimumSize());
    if (isFloating() && isWindow())
        size += frameGeometry().size() - geometry().size();
    return size;
}

void WTLA_PaletteFrame::PlaceFloating(const QRect& outer)
{
    const QSize border = frameGeometry().size() - geometry().size();
    move(outer.topLeft());
    resize((outer.size() - border).expandedTo(minimumSizeHint()));
}

/* A floating frame closed while it is the active window hands the activation to its frame
   window, as an owned tool window does: otherwise the keyboard would go to no window at all. */
void WTLA_PaletteFrame::closeEvent(QCloseEvent* event)
{
    QDockWidget::closeEvent(event);
    if (!event->isAccepted())
        return;
    QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (owner && isWindow() && QApplication::activeWindow() == this)
        owner->activateWindow();
    emit ClosedByUser();
}

bool WTLA_PaletteFrame::event(QEvent* event)
{
    if (isWindow() && isFloating())
    {
        if (event->type() == QEvent::Show)
        {
            m_placed = pos();
            m_shown.start();
        }
        else if (event->type() == QEvent::Move && !event->spontaneous())
        {
            m_placed = pos();
        }
        else if (event->type() == QEvent::Move && m_shown.isValid() &&
                 m_shown.elapsed() < kHoldMilliseconds && pos() != m_placed)
        {
            const QPoint placed = m_placed;
            QTimer::singleShot(0, this,
                               [this, placed]
                               {
                                   if (isWindow() && isFloating() && pos() != placed)
                                       move(placed);
                               });
        }
    }
    const bool handled = QDockWidget::event(event);
    if (event->type() == QEvent::WindowActivate)
        emit Activated();
    else if (event->type() == QEvent::WindowDeactivate)
        emit Deactivated(QApplication::activeWindow());
    return handled;
}
