#pragma once
// Writes preview files through libtiff, for tests, benchmarks and sample jobs: directory 0 is the
// one-bit, min-is-white separation in 512 x 512 tiles; the reduced 8-bit image follows in
// directory 1 (or 2, behind a directory of another depth); every directory carries the job
// information, inside a correctly formed embedded QuorIFD or in the directory itself. Options
// also produce the deliberately invalid variants that tests need.

#include "TIFX/TIFX_KRNDirectoryInfo.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct TIFX_KRNWriterOptions
{
    enum class ByteOrder
    {
        LittleEndian,
        BigEndian
    };
    enum class Compression
    {
        None,
        PackBits,
        LZW,
        Deflate,
        CCITTGroup4 // the one-bit image only; the 8-bit image is then written with Deflate
    };

    ByteOrder byteOrder = ByteOrder::LittleEndian;
    Compression compression = Compression::CCITTGroup4;
    bool tagsInQuorIFD = true;      // false: private tags stand in the directory itself (the
                                    // embedded directory holds only "Scale")
    bool writeQuorIFD = true;       // false: no embedded directory at all (not a valid preview)
    uint16_t reducedDirectory = 1;  // 1, or 2 behind a 4-bit directory 1
    bool writeReducedImage = true;  // false: directory 0 only (not a valid preview)
    uint32_t tileSize = 512;        // 256 makes an invalid preview
    uint16_t mainBitsPerSample = 1; // 8 makes an invalid preview
    uint16_t reducedScale = 8;      // the reduced image is 1:reducedScale of the main image
    float resolution = 600.0f;      // dots per inch of the main image
    std::string inkNames;           // InkNames (tag 333) of the main image; empty: none
};

// One entry of an embedded directory as it goes to the file. `data` holds the value bytes in the
// file's byte order; up to four bytes are stored in the entry, longer values out of line behind
// the entries, their offset set to where they land in the file. `forcedOffset` stores that value
// in the offset field instead (crafted files).
struct TIFX_RawEntry
{
    uint16_t tag = 0;
    uint16_t type = 0;
    uint32_t count = 0;
    std::vector<uint8_t> data;
    std::optional<uint32_t> forcedOffset;
};

class TIFX_KRNWriter
{
public:
    // Fills one tile of the main image: tileSize rows of tileSize / 8 bytes for one-bit images
    // (most significant bit first, 1 = ink) or tileSize bytes for the 8-bit variant, with pixel
    // (x0, y0) at its top-left. Pixels outside the image must be 0.
    using TileSource = std::function<void(uint32_t x0, uint32_t y0, uint8_t* tile)>;
    // Fills `rows` one-bit packed rows of (width + 7) / 8 bytes from row y0 on, top to bottom:
    // the writer asks for one band of tile rows at a time, so that a sheet of any size is written
    // holding one band, never the whole bitmap. Padding bits of the last byte must be 0.
    using RowSource = std::function<void(uint32_t y0, uint32_t rows, uint8_t* band)>;
    // Gives the reduced image once the main image is written: for a reduced image measured from
    // the rows as the row source makes them.
    using ReducedSource = std::function<std::vector<uint8_t>()>;

    explicit TIFX_KRNWriter(TIFX_KRNWriterOptions options = {});

    // The main image from a tile source, or from one-bit packed rows of (width + 7) / 8 bytes
    // (for the 8-bit variant each pixel becomes 0 or 255).
    void SetMainImage(uint32_t width, uint32_t height, TileSource source);
    void SetMainBitmap(uint32_t width, uint32_t height, std::vector<uint8_t> packedRows);
    void SetMainRows(uint32_t width, uint32_t height, RowSource source);

    // The reduced image (0 = white, 255 = full ink), of ceil(width / reducedScale) x
    // ceil(height / reducedScale) pixels. Without it the writer averages the main image.
    void SetReducedImage(std::vector<uint8_t> pixels);
    void SetReducedImage(ReducedSource source);

    // Job information written to every directory ("Scale" is set per directory by the writer).
    void SetDirectoryInfo(const KRNDirectoryInfo& info);

    // Replaces the encoded entries of the embedded directory (all directories), for crafted files;
    // `declaredCount` overrides the entry count written in front of them.
    void SetQuorIFDEntries(std::vector<TIFX_RawEntry> entries,
                           std::optional<uint16_t> declaredCount = std::nullopt);

    // Writes the file; throws TIFX_FileIOException when libtiff fails.
    void Write(const std::string& utf8Path);

    // The entries that encode `info` with the given "Scale", sorted by tag, in a file of the given
    // byte order.
    static std::vector<TIFX_RawEntry> EncodeEntries(const KRNDirectoryInfo& info, uint16_t scale,
                                                    bool bigEndian);
    // An entry of 16-bit (SHORT) or 32-bit (LONG, SLONG, FLOAT bits) values in the given order.
    static TIFX_RawEntry MakeEntry(uint16_t tag, uint16_t type, const std::vector<uint32_t>& values,
                                   bool bigEndian);

private:
    TIFX_KRNWriterOptions m_options;
    uint32_t m_width = 0;
    uint32_t m_height = 0;
    TileSource m_source;
    RowSource m_rowSource;
    ReducedSource m_reducedSource;
    std::vector<uint8_t> m_bitmap;
    std::vector<uint8_t> m_reduced;
    KRNDirectoryInfo m_info;
    std::optional<std::vector<TIFX_RawEntry>> m_rawEntries;
    std::optional<uint16_t> m_declaredCount;
};
