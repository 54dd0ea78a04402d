#pragma once
// The colour database file: the magic "BDCC", version 1, an entry count, then per entry the name
// length, the name bytes, the colour space code and the values as reals. Integers are 32-bit and
// reals 64-bit IEEE, both little-endian on every host.
//
// Reading never trusts the file: a file that ends early, a name longer than what is left, an
// unknown colour space or a NaN value ends the reading at that entry and keeps what came before.
// Writing goes through a temporary file in the same folder that replaces the old file only once
// it is complete, so a full disk or a crash never leaves a cut-off database behind.

#include "IMPN/IMPN_ColorDatabase.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

class IMPN_ColorDatabaseFile
{
public:
    static constexpr std::uint32_t kMagic = 0x43434442; // "BDCC" read as a little-endian integer
    static constexpr std::uint32_t kVersion = 1;
    // A database larger than this is not a colour database.
    static constexpr std::uintmax_t kMaxFileSize = 64ull * 1024 * 1024;

    enum class Status
    {
        Complete,   // every announced entry was read
        Incomplete, // the reading stopped early; the entries before the problem were kept
        Rejected,   // not a colour database: wrong magic or version, or shorter than the header
        Missing,    // no such file
        Unreadable, // the file exists but could not be read, or is implausibly large
    };

    struct ReadResult
    {
        IMPN_ColorDatabase database;
        Status status = Status::Missing;
        std::uint32_t announcedCount = 0;
        std::uint32_t entriesRead = 0;
        // Why the reading stopped or the file was refused; empty when complete.
        std::string problem;

        // The file counts as a colour database (complete or not).
        bool Accepted() const { return status == Status::Complete || status == Status::Incomplete; }
    };

    // Decodes a whole file image.
    static ReadResult Parse(std::span<const std::uint8_t> bytes);
    // The file image of a database, in its map order.
    static std::vector<std::uint8_t> Serialize(const IMPN_ColorDatabase& database);

    static ReadResult Read(const std::filesystem::path& path);
    // Throws std::system_error naming the file when it cannot be written; the old file is then
    // left as it was.
    static void Write(const std::filesystem::path& path, const IMPN_ColorDatabase& database);
};
