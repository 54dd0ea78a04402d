#include "GLIB/GLIB_MessageDispatcher.h"

#include "GLIB/GLIB_CallbackBase.h"
#include "GLIB/GLIB_Message.h"
#include "GLIB/GLIB_MessageTarget.h"

#include <memory>

GLIB_DispatcherState::GLIB_DispatcherState()
{
    m_sentinel.previous = &m_sentinel;
    m_sentinel.next = &m_sentinel;
    m_sentinel.callback = nullptr;
    m_sentinel.mark = 0;
}

GLIB_DispatcherState::~GLIB_DispatcherState()
{
    while (m_sentinel.next != &m_sentinel)
    {
        Node* node = m_sentinel.next;
        GLIB_CallbackBase* callback = node->callback;
        Unlink(node);
        callback->Detach(*this);
        delete callback;
    }
}

void GLIB_DispatcherState::Release()
{
    if (--m_referenceCount == 0)
        delete this;
}

void GLIB_DispatcherState::Unlink(Node* node)
{
    node->previous->next = node->next;
    node->next->previous = node->previous;
    TrackedDelete(node, __LINE__, __FILE__);
    --m_nodeCount;
    m_changed = 1;
}

bool GLIB_DispatcherState::HasCallbackFor(const GLIB_MessageTarget* target) const
{
    for (const Node* node = m_sentinel.next; node != &m_sentinel; node = node->next)
    {
        if (node->callback->IsFor(target))
            return true;
    }
    return false;
}

void GLIB_DispatcherState::AddCallback(GLIB_CallbackBase* callback)
{
    std::unique_ptr<GLIB_CallbackBase> owned(callback);
    if (!callback)
        return;
    // The node is made first so that a failed allocation leaves the target untouched.
    Node* node = TrackedNew<Node>(__LINE__, __FILE__);
    try
    {
        callback->Attach(*this);
    }
    catch (...)
    {
        TrackedDelete(node, __LINE__, __FILE__);
        throw;
    }
    node->callback = owned.release();
    // The current parity marks the node as not yet visited, so a send under way still calls it.
    node->mark = m_parity;
    node->next = &m_sentinel;
    node->previous = m_sentinel.previous;
    m_sentinel.previous->next = node;
    m_sentinel.previous = node;
    ++m_nodeCount;
    m_changed = 1;
}

bool GLIB_DispatcherState::RemoveTarget(GLIB_MessageTarget* target)
{
    // Keep this state alive: dropping the target's reference may be the last one.
    AddReference();
    Node* node = m_sentinel.next;
    while (node != &m_sentinel)
    {
        Node* next = node->next;
        if (node->callback->IsFor(target))
        {
            GLIB_CallbackBase* callback = node->callback;
            Unlink(node);
            delete callback;
        }
        node = next;
    }
    const bool known = target->RemoveDispatcher(this);
    Release();
    return known;
}

bool GLIB_DispatcherState::RemoveTarget(GLIB_MessageTarget* target, const GLIB_Message& message)
{
    AddReference();
    Node* node = m_sentinel.next;
    while (node != &m_sentinel)
    {
        Node* next = node->next;
        if (node->callback->IsFor(target) && node->callback->Accepts(message))
        {
            GLIB_CallbackBase* callback = node->callback;
            Unlink(node);
            delete callback;
        }
        node = next;
    }
    bool result = true;
    if (!HasCallbackFor(target))
        result = target->RemoveDispatcher(this);
    Release();
    return result;
}

void GLIB_DispatcherState::Send(const GLIB_Message& message)
{
    if (m_sentinel.next == &m_sentinel)
        return;
    // A receiver may destroy the sender (and with it the dispatcher); the state stays until the
    // send is over.
    AddReference();
    const uint8_t unvisited = m_parity;
    const uint8_t visited = static_cast<uint8_t>(unvisited ^ 1);
    m_changed = 0;
    try
    {
        Node* node = m_sentinel.next;
        while (node != &m_sentinel)
        {
            node->mark = visited;
            GLIB_CallbackBase* callback = node->callback;
            if (callback->Accepts(message))
                callback->Invoke(message);
            if (m_changed)
            {
                // The list changed under the call, perhaps this very node: start over and skip
                // what this send has already visited.
                m_changed = 0;
                node = m_sentinel.next;
                while (node != &m_sentinel && node->mark == visited)
                    node = node->next;
            }
            else
            {
                node = node->next;
                while (node != &m_sentinel && node->mark == visited)
                    node = node->next;
            }
        }
    }
    catch (...)
    {
        for (Node* node = m_sentinel.next; node != &m_sentinel; node = node->next)
            node->mark = unvisited;
        Release();
        throw;
    }
    m_parity = visited;
    Release();
}

GLIB_MessageDispatcher::GLIB_MessageDispatcher() : m_state(new GLIB_DispatcherState)
{
    m_state->AddReference();
}

GLIB_MessageDispatcher::GLIB_MessageDispatcher(GLIB_DispatcherState* state) : m_state(state)
{
    if (!m_state)
        m_state = new GLIB_DispatcherState;
    m_state->AddReference();
}

GLIB_MessageDispatcher::GLIB_MessageDispatcher(const GLIB_MessageDispatcher& other)
    : m_state(other.m_state)
{
    m_state->AddReference();
}

GLIB_MessageDispatcher& GLIB_MessageDispatcher::operator=(const GLIB_MessageDispatcher& other)
{
    other.m_state->AddReference();
    m_state->Release();
    m_state = other.m_state;
    return *this;
}

GLIB_MessageDispatcher::~GLIB_MessageDispatcher()
{
    m_state->Release();
}
