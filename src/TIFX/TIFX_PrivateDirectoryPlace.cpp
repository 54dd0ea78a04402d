#include "TIFX/TIFX_PrivateDirectoryPlace.h"

#include "TIFX/TIFX_Tags.h"

#include <tiffio.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace
{
// Reads integers of the file's byte order with pread, never past the end of the file.
class RawReader
{
public:
    RawReader(int fd, bool swap) : m_fd(fd), m_swap(swap)
    {
        struct stat st
        {
        };
        if (fd >= 0 && ::fstat(fd, &st) == 0 && st.st_size > 0)
            m_size = static_cast<std::uint64_t>(st.st_size);
    }

    // The unsigned integer of n bytes (2, 4 or 8) at `at`; false past the end of the file.
    bool Get(std::uint64_t at, int n, std::uint64_t& value) const
    {
        std::uint8_t b[8] = {};
        if (at > m_size || std::uint64_t(n) > m_size - at ||
            ::pread(m_fd, b, std::size_t(n), static_cast<off_t>(at)) != n)
            return false;
        const bool littleEndianFile = IsHostLittleEndian() != m_swap;
        value = 0;
        for (int i = 0; i < n; ++i)
            value |= std::uint64_t(b[littleEndianFile ? i : n - 1 - i]) << (8 * i);
        return true;
    }

private:
    static bool IsHostLittleEndian()
    {
        const std::uint16_t probe = 1;
        std::uint8_t first = 0;
        std::memcpy(&first, &probe, 1);
        return first == 1;
    }

    int m_fd;
    bool m_swap;
    std::uint64_t m_size = 0;
};

struct Extent
{
    std::uint64_t begin = 0;
    std::uint64_t end = 0;
    bool Overlaps(std::uint64_t b, std::uint64_t e) const { return b < end && begin < e; }
};

// The layout of a classic TIFF or of a BigTIFF.
struct Layout
{
    explicit Layout(bool big)
        : header(big ? 16 : 8), countSize(big ? 8 : 2), entrySize(big ? 20 : 12),
          nextSize(big ? 8 : 4), valueSize(big ? 8 : 4), firstOffsetAt(big ? 8 : 4)
    {
    }
    int header, countSize, entrySize, nextSize, valueSize, firstOffsetAt;
};
} // namespace

std::string TIFX_CheckPrivateDirectoryPlace(TIFF* tif, int fd, const std::string& where)
{
    const Layout layout(TIFFIsBigTIFF(tif) != 0);
    const RawReader file(fd, TIFFIsByteSwapped(tif) != 0);
    const std::string self =
        where + ": the private directory (tag " + std::to_string(TIFX_Tag::QuorIFD) + ")";

    // Every image directory of the file, as far as its chain of offsets can be followed.
    std::vector<Extent> directories;
    std::uint64_t at = 0;
    file.Get(std::uint64_t(layout.firstOffsetAt), layout.valueSize, at);
    const std::size_t limit = std::size_t(TIFFNumberOfDirectories(tif)) + 1;
    while (at != 0 && directories.size() < limit)
    {
        std::uint64_t count = 0;
        if (!file.Get(at, layout.countSize, count) || count > 0xFFFF)
            break;
        const std::uint64_t next = at + std::uint64_t(layout.countSize) + count * layout.entrySize;
        if (std::any_of(directories.begin(), directories.end(),
                        [at](const Extent& e) { return e.begin == at; }))
            break;
        directories.push_back({at, next + std::uint64_t(layout.nextSize)});
        if (!file.Get(next, layout.nextSize, at))
            break;
    }

    // The private directory's entry in the current directory.
    const std::uint64_t current = TIFFCurrentDirOffset(tif);
    std::uint64_t count = 0;
    if (!file.Get(current, layout.countSize, count))
        return "";
    for (std::uint64_t i = 0; i < count && i <= 0xFFFF; ++i)
    {
        const std::uint64_t entry =
            current + std::uint64_t(layout.countSize) + i * std::uint64_t(layout.entrySize);
        std::uint64_t tag = 0, bytes = 0;
        if (!file.Get(entry, 2, tag) || !file.Get(entry + 4, layout.valueSize, bytes))
            return "";
        if (tag != TIFX_Tag::QuorIFD)
            continue;
        // BYTE or UNDEFINED values: one byte each. Up to the size of the value field they
        // stand in the entry itself.
        const std::uint64_t valueField = entry + 4 + std::uint64_t(layout.valueSize);
        std::uint64_t place = valueField;
        if (bytes > std::uint64_t(layout.valueSize) &&
            !file.Get(valueField, layout.valueSize, place))
            return "";
        std::uint64_t entries = 0;
        if (bytes < 2 + 12 || !file.Get(place, 2, entries) || entries == 0)
            return self + " has no entries";
        if (place < std::uint64_t(layout.header))
            return self + " lies in the file header";
        const std::uint64_t end = bytes > UINT64_MAX - place ? UINT64_MAX : place + bytes;
        if (bytes > std::uint64_t(layout.valueSize))
            for (std::size_t d = 0; d < directories.size(); ++d)
                if (directories[d].Overlaps(place, end))
                    return self + " lies in directory " + std::to_string(d);
        return "";
    }
    return "";
}
