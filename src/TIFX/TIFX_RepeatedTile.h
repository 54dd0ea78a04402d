#pragma once
// The tile last decoded through one handle, told by where its bytes lie, so that tiles sharing
// their bytes are decoded once: a preview file writer never does this, but a crafted file may
// point millions of tiles at the same bytes. Only the location of a tile is remembered until the
// same location comes again; then its decoded bytes are kept and every further tile there is
// answered from them, so that files whose tiles all lie apart cost nothing more.

#include "TIFX/TIFX_RunReceiver.h"

#include <cstdint>
#include <vector>

class TIFX_RepeatedTile
{
public:
    // Whether the tile at this location of this directory was the one decoded last.
    bool Is(uint32_t directory, uint64_t offset, uint64_t count) const
    {
        return m_known && directory == m_directory && offset == m_offset && count == m_count;
    }
    // Notes the location of the tile just decoded (its bytes are not kept).
    void Remember(uint32_t directory, uint64_t offset, uint64_t count);
    // Keeps the decoded bytes of the tile at the remembered location and what its read returned.
    void Keep(const uint8_t* bytes, std::size_t size, int64_t result);
    bool IsKept() const { return m_kept; }
    const std::vector<uint8_t>& Bytes() const { return m_bytes; }
    int64_t Result() const { return m_result; }
    void Forget();

    // Hands the rows of one-bit tile bytes (rows of rowBytes, width pixels each) to the receiver
    // as run lengths, as a CCITT decoder would have found them.
    static void SendRuns(const uint8_t* bytes, std::size_t rowBytes, uint32_t rows, uint32_t width,
                         TIFX_RunReceiver& receiver);

private:
    bool m_known = false;
    bool m_kept = false;
    uint32_t m_directory = 0;
    uint64_t m_offset = 0;
    uint64_t m_count = 0;
    int64_t m_result = -1;
    std::vector<uint8_t> m_bytes;
};
