// The private lines of libtiff's directory report. Each line appears only when the fields it shows
// are present in the current directory; the formats are fixed because people compare reports.

#include "TIFX/TIFX_HandleState.h"
#include "TIFX/TIFX_Tags.h"

#include <cstdio>

namespace
{
namespace F = TIFX_Field;

unsigned U(int32_t v)
{
    return static_cast<unsigned>(v);
}

void PrintPages(const KRNDirectoryInfo& info, FILE* out)
{
    const auto has = [&](unsigned bit) { return info.IsFieldSet(bit); };
    std::fprintf(out, "  Num Pages: %d\n", info.numPages);
    int index = 0;
    for (const KRNPageInfo& page : info.pages)
    {
        std::fprintf(out, "  Index: %d", index++);
        if (has(F::PageNumber))
            std::fprintf(out, ", Page Number: %d", page.pageNumber);
        if (has(F::PageOrientation))
        {
            std::fprintf(out, ", Orientation: ");
            std::fprintf(out, "%s (%d)", TIFX_OrientationName(page.orientation), page.orientation);
        }
        std::fprintf(out, "\n");
        if (has(F::PagePosnTop) && has(F::PagePosnLeft) && has(F::PagePosnBottom) &&
            has(F::PagePosnRight))
            std::fprintf(out, "    Position: (%u,%u)-(%u,%u)\n", U(page.posLeft), U(page.posTop),
                         U(page.posRight), U(page.posBottom));
        if (has(F::PageBleedTop) && has(F::PageBleedLeft) && has(F::PageBleedBottom) &&
            has(F::PageBleedRight))
            std::fprintf(out, "    Bleed: (%u,%u)-(%u,%u)\n", U(page.bleedLeft), U(page.bleedTop),
                         U(page.bleedRight), U(page.bleedBottom));
        if (has(F::PageMaxBleedTop) && has(F::PageMaxBleedLeft) && has(F::PageMaxBleedBottom) &&
            has(F::PageMaxBleedRight))
            std::fprintf(out, "    Max Bleed: (%u,%u)-(%u,%u)\n", U(page.maxBleedLeft),
                         U(page.maxBleedTop), U(page.maxBleedRight), U(page.maxBleedBottom));
        if (has(F::PageBottleAngle) && has(F::PageBottleX) && has(F::PageBottleY))
            std::fprintf(out, "    Bottling: %6.2f degrees about (%u,%u)\n",
                         static_cast<double>(page.bottleAngle), U(page.bottleX), U(page.bottleY));
        if (has(F::PageSourceClipPath))
        {
            std::fprintf(out, "  Number of Source Clip Paths: %i\n",
                         static_cast<int>(page.clipPaths.size()));
            int pathNumber = 1;
            for (const std::vector<KRNPoint>& path : page.clipPaths)
            {
                std::fprintf(out, "    Source Clip Path #%i\n", pathNumber++);
                for (const KRNPoint& point : path)
                    std::fprintf(out, "    +  ( %5i, %5i )\n", point.x, point.y);
            }
        }
    }
}
} // namespace

void TIFX_PrintPrivateDirectory(TIFF* tif, FILE* out, long flags)
{
    TIFX_HandleState* state = TIFX_StateOf(tif);
    if (!state)
        return;
    if (state->parentPrint)
        state->parentPrint(tif, out, flags);
    if (!state->privateFieldsHandled)
        return;

    const KRNDirectoryInfo& info = state->info;
    const auto has = [&](unsigned bit) { return info.IsFieldSet(bit); };

    if (has(F::ColorSequence))
        std::fprintf(out, "  IT8 Color Sequence: %s\n", info.colorSequence.c_str());
    if (has(F::CMYKEquivalent))
    {
        const uint16_t* v = info.cmykEquivalent;
        std::fprintf(out, "  IT8 CMYK Equivalent: ");
        std::fprintf(out, "[0x%04X,0x%04X,0x%04X,0x%04X]", v[0], v[1], v[2], v[3]);
        std::fprintf(out, " (%.1f,%.1f,%.1f,%.1f) %%\n", v[0] * 100.0 / 65535, v[1] * 100.0 / 65535,
                     v[2] * 100.0 / 65535, v[3] * 100.0 / 65535);
    }
    std::fprintf(out, "--- Quor Private IFD ---\n");
    if (has(F::QuorTagIntfVersion) && has(F::QuorTagMinIntfVersion))
        std::fprintf(out, "  QuorTag Intf Version: (%d-%d)\n", info.intfVersion,
                     info.minIntfVersion);
    if (has(F::PluginIntfVersion) && has(F::PluginMinIntfVersion))
        std::fprintf(out, "  Plugin  Intf Version: (%d-%d)\n", info.pluginIntfVersion,
                     info.pluginMinIntfVersion);
    if (has(F::DigVersion))
        std::fprintf(out, "  DIG Version: %s\n", info.digVersion.c_str());
    if (has(F::Title))
        std::fprintf(out, "  Title: %s\n", info.title.c_str());
    if (has(F::SourceMachine))
        std::fprintf(out, "  SourceMachine: %s\n", info.sourceMachine.c_str());
    if (has(F::PrintTime))
        std::fprintf(out, "  PrintTime: %s\n", info.printTime.c_str());
    if (has(F::PsFileNum))
        std::fprintf(out, "  PsFileNum: %d\n", info.psFileNum);
    if (has(F::PsFileCount))
        std::fprintf(out, "  PsFileCount: %d\n", info.psFileCount);
    if (has(F::PsImageNum))
        std::fprintf(out, "  PsImageNum: %d\n", info.psImageNum);
    if (has(F::PsLastImage))
        std::fprintf(out, "  PsLastImage: %d\n", info.psLastImage);
    if (has(F::ColorStr))
        std::fprintf(out, "  Color: %s (%s (%d))\n", info.colorName.c_str(),
                     TIFX_ColorName(info.color), info.color);
    if (has(F::InterpretationTime))
        std::fprintf(out, "  Interpretation Time: %g (seconds)\n",
                     static_cast<double>(info.interpretationTime));
    if (has(F::RenderingTime))
        std::fprintf(out, "  Rendering Time: %g (seconds)\n",
                     static_cast<double>(info.renderingTime));
    if (has(F::CompressionRatio))
        std::fprintf(out, "  Compression Ratio: %g:1\n",
                     static_cast<double>(info.compressionRatio));
    if (has(F::Scale))
        std::fprintf(out, "  Scale: 1:%d\n", info.scale);
    if (has(F::Signature))
        std::fprintf(out, "  Signature: %d\n", info.signature);
    if (has(F::Surface))
        std::fprintf(out, "  Surface: %d\n", info.surface);
    if (has(F::ImpoTileWidth) && has(F::ImpoTileHeight))
        std::fprintf(out, "  Imposition Tile: %d x %d\n", info.impoTileWidth, info.impoTileHeight);
    if (has(F::ImpoTileNumX) && has(F::ImpoTileNumY))
        std::fprintf(out, "  Imposition Tile: (%d, %d)\n", info.impoTileNumX, info.impoTileNumY);
    if (has(F::ImpoTileCountX) && has(F::ImpoTileCountY))
        std::fprintf(out, "  Imposition Tile Count: %d x %d\n", info.impoTileCountX,
                     info.impoTileCountY);
    if (has(F::ImpoTileOrientation))
        std::fprintf(out, "  Tile Orientation: %s\n",
                     TIFX_OrientationName(info.impoTileOrientation));
    if (has(F::WorkStyle))
        std::fprintf(out, "  Workstyle: %s (%d)\n", TIFX_WorkStyleName(info.workStyle),
                     info.workStyle);
    if (has(F::PressSheetTop) && has(F::PressSheetLeft) && has(F::PressSheetBottom) &&
        has(F::PressSheetRight))
        std::fprintf(out, "  Press Sheet: (%u,%u)-(%u,%u)\n", U(info.pressSheetTop),
                     U(info.pressSheetLeft), U(info.pressSheetBottom), U(info.pressSheetRight));
    if (has(F::NumPages))
        PrintPages(info, out);
}
