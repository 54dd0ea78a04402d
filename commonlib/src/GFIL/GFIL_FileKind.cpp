#include "GFIL/GFIL_FileKind.h"

#include <sys/stat.h>

std::string GFIL_NotRegularFileText(unsigned mode)
{
    const char* kind = S_ISFIFO(mode)   ? "a FIFO"
                       : S_ISSOCK(mode) ? "a socket"
                       : S_ISCHR(mode)  ? "a character device"
                       : S_ISBLK(mode)  ? "a block device"
                       : S_ISDIR(mode)  ? "a folder"
                                        : nullptr;
    return kind ? std::string("Not a regular file but ") + kind : "Not a regular file";
}
