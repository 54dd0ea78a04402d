// Writes the seed corpus of the preview-file fuzz target into the folder named on the command
// line: small preview files in both byte orders, every compression and private-tag placement, and
// the invalid variants. Seeds are made at run time so that no binary files are kept.

#include "KRN_TestJobInfo.h"

#include "TIFX/TIFX_KRNWriter.h"
#include "TIFX/TIFX_Tags.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace
{
using Options = TIFX_KRNWriterOptions;

// Seeds are one tile of 96 x 80 pixels, so that the fuzzer decodes little per execution; one
// seed of four tiles keeps the tile grid's edges in reach.
void Write(const std::filesystem::path& folder, const std::string& name, Options options,
           const std::vector<TIFX_RawEntry>* entries = nullptr,
           std::optional<uint16_t> declared = std::nullopt, uint32_t width = 96,
           uint32_t height = 80)
{
    TIFX_KRNWriter writer(options);
    if (entries)
        writer.SetQuorIFDEntries(*entries, declared);
    writer.SetMainImage(width, height,
                        [&](uint32_t x0, uint32_t y0, uint8_t* tile)
                        {
                            const uint32_t size = options.tileSize;
                            const uint32_t rowBytes =
                                options.mainBitsPerSample == 8 ? size : size / 8;
                            for (uint32_t r = 0; r < size && y0 + r < height; ++r)
                                for (uint32_t c = 0; c < rowBytes; c += 3)
                                    if (x0 + c * 8 < width && ((y0 + r) / 16 + c) % 4 == 0)
                                        tile[r * rowBytes + c] = 0x3C;
                        });
    writer.SetDirectoryInfo(KRN_TestSeedInfo());
    writer.Write((folder / name).string());
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: make_preview_seeds FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder(argv[1]);
    try
    {
        std::filesystem::create_directories(folder);
        const Options::Compression compressions[] = {
            Options::Compression::PackBits, Options::Compression::LZW,
            Options::Compression::Deflate, Options::Compression::CCITTGroup4};
        const char* names[] = {"packbits", "lzw", "deflate", "g4"};
        for (int c = 0; c < 4; ++c)
            for (bool big : {false, true})
            {
                Options o;
                o.compression = compressions[c];
                o.byteOrder =
                    big ? Options::ByteOrder::BigEndian : Options::ByteOrder::LittleEndian;
                Write(folder, std::string(big ? "big-" : "little-") + names[c] + ".tif", o);
            }
        Write(folder, "four-tiles.tif", Options(), nullptr, std::nullopt, 700, 600);
        Options o;
        o.compression = Options::Compression::Deflate;
        o.tagsInQuorIFD = false;
        Write(folder, "tags-in-directory.tif", o);
        o = Options();
        o.reducedDirectory = 2;
        Write(folder, "reduced-in-directory-2.tif", o);
        o = Options();
        o.writeQuorIFD = false;
        Write(folder, "no-private-directory.tif", o);
        o = Options();
        o.tileSize = 256;
        Write(folder, "tiles-256.tif", o);
        o = Options();
        o.writeReducedImage = false;
        o.byteOrder = Options::ByteOrder::BigEndian;
        Write(folder, "no-reduced-image.tif", o);

        // Crafted embedded directories: an offset past the end, an overflowing count, a clip-path
        // sequence that claims more than it holds, and more entries declared than present.
        namespace T = TIFX_Tag;
        const auto entry = [](uint32_t tag, uint16_t type, std::vector<uint32_t> values)
        { return TIFX_KRNWriter::MakeEntry(static_cast<uint16_t>(tag), type, values, false); };
        std::vector<TIFX_RawEntry> crafted = {
            entry(T::Title, TIFF_ASCII, {'H', 'o', 's', 't', 'i', 'l', 'e', 0}),
            entry(T::NumPages, TIFF_SHORT, {3}),
            entry(T::PagePosnTop, TIFF_LONG, {1, 2}),
            entry(T::PageSourceClipPath, TIFF_LONG, {1, 2, 1, 1, 2, 2, 1, 900, 4}),
            entry(T::CMYKEquivalent, TIFF_SHORT, {1, 2, 3, 4}),
        };
        crafted[0].forcedOffset = 0xFFFFFF00u;
        crafted[2].count = 0x40000001u;
        Write(folder, "crafted-private-directory.tif", Options(), &crafted, uint16_t{60});
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "make_preview_seeds: %s\n", e.what());
        return 1;
    }
    return 0;
}
