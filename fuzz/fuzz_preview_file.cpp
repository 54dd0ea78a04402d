// Fuzz target for the preview-file reader: the input is taken as a whole file, opened through
// libtiff with the private tags and the embedded directory decoded, tested for validity, and every
// directory is walked: private fields, standard getters, the directory report and its first tile,
// which is what the imposition model asks of a file. Seeds are small images, so that an execution
// costs one or two tile decodes at most.
//
// With libFuzzer a structure-aware mutator works on the embedded private directory (tag 34756)
// a quarter of the time: it finds the directory's entries through the file's own offsets and
// changes one tag, type, count, value offset or out-of-line value, or the declared entry count, so
// that mutations land in the private-tag decoding rather than in libtiff's rejection of a broken
// file.

#include "TIFX/TIFX_KRNFile.h"
#include "TIFX/TIFX_Tags.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace
{
// Reads every getter so that a fault behind any of them shows up; absent tags are expected.
template <class Getter>
void Touch(Getter getter)
{
    try
    {
        (void)getter();
    }
    catch (const TIFX_Exception&)
    {
    }
}

FILE* NullOutput()
{
    static FILE* out = std::fopen("/dev/null", "w");
    return out;
}

void WalkDirectory(TIFX_KRNFile& file)
{
    Touch([&] { return file.GetImageWidth(); });
    Touch([&] { return file.GetImageLength(); });
    Touch([&] { return file.GetBitsPerSample(); });
    Touch([&] { return file.GetPhotometricInterpretation(); });
    Touch([&] { return file.GetXResolution(); });
    Touch([&] { return file.GetYResolution(); });
    Touch([&] { return file.GetTileWidth(); });
    Touch([&] { return file.GetTileLength(); });
    Touch([&] { return file.GetInkNames(); });
    Touch([&] { return file.GetCMYKEquivalent(); });

    const KRNDirectoryInfo& info = file.GetDirectoryInfo();
    size_t points = info.title.size() + info.printTime.size() + info.colorName.size();
    for (const KRNPageInfo& page : info.pages)
        for (const std::vector<KRNPoint>& path : page.clipPaths)
            for (const KRNPoint& point : path)
                points += static_cast<size_t>(point.x ^ point.y) & 1u;
    (void)points;

    // The report is linear in the pages: 65,535 of them print 400,000 lines that teach the
    // fuzzer nothing the first few did not, and would take most of its time.
    if (FILE* out = NullOutput(); out && info.pages.size() <= 64)
        file.PrintDirectory(out);

    // The first tile, with the buffer sized as the reader says; huge declared tiles are skipped.
    const int64_t tileSize = file.GetTileSize();
    if (tileSize > 0 && tileSize <= (int64_t{1} << 20))
    {
        std::vector<uint8_t> buffer(static_cast<size_t>(tileSize));
        file.ReadTile(buffer.data(), 0, 0);
    }
}

#ifdef KRN_LIBFUZZER
// Classic TIFF integers in the file's byte order; reads past the end give 0, writes are dropped.
struct Bytes
{
    uint8_t* data;
    size_t size;
    bool big;

    uint32_t Get(uint64_t at, int n) const
    {
        uint32_t v = 0;
        if (at + uint64_t(n) > size)
            return 0;
        for (int i = 0; i < n; ++i)
            v |= uint32_t(data[at + i]) << (8 * (big ? n - 1 - i : i));
        return v;
    }
    void Put(uint64_t at, int n, uint32_t v)
    {
        if (at + uint64_t(n) > size)
            return;
        for (int i = 0; i < n; ++i)
            data[at + i] = uint8_t(v >> (8 * (big ? n - 1 - i : i)));
    }
};

// File offsets of the embedded directories (tag 34756) of the first few image directories.
std::vector<uint64_t> EmbeddedDirectories(const Bytes& b)
{
    std::vector<uint64_t> found;
    if (b.size < 8 || (b.data[0] != 'I' && b.data[0] != 'M'))
        return found;
    uint64_t ifd = b.Get(4, 4);
    for (int d = 0; d < 4 && ifd != 0 && ifd + 2 <= b.size; ++d)
    {
        const uint32_t n = b.Get(ifd, 2);
        for (uint32_t k = 0; k < n; ++k)
        {
            const uint64_t e = ifd + 2 + 12 * uint64_t(k);
            if (e + 12 > b.size)
                break;
            if (b.Get(e, 2) == TIFX_Tag::QuorIFD && b.Get(e + 4, 4) > 4)
                found.push_back(b.Get(e + 8, 4));
        }
        ifd = b.Get(ifd + 2 + 12 * uint64_t(n), 4);
    }
    return found;
}

uint32_t Hostile(uint32_t r, uint32_t fileSize)
{
    static const uint32_t values[] = {
        0, 1, 2, 3, 4, 5, 0xFF, 0xFFFF, 0x10000, 0x3FFFFF, 0x400000, 0x7FFFFFFF, 0xFFFFFFFF};
    const uint32_t pick = r % (std::size(values) + 2);
    if (pick < std::size(values))
        return values[pick];
    return pick == std::size(values) ? fileSize - (r >> 8) % 32 : r >> 4;
}

// One change inside an embedded directory; false when the input has none to change.
bool MutateEmbedded(uint8_t* data, size_t size, unsigned seed)
{
    Bytes b{data, size, size > 0 && data[0] == 'M'};
    const std::vector<uint64_t> directories = EmbeddedDirectories(b);
    if (directories.empty())
        return false;
    uint32_t r = seed * 2654435761u + 1;
    auto next = [&] { return r = r * 1103515245u + 12345u, r >> 7; };
    const uint64_t dir = directories[next() % directories.size()];
    const uint32_t count = b.Get(dir, 2);
    if (count == 0 || dir + 2 + 12 > size)
    {
        b.Put(dir, 2, next() % 64);
        return true;
    }
    const uint64_t e = dir + 2 + 12 * uint64_t(next() % count);
    const auto tags = TIFX_PrivateTags();
    switch (next() % 7)
    {
    case 0: // another registered tag, so values meet the decoding of another field
        b.Put(e, 2, tags[next() % tags.size()].tag);
        break;
    case 1: // another type, including ones no private tag has
        b.Put(e + 2, 2, 1 + next() % 13);
        break;
    case 2: // the count
        b.Put(e + 4, 4, Hostile(next(), uint32_t(size)));
        break;
    case 3: // the value or its offset
        b.Put(e + 8, 4, Hostile(next(), uint32_t(size)));
        break;
    case 4: // the out-of-line value itself: per-page arrays, clip-path counts, texts
    {
        const uint32_t offset = b.Get(e + 8, 4);
        const uint32_t words = 1 + next() % 8;
        for (uint32_t i = 0; i < words; ++i)
            b.Put(offset + 4 * uint64_t(next() % 64), 4, Hostile(next(), uint32_t(size)));
        break;
    }
    case 5: // the declared number of entries
        b.Put(dir, 2, count + 1 - next() % 3);
        break;
    default: // two entries swapped, so the order that page arrays rely on breaks
    {
        const uint64_t other = dir + 2 + 12 * uint64_t(next() % count);
        if (other + 12 <= size && e + 12 <= size)
            for (int i = 0; i < 12; ++i)
                std::swap(data[e + i], data[other + i]);
        break;
    }
    }
    return true;
}
#endif
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The reader works on a file; an anonymous memory file keeps the fuzzer off the disk.
    const int fd = ::memfd_create("krn-preview", MFD_CLOEXEC);
    if (fd < 0)
        return 0;
    size_t done = 0;
    while (done < size)
    {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
    if (done == size)
    {
        TIFX_KRNFile file("/proc/self/fd/" + std::to_string(fd));
        try
        {
            file.Open();
            file.IsValidPreviewFile();
            const uint16_t count = file.CountDirectories();
            for (uint16_t d = 0; d < count && d < 8; ++d)
            {
                if (!file.SetDirectory(d))
                    break;
                WalkDirectory(file);
            }
            file.IsValidPreviewFile();
        }
        catch (const TIFX_Exception&)
        {
        }
    }
    ::close(fd);
    return 0;
}

#ifdef KRN_LIBFUZZER
extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize,
                                          unsigned int seed)
{
    if (seed % 4 == 0 && MutateEmbedded(data, size, seed / 4))
        return size;
    return LLVMFuzzerMutate(data, size, maxSize);
}
#endif
