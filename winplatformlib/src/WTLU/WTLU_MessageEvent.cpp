#include "WTLU/WTLU_MessageEvent.h"

#include <QCoreApplication>

#include <stdexcept>

WTLU_MessageEvent::WTLU_MessageEvent(int message, quintptr wParam, qintptr lParam, std::any payload)
    : QEvent(TypeOf(message)), m_wParam(wParam), m_lParam(lParam), m_payload(std::move(payload))
{
}

QEvent::Type WTLU_MessageEvent::TypeOf(int message)
{
    // Below QEvent::User the numbers belong to Qt's own events; a private message there would be
    // taken for a paint or a key press.
    if (message < QEvent::User || message > QEvent::MaxUser)
        throw std::out_of_range("WTLU_MessageEvent: message number outside the private range");
    return static_cast<QEvent::Type>(message);
}

bool WTLU_MessageEvent::IsMessage(const QEvent* event)
{
    return event != nullptr && dynamic_cast<const WTLU_MessageEvent*>(event) != nullptr;
}

void WTLU_MessageEvent::Post(QObject* receiver, int message, quintptr wParam, qintptr lParam,
                             std::any payload)
{
    if (receiver == nullptr)
        return;
    QCoreApplication::postEvent(receiver,
                                new WTLU_MessageEvent(message, wParam, lParam, std::move(payload)));
}

bool WTLU_MessageEvent::Send(QObject* receiver, int message, quintptr wParam, qintptr lParam,
                             std::any payload)
{
    if (receiver == nullptr)
        return false;
    WTLU_MessageEvent event(message, wParam, lParam, std::move(payload));
    return QCoreApplication::sendEvent(receiver, &event);
}
