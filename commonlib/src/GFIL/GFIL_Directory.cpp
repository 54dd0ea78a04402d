#include "GFIL/GFIL_Directory.h"

#include "GFIL/GFIL_Constants.h"
#include "GFIL/GFIL_Messages.h"
#include "GLIB/GLIB_String.h"

#include <cerrno>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace
{
// Creates the directory; returns 0 or the platform's error code.
int CreateOne(const std::wstring& path)
{
#ifdef _WIN32
    return ::CreateDirectoryW(path.c_str(), nullptr) ? 0 : static_cast<int>(::GetLastError());
#else
    return ::mkdir(PathToNarrow(path).c_str(), 0777) == 0 ? 0 : errno;
#endif
}

bool IsExistsError(int error)
{
#ifdef _WIN32
    return error == ERROR_ALREADY_EXISTS;
#else
    return error == EEXIST;
#endif
}

[[noreturn]] void ThrowMakeFailed(const std::wstring& path, int error)
{
    GFIL_Messages::Throw(GFIL_ERR_MAKE_DIRECTORY,
                         "Failed to create the directory " + ToNarrow(path) + "; " +
                             GFIL_Messages::SystemText(error),
                         __FILE__, __LINE__);
}
} // namespace

void MakeDirectory(const GFIL_FileSpec& spec)
{
    const std::wstring path = spec.Path();
    const int error = CreateOne(path);
    if (error != 0)
        ThrowMakeFailed(path, error);
}

void EnsureDirectory(const GFIL_FileSpec& spec)
{
    // Climb to the first folder that is there, then create the missing ones outermost first.
    // Walking instead of recursing keeps a deep path from using one stack frame per level.
    std::vector<GFIL_FileSpec> missing;
    GFIL_FileSpec current = spec;
    while (!(current->HasPath() && current->Exists()))
    {
        missing.push_back(current);
        // The parent of a root that is not there throws the root message.
        current = current.Parent();
    }
    if (!current->IsDirectory())
    {
        // Something that is not a folder stands where a folder must be: creating it fails and
        // says so, rather than reporting a folder that is not there.
        MakeDirectory(current);
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it)
    {
        const std::wstring path = (*it)->Path();
        const int error = CreateOne(path);
        // Someone else may have made it in the meantime; a folder is what was wanted.
        if (error != 0 && !(IsExistsError(error) && (*it)->IsDirectory()))
            ThrowMakeFailed(path, error);
    }
}
