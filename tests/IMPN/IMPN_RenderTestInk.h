#pragma once
// A separation made of one-bit tiles held in memory, with the tile classification of the tree's
// separations (blank and solid tiles are answered from their class after the first read). Its
// worker readers share the tiles (never changed after construction) and keep no classes.

#include "IMPN/IMPN_RenderInk.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

class IMPN_RenderTestInk : public IMPN_RenderInk
{
public:
    // bit(x, y) tells whether main-image pixel (x, y) carries ink.
    IMPN_RenderTestInk(std::uint32_t width, std::uint32_t length,
                       const std::function<bool(std::uint32_t, std::uint32_t)>& bit,
                       std::uint32_t tileSize = 512)
        : m_Width(width), m_Length(length), m_TileSize(tileSize),
          m_Across((width + tileSize - 1) / tileSize), m_Down((length + tileSize - 1) / tileSize),
          m_RowBytes(tileSize / 8), m_Data(std::make_shared<std::vector<std::vector<std::uint8_t>>>(
                                        std::size_t(m_Across) * m_Down)),
          m_Tiles(*m_Data), m_Classes(m_Tiles.size(), 0)
    {
        for (std::uint32_t ty = 0; ty < m_Down; ++ty)
            for (std::uint32_t tx = 0; tx < m_Across; ++tx)
            {
                std::vector<std::uint8_t>& t = (*m_Data)[ty * m_Across + tx];
                t.assign(m_RowBytes * tileSize, 0);
                for (std::uint32_t y = 0; y < tileSize; ++y)
                    for (std::uint32_t x = 0; x < tileSize; ++x)
                    {
                        const std::uint32_t gx = tx * tileSize + x, gy = ty * tileSize + y;
                        if (gx < width && gy < length && bit(gx, gy))
                            t[y * m_RowBytes + x / 8] |= std::uint8_t(0x80u >> (x % 8));
                    }
            }
    }

    bool GetImageInfo(std::uint32_t& width, std::uint32_t& length, std::uint32_t& tileWidth,
                      std::uint32_t& tileLength) override
    {
        width = m_Width;
        length = m_Length;
        tileWidth = tileLength = m_TileSize;
        return true;
    }

    std::int64_t ReadTile(std::uint8_t* buffer, std::size_t bufferSize, std::uint32_t x,
                          std::uint32_t y) override
    {
        const std::size_t i = Index(x, y);
        if (i >= m_Tiles.size() || bufferSize < m_Tiles[i].size())
            return -1;
        if (failReads)
            return -1;
        if (!m_Reader && (m_Classes[i] == 1 || m_Classes[i] == 2))
        {
            buffer[0] = m_Classes[i] == 1 ? 0x00 : 0xFF;
            return 1;
        }
        ++reads;
        const std::vector<std::uint8_t>& t = m_Tiles[i];
        std::memcpy(buffer, t.data(), t.size());
        bool all0 = true, allF = true;
        for (std::uint8_t b : t)
        {
            all0 = all0 && b == 0;
            allF = allF && b == 0xFF;
        }
        const int found = all0 ? 1 : allF ? 2 : 4;
        if (!m_Reader)
            m_Classes[i] = found;
        return found == 4 ? int(t.size()) : 1;
    }

    int GetTileClass(std::uint32_t x, std::uint32_t y) override
    {
        const std::size_t i = Index(x, y);
        if (i >= m_Classes.size())
            return 128;
        return m_Reader ? 0 : m_Classes[i];
    }

    // Opened on a worker while the test goes on changing the ink: it takes only the tiles and
    // their geometry, which never change.
    std::unique_ptr<IMPN_RenderInk> OpenWorkerReader() const override
    {
        if (!workerReaders)
            return nullptr;
        if (openFailure)
            openFailure();
        return std::unique_ptr<IMPN_RenderTestInk>(new IMPN_RenderTestInk(*this, true));
    }

    void NoteTileClass(std::uint32_t x, std::uint32_t y, int tileClass) override
    {
        const std::size_t i = Index(x, y);
        if (i < m_Classes.size() && m_Classes[i] == 0)
            m_Classes[i] = tileClass;
        ++notedClasses;
    }

    bool IsVisible() const override { return visible; }

    void GetInk(std::uint8_t c[3], std::uint8_t bg[3], unsigned& op) const override
    {
        std::memcpy(c, colour, 3);
        std::memset(bg, 255, 3);
        op = opacity;
    }

    bool visible = true;
    std::uint8_t colour[3] = {0, 0, 0}; // blue, green, red
    unsigned opacity = 100;
    bool failReads = false;
    bool workerReaders = true; // false: the ink cannot be read from workers
    // Called as a worker reader is opened, on whichever thread opens it; it may throw, as a
    // file that cannot be opened again does.
    std::function<void()> openFailure;
    int reads = 0;        // tiles decoded so far
    int notedClasses = 0; // classes handed over from workers

private:
    IMPN_RenderTestInk(const IMPN_RenderTestInk& ink, bool /*reader*/)
        : m_Width(ink.m_Width), m_Length(ink.m_Length), m_TileSize(ink.m_TileSize),
          m_Across(ink.m_Across), m_Down(ink.m_Down), m_RowBytes(ink.m_RowBytes),
          m_Data(ink.m_Data), m_Tiles(*m_Data), m_Classes(m_Tiles.size(), 0), m_Reader(true)
    {
    }

    std::size_t Index(std::uint32_t x, std::uint32_t y) const
    {
        if (x >= m_Across * m_TileSize || y >= m_Down * m_TileSize)
            return m_Tiles.size();
        return std::size_t(y / m_TileSize) * m_Across + x / m_TileSize;
    }

    std::uint32_t m_Width, m_Length, m_TileSize, m_Across, m_Down, m_RowBytes;
    std::shared_ptr<std::vector<std::vector<std::uint8_t>>> m_Data;
    const std::vector<std::vector<std::uint8_t>>& m_Tiles;
    std::vector<int> m_Classes;
    bool m_Reader = false;
};
