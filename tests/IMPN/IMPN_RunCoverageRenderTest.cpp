// The renderer's coverage levels made from Group 4 run lengths against the same levels made from
// the filled bits: byte for byte, tile kind for tile kind, and the same tile classes.

#include "IMPN_TreeTestFiles.h"

#include "IMPN/IMPN_Separation.h"
#include "IMPN/IMPN_SeparationInk.h"
#include "IMPN/IMPN_SurfaceRenderer.h"
#include "TIFX/TIFX_KRNFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

namespace
{
// A separation's ink that can be kept from counting while decoding, and that tells how many
// tiles it counted.
class ProbeInk : public IMPN_RenderInk
{
public:
    ProbeInk(IMPN_Separation& separation, bool runs, int& counted)
        : m_Ink(separation), m_Runs(runs), m_Counted(counted)
    {
    }
    bool GetImageInfo(std::uint32_t& w, std::uint32_t& l, std::uint32_t& tw,
                      std::uint32_t& tl) override
    {
        return m_Ink.GetImageInfo(w, l, tw, tl);
    }
    std::int64_t ReadTile(std::uint8_t* buffer, std::size_t size, std::uint32_t x,
                          std::uint32_t y) override
    {
        return m_Ink.ReadTile(buffer, size, x, y);
    }
    int ReadTileCoverage(IMPN_RunCoverage& counter, std::uint8_t* buffer, std::size_t size,
                         std::uint32_t x, std::uint32_t y) override
    {
        if (!m_Runs)
            return kNotCounted;
        const int got = m_Ink.ReadTileCoverage(counter, buffer, size, x, y);
        m_Counted += got == 2;
        return got;
    }
    int GetTileClass(std::uint32_t x, std::uint32_t y) override { return m_Ink.GetTileClass(x, y); }
    bool IsVisible() const override { return m_Ink.IsVisible(); }
    void GetInk(std::uint8_t colour[3], std::uint8_t background[3],
                unsigned& opacity) const override
    {
        m_Ink.GetInk(colour, background, opacity);
    }

private:
    IMPN_SeparationInk m_Ink;
    bool m_Runs;
    int& m_Counted;
};

// 1203 x 777 pixels in 512 x 512 tiles: partial tiles at the right and bottom edges, a width
// that is no multiple of 8, screens, noise, a solid and a blank tile.
std::uint8_t Content(int ink, std::uint32_t x0, std::uint32_t y)
{
    const std::uint32_t width = 1203;
    const std::uint32_t tile = (y / 512) * 3 + x0 / 512;
    std::uint8_t byte = 0;
    for (std::uint32_t k = 0; k < 8 && x0 + k < width; ++k)
    {
        const std::uint32_t x = x0 + k;
        bool inked = false;
        switch ((tile + ink) % 5)
        {
        case 0: // a dense round-dot screen at 45 degrees, about half inked
        {
            const double u = (x + y) / 11.0, v = (double(y) - x) / 11.0;
            const double du = u - std::floor(u) - 0.5, dv = v - std::floor(v) - 0.5;
            inked = du * du + dv * dv < 0.16;
            break;
        }
        case 1: // noise
            inked = ((x * 2654435761u) ^ (y * 40503u) ^ (x >> 3) * y) % 7 < 3;
            break;
        case 2:
            inked = true;
            break;
        case 3:
            inked = false;
            break;
        default: // lines of odd widths crossing bytes and cells
            inked = (x + 3 * y) % 13 < 5;
            break;
        }
        if (inked)
            byte = std::uint8_t(byte | (0x80u >> k));
    }
    return byte;
}

struct Picture
{
    std::vector<std::unique_ptr<IMPN_Separation>> separations;
    std::unique_ptr<IMPN_SurfaceRenderer> renderer;
    int counted = 0;
};
} // namespace

TEST(RunCoverageRender, CoverageLevelsFromGroup4RunsEqualThoseFromTheBits)
{
    IMPN_TestFolder folder;
    std::vector<std::string> paths;
    for (int ink = 0; ink < 2; ++ink)
    {
        IMPN_TestPreview p;
        p.colorName = ink == 0 ? "Black" : "Cyan";
        p.color = ink == 0 ? 4 : 1;
        p.width = 1203;
        p.height = 777;
        p.fill = [ink](std::uint32_t x0, std::uint32_t y) { return Content(ink, x0, y); };
        p.options.compression = TIFX_KRNWriterOptions::Compression::CCITTGroup4;
        paths.push_back(folder.Write(ink == 0 ? "black.tif" : "cyan.tif", p));
    }
    const std::uint8_t paper[3] = {235, 245, 250};
    Picture pictures[2]; // [0] from run lengths, [1] from the bits
    for (int which = 0; which < 2; ++which)
    {
        Picture& picture = pictures[which];
        std::vector<std::unique_ptr<IMPN_RenderInk>> inks;
        for (int ink = 0; ink < 2; ++ink)
        {
            TIFX_KRNFile file(paths[std::size_t(ink)]);
            file.Open();
            ASSERT_TRUE(file.IsValidPreviewFile());
            picture.separations.push_back(std::make_unique<IMPN_Separation>(file));
            IMPN_Separation& separation = *picture.separations.back();
            separation.Prepare();
            IMPN_ColorRecord colour = separation.GetCurrentColor();
            colour.color = ink == 0 ? std::array<std::uint8_t, 3>{20, 10, 0}
                                    : std::array<std::uint8_t, 3>{230, 160, 0};
            colour.opacity = ink == 0 ? 100 : 70;
            separation.SetCurrentColor(colour);
            inks.push_back(std::make_unique<ProbeInk>(separation, which == 0, picture.counted));
        }
        picture.renderer = std::make_unique<IMPN_SurfaceRenderer>(std::move(inks), paper);
    }

    const std::uint32_t stamp = 0xFFFFFFF0u;
    for (int level = 4; level < IMPN_RenderLevel::kLevelCount; ++level)
    {
        const IMPN_RenderLevel& l = pictures[0].renderer->GetLevel(level);
        ASSERT_GT(l.tilesAcross, 0) << level;
        for (std::int32_t ty = 0; ty < l.tilesDown; ++ty)
            for (std::int32_t tx = 0; tx < l.tilesAcross; ++tx)
            {
                const IMPN_RenderTile* a = pictures[0].renderer->GetTile(
                    ty * l.tileHeight, tx * l.tileWidth, level, stamp);
                const IMPN_RenderTile* b = pictures[1].renderer->GetTile(
                    ty * l.tileHeight, tx * l.tileWidth, level, stamp);
                ASSERT_NE(a, nullptr);
                ASSERT_NE(b, nullptr);
                ASSERT_EQ(a->kind, b->kind) << "level " << level << " tile " << tx << "," << ty;
                ASSERT_EQ(a->storeBytes, b->storeBytes);
                ASSERT_EQ(a->rowBytes, b->rowBytes);
                ASSERT_EQ(std::memcmp(a->pixels.get(), b->pixels.get(), a->storeBytes), 0)
                    << "level " << level << " tile " << tx << "," << ty;
            }
    }
    // Every mixed source tile of both inks was counted from runs (at each of the three levels),
    // and the tiles were classified alike.
    EXPECT_GE(pictures[0].counted, 3 * 2 * 3);
    EXPECT_EQ(pictures[1].counted, 0);
    for (std::size_t ink = 0; ink < 2; ++ink)
        for (std::uint32_t y = 0; y < 777; y += 512)
            for (std::uint32_t x = 0; x < 1203; x += 512)
                EXPECT_EQ(pictures[0].separations[ink]->GetTileClass(x, y),
                          pictures[1].separations[ink]->GetTileClass(x, y))
                    << ink << " " << x << "," << y;
}
