#pragma once
// Adapts the tree's separations to the renderer, which reads them through IMPN_RenderInk.

#include "IMPN/IMPN_RenderInk.h"
#include "IMPN/IMPN_SurfaceRenderer.h"

#include <memory>
#include <string>
#include <vector>

class IMPN_Separation;

class IMPN_SeparationInk : public IMPN_RenderInk
{
public:
    explicit IMPN_SeparationInk(IMPN_Separation& separation);

    bool GetImageInfo(std::uint32_t& width, std::uint32_t& length, std::uint32_t& tileWidth,
                      std::uint32_t& tileLength) override;
    std::int64_t ReadTile(std::uint8_t* buffer, std::size_t bufferSize, std::uint32_t x,
                          std::uint32_t y) override;
    int GetTileClass(std::uint32_t x, std::uint32_t y) override;
    int ReadTileCoverage(IMPN_RunCoverage& counter, std::uint8_t* buffer, std::size_t bufferSize,
                         std::uint32_t x, std::uint32_t y) override;
    bool IsVisible() const override;
    void GetInk(std::uint8_t colour[3], std::uint8_t background[3],
                unsigned& opacity) const override;
    // A reader with its own handle on the separation's file, opened from the path copied when
    // the ink was made. Throws the preview-file exception (naming the file) when the file
    // cannot be opened now.
    std::unique_ptr<IMPN_RenderInk> OpenWorkerReader() const override;
    void NoteTileClass(std::uint32_t x, std::uint32_t y, int tileClass) override;

    // The renderer of a surface: its separations in order (not owned; they must outlive the
    // renderer) over the surface's paper colour (blue, green, red).
    static std::unique_ptr<IMPN_SurfaceRenderer>
    CreateRenderer(const std::vector<std::unique_ptr<IMPN_Separation>>& separations,
                   const std::uint8_t* paperColour);

private:
    IMPN_Separation& m_Separation;
    const std::string m_Path;
};
