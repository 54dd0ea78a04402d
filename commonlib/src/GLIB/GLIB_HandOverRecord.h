#pragma once
// The command-line hand-over record a second start sends to the running instance: the tag as a
// 64-bit little-endian integer, the byte count as a 32-bit little-endian integer, then the
// command line in UTF-16LE with its terminating NUL. The same record, decoded, is what the
// application window receives as the copy-data message. Pure bytes: the socket that carries them
// belongs to the viewer.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class GLIB_HandOverRecord
{
public:
    static constexpr int kHeaderSize = 12;
    // Far above any real command line; a larger count is taken for garbage, not allocated.
    static constexpr std::uint32_t kMaxDataBytes = 4u * 1024u * 1024u;

    struct Record
    {
        std::uint64_t tag = 0;
        // The command line up to its first NUL; empty when the data held no terminated text.
        std::wstring commandLine;
        bool wellFormed = false; // the data is non-empty, of even size and NUL-terminated
    };

    // Code points above U+10FFFF are written as U+FFFD.
    static std::string Encode(std::wstring_view commandLine, std::uint64_t tag);

    // How many bytes the whole record takes once its header is known: 0 while fewer than
    // kHeaderSize bytes are there, -1 when the byte count is beyond kMaxDataBytes.
    static std::int64_t ExpectedSize(std::string_view bytes);

    // Decodes a complete record; nothing when the bytes are not exactly one record. A surrogate
    // without its partner becomes U+FFFD.
    static std::optional<Record> Decode(std::string_view bytes);
};
