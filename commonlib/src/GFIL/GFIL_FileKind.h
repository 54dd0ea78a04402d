#pragma once
// What kind of file a file-system entry is, said the way every refusal of a file that is not a
// regular one says it: a FIFO, a socket or a device is never read or written as a file, since
// opening it may wait for another program for ever.

#include <string>

// "Not a regular file but a FIFO" (a socket, a character device, a block device, a folder), or
// "Not a regular file" for any other kind; for the st_mode of a stat.
std::string GFIL_NotRegularFileText(unsigned mode);
