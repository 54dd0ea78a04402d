#include "IMPN/IMPN_ColorDatabaseFile.h"

#include "GFIL/GFIL_SafeSave.h"

#include <bit>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <system_error>
#include <unistd.h>

namespace
{
// Reads little-endian values from a byte span without ever passing its end.
class Cursor
{
public:
    explicit Cursor(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    std::size_t Remaining() const { return m_bytes.size() - m_pos; }

    bool ReadU32(std::uint32_t& value)
    {
        if (Remaining() < 4)
            return false;
        value = 0;
        for (int i = 3; i >= 0; --i)
            value = (value << 8) | m_bytes[m_pos + i];
        m_pos += 4;
        return true;
    }

    bool ReadReal(double& value)
    {
        if (Remaining() < 8)
            return false;
        std::uint64_t bits = 0;
        for (int i = 7; i >= 0; --i)
            bits = (bits << 8) | m_bytes[m_pos + i];
        value = std::bit_cast<double>(bits);
        m_pos += 8;
        return true;
    }

    bool ReadText(std::size_t length, std::string& text)
    {
        if (Remaining() < length)
            return false;
        text.assign(reinterpret_cast<const char*>(m_bytes.data() + m_pos), length);
        m_pos += length;
        return true;
    }

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_pos = 0;
};

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutReal(std::vector<std::uint8_t>& out, double value)
{
    const auto bits = std::bit_cast<std::uint64_t>(value);
    for (int i = 0; i < 8; ++i)
        out.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
}

IMPN_ColorDatabaseFile::ReadResult Stop(IMPN_ColorDatabaseFile::ReadResult result,
                                        std::string problem)
{
    result.status = IMPN_ColorDatabaseFile::Status::Incomplete;
    result.problem = "entry " + std::to_string(result.entriesRead + 1) + ": " + problem;
    return result;
}

} // namespace

IMPN_ColorDatabaseFile::ReadResult
IMPN_ColorDatabaseFile::Parse(std::span<const std::uint8_t> bytes)
{
    ReadResult result;
    Cursor in(bytes);
    std::uint32_t magic = 0;
    std::uint32_t version = 0;
    if (!in.ReadU32(magic) || !in.ReadU32(version) || !in.ReadU32(result.announcedCount))
    {
        result.status = Status::Rejected;
        result.problem = "too short for a colour database header";
        return result;
    }
    // Both must match: a file that merely starts with a 1 in the right place is not ours.
    if (magic != kMagic || version != kVersion)
    {
        result.status = Status::Rejected;
        result.problem = magic != kMagic
                             ? "not a colour database (no BDCC magic)"
                             : "unsupported colour database version " + std::to_string(version);
        return result;
    }

    // The count is only a promise: entries are added one by one as the bytes allow, so a huge
    // count costs nothing beyond the file itself.
    while (result.entriesRead < result.announcedCount)
    {
        std::uint32_t nameLength = 0;
        if (!in.ReadU32(nameLength))
            return Stop(std::move(result), "the file ends before the name length");
        if (nameLength > in.Remaining())
            return Stop(std::move(result), "the name length " + std::to_string(nameLength) +
                                               " exceeds the rest of the file");
        std::string name;
        in.ReadText(nameLength, name);

        std::uint32_t spaceCode = 0;
        if (!in.ReadU32(spaceCode))
            return Stop(std::move(result), "the file ends before the colour space");
        const auto code = static_cast<std::int32_t>(spaceCode);
        if (!IMPN_IsKnownColorSpace(code))
            return Stop(std::move(result), "unknown colour space " + std::to_string(code));
        const auto space = static_cast<IMPN_ColorSpace>(code);

        double values[4] = {0, 0, 0, 0};
        const int count = space == IMPN_ColorSpace::CMYK ? 4 : 3;
        for (int i = 0; i < count; ++i)
        {
            if (!in.ReadReal(values[i]))
                return Stop(std::move(result), "the file ends inside the colour values");
        }
        const std::optional<IMPN_ColorEntry> entry = IMPN_ColorEntry::FromReals(space, values);
        if (!entry)
            return Stop(std::move(result), "a colour value is not a number");

        result.database.Set(name, *entry);
        ++result.entriesRead;
    }
    result.status = Status::Complete;
    return result;
}

std::vector<std::uint8_t> IMPN_ColorDatabaseFile::Serialize(const IMPN_ColorDatabase& database)
{
    std::vector<std::uint8_t> out;
    PutU32(out, kMagic);
    PutU32(out, kVersion);
    PutU32(out, static_cast<std::uint32_t>(database.Size()));
    for (const auto& [name, entry] : database)
    {
        PutU32(out, static_cast<std::uint32_t>(name.size()));
        out.insert(out.end(), name.begin(), name.end());
        PutU32(out, static_cast<std::uint32_t>(entry.Space()));
        const std::array<double, 4> reals = entry.ToReals();
        for (int i = 0; i < entry.RealCount(); ++i)
            PutReal(out, reals[i]);
    }
    return out;
}

IMPN_ColorDatabaseFile::ReadResult IMPN_ColorDatabaseFile::Read(const std::filesystem::path& path)
{
    ReadResult result;
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(status))
    {
        result.status = Status::Missing;
        result.problem = "no such file";
        return result;
    }
    result.status = Status::Unreadable;
    if (!std::filesystem::is_regular_file(status))
    {
        result.problem = "not a regular file";
        return result;
    }
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec)
    {
        result.problem = ec.message();
        return result;
    }
    if (size > kMaxFileSize)
    {
        result.problem = "too large for a colour database";
        return result;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in)
    {
        result.problem = std::strerror(errno);
        return result;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    // A file that shrank meanwhile is parsed as far as it goes.
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad())
    {
        result.problem = "read error";
        return result;
    }
    return Parse(bytes);
}

void IMPN_ColorDatabaseFile::Write(const std::filesystem::path& path,
                                   const IMPN_ColorDatabase& database)
{
    const std::vector<std::uint8_t> bytes = Serialize(database);

    GFIL_SafeSave::ReplaceWith(path.string(), bytes.data(), bytes.size(),
                               "Cannot write the colour database \"" + path.string() + "\"");
}
