// Fuzz target for the imposition tree: the input is taken as one preview file and placed through
// a registry as the viewer places files, then every node is named and dumped, and every
// separation decides its colour and reads its tiles and reduced image. The same bytes are also
// read as a print time.

#include "GFIL/GFIL_FileSpec.h"
#include "GLIB/GLIB_Exception.h"
#include "IMPN/IMPN_PrintTime.h"
#include "IMPN/IMPN_Registry.h"
#include "IMPN/IMPN_Sheet.h"
#include "TIFX/TIFX_Exception.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace
{
void Exercise(IMPN_Surface& surface)
{
    (void)surface.GetName();
    (void)surface.GetPrintTime();
    for (const auto& separation : surface.GetSeparations())
    {
        separation->Prepare();
        const std::size_t tileBytes = separation->GetTileByteCount();
        if (tileBytes > 0 && tileBytes <= (std::size_t{16} << 20))
        {
            std::vector<std::uint8_t> tile(tileBytes);
            // A few tiles, twice each, so that classified tiles answer from their class.
            const std::uint32_t across = std::min<std::uint32_t>(separation->GetTilesAcross(), 4);
            for (int pass = 0; pass < 2; ++pass)
                for (std::uint32_t i = 0; i < across; ++i)
                    separation->ReadTile(tile.data(), tile.size(), i * separation->GetTileWidth(),
                                         0);
        }
        (void)separation->GetTileClass(0, 0);
        (void)separation->GetThumbnailScale();
        IMPN_Raster raster;
        separation->ReadThumbnail(raster);
    }
    (void)surface.GetLatestChange();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    (void)IMPN_PrintTime::Parse(std::string_view(reinterpret_cast<const char*>(data), size));

    const int fd = ::memfd_create("krn-tree", MFD_CLOEXEC);
    if (fd < 0)
        return 0;
    std::size_t done = 0;
    while (done < size)
    {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    if (done == size)
    {
        try
        {
            IMPN_Registry registry;
            registry.AddFiles({GFIL_FileSpec("/proc/self/fd/" + std::to_string(fd))}, false);
            std::ostringstream dump;
            registry.Dump(dump, 0);
            std::vector<IMPN_Sheet*> sheets;
            registry.CollectSheets(sheets);
            for (IMPN_Sheet* sheet : sheets)
            {
                (void)sheet->GetName();
                (void)sheet->GetPrintTime();
                Exercise(sheet->GetFrontSurface());
                Exercise(sheet->GetBackSurface());
            }
        }
        catch (const TIFX_Exception&)
        {
            // A reduced-image candidate without BitsPerSample is reported to the caller.
        }
        catch (const GLIB_Exception&)
        {
        }
    }
    ::close(fd);
    return 0;
}
