#include "GFIL/GFIL_ProgramData.h"

#include <system_error>

std::optional<std::filesystem::path> GFIL_ProgramData::ExecutableFolder()
{
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty())
        return std::nullopt;
    return exe.parent_path();
}

std::vector<std::filesystem::path>
GFIL_ProgramData::Folders(const std::filesystem::path& executableFolder)
{
    return {executableFolder.lexically_normal(),
            (executableFolder / ".." / "share" / "quorkrn").lexically_normal()};
}

std::optional<std::filesystem::path>
GFIL_ProgramData::Find(const std::vector<std::filesystem::path>& folders, const std::string& name)
{
    for (const auto& folder : folders)
    {
        const std::filesystem::path candidate = (folder / name).lexically_normal();
        std::error_code ec;
        if (std::filesystem::is_regular_file(candidate, ec))
            return candidate;
    }
    return std::nullopt;
}

std::optional<std::filesystem::path>
GFIL_ProgramData::Find(const std::filesystem::path& executableFolder, const std::string& name)
{
    return Find(Folders(executableFolder), name);
}

std::optional<std::filesystem::path> GFIL_ProgramData::Find(const std::string& name)
{
    const auto folder = ExecutableFolder();
    if (!folder)
        return std::nullopt;
    return Find(*folder, name);
}
