#pragma once
// The inks the comparison picture of a surface is drawn with. The surface renderer draws it as it
// draws any surface, at every zoom level, from three inks for each ink of the shown version: what
// both versions print there, in the ink's own colour faded; what only the shown version prints,
// in the added colour; what only the other version prints, in the removed colour. An ink of the
// other version alone gives only the third; an ink that cannot be lined up with its other
// version gives only the first, as the shown version prints it.
//
// The three inks of one separation share its source: readers of both versions and the tiles
// last decoded. A tile whose stored bytes are the same in both versions (known from the shared
// tile states, or found by comparing the bytes) shows its ink exactly as the shown version reads
// it, its added and removed inks blank, without decoding the other version; others are decoded
// on both sides and split bit by bit.

#include "IMPN/IMPN_ColorRecord.h"
#include "IMPN/IMPN_RenderInk.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

class IMPN_Separation;
class IMPN_TilePairStates;

// The colours of the comparison picture, owned by the comparison; the inks read it whenever a
// tile is made or the palette rebuilt.
struct IMPN_CompareLook
{
    IMPN_ColorBGR added = IMPN_MakeColorBGR(0, 90, 255);    // a clear blue
    IMPN_ColorBGR removed = IMPN_MakeColorBGR(255, 140, 0); // an orange
    // The opacity of ink that both versions print, in percent of the ink's own.
    unsigned unchangedPercent = 25;
};

class IMPN_CompareInk : public IMPN_RenderInk
{
public:
    enum class Role
    {
        Unchanged, // both versions ink the pixel
        Added,     // only the shown (new) version
        Removed,   // only the other (old) version
    };

    class Source;

    // The source of one separation's inks: readers of the old and the new version's files
    // (an empty path for a version that lacks the ink), opened here; `asShown` reads every tile
    // as the new version's own (versions that cannot be lined up). cachedTiles decoded pairs
    // are kept. Null when a file cannot be opened.
    static std::shared_ptr<Source> OpenSource(const std::string& oldPath,
                                              const std::string& newPath,
                                              std::shared_ptr<IMPN_TilePairStates> states,
                                              bool asShown, std::size_t cachedTiles);

    // shown: the separation whose visibility and colour the ink follows (null: always visible,
    // for an ink of the other version alone); look must outlive the ink.
    IMPN_CompareInk(Role role, std::shared_ptr<Source> source, const IMPN_Separation* shown,
                    const IMPN_CompareLook* look);
    ~IMPN_CompareInk() override;

    Role GetRole() const { return m_Role; }

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
    // The same role over a source of its own (its own file handles), opened here.
    std::unique_ptr<IMPN_RenderInk> OpenWorkerReader() const override;
    void NoteTileClass(std::uint32_t x, std::uint32_t y, int tileClass) override;

private:
    // The tile holding (x, y) as column and row; false outside the tile grid.
    bool Locate(std::uint32_t x, std::uint32_t y, std::uint32_t& column, std::uint32_t& row) const;

    Role m_Role;
    std::shared_ptr<Source> m_Source;
    const IMPN_Separation* m_Shown;
    const IMPN_CompareLook* m_Look;
    std::unordered_map<std::size_t, int> m_Learned; // tile number to class, on the owner
};
