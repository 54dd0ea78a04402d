// Colour database files come from the user's profile and from whoever supplies a colour library:
// the reader must survive any bytes, and whatever it accepts must survive a write and a read.

#include "IMPN/IMPN_ColorDatabaseFile.h"
#include "IMPN/IMPN_ColorDatabaseText.h"

#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto first = IMPN_ColorDatabaseFile::Parse(std::span<const uint8_t>(data, size));
    if (!first.Accepted())
        return 0;
    if (first.database.Size() > first.entriesRead)
        std::abort();

    // Writing what was read and reading it again must give the same entries.
    const auto bytes = IMPN_ColorDatabaseFile::Serialize(first.database);
    const auto second = IMPN_ColorDatabaseFile::Parse(bytes);
    if (second.status != IMPN_ColorDatabaseFile::Status::Complete ||
        !(second.database == first.database))
        std::abort();

    // So must the text form.
    const auto fromText =
        IMPN_ColorDatabaseText::Parse(IMPN_ColorDatabaseText::Format(first.database));
    if (!(fromText == first.database))
        std::abort();
    return 0;
}
