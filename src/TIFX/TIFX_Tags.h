#pragma once
// The private tags of a preview file: their numbers, the bits that mark them present in a
// directory's job information, their registration table, and the names of their coded values.

#include <tiffio.h>

#include <cstdint>
#include <span>

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

// One row of the private tag table. count is 1 or -1 (variable); passcount means the value is
// stored with its own count.
struct TIFX_TagInfo
{
    uint32_t tag;
    TIFFDataType type;
    int count;
    bool passcount;
    unsigned fieldBit;
    const char* name;
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
