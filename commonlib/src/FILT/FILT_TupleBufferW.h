#pragma once

// Writes fixed-size records (tuples) into a byte buffer that may have room for only part of one.
// Tuples are written in place when they fit; one that does not is written into a staging store,
// the part that fits goes out at once and the rest is pending until the next Attach.

#include "FILT/FILT_FilterBuffer.h"

#include <cstdint>

class FILT_TupleBufferW
{
public:
    explicit FILT_TupleBufferW(uint32_t tupleSize = 1);
    ~FILT_TupleBufferW();
    FILT_TupleBufferW(const FILT_TupleBufferW&) = delete;
    FILT_TupleBufferW& operator=(const FILT_TupleBufferW&) = delete;

    // A new staging store of the new size (0 counts as 1); counts and flags cleared, detached.
    void Resize(uint32_t tupleSize);

    // Remembers the buffer and first writes out bytes pending from a split tuple; once nothing is
    // pending after the last tuple, sets end of data on the buffer.
    void Attach(FILT_FilterBuffer& buffer);
    // How many tuples may be written now.
    uint32_t TuplesSpace() const;
    // Where the next tuple is to be written, or null.
    uint8_t* NextTuple() const;
    // n tuples have been written at NextTuple().
    void Commit(uint32_t n);

    // The last tuple has been given: the writer closes, and end of data goes onto the attached
    // buffer as soon as nothing is pending.
    void SetEndOfData();

    uint32_t TupleSize() const { return m_tupleSize; }
    uint32_t PendingCount() const { return m_pending; }
    bool EndOfDataSet() const { return m_endOfData != 0; }
    bool Closed() const { return m_closed != 0; }
    bool Attached() const { return m_buffer != nullptr; }

private:
    bool WritesInPlace() const;

    FILT_FilterBuffer* m_buffer = nullptr;
    uint8_t* m_staging = nullptr;
    uint32_t m_pending = 0;
    uint32_t m_tupleSize = 0;
    uint8_t m_endOfData = 0;
    uint8_t m_closed = 0;
};
