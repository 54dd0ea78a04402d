#pragma once

// Reads fixed-size records (tuples) from a byte buffer whose contents may break a tuple anywhere.
// Whole tuples are used in place in the attached buffer; a tuple split across calls is gathered
// in a staging store of one tuple. Attach the input buffer at the start of every call.

#include "FILT/FILT_FilterBuffer.h"

#include <cstdint>

class FILT_TupleBufferR
{
public:
    explicit FILT_TupleBufferR(uint32_t tupleSize = 1);
    ~FILT_TupleBufferR();
    FILT_TupleBufferR(const FILT_TupleBufferR&) = delete;
    FILT_TupleBufferR& operator=(const FILT_TupleBufferR&) = delete;

    // A new staging store of the new size (0 counts as 1); counts and flags cleared, detached.
    void Resize(uint32_t tupleSize);

    void Attach(FILT_FilterBuffer& buffer);
    // Whole tuples ready: 1 from the staging store, else those whole in the attached buffer.
    uint32_t TuplesAvailable() const;
    // The next whole tuple, or null. With deliver partial on, also a short tuple in the staging
    // store (StagedCount() tells its length).
    const uint8_t* CurrentTuple() const;
    // Consumes n tuples (a staged tuple counts as the one consumed).
    void Advance(uint32_t n);

    // A short final tuple is delivered instead of being dropped at end of data.
    void SetDeliverPartial(bool on) { m_deliverPartial = on ? 1 : 0; }

    uint32_t TupleSize() const { return m_tupleSize; }
    uint32_t StagedCount() const { return m_staged; }
    bool EndOfDataSeen() const { return m_endOfData != 0; }
    // No further tuple will ever be delivered.
    bool Finished() const { return m_finished != 0; }
    bool Attached() const { return m_buffer != nullptr; }

private:
    bool StagedTupleDelivered() const;
    void ApplyEndOfData();

    FILT_FilterBuffer* m_buffer = nullptr;
    uint8_t* m_staging = nullptr;
    uint32_t m_staged = 0;
    uint32_t m_tupleSize = 0;
    uint8_t m_endOfData = 0;
    uint8_t m_finished = 0;
    uint8_t m_deliverPartial = 0;
};
