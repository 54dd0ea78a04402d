#include "GLIB/GLIB_MessageDispatcher.h"
#include "GLIB/GLIB_Callback.h"
#include "GLIB/GLIB_Observable.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{
struct PingMessage : GLIB_Message
{
    std::string Description() const override { return "ping"; }
};

struct DerivedPingMessage : PingMessage
{
    std::string Description() const override { return "derived ping"; }
};

struct PongMessage : GLIB_Message
{
    std::string Description() const override { return "pong"; }
};

class Receiver : public GLIB_MessageTarget
{
public:
    Receiver(std::string name, std::vector<std::string>& journal)
        : name(std::move(name)), m_journal(journal)
    {
    }

    void OnPing(const PingMessage&)
    {
        m_journal.push_back(name);
        if (action)
            action();
    }
    void OnPong(const PongMessage&) { m_journal.push_back(name + ":pong"); }

    std::string name;
    std::function<void()> action;

private:
    std::vector<std::string>& m_journal;
};

void Subscribe(GLIB_MessageDispatcher& dispatcher, Receiver& receiver)
{
    dispatcher.AddCallback(GLIB_MakeCallback(&receiver, &Receiver::OnPing));
}

using Journal = std::vector<std::string>;
} // namespace

TEST(GLIB_MessageDispatcher, CallsInOrderOfSubscriptionOncePerSend)
{
    Journal journal;
    GLIB_MessageDispatcher dispatcher;
    Receiver a("a", journal), b("b", journal), c("c", journal);
    Subscribe(dispatcher, b);
    Subscribe(dispatcher, a);
    Subscribe(dispatcher, c);
    dispatcher.Send(PingMessage());
    dispatcher.Send(PingMessage());
    EXPECT_EQ(journal, (Journal{"b", "a", "c", "b", "a", "c"}));
    EXPECT_EQ(dispatcher.GetCallbackCount(), 3u);
}

TEST(GLIB_MessageDispatcher, EmptySendLeavesParityAndCompletedSendFlipsIt)
{
    GLIB_MessageDispatcher dispatcher;
    const uint8_t start = dispatcher.GetState()->GetParity();
    EXPECT_EQ(start, 1);
    dispatcher.Send(PingMessage());
    EXPECT_EQ(dispatcher.GetState()->GetParity(), start);

    Journal journal;
    Receiver a("a", journal);
    Subscribe(dispatcher, a);
    dispatcher.Send(PingMessage());
    EXPECT_EQ(dispatcher.GetState()->GetParity(), start ^ 1);
}

TEST(GLIB_MessageDispatcher, OnlyTheExactMessageClassIsDelivered)
{
    Journal journal;
    GLIB_MessageDispatcher dispatcher;
    Receiver a("a", journal);
    Subscribe(dispatcher, a);
    dispatcher.AddCallback(GLIB_MakeCallback(&a, &Receiver::OnPong));
    dispatcher.Send(DerivedPingMessage());
    EXPECT_TRUE(journal.empty());
    dispatcher.Send(PongMessage());
    dispatcher.Send(PingMessage());
    EXPECT_EQ(journal, (Journal{"a:pong", "a"}));
}

TEST(GLIB_MessageDispatcher, ReceiverThatUnsubscribesItselfIsNotCalledAgain)
{
    Journal journal;
    GLIB_MessageDispatcher dispatcher;
    Receiver a("a", journal), b("b", journal), c("c", journal);
    Subscribe(dispatcher, a);
    Subscribe(dispatcher, b);
    Subscribe(dispatcher, c);
    b.action = [&] { dispatcher.RemoveTarget(&b); };
    dispatcher.Send(PingMessage());
    EXPECT_EQ(journal, (Journal{"a", "b", "c"}));
    EXPECT_FALSE(b.HasDispatcher(dispatcher.GetState()));
    journal.clear();
    dispatcher.Send(PingMessage());
    EXPECT_EQ(journal, (Journal{"a", "c"}));
}

TEST(GLIB_MessageDispatcher, ReceiverRemovedByAnEarlierOneIsSkipped)
{
    Journal journal;
    GLIB_MessageDispatcher dispatcher;
    Receiver a("a", journal), b("b", journal), c("c", journal);
    Subscribe(dispatcher, a);
    Subscribe(dispatcher, b);
    Subscribe(dispatcher, c);
    a.action = [&] { dispatcher.RemoveTarget(&b); };
    dispatcher.Send(PingMessage());
    EXPECT_EQ(journal, (Journal{"a", "c"}));
}

TEST(GLIB_MessageDispatcher, ReceiverAddedDuringSendIsCalledLastInTheSameSend)
{
    Journal journal;
    GLIB_MessageDispatcher dispatcher;
    Receiver a("a", journal), b("b", journal), late("late", journal);
    Subscribe(dispatcher, a);
    Subscribe(dispatcher, b);
    a.action = [&]
    {
        Subscribe(dispatcher, late);
        a.action = nullptr;
    };
    dispatcher.Send(PingMessage());
    EXPECT_EQ(journal, (Journal{"a", "b", "late"}));
    journal.clear();
    dispatcher.Send(PingMessage());
    EXPECT_EQ(journal, (Journal{"a", "b", "late"}));
}

TEST(GLIB_MessageDispatcher, ChangesInEveryCallStillVisitEachOnce)
{
    // Every call changes the list, so every step restarts from the front and must skip what
    // was visited.
    Journal journal;
    GLIB_MessageDispatcher dispatcher;
    std::vector<std::unique_ptr<Receiver>> receivers;
    for (int i = 0; i < 6; ++i)
        receivers.push_back(std::make_unique<Receiver>(std::to_string(i), journal));
    Receiver spare("spare", journal);
    for (auto& receiver : receivers)
    {
        Subscribe(dispatcher, *receiver);
        receiver->action = [&]
        {
            Subscribe(dispatcher, spare);
            dispatcher.RemoveTarget(&spare);
        };
    }
    dispatcher.Send(PingMessage());
    EXPECT_EQ(journal, (Journal{"0", "1", "2", "3", "4", "5"}));
}

TEST(GLIB_MessageDispatcher, ThrowingReceiverEndsSendAndLeavesListConsistent)
{
    Journal journal;
    GLIB_MessageDispatcher dispatcher;
    Receiver a("a", journal), b("b", journal), c("c", journal);
    Subscribe(dispatcher, a);
    Subscribe(dispatcher, b);
    Subscribe(dispatcher, c);
    const uint8_t parity = dispatcher.GetState()->GetParity();
    b.action = [] { throw std::runtime_error("receiver failed"); };
    EXPECT_THROW(dispatcher.Send(PingMessage()), std::runtime_error);
    EXPECT_EQ(journal, (Journal{"a", "b"}));
    EXPECT_EQ(dispatcher.GetState()->GetParity(), parity);

    b.action = nullptr;
    journal.clear();
    dispatcher.Send(PingMessage());
    EXPECT_EQ(journal, (Journal{"a", "b", "c"}));
}

TEST(GLIB_MessageDispatcher, DestroyedReceiverLeavesEveryDispatcher)
{
    Journal journal;
    GLIB_MessageDispatcher first, second;
    Receiver keeper("keeper", journal);
    {
        Receiver gone("gone", journal);
        Subscribe(first, gone);
        Subscribe(second, gone);
        first.AddCallback(GLIB_MakeCallback(&gone, &Receiver::OnPong));
        EXPECT_EQ(gone.GetDispatcherCount(), 2u);
        Subscribe(first, keeper);
    }
    EXPECT_EQ(first.GetCallbackCount(), 1u);
    EXPECT_EQ(second.GetCallbackCount(), 0u);
    first.Send(PingMessage());
    second.Send(PingMessage());
    EXPECT_EQ(journal, (Journal{"keeper"}));
}

TEST(GLIB_MessageDispatcher, StateOutlivesTheSenderWhileAReceiverHoldsIt)
{
    Journal journal;
    Receiver a("a", journal);
    GLIB_DispatcherState* state = nullptr;
    {
        GLIB_MessageDispatcher dispatcher;
        Subscribe(dispatcher, a);
        state = dispatcher.GetState();
        EXPECT_EQ(state->GetReferenceCount(), 2);
    }
    ASSERT_TRUE(a.HasDispatcher(state));
    EXPECT_EQ(state->GetReferenceCount(), 1);
    EXPECT_EQ(state->GetCallbackCount(), 1u);
    // The receiver's end releases the state; the sanitizer build catches a leak or a double free.
}

TEST(GLIB_MessageDispatcher, ReceiverMayDestroyTheSenderAndEveryReceiverDuringASend)
{
    // The send keeps the shared state alive although the last outside reference goes away under
    // it; the sanitizer build turns a premature release into a failure.
    Journal journal;
    auto dispatcher = std::make_unique<GLIB_MessageDispatcher>();
    auto a = std::make_unique<Receiver>("a", journal);
    auto b = std::make_unique<Receiver>("b", journal);
    Subscribe(*dispatcher, *a);
    Subscribe(*dispatcher, *b);
    GLIB_DispatcherState* state = dispatcher->GetState();
    a->action = [&]
    {
        dispatcher.reset();
        b.reset();
        state->RemoveTarget(a.get());
    };
    state->Send(PingMessage());
    EXPECT_EQ(journal, (Journal{"a"}));
    EXPECT_EQ(a->GetDispatcherCount(), 0u);
}

TEST(GLIB_MessageDispatcher, RemoveTargetForOneMessageKeepsTheOtherSubscription)
{
    Journal journal;
    GLIB_MessageDispatcher dispatcher;
    Receiver a("a", journal);
    Subscribe(dispatcher, a);
    dispatcher.AddCallback(GLIB_MakeCallback(&a, &Receiver::OnPong));

    EXPECT_TRUE(dispatcher.RemoveTarget(&a, PingMessage()));
    EXPECT_TRUE(a.HasDispatcher(dispatcher.GetState()));
    dispatcher.Send(PingMessage());
    dispatcher.Send(PongMessage());
    EXPECT_EQ(journal, (Journal{"a:pong"}));

    EXPECT_TRUE(dispatcher.RemoveTarget(&a, PongMessage()));
    EXPECT_FALSE(a.HasDispatcher(dispatcher.GetState()));
    EXPECT_EQ(dispatcher.GetCallbackCount(), 0u);
    EXPECT_FALSE(dispatcher.RemoveTarget(&a));
}

TEST(GLIB_MessageDispatcher, CopiesShareOneList)
{
    Journal journal;
    GLIB_MessageDispatcher original;
    GLIB_MessageDispatcher copy = original;
    Receiver a("a", journal);
    Subscribe(copy, a);
    original.Send(PingMessage());
    EXPECT_EQ(journal, (Journal{"a"}));
    EXPECT_EQ(a.GetDispatcherCount(), 1u);
}

TEST(GLIB_MessageTarget, DispatcherSetIsSortedWithoutDuplicates)
{
    Journal journal;
    Receiver a("a", journal);
    GLIB_MessageDispatcher d1, d2;
    EXPECT_TRUE(a.AddDispatcher(d1.GetState()));
    EXPECT_FALSE(a.AddDispatcher(d1.GetState()));
    EXPECT_TRUE(a.AddDispatcher(d2.GetState()));
    EXPECT_EQ(a.GetDispatcherCount(), 2u);
    EXPECT_EQ(d1.GetState()->GetReferenceCount(), 2);
    EXPECT_TRUE(a.RemoveDispatcher(d1.GetState()));
    EXPECT_FALSE(a.RemoveDispatcher(d1.GetState()));
    EXPECT_EQ(d1.GetState()->GetReferenceCount(), 1);
    EXPECT_TRUE(a.HasDispatcher(d2.GetState()));
}

TEST(GLIB_MessageTarget, ACopyStartsWithoutSubscriptions)
{
    // The subscriptions name the original object; a copy sharing its dispatcher set would
    // release every state twice.
    Journal journal;
    GLIB_MessageDispatcher dispatcher;
    auto original = std::make_unique<Receiver>("a", journal);
    Subscribe(dispatcher, *original);
    auto copy = std::make_unique<Receiver>(*original);
    EXPECT_EQ(copy->GetDispatcherCount(), 0u);
    EXPECT_EQ(dispatcher.GetState()->GetReferenceCount(), 2);
    copy.reset();
    EXPECT_EQ(dispatcher.GetCallbackCount(), 1u);
    original.reset();
    EXPECT_EQ(dispatcher.GetCallbackCount(), 0u);
    EXPECT_EQ(dispatcher.GetState()->GetReferenceCount(), 1);
}

namespace
{
class Announcer : public GLIB_Observable
{
public:
    void Announce() { Send(PingMessage()); }
};
} // namespace

TEST(GLIB_Observable, OutsidersSubscribeAndTheObjectSends)
{
    Journal journal;
    Announcer announcer;
    Receiver a("a", journal);
    announcer.AddCallback(GLIB_MakeCallback(&a, &Receiver::OnPing));
    announcer.Announce();
    EXPECT_TRUE(announcer.RemoveTarget(&a));
    announcer.Announce();
    EXPECT_EQ(journal, (Journal{"a"}));

    // A copy has receivers of its own.
    announcer.AddCallback(GLIB_MakeCallback(&a, &Receiver::OnPing));
    Announcer copy = announcer;
    copy.Announce();
    EXPECT_EQ(journal, (Journal{"a"}));
}
