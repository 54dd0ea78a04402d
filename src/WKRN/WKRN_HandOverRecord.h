#pragma once
// The command-line hand-over record a second start sends to the running instance over the local
// socket: the tag as a 64-bit little-endian integer, the byte count as a 32-bit little-endian
// integer, then the command line in UTF-16LE with its terminating NUL. The same record, decoded,
// is what the application window receives as the copy-data message.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <string>

class WKRN_HandOverRecord
{
public:
    static constexpr std::uint64_t kTag = 0xB001;
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

    static QByteArray Encode(const std::wstring& commandLine, std::uint64_t tag = kTag);

    // How many bytes the whole record takes once its header is known: 0 while fewer than
    // kHeaderSize bytes are there, -1 when the byte count is beyond kMaxDataBytes.
    static qint64 ExpectedSize(const QByteArray& bytes);

    // Decodes a complete record; nothing when the bytes are not exactly one record.
    static std::optional<Record> Decode(const QByteArray& bytes);

    // The command line a start hands over: the program path, then every argument as a path
    // made absolute against the folder the start was made in. The receiving instance runs in a
    // folder of its own, where a relative path would name another file or none.
    static std::wstring CommandLine(const QStringList& arguments, const QString& workingFolder);
};
