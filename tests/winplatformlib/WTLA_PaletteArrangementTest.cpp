#include "WTLA/WTLA_PaletteArrangement.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
// Navigation, separations, measurement as a job window has them: the first takes 5 pixels more
// when docked, the first two set the column width; only the second can be made shorter.
std::vector<WTLA_PaletteItem> ThreePalettes(bool first, bool second, bool third)
{
    return {{QSize(200, 150), first, 5, true, QSize(200, 150)},
            {QSize(180, 300), second, 0, true, QSize(180, 120)},
            {QSize(240, 90), third, 0, false, QSize(240, 90)}};
}

struct FloatCase
{
    const char* name;
    WTLA_Arrangement arrangement;
    bool included[3];
    std::vector<QRect> expected; // by included item, in order
    bool low = false;            // in the low client area
};

class FloatTable : public ::testing::TestWithParam<FloatCase>
{
};

struct DockCase
{
    const char* name;
    WTLA_Arrangement arrangement;
    bool included[3];
    int clientHeight;
    std::vector<double> starts;
    std::vector<QRect> expected;
};

class DockTable : public ::testing::TestWithParam<DockCase>
{
};

const QRect kClient(100, 60, 800, 500); // x 100..899, y 60..559
const QRect kLowClient(100, 60, 800, 200);
} // namespace

TEST_P(FloatTable, PalettesStandOneBelowTheOtherOnTheEdge)
{
    const FloatCase& c = GetParam();
    const auto placements = WTLA_PaletteArrangement::Compute(
        c.arrangement, c.low ? kLowClient : kClient,
        ThreePalettes(c.included[0], c.included[1], c.included[2]));
    ASSERT_EQ(placements.size(), c.expected.size());
    for (std::size_t i = 0; i < placements.size(); ++i)
        EXPECT_EQ(placements[i].rect, c.expected[i]) << i;
}

INSTANTIATE_TEST_SUITE_P(
    WTLA_PaletteArrangement, FloatTable,
    ::testing::Values(
        // The third would hang 40 rows below the area: it starts a column beside the first,
        // towards the middle.
        FloatCase{"RightAllThree",
                  WTLA_Arrangement::FloatRight,
                  {true, true, true},
                  {QRect(700, 60, 200, 150), QRect(720, 210, 180, 300), QRect(460, 60, 240, 90)}},
        FloatCase{"LeftAllThree",
                  WTLA_Arrangement::FloatLeft,
                  {true, true, true},
                  {QRect(100, 60, 200, 150), QRect(100, 210, 180, 300), QRect(300, 60, 240, 90)}},
        // In a low area every palette takes a column; one taller than the area is cut to it,
        // never below its minimum.
        FloatCase{"RightInALowArea",
                  WTLA_Arrangement::FloatRight,
                  {true, true, true},
                  {QRect(700, 60, 200, 150), QRect(520, 60, 180, 200), QRect(280, 60, 240, 90)},
                  true},
        FloatCase{"LeftTallerThanALowArea",
                  WTLA_Arrangement::FloatLeft,
                  {false, true, false},
                  {QRect(100, 60, 180, 200)},
                  true},
        // A hidden palette leaves no gap: the next one moves up into its place.
        FloatCase{"RightWithoutNavigation",
                  WTLA_Arrangement::FloatRight,
                  {false, true, true},
                  {QRect(720, 60, 180, 300), QRect(660, 360, 240, 90)}},
        FloatCase{"LeftOnlyMeasurement",
                  WTLA_Arrangement::FloatLeft,
                  {false, false, true},
                  {QRect(100, 60, 240, 90)}},
        FloatCase{"NoneIncluded", WTLA_Arrangement::FloatRight, {false, false, false}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(DockTable, PalettesShareOneColumnByFractionsOfTheClientHeight)
{
    const DockCase& c = GetParam();
    const QRect client(0, 40, 1000, c.clientHeight);
    const auto placements = WTLA_PaletteArrangement::Compute(
        c.arrangement, client, ThreePalettes(c.included[0], c.included[1], c.included[2]));
    ASSERT_EQ(placements.size(), c.expected.size());
    for (std::size_t i = 0; i < placements.size(); ++i)
    {
        EXPECT_DOUBLE_EQ(placements[i].start, c.starts[i]) << i;
        EXPECT_EQ(placements[i].rect, c.expected[i]) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    WTLA_PaletteArrangement, DockTable,
    ::testing::Values(
        // 155 of 620 = 0.25, 455 of 620; the last reaches the bottom.
        DockCase{"RightAllThree",
                 WTLA_Arrangement::DockRight,
                 {true, true, true},
                 620,
                 {0.0, 0.25, 455.0 / 620.0},
                 {QRect(800, 40, 200, 155), QRect(800, 195, 200, 300), QRect(800, 495, 200, 165)}},
        // The column keeps the navigation palette's width even while it is hidden.
        DockCase{"LeftWithoutNavigation",
                 WTLA_Arrangement::DockLeft,
                 {false, true, true},
                 600,
                 {0.0, 0.5},
                 {QRect(0, 40, 200, 300), QRect(0, 340, 200, 300)}},
        // Palettes taller than the client area start at most at its bottom.
        DockCase{"ShortClientArea",
                 WTLA_Arrangement::DockRight,
                 {true, true, true},
                 310,
                 {0.0, 0.5, 1.0},
                 {QRect(800, 40, 200, 155), QRect(800, 195, 200, 155), QRect(800, 350, 200, 0)}},
        // No client rows at all: no fraction is divided by zero.
        DockCase{"EmptyClientArea",
                 WTLA_Arrangement::DockLeft,
                 {true, true, false},
                 0,
                 {0.0, 0.0},
                 {QRect(0, 40, 200, 0), QRect(0, 40, 200, 0)}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WTLA_PaletteArrangement, ColumnWidth_WidestWidthSetterElseWidestIncluded)
{
    EXPECT_EQ(WTLA_PaletteArrangement::ColumnWidth(ThreePalettes(false, false, true)), 200);
    // Without width setters the included palettes decide.
    std::vector<WTLA_PaletteItem> loose{{QSize(120, 10), true, 0, false, QSize()},
                                        {QSize(160, 10), true, 0, false, QSize()},
                                        {QSize(400, 10), false, 0, false, QSize()}};
    EXPECT_EQ(WTLA_PaletteArrangement::ColumnWidth(loose), 160);
    EXPECT_EQ(WTLA_PaletteArrangement::ColumnWidth({}), 0);
}

// What lies over the area counts from the nearer edge to its far side; what lies beside the area
// covers none of it.
TEST(WTLA_PaletteArrangement, Covered_CountsFromTheNearerEdge)
{
    const QRect area(100, 50, 800, 600); // x 100..899
    EXPECT_EQ(WTLA_PaletteArrangement::Covered(area, {}), WTLA_Cover{});
    // Two palettes floating right, one narrower, and one floating left.
    EXPECT_EQ(WTLA_PaletteArrangement::Covered(
                  area, {QRect(700, 50, 200, 150), QRect(720, 200, 180, 300)}),
              (WTLA_Cover{0, 200}));
    EXPECT_EQ(WTLA_PaletteArrangement::Covered(area, {QRect(100, 50, 240, 90)}),
              (WTLA_Cover{240, 0}));
    // Partly outside the area: only the part over it counts.
    EXPECT_EQ(WTLA_PaletteArrangement::Covered(area, {QRect(850, 60, 200, 100)}),
              (WTLA_Cover{0, 50}));
    // Beside or below the area, and empty frames: nothing.
    EXPECT_EQ(WTLA_PaletteArrangement::Covered(
                  area, {QRect(900, 50, 200, 100), QRect(300, 650, 100, 100), QRect()}),
              WTLA_Cover{});
}
