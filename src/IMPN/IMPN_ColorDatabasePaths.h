#pragma once
// Where the colour databases live. The shipped library is program data (GFIL_ProgramData); the
// user's custom colours live in the per-user data folder. The viewer passes its own idea of these
// folders to the start-up loading; these defaults serve the command-line tool and any caller
// without one.

#include <filesystem>
#include <optional>
#include <string>

class IMPN_ColorDatabasePaths
{
public:
    static constexpr const char* kNamedColorsFileName = "Pantone.colordb";
    static constexpr const char* kCustomColorsFileName = "Custom.colordb";

    // The per-user data folder of the viewer: $XDG_DATA_HOME, else $HOME/.local/share, followed
    // by Quor/Varnex. Empty values count as unset; nothing when neither is set.
    static std::optional<std::filesystem::path> UserDataFolder();
    // The same rule with explicit environment values (an unset variable is nullptr).
    static std::optional<std::filesystem::path> UserDataFolder(const char* xdgDataHome,
                                                               const char* home);
};
