#pragma once
// A separation read straight from its preview file through a reader of its own, for counting
// away from the tree: nothing is shared with the tree's separation of the same file, so it can be
// used on another thread. It classifies nothing; every tile is decoded when asked for.

#include "IMPN/IMPN_RenderInk.h"

#include <memory>
#include <string>

class TIFX_KRNFile;

class IMPN_FileInk : public IMPN_RenderInk
{
public:
    // Opens the file (UTF-8 path) now; an unreadable file gives an ink without geometry.
    explicit IMPN_FileInk(const std::string& path);
    ~IMPN_FileInk() override;

    bool GetImageInfo(std::uint32_t& width, std::uint32_t& length, std::uint32_t& tileWidth,
                      std::uint32_t& tileLength) override;
    std::int64_t ReadTile(std::uint8_t* buffer, std::size_t bufferSize, std::uint32_t x,
                          std::uint32_t y) override;
    int GetTileClass(std::uint32_t x, std::uint32_t y) override;
    bool IsVisible() const override { return true; }
    void GetInk(std::uint8_t colour[3], std::uint8_t background[3],
                unsigned& opacity) const override;

private:
    std::unique_ptr<TIFX_KRNFile> m_File;
    std::uint32_t m_Width = 0, m_Length = 0, m_TileWidth = 0, m_TileLength = 0;
};
