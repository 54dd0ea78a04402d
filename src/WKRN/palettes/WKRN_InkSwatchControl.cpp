#include "WKRN/palettes/WKRN_InkSwatchControl.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

WKRN_InkSwatchControl::WKRN_InkSwatchControl(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
}

void WKRN_InkSwatchControl::SetColor(const IMPN_ColorRecord& color)
{
    m_color = color;
    update();
}

QColor WKRN_InkSwatchControl::ShownColor() const
{
    const IMPN_ColorBGR shown = m_color.Shown();
    return QColor(shown[2], shown[1], shown[0]);
}

void WKRN_InkSwatchControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect box = rect().adjusted(1, 1, -2, -2);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.setBrush(ShownColor());
    painter.drawRect(box);
    if (m_color.isDefault)
    {
        // Black or white, whichever stands out from the swatch.
        painter.setPen(ShownColor().lightness() > 128 ? Qt::black : Qt::white);
        painter.drawLine(box.bottomLeft() + QPoint(2, -2), box.topRight() + QPoint(-2, 2));
    }
    if (hasFocus())
    {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void WKRN_InkSwatchControl::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void WKRN_InkSwatchControl::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        emit Clicked(event->modifiers());
}

void WKRN_InkSwatchControl::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter)
    {
        emit Clicked(event->modifiers());
        return;
    }
    QWidget::keyPressEvent(event);
}
