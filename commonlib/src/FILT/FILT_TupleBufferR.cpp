#include "FILT/FILT_TupleBufferR.h"

#include "GLIB/GLIB_Memory.h"

#include <algorithm>
#include <cstring>
#include <new>

FILT_TupleBufferR::FILT_TupleBufferR(uint32_t tupleSize)
{
    Resize(tupleSize);
}

FILT_TupleBufferR::~FILT_TupleBufferR()
{
    TrackedFree(m_staging, __LINE__, __FILE__);
}

void FILT_TupleBufferR::Resize(uint32_t tupleSize)
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
    m_staged = 0;
    m_endOfData = 0;
    m_finished = 0;
}

// A short tail at end of data can never complete; unless it is to be delivered, the reader is
// finished. A drained buffer is let go so that nothing reads it until the next Attach.
void FILT_TupleBufferR::ApplyEndOfData()
{
    if (!m_buffer)
        return;
    const bool drained = m_buffer->DataAvailable() == 0;
    if (m_endOfData && drained && !m_deliverPartial && m_staged > 0 && m_staged < m_tupleSize)
        m_finished = 1;
    if (drained)
        m_buffer = nullptr;
}

void FILT_TupleBufferR::Attach(FILT_FilterBuffer& buffer)
{
    m_buffer = &buffer;
    if (buffer.EndOfData())
        m_endOfData = 1;
    const uint32_t available = buffer.DataAvailable();
    if (available > 0 && m_staged < m_tupleSize && (m_staged > 0 || available < m_tupleSize))
    {
        const uint32_t n = std::min(m_tupleSize - m_staged, available);
        buffer.Read(m_staging + m_staged, n);
        m_staged += n;
    }
    ApplyEndOfData();
}

uint32_t FILT_TupleBufferR::TuplesAvailable() const
{
    if (m_finished)
        return 0;
    if (m_staged == m_tupleSize)
        return 1;
    if (m_staged > 0 || !m_buffer)
        return 0;
    return m_buffer->DataAvailable() / m_tupleSize;
}

bool FILT_TupleBufferR::StagedTupleDelivered() const
{
    return m_staged == m_tupleSize || (m_staged > 0 && m_deliverPartial);
}

const uint8_t* FILT_TupleBufferR::CurrentTuple() const
{
    if (m_finished)
        return nullptr;
    if (m_staged == 0)
    {
        if (m_buffer && m_buffer->DataAvailable() >= m_tupleSize)
            return m_buffer->ReadPosition();
        return nullptr;
    }
    return StagedTupleDelivered() ? m_staging : nullptr;
}

void FILT_TupleBufferR::Advance(uint32_t n)
{
    if (m_finished || n == 0)
        return;
    if (StagedTupleDelivered())
    {
        m_staged = 0;
    }
    else if (m_buffer && m_staged == 0)
    {
        // Never past the whole tuples that are there.
        n = std::min(n, m_buffer->DataAvailable() / m_tupleSize);
        m_buffer->Consume(n * m_tupleSize);
    }
    if (m_buffer && m_staged == 0)
    {
        const uint32_t rest = m_buffer->DataAvailable();
        if (rest > 0 && rest < m_tupleSize)
            m_staged = m_buffer->Read(m_staging, rest);
    }
    ApplyEndOfData();
}
