#include "IMPN/IMPN_Separation.h"

#include "IMPN/IMPN_ChangeCounter.h"
#include "IMPN/IMPN_ColorDecision.h"
#include "IMPN/IMPN_PrintTime.h"
#include "IMPN/IMPN_RenderInk.h"
#include "IMPN/IMPN_RunCoverage.h"
#include "TIFX/TIFX_KRNFile.h"

#include "GLIB/GLIB_Exception.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <limits>
#include <optional>
#include <ostream>

namespace
{
// The largest reduced image held in memory at once; far beyond any real preview file, small
// enough that a file declaring absurd sizes cannot exhaust memory.
constexpr std::uint64_t MaxThumbnailBytes = 256ull * 1024 * 1024;

std::uint32_t CeilDiv(std::uint32_t value, std::uint32_t divisor)
{
    if (divisor == 0)
        return 0;
    return static_cast<std::uint32_t>((std::uint64_t{value} + divisor - 1) / divisor);
}

// Which directory holds the reduced image: the first of 1 and 2 whose samples are 8 bits deep.
std::uint16_t FindThumbnailDirectory(TIFX_KRNFile& file)
{
    for (std::uint16_t directory : {std::uint16_t{1}, std::uint16_t{2}})
    {
        if (file.SetDirectory(directory) && file.GetBitsPerSample() == 8)
            return directory;
    }
    return 1;
}

} // namespace

std::uint32_t IMPN_Separation::ClassifyTile(const std::uint8_t* bytes, std::int64_t count)
{
    if (count <= 0)
        return TileMixed;
    const std::uint8_t first = bytes[0];
    for (std::int64_t i = 1; i < count; ++i)
    {
        if (bytes[i] != first)
            return TileMixed;
    }
    if (first == 0x00)
        return TileBlank;
    if (first == 0xFF)
        return TileSolid;
    return TileMixed;
}

IMPN_Separation::IMPN_Separation(TIFX_KRNFile& file)
{
    if (file.GetDirectory() != 0)
        file.SetDirectory(0);
    m_TileWidth = file.GetTileWidth();
    m_TileLength = file.GetTileLength();
    const KRNDirectoryInfo& info = file.GetDirectoryInfo();
    m_ColorCode = info.color;
    m_ColorName = info.colorName;
    m_PrintTime = info.printTime;
    m_PrintTicks = IMPN_PrintTime::ParseOrZero(m_PrintTime);
    m_TilesAcross = CeilDiv(file.GetImageWidth(), m_TileWidth);
    m_TilesDown = CeilDiv(file.GetImageLength(), m_TileLength);
    const std::uint64_t count = std::uint64_t{m_TilesAcross} * m_TilesDown;
    // Tiles of at least 512 x 512 pixels keep the count far below this for any 32-bit image.
    m_TileCount = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(count, std::numeric_limits<std::uint32_t>::max()));
    const std::int64_t tileBytes = file.GetTileSize();
    m_TileByteCount = tileBytes > 0 ? static_cast<std::size_t>(tileBytes) : 0;

    m_ThumbnailDirectory = FindThumbnailDirectory(file);
    // The caller goes on reading the job information of directory 0 from the same file (the
    // second surface of a Work & Turn sheet does), so leave it where it was found.
    file.SetDirectory(0);

    m_DecidedColor.name = m_ColorName;
    m_CurrentColor.name = m_ColorName;
    m_File = std::make_unique<TIFX_KRNFile>(file.GetPath());
}

IMPN_Separation::~IMPN_Separation() = default;

void IMPN_Separation::AddFile(TIFX_KRNFile&)
{
    // A separation is a leaf: files are placed by the levels above.
}

void IMPN_Separation::Clear() {}

void IMPN_Separation::Dump(std::ostream& out, int level)
{
    WriteIndent(out, level);
    out << "Separation <" << m_CurrentColor.name << ">\n";
}

std::string IMPN_Separation::GetName() const
{
    return m_ColorName;
}

void IMPN_Separation::Prepare()
{
    // What the file says about its ink, read in this order: a failed read ends the reading, and
    // an unreadable file leaves the decision to the colour databases.
    std::optional<std::string> inkName;
    std::optional<std::array<std::uint16_t, 4>> cmykEquivalent;
    try
    {
        TIFX_KRNFile& file = FileAt(0);
        inkName = file.GetInkNames();
        cmykEquivalent = file.GetCMYKEquivalent();
    }
    catch (const TIFX_Exception&)
    {
    }
    const IMPN_ColorDecision::Result decision = IMPN_ColorDecision::Decide(
        inkName, cmykEquivalent, m_ColorName, IMPN_ColorDatabases::Global());
    m_DecidedColor = decision.color;
    m_HasCMYKEquivalent = decision.hasCMYKEquivalent;
    m_CMYKEquivalent = decision.hasCMYKEquivalent ? decision.cmykEquivalent
                                                  : std::array<std::uint16_t, 4>{0, 0, 0, 0};
    m_CurrentColor = m_DecidedColor;
    m_TileClasses.clear();
    m_ChangeStamp = IMPN_ChangeCounter::Next();
}

TIFX_KRNFile& IMPN_Separation::GetFile()
{
    if (!m_File->IsOpen())
    {
        try
        {
            m_File->Open();
        }
        catch (...)
        {
            m_OpenFailure = GLIB_DescribeException(std::current_exception());
            throw;
        }
        m_OpenFailure.clear();
    }
    return *m_File;
}

const std::string& IMPN_Separation::GetFilePath() const
{
    return m_File->GetPath();
}

TIFX_KRNFile& IMPN_Separation::FileAt(std::uint16_t directory)
{
    TIFX_KRNFile& file = GetFile();
    if (file.GetDirectory() != directory && !file.SetDirectory(directory))
        throw TIFX_FileIOException("cannot select directory " + std::to_string(directory), __FILE__,
                                   __LINE__);
    return file;
}

void IMPN_Separation::CloseFile()
{
    m_File->Close();
}

bool IMPN_Separation::IsFileOpen() const
{
    return m_File->IsOpen();
}

void IMPN_Separation::GetImageInfo(std::uint32_t& width, std::uint32_t& length,
                                   std::uint32_t& tileWidth, std::uint32_t& tileLength)
{
    try
    {
        TIFX_KRNFile& file = FileAt(0);
        width = file.GetImageWidth();
        length = file.GetImageLength();
        tileWidth = file.GetTileWidth();
        tileLength = file.GetTileLength();
    }
    catch (const TIFX_Exception&)
    {
    }
}

void IMPN_Separation::GetThumbnailInfo(std::uint32_t& width, std::uint32_t& length,
                                       std::uint32_t& tileWidth, std::uint32_t& tileLength)
{
    try
    {
        TIFX_KRNFile& file = FileAt(m_ThumbnailDirectory);
        width = file.GetImageWidth();
        length = file.GetImageLength();
        tileWidth = file.GetTileWidth();
        tileLength = file.GetTileLength();
    }
    catch (const TIFX_Exception&)
    {
    }
}

std::uint32_t IMPN_Separation::GetThumbnailScale()
{
    try
    {
        const KRNDirectoryInfo& info = FileAt(m_ThumbnailDirectory).GetDirectoryInfo();
        if (info.IsFieldSet(TIFX_Field::Scale) && info.scale != 0)
            return info.scale;
    }
    catch (const TIFX_Exception&)
    {
    }
    return 1;
}

std::int64_t IMPN_Separation::ReadThumbnail(IMPN_Raster& raster)
{
    try
    {
        const std::int64_t total = ReadReducedImage(FileAt(m_ThumbnailDirectory), raster);
        if (total >= 0)
            raster.changeStamp = IMPN_ChangeCounter::Next();
        return total;
    }
    catch (const TIFX_Exception&)
    {
        return -1;
    }
}

std::size_t IMPN_Separation::ReducedImagesAtOnce(std::size_t threads, std::uint64_t bytesEach)
{
    const std::uint64_t fit = bytesEach == 0 ? threads : MaxThumbnailBytes / bytesEach;
    return static_cast<std::size_t>(
        std::max<std::uint64_t>(1, std::min<std::uint64_t>(threads, fit)));
}

std::unique_ptr<TIFX_KRNFile> IMPN_Separation::OpenReducedImageReader() const
{
    try
    {
        auto file = std::make_unique<TIFX_KRNFile>(GetFilePath());
        file->Open();
        if (file->GetDirectory() != m_ThumbnailDirectory &&
            !file->SetDirectory(m_ThumbnailDirectory))
            return nullptr;
        return file;
    }
    catch (const TIFX_Exception&)
    {
        return nullptr;
    }
}

std::int64_t IMPN_Separation::ReadReducedImage(TIFX_KRNFile& file, IMPN_Raster& raster)
{
    try
    {
        const std::uint32_t tileLength = file.GetTileLength();
        const std::uint64_t down = CeilDiv(file.GetImageLength(), tileLength);
        if (down * tileLength > std::numeric_limits<std::uint32_t>::max())
            return -1;
        return ReadReducedRows(file, 0, static_cast<std::uint32_t>(down * tileLength), raster);
    }
    catch (const TIFX_Exception&)
    {
        return -1;
    }
}

std::int64_t IMPN_Separation::ReadThumbnailRows(std::uint32_t firstRow, std::uint32_t rowCount,
                                                IMPN_Raster& raster)
{
    try
    {
        return ReadReducedRows(FileAt(m_ThumbnailDirectory), firstRow, rowCount, raster);
    }
    catch (const TIFX_Exception&)
    {
        return -1;
    }
}

std::int64_t IMPN_Separation::ReadReducedRows(TIFX_KRNFile& file, std::uint32_t firstRow,
                                              std::uint32_t rowCount, IMPN_Raster& raster)
{
    try
    {
        const std::uint32_t width = file.GetImageWidth();
        const std::uint32_t length = file.GetImageLength();
        const std::uint32_t tileWidth = file.GetTileWidth();
        const std::uint32_t tileLength = file.GetTileLength();
        if (width == 0 || length == 0 || tileWidth == 0 || tileLength == 0 || rowCount == 0)
            return -1;
        const std::uint64_t across = CeilDiv(width, tileWidth);
        const std::uint64_t down = CeilDiv(length, tileLength);
        const std::uint64_t rowLength = across * tileWidth;
        const std::uint64_t tileBytes = std::uint64_t{tileWidth} * tileLength;
        // One byte a pixel is what the raster holds; a tile that decodes to anything else
        // (more samples, another depth) would not fit it.
        if (rowLength > std::numeric_limits<std::uint32_t>::max() ||
            rowLength * rowCount > MaxThumbnailBytes ||
            file.GetTileSize() != static_cast<std::int64_t>(tileBytes))
            return -1;

        raster.pixels.assign(static_cast<std::size_t>(rowLength * rowCount), 0);
        raster.rowLength = static_cast<std::uint32_t>(rowLength);
        raster.rows = rowCount;
        raster.left = 0;
        raster.top = firstRow;
        raster.size = rowLength * rowCount;
        raster.pixelFormat = IMPN_Raster::FormatGrey8;

        const std::uint64_t endRow = std::uint64_t{firstRow} + rowCount;
        std::vector<std::uint8_t> tile(static_cast<std::size_t>(tileBytes));
        std::int64_t total = 0;
        for (std::uint64_t i = firstRow / tileLength; i < down && i * tileLength < endRow; ++i)
        {
            // The tile rows inside the band.
            const std::uint64_t from = std::max<std::uint64_t>(i * tileLength, firstRow);
            const std::uint64_t to = std::min<std::uint64_t>((i + 1) * tileLength, endRow);
            for (std::uint64_t j = 0; j < across; ++j)
            {
                const std::int64_t n =
                    file.ReadTile(tile.data(), static_cast<std::uint32_t>(j * tileWidth),
                                  static_cast<std::uint32_t>(i * tileLength));
                if (n < 0)
                    continue; // the raster keeps white where a tile cannot be decoded
                total += n;
                for (std::uint64_t row = from; row < to; ++row)
                    std::memcpy(raster.pixels.data() + (row - firstRow) * rowLength + j * tileWidth,
                                tile.data() + (row - i * tileLength) * tileWidth, tileWidth);
            }
        }
        return total;
    }
    catch (const TIFX_Exception&)
    {
        return -1;
    }
}

std::uint32_t IMPN_Separation::TileIndex(std::uint32_t x, std::uint32_t y) const
{
    if (m_TileWidth == 0 || m_TileLength == 0)
        return std::numeric_limits<std::uint32_t>::max();
    const std::uint32_t column = x / m_TileWidth;
    const std::uint32_t row = y / m_TileLength;
    if (column >= m_TilesAcross || row >= m_TilesDown)
        return std::numeric_limits<std::uint32_t>::max();
    return row * m_TilesAcross + column;
}

std::uint32_t IMPN_Separation::GetTileClass(std::uint32_t x, std::uint32_t y) const
{
    const std::uint32_t index = TileIndex(x, y);
    if (index >= m_TileCount)
        return TileOutside;
    const auto found = m_TileClasses.find(index);
    return found == m_TileClasses.end() ? TileUnknown : found->second;
}

void IMPN_Separation::NoteTileClass(std::uint32_t x, std::uint32_t y, std::uint32_t tileClass)
{
    const std::uint32_t index = TileIndex(x, y);
    if (index >= m_TileCount ||
        (tileClass != TileBlank && tileClass != TileSolid && tileClass != TileMixed))
        return;
    m_TileClasses.emplace(index, static_cast<std::uint8_t>(tileClass));
}

std::size_t IMPN_Separation::GetTileByteCount() const
{
    return m_TileByteCount;
}

std::int64_t IMPN_Separation::ReadTile(std::uint8_t* buffer, std::size_t bufferSize,
                                       std::uint32_t x, std::uint32_t y)
{
    if (buffer == nullptr || bufferSize == 0)
        return -1;
    try
    {
        TIFX_KRNFile& file = FileAt(0);
        const std::uint32_t index = TileIndex(x, y);
        if (index >= m_TileCount)
            return -1;
        const auto known = m_TileClasses.find(index);
        const std::uint32_t tileClass = known == m_TileClasses.end() ? TileUnknown : known->second;
        switch (tileClass)
        {
        case TileBlank:
            buffer[0] = 0x00;
            return 1;
        case TileSolid:
            buffer[0] = 0xFF;
            return 1;
        default:
            break;
        }
        const std::int64_t needed = file.GetTileSize();
        if (needed <= 0 || static_cast<std::uint64_t>(needed) > bufferSize)
            return -1;
        const std::int64_t count = file.ReadTile(buffer, x, y);
        if (count < 0)
            return -1;
        if (tileClass == TileUnknown)
        {
            const std::uint32_t found = ClassifyTile(buffer, count);
            m_TileClasses.emplace(index, static_cast<std::uint8_t>(found));
            if (found != TileMixed)
                return 1;
        }
        return count;
    }
    catch (const TIFX_Exception&)
    {
        return -1;
    }
}

int IMPN_Separation::CountTileRuns(TIFX_KRNFile& file, IMPN_RunCoverage& counter,
                                   std::uint8_t* buffer, std::size_t bufferSize, std::uint32_t x,
                                   std::uint32_t y)
{
    if (buffer == nullptr || bufferSize == 0)
        return -1;
    try
    {
        const std::uint64_t counted =
            std::uint64_t(counter.GetCellsAcross()) * counter.GetReduction();
        const std::uint64_t countedRows =
            std::uint64_t(counter.GetCellsDown()) * counter.GetReduction();
        if (!file.CanReadTileRuns() || counted != file.GetTileWidth() ||
            countedRows != file.GetTileLength())
            return IMPN_RenderInk::kNotCounted;
        const std::int64_t needed = file.GetTileSize();
        if (needed <= 0 || static_cast<std::uint64_t>(needed) > bufferSize)
            return -1;
        if (file.ReadTileRuns(buffer, x, y, counter, false) < 0)
            return -1;
    }
    catch (const TIFX_Exception&)
    {
        return -1;
    }
    counter.Finish();
    // What Classify finds in the filled tile: no bit set, or every bit set.
    if (counter.GetInkedPixels() == 0)
        return int(TileBlank);
    return int(counter.GetInkedPixels() == counter.GetTilePixels() ? TileSolid : TileMixed);
}

int IMPN_Separation::ReadTileCoverage(IMPN_RunCoverage& counter, std::uint8_t* buffer,
                                      std::size_t bufferSize, std::uint32_t x, std::uint32_t y)
{
    std::uint32_t index = 0, tileClass = TileUnknown;
    TIFX_KRNFile* file = nullptr;
    try
    {
        file = &FileAt(0);
        index = TileIndex(x, y);
        if (index >= m_TileCount)
            return -1;
        const auto known = m_TileClasses.find(index);
        if (known != m_TileClasses.end())
            tileClass = known->second;
    }
    catch (const TIFX_Exception&)
    {
        return -1;
    }
    if (tileClass == TileBlank)
        return 0;
    if (tileClass == TileSolid)
        return 1;
    const int found = CountTileRuns(*file, counter, buffer, bufferSize, x, y);
    if (found < 0 || found == IMPN_RenderInk::kNotCounted)
        return found;
    if (tileClass != TileUnknown)
        return 2;
    m_TileClasses.emplace(index, static_cast<std::uint8_t>(found));
    return found == int(TileBlank) ? 0 : found == int(TileSolid) ? 1 : 2;
}

void IMPN_Separation::SetCurrentColor(const IMPN_ColorRecord& color)
{
    m_CurrentColor = color;
    m_CurrentColor.opacity = std::clamp(m_CurrentColor.opacity, 0, 100);
    m_ChangeStamp = IMPN_ChangeCounter::Next();
}

void IMPN_Separation::SetOpacity(int opacity)
{
    m_CurrentColor.opacity = std::clamp(opacity, 0, 100);
    m_ChangeStamp = IMPN_ChangeCounter::Next();
}

void IMPN_Separation::SetVisible(bool visible)
{
    if (m_Visible == visible)
        return;
    m_Visible = visible;
    m_ChangeStamp = IMPN_ChangeCounter::Next();
}
