#pragma once

#include "GLIB/GLIB_CallbackBase.h"
#include "GLIB/GLIB_Message.h"
#include "GLIB/GLIB_MessageTarget.h"

#include <type_traits>
#include <typeinfo>

// Subscription of a member function `void Target::Handler(const Message&)`.
template <class Target, class Message>
class GLIB_Callback : public GLIB_CallbackBase
{
    static_assert(std::is_base_of_v<GLIB_MessageTarget, Target>,
                  "a receiver derives from GLIB_MessageTarget");
    static_assert(std::is_base_of_v<GLIB_Message, Message>, "a message derives from GLIB_Message");

public:
    using Member = void (Target::*)(const Message&);

    GLIB_Callback(Target* target, Member member)
        : m_target(target), m_member(member), m_messageType(&typeid(Message))
    {
    }

    bool Attach(GLIB_DispatcherState& dispatcher) override
    {
        return static_cast<GLIB_MessageTarget*>(m_target)->AddDispatcher(&dispatcher);
    }
    bool Detach(GLIB_DispatcherState& dispatcher) override
    {
        return static_cast<GLIB_MessageTarget*>(m_target)->RemoveDispatcher(&dispatcher);
    }
    bool Accepts(const GLIB_Message& message) const override
    {
        return typeid(message) == *m_messageType;
    }
    void Invoke(const GLIB_Message& message) override
    {
        Target* target = m_target;
        Member member = m_member;
        (target->*member)(static_cast<const Message&>(message));
    }
    bool IsFor(const GLIB_MessageTarget* target) const override
    {
        return static_cast<const GLIB_MessageTarget*>(m_target) == target;
    }

private:
    Target* m_target;
    Member m_member;
    const std::type_info* m_messageType;
};

// Makes a callback for a dispatcher's AddCallback, which takes ownership.
template <class Target, class Message>
GLIB_CallbackBase* GLIB_MakeCallback(Target* target, void (Target::*member)(const Message&))
{
    return new GLIB_Callback<Target, Message>(target, member);
}
