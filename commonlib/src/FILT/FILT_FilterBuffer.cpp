#include "FILT/FILT_FilterBuffer.h"

#include "GLIB/GLIB_Memory.h"

#include <algorithm>
#include <cstring>

FILT_FilterBuffer::FILT_FilterBuffer(uint32_t size)
{
    Init(nullptr, size, true);
}

FILT_FilterBuffer::FILT_FilterBuffer(uint8_t* start, uint32_t size, bool own)
{
    Init(start, size, own);
}

FILT_FilterBuffer::~FILT_FilterBuffer()
{
    Release();
}

void FILT_FilterBuffer::Release()
{
    if (m_owns && m_start)
        TrackedFree(m_start, __LINE__, __FILE__);
    m_start = m_end = m_read = m_write = nullptr;
    m_owns = 0;
}

void FILT_FilterBuffer::Init(uint8_t* start, uint32_t size, bool own)
{
    Release();
    m_consumed = 0;
    m_produced = 0;
    m_streamOffset = 0;
    m_endOfData = 0;
    if (!start && size != 0)
    {
        start = static_cast<uint8_t*>(TrackedAlloc(size, __LINE__, __FILE__));
        own = true;
        // An out-of-memory handler that returns leaves an empty buffer rather than a dangling one.
        if (!start)
            size = 0;
    }
    if (!start)
        size = 0;
    m_start = start;
    m_end = start ? start + size : nullptr;
    m_read = m_write = m_start;
    m_owns = (own && start) ? 1 : 0;
}

void FILT_FilterBuffer::Consume(uint32_t n)
{
    n = std::min(n, DataAvailable());
    m_read += n;
    m_consumed += n;
    m_produced = 0;
}

void FILT_FilterBuffer::Produce(uint32_t n)
{
    n = std::min(n, SpaceRemaining());
    m_write += n;
    m_produced += n;
    m_consumed = 0;
}

uint32_t FILT_FilterBuffer::Write(const uint8_t* data, uint32_t n)
{
    n = std::min(n, SpaceRemaining());
    if (n)
        std::memcpy(m_write, data, n);
    Produce(n);
    return n;
}

uint32_t FILT_FilterBuffer::Read(uint8_t* data, uint32_t n)
{
    n = std::min(n, DataAvailable());
    if (n)
        std::memcpy(data, m_read, n);
    Consume(n);
    return n;
}

void FILT_FilterBuffer::Reset()
{
    if (m_start)
        m_streamOffset += static_cast<uint32_t>(m_read - m_start);
    else
        m_streamOffset = 0;
    m_read = m_write = m_start;
    m_endOfData = 0;
}

void FILT_FilterBuffer::Rewind()
{
    Reset();
    m_consumed = 0;
    m_produced = 0;
}

uint32_t FILT_FilterBuffer::CopyThrough(FILT_FilterBuffer& other)
{
    const uint32_t n = std::min(DataAvailable(), other.SpaceRemaining());
    if (n)
        std::memmove(other.m_write, m_read, n);
    Consume(n);
    other.Produce(n);
    return n;
}

uint32_t FILT_FilterBuffer::ReadStreamPosition() const
{
    return m_streamOffset + static_cast<uint32_t>(m_read - m_start);
}

uint32_t FILT_FilterBuffer::WriteStreamPosition() const
{
    return m_streamOffset + static_cast<uint32_t>(m_write - m_start);
}

uint8_t* FILT_FilterBuffer::Clamp(uint32_t position) const
{
    if (position <= m_streamOffset)
        return m_start;
    const uint32_t index = std::min(position - m_streamOffset, Capacity());
    return m_start + index;
}

void FILT_FilterBuffer::SetReadStreamPosition(uint32_t position)
{
    m_read = Clamp(position);
    if (m_read > m_write)
        m_write = m_read;
}

void FILT_FilterBuffer::SetWriteStreamPosition(uint32_t position)
{
    m_write = Clamp(position);
    if (m_write < m_read)
        m_read = m_write;
}
