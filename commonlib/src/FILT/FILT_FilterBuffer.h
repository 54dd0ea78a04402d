#pragma once

// A window onto a byte store through which filters pass a stream: bytes are written at the write
// position and read at the read position, with
//     storage start <= read position <= write position <= storage end.
// The buffer may own its store or lie over the caller's. Stream positions count bytes from the
// start of the stream, across resets that discard the read bytes at the front of the store.

#include <cstdint>

class FILT_FilterBuffer
{
public:
    // An empty buffer, no store.
    FILT_FilterBuffer() = default;
    // A buffer with its own store of size bytes; 0 gives an empty buffer.
    explicit FILT_FilterBuffer(uint32_t size);
    // A buffer over start[0 .. size); with a null start and a size, the buffer allocates and owns
    // the store whatever own says. With own set, the buffer frees the store (which must come from
    // TrackedAlloc) when destroyed or re-initialised.
    FILT_FilterBuffer(uint8_t* start, uint32_t size, bool own);
    ~FILT_FilterBuffer();
    FILT_FilterBuffer(const FILT_FilterBuffer&) = delete;
    FILT_FilterBuffer& operator=(const FILT_FilterBuffer&) = delete;

    // Same arguments as the constructor; frees an owned store first. Positions, counters, stream
    // offset and end of data start afresh.
    void Init(uint8_t* start, uint32_t size, bool own);

    uint32_t DataAvailable() const { return static_cast<uint32_t>(m_write - m_read); }
    uint32_t SpaceRemaining() const { return static_cast<uint32_t>(m_end - m_write); }
    uint32_t Capacity() const { return static_cast<uint32_t>(m_end - m_start); }
    bool IsFull() const { return m_write == m_end; }

    uint8_t* StorageStart() const { return m_start; }
    uint8_t* StorageEnd() const { return m_end; }
    uint8_t* ReadPosition() const { return m_read; }
    uint8_t* WritePosition() const { return m_write; }
    bool OwnsStorage() const { return m_owns != 0; }

    // Moves the read position on by n bytes (at most what is available) after the caller read
    // them; the bytes-consumed counter grows and bytes produced is cleared.
    void Consume(uint32_t n);
    // Moves the write position on by n bytes (at most the space) after the caller wrote them.
    void Produce(uint32_t n);
    // Copies min(n, space) bytes in at the write position; returns the count.
    uint32_t Write(const uint8_t* data, uint32_t n);
    // Copies min(n, available) bytes out from the read position; returns the count.
    uint32_t Read(uint8_t* data, uint32_t n);

    bool EndOfData() const { return m_endOfData != 0; }
    void SetEndOfData(bool endOfData = true) { m_endOfData = endOfData ? 1 : 0; }

    // Diagnostics: bytes read since the last write, and written since the last read.
    uint32_t BytesConsumed() const { return m_consumed; }
    uint32_t BytesProduced() const { return m_produced; }

    // Moves both positions to the front of the store, adding the bytes read to the stream offset,
    // and clears end of data. Meant for a drained buffer: unread bytes are discarded.
    void Reset();
    // As Reset, also clearing both counters.
    void Rewind();

    // Moves min(available, other's space) bytes into other; returns the count.
    uint32_t CopyThrough(FILT_FilterBuffer& other);

    uint32_t StreamOffset() const { return m_streamOffset; }
    uint32_t ReadStreamPosition() const;
    uint32_t WriteStreamPosition() const;
    // Places a position at a stream position, kept inside the store. Reading past the write
    // position drags it along; writing before the read position drags that back.
    void SetReadStreamPosition(uint32_t position);
    void SetWriteStreamPosition(uint32_t position);

private:
    void Release();
    uint8_t* Clamp(uint32_t position) const;

    uint8_t* m_start = nullptr;
    uint32_t m_consumed = 0;
    uint32_t m_produced = 0;
    uint32_t m_streamOffset = 0;
    uint8_t m_endOfData = 0;
    uint8_t* m_end = nullptr;
    uint8_t* m_read = nullptr;
    uint8_t* m_write = nullptr;
    uint32_t m_owns = 0;
};
