#pragma once
// Job information of the preview files that the preview-file suites and the fuzz seed maker write:
// one with every private field present, and the seeds' smaller job.

#include "KRN_TestPreviewInfo.h"

#include "TIFX/TIFX_KRNDirectoryInfo.h"
#include "TIFX/TIFX_Tags.h"

// Job information with every private field present: three pages, clip paths on two of them.
inline KRNDirectoryInfo KRN_TestFullInfo()
{
    namespace F = TIFX_Field;
    KRNDirectoryInfo info;
    info.title = "Spring Catalogue";
    info.digVersion = "DIG 4.2.1";
    info.sourceMachine = "rip-07";
    info.printTime = "2006-03-14 09:26:53";
    info.colorName = "PANTONE 186 C";
    info.colorSequence = "CMYK";
    info.intfVersion = 3;
    info.minIntfVersion = 2;
    info.pluginIntfVersion = 7;
    info.pluginMinIntfVersion = 5;
    info.workStyle = 2;
    info.color = 4;
    info.signature = 3;
    info.surface = 1;
    info.interpretationTime = 12.5f;
    info.renderingTime = 3.25f;
    info.compressionRatio = 17.75f;
    info.pressSheetTop = 0;
    info.pressSheetLeft = 0;
    info.pressSheetBottom = 1000;
    info.pressSheetRight = 1400;
    info.psFileNum = 1;
    info.psFileCount = 2;
    info.psImageNum = 5;
    info.psLastImage = 1;
    info.impoTileWidth = 700;
    info.impoTileHeight = 500;
    info.impoTileNumX = 1;
    info.impoTileNumY = 0;
    info.impoTileCountX = 2;
    info.impoTileCountY = 1;
    info.impoTileOrientation = 3;
    info.numPages = 3;
    info.pages.resize(3);
    for (int i = 0; i < 3; ++i)
    {
        KRNPageInfo& p = info.pages[i];
        p.pageNumber = static_cast<uint16_t>(i + 1);
        p.orientation = static_cast<uint16_t>(i);
        p.posTop = 100 + i;
        p.posLeft = 50 + 400 * i;
        p.posBottom = 900 - i;
        p.posRight = 400 + 400 * i;
        p.bleedTop = 90;
        p.bleedLeft = 40 + 400 * i;
        p.bleedBottom = 910;
        p.bleedRight = 410 + 400 * i;
        p.maxBleedTop = 80;
        p.maxBleedLeft = 30 + 400 * i;
        p.maxBleedBottom = 920;
        p.maxBleedRight = 420 + 400 * i;
        p.bottleX = 225 + 400 * i;
        p.bottleY = -500 + i; // negative values survive the trip
        p.bottleAngle = 90.0f * i + 0.5f;
    }
    info.pages[0].clipPaths = {{{50, 100}, {400, 100}, {400, 900}, {50, 900}}};
    info.pages[2].clipPaths = {{{850, 102}, {1200, 102}, {1200, 898}}, {{900, 200}, {1000, 300}}};
    info.cmykEquivalent[0] = 0;
    info.cmykEquivalent[1] = 65535;
    info.cmykEquivalent[2] = 32768;
    info.cmykEquivalent[3] = 1234;
    for (unsigned bit = 0; bit <= 51; ++bit)
        if (bit != 33)
            info.SetField(bit);
    info.SetField(F::ColorSequence);
    info.SetField(F::CMYKEquivalent);
    return info;
}

// The seeds' job: two pages, a clip path on the second, every private field present but the
// raster tags the reader does not keep (most of them zero).
inline KRNDirectoryInfo KRN_TestSeedInfo()
{
    KRN_TestInfoSpec spec;
    spec.title = "Seed job";
    spec.printTime = "2006-03-14 09:26:53";
    spec.pressSheetBottom = 600;
    spec.pressSheetRight = 700;
    spec.pages = {KRN_TestPage(1, 0, 10, 10, 290, 340), KRN_TestPage(2, 1, 10, 360, 290, 690)};
    spec.pages[0].bottleX = 175;
    spec.pages[0].bottleY = 150;
    spec.pages[1].bottleX = 525;
    spec.pages[1].bottleY = 150;
    spec.pages[1].bottleAngle = 180.0f;
    spec.pages[1].clipPaths = {{{360, 10}, {690, 10}, {690, 290}}};
    spec.cmyk = {{65535, 0, 0, 0}};
    KRNDirectoryInfo info = KRN_TestDirectoryInfo(spec);
    info.colorSequence = "CMYK";
    for (unsigned bit = 0; bit <= TIFX_Field::CMYKEquivalent; ++bit)
        if (bit != 33 &&
            (bit < TIFX_Field::RastTintCalibInfo || bit > TIFX_Field::RastColorOpacity))
            info.SetField(bit);
    return info;
}
