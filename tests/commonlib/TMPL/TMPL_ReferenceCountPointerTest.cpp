#include "TMPL/TMPL_ReferenceCountPointer.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace
{
struct Counted
{
    explicit Counted(int& alive, int value = 0) : alive(alive), value(value) { ++alive; }
    virtual ~Counted() { --alive; }
    int& alive;
    int value;
};

struct Special : Counted
{
    using Counted::Counted;
};
} // namespace

TEST(TMPL_ReferenceCountPointer, LastReleaseDeletesThePointee)
{
    int alive = 0;
    {
        TMPL_ReferenceCountPointer<Counted> first(new Counted(alive, 5));
        EXPECT_EQ(first.GetCount(), 1);
        {
            TMPL_ReferenceCountPointer<Counted> second = first;
            EXPECT_EQ(first.GetCount(), 2);
            EXPECT_EQ(second->value, 5);
            EXPECT_EQ(second, first);
        }
        EXPECT_EQ(first.GetCount(), 1);
        EXPECT_EQ(alive, 1);
    }
    EXPECT_EQ(alive, 0);
}

TEST(TMPL_ReferenceCountPointer, EmptyPointers)
{
    TMPL_ReferenceCountPointer<Counted> empty;
    EXPECT_FALSE(empty);
    EXPECT_EQ(empty.GetCount(), 0);
    EXPECT_TRUE(empty == nullptr);
    TMPL_ReferenceCountPointer<Counted> fromNull(static_cast<Counted*>(nullptr));
    EXPECT_EQ(fromNull.GetCount(), 0);
    TMPL_ReferenceCountPointer<Counted> copy = empty;
    EXPECT_EQ(copy.Get(), nullptr);
}

TEST(TMPL_ReferenceCountPointer, AssignmentMoveAndReset)
{
    int alive = 0;
    TMPL_ReferenceCountPointer<Counted> a(new Counted(alive, 1));
    TMPL_ReferenceCountPointer<Counted> b(new Counted(alive, 2));
    EXPECT_EQ(alive, 2);
    a = b; // the first object goes
    EXPECT_EQ(alive, 1);
    EXPECT_EQ(a->value, 2);
    EXPECT_EQ(b.GetCount(), 2);
    const TMPL_ReferenceCountPointer<Counted>& same = a;
    a = same; // self-assignment keeps the object
    EXPECT_EQ(a.GetCount(), 2);

    TMPL_ReferenceCountPointer<Counted> moved = std::move(a);
    EXPECT_FALSE(a);
    EXPECT_EQ(moved.GetCount(), 2);
    moved.Reset();
    EXPECT_EQ(b.GetCount(), 1);
    b = nullptr;
    EXPECT_EQ(alive, 0);
}

TEST(TMPL_ReferenceCountPointer, ConvertsToABaseAndDeletesTheDerivedObject)
{
    int alive = 0;
    {
        TMPL_ReferenceCountPointer<Special> derived(new Special(alive, 3));
        TMPL_ReferenceCountPointer<Counted> base = derived;
        EXPECT_EQ(base.GetCount(), 2);
        derived.Reset();
        EXPECT_EQ(base->value, 3);
        EXPECT_EQ(alive, 1);
    }
    EXPECT_EQ(alive, 0);
}

TEST(TMPL_ReferenceCountPointer, AssignmentReleasingTheHolderOfTheSource)
{
    // The pointee owns the pointer being assigned from; releasing the old pointee must not
    // destroy the source before it has been copied.
    struct Node
    {
        TMPL_ReferenceCountPointer<Node> next;
        int value = 0;
    };
    TMPL_ReferenceCountPointer<Node> head(new Node);
    head->next = TMPL_ReferenceCountPointer<Node>(new Node);
    head->next->value = 9;
    head = head->next;
    EXPECT_EQ(head->value, 9);
    EXPECT_EQ(head.GetCount(), 1);
}

TEST(TMPL_ReferenceCountPointer, MakeCreatesWithCountOne)
{
    int alive = 0;
    auto p = TMPL_MakeReferenceCounted<Counted>(alive, 4);
    EXPECT_EQ(p.GetCount(), 1);
    EXPECT_EQ((*p).value, 4);
    p.Reset();
    EXPECT_EQ(alive, 0);
}
