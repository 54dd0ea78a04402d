#pragma once
// The display colour of one separation: what the renderer mixes, the thumbnail composes and the
// separations palette shows and edits. A separation keeps two of them: the colour decided from its
// file and the colour databases, and the current colour the user may change.

#include <array>
#include <cstdint>
#include <string>

// Three colour bytes in the order blue, green, red (byte 0 is blue), as everywhere in the viewer.
using IMPN_ColorBGR = std::array<std::uint8_t, 3>;

// Builds a colour from its red, green and blue channels, so that callers need not remember the
// byte order.
constexpr IMPN_ColorBGR IMPN_MakeColorBGR(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    return IMPN_ColorBGR{blue, green, red};
}

struct IMPN_ColorRecord
{
    IMPN_ColorBGR color{0, 0, 0};
    // Percent, 0 to 100; a decided colour is always fully opaque.
    std::int32_t opacity = 100;
    // The paper the ink is shown over: always white.
    IMPN_ColorBGR background{255, 255, 255};
    // The ink name under which the colour was found, or the separation's own name.
    std::string name;
    // No database knew the ink, so the default colour for new inks was used.
    bool isDefault = false;

    std::uint8_t Blue() const { return color[0]; }
    std::uint8_t Green() const { return color[1]; }
    std::uint8_t Red() const { return color[2]; }

    // The colour as it looks at its opacity over its background, channel by channel
    // trunc(colour x opacity / 100) + trunc(background x (100 - opacity) / 100).
    IMPN_ColorBGR Shown() const;

    bool operator==(const IMPN_ColorRecord&) const = default;
};
