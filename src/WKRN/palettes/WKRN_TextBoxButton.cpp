#include "WKRN/palettes/WKRN_TextBoxButton.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

WKRN_TextBoxButton::WKRN_TextBoxButton(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::TabFocus);
}

void WKRN_TextBoxButton::SetTexts(const QStringList& texts)
{
    m_texts = texts;
    m_index = 0;
    setToolTip(Text());
    update();
}

bool WKRN_TextBoxButton::SetIndex(int index)
{
    if (index < 0 || index >= m_texts.size())
        return false;
    m_index = index;
    setToolTip(Text());
    update();
    return true;
}

QString WKRN_TextBoxButton::Text() const
{
    return m_index < m_texts.size() ? m_texts[m_index] : QString();
}

QSize WKRN_TextBoxButton::sizeHint() const
{
    return QSize(100, fontMetrics().height() + 6);
}

void WKRN_TextBoxButton::Advance(Qt::KeyboardModifiers modifiers)
{
    if (!m_texts.isEmpty())
        SetIndex((m_index + 1) % int(m_texts.size()));
    emit Clicked(modifiers);
}

void WKRN_TextBoxButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionFrame frame;
    frame.initFrom(this);
    frame.lineWidth = 1;
    frame.state |= QStyle::State_Sunken;
    painter.fillRect(rect(), palette().color(QPalette::Base));
    style()->drawPrimitive(QStyle::PE_FrameLineEdit, &frame, &painter, this);
    const QRect area = rect().adjusted(4, 1, -4, -1);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(area, Qt::AlignVCenter | Qt::AlignLeft,
                     fontMetrics().elidedText(Text(), Qt::ElideRight, area.width()));
    if (hasFocus())
    {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(1, 1, -2, -2));
    }
}

void WKRN_TextBoxButton::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void WKRN_TextBoxButton::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        Advance(event->modifiers());
}

void WKRN_TextBoxButton::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space)
    {
        Advance(event->modifiers());
        return;
    }
    QWidget::keyPressEvent(event);
}
