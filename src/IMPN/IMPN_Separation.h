#pragma once
// One ink of one surface: one preview file. The separation keeps what the tree, the renderer and
// the thumbnail need to know about its file without reading it again (tile geometry, ink name and
// code, print time, where the reduced image is), the classification of its full-resolution tiles
// so that blank and solid ones are decoded only once, and its display colours.

#include "IMPN/IMPN_ColorRecord.h"
#include "IMPN/IMPN_Node.h"
#include "IMPN/IMPN_Raster.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class IMPN_RunCoverage;

class IMPN_Separation : public IMPN_Node
{
public:
    // Tile classes of the full-resolution image.
    static constexpr std::uint32_t TileUnknown = 0; // not read yet
    static constexpr std::uint32_t TileBlank = 1;   // every byte 0x00
    static constexpr std::uint32_t TileSolid = 2;   // every byte 0xFF
    static constexpr std::uint32_t TileMixed = 4;   // anything else
    static constexpr std::uint32_t TileOutside = 128;

    // Describes the separation from an open preview file, whose current directory is 0 again
    // afterwards. The separation opens its own reader of the same file on first use.
    // Propagates TIFX_TagNotFoundException when a reduced-image candidate (directory 1 or 2)
    // has no BitsPerSample, and any other preview-file exception of reading directory 0.
    explicit IMPN_Separation(TIFX_KRNFile& file);
    ~IMPN_Separation() override;

    void AddFile(TIFX_KRNFile& file) override;
    void Clear() override;
    void Dump(std::ostream& out, int level) override;
    std::string GetName() const override; // the ink name ("ColorStr")

    // Decides the display colour again (the current colour becomes the decided one), forgets
    // every tile class and takes a new change stamp.
    void Prepare();

    // Width, length, tile width and tile length of directory 0 (or of the reduced image), read
    // in that order; a preview-file exception ends the reading and leaves the outputs not yet
    // read untouched.
    void GetImageInfo(std::uint32_t& width, std::uint32_t& length, std::uint32_t& tileWidth,
                      std::uint32_t& tileLength);
    void GetThumbnailInfo(std::uint32_t& width, std::uint32_t& length, std::uint32_t& tileWidth,
                          std::uint32_t& tileLength);

    // "Scale" of the reduced image (full-resolution pixels per reduced pixel); 1 when it cannot
    // be read.
    std::uint32_t GetThumbnailScale();

    // The whole reduced image as one 8-bit raster of whole tiles, with a new change stamp.
    // Returns the bytes read, or -1 on a preview-file exception or a size that cannot be held.
    std::int64_t ReadThumbnail(IMPN_Raster& raster);
    // The same from the current directory of a file of one's own, with no change stamp: a
    // worker thread reads this way through a reader from OpenReducedImageReader.
    static std::int64_t ReadReducedImage(TIFX_KRNFile& file, IMPN_Raster& raster);
    // Rows [firstRow, firstRow + rowCount) of the reduced image as a raster of whole tiles'
    // width (its `top` set to firstRow; rows past the image's tiles stay 0), decoding only the
    // tiles of those rows: what holding a large reduced image a band at a time costs. Returns the
    // bytes decoded, or -1 as ReadThumbnail fails.
    std::int64_t ReadThumbnailRows(std::uint32_t firstRow, std::uint32_t rowCount,
                                   IMPN_Raster& raster);
    static std::int64_t ReadReducedRows(TIFX_KRNFile& file, std::uint32_t firstRow,
                                        std::uint32_t rowCount, IMPN_Raster& raster);
    // Counts the tile holding (x, y) of the file's current directory into counter from the
    // decoder's run lengths (buffer: the decoder's scratch, one whole tile). Returns the tile's
    // class (TileBlank, TileSolid or TileMixed), -1 when it cannot be read, or
    // IMPN_RenderInk::kNotCounted when the file is not CCITT-coded or counter was begun for
    // another tile size. A worker thread counts this way through a reader of its own.
    static int CountTileRuns(TIFX_KRNFile& file, IMPN_RunCoverage& counter, std::uint8_t* buffer,
                             std::size_t bufferSize, std::uint32_t x, std::uint32_t y);
    // How many reduced images of bytesEach pixels a pool of the given threads reads and holds
    // at once: one a thread, as many as fit in 256 MiB together, at least one.
    static std::size_t ReducedImagesAtOnce(std::size_t threads, std::uint64_t bytesEach);
    // A reader of the separation's file of its own, opened (on the calling thread) at the reduced
    // image; null when the file cannot be opened.
    std::unique_ptr<TIFX_KRNFile> OpenReducedImageReader() const;

    // Reads the full-resolution tile holding pixel (x, y) into buffer (bufferSize bytes, at
    // least GetTileByteCount()). Blank and solid tiles answer 1 with the uniform byte in
    // buffer[0], after their first read without decoding; mixed tiles answer the byte count.
    // -1 for a failed read, a position outside the image or a buffer that is too small.
    std::int64_t ReadTile(std::uint8_t* buffer, std::size_t bufferSize, std::uint32_t x,
                          std::uint32_t y);

    // Reads the full-resolution tile holding (x, y) and counts its coverage into counter (begun
    // for this tile size) from the decoder's run lengths, classifying the tile as ReadTile does;
    // buffer is scratch for the decoder and keeps no bits. Returns 0 blank, 1 solid, 2 counted,
    // -1 as ReadTile fails, or IMPN_RenderInk::kNotCounted when the file's tiles are not CCITT
    // coded (read them with ReadTile).
    int ReadTileCoverage(IMPN_RunCoverage& counter, std::uint8_t* buffer, std::size_t bufferSize,
                         std::uint32_t x, std::uint32_t y);

    // Class of the tile holding (x, y); TileOutside beyond the tile array.
    std::uint32_t GetTileClass(std::uint32_t x, std::uint32_t y) const;
    // Records a class found by a reader of the same file on another thread (blank, solid or
    // mixed; anything else and positions outside the tile array are ignored).
    void NoteTileClass(std::uint32_t x, std::uint32_t y, std::uint32_t tileClass);
    // The class of a decoded tile of count bytes.
    static std::uint32_t ClassifyTile(const std::uint8_t* bytes, std::int64_t count);

    // Bytes of one decoded full-resolution tile, as the TIFF library decodes it.
    std::size_t GetTileByteCount() const;

    // Closes the reader; it reopens on the next read.
    void CloseFile();
    bool IsFileOpen() const;

    // The separation's own reader, opened when needed. Throws TIFX_FileIOException when the
    // file cannot be opened.
    TIFX_KRNFile& GetFile();
    // Why the reader could not be opened the last time it was tried, as the reader says it (the
    // file's path, then the reason: "... .tif: Too many open files"); empty once it opens. The
    // reads that swallow their failures leave it here for whoever shows the separation.
    const std::string& GetOpenFailure() const { return m_OpenFailure; }
    // The path of the separation's file (UTF-8), known without opening it.
    const std::string& GetFilePath() const;

    std::uint16_t GetColorCode() const { return m_ColorCode; }
    const std::string& GetColorName() const { return m_ColorName; }
    const std::string& GetPrintTime() const { return m_PrintTime; }
    // The print time as 100-ns ticks since 1601; 0 when the text is not a valid time.
    std::int64_t GetPrintTicks() const { return m_PrintTicks; }
    std::uint16_t GetThumbnailDirectory() const { return m_ThumbnailDirectory; }

    std::uint32_t GetTileWidth() const { return m_TileWidth; }
    std::uint32_t GetTileLength() const { return m_TileLength; }
    std::uint32_t GetTilesAcross() const { return m_TilesAcross; }
    std::uint32_t GetTilesDown() const { return m_TilesDown; }
    std::uint32_t GetTileCount() const { return m_TileCount; }

    const IMPN_ColorRecord& GetCurrentColor() const { return m_CurrentColor; }
    const IMPN_ColorRecord& GetDecidedColor() const { return m_DecidedColor; }
    // Sets the colour the user sees (colour, opacity, name) and takes a new change stamp.
    void SetCurrentColor(const IMPN_ColorRecord& color);
    // Sets only the opacity (0 to 100, clamped) of the current colour; a new change stamp.
    void SetOpacity(int opacity);

    bool IsVisible() const { return m_Visible; }
    // Takes a new change stamp when the visibility changes.
    void SetVisible(bool visible);

    bool HasCMYKEquivalent() const { return m_HasCMYKEquivalent; }
    const std::array<std::uint16_t, 4>& GetCMYKEquivalent() const { return m_CMYKEquivalent; }

    std::uint32_t GetChangeStamp() const { return m_ChangeStamp; }

private:
    std::uint32_t TileIndex(std::uint32_t x, std::uint32_t y) const;
    // Opens the reader when needed and makes the directory current when it is not.
    TIFX_KRNFile& FileAt(std::uint16_t directory);

    // Classes of the tiles read so far (absent: unknown); it grows with the tiles visited, not
    // with the tile grid the file declares.
    std::unordered_map<std::uint32_t, std::uint8_t> m_TileClasses;
    std::uint32_t m_TileWidth = 0;
    std::uint32_t m_TileLength = 0;
    std::uint32_t m_TilesAcross = 0;
    std::uint32_t m_TilesDown = 0;
    std::uint32_t m_TileCount = 0;
    std::size_t m_TileByteCount = 0;
    std::uint16_t m_ColorCode = 0;
    std::string m_ColorName;
    std::string m_PrintTime;
    std::int64_t m_PrintTicks = 0;
    std::uint16_t m_ThumbnailDirectory = 1;
    std::unique_ptr<TIFX_KRNFile> m_File;
    std::string m_OpenFailure;
    IMPN_ColorRecord m_CurrentColor;
    IMPN_ColorRecord m_DecidedColor;
    std::array<std::uint16_t, 4> m_CMYKEquivalent{};
    bool m_Visible = true;
    bool m_HasCMYKEquivalent = false;
    std::uint32_t m_ChangeStamp = 0;
};
