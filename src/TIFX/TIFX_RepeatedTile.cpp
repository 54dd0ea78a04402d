#include "TIFX/TIFX_RepeatedTile.h"

void TIFX_RepeatedTile::Remember(uint32_t directory, uint64_t offset, uint64_t count)
{
    if (Is(directory, offset, count))
        return;
    m_known = true;
    m_kept = false;
    m_directory = directory;
    m_offset = offset;
    m_count = count;
}

void TIFX_RepeatedTile::Keep(const uint8_t* bytes, std::size_t size, int64_t result)
{
    m_bytes.assign(bytes, bytes + size);
    m_result = result;
    m_kept = true;
}

void TIFX_RepeatedTile::Forget()
{
    m_known = m_kept = false;
    m_bytes.clear();
    m_bytes.shrink_to_fit();
}

void TIFX_RepeatedTile::SendRuns(const uint8_t* bytes, std::size_t rowBytes, uint32_t rows,
                                 uint32_t width, TIFX_RunReceiver& receiver)
{
    std::vector<uint32_t> runs;
    runs.reserve(64);
    for (uint32_t row = 0; row < rows; ++row)
    {
        const uint8_t* line = bytes + row * rowBytes;
        runs.clear();
        bool black = false; // rows start with a white run, of 0 when they start black
        uint32_t length = 0;
        for (uint32_t x = 0; x < width; ++x)
        {
            // Whole bytes of the colour of the run in progress lengthen it at once.
            if (x % 8 == 0 && x + 8 <= width && line[x / 8] == (black ? 0xFF : 0x00))
            {
                length += 8;
                x += 7;
                continue;
            }
            const bool bit = (line[x / 8] >> (7 - x % 8)) & 1u;
            if (bit != black)
            {
                runs.push_back(length);
                black = bit;
                length = 0;
            }
            ++length;
        }
        runs.push_back(length);
        receiver.AddRow(row, runs.data(), runs.size(), width);
    }
}
