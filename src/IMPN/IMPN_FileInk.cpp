#include "IMPN/IMPN_FileInk.h"

#include "TIFX/TIFX_Exception.h"
#include "TIFX/TIFX_KRNFile.h"

#include <cstring>

IMPN_FileInk::IMPN_FileInk(const std::string& path) : m_File(std::make_unique<TIFX_KRNFile>(path))
{
    // The geometry is read once, here: the reader's open registers its tag handling through
    // process-wide state, so the owner creates file inks on the thread that opens every other
    // preview file and only reads tiles elsewhere.
    try
    {
        m_File->Open();
        if (m_File->GetDirectory() != 0 && !m_File->SetDirectory(0))
            return;
        m_Width = m_File->GetImageWidth();
        m_Length = m_File->GetImageLength();
        m_TileWidth = m_File->GetTileWidth();
        m_TileLength = m_File->GetTileLength();
    }
    catch (const TIFX_Exception&)
    {
        m_Width = m_Length = m_TileWidth = m_TileLength = 0;
    }
}

IMPN_FileInk::~IMPN_FileInk() = default;

bool IMPN_FileInk::GetImageInfo(std::uint32_t& width, std::uint32_t& length,
                                std::uint32_t& tileWidth, std::uint32_t& tileLength)
{
    width = m_Width;
    length = m_Length;
    tileWidth = m_TileWidth;
    tileLength = m_TileLength;
    return m_Width > 0 && m_Length > 0 && m_TileWidth > 0 && m_TileLength > 0;
}

std::int64_t IMPN_FileInk::ReadTile(std::uint8_t* buffer, std::size_t bufferSize, std::uint32_t x,
                                    std::uint32_t y)
{
    if (buffer == nullptr || !m_File->IsOpen() || x >= m_Width || y >= m_Length)
        return -1;
    const std::int64_t needed = m_File->GetTileSize();
    if (needed <= 0 || static_cast<std::uint64_t>(needed) > bufferSize)
        return -1;
    return m_File->ReadTile(buffer, x, y);
}

int IMPN_FileInk::GetTileClass(std::uint32_t x, std::uint32_t y)
{
    return x < m_Width && y < m_Length ? 0 : 128;
}

void IMPN_FileInk::GetInk(std::uint8_t colour[3], std::uint8_t background[3],
                          unsigned& opacity) const
{
    std::memset(colour, 0, 3);
    std::memset(background, 255, 3);
    opacity = 100;
}
