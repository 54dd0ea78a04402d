#include "TIFX/TIFX_Tags.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace
{
namespace T = TIFX_Tag;
namespace F = TIFX_Field;
using I = KRNDirectoryInfo;
using P = KRNPageInfo;
using V = TIFX_TagValue;
using S = TIFX_TagPrint::Section;
using Fm = TIFX_TagPrint::Format;

constexpr int kVar = -1;

// Sorted by tag, so that lookups can bisect and the embedded directory is written in tag order.
// clang-format off
constexpr std::array<TIFX_TagInfo, 61> kTags = {{
    {T::InterpretationTime,     TIFF_FLOAT, 1,    F::InterpretationTime,     "InterpretationTime",
     &I::interpretationTime, {S::Directory, 12, Fm::Seconds, 0, "Interpretation Time"}},
    {T::RenderingTime,          TIFF_FLOAT, 1,    F::RenderingTime,          "RenderingTime",
     &I::renderingTime, {S::Directory, 13, Fm::Seconds, 0, "Rendering Time"}},
    {T::CompressionRatio,       TIFF_FLOAT, 1,    F::CompressionRatio,       "CompressionRatio",
     &I::compressionRatio, {S::Directory, 14, Fm::Ratio, 0, "Compression Ratio"}},
    {T::Title,                  TIFF_ASCII, kVar, F::Title,                  "Title",
     &I::title, {S::Directory, 4, Fm::Text, 0, "Title"}},
    {T::Scale,                  TIFF_SHORT, 1,    F::Scale,                  "Scale",
     &I::scale, {S::Directory, 15, Fm::Scale, 0, "Scale"}},
    {T::QuorTagIntfVersion,     TIFF_LONG,  1,    F::QuorTagIntfVersion,     "QuorTagIntfVersion",
     &I::intfVersion, {S::Directory, 1, Fm::Range, 0, "QuorTag Intf Version"}},
    {T::QuorTagMinIntfVersion,  TIFF_LONG,  1,    F::QuorTagMinIntfVersion,  "QuorTagMinIntfVersion",
     &I::minIntfVersion, {S::Directory, 1, Fm::Range, 1, "QuorTag Intf Version"}},
    {T::WorkStyle,              TIFF_SHORT, 1,    F::WorkStyle,              "WorkStyle",
     &I::workStyle, {S::Directory, 22, Fm::WorkStyle, 0, "Workstyle"}},
    {T::PluginIntfVersion,      TIFF_LONG,  1,    F::PluginIntfVersion,      "PluginIntfVersion",
     &I::pluginIntfVersion, {S::Directory, 2, Fm::Range, 0, "Plugin  Intf Version"}},
    {T::PluginMinIntfVersion,   TIFF_LONG,  1,    F::PluginMinIntfVersion,   "PluginMinIntfVersion",
     &I::pluginMinIntfVersion, {S::Directory, 2, Fm::Range, 1, "Plugin  Intf Version"}},
    {T::DigVersion,             TIFF_ASCII, kVar, F::DigVersion,             "DigVersion",
     &I::digVersion, {S::Directory, 3, Fm::Text, 0, "DIG Version"}},
    {T::SourceMachine,          TIFF_ASCII, kVar, F::SourceMachine,          "SourceMachine",
     &I::sourceMachine, {S::Directory, 5, Fm::Text, 0, "SourceMachine"}},
    {T::PrintTime,              TIFF_ASCII, kVar, F::PrintTime,              "PrintTime",
     &I::printTime, {S::Directory, 6, Fm::Text, 0, "PrintTime"}},
    {T::ColorStr,               TIFF_ASCII, kVar, F::ColorStr,               "ColorStr",
     &I::colorName, {S::Directory, 11, Fm::ColorText, 0, "Color"}},
    {T::Color,                  TIFF_SHORT, 1,    F::Color,                  "Color",
     &I::color, {}},
    {T::PressSheetTop,          TIFF_LONG,  1,    F::PressSheetTop,          "PressSheetTop",
     &I::pressSheetTop, {S::Directory, 23, Fm::Rect, 0, "Press Sheet"}},
    {T::PressSheetLeft,         TIFF_LONG,  1,    F::PressSheetLeft,         "PressSheetLeft",
     &I::pressSheetLeft, {S::Directory, 23, Fm::Rect, 1, "Press Sheet"}},
    {T::PressSheetBottom,       TIFF_LONG,  1,    F::PressSheetBottom,       "PressSheetBottom",
     &I::pressSheetBottom, {S::Directory, 23, Fm::Rect, 2, "Press Sheet"}},
    {T::PressSheetRight,        TIFF_LONG,  1,    F::PressSheetRight,        "PressSheetRight",
     &I::pressSheetRight, {S::Directory, 23, Fm::Rect, 3, "Press Sheet"}},
    {T::PsFileNum,              TIFF_LONG,  1,    F::PsFileNum,              "PsFileNum",
     &I::psFileNum, {S::Directory, 7, Fm::Number, 0, "PsFileNum"}},
    {T::PsFileCount,            TIFF_LONG,  1,    F::PsFileCount,            "PsFileCount",
     &I::psFileCount, {S::Directory, 8, Fm::Number, 0, "PsFileCount"}},
    {T::PsImageNum,             TIFF_LONG,  1,    F::PsImageNum,             "PsImageNum",
     &I::psImageNum, {S::Directory, 9, Fm::Number, 0, "PsImageNum"}},
    {T::PsLastImage,            TIFF_LONG,  1,    F::PsLastImage,            "PsLastImage",
     &I::psLastImage, {S::Directory, 10, Fm::Number, 0, "PsLastImage"}},
    {T::NumPages,               TIFF_SHORT, 1,    F::NumPages,               "Num Pages",
     {&I::numPages, V::Kind::PageCount},
     {S::Directory, 24, Fm::PageCount, 0, "Num Pages"}},
    {T::Signature,              TIFF_SHORT, 1,    F::Signature,              "Signature",
     &I::signature, {S::Directory, 16, Fm::Number, 0, "Signature"}},
    {T::Surface,                TIFF_SHORT, 1,    F::Surface,                "Surface",
     &I::surface, {S::Directory, 17, Fm::Number, 0, "Surface"}},
    {T::ImpoTileWidth,          TIFF_LONG,  1,    F::ImpoTileWidth,          "ImpoTileWidth",
     &I::impoTileWidth, {S::Directory, 18, Fm::Size, 0, "Imposition Tile"}},
    {T::ImpoTileHeight,         TIFF_LONG,  1,    F::ImpoTileHeight,         "ImpoTileHeight",
     &I::impoTileHeight, {S::Directory, 18, Fm::Size, 1, "Imposition Tile"}},
    {T::ImpoTileNumX,           TIFF_SHORT, 1,    F::ImpoTileNumX,           "ImpoTileNumX",
     &I::impoTileNumX, {S::Directory, 19, Fm::Point, 0, "Imposition Tile"}},
    {T::ImpoTileNumY,           TIFF_SHORT, 1,    F::ImpoTileNumY,           "ImpoTileNumY",
     &I::impoTileNumY, {S::Directory, 19, Fm::Point, 1, "Imposition Tile"}},
    {T::ImpoTileCountX,         TIFF_SHORT, 1,    F::ImpoTileCountX,         "ImpoTileCountX",
     &I::impoTileCountX, {S::Directory, 20, Fm::Size, 0, "Imposition Tile Count"}},
    {T::ImpoTileCountY,         TIFF_SHORT, 1,    F::ImpoTileCountY,         "ImpoTileCountY",
     &I::impoTileCountY, {S::Directory, 20, Fm::Size, 1, "Imposition Tile Count"}},
    {T::ImpoTileOrientation,    TIFF_SHORT, 1,    F::ImpoTileOrientation,    "ImpoTileOrientation",
     &I::impoTileOrientation, {S::Directory, 21, Fm::Orientation, 0, "Tile Orientation"}},
    {T::PagePosnTop,            TIFF_LONG,  kVar, F::PagePosnTop,            "PagePosnTop",
     &P::posTop, {S::Page, 3, Fm::Rect, 1, "Position"}},
    {T::PagePosnLeft,           TIFF_LONG,  kVar, F::PagePosnLeft,           "PagePosnLeft",
     &P::posLeft, {S::Page, 3, Fm::Rect, 0, "Position"}},
    {T::PagePosnBottom,         TIFF_LONG,  kVar, F::PagePosnBottom,         "PagePosnBottom",
     &P::posBottom, {S::Page, 3, Fm::Rect, 3, "Position"}},
    {T::PagePosnRight,          TIFF_LONG,  kVar, F::PagePosnRight,          "PagePosnRight",
     &P::posRight, {S::Page, 3, Fm::Rect, 2, "Position"}},
    {T::PageBleedTop,           TIFF_LONG,  kVar, F::PageBleedTop,           "PageBleedTop",
     &P::bleedTop, {S::Page, 4, Fm::Rect, 1, "Bleed"}},
    {T::PageBleedLeft,          TIFF_LONG,  kVar, F::PageBleedLeft,          "PageBleedLeft",
     &P::bleedLeft, {S::Page, 4, Fm::Rect, 0, "Bleed"}},
    {T::PageBleedBottom,        TIFF_LONG,  kVar, F::PageBleedBottom,        "PageBleedBottom",
     &P::bleedBottom, {S::Page, 4, Fm::Rect, 3, "Bleed"}},
    {T::PageBleedRight,         TIFF_LONG,  kVar, F::PageBleedRight,         "PageBleedRight",
     &P::bleedRight, {S::Page, 4, Fm::Rect, 2, "Bleed"}},
    {T::PageOrientation,        TIFF_SHORT, kVar, F::PageOrientation,        "PageOrientation",
     &P::orientation, {S::Page, 2, Fm::InlineOrientation, 0, "Orientation"}},
    {T::PageNumber,             TIFF_SHORT, kVar, F::PageNumber,             "PageNumber",
     &P::pageNumber, {S::Page, 1, Fm::Inline, 0, "Page Number"}},
    {T::PageBottleX,            TIFF_LONG,  kVar, F::PageBottleX,            "PageBottleX",
     &P::bottleX, {S::Page, 6, Fm::Bottling, 1, "Bottling"}},
    {T::PageBottleY,            TIFF_LONG,  kVar, F::PageBottleY,            "PageBottleY",
     &P::bottleY, {S::Page, 6, Fm::Bottling, 2, "Bottling"}},
    {T::PageBottleAngle,        TIFF_FLOAT, kVar, F::PageBottleAngle,        "PageBottleAngle",
     &P::bottleAngle, {S::Page, 6, Fm::Bottling, 0, "Bottling"}},
    {T::PageMaxBleedTop,        TIFF_LONG,  kVar, F::PageMaxBleedTop,        "PageMaxBleedTop",
     &P::maxBleedTop, {S::Page, 5, Fm::Rect, 1, "Max Bleed"}},
    {T::PageMaxBleedLeft,       TIFF_LONG,  kVar, F::PageMaxBleedLeft,       "PageMaxBleedLeft",
     &P::maxBleedLeft, {S::Page, 5, Fm::Rect, 0, "Max Bleed"}},
    {T::PageMaxBleedBottom,     TIFF_LONG,  kVar, F::PageMaxBleedBottom,     "PageMaxBleedBottom",
     &P::maxBleedBottom, {S::Page, 5, Fm::Rect, 3, "Max Bleed"}},
    {T::PageMaxBleedRight,      TIFF_LONG,  kVar, F::PageMaxBleedRight,      "PageMaxBleedRight",
     &P::maxBleedRight, {S::Page, 5, Fm::Rect, 2, "Max Bleed"}},
    {T::PageSourceClipPath,     TIFF_LONG,  kVar, F::PageSourceClipPath,     "PageSourceClipPath",
     V(V::Kind::ClipPaths), {S::Page, 7, Fm::ClipPaths, 0, "Source Clip Path"}},
    {T::RastTintCalibInfo,      TIFF_ASCII, kVar, F::RastTintCalibInfo,      "RastTintCalibInfo",
     {},
     {}},
    {T::RastColorAbbrev,        TIFF_BYTE,  kVar, F::RastColorAbbrev,        "RastColorAbbrev",
     {},
     {}},
    {T::RastColorOpacity,       TIFF_SHORT, kVar, F::RastColorOpacity,       "RastColorOpacity",
     {},
     {}},
    {T::ColorSequence,          TIFF_ASCII, kVar, F::ColorSequence,          "ColorSequence",
     &I::colorSequence, {S::Standard, 1, Fm::Text, 0, "IT8 Color Sequence"}},
    {T::CMYKEquivalent,         TIFF_SHORT, kVar, F::CMYKEquivalent,         "CMYKEquivalent",
     V(V::Kind::Cmyk), {S::Standard, 2, Fm::Cmyk, 0, "IT8 CMYK Equivalent"}},
    {T::QuorIFD,                TIFF_BYTE,  kVar, F::QuorIFD,                "QuorIFD",
     V(V::Kind::EmbeddedDirectory), {}},
    {T::QuorReserved2,          TIFF_BYTE,  kVar, F::QuorReserved2,          "QuorReserved2",
     V(V::Kind::Reserved), {}},
    {T::QuorReserved3,          TIFF_BYTE,  kVar, F::QuorReserved3,          "QuorReserved3",
     V(V::Kind::Reserved), {}},
    {T::QuorReserved4,          TIFF_BYTE,  kVar, F::QuorReserved4,          "QuorReserved4",
     V(V::Kind::Reserved), {}},
    {T::QuorReserved5,          TIFF_BYTE,  kVar, F::QuorReserved5,          "QuorReserved5",
     V(V::Kind::Reserved), {}},
}};
// clang-format on

static_assert(std::is_sorted(kTags.begin(), kTags.end(),
                             [](const TIFX_TagInfo& a, const TIFX_TagInfo& b)
                             { return a.tag < b.tag; }));

constexpr bool FieldBitsAreDistinct()
{
    for (size_t i = 0; i < kTags.size(); ++i)
        for (size_t j = i + 1; j < kTags.size(); ++j)
            if (kTags[i].fieldBit == kTags[j].fieldBit)
                return false;
    return true;
}
static_assert(FieldBitsAreDistinct());

// Only the embedded directory and the reserved tags live beyond the 64 bits of fieldsSet.
constexpr bool HandleFieldsAreBeyondTheSet()
{
    for (const TIFX_TagInfo& row : kTags)
    {
        const bool handle = row.value.GetKind() == V::Kind::EmbeddedDirectory ||
                            row.value.GetKind() == V::Kind::Reserved;
        if (handle != (row.fieldBit >= 64))
            return false;
    }
    return true;
}
static_assert(HandleFieldsAreBeyondTheSet());

uint32_t FloatBits(float f)
{
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    return bits;
}
} // namespace

uint32_t TIFX_TagValue::Bits(const KRNDirectoryInfo& info, size_t index) const
{
    switch (m_kind)
    {
    case Kind::Long:
        return static_cast<uint32_t>(info.*m_long);
    case Kind::Short:
    case Kind::PageCount:
        return info.*m_short;
    case Kind::Float:
        return FloatBits(info.*m_float);
    case Kind::PageLong:
        return static_cast<uint32_t>(info.pages[index].*m_pageLong);
    case Kind::PageShort:
        return info.pages[index].*m_pageShort;
    case Kind::PageFloat:
        return FloatBits(info.pages[index].*m_pageFloat);
    case Kind::Cmyk:
        return info.cmykEquivalent[index];
    default:
        return 0;
    }
}

int64_t TIFX_TagValue::Integer(const KRNDirectoryInfo& info, size_t index) const
{
    switch (m_kind)
    {
    case Kind::Long:
        return info.*m_long;
    case Kind::PageLong:
        return info.pages[index].*m_pageLong;
    case Kind::Float:
    case Kind::PageFloat:
        return static_cast<int64_t>(Real(info, index));
    default:
        return Bits(info, index);
    }
}

double TIFX_TagValue::Real(const KRNDirectoryInfo& info, size_t index) const
{
    switch (m_kind)
    {
    case Kind::Float:
        return static_cast<double>(info.*m_float);
    case Kind::PageFloat:
        return static_cast<double>(info.pages[index].*m_pageFloat);
    default:
        return static_cast<double>(Integer(info, index));
    }
}

void TIFX_TagValue::Store(KRNDirectoryInfo& info, size_t index, int64_t integer, float real) const
{
    switch (m_kind)
    {
    case Kind::Long:
        info.*m_long = static_cast<int32_t>(integer);
        break;
    case Kind::Short:
    case Kind::PageCount:
        info.*m_short = static_cast<uint16_t>(integer);
        break;
    case Kind::Float:
        info.*m_float = real;
        break;
    case Kind::PageLong:
        info.pages[index].*m_pageLong = static_cast<int32_t>(integer);
        break;
    case Kind::PageShort:
        info.pages[index].*m_pageShort = static_cast<uint16_t>(integer);
        break;
    case Kind::PageFloat:
        info.pages[index].*m_pageFloat = real;
        break;
    case Kind::Cmyk:
        info.cmykEquivalent[index] = static_cast<uint16_t>(integer);
        break;
    default:
        break;
    }
}

std::span<const TIFX_TagInfo> TIFX_PrivateTags()
{
    return kTags;
}

const TIFX_TagInfo* TIFX_FindPrivateTag(uint32_t tag)
{
    auto it = std::lower_bound(kTags.begin(), kTags.end(), tag,
                               [](const TIFX_TagInfo& row, uint32_t t) { return row.tag < t; });
    return it != kTags.end() && it->tag == tag ? &*it : nullptr;
}

const char* TIFX_WorkStyleName(unsigned code)
{
    static const char* const names[] = {"Single Sided", "Sheetwise", "Perfector", "Work & Turn",
                                        "Work & Tumble"};
    return code < 5 ? names[code] : "*** Unknown ***";
}

const char* TIFX_SheetLabel(unsigned code)
{
    static const char* const labels[] = {" - SS", " - SW", " - PF", " - WNTurn", " - WNTumble"};
    return code < 5 ? labels[code] : "";
}

const char* TIFX_ColorName(unsigned code)
{
    static const char* const names[] = {"Unknown", "Cyan", "Magenta", "Yellow",
                                        "Black",   "Red",  "Green",   "Blue"};
    return code < 8 ? names[code] : "*** Unknown ***";
}

const char* TIFX_OrientationName(unsigned code)
{
    static const char* const names[] = {"Up", "Down", "Left", "Right"};
    return code < 4 ? names[code] : "*****";
}
