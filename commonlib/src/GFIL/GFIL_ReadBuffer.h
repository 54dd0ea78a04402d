#pragma once

#include <cstdint>

// The result of a file read and the carrier of a write: a block of storage of a fixed
// capacity, the offset inside it where the data begins, the number of data bytes, and whether
// the read that filled it reached the end of the file.
//
// A buffer owns its storage and can only be moved. Releasing it (or handing it to a write that
// succeeds) frees the storage and leaves an empty buffer with a capacity of 0.
class GFIL_ReadBuffer
{
public:
    GFIL_ReadBuffer() noexcept = default;
    // Allocates `capacity` bytes through the tracked allocation; throws GLIB_BadAllocException
    // when the memory cannot be had.
    explicit GFIL_ReadBuffer(std::uint32_t capacity);
    ~GFIL_ReadBuffer();

    GFIL_ReadBuffer(GFIL_ReadBuffer&& other) noexcept;
    GFIL_ReadBuffer& operator=(GFIL_ReadBuffer&& other) noexcept;
    GFIL_ReadBuffer(const GFIL_ReadBuffer&) = delete;
    GFIL_ReadBuffer& operator=(const GFIL_ReadBuffer&) = delete;

    bool HasStorage() const noexcept { return m_storage != nullptr; }
    std::uint32_t Capacity() const noexcept { return m_capacity; }

    // Whole storage, from its first byte; null when released.
    std::uint8_t* Storage() noexcept { return m_storage; }
    const std::uint8_t* Storage() const noexcept { return m_storage; }

    // The data: Count() bytes starting DataOffset() bytes into the storage.
    std::uint8_t* Data() noexcept { return m_storage ? m_storage + m_dataOffset : nullptr; }
    const std::uint8_t* Data() const noexcept
    {
        return m_storage ? m_storage + m_dataOffset : nullptr;
    }
    std::uint32_t DataOffset() const noexcept { return m_dataOffset; }
    std::uint32_t Count() const noexcept { return m_count; }

    // Sets where the data begins and how many bytes it has. Throws the file-system exception
    // (1158007) when the range does not lie inside the storage, so that a write can never
    // reach past the block.
    void SetData(std::uint32_t dataOffset, std::uint32_t count);

    bool IsEndOfFile() const noexcept { return m_endOfFile; }
    void SetEndOfFile(bool endOfFile) noexcept { m_endOfFile = endOfFile; }

    // Frees the storage; the buffer becomes empty (capacity, offset and count 0, no end flag).
    void Release() noexcept;

private:
    std::uint8_t* m_storage = nullptr;
    std::uint32_t m_capacity = 0;
    std::uint32_t m_dataOffset = 0;
    std::uint32_t m_count = 0;
    bool m_endOfFile = false;
};
