#pragma once
// Writes an ink-presetting file for a press: a CIP3 Print Production Format file of version 3.0,
// PostScript syntax, with one sheet, its administration entries, and for each surface one 8-bit
// preview image per separation from which the press console opens its ink keys.
//
// The writer only formats: it takes what it is told in the order of the file (BeginSheet, then
// for each surface BeginSurface, one AddSeparation per ink, EndSurface, then EndSheet) and hands
// the bytes to a sink in blocks, so that a preview is never held twice and a file of any size is
// written in bounded memory. Texts of any bytes become PostScript strings that every PostScript
// reader parses (parentheses and backslashes escaped, other bytes outside printable ASCII as
// octal escapes), never cut short.
//
// Each call returns false once the sink has refused a block; nothing is written after that.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class IMPN_PpfWriter
{
public:
    // Takes the next bytes of the file; false stops the writing.
    using Sink = std::function<bool(const char* bytes, std::size_t size)>;

    // How the samples follow CIP3PreviewImage: raw bytes, or hexadecimal pairs ended by ">".
    enum class Encoding
    {
        Binary,
        AsciiHex,
    };

    struct SheetInfo
    {
        std::string jobName;
        std::string sheetName;
        std::string software;
        std::string creationTime;
        // The plate in PostScript points (1/72 inch), width then height.
        double widthPoints = 0;
        double heightPoints = 0;
    };

    struct SurfaceInfo
    {
        bool back = false;
        // The inks in the order of their previews.
        std::vector<std::string> inkNames;
        // CIELab (L*, a*, b*) of each ink, in the same order; the list of colours pairs them with
        // the names by position, so it is written only when every ink has one.
        std::vector<std::optional<std::array<double, 3>>> inkColors;
    };

    struct Preview
    {
        std::uint32_t width = 0;
        std::uint32_t height = 0;
        // The preview's resolution along each axis, as the file states it ("50.8").
        std::string xResolution;
        std::string yResolution;
        // width x height samples, row by row from the top: 0 full ink, 255 none.
        const std::uint8_t* samples = nullptr;
    };

    IMPN_PpfWriter(Sink sink, Encoding encoding);
    ~IMPN_PpfWriter();
    IMPN_PpfWriter(const IMPN_PpfWriter&) = delete;
    IMPN_PpfWriter& operator=(const IMPN_PpfWriter&) = delete;

    // The header lines, CIP3BeginSheet and the sheet's administration entries.
    bool BeginSheet(const SheetInfo& sheet);
    // CIP3BeginFront or CIP3BeginBack, the surface's ink names and colours, CIP3BeginPreviewImage.
    bool BeginSurface(const SurfaceInfo& surface);
    // One CIP3BeginSeparation ... CIP3EndSeparation block with its preview.
    bool AddSeparation(const Preview& preview);
    bool EndSurface();
    // CIP3EndSheet and %%CIP3EndOfFile, then every byte still held goes to the sink.
    bool EndSheet();

    // A PostScript string literal of the bytes: "(Cyan \(2\))".
    static std::string String(std::string_view text);
    // A number as PostScript reads it: at most `decimals` digits after the point, trailing zeros
    // dropped, never an exponent, the same in every locale. Not finite: 0.
    static std::string Number(double value, int decimals);

private:
    bool Put(std::string_view text);
    bool Flush();

    Sink m_Sink;
    Encoding m_Encoding;
    std::string m_Buffer;
    bool m_Failed = false;
    bool m_Back = false;
};
