#pragma once

#include "GLIB/GLIB_Memory.h"

#include <cstddef>
#include <cstdint>

class GLIB_CallbackBase;
class GLIB_Message;
class GLIB_MessageTarget;

// The state that copies of a dispatcher share and that subscribed targets keep alive: the
// subscription ring with its visit marks, the changed flag and the parity of the current pass.
class GLIB_DispatcherState : public GLIB_TrackedObject
{
public:
    GLIB_DispatcherState();
    ~GLIB_DispatcherState();
    GLIB_DispatcherState(const GLIB_DispatcherState&) = delete;
    GLIB_DispatcherState& operator=(const GLIB_DispatcherState&) = delete;

    void AddReference() { ++m_referenceCount; }
    // The last release deletes the state, detaching and deleting any callbacks still held.
    void Release();
    int32_t GetReferenceCount() const { return m_referenceCount; }

    void AddCallback(GLIB_CallbackBase* callback);
    bool RemoveTarget(GLIB_MessageTarget* target);
    bool RemoveTarget(GLIB_MessageTarget* target, const GLIB_Message& message);
    void Send(const GLIB_Message& message);

    std::size_t GetCallbackCount() const { return m_nodeCount; }
    uint8_t GetParity() const { return m_parity; }

private:
    struct Node
    {
        Node* previous;
        Node* next;
        GLIB_CallbackBase* callback;
        uint8_t mark;
    };

    void Unlink(Node* node);
    bool HasCallbackFor(const GLIB_MessageTarget* target) const;

    int32_t m_referenceCount = 0;
    Node m_sentinel;
    uint32_t m_nodeCount = 0;
    uint8_t m_changed = 0;
    uint8_t m_parity = 1;
};

// Delivers messages synchronously to subscribed callbacks, in the order they were added. Copies
// share one subscription list.
//
// Send: each callback runs at most once per send, even when the list changes under it; one
// removed during the send is not called afterwards; one added during the send is called in the
// same send, last. A receiver that throws ends the send; the list stays consistent. Sending from
// inside a callback on the same dispatcher is not supported.
class GLIB_MessageDispatcher
{
public:
    GLIB_MessageDispatcher();
    explicit GLIB_MessageDispatcher(GLIB_DispatcherState* state);
    GLIB_MessageDispatcher(const GLIB_MessageDispatcher& other);
    GLIB_MessageDispatcher& operator=(const GLIB_MessageDispatcher& other);
    ~GLIB_MessageDispatcher();

    // Takes ownership of the callback (also when attaching fails and the call throws).
    void AddCallback(GLIB_CallbackBase* callback) { m_state->AddCallback(callback); }
    // Deletes every callback of the target; returns whether the target had this dispatcher.
    bool RemoveTarget(GLIB_MessageTarget* target) { return m_state->RemoveTarget(target); }
    // Deletes the target's callbacks that accept this message's class. The target keeps the
    // dispatcher (and true is returned) while it has other callbacks here.
    bool RemoveTarget(GLIB_MessageTarget* target, const GLIB_Message& message)
    {
        return m_state->RemoveTarget(target, message);
    }
    void Send(const GLIB_Message& message) { m_state->Send(message); }

    std::size_t GetCallbackCount() const { return m_state->GetCallbackCount(); }
    GLIB_DispatcherState* GetState() const { return m_state; }

private:
    GLIB_DispatcherState* m_state;
};
