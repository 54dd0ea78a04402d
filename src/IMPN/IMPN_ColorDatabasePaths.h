#pragma once
// Where the colour databases live. The shipped library sits beside the program (a build tree or a
// portable copy) or in ../share/quorkrn relative to it (an installed copy); the user's custom
// colours live in the per-user data folder. The viewer passes its own idea of these folders to
// the start-up loading; these defaults serve the command-line tool and any caller without one.

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

    // The folder of the running executable, from /proc/self/exe; nothing when unknown.
    static std::optional<std::filesystem::path> ExecutableFolder();

    // The first of executableFolder/name and executableFolder/../share/quorkrn/name that exists;
    // nothing when neither does.
    static std::optional<std::filesystem::path>
    FindProgramDataFile(const std::filesystem::path& executableFolder, const std::string& name);
    // The same beside the running executable.
    static std::optional<std::filesystem::path> FindProgramDataFile(const std::string& name);
};
