#pragma once
// The synthetic jobs that krn sample can write, by name.

#include "KRN_SamplePlan.h"

#include <string>
#include <vector>

class KRN_SamplePresets
{
public:
    struct Settings
    {
        double dpi = 0;              // 0: the preset's own
        int inks = 8;                // large: 1..8 (K, then C, M, Y, then spots)
        std::uint32_t width = 16384; // large: device pixels
        std::uint32_t height = 16384;
        // large only: the imposed page art, or a dense flat screen in every ink.
        KRN_SampleContent content = KRN_SampleContent::Pages;
    };

    // brochure, workturn, worktumble, perfector, single, twosignatures, large. The invalid
    // preset is not a plan: the job writer makes its files itself.
    static const std::vector<std::string>& Names();
    static bool IsKnown(const std::string& name);

    // Throws std::invalid_argument for an unknown name or settings out of range.
    static KRN_SamplePlan Make(const std::string& name, const Settings& settings);

    // A grid of pages centred on a plate with the given margin to the plate's edge, head to
    // head: the top row's pages turned down. orientations, when given, override per page.
    static void LayOutGrid(KRN_SamplePlan& plan, KRN_SampleSurface& surface, int columns, int rows,
                           double pageWidth, double pageHeight, double gutter, double margin,
                           const std::vector<std::uint16_t>& numbers,
                           const std::vector<std::uint16_t>& orientations = {});

    // The four process inks, each at its usual screen angle.
    static KRN_SampleInk Cyan();
    static KRN_SampleInk Magenta();
    static KRN_SampleInk Yellow();
    static KRN_SampleInk Black();
    static KRN_SampleInk Spot(const std::string& name, int role);
};
