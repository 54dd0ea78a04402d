#pragma once
// A private window message on top of Qt's event system. The viewer's windows coordinate only
// through numbered messages (0x8002 and up) that carry two parameters; a message is a QEvent whose
// type is the message number, posted to the receiver's queue or sent to it synchronously. Windows
// pick their numbers out in event().
//
// Reference-counted objects (a sheet handed to a job window) travel in the payload rather than
// as a raw pointer in lParam, so that a posted message that is never delivered cannot leak them.

#include <QEvent>
#include <QtGlobal>

#include <any>

class QObject;

class WTLU_MessageEvent : public QEvent
{
public:
    WTLU_MessageEvent(int message, quintptr wParam, qintptr lParam, std::any payload = {});

    int Message() const { return static_cast<int>(type()); }
    quintptr WParam() const { return m_wParam; }
    qintptr LParam() const { return m_lParam; }
    const std::any& Payload() const { return m_payload; }

    // The event type Qt uses for a message number; numbers outside Qt's user range are refused.
    static QEvent::Type TypeOf(int message);
    static bool IsMessage(const QEvent* event);

    // Queues the message for the receiver (the Windows PostMessage); a null receiver is ignored.
    static void Post(QObject* receiver, int message, quintptr wParam = 0, qintptr lParam = 0,
                     std::any payload = {});
    // Delivers the message at once (the Windows SendMessage) and returns whether the receiver
    // handled it; a null receiver handles nothing.
    static bool Send(QObject* receiver, int message, quintptr wParam = 0, qintptr lParam = 0,
                     std::any payload = {});

    // A window handle as the message parameter that carries it, and back.
    static qintptr Handle(const QObject* window) { return reinterpret_cast<qintptr>(window); }

private:
    quintptr m_wParam;
    qintptr m_lParam;
    std::any m_payload;
};
