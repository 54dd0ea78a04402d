#include "IMPN/IMPN_Palette.h"

#include "IMPN/IMPN_ChangeCounter.h"
#include "IMPN/IMPN_InkMixing.h"

#include <algorithm>
#include <bit>
#include <cstring>

IMPN_Palette::IMPN_Palette()
{
    std::memset(m_Entries, 0, sizeof m_Entries);
}

void IMPN_Palette::Build(const std::uint8_t paper[3], const std::vector<IMPN_PaletteInk>& inks)
{
    const std::size_t n = std::min<std::size_t>(inks.size(), 8);
    m_Count = 1 << n;
    std::memset(m_Entries, 0, sizeof m_Entries);
    std::memcpy(m_Entries, paper, 3);

    // Entry i is entry (i without its highest bit) with the ink of that bit mixed over it: the
    // same order of mixing as ink after ink in separation order, one mix per entry.
    std::uint8_t shown[8][3];
    for (std::size_t k = 0; k < n; ++k)
        IMPN_InkMixing::InkAtPercentage(inks[k].colour, inks[k].background, inks[k].opacity,
                                        shown[k]);
    for (int i = 1; i < m_Count; ++i)
    {
        const int high = std::bit_width(unsigned(i)) - 1;
        std::uint8_t* entry = m_Entries + 3 * i;
        std::memcpy(entry, m_Entries + 3 * (i & ~(1 << high)), 3);
        if (inks[high].visible)
            IMPN_InkMixing::MixOver(shown[high], entry);
    }
    m_Stamp = IMPN_ChangeCounter::Next();
}
