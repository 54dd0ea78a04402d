#include "IMPN/IMPN_ColorDatabasePaths.h"

#include <cstdlib>
#include <system_error>

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

std::optional<std::filesystem::path> IMPN_ColorDatabasePaths::ExecutableFolder()
{
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty())
        return std::nullopt;
    return exe.parent_path();
}

std::optional<std::filesystem::path>
IMPN_ColorDatabasePaths::FindProgramDataFile(const std::filesystem::path& executableFolder,
                                             const std::string& name)
{
    const std::filesystem::path candidates[] = {
        executableFolder / name,
        executableFolder / ".." / "share" / "quorkrn" / name,
    };
    for (const auto& candidate : candidates)
    {
        std::error_code ec;
        if (std::filesystem::exists(candidate, ec))
            return candidate.lexically_normal();
    }
    return std::nullopt;
}

std::optional<std::filesystem::path>
IMPN_ColorDatabasePaths::FindProgramDataFile(const std::string& name)
{
    const auto folder = ExecutableFolder();
    if (!folder)
        return std::nullopt;
    return FindProgramDataFile(*folder, name);
}
