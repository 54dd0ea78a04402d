#pragma once
// What the surface renderer needs of one separation: its one-bit main image read tile by tile
// (with blank and solid tiles classified once), its visibility and its current display colour.
// The tree's separations are adapted to it; tests and benchmarks feed synthetic inks. An ink
// belongs to the thread that owns the renderer; workers read through readers of their own.

#include <cstddef>
#include <cstdint>
#include <memory>

class IMPN_RunCoverage;

class IMPN_RenderInk
{
public:
    virtual ~IMPN_RenderInk() = default;

    // Width, length, tile width and tile length of the main image; false when unreadable.
    virtual bool GetImageInfo(std::uint32_t& width, std::uint32_t& length, std::uint32_t& tileWidth,
                              std::uint32_t& tileLength) = 0;

    // Reads the tile holding main-image pixel (x, y) into buffer (bufferSize bytes, one whole
    // tile). Returns 1 for a blank or solid tile (buffer[0] holds 0x00 or 0xFF), the byte count
    // of a mixed tile, or -1.
    virtual std::int64_t ReadTile(std::uint8_t* buffer, std::size_t bufferSize, std::uint32_t x,
                                  std::uint32_t y) = 0;

    // 0 unknown, 1 blank, 2 solid, 4 mixed; 128 for a position outside the tile array.
    virtual int GetTileClass(std::uint32_t x, std::uint32_t y) = 0;

    // Coverage counted while decoding, for 1:2 and below. Reads the tile holding (x, y) and
    // counts it into counter, which the caller has begun for the tile size and reduction, from
    // the decoder's run lengths; buffer (bufferSize bytes, one whole tile) is the decoder's
    // scratch, its bits are not filled in. Returns 0 blank, 1 solid (classified as ReadTile
    // classifies), 2 counted, -1 when the tile cannot be read, or kNotCounted when this ink
    // cannot count while decoding (the caller reads the bits with ReadTile).
    static constexpr int kNotCounted = 3;
    virtual int ReadTileCoverage(IMPN_RunCoverage& counter, std::uint8_t* buffer,
                                 std::size_t bufferSize, std::uint32_t x, std::uint32_t y)
    {
        (void)counter, (void)buffer, (void)bufferSize, (void)x, (void)y;
        return kNotCounted;
    }

    virtual bool IsVisible() const = 0;

    // The current display colour: colour and background as blue, green, red; opacity 0..100.
    virtual void GetInk(std::uint8_t colour[3], std::uint8_t background[3],
                        unsigned& opacity) const = 0;

    // An independent reader of the same main image for one worker thread: its own file handle
    // and scratch state, sharing nothing that the ink's owner changes, so that it may decode
    // while the owner goes on using the ink. Only GetImageInfo, ReadTile and GetTileClass are
    // asked of it, and only from that worker; it keeps no tile classes of its own (GetTileClass
    // answers 0 or 128), since the owner's classes are the ones that count. Null when the ink
    // cannot be read from another thread; the renderer then makes its tiles on the caller's
    // thread. Throws, saying which file, when a reader cannot be opened now (no descriptor left,
    // the file gone). Called on the owner's thread or on a worker while the owner goes on, so it
    // reads only what never changes after the ink is made.
    virtual std::unique_ptr<IMPN_RenderInk> OpenWorkerReader() const { return nullptr; }

    // Records the class (1 blank, 2 solid, 4 mixed) a worker found for the tile holding (x, y),
    // so that the owner does not decode a blank or solid tile again. Called on the owner's
    // thread only.
    virtual void NoteTileClass(std::uint32_t /*x*/, std::uint32_t /*y*/, int /*tileClass*/) {}
};
