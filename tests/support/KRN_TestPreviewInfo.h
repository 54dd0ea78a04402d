#pragma once
// The job information of the small preview files the suites and the benchmarks write: one ink of
// one surface of one sheet, with the fields the imposition tree needs to place it.

#include "TIFX/TIFX_KRNDirectoryInfo.h"
#include "TIFX/TIFX_Tags.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct KRN_TestInfoSpec
{
    std::string title = "Job";
    std::uint16_t signature = 1;
    std::uint16_t surface = 0;
    std::uint16_t workStyle = 1;
    // Not stored when unset.
    std::optional<std::uint16_t> orientation = std::uint16_t{0};
    std::string colorName = "Cyan";
    // Not stored when unset.
    std::optional<std::uint16_t> color = std::uint16_t{1};
    std::string printTime = "2003:12:31 10:00:00";
    std::int32_t pressSheetTop = 0, pressSheetLeft = 0, pressSheetBottom = 0, pressSheetRight = 0;
    std::vector<KRNPageInfo> pages;
    // The page count is stored, even when there are no pages, unless this is cleared.
    bool storePageCount = true;
    // The clip-path field is stored when this is set or when a page has clip paths.
    bool clipPaths = false;
    std::optional<std::array<std::uint16_t, 4>> cmyk;
};

// A page with its bleed 5 and its largest bleed 10 units outside the trim on every side.
inline KRNPageInfo KRN_TestPage(std::uint16_t number, std::uint16_t orientation, std::int32_t top,
                                std::int32_t left, std::int32_t bottom, std::int32_t right)
{
    KRNPageInfo page;
    page.pageNumber = number;
    page.orientation = orientation;
    page.posTop = top;
    page.posLeft = left;
    page.posBottom = bottom;
    page.posRight = right;
    page.bleedTop = top - 5;
    page.bleedLeft = left - 5;
    page.bleedBottom = bottom + 5;
    page.bleedRight = right + 5;
    page.maxBleedTop = top - 10;
    page.maxBleedLeft = left - 10;
    page.maxBleedBottom = bottom + 10;
    page.maxBleedRight = right + 10;
    return page;
}

inline KRNDirectoryInfo KRN_TestDirectoryInfo(const KRN_TestInfoSpec& spec)
{
    KRNDirectoryInfo info;
    info.title = spec.title;
    info.SetField(TIFX_Field::Title);
    info.signature = spec.signature;
    info.SetField(TIFX_Field::Signature);
    info.surface = spec.surface;
    info.SetField(TIFX_Field::Surface);
    info.workStyle = spec.workStyle;
    info.SetField(TIFX_Field::WorkStyle);
    if (spec.orientation)
    {
        info.impoTileOrientation = *spec.orientation;
        info.SetField(TIFX_Field::ImpoTileOrientation);
    }
    info.colorName = spec.colorName;
    info.SetField(TIFX_Field::ColorStr);
    if (spec.color)
    {
        info.color = *spec.color;
        info.SetField(TIFX_Field::Color);
    }
    info.printTime = spec.printTime;
    info.SetField(TIFX_Field::PrintTime);
    info.pressSheetTop = spec.pressSheetTop;
    info.pressSheetLeft = spec.pressSheetLeft;
    info.pressSheetBottom = spec.pressSheetBottom;
    info.pressSheetRight = spec.pressSheetRight;
    for (unsigned bit : {TIFX_Field::PressSheetTop, TIFX_Field::PressSheetLeft,
                         TIFX_Field::PressSheetBottom, TIFX_Field::PressSheetRight})
        info.SetField(bit);
    info.pages = spec.pages;
    info.numPages = static_cast<std::uint16_t>(spec.pages.size());
    if (spec.storePageCount)
        info.SetField(TIFX_Field::NumPages);
    if (!spec.pages.empty())
        for (unsigned bit = TIFX_Field::PagePosnTop; bit <= TIFX_Field::PageNumber; ++bit)
            info.SetField(bit);
    const bool pageClips =
        std::any_of(spec.pages.begin(), spec.pages.end(),
                    [](const KRNPageInfo& page) { return !page.clipPaths.empty(); });
    if (spec.clipPaths || pageClips)
        info.SetField(TIFX_Field::PageSourceClipPath);
    if (spec.cmyk)
    {
        std::copy(spec.cmyk->begin(), spec.cmyk->end(), info.cmykEquivalent);
        info.SetField(TIFX_Field::CMYKEquivalent);
    }
    return info;
}
