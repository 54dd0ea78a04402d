#pragma once
// How a separation gets its display colour when it is prepared.
//
// In order: a CMYK equivalent in the preview file wins; then the named colours, looked up under
// the separation's own name ("PANTONE" names completed with their paper suffix); then the user's
// custom colours; then the default colour for new inks, marked as default. The core is a pure
// function of what could be read from the file; DecideForFile reads the file.

#include "IMPN/IMPN_ColorDatabases.h"
#include "IMPN/IMPN_ColorRecord.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

class TIFX_KRNFile;

class IMPN_ColorDecision
{
public:
    // The ink name used when the file's InkNames tag could not be read.
    static constexpr const char* kUnknownInkName = "?";

    struct Result
    {
        // The decided colour: opacity 100 over white.
        IMPN_ColorRecord color;
        // Set when the file gave both an ink name and a CMYK equivalent; the separation keeps
        // the four 16-bit values (0..65535 for 0..100 %).
        bool hasCMYKEquivalent = false;
        std::array<std::uint16_t, 4> cmykEquivalent{0, 0, 0, 0};
    };

    // inkName: the file's InkNames text, when it could be read. cmykEquivalent: the file's CMYK
    // equivalent, when it could be read; it only counts together with an ink name, because the
    // file is read in that order and a failed ink name read ends the reading. ownName: the
    // separation's own name (the file's colour name).
    static Result Decide(const std::optional<std::string>& inkName,
                         const std::optional<std::array<std::uint16_t, 4>>& cmykEquivalent,
                         const std::string& ownName, const IMPN_ColorDatabases& databases);

    // Reads the ink name (InkNames, tag 333) and then the CMYK equivalent from directory 0 of the
    // separation's preview file, opening it if needed, and decides. Nothing the reader throws
    // escapes: an unreadable file or a missing tag leaves the name lookups to decide.
    static Result DecideForFile(TIFX_KRNFile& file, const std::string& ownName,
                                const IMPN_ColorDatabases& databases);
    // The same with the process-wide databases.
    static Result DecideForFile(TIFX_KRNFile& file, const std::string& ownName);

    // The CIELab colour (L*, a*, b*) the decision for a separation of this name takes its colour
    // from, when that is a Lab entry of the named or the custom colours: what an ink-presetting
    // file can tell a press of the ink. Nothing when the file's CMYK equivalent decides, the
    // deciding entry is CMYK or RGB, or no database knows the ink.
    static std::optional<std::array<double, 3>> KnownLab(const std::string& ownName,
                                                         bool hasCMYKEquivalent,
                                                         const IMPN_ColorDatabases& databases);

    // The name under which a separation is looked up among the named colours: a name containing
    // "PANTONE" gets its paper suffix ("C" coated, "U" uncoated) made explicit; other names are
    // used as they are.
    static std::string NormalizeName(const std::string& name);
};
