#pragma once
// What a synthetic job consists of, before anything is drawn: its inks, its surfaces with their
// imposed pages, and the files to write. Lengths are in inches; the composer turns them into
// device pixels at the job's resolution.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Art roles: the planes the page art paints. A job's inks each print one role.
enum KRN_SampleRole : int
{
    RoleCyan = 0,
    RoleMagenta,
    RoleYellow,
    RoleBlack,
    RoleSpot1,
    RoleSpot2,
    RoleSpot3,
    RoleSpot4,
    RoleCount
};

// What the plates carry: the imposed page art with marks, or a flat screen at 45-55 % in every
// ink over the whole plate, the slowest case for a Group 4 decoder (benchmark jobs).
enum class KRN_SampleContent
{
    Pages,
    Dense
};

struct KRN_SampleInk
{
    std::string name;
    std::uint16_t code = 0; // 1..4 process, 0 spot
    int role = RoleBlack;
    double screenAngle = 45;
    // C, M, Y, K, 65535 = 100 %, stored with the file when set.
    std::optional<std::array<std::uint16_t, 4>> cmykEquivalent;
    // Whether the file names its ink in the InkNames tag too, as most output systems do.
    bool inkNames = true;
};

struct KRN_SamplePage
{
    std::uint16_t number = 0;
    std::uint16_t orientation = 0;                   // 0 up, 1 down, 2 left, 3 right
    double left = 0, top = 0, width = 0, height = 0; // trim on the sheet
};

struct KRN_SampleSurface
{
    std::uint16_t signature = 1;
    std::uint16_t surface = 0;
    std::vector<KRN_SamplePage> pages;
    std::vector<int> inks; // indexes into the job's inks
    std::string printTime;
};

// One more file of an ink already written, rendered again later with changed art.
struct KRN_SampleRerender
{
    std::size_t surface = 0; // index into the job's surfaces
    int ink = 0;
    std::string printTime;
};

struct KRN_SamplePlan
{
    std::string title;
    std::uint16_t workStyle = 1;
    std::uint16_t orientation = 0;
    double dpi = 600;
    double imageWidth = 0, imageHeight = 0; // the plate image
    double pressSheetInset = 0.25;          // press sheet edge inside the image
    double bleed = 0.125;
    double maxBleed = 0.25;
    // Device-pixel size that overrides imageWidth and imageHeight (benchmark jobs).
    std::uint32_t widthPixels = 0, heightPixels = 0;
    KRN_SampleContent content = KRN_SampleContent::Pages;
    std::vector<KRN_SampleInk> inks;
    std::vector<KRN_SampleSurface> surfaces;
    std::vector<KRN_SampleRerender> rerenders;
};
