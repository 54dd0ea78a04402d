#pragma once
// What is known of each tile of two versions of one separation: nothing yet, the same stored
// bytes, the same pixels, different pixels, or not decodable. The comparison of a whole
// separation writes it from its threads while the comparison picture reads it on the view's
// thread, so each entry is an atomic byte and an entry only ever goes from unknown to known.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

class IMPN_TilePairStates
{
public:
    enum State : std::uint8_t
    {
        Unknown = 0,
        SameBytes = 1,
        SamePixels = 2,
        Different = 3,
        Unreadable = 4,
    };

    explicit IMPN_TilePairStates(std::size_t tiles)
        : m_States(std::make_unique<std::atomic<std::uint8_t>[]>(tiles)), m_Count(tiles)
    {
    }

    std::size_t Count() const { return m_Count; }
    // Unknown for an index past the end.
    State Get(std::size_t tile) const
    {
        return tile < m_Count ? State(m_States[tile].load(std::memory_order_relaxed)) : Unknown;
    }
    void Set(std::size_t tile, State state)
    {
        if (tile < m_Count)
            m_States[tile].store(state, std::memory_order_relaxed);
    }
    // Whether the tile is known to look the same in both versions.
    bool IsSame(std::size_t tile) const
    {
        const State s = Get(tile);
        return s == SameBytes || s == SamePixels;
    }

private:
    std::unique_ptr<std::atomic<std::uint8_t>[]> m_States;
    std::size_t m_Count;
};
