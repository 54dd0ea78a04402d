#include "IMPN/IMPN_CompareInk.h"

#include "IMPN/IMPN_DifferenceKernel.h"
#include "IMPN/IMPN_Separation.h"
#include "IMPN/IMPN_TilePair.h"
#include "IMPN/IMPN_TilePairStates.h"

#include <algorithm>
#include <cstring>
#include <vector>

class IMPN_CompareInk::Source
{
public:
    struct Entry
    {
        std::int64_t column = -1, row = -1;
        int failures = 0;
        std::vector<std::uint8_t> bits[2];
    };

    Source(std::string oldPath, std::string newPath, std::shared_ptr<IMPN_TilePairStates> states,
           bool asShown, std::size_t cachedTiles)
        : m_OldPath(std::move(oldPath)), m_NewPath(std::move(newPath)),
          m_Pair(asShown ? std::string() : m_OldPath, m_NewPath), m_States(std::move(states)),
          m_AsShown(asShown), m_Cache(std::max<std::size_t>(cachedTiles, 1))
    {
    }

    bool Open()
    {
        if (m_Pair.Open() != IMPN_TilePair::Status::Ready)
            return false;
        const std::size_t tiles = std::size_t(m_Pair.GetTilesAcross()) * m_Pair.GetTilesDown();
        if (!m_States || m_States->Count() != tiles)
            m_States = std::make_shared<IMPN_TilePairStates>(tiles);
        return true;
    }

    // Whether the tile looks the same in both versions, comparing its stored bytes when nothing
    // is known of it yet.
    bool Same(std::uint32_t column, std::uint32_t row)
    {
        if (m_AsShown)
            return true;
        const std::size_t tile = m_Pair.TileNumber(column, row);
        const IMPN_TilePairStates::State state = m_States->Get(tile);
        if (state != IMPN_TilePairStates::Unknown)
            return m_States->IsSame(tile);
        if (!m_Pair.SameBytes(column, row))
            return false;
        m_States->Set(tile, IMPN_TilePairStates::SameBytes);
        return true;
    }

    const Entry& Decoded(std::uint32_t column, std::uint32_t row)
    {
        for (const Entry& entry : m_Cache)
            if (entry.column == column && entry.row == row)
                return entry;
        Entry& entry = m_Cache[m_Next];
        m_Next = (m_Next + 1) % m_Cache.size();
        entry.failures = m_Pair.Decode(column, row);
        entry.column = column;
        entry.row = row;
        const std::size_t bytes = m_Pair.GetTileBytes();
        entry.bits[0].assign(m_Pair.OldBits(), m_Pair.OldBits() + bytes);
        entry.bits[1].assign(m_Pair.NewBits(), m_Pair.NewBits() + bytes);
        const std::size_t tile = m_Pair.TileNumber(column, row);
        if (entry.failures != 0)
            m_States->Set(tile, IMPN_TilePairStates::Unreadable);
        else if (m_States->Get(tile) == IMPN_TilePairStates::Unknown)
            m_States->Set(tile, entry.bits[0] == entry.bits[1] ? IMPN_TilePairStates::SamePixels
                                                               : IMPN_TilePairStates::Different);
        return entry;
    }

    IMPN_TilePair& Pair() { return m_Pair; }
    const IMPN_TilePair& Pair() const { return m_Pair; }
    TIFX_KRNFile* ShownFile() const { return m_Pair.GetFile(1); }
    const std::string& OldPath() const { return m_OldPath; }
    const std::string& NewPath() const { return m_NewPath; }
    const std::shared_ptr<IMPN_TilePairStates>& States() const { return m_States; }
    bool AsShown() const { return m_AsShown; }
    bool IsSameKnown(std::size_t tile) const { return m_AsShown || m_States->IsSame(tile); }

private:
    std::string m_OldPath, m_NewPath;
    IMPN_TilePair m_Pair;
    std::shared_ptr<IMPN_TilePairStates> m_States;
    bool m_AsShown;
    std::vector<Entry> m_Cache;
    std::size_t m_Next = 0;
};

std::shared_ptr<IMPN_CompareInk::Source>
IMPN_CompareInk::OpenSource(const std::string& oldPath, const std::string& newPath,
                            std::shared_ptr<IMPN_TilePairStates> states, bool asShown,
                            std::size_t cachedTiles)
{
    auto source =
        std::make_shared<Source>(oldPath, newPath, std::move(states), asShown, cachedTiles);
    if (!source->Open())
        return nullptr;
    return source;
}

IMPN_CompareInk::IMPN_CompareInk(Role role, std::shared_ptr<Source> source,
                                 const IMPN_Separation* shown, const IMPN_CompareLook* look)
    : m_Role(role), m_Source(std::move(source)), m_Shown(shown), m_Look(look)
{
}

IMPN_CompareInk::~IMPN_CompareInk() = default;

bool IMPN_CompareInk::Locate(std::uint32_t x, std::uint32_t y, std::uint32_t& column,
                             std::uint32_t& row) const
{
    const IMPN_TilePair& pair = m_Source->Pair();
    if (pair.GetTileWidth() == 0 || pair.GetTileLength() == 0)
        return false;
    column = x / pair.GetTileWidth();
    row = y / pair.GetTileLength();
    return column < pair.GetTilesAcross() && row < pair.GetTilesDown();
}

bool IMPN_CompareInk::GetImageInfo(std::uint32_t& width, std::uint32_t& length,
                                   std::uint32_t& tileWidth, std::uint32_t& tileLength)
{
    const IMPN_TilePair& pair = m_Source->Pair();
    width = pair.GetWidth();
    length = pair.GetHeight();
    tileWidth = pair.GetTileWidth();
    tileLength = pair.GetTileLength();
    return width > 0 && length > 0 && tileWidth > 0 && tileLength > 0;
}

std::int64_t IMPN_CompareInk::ReadTile(std::uint8_t* buffer, std::size_t bufferSize,
                                       std::uint32_t x, std::uint32_t y)
{
    std::uint32_t column = 0, row = 0;
    const std::size_t bytes = m_Source->Pair().GetTileBytes();
    if (buffer == nullptr || bufferSize < bytes || bytes == 0 || !Locate(x, y, column, row))
        return -1;
    std::int64_t count = 0;
    if (m_Source->Same(column, row))
    {
        if (m_Role != Role::Unchanged)
        {
            buffer[0] = 0;
            return 1;
        }
        // The tile as the shown version holds it, as the separation itself would read it.
        TIFX_KRNFile* file = m_Source->ShownFile();
        count = file != nullptr ? file->ReadTile(buffer, x, y) : -1;
        if (count < 0)
            return -1;
        if (std::uint64_t(count) < bytes)
            std::memset(buffer + count, 0, bytes - std::size_t(count));
    }
    else
    {
        const Source::Entry& entry = m_Source->Decoded(column, row);
        if (entry.failures != 0)
            return -1;
        using Part = IMPN_DifferenceKernel::Part;
        const Part part = m_Role == Role::Unchanged ? Part::Both
                          : m_Role == Role::Added   ? Part::OnlyNewer
                                                    : Part::OnlyOlder;
        IMPN_DifferenceKernel::Combine(part, entry.bits[0].data(), entry.bits[1].data(), bytes,
                                       buffer);
    }
    count = std::int64_t(bytes);
    return IMPN_Separation::ClassifyTile(buffer, count) == IMPN_Separation::TileMixed ? count : 1;
}

int IMPN_CompareInk::ReadTileCoverage(IMPN_RunCoverage& counter, std::uint8_t* buffer,
                                      std::size_t bufferSize, std::uint32_t x, std::uint32_t y)
{
    std::uint32_t column = 0, row = 0;
    if (!Locate(x, y, column, row))
        return -1;
    if (!m_Source->Same(column, row))
        return kNotCounted;
    if (m_Role != Role::Unchanged)
        return 0;
    TIFX_KRNFile* file = m_Source->ShownFile();
    if (file == nullptr)
        return -1;
    const int found = IMPN_Separation::CountTileRuns(*file, counter, buffer, bufferSize, x, y);
    if (found < 0 || found == kNotCounted)
        return found;
    return found == int(IMPN_Separation::TileBlank)   ? 0
           : found == int(IMPN_Separation::TileSolid) ? 1
                                                      : 2;
}

int IMPN_CompareInk::GetTileClass(std::uint32_t x, std::uint32_t y)
{
    std::uint32_t column = 0, row = 0;
    if (!Locate(x, y, column, row))
        return int(IMPN_Separation::TileOutside);
    const std::size_t tile = m_Source->Pair().TileNumber(column, row);
    const auto learned = m_Learned.find(tile);
    if (learned != m_Learned.end())
        return learned->second;
    if (m_Role != Role::Unchanged && m_Source->IsSameKnown(tile))
        return int(IMPN_Separation::TileBlank);
    return int(IMPN_Separation::TileUnknown);
}

void IMPN_CompareInk::NoteTileClass(std::uint32_t x, std::uint32_t y, int tileClass)
{
    std::uint32_t column = 0, row = 0;
    if (Locate(x, y, column, row) && (tileClass == int(IMPN_Separation::TileBlank) ||
                                      tileClass == int(IMPN_Separation::TileSolid) ||
                                      tileClass == int(IMPN_Separation::TileMixed)))
        m_Learned[m_Source->Pair().TileNumber(column, row)] = tileClass;
}

bool IMPN_CompareInk::IsVisible() const
{
    return m_Shown == nullptr || m_Shown->IsVisible();
}

void IMPN_CompareInk::GetInk(std::uint8_t colour[3], std::uint8_t background[3],
                             unsigned& opacity) const
{
    static const IMPN_CompareLook standard;
    const IMPN_CompareLook& look = m_Look != nullptr ? *m_Look : standard;
    std::memset(background, 255, 3);
    opacity = 100;
    switch (m_Role)
    {
    case Role::Added:
        std::memcpy(colour, look.added.data(), 3);
        return;
    case Role::Removed:
        std::memcpy(colour, look.removed.data(), 3);
        return;
    case Role::Unchanged:
        break;
    }
    if (m_Shown == nullptr)
    {
        std::memset(colour, 0, 3);
        opacity = look.unchangedPercent;
        return;
    }
    const IMPN_ColorRecord& record = m_Shown->GetCurrentColor();
    std::memcpy(colour, record.color.data(), 3);
    std::memcpy(background, record.background.data(), 3);
    opacity =
        unsigned(std::clamp(record.opacity, 0, 100)) * std::min(look.unchangedPercent, 100u) / 100;
}

std::unique_ptr<IMPN_RenderInk> IMPN_CompareInk::OpenWorkerReader() const
{
    std::shared_ptr<Source> source = OpenSource(m_Source->OldPath(), m_Source->NewPath(),
                                                m_Source->States(), m_Source->AsShown(), 1);
    if (!source)
        return nullptr;
    return std::make_unique<IMPN_CompareInk>(m_Role, std::move(source), nullptr, nullptr);
}
