#include "IMPN/IMPN_ColorDatabasePaths.h"

#include <cstdlib>

std::optional<std::filesystem::path> IMPN_ColorDatabasePaths::UserDataFolder()
{
    return UserDataFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

std::optional<std::filesystem::path>
IMPN_ColorDatabasePaths::UserDataFolder(const char* xdgDataHome, const char* home)
{
    std::filesystem::path base;
    // A relative XDG_DATA_HOME is invalid by the freedesktop rules and ignored.
    if (xdgDataHome != nullptr && xdgDataHome[0] == '/')
        base = xdgDataHome;
    else if (home != nullptr && home[0] != '\0')
        base = std::filesystem::path(home) / ".local" / "share";
    else
        return std::nullopt;
    return base / "Quor" / "Varnex";
}
