#pragma once
// Where the embedded private directory of an image directory lies, told from the file's own
// bytes. libtiff hands over the bytes of tag QuorIFD wherever its offset points; a crafted file
// may point it at the file header or at an image directory, whose bytes then read as a private
// directory of garbage entries, or give it no entries at all. Such a file carries no job
// information and is not a preview file. Only the reader of this library uses it.

#include <cstdint>
#include <string>

typedef struct tiff TIFF;

// Checks the private directory of the current directory of `tif` (whose file descriptor is fd):
// "" when it holds at least one whole entry and lies outside the file header and every image
// directory; otherwise what is wrong, starting with `where` ("directory 0").
std::string TIFX_CheckPrivateDirectoryPlace(TIFF* tif, int fd, const std::string& where);
