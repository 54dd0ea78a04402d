#pragma once
// The 256-entry palette of a surface's indexed tiles: entry i is the paper with every ink whose
// bit 2^k is set in i mixed over it, in separation order. Rebuilding it is all a colour,
// opacity or visibility change costs at 1:1 and above.

#include <cstdint>
#include <vector>

struct IMPN_PaletteInk
{
    bool visible = true;
    std::uint8_t colour[3] = {0, 0, 0};
    std::uint8_t background[3] = {255, 255, 255};
    unsigned opacity = 100;
};

class IMPN_Palette
{
public:
    static constexpr int kMaxEntries = 256;

    IMPN_Palette();

    // Rebuilds every entry from the paper colour and the inks (at most eight count: the entry
    // count is 2^n limited to 256) and takes a new change stamp. A hidden ink adds nothing to the
    // entries holding its bit, so hiding it shows exactly the picture without it.
    void Build(const std::uint8_t paper[3], const std::vector<IMPN_PaletteInk>& inks);

    const std::uint8_t* Entries() const { return m_Entries; }
    int Count() const { return m_Count; }
    std::uint32_t Stamp() const { return m_Stamp; }

private:
    std::uint8_t m_Entries[kMaxEntries * 3];
    int m_Count = 1;
    std::uint32_t m_Stamp = 0;
};
