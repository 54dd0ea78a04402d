// Hand-over records arrive over the local socket from any process of the user. Whatever the
// bytes, the decoder must not read past them nor allocate from a byte count it has not checked;
// a record it accepts must be exactly as long as its header says, and the text of a well-formed
// one must survive being encoded and decoded again.

#include "WKRN/WKRN_HandOverRecord.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>
#include <optional>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qint64 expected = WKRN_HandOverRecord::ExpectedSize(bytes);
    if (expected > 0 &&
        expected > WKRN_HandOverRecord::kHeaderSize + qint64{WKRN_HandOverRecord::kMaxDataBytes})
        std::abort();

    const std::optional<WKRN_HandOverRecord::Record> record = WKRN_HandOverRecord::Decode(bytes);
    if (!record)
        return 0;
    if (expected != bytes.size())
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
    const QByteArray again = WKRN_HandOverRecord::Encode(record->commandLine, record->tag);
    if (again.size() > bytes.size() || again.left(8) != bytes.left(8))
        std::abort();
    const std::optional<WKRN_HandOverRecord::Record> decodedAgain =
        WKRN_HandOverRecord::Decode(again);
    if (!decodedAgain || !decodedAgain->wellFormed ||
        decodedAgain->commandLine != record->commandLine || decodedAgain->tag != record->tag)
        std::abort();
    return 0;
}
