// Decoding of the embedded private directory (tag QuorIFD). Its bytes are a TIFF directory in the
// file's byte order: a 16-bit entry count, then 12-byte entries (tag, type, count, value or
// offset). Values longer than four bytes live elsewhere in the file and are read with pread at
// their offset, so that libtiff's own file position is never disturbed. Every offset and count is
// checked against the file's size in 64-bit arithmetic before anything is read or allocated; an
// entry that fails a check is skipped.

#include "TIFX/TIFX_HandleState.h"
#include "TIFX/TIFX_Tags.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <vector>

namespace
{
constexpr uint64_t kEntrySize = 12;

uint16_t Read16(const uint8_t* p, bool swap)
{
    uint16_t v;
    std::memcpy(&v, p, 2);
    return swap ? static_cast<uint16_t>((v >> 8) | (v << 8)) : v;
}

uint32_t Read32(const uint8_t* p, bool swap)
{
    uint32_t v;
    std::memcpy(&v, p, 4);
    return swap ? __builtin_bswap32(v) : v;
}

// Size in bytes of one element of the types an entry may use here; 0 for any other type.
uint64_t ElementSize(uint16_t type)
{
    switch (type)
    {
    case TIFF_BYTE:
    case TIFF_ASCII:
    case TIFF_SBYTE:
    case TIFF_UNDEFINED:
        return 1;
    case TIFF_SHORT:
    case TIFF_SSHORT:
        return 2;
    case TIFF_LONG:
    case TIFF_SLONG:
    case TIFF_FLOAT:
        return 4;
    default:
        return 0;
    }
}

void SwapElements(std::vector<uint8_t>& bytes, uint64_t elementSize)
{
    if (elementSize == 2)
    {
        for (size_t i = 0; i + 1 < bytes.size(); i += 2)
            std::swap(bytes[i], bytes[i + 1]);
    }
    else if (elementSize == 4)
    {
        for (size_t i = 0; i + 3 < bytes.size(); i += 4)
        {
            std::swap(bytes[i], bytes[i + 3]);
            std::swap(bytes[i + 1], bytes[i + 2]);
        }
    }
}

// Reads `size` bytes at `offset` of the file without moving libtiff's position.
bool ReadAt(int fd, uint64_t offset, uint64_t size, std::vector<uint8_t>& out)
{
    out.resize(size);
    uint64_t done = 0;
    while (done < size)
    {
        const ssize_t n =
            ::pread(fd, out.data() + done, size - done, static_cast<off_t>(offset + done));
        if (n <= 0)
            return false;
        done += static_cast<uint64_t>(n);
    }
    return true;
}
} // namespace

void TIFX_DecodeQuorIFD(TIFF* tif, TIFX_HandleState& state, const uint8_t* blob, uint64_t size)
{
    if (!blob || size < 2)
        return;
    const bool swap = TIFFIsByteSwapped(tif) != 0;

    // A directory that claims more entries than its bytes hold is read as far as they go.
    uint64_t entries = Read16(blob, swap);
    entries = std::min(entries, (size - 2) / kEntrySize);

    const int fd = state.fd;
    uint64_t fileSize = 0;
    struct stat st;
    if (fd >= 0 && ::fstat(fd, &st) == 0 && st.st_size > 0)
        fileSize = static_cast<uint64_t>(st.st_size);

    std::vector<uint8_t> bytes;
    uint64_t bytesRead = 0;
    for (uint64_t e = 0; e < entries; ++e)
    {
        const uint8_t* entry = blob + 2 + e * kEntrySize;
        const uint16_t tag = Read16(entry, swap);
        const uint16_t type = Read16(entry + 2, swap);
        const uint32_t count = Read32(entry + 4, swap);

        // Only registered tags are read; the embedded directory and the reserved tags are not
        // followed from inside it.
        const TIFX_TagInfo* row = TIFX_FindPrivateTag(tag);
        if (!row || row->value.GetKind() == TIFX_TagValue::Kind::EmbeddedDirectory ||
            row->value.GetKind() == TIFX_TagValue::Kind::Reserved)
            continue;
        const uint64_t elementSize = ElementSize(type);
        if (elementSize == 0 || count == 0)
            continue;
        // count is below 2^32 and elementSize at most 4: the product cannot overflow 64 bits.
        const uint64_t byteCount = uint64_t{count} * elementSize;
        if (byteCount <= 4)
        {
            bytes.assign(entry + 8, entry + 8 + byteCount);
        }
        else
        {
            const uint64_t offset = Read32(entry + 8, swap);
            if (fd < 0 || byteCount > fileSize || offset > fileSize - byteCount)
                continue;
            // Entries pointing at the same large region again and again would read it again and
            // again; a real embedded directory stays far below this.
            if (byteCount > TIFX_kMaxPrivateDirectoryBytes - bytesRead)
                continue;
            bytesRead += byteCount;
            if (!ReadAt(fd, offset, byteCount, bytes))
                continue;
        }
        SwapElements(bytes, swap ? elementSize : 1);

        TIFX_FieldValue value;
        value.type = static_cast<TIFFDataType>(type);
        value.count = count;
        value.data = bytes.data();
        TIFX_ApplyPrivateField(tif, state, tag, value);
    }
}
