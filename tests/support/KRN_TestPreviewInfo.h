#pragma once
// The job information of the small preview files the suites and the benchmarks write: one ink of
// one surface of one sheet, with the fields the imposition tree needs to place it, composed by the
// same job composer as `krn sample`'s files (the suites link its library, krn_sample).

#include "KRN_JobInfo.h"
#include "TIFX/TIFX_KRNDirectoryInfo.h"
#include "TIFX/TIFX_Tags.h"

#include <cstdint>

// The job composer's description of a file, with the suites' defaults: a Cyan separation of the
// front of sheet 1 of "Job", printed at the end of 2003.
struct KRN_TestInfoSpec : KRN_JobInfo::Spec
{
    KRN_TestInfoSpec()
    {
        title = "Job";
        colorName = "Cyan";
        color = std::uint16_t{1};
        printTime = "2003:12:31 10:00:00";
    }
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
    return KRN_JobInfo::Compose(spec);
}
