#include "GFIL/GFIL_ReadBuffer.h"

#include "GFIL/GFIL_Constants.h"
#include "GFIL/GFIL_Messages.h"
#include "GLIB/GLIB_Memory.h"

#include <new>
#include <utility>

GFIL_ReadBuffer::GFIL_ReadBuffer(std::uint32_t capacity)
{
    // Even a zero-byte buffer gets a block, so that "has storage" means "not released".
    void* block = TrackedAlloc(capacity == 0 ? 1 : capacity, __LINE__, __FILE__);
    if (!block)
        throw std::bad_alloc();
    m_storage = static_cast<std::uint8_t*>(block);
    m_capacity = capacity;
}

GFIL_ReadBuffer::~GFIL_ReadBuffer()
{
    Release();
}

GFIL_ReadBuffer::GFIL_ReadBuffer(GFIL_ReadBuffer&& other) noexcept
    : m_storage(std::exchange(other.m_storage, nullptr)),
      m_capacity(std::exchange(other.m_capacity, 0)),
      m_dataOffset(std::exchange(other.m_dataOffset, 0)), m_count(std::exchange(other.m_count, 0)),
      m_endOfFile(std::exchange(other.m_endOfFile, false))
{
}

GFIL_ReadBuffer& GFIL_ReadBuffer::operator=(GFIL_ReadBuffer&& other) noexcept
{
    if (this != &other)
    {
        Release();
        m_storage = std::exchange(other.m_storage, nullptr);
        m_capacity = std::exchange(other.m_capacity, 0);
        m_dataOffset = std::exchange(other.m_dataOffset, 0);
        m_count = std::exchange(other.m_count, 0);
        m_endOfFile = std::exchange(other.m_endOfFile, false);
    }
    return *this;
}

void GFIL_ReadBuffer::SetData(std::uint32_t dataOffset, std::uint32_t count)
{
    if (static_cast<std::uint64_t>(dataOffset) + count > m_capacity)
    {
        GFIL_Messages::Throw(GFIL_ERR_OTHER,
                             "The data range " + std::to_string(dataOffset) + "+" +
                                 std::to_string(count) + " does not fit a buffer of " +
                                 std::to_string(m_capacity) + " bytes",
                             __FILE__, __LINE__);
    }
    m_dataOffset = dataOffset;
    m_count = count;
}

void GFIL_ReadBuffer::Release() noexcept
{
    TrackedFree(m_storage, __LINE__, __FILE__);
    m_storage = nullptr;
    m_capacity = 0;
    m_dataOffset = 0;
    m_count = 0;
    m_endOfFile = false;
}
