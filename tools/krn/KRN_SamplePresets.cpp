#include "KRN_SamplePresets.h"

#include <algorithm>
#include <stdexcept>

namespace
{
const char* const BaseTime = "2026:12:08 09:30:00";
const char* const BackTime = "12/08/2026 09:42:17"; // month first, as some output systems write

std::array<std::uint16_t, 4> Percent(double c, double m, double y, double k)
{
    auto v = [](double p) { return static_cast<std::uint16_t>(p * 65535.0 / 100.0 + 0.5); };
    return {v(c), v(m), v(y), v(k)};
}

std::vector<int> Indexes(const KRN_SamplePlan& plan)
{
    std::vector<int> all(plan.inks.size());
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = static_cast<int>(i);
    return all;
}

// Two surfaces (front 0, back 1) of four pages each, 2 x 2, as an eight-page signature.
void TwoSidedEightPages(KRN_SamplePlan& plan, double pageWidth, double pageHeight,
                        std::uint16_t signature, std::uint16_t firstSurface,
                        const std::vector<std::uint16_t>& orientations = {})
{
    KRN_SampleSurface front, back;
    front.signature = back.signature = signature;
    front.surface = firstSurface;
    back.surface = static_cast<std::uint16_t>(firstSurface + 1);
    front.inks = back.inks = Indexes(plan);
    front.printTime = BaseTime;
    back.printTime = BackTime;
    KRN_SamplePresets::LayOutGrid(plan, front, 2, 2, pageWidth, pageHeight, 0.5, 1.0, {5, 4, 8, 1},
                                  orientations);
    KRN_SamplePresets::LayOutGrid(plan, back, 2, 2, pageWidth, pageHeight, 0.5, 1.0, {3, 6, 2, 7},
                                  orientations);
    plan.surfaces.push_back(front);
    plan.surfaces.push_back(back);
}
} // namespace

const std::vector<std::string>& KRN_SamplePresets::Names()
{
    static const std::vector<std::string> names = {"brochure",  "workturn", "worktumble",
                                                   "perfector", "single",   "twosignatures",
                                                   "invalid",   "large"};
    return names;
}

bool KRN_SamplePresets::IsKnown(const std::string& name)
{
    const auto& names = Names();
    return std::find(names.begin(), names.end(), name) != names.end();
}

KRN_SampleInk KRN_SamplePresets::Cyan()
{
    return {"Cyan", 1, RoleCyan, 15, std::nullopt};
}

KRN_SampleInk KRN_SamplePresets::Magenta()
{
    return {"Magenta", 2, RoleMagenta, 75, std::nullopt};
}

KRN_SampleInk KRN_SamplePresets::Yellow()
{
    return {"Yellow", 3, RoleYellow, 0, std::nullopt};
}

KRN_SampleInk KRN_SamplePresets::Black()
{
    return {"Black", 4, RoleBlack, 45, std::nullopt};
}

KRN_SampleInk KRN_SamplePresets::Spot(const std::string& name, int role)
{
    return {name, 0, role, 45, std::nullopt};
}

void KRN_SamplePresets::LayOutGrid(KRN_SamplePlan& plan, KRN_SampleSurface& surface, int columns,
                                   int rows, double pageWidth, double pageHeight, double gutter,
                                   double margin, const std::vector<std::uint16_t>& numbers,
                                   const std::vector<std::uint16_t>& orientations)
{
    const double width = columns * pageWidth + (columns - 1) * gutter + 2 * margin;
    const double height = rows * pageHeight + (rows - 1) * gutter + 2 * margin;
    plan.imageWidth = std::max(plan.imageWidth, width);
    plan.imageHeight = std::max(plan.imageHeight, height);
    surface.pages.clear();
    for (int r = 0; r < rows; ++r)
    {
        for (int c = 0; c < columns; ++c)
        {
            const std::size_t i = static_cast<std::size_t>(r * columns + c);
            KRN_SamplePage page;
            page.number = i < numbers.size() ? numbers[i] : static_cast<std::uint16_t>(i + 1);
            // Head to head: the top row reads upside down, as folded signatures are laid out.
            page.orientation = i < orientations.size()
                                   ? orientations[i]
                                   : static_cast<std::uint16_t>(rows > 1 && r == 0 ? 1 : 0);
            page.left = margin + c * (pageWidth + gutter);
            page.top = margin + r * (pageHeight + gutter);
            page.width = pageWidth;
            page.height = pageHeight;
            surface.pages.push_back(page);
        }
    }
}

KRN_SamplePlan KRN_SamplePresets::Make(const std::string& name, const Settings& settings)
{
    KRN_SamplePlan plan;
    plan.dpi = 600;
    if (name == "brochure")
    {
        // Sheetwise, CMYK and one spot ink: the default job.
        plan.title = "Spring Brochure";
        plan.workStyle = 1;
        plan.inks = {Cyan(), Magenta(), Yellow(), Black(), Spot("PANTONE 185 C", RoleSpot1)};
        TwoSidedEightPages(plan, 5.5, 8.5, 1, 0);
    }
    else if (name == "perfector")
    {
        // Pages turned on their sides, and two spot inks, one with a CMYK equivalent.
        plan.title = "Perfector Flyer";
        plan.workStyle = 2;
        plan.inks = {Cyan(),
                     Magenta(),
                     Yellow(),
                     Black(),
                     Spot("PANTONE 300 C", RoleSpot1),
                     Spot("PANTONE 7455 U", RoleSpot2)};
        plan.inks[4].cmykEquivalent = Percent(100, 44, 0, 0);
        TwoSidedEightPages(plan, 5.5, 4.25, 1, 0, {2, 3, 2, 3});
    }
    else if (name == "workturn" || name == "worktumble")
    {
        // One plate prints both sides: every file belongs to surface 0.
        const bool turn = name == "workturn";
        plan.title = turn ? "Work and Turn Leaflet" : "Work and Tumble Leaflet";
        plan.workStyle = turn ? 3 : 4;
        plan.inks = {Cyan(), Magenta(), Yellow(), Black()};
        if (!turn)
        {
            plan.inks.push_back(Spot("PANTONE Warm Red CVC", RoleSpot1));
            plan.inks.back().cmykEquivalent = Percent(0, 75, 90, 0);
        }
        KRN_SampleSurface plate;
        plate.inks = Indexes(plan);
        plate.printTime = BaseTime;
        LayOutGrid(plan, plate, 4, 2, 3.5, 5.0, 0.4, 0.9, {1, 4, 1, 4, 2, 3, 2, 3});
        plan.surfaces.push_back(plate);
    }
    else if (name == "single")
    {
        plan.title = "Single Sided Poster";
        plan.workStyle = 0;
        plan.inks = {Black(), Spot("PANTONE 361 C", RoleSpot1)};
        plan.inks[1].cmykEquivalent = Percent(69, 0, 100, 0);
        KRN_SampleSurface front;
        front.inks = Indexes(plan);
        front.printTime = BaseTime;
        LayOutGrid(plan, front, 1, 1, 8.0, 10.0, 0, 1.0, {1});
        plan.surfaces.push_back(front);
    }
    else if (name == "twosignatures")
    {
        // One title, two signatures, the first of two webs; magenta of the first web's front is
        // rendered again later and replaces the first rendering.
        plan.title = "Catalogue";
        plan.workStyle = 1;
        plan.inks = {Cyan(), Magenta(), Yellow(), Black()};
        // An output system that leaves InkNames out: the colours come from the ink names alone.
        for (KRN_SampleInk& ink : plan.inks)
            ink.inkNames = false;
        TwoSidedEightPages(plan, 3.5, 4.5, 1, 0);
        TwoSidedEightPages(plan, 3.5, 4.5, 1, 2);
        TwoSidedEightPages(plan, 3.5, 4.5, 2, 0);
        std::uint16_t base = 0;
        for (std::size_t i = 0; i < plan.surfaces.size(); i += 2, base += 8)
        {
            for (std::size_t s = i; s < i + 2; ++s)
                for (KRN_SamplePage& page : plan.surfaces[s].pages)
                    page.number = static_cast<std::uint16_t>(page.number + base);
        }
        plan.rerenders.push_back({0, 1, "2026:12:08 11:05:00"});
    }
    else if (name == "large")
    {
        // A benchmark plate at 2400 dpi: size and ink count by settings.
        if (settings.inks < 1 || settings.inks > 8)
            throw std::invalid_argument("--inks must be 1 to 8");
        if (settings.width < 512 || settings.height < 512 || settings.width > 200000 ||
            settings.height > 200000)
            throw std::invalid_argument("--size must be 512x512 to 200000x200000 pixels");
        plan.title = "Large Benchmark Plate";
        plan.workStyle = 0;
        plan.dpi = 2400;
        const KRN_SampleInk order[] = {Black(),
                                       Cyan(),
                                       Magenta(),
                                       Yellow(),
                                       Spot("PANTONE 185 C", RoleSpot1),
                                       Spot("PANTONE 300 C", RoleSpot2),
                                       Spot("PANTONE 361 C", RoleSpot3),
                                       Spot("PANTONE 7455 U", RoleSpot4)};
        plan.inks.assign(order, order + settings.inks);
        plan.content = settings.content;
        if (plan.content == KRN_SampleContent::Dense)
        {
            // Every ink covers the whole plate here, so each needs an angle of its own to keep
            // the screens from beating into a coarse moire: the process inks keep theirs, the
            // spot inks take the angles between them.
            const double spotAngles[] = {30, 60, 7.5, 82.5};
            for (KRN_SampleInk& ink : plan.inks)
                if (ink.role >= RoleSpot1)
                    ink.screenAngle = spotAngles[ink.role - RoleSpot1];
        }
        const double dpi = settings.dpi > 0 ? settings.dpi : plan.dpi;
        plan.widthPixels = settings.width;
        plan.heightPixels = settings.height;
        const double w = settings.width / dpi, h = settings.height / dpi;
        const double margin = std::min(w, h) * 0.08;
        const double gutter = margin / 2;
        KRN_SampleSurface front;
        front.inks = Indexes(plan);
        front.printTime = BaseTime;
        LayOutGrid(plan, front, 2, 2, (w - 2 * margin - gutter) / 2, (h - 2 * margin - gutter) / 2,
                   gutter, margin, {1, 2, 3, 4});
        plan.surfaces.push_back(front);
        plan.imageWidth = w;
        plan.imageHeight = h;
        plan.pressSheetInset = margin / 4;
        plan.bleed = margin / 8;
        plan.maxBleed = margin / 4;
    }
    else
    {
        throw std::invalid_argument("unknown preset '" + name + "'");
    }
    if (settings.content != KRN_SampleContent::Pages && name != "large")
        throw std::invalid_argument("--content dense needs the large preset");
    if (settings.dpi > 0)
        plan.dpi = settings.dpi;
    if (plan.dpi < 72 || plan.dpi > 4800)
        throw std::invalid_argument("--dpi must be 72 to 4800");
    return plan;
}
