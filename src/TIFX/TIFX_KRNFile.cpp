#include "TIFX/TIFX_KRNFile.h"

#include "TIFX/TIFX_HandleState.h"
#include "TIFX/TIFX_PrivateDirectoryPlace.h"
#include "TIFX/TIFX_RunReceiver.h"

#include <tiffio.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

namespace
{
const KRNDirectoryInfo& EmptyInfo()
{
    static const KRNDirectoryInfo empty;
    return empty;
}

bool IsCCITTCoded(TIFF* tif)
{
    uint16_t compression = COMPRESSION_NONE;
    TIFFGetField(tif, TIFFTAG_COMPRESSION, &compression);
    return compression == COMPRESSION_CCITTFAX3 || compression == COMPRESSION_CCITTFAX4;
}

// The CCITT decoders hand each row's runs to a fill function (the pseudo-tag
// TIFFTAG_FAXFILLFUNC); libtiff's own one sets the bits of the black runs and clears those of the
// white ones. The function has no user pointer, so the decode in progress is found through a
// thread-local: every thread decodes with a handle of its own.
using FaxFillFunction = void (*)(unsigned char*, uint32_t*, uint32_t*, uint32_t);

struct RunDecode
{
    TIFX_RunReceiver* receiver = nullptr;
    FaxFillFunction fill = nullptr; // libtiff's own, when the bits are wanted as well
    const unsigned char* tile = nullptr;
    tmsize_t rowBytes = 0;
    uint32_t rows = 0;
};

thread_local RunDecode* t_runDecode = nullptr;

void ReportRuns(unsigned char* row, uint32_t* runs, uint32_t* end, uint32_t width)
{
    RunDecode* decode = t_runDecode;
    if (decode == nullptr)
        return;
    // The receiver sees the runs before libtiff's fill, which cuts overlong ones in place.
    const std::ptrdiff_t offset = row - decode->tile;
    if (offset >= 0 && offset % decode->rowBytes == 0 && offset / decode->rowBytes < decode->rows)
        decode->receiver->AddRow(static_cast<uint32_t>(offset / decode->rowBytes), runs,
                                 static_cast<std::size_t>(end - runs), width);
    if (decode->fill != nullptr)
        decode->fill(row, runs, end, width);
}
} // namespace

TIFX_KRNFile::TIFX_KRNFile(std::string utf8Path) : m_path(std::move(utf8Path))
{
    TIFX_ProcessSetup();
}

TIFX_KRNFile::~TIFX_KRNFile()
{
    Close();
}

void TIFX_KRNFile::Open()
{
    if (m_tiff)
        return;
    auto state = std::make_unique<TIFX_HandleState>();
    TIFX_ClearErrorText();
    TIFF* tif = TIFX_OpenHandle(m_path, "r", state.get());
    if (!tif)
    {
        std::string text = TIFX_StripModule(TIFX_LastErrorText());
        if (text.empty())
            text = m_path + ": Cannot open";
        throw TIFX_FileIOException(std::move(text), __FILE__, __LINE__);
    }
    m_tiff = tif;
    m_state = std::move(state);
}

void TIFX_KRNFile::Close()
{
    m_repeated.Forget();
    if (m_tiff)
        TIFFClose(m_tiff);
    m_tiff = nullptr;
    // The state goes only after the handle, which refers to it until closed.
    m_state.reset();
}

bool TIFX_KRNFile::SetDirectory(uint16_t index)
{
    if (!m_tiff)
        return false;
    const tdir_t previous = TIFFCurrentDirectory(m_tiff);
    if (previous == index)
        return true;
    if (TIFFSetDirectory(m_tiff, index))
        return true;
    TIFFSetDirectory(m_tiff, previous);
    return false;
}

uint16_t TIFX_KRNFile::GetDirectory() const
{
    return m_tiff ? static_cast<uint16_t>(TIFFCurrentDirectory(m_tiff)) : 0;
}

uint16_t TIFX_KRNFile::CountDirectories() const
{
    return m_tiff ? static_cast<uint16_t>(TIFFNumberOfDirectories(m_tiff)) : 0;
}

void TIFX_KRNFile::ThrowTagNotFound(uint32_t tag, int line) const
{
    throw TIFX_TagNotFoundException(tag, GetDirectory(), __FILE__, line);
}

// A standard tag of the current directory that the caller cannot do without: its value, or
// TIFX_TagNotFoundException naming the tag (also when the file is closed).
template <typename Value>
Value TIFX_KRNFile::RequiredField(uint32_t tag, int line) const
{
    Value v{};
    if (!m_tiff || !TIFFGetField(m_tiff, tag, &v))
        ThrowTagNotFound(tag, line);
    return v;
}

uint32_t TIFX_KRNFile::GetImageWidth() const
{
    return RequiredField<uint32_t>(TIFFTAG_IMAGEWIDTH, __LINE__);
}

uint32_t TIFX_KRNFile::GetImageLength() const
{
    return RequiredField<uint32_t>(TIFFTAG_IMAGELENGTH, __LINE__);
}

uint16_t TIFX_KRNFile::GetBitsPerSample() const
{
    return RequiredField<uint16_t>(TIFFTAG_BITSPERSAMPLE, __LINE__);
}

uint16_t TIFX_KRNFile::GetPhotometricInterpretation() const
{
    return RequiredField<uint16_t>(TIFFTAG_PHOTOMETRIC, __LINE__);
}

float TIFX_KRNFile::GetXResolution() const
{
    return RequiredField<float>(TIFFTAG_XRESOLUTION, __LINE__);
}

float TIFX_KRNFile::GetYResolution() const
{
    return RequiredField<float>(TIFFTAG_YRESOLUTION, __LINE__);
}

uint32_t TIFX_KRNFile::GetTileWidth() const
{
    return RequiredField<uint32_t>(TIFFTAG_TILEWIDTH, __LINE__);
}

uint32_t TIFX_KRNFile::GetTileLength() const
{
    return RequiredField<uint32_t>(TIFFTAG_TILELENGTH, __LINE__);
}

std::string TIFX_KRNFile::GetInkNames() const
{
    const char* names = RequiredField<const char*>(TIFFTAG_INKNAMES, __LINE__);
    if (!names)
        ThrowTagNotFound(TIFFTAG_INKNAMES, __LINE__);
    // A separation has one sample and so one name; libtiff keeps the text NUL-terminated.
    return std::string(names);
}

std::array<uint16_t, 4> TIFX_KRNFile::GetCMYKEquivalent() const
{
    const KRNDirectoryInfo& info = GetDirectoryInfo();
    if (!info.IsFieldSet(TIFX_Field::CMYKEquivalent))
        ThrowTagNotFound(TIFX_Tag::CMYKEquivalent, __LINE__);
    return {info.cmykEquivalent[0], info.cmykEquivalent[1], info.cmykEquivalent[2],
            info.cmykEquivalent[3]};
}

const KRNDirectoryInfo& TIFX_KRNFile::GetDirectoryInfo() const
{
    return m_tiff && m_state ? m_state->info : EmptyInfo();
}

bool TIFX_KRNFile::HasQuorIFD() const
{
    return m_tiff && m_state && m_state->HasLibraryField(TIFX_Field::QuorIFD);
}

int64_t TIFX_KRNFile::GetTileSize() const
{
    if (!m_tiff || !TIFFIsTiled(m_tiff))
        return 0;
    return static_cast<int64_t>(TIFFTileSize64(m_tiff));
}

int64_t TIFX_KRNFile::ReadTile(void* buffer, uint32_t x, uint32_t y)
{
    if (!m_tiff || !buffer || !TIFFIsTiled(m_tiff))
        return -1;
    if (ReadRepeatedTile(x, y))
    {
        std::memcpy(buffer, m_repeated.Bytes().data(), m_repeated.Bytes().size());
        return m_repeated.Result();
    }
    return DecodeTile(buffer, x, y);
}

int64_t TIFX_KRNFile::DecodeTile(void* buffer, uint32_t x, uint32_t y)
{
    // A CCITT decoder that meets damaged data stops early yet reports the whole tile as read:
    // the rows it never reached would keep whatever the buffer held (another tile's ink).
    if (IsCCITTCoded(m_tiff))
        std::memset(buffer, 0, static_cast<std::size_t>(TIFFTileSize64(m_tiff)));
    const tmsize_t n = TIFFReadTile(m_tiff, buffer, x, y, 0, 0);
    return n < 0 ? -1 : static_cast<int64_t>(n);
}

bool TIFX_KRNFile::LocateTile(uint32_t x, uint32_t y, uint64_t& offset, uint64_t& count) const
{
    uint32_t width = 0, length = 0;
    if (!TIFFGetField(m_tiff, TIFFTAG_IMAGEWIDTH, &width) ||
        !TIFFGetField(m_tiff, TIFFTAG_IMAGELENGTH, &length) || x >= width || y >= length)
        return false;
    const uint32_t tile = TIFFComputeTile(m_tiff, x, y, 0, 0);
    if (tile >= TIFFNumberOfTiles(m_tiff))
        return false;
    int error = 0;
    offset = TIFFGetStrileOffsetWithErr(m_tiff, tile, &error);
    count = error ? 0 : TIFFGetStrileByteCountWithErr(m_tiff, tile, &error);
    return !error && offset != 0 && count != 0;
}

/* The first tile at a location is decoded as always and only its location noted; the second one
   there is decoded into the kept bytes, and from then on the kept bytes answer. */
bool TIFX_KRNFile::ReadRepeatedTile(uint32_t x, uint32_t y)
{
    uint64_t offset = 0, count = 0;
    const uint32_t directory = static_cast<uint32_t>(TIFFCurrentDirectory(m_tiff));
    if (!LocateTile(x, y, offset, count))
        return false;
    if (!m_repeated.Is(directory, offset, count))
    {
        m_repeated.Remember(directory, offset, count);
        return false;
    }
    if (!m_repeated.IsKept())
    {
        const int64_t size = GetTileSize();
        if (size <= 0)
            return false;
        std::vector<uint8_t> bytes(static_cast<std::size_t>(size));
        const int64_t result = DecodeTile(bytes.data(), x, y);
        if (result < 0)
            return false;
        m_repeated.Keep(bytes.data(), bytes.size(), result);
    }
    return true;
}

bool TIFX_KRNFile::CanReadTileRuns() const
{
    return m_tiff && TIFFIsTiled(m_tiff) && IsCCITTCoded(m_tiff);
}

int64_t TIFX_KRNFile::ReadTileRuns(void* buffer, uint32_t x, uint32_t y, TIFX_RunReceiver& receiver,
                                   bool fillBits)
{
    if (!buffer || !CanReadTileRuns())
        return -1;
    FaxFillFunction libraryFill = nullptr;
    uint32_t rows = 0;
    uint32_t width = 0;
    const tmsize_t rowBytes = TIFFTileRowSize(m_tiff);
    if (!TIFFGetField(m_tiff, TIFFTAG_FAXFILLFUNC, &libraryFill) || libraryFill == nullptr ||
        !TIFFGetField(m_tiff, TIFFTAG_TILELENGTH, &rows) ||
        !TIFFGetField(m_tiff, TIFFTAG_TILEWIDTH, &width) || rowBytes <= 0)
        return -1;
    if (ReadRepeatedTile(x, y))
    {
        const std::vector<uint8_t>& kept = m_repeated.Bytes();
        if (kept.size() < static_cast<std::size_t>(rowBytes) * rows)
            return -1;
        TIFX_RepeatedTile::SendRuns(kept.data(), static_cast<std::size_t>(rowBytes), rows, width,
                                    receiver);
        if (fillBits)
            std::memcpy(buffer, kept.data(), kept.size());
        return m_repeated.Result();
    }
    if (fillBits)
        std::memset(buffer, 0, static_cast<std::size_t>(TIFFTileSize64(m_tiff)));

    RunDecode decode;
    decode.receiver = &receiver;
    decode.fill = fillBits ? libraryFill : nullptr;
    decode.tile = static_cast<const unsigned char*>(buffer);
    decode.rowBytes = rowBytes;
    decode.rows = rows;
    // libtiff keeps the fill function per handle; it is put back before anything else can decode
    // with this handle.
    RunDecode* const outer = t_runDecode;
    t_runDecode = &decode;
    TIFFSetField(m_tiff, TIFFTAG_FAXFILLFUNC, &ReportRuns);
    const tmsize_t n = TIFFReadTile(m_tiff, buffer, x, y, 0, 0);
    TIFFSetField(m_tiff, TIFFTAG_FAXFILLFUNC, libraryFill);
    t_runDecode = outer;
    return n < 0 ? -1 : static_cast<int64_t>(n);
}

TIFX_KRNFile::TileCoding TIFX_KRNFile::GetTileCoding() const
{
    TileCoding coding;
    if (!m_tiff || !TIFFIsTiled(m_tiff))
        return coding;
    TIFFGetField(m_tiff, TIFFTAG_IMAGEWIDTH, &coding.imageWidth);
    TIFFGetField(m_tiff, TIFFTAG_IMAGELENGTH, &coding.imageLength);
    TIFFGetField(m_tiff, TIFFTAG_TILEWIDTH, &coding.tileWidth);
    TIFFGetField(m_tiff, TIFFTAG_TILELENGTH, &coding.tileLength);
    TIFFGetFieldDefaulted(m_tiff, TIFFTAG_COMPRESSION, &coding.compression);
    TIFFGetFieldDefaulted(m_tiff, TIFFTAG_FILLORDER, &coding.fillOrder);
    TIFFGetFieldDefaulted(m_tiff, TIFFTAG_BITSPERSAMPLE, &coding.bitsPerSample);
    TIFFGetFieldDefaulted(m_tiff, TIFFTAG_SAMPLESPERPIXEL, &coding.samplesPerPixel);
    TIFFGetFieldDefaulted(m_tiff, TIFFTAG_PLANARCONFIG, &coding.planarConfig);
    TIFFGetField(m_tiff, TIFFTAG_PHOTOMETRIC, &coding.photometric);
    // The codec-specific tags exist only while their codec is the directory's: asking another
    // codec for them would only raise an unknown-tag error.
    switch (coding.compression)
    {
    case COMPRESSION_CCITTFAX3:
        TIFFGetField(m_tiff, TIFFTAG_GROUP3OPTIONS, &coding.faxOptions);
        break;
    case COMPRESSION_CCITTFAX4:
        TIFFGetField(m_tiff, TIFFTAG_GROUP4OPTIONS, &coding.faxOptions);
        break;
    case COMPRESSION_LZW:
    case COMPRESSION_ADOBE_DEFLATE:
    case COMPRESSION_DEFLATE:
        TIFFGetFieldDefaulted(m_tiff, TIFFTAG_PREDICTOR, &coding.predictor);
        break;
    default:
        break;
    }
    return coding;
}

uint32_t TIFX_KRNFile::CountTiles() const
{
    return m_tiff && TIFFIsTiled(m_tiff) ? TIFFNumberOfTiles(m_tiff) : 0;
}

uint32_t TIFX_KRNFile::TileIndex(uint32_t x, uint32_t y) const
{
    return m_tiff ? TIFFComputeTile(m_tiff, x, y, 0, 0) : 0;
}

uint64_t TIFX_KRNFile::StoredTileValue(uint32_t index, bool offset) const
{
    if (!m_tiff || !TIFFIsTiled(m_tiff) || index >= TIFFNumberOfTiles(m_tiff))
        return 0;
    int error = 0;
    const uint64_t value = offset ? TIFFGetStrileOffsetWithErr(m_tiff, index, &error)
                                  : TIFFGetStrileByteCountWithErr(m_tiff, index, &error);
    return error ? 0 : value;
}

uint64_t TIFX_KRNFile::GetRawTileSize(uint32_t index) const
{
    return StoredTileValue(index, false);
}

uint64_t TIFX_KRNFile::GetRawTileOffset(uint32_t index) const
{
    return StoredTileValue(index, true);
}

bool TIFX_KRNFile::ReadFileBytes(uint64_t offset, uint64_t count, uint8_t* buffer) const
{
    if (!m_state || m_state->fd < 0 || buffer == nullptr ||
        offset > uint64_t(std::numeric_limits<off_t>::max()) ||
        count > uint64_t(std::numeric_limits<off_t>::max()) - offset)
        return false;
    while (count > 0)
    {
        const std::size_t step = static_cast<std::size_t>(std::min<uint64_t>(count, 1u << 30));
        const ssize_t got = ::pread(m_state->fd, buffer, step, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        buffer += got;
        offset += static_cast<uint64_t>(got);
        count -= static_cast<uint64_t>(got);
    }
    return true;
}

bool TIFX_KRNFile::ReadRawTile(uint32_t index, std::vector<uint8_t>& bytes, uint64_t maxBytes)
{
    const uint64_t count = GetRawTileSize(index);
    if (count == 0 || count > maxBytes || count > uint64_t(std::numeric_limits<tmsize_t>::max()))
        return false;
    bytes.resize(static_cast<std::size_t>(count));
    const tmsize_t got =
        TIFFReadRawTile(m_tiff, index, bytes.data(), static_cast<tmsize_t>(bytes.size()));
    return got >= 0 && static_cast<uint64_t>(got) == count;
}

void TIFX_KRNFile::PrintDirectory(FILE* out, long flags)
{
    if (m_tiff)
        TIFFPrintDirectory(m_tiff, out, flags);
}

// Presence of a standard tag that the validity test needs, read with its own value type.
bool TIFX_KRNFile::RequireTag(uint32_t tag) const
{
    switch (tag)
    {
    case TIFFTAG_SUBFILETYPE:
    case TIFFTAG_IMAGEWIDTH:
    case TIFFTAG_IMAGELENGTH:
    case TIFFTAG_TILEWIDTH:
    case TIFFTAG_TILELENGTH:
        RequiredField<uint32_t>(tag, __LINE__);
        break;
    case TIFFTAG_XRESOLUTION:
    case TIFFTAG_YRESOLUTION:
        RequiredField<float>(tag, __LINE__);
        break;
    default:
        RequiredField<uint16_t>(tag, __LINE__);
        break;
    }
    return true;
}

bool TIFX_KRNFile::CheckFullResolutionDirectory()
{
    if (!HasQuorIFD())
    {
        m_validityFailure = "directory 0 has no private directory (tag 34756)";
        return false;
    }
    if (!CheckPrivateDirectoryPlace("directory 0"))
        return false;
    for (uint32_t tag :
         {TIFFTAG_IMAGEWIDTH, TIFFTAG_IMAGELENGTH, TIFFTAG_TILEWIDTH, TIFFTAG_TILELENGTH,
          TIFFTAG_XRESOLUTION, TIFFTAG_YRESOLUTION, TIFFTAG_BITSPERSAMPLE, TIFFTAG_COMPRESSION,
          TIFFTAG_PHOTOMETRIC, TIFFTAG_ORIENTATION, TIFFTAG_PLANARCONFIG})
        RequireTag(tag);
    if (GetBitsPerSample() != 1)
    {
        m_validityFailure = "directory 0 has " + std::to_string(GetBitsPerSample()) +
                            " bits per sample instead of 1";
        return false;
    }
    if (GetPhotometricInterpretation() != PHOTOMETRIC_MINISWHITE)
    {
        m_validityFailure = "directory 0 is not min-is-white";
        return false;
    }
    if (GetTileWidth() != 512 || GetTileLength() != 512)
    {
        m_validityFailure = "directory 0 has " + std::to_string(GetTileWidth()) + " x " +
                            std::to_string(GetTileLength()) + " tiles instead of 512 x 512";
        return false;
    }
    if (!CheckTilesCovered("directory 0"))
        return false;
    if (GetImageWidth() > kMaxSide || GetImageLength() > kMaxSide)
    {
        m_validityFailure = "directory 0 declares " + std::to_string(GetImageWidth()) + " x " +
                            std::to_string(GetImageLength()) + " pixels, more than " +
                            std::to_string(kMaxSide) + " on a side";
        return false;
    }
    return true;
}

bool TIFX_KRNFile::CheckPrivateDirectoryPlace(const std::string& where)
{
    m_validityFailure = TIFX_CheckPrivateDirectoryPlace(m_tiff, m_state ? m_state->fd : -1, where);
    return m_validityFailure.empty();
}

bool TIFX_KRNFile::CheckReducedDirectory()
{
    const std::string where = "directory " + std::to_string(GetDirectory());
    if (!HasQuorIFD())
    {
        m_validityFailure = where + " has no private directory (tag 34756)";
        return false;
    }
    if (!CheckPrivateDirectoryPlace(where))
        return false;
    for (uint32_t tag :
         {TIFFTAG_SUBFILETYPE, TIFFTAG_IMAGEWIDTH, TIFFTAG_IMAGELENGTH, TIFFTAG_TILEWIDTH,
          TIFFTAG_TILELENGTH, TIFFTAG_XRESOLUTION, TIFFTAG_YRESOLUTION, TIFFTAG_BITSPERSAMPLE,
          TIFFTAG_COMPRESSION, TIFFTAG_PHOTOMETRIC, TIFFTAG_ORIENTATION, TIFFTAG_PLANARCONFIG})
        RequireTag(tag);
    if (GetBitsPerSample() != 8)
    {
        m_validityFailure =
            where + " has " + std::to_string(GetBitsPerSample()) + " bits per sample instead of 8";
        return false;
    }
    if (GetPhotometricInterpretation() != PHOTOMETRIC_MINISWHITE)
    {
        m_validityFailure = where + " is not min-is-white";
        return false;
    }
    if (GetTileWidth() != 512 || GetTileLength() != 512)
    {
        m_validityFailure = where + " has " + std::to_string(GetTileWidth()) + " x " +
                            std::to_string(GetTileLength()) + " tiles instead of 512 x 512";
        return false;
    }
    return CheckTilesCovered(where);
}

// Every tile that the directory's dimensions declare must have its bytes in the file. libtiff
// pads an offset or byte-count array shorter than the declared tile grid with zeros, so a zero,
// or bytes beyond the end of the file, means that the file holds less than it claims; everything
// later sized from the dimensions (tile tables, tile caches, the reduced raster) relies on this.
bool TIFX_KRNFile::CheckTilesCovered(const std::string& where)
{
    struct stat st
    {
    };
    if (!m_state || m_state->fd < 0 || ::fstat(m_state->fd, &st) != 0 || st.st_size < 0)
    {
        m_validityFailure = "the size of the file cannot be told";
        return false;
    }
    const uint64_t fileSize = static_cast<uint64_t>(st.st_size);
    const uint32_t tiles = TIFFNumberOfTiles(m_tiff);
    if (tiles == 0)
    {
        m_validityFailure = where + " declares no tiles that can be counted";
        return false;
    }
    for (uint32_t i = 0; i < tiles; ++i)
    {
        int error = 0;
        const uint64_t offset = TIFFGetStrileOffsetWithErr(m_tiff, i, &error);
        const uint64_t count = error ? 0 : TIFFGetStrileByteCountWithErr(m_tiff, i, &error);
        if (error || offset == 0 || count == 0)
        {
            m_validityFailure = where + " declares " + std::to_string(tiles) +
                                " tiles but has an offset and byte count for only " +
                                std::to_string(i);
            return false;
        }
        if (offset > fileSize || count > fileSize - offset)
        {
            m_validityFailure = where + ": tile " + std::to_string(i) + " of " +
                                std::to_string(tiles) + " lies beyond the end of the file";
            return false;
        }
    }
    return true;
}

bool TIFX_KRNFile::IsValidPreviewFile()
{
    m_validityFailure.clear();
    if (!m_tiff)
    {
        m_validityFailure = "the file is not open";
        return false;
    }
    const uint16_t remembered = GetDirectory();
    bool valid = false;
    try
    {
        if (!SetDirectory(0))
            m_validityFailure = "directory 0 cannot be read";
        else if (CheckFullResolutionDirectory())
        {
            const uint32_t mainWidth = GetImageWidth();
            const uint32_t mainLength = GetImageLength();
            if (!SetDirectory(1))
                m_validityFailure = "the file has no reduced image";
            else if (GetBitsPerSample() != 8 && !SetDirectory(2))
                m_validityFailure = "the file has no 8-bit reduced image";
            else if (CheckReducedDirectory())
            {
                // A reduced copy larger than its original only makes the thumbnail cost more
                // than the picture it stands for.
                if (GetImageWidth() > mainWidth || GetImageLength() > mainLength)
                    m_validityFailure =
                        "directory " + std::to_string(GetDirectory()) + " (" +
                        std::to_string(GetImageWidth()) + " x " + std::to_string(GetImageLength()) +
                        ") is larger than the full-resolution image (" + std::to_string(mainWidth) +
                        " x " + std::to_string(mainLength) + ")";
                else
                    valid = true;
            }
        }
    }
    catch (const TIFX_TagNotFoundException& e)
    {
        valid = false;
        m_validityFailure = e.what();
    }
    SetDirectory(remembered);
    return valid;
}
