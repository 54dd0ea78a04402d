#include "FILT/FILT_TupleBufferW.h"

#include "GLIB/GLIB_Memory.h"

#include <algorithm>
#include <new>

FILT_TupleBufferW::FILT_TupleBufferW(uint32_t tupleSize)
{
    Resize(tupleSize);
}

FILT_TupleBufferW::~FILT_TupleBufferW()
{
    TrackedFree(m_staging, __LINE__, __FILE__);
}

void FILT_TupleBufferW::Resize(uint32_t tupleSize)
{
    TrackedFree(m_staging, __LINE__, __FILE__);
    m_staging = nullptr;
    m_tupleSize = 0;
    tupleSize = std::max<uint32_t>(tupleSize, 1);
    m_staging = static_cast<uint8_t*>(TrackedAlloc(tupleSize, __LINE__, __FILE__));
    if (!m_staging)
        throw std::bad_alloc();
    m_tupleSize = tupleSize;
    m_buffer = nullptr;
    m_pending = 0;
    m_endOfData = 0;
    m_closed = 0;
}

void FILT_TupleBufferW::Attach(FILT_FilterBuffer& buffer)
{
    m_buffer = &buffer;
    if (m_pending > 0)
        m_pending -= buffer.Write(m_staging + (m_tupleSize - m_pending), m_pending);
    if (m_endOfData && m_pending == 0)
        buffer.SetEndOfData();
}

// A tuple goes straight into the buffer unless the buffer has some room but less than a tuple
// and nothing is pending: then it is staged and split.
bool FILT_TupleBufferW::WritesInPlace() const
{
    const uint32_t space = m_buffer->SpaceRemaining();
    return space == 0 || space >= m_tupleSize || m_pending > 0;
}

uint32_t FILT_TupleBufferW::TuplesSpace() const
{
    if (m_closed || !m_buffer)
        return 0;
    if (WritesInPlace())
        return m_pending > 0 ? 0 : m_buffer->SpaceRemaining() / m_tupleSize;
    return 1;
}

uint8_t* FILT_TupleBufferW::NextTuple() const
{
    if (m_closed || !m_buffer)
        return nullptr;
    return WritesInPlace() ? m_buffer->WritePosition() : m_staging;
}

void FILT_TupleBufferW::Commit(uint32_t n)
{
    if (m_closed || n == 0 || !m_buffer)
        return;
    if (!WritesInPlace())
    {
        // Only the one staged tuple exists, whatever n says.
        const uint32_t written = m_buffer->Write(m_staging, m_tupleSize);
        m_pending = m_tupleSize - written;
        return;
    }
    if (m_pending > 0)
        return;
    n = std::min(n, m_buffer->SpaceRemaining() / m_tupleSize);
    m_buffer->Produce(n * m_tupleSize);
}

void FILT_TupleBufferW::SetEndOfData()
{
    m_endOfData = 1;
    m_closed = 1;
    if (m_buffer && m_pending == 0)
        m_buffer->SetEndOfData();
}
