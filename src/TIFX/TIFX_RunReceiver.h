#pragma once
// Receives the rows of a CCITT-coded tile as the decoder finds them: run lengths instead of bits,
// so that a caller that only counts ink need not have the bits filled in at all.

#include <cstddef>
#include <cstdint>

class TIFX_RunReceiver
{
public:
    virtual ~TIFX_RunReceiver() = default;

    // One decoded row of the tile (row 0 at the top), rows in increasing order. runs holds count
    // run lengths, white and black alternately, white first (a row that starts black begins with
    // a white run of 0); black is what the one-bit data holds as 1, whatever the photometric
    // interpretation. The lengths may add up to more than width (the excess is cut at the row's
    // end) or to less (a damaged row: the rest of it carries no ink). Rows the decoder never
    // reaches carry no ink either. Must not throw: it is called from inside the TIFF library.
    virtual void AddRow(std::uint32_t row, const std::uint32_t* runs, std::size_t count,
                        std::uint32_t width) noexcept = 0;
};
