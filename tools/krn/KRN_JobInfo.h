#pragma once
// The job information of one preview file, composed from what the job says about that file: the
// job, its surface, its ink, the press sheet and the imposed pages. `krn sample` composes every
// file's information here, and the suites and benchmarks do through their test support, so that
// their fixtures carry the fields exactly as the sample jobs do.

#include "TIFX/TIFX_KRNDirectoryInfo.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class KRN_JobInfo
{
public:
    struct Spec
    {
        std::string title;
        std::uint16_t signature = 1;
        std::uint16_t surface = 0;
        std::uint16_t workStyle = 1;
        // Not stored when unset.
        std::optional<std::uint16_t> orientation = std::uint16_t{0};
        std::string colorName;
        // Not stored when unset.
        std::optional<std::uint16_t> color;
        std::string printTime;
        std::int32_t pressSheetTop = 0, pressSheetLeft = 0, pressSheetBottom = 0,
                     pressSheetRight = 0;
        std::vector<KRNPageInfo> pages;
        // The page count is stored, even when there are no pages, unless this is cleared.
        bool storePageCount = true;
        // The clip-path field is stored when this is set or when a page has clip paths.
        bool clipPaths = false;
        std::optional<std::array<std::uint16_t, 4>> cmyk;
        // What made the file and where; stored when not empty.
        std::string digVersion;
        std::string sourceMachine;
        // The interface version and the oldest reader it allows, stored when set.
        std::optional<std::array<std::uint16_t, 2>> interfaceVersions;
    };

    static KRNDirectoryInfo Compose(const Spec& spec);
};
