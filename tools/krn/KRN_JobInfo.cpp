#include "KRN_JobInfo.h"

#include "TIFX/TIFX_Tags.h"

#include <algorithm>

KRNDirectoryInfo KRN_JobInfo::Compose(const Spec& spec)
{
    namespace F = TIFX_Field;
    KRNDirectoryInfo info;
    info.title = spec.title;
    info.SetField(F::Title);
    if (!spec.digVersion.empty())
    {
        info.digVersion = spec.digVersion;
        info.SetField(F::DigVersion);
    }
    if (!spec.sourceMachine.empty())
    {
        info.sourceMachine = spec.sourceMachine;
        info.SetField(F::SourceMachine);
    }
    info.printTime = spec.printTime;
    info.SetField(F::PrintTime);
    info.colorName = spec.colorName;
    info.SetField(F::ColorStr);
    if (spec.color)
    {
        info.color = *spec.color;
        info.SetField(F::Color);
    }
    info.workStyle = spec.workStyle;
    info.SetField(F::WorkStyle);
    info.signature = spec.signature;
    info.SetField(F::Signature);
    info.surface = spec.surface;
    info.SetField(F::Surface);
    if (spec.orientation)
    {
        info.impoTileOrientation = *spec.orientation;
        info.SetField(F::ImpoTileOrientation);
    }
    if (spec.interfaceVersions)
    {
        info.intfVersion = (*spec.interfaceVersions)[0];
        info.minIntfVersion = (*spec.interfaceVersions)[1];
        info.SetField(F::QuorTagIntfVersion);
        info.SetField(F::QuorTagMinIntfVersion);
    }
    info.pressSheetTop = spec.pressSheetTop;
    info.pressSheetLeft = spec.pressSheetLeft;
    info.pressSheetBottom = spec.pressSheetBottom;
    info.pressSheetRight = spec.pressSheetRight;
    for (unsigned bit :
         {F::PressSheetTop, F::PressSheetLeft, F::PressSheetBottom, F::PressSheetRight})
        info.SetField(bit);
    info.pages = spec.pages;
    info.numPages = static_cast<std::uint16_t>(spec.pages.size());
    if (spec.storePageCount)
        info.SetField(F::NumPages);
    if (!spec.pages.empty())
        for (unsigned bit = F::PagePosnTop; bit <= F::PageNumber; ++bit)
            info.SetField(bit);
    const bool pageClips =
        std::any_of(spec.pages.begin(), spec.pages.end(),
                    [](const KRNPageInfo& page) { return !page.clipPaths.empty(); });
    if (spec.clipPaths || pageClips)
        info.SetField(F::PageSourceClipPath);
    if (spec.cmyk)
    {
        std::copy(spec.cmyk->begin(), spec.cmyk->end(), info.cmykEquivalent);
        info.SetField(F::CMYKEquivalent);
    }
    return info;
}
