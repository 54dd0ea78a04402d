// Construction from a file specification lives apart so that the reader's core needs no file
// system; libtiff is given the UTF-8 form of the specification's path.

#include "TIFX/TIFX_KRNFile.h"

#include "GFIL/GFIL_FileSpec.h"
#include "GFIL/GFIL_FileSystem.h"
#include "GLIB/GLIB_String.h"

TIFX_KRNFile::TIFX_KRNFile(const GFIL_FileSpec& spec)
    : TIFX_KRNFile(spec ? PathToNarrow(spec->Path()) : std::string())
{
}
