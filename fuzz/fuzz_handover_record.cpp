// Hand-over records arrive over the local socket from any process of the user. Whatever the
// bytes, the decoder must not read past them nor allocate from a byte count it has not checked;
// a record it accepts must be exactly as long as its header says, and the text of a well-formed
// one must survive being encoded and decoded again.

#include "GLIB/GLIB_HandOverRecord.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::int64_t expected = GLIB_HandOverRecord::ExpectedSize(bytes);
    if (expected > 0 && expected > GLIB_HandOverRecord::kHeaderSize +
                                       std::int64_t{GLIB_HandOverRecord::kMaxDataBytes})
        std::abort();

    const std::optional<GLIB_HandOverRecord::Record> record = GLIB_HandOverRecord::Decode(bytes);
    if (!record)
        return 0;
    if (expected != static_cast<std::int64_t>(bytes.size()))
        std::abort();
    if (!record->wellFormed)
    {
        if (!record->commandLine.empty())
            std::abort();
        return 0;
    }

    // The text stops at the first NUL, so encoding it again never takes more room; a lone
    // surrogate becomes the replacement character on the way to a wide string, so the round trip
    // is checked on the decoded text rather than on the bytes.
    const std::string again = GLIB_HandOverRecord::Encode(record->commandLine, record->tag);
    if (again.size() > bytes.size() || std::string_view(again).substr(0, 8) != bytes.substr(0, 8))
        std::abort();
    const std::optional<GLIB_HandOverRecord::Record> decodedAgain =
        GLIB_HandOverRecord::Decode(again);
    if (!decodedAgain || !decodedAgain->wellFormed ||
        decodedAgain->commandLine != record->commandLine || decodedAgain->tag != record->tag)
        std::abort();
    return 0;
}
