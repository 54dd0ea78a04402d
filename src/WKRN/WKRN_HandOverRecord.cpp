#include "WKRN/WKRN_HandOverRecord.h"

#include "GLIB/GLIB_CommandLine.h"

#include <QDir>

#include <vector>

#include <QString>

namespace
{
void AppendLittleEndian(QByteArray& out, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint64_t ReadLittleEndian(const QByteArray& in, int offset, int bytes)
{
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= std::uint64_t(static_cast<std::uint8_t>(in[offset + i])) << (8 * i);
    return value;
}
} // namespace

QByteArray WKRN_HandOverRecord::Encode(const std::wstring& commandLine, std::uint64_t tag)
{
    // Code points are turned into UTF-16 here rather than through a UTF-32 decoder, which would
    // take a leading U+FEFF for a byte-order mark and drop it from the command line.
    QByteArray data;
    data.reserve(qsizetype(commandLine.size() + 1) * 2);
    for (wchar_t character : commandLine)
    {
        const auto point = static_cast<std::uint32_t>(character);
        if (point > 0xFFFF && point <= 0x10FFFF)
        {
            AppendLittleEndian(data, 0xD800 + ((point - 0x10000) >> 10), 2);
            AppendLittleEndian(data, 0xDC00 + ((point - 0x10000) & 0x3FF), 2);
        }
        else
            AppendLittleEndian(data, point > 0xFFFF ? 0xFFFD : point, 2);
    }
    AppendLittleEndian(data, 0, 2);

    QByteArray record;
    AppendLittleEndian(record, tag, 8);
    AppendLittleEndian(record, static_cast<std::uint32_t>(data.size()), 4);
    record.append(data);
    return record;
}

qint64 WKRN_HandOverRecord::ExpectedSize(const QByteArray& bytes)
{
    if (bytes.size() < kHeaderSize)
        return 0;
    const std::uint64_t count = ReadLittleEndian(bytes, 8, 4);
    if (count > kMaxDataBytes)
        return -1;
    return kHeaderSize + static_cast<qint64>(count);
}

std::optional<WKRN_HandOverRecord::Record> WKRN_HandOverRecord::Decode(const QByteArray& bytes)
{
    const qint64 expected = ExpectedSize(bytes);
    if (expected <= 0 || expected != bytes.size())
        return std::nullopt;

    Record record;
    record.tag = ReadLittleEndian(bytes, 0, 8);
    const qsizetype count = bytes.size() - kHeaderSize;
    if (count < 2 || count % 2 != 0)
        return record;

    QString text;
    text.reserve(count / 2);
    bool terminated = false;
    for (qsizetype offset = kHeaderSize; offset + 1 < bytes.size(); offset += 2)
    {
        const auto unit = static_cast<char16_t>(ReadLittleEndian(bytes, int(offset), 2));
        if (unit == 0)
        {
            terminated = true;
            break;
        }
        text.append(QChar(unit));
    }
    // Text without its NUL may have been cut short on the way; it is not used.
    if (!terminated)
        return record;
    record.commandLine = text.toStdWString();
    record.wellFormed = true;
    return record;
}

std::wstring WKRN_HandOverRecord::CommandLine(const QStringList& arguments,
                                              const QString& workingFolder)
{
    std::vector<std::wstring> parts;
    const QDir folder(workingFolder);
    for (qsizetype i = 0; i < arguments.size(); ++i)
    {
        const QString& argument = arguments[i];
        if (i == 0 || argument.isEmpty() || !QDir::isRelativePath(argument))
            parts.push_back(argument.toStdWString());
        else
            parts.push_back(QDir::cleanPath(folder.absoluteFilePath(argument)).toStdWString());
    }
    return GLIB_CommandLine::Join(parts);
}
