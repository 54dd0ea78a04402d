// Fuzz target for the preview-file reader: the input is taken as a whole file, opened through
// libtiff with the private tags and the embedded directory decoded, tested for validity, and every
// directory is walked: private fields, standard getters, the directory report and a few tiles.

#include "TIFX/TIFX_KRNFile.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
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

    if (FILE* out = NullOutput())
        file.PrintDirectory(out);

    // A few tiles, with the buffer sized as the reader says; huge declared tiles are skipped.
    const int64_t tileSize = file.GetTileSize();
    if (tileSize > 0 && tileSize <= (int64_t{16} << 20))
    {
        std::vector<uint8_t> buffer(static_cast<size_t>(tileSize));
        uint32_t tileWidth = 0;
        try
        {
            tileWidth = file.GetTileWidth();
        }
        catch (const TIFX_Exception&)
        {
        }
        for (uint32_t i = 0; i < 3; ++i)
            file.ReadTile(buffer.data(), i * tileWidth, 0);
    }
}
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
