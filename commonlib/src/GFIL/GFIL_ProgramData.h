#pragma once
// Where the programs find the files they ship with (help, language modules, the colour library):
// beside the program (a build tree or a portable copy), then in ../share/quorkrn relative to it
// (the installed layout).

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class GFIL_ProgramData
{
public:
    // The folder of the running executable, from /proc/self/exe; nothing when unknown.
    static std::optional<std::filesystem::path> ExecutableFolder();

    // The folders searched for a program beside executableFolder, in order.
    static std::vector<std::filesystem::path>
    Folders(const std::filesystem::path& executableFolder);

    // The first folder holding a regular file of this name, as a normalised path; nothing when
    // none has it.
    static std::optional<std::filesystem::path>
    Find(const std::vector<std::filesystem::path>& folders, const std::string& name);
    static std::optional<std::filesystem::path> Find(const std::filesystem::path& executableFolder,
                                                     const std::string& name);
    // The same beside the running executable.
    static std::optional<std::filesystem::path> Find(const std::string& name);
};
