#pragma once
// One preview file: a TIFF whose directory 0 is the screened one-bit separation in 512 x 512
// tiles, whose directory 1 or 2 is an 8-bit reduced copy, and whose directories carry the job
// information in private tags (usually inside the embedded directory QuorIFD). The file is opened
// through libtiff; the private tags are decoded by a tag extender into the KRNDirectoryInfo of the
// current directory, which is rebuilt at every directory change.

#include "TIFX/TIFX_Exception.h"
#include "TIFX/TIFX_KRNDirectoryInfo.h"
#include "TIFX/TIFX_RepeatedTile.h"
#include "TIFX/TIFX_Tags.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

class GFIL_FileSpec;
class TIFX_RunReceiver;
struct TIFX_HandleState;
typedef struct tiff TIFF;

class TIFX_KRNFile
{
public:
    // The most pixels a full-resolution image may have on a side: 11 m at 2400 dpi, beyond any
    // plate. A file declaring more is not a preview file, whatever its tiles hold.
    static constexpr uint32_t kMaxSide = uint32_t{1} << 20;

    // Remembers the file; does not open it.
    explicit TIFX_KRNFile(const GFIL_FileSpec& spec);
    explicit TIFX_KRNFile(std::string utf8Path);
    ~TIFX_KRNFile();

    TIFX_KRNFile(const TIFX_KRNFile&) = delete;
    TIFX_KRNFile& operator=(const TIFX_KRNFile&) = delete;

    // Opens the file for reading with directory 0 current; nothing when already open.
    // Throws TIFX_FileIOException with libtiff's error text when the file cannot be opened.
    void Open();
    void Close();
    bool IsOpen() const { return m_tiff != nullptr; }
    const std::string& GetPath() const { return m_path; }

    // Makes directory `index` current. Returns false (and keeps the previous directory current)
    // when the file has no such directory or it cannot be read.
    bool SetDirectory(uint16_t index);
    uint16_t GetDirectory() const;
    // Number of directories in the file; 0 when closed.
    uint16_t CountDirectories() const;

    // Standard tags of the current directory; each throws TIFX_TagNotFoundException when the tag
    // is absent (or the file is closed).
    uint32_t GetImageWidth() const;
    uint32_t GetImageLength() const;
    uint16_t GetBitsPerSample() const;
    uint16_t GetPhotometricInterpretation() const;
    float GetXResolution() const;
    float GetYResolution() const;
    uint32_t GetTileWidth() const;
    uint32_t GetTileLength() const;
    std::string GetInkNames() const; // the first (for a separation, the only) ink name

    // C, M, Y, K of the current directory (65535 is 100 %); TIFX_TagNotFoundException for tag
    // 34032 when the directory has none.
    std::array<uint16_t, 4> GetCMYKEquivalent() const;

    // Job information of the current directory; an empty record while closed.
    const KRNDirectoryInfo& GetDirectoryInfo() const;
    bool IsFieldSet(unsigned fieldBit) const { return GetDirectoryInfo().IsFieldSet(fieldBit); }
    // True when the current directory carried the embedded private directory.
    bool HasQuorIFD() const;

    // Bytes of one decoded tile of the current directory (what ReadTile's buffer must hold);
    // 0 when closed or not tiled.
    int64_t GetTileSize() const;
    // Reads the tile holding pixel (x, y) of the current directory, sample 0, into `buffer`, which
    // must hold GetTileSize() bytes. Returns the byte count, or -1 on failure. Tiles whose bytes
    // lie where those of the tile read before lie are decoded once.
    // Pixels that a damaged CCITT-coded tile leaves undecoded read as 0 (no ink), never as what
    // the buffer held before.
    int64_t ReadTile(void* buffer, uint32_t x, uint32_t y);

    // True when the current directory's tiles are CCITT Group 3 or 4 coded, so that ReadTileRuns
    // can hand over their run lengths.
    bool CanReadTileRuns() const;
    // Reads the tile holding pixel (x, y) like ReadTile, handing every decoded row's run lengths
    // to `receiver` on the calling thread. With fillBits the bits are filled in as well (exactly
    // as ReadTile fills them); without, `buffer` (GetTileSize() bytes) is left as it was. Returns
    // the byte count, or -1 on failure or when the tiles are not CCITT coded.
    int64_t ReadTileRuns(void* buffer, uint32_t x, uint32_t y, TIFX_RunReceiver& receiver,
                         bool fillBits);

    // What decides how a tile's stored bytes decode, for the current directory: two directories
    // of equal coding and image size whose tile holds the same stored bytes hold the same pixels
    // there, without either being decoded.
    struct TileCoding
    {
        uint32_t imageWidth = 0, imageLength = 0, tileWidth = 0, tileLength = 0;
        uint16_t compression = 0, fillOrder = 0, predictor = 0, photometric = 0;
        uint16_t bitsPerSample = 0, samplesPerPixel = 0, planarConfig = 0;
        uint32_t faxOptions = 0; // Group 3 or Group 4 options, as the compression has them

        friend bool operator==(const TileCoding&, const TileCoding&) = default;
    };
    // The coding of the current directory; all zero when closed or not tiled.
    TileCoding GetTileCoding() const;
    // Tiles of the current directory; 0 when closed or not tiled.
    uint32_t CountTiles() const;
    // The index of the tile holding pixel (x, y) of the current directory, sample 0.
    uint32_t TileIndex(uint32_t x, uint32_t y) const;
    // The stored (still coded) byte count of tile `index`; 0 when unknown.
    uint64_t GetRawTileSize(uint32_t index) const;
    // Where the stored bytes of tile `index` start in the file; 0 when unknown.
    uint64_t GetRawTileOffset(uint32_t index) const;
    // Reads count bytes of the file from offset into buffer by positioned reads on the reader's
    // own descriptor (libtiff's position stays); false when the file holds fewer or on an error.
    bool ReadFileBytes(uint64_t offset, uint64_t count, uint8_t* buffer) const;
    // The stored bytes of tile `index` of the current directory as they stand in the file, in
    // `bytes` (resized to fit); false when they cannot be read whole or exceed maxBytes.
    bool ReadRawTile(uint32_t index, std::vector<uint8_t>& bytes, uint64_t maxBytes);

    // True only for a well-formed preview file; the current directory is restored in every case.
    bool IsValidPreviewFile();
    // Which check failed in the latest IsValidPreviewFile that returned false ("" otherwise).
    const std::string& GetValidityFailure() const { return m_validityFailure; }

    // libtiff's report of the current directory, followed by the private lines.
    void PrintDirectory(FILE* out, long flags = 0);

private:
    bool RequireTag(uint32_t tag) const;
    // Where the bytes of the tile holding (x, y) of the current directory lie; false when that
    // cannot be told.
    bool LocateTile(uint32_t x, uint32_t y, uint64_t& offset, uint64_t& count) const;
    // The tile holding (x, y) as ReadTile reads it when its bytes are those of the tile decoded
    // last; false when they are not (the location is then remembered for the next tile).
    bool ReadRepeatedTile(uint32_t x, uint32_t y);
    int64_t DecodeTile(void* buffer, uint32_t x, uint32_t y);
    template <typename Value>
    Value RequiredField(uint32_t tag, int line) const;
    bool CheckFullResolutionDirectory();
    bool CheckReducedDirectory();
    bool CheckTilesCovered(const std::string& where);
    // The stored offset or byte count of a tile of the current directory; 0 when unknown.
    uint64_t StoredTileValue(uint32_t index, bool offset) const;
    bool CheckPrivateDirectoryPlace(const std::string& where);
    [[noreturn]] void ThrowTagNotFound(uint32_t tag, int line) const;

    std::string m_path;
    TIFF* m_tiff = nullptr;
    std::unique_ptr<TIFX_HandleState> m_state;
    std::string m_validityFailure;
    TIFX_RepeatedTile m_repeated;
};
