#pragma once

// The foundation library's shared pointer. The pointer object refers to a separately allocated
// count block that holds the count (starting at 1) and the pointee; the last release deletes
// both. Not thread-safe: the program is single-threaded.

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>

namespace TMPL_Detail
{
class CountBlock
{
public:
    CountBlock() = default;
    CountBlock(const CountBlock&) = delete;
    CountBlock& operator=(const CountBlock&) = delete;
    virtual ~CountBlock() = default;
    virtual void DeletePointee() noexcept = 0;

    int32_t count = 1;
};

template <class U>
class CountBlockFor final : public CountBlock
{
public:
    explicit CountBlockFor(U* pointee) : m_pointee(pointee) {}
    void DeletePointee() noexcept override
    {
        delete m_pointee;
        m_pointee = nullptr;
    }

private:
    U* m_pointee;
};
} // namespace TMPL_Detail

template <class T>
class TMPL_ReferenceCountPointer
{
public:
    TMPL_ReferenceCountPointer() noexcept = default;
    TMPL_ReferenceCountPointer(std::nullptr_t) noexcept {}

    // Takes ownership. If the count block cannot be allocated the pointee is deleted and the
    // allocation failure propagates, so nothing leaks.
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    explicit TMPL_ReferenceCountPointer(U* pointee)
    {
        if (!pointee)
            return;
        try
        {
            m_block = new TMPL_Detail::CountBlockFor<U>(pointee);
        }
        catch (...)
        {
            delete pointee;
            throw;
        }
        m_pointee = pointee;
    }

    TMPL_ReferenceCountPointer(const TMPL_ReferenceCountPointer& other) noexcept
        : m_pointee(other.m_pointee), m_block(other.m_block)
    {
        AddReference();
    }
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    TMPL_ReferenceCountPointer(const TMPL_ReferenceCountPointer<U>& other) noexcept
        : m_pointee(other.m_pointee), m_block(other.m_block)
    {
        AddReference();
    }
    TMPL_ReferenceCountPointer(TMPL_ReferenceCountPointer&& other) noexcept
        : m_pointee(std::exchange(other.m_pointee, nullptr)),
          m_block(std::exchange(other.m_block, nullptr))
    {
    }
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    TMPL_ReferenceCountPointer(TMPL_ReferenceCountPointer<U>&& other) noexcept
        : m_pointee(std::exchange(other.m_pointee, nullptr)),
          m_block(std::exchange(other.m_block, nullptr))
    {
    }

    ~TMPL_ReferenceCountPointer() { Release(); }

    TMPL_ReferenceCountPointer& operator=(const TMPL_ReferenceCountPointer& other) noexcept
    {
        // Copy first: releasing may destroy the object that holds `other`.
        TMPL_ReferenceCountPointer copy(other);
        Swap(copy);
        return *this;
    }
    TMPL_ReferenceCountPointer& operator=(TMPL_ReferenceCountPointer&& other) noexcept
    {
        TMPL_ReferenceCountPointer moved(std::move(other));
        Swap(moved);
        return *this;
    }
    TMPL_ReferenceCountPointer& operator=(std::nullptr_t) noexcept
    {
        Reset();
        return *this;
    }

    void Reset() noexcept
    {
        TMPL_ReferenceCountPointer empty;
        Swap(empty);
    }
    void Swap(TMPL_ReferenceCountPointer& other) noexcept
    {
        std::swap(m_pointee, other.m_pointee);
        std::swap(m_block, other.m_block);
    }

    T* Get() const noexcept { return m_pointee; }
    T* operator->() const noexcept { return m_pointee; }
    T& operator*() const noexcept { return *m_pointee; }
    explicit operator bool() const noexcept { return m_pointee != nullptr; }
    // Number of pointer objects sharing the pointee; 0 for an empty pointer.
    int32_t GetCount() const noexcept { return m_block ? m_block->count : 0; }

    template <class U>
    bool operator==(const TMPL_ReferenceCountPointer<U>& other) const noexcept
    {
        return m_pointee == other.Get();
    }
    bool operator==(std::nullptr_t) const noexcept { return m_pointee == nullptr; }

private:
    template <class U>
    friend class TMPL_ReferenceCountPointer;

    void AddReference() noexcept
    {
        if (m_block)
            ++m_block->count;
    }
    void Release() noexcept
    {
        TMPL_Detail::CountBlock* block = std::exchange(m_block, nullptr);
        m_pointee = nullptr;
        if (block && --block->count == 0)
        {
            block->DeletePointee();
            delete block;
        }
    }

    T* m_pointee = nullptr;
    TMPL_Detail::CountBlock* m_block = nullptr;
};

// Makes the pointee and its pointer in one call.
template <class T, class... Args>
TMPL_ReferenceCountPointer<T> TMPL_MakeReferenceCounted(Args&&... args)
{
    return TMPL_ReferenceCountPointer<T>(new T(std::forward<Args>(args)...));
}
