#pragma once
// The private tags of a preview file: their numbers, the bits that mark them present in a
// directory's job information, the one table that describes each of them, and the names of their
// coded values.

#include "TIFX/TIFX_KRNDirectoryInfo.h"

#include <tiffio.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace TIFX_Tag
{
constexpr uint32_t QuorIFD = 34756; // the embedded private directory
constexpr uint32_t QuorReserved2 = 34757;
constexpr uint32_t QuorReserved3 = 34758;
constexpr uint32_t QuorReserved4 = 34759;
constexpr uint32_t QuorReserved5 = 34760;
constexpr uint32_t InterpretationTime = 10001;
constexpr uint32_t RenderingTime = 10002;
constexpr uint32_t CompressionRatio = 10003;
constexpr uint32_t Title = 10004;
constexpr uint32_t Scale = 10005;
constexpr uint32_t QuorTagIntfVersion = 10006;
constexpr uint32_t QuorTagMinIntfVersion = 10007;
constexpr uint32_t WorkStyle = 10008;
constexpr uint32_t PluginIntfVersion = 10009;
constexpr uint32_t PluginMinIntfVersion = 10010;
constexpr uint32_t DigVersion = 10011;
constexpr uint32_t SourceMachine = 10012;
constexpr uint32_t PrintTime = 10013;
constexpr uint32_t ColorStr = 10014;
constexpr uint32_t Color = 10015;
constexpr uint32_t PressSheetTop = 10016;
constexpr uint32_t PressSheetLeft = 10017;
constexpr uint32_t PressSheetBottom = 10018;
constexpr uint32_t PressSheetRight = 10019;
constexpr uint32_t PsFileNum = 10020;
constexpr uint32_t PsFileCount = 10021;
constexpr uint32_t PsImageNum = 10022;
constexpr uint32_t PsLastImage = 10023;
constexpr uint32_t NumPages = 11001;
constexpr uint32_t Signature = 11002;
constexpr uint32_t Surface = 11003;
constexpr uint32_t ImpoTileWidth = 11004;
constexpr uint32_t ImpoTileHeight = 11005;
constexpr uint32_t ImpoTileNumX = 11006;
constexpr uint32_t ImpoTileNumY = 11007;
constexpr uint32_t ImpoTileCountX = 11008;
constexpr uint32_t ImpoTileCountY = 11009;
constexpr uint32_t ImpoTileOrientation = 11010;
constexpr uint32_t PageIgnored = 12000; // not registered; accepted and dropped
constexpr uint32_t PagePosnTop = 12001;
constexpr uint32_t PagePosnLeft = 12002;
constexpr uint32_t PagePosnBottom = 12003;
constexpr uint32_t PagePosnRight = 12004;
constexpr uint32_t PageBleedTop = 12005;
constexpr uint32_t PageBleedLeft = 12006;
constexpr uint32_t PageBleedBottom = 12007;
constexpr uint32_t PageBleedRight = 12008;
constexpr uint32_t PageOrientation = 12009;
constexpr uint32_t PageNumber = 12010;
constexpr uint32_t PageBottleX = 12011;
constexpr uint32_t PageBottleY = 12012;
constexpr uint32_t PageBottleAngle = 12013;
constexpr uint32_t PageMaxBleedTop = 12014;
constexpr uint32_t PageMaxBleedLeft = 12015;
constexpr uint32_t PageMaxBleedBottom = 12016;
constexpr uint32_t PageMaxBleedRight = 12017;
constexpr uint32_t PageSourceClipPath = 12018;
constexpr uint32_t RastTintCalibInfo = 12288;
constexpr uint32_t RastColorAbbrev = 12289;
constexpr uint32_t RastColorOpacity = 12290;
constexpr uint32_t ColorSequence = 34017;
constexpr uint32_t CMYKEquivalent = 34032;
} // namespace TIFX_Tag

// Bits of KRNDirectoryInfo::fieldsSet. Bits 90 to 94 belong to the embedded directory and the
// reserved tags and are kept by the handle, not in the 64-bit set.
namespace TIFX_Field
{
constexpr unsigned QuorTagIntfVersion = 0;
constexpr unsigned QuorTagMinIntfVersion = 1;
constexpr unsigned ImpoTileOrientation = 2;
constexpr unsigned WorkStyle = 3;
constexpr unsigned PluginIntfVersion = 4;
constexpr unsigned PluginMinIntfVersion = 5;
constexpr unsigned DigVersion = 6;
constexpr unsigned SourceMachine = 7;
constexpr unsigned PrintTime = 8;
constexpr unsigned ColorStr = 9;
constexpr unsigned Color = 10;
constexpr unsigned InterpretationTime = 11;
constexpr unsigned RenderingTime = 12;
constexpr unsigned CompressionRatio = 13;
constexpr unsigned Title = 14;
constexpr unsigned Scale = 15;
constexpr unsigned NumPages = 16;
constexpr unsigned Signature = 17;
constexpr unsigned Surface = 18;
constexpr unsigned PressSheetTop = 19;
constexpr unsigned PressSheetLeft = 20;
constexpr unsigned PressSheetBottom = 21;
constexpr unsigned PressSheetRight = 22;
constexpr unsigned PsFileNum = 23;
constexpr unsigned PsFileCount = 24;
constexpr unsigned PsImageNum = 25;
constexpr unsigned PsLastImage = 26;
constexpr unsigned ImpoTileWidth = 27;
constexpr unsigned ImpoTileHeight = 28;
constexpr unsigned ImpoTileNumX = 29;
constexpr unsigned ImpoTileNumY = 30;
constexpr unsigned ImpoTileCountX = 31;
constexpr unsigned ImpoTileCountY = 32;
constexpr unsigned PagePosnTop = 34;
constexpr unsigned PagePosnLeft = 35;
constexpr unsigned PagePosnBottom = 36;
constexpr unsigned PagePosnRight = 37;
constexpr unsigned PageBleedTop = 38;
constexpr unsigned PageBleedLeft = 39;
constexpr unsigned PageBleedBottom = 40;
constexpr unsigned PageBleedRight = 41;
constexpr unsigned PageMaxBleedTop = 42;
constexpr unsigned PageMaxBleedLeft = 43;
constexpr unsigned PageMaxBleedBottom = 44;
constexpr unsigned PageMaxBleedRight = 45;
constexpr unsigned PageOrientation = 46;
constexpr unsigned PageNumber = 47;
constexpr unsigned PageBottleX = 48;
constexpr unsigned PageBottleY = 49;
constexpr unsigned PageBottleAngle = 50;
constexpr unsigned PageSourceClipPath = 51;
constexpr unsigned RastTintCalibInfo = 52;
constexpr unsigned RastColorAbbrev = 53;
constexpr unsigned RastColorOpacity = 54;
constexpr unsigned ColorSequence = 55;
constexpr unsigned CMYKEquivalent = 56;
constexpr unsigned QuorIFD = 90;
constexpr unsigned QuorReserved2 = 91;
constexpr unsigned QuorReserved3 = 92;
constexpr unsigned QuorReserved4 = 93;
constexpr unsigned QuorReserved5 = 94;
} // namespace TIFX_Field

// Where a private tag's value lives in the job information. A scalar or text goes to one member of
// KRNDirectoryInfo, a per-page array to one member of every KRNPageInfo; the page count, the clip
// paths and the CMYK equivalent have shapes of their own; the embedded directory and the reserved
// tags are kept by the handle; a tag without a place is accepted and only marked present.
class TIFX_TagValue
{
public:
    enum class Kind : uint8_t
    {
        None,
        Text,
        Long,
        Short,
        Float,
        PageCount, // a Short that also sets the number of page records
        PageLong,
        PageShort,
        PageFloat,
        ClipPaths,
        Cmyk,
        EmbeddedDirectory,
        Reserved
    };

    constexpr TIFX_TagValue() = default;
    constexpr explicit TIFX_TagValue(Kind kind) : m_kind(kind) {}
    constexpr TIFX_TagValue(std::string KRNDirectoryInfo::*m) : m_kind(Kind::Text), m_text(m) {}
    constexpr TIFX_TagValue(int32_t KRNDirectoryInfo::*m) : m_kind(Kind::Long), m_long(m) {}
    constexpr TIFX_TagValue(uint16_t KRNDirectoryInfo::*m, Kind kind = Kind::Short)
        : m_kind(kind), m_short(m)
    {
    }
    constexpr TIFX_TagValue(float KRNDirectoryInfo::*m) : m_kind(Kind::Float), m_float(m) {}
    constexpr TIFX_TagValue(int32_t KRNPageInfo::*m) : m_kind(Kind::PageLong), m_pageLong(m) {}
    constexpr TIFX_TagValue(uint16_t KRNPageInfo::*m) : m_kind(Kind::PageShort), m_pageShort(m) {}
    constexpr TIFX_TagValue(float KRNPageInfo::*m) : m_kind(Kind::PageFloat), m_pageFloat(m) {}

    constexpr Kind GetKind() const { return m_kind; }
    constexpr bool IsPerPage() const
    {
        return m_kind == Kind::PageLong || m_kind == Kind::PageShort || m_kind == Kind::PageFloat ||
               m_kind == Kind::ClipPaths;
    }

    // The text of a Text value.
    std::string& Text(KRNDirectoryInfo& info) const { return info.*m_text; }
    const std::string& Text(const KRNDirectoryInfo& info) const { return info.*m_text; }

    // Element `index` of a number (0 for a scalar, the page for a per-page array, the component
    // for the CMYK equivalent), as a 32-bit pattern: Long and Short values as integers, Float
    // values as their IEEE bits.
    uint32_t Bits(const KRNDirectoryInfo& info, size_t index = 0) const;
    // The same element as a number, for the report.
    int64_t Integer(const KRNDirectoryInfo& info, size_t index = 0) const;
    double Real(const KRNDirectoryInfo& info, size_t index = 0) const;

    // Stores element `index` of a number (integer values for Long and Short kinds, `real` for
    // Float kinds).
    void Store(KRNDirectoryInfo& info, size_t index, int64_t integer, float real) const;

private:
    Kind m_kind = Kind::None;
    std::string KRNDirectoryInfo::*m_text = nullptr;
    int32_t KRNDirectoryInfo::*m_long = nullptr;
    uint16_t KRNDirectoryInfo::*m_short = nullptr;
    float KRNDirectoryInfo::*m_float = nullptr;
    int32_t KRNPageInfo::*m_pageLong = nullptr;
    uint16_t KRNPageInfo::*m_pageShort = nullptr;
    float KRNPageInfo::*m_pageFloat = nullptr;
};

// How a tag shows in the directory report. Tags that share a `line` in one section make one line,
// shown when all of them are present, their values in `slot` order; lines follow in `line` order.
// Standard lines stand above the private header, Directory lines below it, Page lines in each page
// record (Inline ones appended to the record's index line).
struct TIFX_TagPrint
{
    enum class Section : uint8_t
    {
        Hidden,
        Standard,
        Directory,
        Page
    };
    enum class Format : uint8_t
    {
        Text,              // "  Label: text"
        Number,            // "  Label: 12"
        Seconds,           // "  Label: 2.5 (seconds)"
        Ratio,             // "  Label: 17.75:1"
        Scale,             // "  Label: 1:8"
        Orientation,       // "  Label: Left"
        WorkStyle,         // "  Label: Perfector (2)"
        ColorText,         // "  Label: text (Black (4))", with the colour code beside it
        Range,             // "  Label: (3-2)"
        Size,              // "  Label: 700 x 500"
        Point,             // "  Label: (1, 0)"
        Rect,              // "  Label: (0,0)-(1000,1400)", values shown unsigned
        Cmyk,              // "  Label: [0x0000,...] (0.0,...) %"
        PageCount,         // "  Label: 3", then the page records
        Inline,            // ", Label: 2" on the index line
        InlineOrientation, // ", Label: Down (1)" on the index line
        Bottling,          // "    Label: 90.50 degrees about (625,-499)"
        ClipPaths          // "  Number of Source Clip Paths: 2" and the points of each path
    };

    Section section = Section::Hidden;
    uint8_t line = 0;
    Format format = Format::Text;
    uint8_t slot = 0;
    const char* label = nullptr;
};

// One private tag, described once: registration, reading, both ways of writing and the report
// are all driven by these rows. `count` is 1 or -1 (variable); `name` is libtiff's name of the
// field (it appears in libtiff's messages).
struct TIFX_TagInfo
{
    uint32_t tag;
    TIFFDataType type;
    int count;
    unsigned fieldBit;
    const char* name;
    TIFX_TagValue value;
    TIFX_TagPrint print;
};

// The private tag table in tag order as the format defines it.
std::span<const TIFX_TagInfo> TIFX_PrivateTags();

// The row of a registered private tag, or null.
const TIFX_TagInfo* TIFX_FindPrivateTag(uint32_t tag);

// Names of coded values, as the directory report and the sheet names show them.
const char* TIFX_WorkStyleName(unsigned code);   // "Single Sided" ... "*** Unknown ***"
const char* TIFX_SheetLabel(unsigned code);      // " - SS" ... ; "" for an unknown workstyle
const char* TIFX_ColorName(unsigned code);       // "Unknown", "Cyan" ... "*** Unknown ***"
const char* TIFX_OrientationName(unsigned code); // "Up", "Down", "Left", "Right", "*****"
