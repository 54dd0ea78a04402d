#pragma once
// One-bit rows and the run lengths a CCITT decoder hands over (white and black alternately,
// white first), converted pixel by pixel so that the suites' expectations share nothing with the
// counting under test.

#include <cstddef>
#include <cstdint>
#include <vector>

inline bool KRN_TestBit(const std::uint8_t* row, std::uint32_t x)
{
    return (row[x / 8] >> (7 - x % 8)) & 1u;
}

// The runs of a row of `width` pixels (1 = black).
inline std::vector<std::uint32_t> KRN_TestRowRuns(const std::uint8_t* row, std::uint32_t width)
{
    std::vector<std::uint32_t> runs;
    bool black = false;
    std::uint32_t length = 0;
    for (std::uint32_t x = 0; x < width; ++x)
    {
        if (KRN_TestBit(row, x) != black)
        {
            runs.push_back(length);
            black = !black;
            length = 0;
        }
        ++length;
    }
    runs.push_back(length);
    return runs;
}

// Sets the row's pixels from runs as the decoder's fill does: runs past the row's end are cut,
// pixels after the last run stay without ink.
inline void KRN_TestFillRow(std::uint8_t* row, std::uint32_t width, const std::uint32_t* runs,
                            std::size_t count)
{
    for (std::uint32_t x = 0; x < (width + 7) / 8; ++x)
        row[x] = 0;
    std::uint32_t x = 0;
    for (std::size_t i = 0; i < count && x < width; ++i)
        for (std::uint32_t n = 0; n < runs[i] && x < width; ++n, ++x)
            if (i % 2 == 1)
                row[x / 8] = std::uint8_t(row[x / 8] | (0x80u >> (x % 8)));
}
