#include "IMPN/IMPN_PpfWriter.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace
{
// Bytes held before they go to the sink: large enough that a sink writing to a file makes few
// calls, small beside a preview.
constexpr std::size_t kBlock = std::size_t(1) << 16;

// Samples per line of hexadecimal text: 128 characters, well inside the 255 that PostScript
// files keep their lines to.
constexpr std::size_t kHexBytesPerLine = 64;

std::string Unsigned(std::uint64_t value)
{
    return std::to_string(value);
}
} // namespace

IMPN_PpfWriter::IMPN_PpfWriter(Sink sink, Encoding encoding)
    : m_Sink(std::move(sink)), m_Encoding(encoding)
{
    m_Buffer.reserve(kBlock);
}

IMPN_PpfWriter::~IMPN_PpfWriter() = default;

std::string IMPN_PpfWriter::String(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 2);
    out += '(';
    for (const char c : text)
    {
        const unsigned byte = static_cast<unsigned char>(c);
        if (c == '(' || c == ')' || c == '\\')
        {
            out += '\\';
            out += c;
        }
        else if (byte < 0x20 || byte >= 0x7F)
        {
            // Three octal digits always, so that a digit after the escape is never taken in.
            out += '\\';
            out += char('0' + (byte >> 6));
            out += char('0' + ((byte >> 3) & 7));
            out += char('0' + (byte & 7));
        }
        else
            out += c;
    }
    out += ')';
    return out;
}

std::string IMPN_PpfWriter::Number(double value, int decimals)
{
    if (!std::isfinite(value))
        return "0";
    decimals = std::clamp(decimals, 0, 9);
    char text[400];
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    std::string out(text, result.ec == std::errc() ? result.ptr : text);
    if (out.find('.') != std::string::npos)
    {
        while (out.back() == '0')
            out.pop_back();
        if (out.back() == '.')
            out.pop_back();
    }
    if (out.empty() || out == "-0")
        return "0";
    return out;
}

bool IMPN_PpfWriter::Flush()
{
    if (m_Failed)
        return false;
    if (!m_Buffer.empty() && !m_Sink(m_Buffer.data(), m_Buffer.size()))
        m_Failed = true;
    m_Buffer.clear();
    return !m_Failed;
}

bool IMPN_PpfWriter::Put(std::string_view text)
{
    if (m_Failed)
        return false;
    if (m_Buffer.size() + text.size() > kBlock && !Flush())
        return false;
    if (text.size() >= kBlock)
    {
        if (!m_Sink(text.data(), text.size()))
            m_Failed = true;
        return !m_Failed;
    }
    m_Buffer.append(text);
    return true;
}

bool IMPN_PpfWriter::BeginSheet(const SheetInfo& sheet)
{
    std::string head = "%!PS-Adobe-3.0\n"
                       "%%CIP3-File Version 3.0\n"
                       "CIP3BeginSheet\n";
    head += "/CIP3AdmJobName " + String(sheet.jobName) + " def\n";
    head += "/CIP3AdmSheetName " + String(sheet.sheetName) + " def\n";
    head += "/CIP3AdmSoftware " + String(sheet.software) + " def\n";
    head += "/CIP3AdmCreationTime " + String(sheet.creationTime) + " def\n";
    head += "/CIP3AdmPSExtent [" + Number(sheet.widthPoints, 3) + " " +
            Number(sheet.heightPoints, 3) + "] def\n";
    return Put(head);
}

bool IMPN_PpfWriter::BeginSurface(const SurfaceInfo& surface)
{
    m_Back = surface.back;
    std::string text = m_Back ? "CIP3BeginBack\n" : "CIP3BeginFront\n";
    text += "/CIP3AdmSeparationNames [";
    for (std::size_t k = 0; k < surface.inkNames.size(); ++k)
        text += (k > 0 ? " " : "") + String(surface.inkNames[k]);
    text += "] def\n";
    const bool everyColor = !surface.inkNames.empty() &&
                            surface.inkColors.size() == surface.inkNames.size() &&
                            std::all_of(surface.inkColors.begin(), surface.inkColors.end(),
                                        [](const auto& lab) { return lab.has_value(); });
    if (everyColor)
    {
        text += "/CIP3AdmInkColors [";
        for (std::size_t k = 0; k < surface.inkColors.size(); ++k)
        {
            const auto& lab = *surface.inkColors[k];
            text += (k > 0 ? " [" : "[") + Number(lab[0], 2) + " " + Number(lab[1], 2) + " " +
                    Number(lab[2], 2) + "]";
        }
        text += "] def\n";
    }
    text += "CIP3BeginPreviewImage\n";
    return Put(text);
}

bool IMPN_PpfWriter::AddSeparation(const Preview& preview)
{
    const std::string w = Unsigned(preview.width), h = Unsigned(preview.height);
    std::string text = "CIP3BeginSeparation\n";
    text += "/CIP3PreviewImageWidth " + w + " def\n";
    text += "/CIP3PreviewImageHeight " + h + " def\n";
    text += "/CIP3PreviewImageBitsPerComp 8 def\n";
    text += "/CIP3PreviewImageComponents 1 def\n";
    // As the image operator's matrix: the samples fill the unit square, rows from the top, and
    // the reader stretches that square over CIP3AdmPSExtent.
    text += "/CIP3PreviewImageMatrix [" + w + " 0 0 -" + h + " 0 " + h + "] def\n";
    text += "/CIP3PreviewImageResolution [" + preview.xResolution + " " + preview.yResolution +
            "] def\n";
    text += m_Encoding == Encoding::Binary ? "/CIP3PreviewImageEncoding /Binary def\n"
                                           : "/CIP3PreviewImageEncoding /ASCIIHexDecode def\n";
    text += "/CIP3PreviewImageCompression /None def\n";
    // One blank after the keyword: the reader takes the samples from the byte after it.
    text += m_Encoding == Encoding::Binary ? "CIP3PreviewImage " : "CIP3PreviewImage\n";
    if (!Put(text))
        return false;

    const std::uint64_t count = std::uint64_t(preview.width) * preview.height;
    if (m_Encoding == Encoding::Binary)
    {
        for (std::uint64_t done = 0; done < count;)
        {
            const std::size_t n = std::size_t(std::min<std::uint64_t>(count - done, kBlock));
            if (!Put(std::string_view(reinterpret_cast<const char*>(preview.samples) + done, n)))
                return false;
            done += n;
        }
        return Put("\nCIP3EndSeparation\n");
    }

    static const char kDigits[] = "0123456789ABCDEF";
    std::string line;
    line.reserve(2 * kHexBytesPerLine + 2);
    for (std::uint64_t done = 0; done < count;)
    {
        const std::size_t n = std::size_t(std::min<std::uint64_t>(count - done, kHexBytesPerLine));
        line.clear();
        for (std::size_t i = 0; i < n; ++i)
        {
            const std::uint8_t b = preview.samples[done + i];
            line += kDigits[b >> 4];
            line += kDigits[b & 15];
        }
        done += n;
        line += done == count ? ">\n" : "\n";
        if (!Put(line))
            return false;
    }
    if (count == 0 && !Put(">\n"))
        return false;
    return Put("CIP3EndSeparation\n");
}

bool IMPN_PpfWriter::EndSurface()
{
    return Put(m_Back ? "CIP3EndPreviewImage\nCIP3EndBack\n"
                      : "CIP3EndPreviewImage\nCIP3EndFront\n");
}

bool IMPN_PpfWriter::EndSheet()
{
    return Put("CIP3EndSheet\n%%CIP3EndOfFile\n") && Flush();
}
