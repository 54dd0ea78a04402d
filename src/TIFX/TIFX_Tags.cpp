#include "TIFX/TIFX_Tags.h"

#include <algorithm>
#include <array>

namespace
{
namespace T = TIFX_Tag;
namespace F = TIFX_Field;

constexpr int kVar = -1;

// Sorted by tag, so that lookups can bisect.
constexpr std::array<TIFX_TagInfo, 61> kTags = {{
    {T::InterpretationTime, TIFF_FLOAT, 1, false, F::InterpretationTime, "InterpretationTime"},
    {T::RenderingTime, TIFF_FLOAT, 1, false, F::RenderingTime, "RenderingTime"},
    {T::CompressionRatio, TIFF_FLOAT, 1, false, F::CompressionRatio, "CompressionRatio"},
    {T::Title, TIFF_ASCII, kVar, false, F::Title, "Title"},
    {T::Scale, TIFF_SHORT, 1, false, F::Scale, "Scale"},
    {T::QuorTagIntfVersion, TIFF_LONG, 1, false, F::QuorTagIntfVersion, "QuorTagIntfVersion"},
    {T::QuorTagMinIntfVersion, TIFF_LONG, 1, false, F::QuorTagMinIntfVersion,
     "QuorTagMinIntfVersion"},
    {T::WorkStyle, TIFF_SHORT, 1, false, F::WorkStyle, "WorkStyle"},
    {T::PluginIntfVersion, TIFF_LONG, 1, false, F::PluginIntfVersion, "PluginIntfVersion"},
    {T::PluginMinIntfVersion, TIFF_LONG, 1, false, F::PluginMinIntfVersion, "PluginMinIntfVersion"},
    {T::DigVersion, TIFF_ASCII, kVar, false, F::DigVersion, "DigVersion"},
    {T::SourceMachine, TIFF_ASCII, kVar, false, F::SourceMachine, "SourceMachine"},
    {T::PrintTime, TIFF_ASCII, kVar, false, F::PrintTime, "PrintTime"},
    {T::ColorStr, TIFF_ASCII, kVar, false, F::ColorStr, "ColorStr"},
    {T::Color, TIFF_SHORT, 1, false, F::Color, "Color"},
    {T::PressSheetTop, TIFF_LONG, 1, false, F::PressSheetTop, "PressSheetTop"},
    {T::PressSheetLeft, TIFF_LONG, 1, false, F::PressSheetLeft, "PressSheetLeft"},
    {T::PressSheetBottom, TIFF_LONG, 1, false, F::PressSheetBottom, "PressSheetBottom"},
    {T::PressSheetRight, TIFF_LONG, 1, false, F::PressSheetRight, "PressSheetRight"},
    {T::PsFileNum, TIFF_LONG, 1, false, F::PsFileNum, "PsFileNum"},
    {T::PsFileCount, TIFF_LONG, 1, false, F::PsFileCount, "PsFileCount"},
    {T::PsImageNum, TIFF_LONG, 1, false, F::PsImageNum, "PsImageNum"},
    {T::PsLastImage, TIFF_LONG, 1, false, F::PsLastImage, "PsLastImage"},
    {T::NumPages, TIFF_SHORT, 1, false, F::NumPages, "Num Pages"},
    {T::Signature, TIFF_SHORT, 1, false, F::Signature, "Signature"},
    {T::Surface, TIFF_SHORT, 1, false, F::Surface, "Surface"},
    {T::ImpoTileWidth, TIFF_LONG, 1, false, F::ImpoTileWidth, "ImpoTileWidth"},
    {T::ImpoTileHeight, TIFF_LONG, 1, false, F::ImpoTileHeight, "ImpoTileHeight"},
    {T::ImpoTileNumX, TIFF_SHORT, 1, false, F::ImpoTileNumX, "ImpoTileNumX"},
    {T::ImpoTileNumY, TIFF_SHORT, 1, false, F::ImpoTileNumY, "ImpoTileNumY"},
    {T::ImpoTileCountX, TIFF_SHORT, 1, false, F::ImpoTileCountX, "ImpoTileCountX"},
    {T::ImpoTileCountY, TIFF_SHORT, 1, false, F::ImpoTileCountY, "ImpoTileCountY"},
    {T::ImpoTileOrientation, TIFF_SHORT, 1, false, F::ImpoTileOrientation, "ImpoTileOrientation"},
    {T::PagePosnTop, TIFF_LONG, kVar, false, F::PagePosnTop, "PagePosnTop"},
    {T::PagePosnLeft, TIFF_LONG, kVar, false, F::PagePosnLeft, "PagePosnLeft"},
    {T::PagePosnBottom, TIFF_LONG, kVar, false, F::PagePosnBottom, "PagePosnBottom"},
    {T::PagePosnRight, TIFF_LONG, kVar, false, F::PagePosnRight, "PagePosnRight"},
    {T::PageBleedTop, TIFF_LONG, kVar, false, F::PageBleedTop, "PageBleedTop"},
    {T::PageBleedLeft, TIFF_LONG, kVar, false, F::PageBleedLeft, "PageBleedLeft"},
    {T::PageBleedBottom, TIFF_LONG, kVar, false, F::PageBleedBottom, "PageBleedBottom"},
    {T::PageBleedRight, TIFF_LONG, kVar, false, F::PageBleedRight, "PageBleedRight"},
    {T::PageOrientation, TIFF_SHORT, kVar, false, F::PageOrientation, "PageOrientation"},
    {T::PageNumber, TIFF_SHORT, kVar, false, F::PageNumber, "PageNumber"},
    {T::PageBottleX, TIFF_LONG, kVar, false, F::PageBottleX, "PageBottleX"},
    {T::PageBottleY, TIFF_LONG, kVar, false, F::PageBottleY, "PageBottleY"},
    {T::PageBottleAngle, TIFF_FLOAT, kVar, false, F::PageBottleAngle, "PageBottleAngle"},
    {T::PageMaxBleedTop, TIFF_LONG, kVar, false, F::PageMaxBleedTop, "PageMaxBleedTop"},
    {T::PageMaxBleedLeft, TIFF_LONG, kVar, false, F::PageMaxBleedLeft, "PageMaxBleedLeft"},
    {T::PageMaxBleedBottom, TIFF_LONG, kVar, false, F::PageMaxBleedBottom, "PageMaxBleedBottom"},
    {T::PageMaxBleedRight, TIFF_LONG, kVar, false, F::PageMaxBleedRight, "PageMaxBleedRight"},
    {T::PageSourceClipPath, TIFF_LONG, kVar, true, F::PageSourceClipPath, "PageSourceClipPath"},
    {T::RastTintCalibInfo, TIFF_ASCII, kVar, false, F::RastTintCalibInfo, "RastTintCalibInfo"},
    {T::RastColorAbbrev, TIFF_BYTE, kVar, true, F::RastColorAbbrev, "RastColorAbbrev"},
    {T::RastColorOpacity, TIFF_SHORT, kVar, false, F::RastColorOpacity, "RastColorOpacity"},
    {T::ColorSequence, TIFF_ASCII, kVar, false, F::ColorSequence, "ColorSequence"},
    {T::CMYKEquivalent, TIFF_SHORT, kVar, true, F::CMYKEquivalent, "CMYKEquivalent"},
    {T::QuorIFD, TIFF_BYTE, kVar, true, F::QuorIFD, "QuorIFD"},
    {T::QuorReserved2, TIFF_BYTE, kVar, true, F::QuorReserved2, "QuorReserved2"},
    {T::QuorReserved3, TIFF_BYTE, kVar, true, F::QuorReserved3, "QuorReserved3"},
    {T::QuorReserved4, TIFF_BYTE, kVar, true, F::QuorReserved4, "QuorReserved4"},
    {T::QuorReserved5, TIFF_BYTE, kVar, true, F::QuorReserved5, "QuorReserved5"},
}};

static_assert(std::is_sorted(kTags.begin(), kTags.end(),
                             [](const TIFX_TagInfo& a, const TIFX_TagInfo& b)
                             { return a.tag < b.tag; }));
} // namespace

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
