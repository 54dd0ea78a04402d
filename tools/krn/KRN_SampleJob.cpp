#include "KRN_SampleJob.h"

#include "KRN_Halftone.h"
#include "KRN_JobInfo.h"
#include "KRN_PageArt.h"

#include "TIFX/TIFX_KRNWriter.h"

#include <tiffio.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>

namespace
{
using Art = KRN_PageArt;

struct Geometry
{
    std::uint32_t width = 0, height = 0;
    double dpi = 600;

    std::int32_t Px(double inches) const
    {
        return static_cast<std::int32_t>(std::lround(inches * dpi));
    }
};

Geometry GeometryOf(const KRN_SamplePlan& plan)
{
    Geometry g;
    g.dpi = plan.dpi;
    g.width = plan.widthPixels
                  ? plan.widthPixels
                  : static_cast<std::uint32_t>(std::lround(plan.imageWidth * plan.dpi));
    g.height = plan.heightPixels
                   ? plan.heightPixels
                   : static_cast<std::uint32_t>(std::lround(plan.imageHeight * plan.dpi));
    return g;
}

// Blocks of contone art: about 150 per inch, a power of two of device pixels.
std::uint32_t BlockPixels(double dpi)
{
    const auto wanted = static_cast<std::uint32_t>(std::max(1.0, dpi / 150.0));
    return std::bit_floor(wanted);
}

// The reduced image: about 75 pixels per inch, a power of two so that blocks are whole bytes.
std::uint16_t ReducedScale(double dpi)
{
    const auto wanted = static_cast<std::uint32_t>(std::max(1.0, dpi / 75.0));
    return static_cast<std::uint16_t>(std::min<std::uint32_t>(std::bit_floor(wanted), 256));
}

Art::Inks AllInks(std::uint8_t value)
{
    Art::Inks inks;
    inks.fill(value);
    return inks;
}

Art::Inks Ink(int role, std::uint8_t value)
{
    Art::Inks inks{};
    inks[static_cast<std::size_t>(role)] = value;
    return inks;
}

Art::Frame SheetFrame(const Geometry& g)
{
    return Art::Frame{0, 0, static_cast<double>(g.width), static_cast<double>(g.height), 0};
}

// A rectangle given in device pixels, painted in the sheet frame.
void PaintPixels(Art& art, const Geometry& g, double left, double top, double width, double height,
                 const Art::Inks& inks, Art::Kind kind = Art::Kind::Flat, const Art::Inks& b = {})
{
    Art::Element e;
    e.u0 = left / g.width;
    e.v0 = top / g.height;
    e.u1 = (left + width) / g.width;
    e.v1 = (top + height) / g.height;
    e.kind = kind;
    e.a = inks;
    e.b = b;
    e.overprint = true;
    art.Paint(SheetFrame(g), e);
}

Art::Frame PageFrame(const KRN_SamplePage& page, const Geometry& g)
{
    return Art::Frame{page.left * g.dpi, page.top * g.dpi, page.width * g.dpi, page.height * g.dpi,
                      page.orientation};
}

// Upright page size: turned pages stand on the sheet with width and height exchanged.
void UprightSize(const KRN_SamplePage& page, double& width, double& height)
{
    const bool turned = page.orientation == 2 || page.orientation == 3;
    width = turned ? page.height : page.width;
    height = turned ? page.width : page.height;
}

// Seven-segment digits for the folio, so that a person can read the page number and its
// orientation from the screened picture.
void PaintFolio(Art& art, const Art::Frame& frame, std::uint16_t number, double u0, double v0,
                double digitWidth, double digitHeight)
{
    static const std::uint8_t segments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66,
                                              0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    const std::string text = std::to_string(number);
    const double t = digitHeight * 0.14;
    const double tu = t * digitHeight / digitWidth * 0.6;
    double u = u0 - (text.size() * digitWidth * 1.3) / 2;
    for (char ch : text)
    {
        const std::uint8_t s = segments[ch - '0'];
        const double half = v0 + digitHeight / 2;
        auto bar = [&](double a, double b, double c, double d)
        {
            Art::Element e;
            e.u0 = a;
            e.v0 = b;
            e.u1 = c;
            e.v1 = d;
            e.a = Ink(RoleBlack, 255);
            e.overprint = true;
            art.Paint(frame, e);
        };
        const double r = u + digitWidth;
        if (s & 0x01)
            bar(u, v0, r, v0 + t);
        if (s & 0x02)
            bar(r - tu, v0, r, half);
        if (s & 0x04)
            bar(r - tu, half, r, v0 + digitHeight);
        if (s & 0x08)
            bar(u, v0 + digitHeight - t, r, v0 + digitHeight);
        if (s & 0x10)
            bar(u, half, u + tu, v0 + digitHeight);
        if (s & 0x20)
            bar(u, v0, u + tu, half);
        if (s & 0x40)
            bar(u, half - t / 2, r, half + t / 2);
        u += digitWidth * 1.3;
    }
}

// Where the photograph of a page sits, in upright page coordinates.
constexpr double ImageU0 = 0.08, ImageV0 = 0.34, ImageU1 = 0.92, ImageV1 = 0.62;

void PaintPage(Art& art, const KRN_SamplePage& page, const KRN_SamplePlan& plan, const Geometry& g,
               std::uint32_t seed, bool revised)
{
    const Art::Frame frame = PageFrame(page, g);
    double width = 0, height = 0;
    UprightSize(page, width, height);
    const double bu = plan.bleed / width, bv = plan.bleed / height;

    // A header that bleeds off three sides: a cyan to magenta gradient.
    Art::Element header;
    header.u0 = -bu;
    header.v0 = -bv;
    header.u1 = 1 + bu;
    header.v1 = 0.28;
    header.kind = Art::Kind::GradientU;
    header.a = Art::Inks{230, 40, 0, 0, 0, 0, 0, 0};
    header.b = Art::Inks{60, 210, 40, 0, 0, 0, 0, 0};
    art.Paint(frame, header);
    // A headline in black over it, and a rule below.
    Art::Element headline;
    headline.u0 = 0.08;
    headline.v0 = 0.09;
    headline.u1 = 0.08 + 0.5 + 0.02 * (page.number % 7);
    headline.v1 = 0.16;
    headline.a = Ink(RoleBlack, 255);
    headline.overprint = true;
    art.Paint(frame, headline);
    Art::Element rule = headline;
    rule.u1 = 0.92;
    rule.v0 = 0.305;
    rule.v1 = 0.309;
    art.Paint(frame, rule);

    // The photograph: smooth noise in all four process inks.
    Art::Element photo;
    photo.u0 = ImageU0;
    photo.v0 = ImageV0;
    photo.u1 = ImageU1;
    photo.v1 = ImageV1;
    photo.kind = Art::Kind::Noise;
    photo.a = Art::Inks{120, 100, 120, 40, 0, 0, 0, 0};
    photo.b = Art::Inks{110, 100, 110, 40, 0, 0, 0, 0};
    photo.seed = seed * 7919u + page.number * 131u;
    art.Paint(frame, photo);
    if (revised)
    {
        // The correction that made the ink be rendered again: a stamp over the photograph.
        Art::Element stamp;
        stamp.u0 = 0.62;
        stamp.v0 = 0.38;
        stamp.u1 = 0.62 + 0.25 * height / width;
        stamp.v1 = 0.63;
        stamp.kind = Art::Kind::Ring;
        stamp.a = Ink(RoleMagenta, 255);
        stamp.b[0] = 25;
        stamp.overprint = true;
        art.Paint(frame, stamp);
    }

    // Type: two columns of words in black.
    std::uint32_t state = seed * 2654435761u + page.number * 40503u + 1;
    auto next = [&state]()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return (state & 0xFFFF) / 65535.0;
    };
    const double lineHeight = 0.011, lineStep = 0.022;
    for (int column = 0; column < 2; ++column)
    {
        const double left = column == 0 ? 0.08 : 0.52, right = column == 0 ? 0.48 : 0.92;
        for (double v = 0.66; v + lineHeight < 0.885; v += lineStep)
        {
            const bool lastOfParagraph = next() < 0.15;
            const double end =
                lastOfParagraph ? left + (right - left) * (0.3 + 0.5 * next()) : right;
            double u = left;
            while (u < end)
            {
                const double word = 0.02 + 0.05 * next();
                Art::Element e;
                e.u0 = u;
                e.v0 = v;
                e.u1 = std::min(u + word, end);
                e.v1 = v + lineHeight;
                e.a = Ink(RoleBlack, 255);
                e.overprint = true;
                art.Paint(frame, e);
                u += word + 0.012;
            }
        }
    }

    // A panel in the first spot ink, fading out.
    Art::Element panel;
    panel.u0 = 0.60;
    panel.v0 = 0.905;
    panel.u1 = 1 + bu;
    panel.v1 = 0.96;
    panel.kind = Art::Kind::GradientU;
    panel.a = Ink(RoleSpot1, 60);
    panel.b = Ink(RoleSpot1, 255);
    art.Paint(frame, panel);
    // The second spot ink, where there is one, as a tint box on the other side.
    Art::Element box = panel;
    box.u0 = -bu;
    box.u1 = 0.30;
    box.kind = Art::Kind::Flat;
    box.a = Ink(RoleSpot2, 160);
    art.Paint(frame, box);

    PaintFolio(art, frame, page.number, 0.5, 0.915, 0.035, 0.035 * width / height * 1.6);
}

void PaintMarks(Art& art, const KRN_SamplePlan& plan, const KRN_SampleSurface& surface,
                const Geometry& g)
{
    const double inset = plan.pressSheetInset * g.dpi;
    const double sheetW = g.width - 2 * inset, sheetH = g.height - 2 * inset;
    const double line = std::max(1.0, 0.008 * g.dpi);

    // Crop marks at the trim corners, outside the bleed, in every ink.
    const double gap = plan.bleed * g.dpi + 0.03 * g.dpi, length = 0.18 * g.dpi;
    for (const KRN_SamplePage& page : surface.pages)
    {
        const double l = page.left * g.dpi, t = page.top * g.dpi;
        const double r = l + page.width * g.dpi, b = t + page.height * g.dpi;
        for (double x : {l, r})
        {
            for (double y : {t, b})
            {
                const double dx = x == l ? -1 : 1, dy = y == t ? -1 : 1;
                PaintPixels(art, g, dx < 0 ? x - gap - length : x + gap, y - line / 2, length, line,
                            AllInks(255));
                PaintPixels(art, g, x - line / 2, dy < 0 ? y - gap - length : y + gap, line, length,
                            AllInks(255));
            }
        }
    }

    // Registration marks in the middle of each press-sheet margin.
    const double diameter = 0.3 * g.dpi, arm = 0.22 * g.dpi;
    const double m = std::min(0.45 * g.dpi, (plan.pressSheetInset + 0.3) * g.dpi);
    const double centres[4][2] = {{g.width / 2.0, inset + m / 2},
                                  {g.width / 2.0, g.height - inset - m / 2},
                                  {inset + m / 2, g.height / 2.0},
                                  {g.width - inset - m / 2, g.height / 2.0}};
    for (const auto& c : centres)
    {
        Art::Element ring;
        ring.u0 = (c[0] - diameter / 2) / g.width;
        ring.v0 = (c[1] - diameter / 2) / g.height;
        ring.u1 = (c[0] + diameter / 2) / g.width;
        ring.v1 = (c[1] + diameter / 2) / g.height;
        ring.kind = Art::Kind::Ring;
        ring.a = AllInks(255);
        ring.b[0] = 22;
        ring.overprint = true;
        art.Paint(SheetFrame(g), ring);
        PaintPixels(art, g, c[0] - arm, c[1] - line / 2, 2 * arm, line, AllInks(255));
        PaintPixels(art, g, c[0] - line / 2, c[1] - arm, line, 2 * arm, AllInks(255));
    }

    // The colour bar along the gripper edge: each ink at 100, 75, 50, 25 %, then overprints.
    std::vector<Art::Inks> patches;
    std::vector<int> roles;
    for (int index : surface.inks)
        roles.push_back(plan.inks[static_cast<std::size_t>(index)].role);
    for (int role : roles)
        for (int percent : {100, 75, 50, 25})
            patches.push_back(Ink(role, static_cast<std::uint8_t>(percent * 255 / 100)));
    patches.push_back(Art::Inks{255, 255, 0, 0, 0, 0, 0, 0});
    patches.push_back(Art::Inks{255, 0, 255, 0, 0, 0, 0, 0});
    patches.push_back(Art::Inks{0, 255, 255, 0, 0, 0, 0, 0});
    patches.push_back(Art::Inks{255, 255, 255, 0, 0, 0, 0, 0});
    const double patchW = 0.22 * g.dpi, patchH = 0.16 * g.dpi;
    const double y = g.height - inset - 0.05 * g.dpi - patchH;
    std::size_t i = 0;
    for (double x = inset + 0.8 * g.dpi; x + patchW < inset + sheetW - 0.8 * g.dpi; x += patchW)
    {
        // Leave the registration mark in the middle of the margin clear.
        if (std::abs(x + patchW / 2 - g.width / 2.0) < diameter)
            continue;
        PaintPixels(art, g, x, y, patchW, patchH, patches[i++ % patches.size()]);
    }
    (void)sheetH;
}

KRNDirectoryInfo InfoFor(const KRN_SamplePlan& plan, const KRN_SampleSurface& surface,
                         const KRN_SampleInk& ink, const std::string& printTime, const Geometry& g)
{
    KRN_JobInfo::Spec spec;
    spec.title = plan.title;
    spec.digVersion = "Quor KRN sample composer 1.0";
    spec.sourceMachine = "krn-sample";
    spec.printTime = printTime;
    spec.colorName = ink.name;
    spec.color = ink.code;
    spec.workStyle = plan.workStyle;
    spec.signature = surface.signature;
    spec.surface = surface.surface;
    spec.orientation = plan.orientation;
    spec.interfaceVersions = std::array<std::uint16_t, 2>{3, 1};

    const std::int32_t inset = g.Px(plan.pressSheetInset);
    spec.pressSheetTop = inset;
    spec.pressSheetLeft = inset;
    spec.pressSheetBottom = static_cast<std::int32_t>(g.height) - inset;
    spec.pressSheetRight = static_cast<std::int32_t>(g.width) - inset;
    spec.clipPaths = true;
    spec.cmyk = ink.cmykEquivalent;

    const std::int32_t bleed = g.Px(plan.bleed), maxBleed = g.Px(plan.maxBleed);
    for (const KRN_SamplePage& page : surface.pages)
    {
        KRNPageInfo p;
        p.pageNumber = page.number;
        p.orientation = page.orientation;
        p.posLeft = g.Px(page.left);
        p.posTop = g.Px(page.top);
        p.posRight = g.Px(page.left + page.width);
        p.posBottom = g.Px(page.top + page.height);
        p.bleedLeft = p.posLeft - bleed;
        p.bleedTop = p.posTop - bleed;
        p.bleedRight = p.posRight + bleed;
        p.bleedBottom = p.posBottom + bleed;
        p.maxBleedLeft = p.posLeft - maxBleed;
        p.maxBleedTop = p.posTop - maxBleed;
        p.maxBleedRight = p.posRight + maxBleed;
        p.maxBleedBottom = p.posBottom + maxBleed;
        // Source clip paths: the trim, and on odd pages an octagon about the photograph.
        p.clipPaths.push_back({{p.posLeft, p.posTop},
                               {p.posRight, p.posTop},
                               {p.posRight, p.posBottom},
                               {p.posLeft, p.posBottom}});
        if (page.number % 2 == 1)
        {
            const Art::Frame frame = PageFrame(page, g);
            const double cu = (ImageU0 + ImageU1) / 2, cv = (ImageV0 + ImageV1) / 2;
            const double ru = (ImageU1 - ImageU0) / 2, rv = (ImageV1 - ImageV0) / 2;
            std::vector<KRNPoint> octagon;
            for (int k = 0; k < 8; ++k)
            {
                const double a = (k + 0.5) * 3.14159265358979 / 4;
                const double u = cu + ru * std::cos(a) * 1.04, v = cv + rv * std::sin(a) * 1.04;
                // Page coordinates to sheet pixels by the page's orientation.
                double fx = u, fy = v;
                if (frame.orientation == 1)
                {
                    fx = 1 - u;
                    fy = 1 - v;
                }
                else if (frame.orientation == 2)
                {
                    fx = v;
                    fy = 1 - u;
                }
                else if (frame.orientation == 3)
                {
                    fx = 1 - v;
                    fy = u;
                }
                octagon.push_back(
                    {static_cast<std::int32_t>(std::lround(frame.left + fx * frame.width)),
                     static_cast<std::int32_t>(std::lround(frame.top + fy * frame.height))});
            }
            p.clipPaths.push_back(std::move(octagon));
        }
        spec.pages.push_back(std::move(p));
    }
    return KRN_JobInfo::Compose(spec);
}

std::string Sanitised(std::string text)
{
    for (char& c : text)
    {
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '-'))
            c = '_';
    }
    return text;
}

// Averages packed one-bit rows, fed top to bottom, into the reduced image: only one row of
// counts is held, so that the reduced image of a sheet of any size is made as its rows stream by.
class RowReducer
{
public:
    RowReducer(std::uint32_t width, std::uint32_t height, std::uint32_t scale)
        : m_Width(width), m_Height(height), m_Scale(std::max<std::uint32_t>(scale, 1)),
          m_OutWidth((width + m_Scale - 1) / m_Scale), m_Counts(m_OutWidth),
          m_Out(std::size_t{m_OutWidth} * ((height + m_Scale - 1) / m_Scale))
    {
    }

    void AddRow(std::uint32_t y, const std::uint8_t* row)
    {
        const std::size_t rowBytes = (std::size_t{m_Width} + 7) / 8;
        if (m_Scale % 8 == 0)
        {
            // Whole bytes per block; the padding bits of the last byte are clear.
            const std::uint32_t bytesPerBlock = m_Scale / 8;
            for (std::size_t b = 0; b < rowBytes; ++b)
                m_Counts[b / bytesPerBlock] += static_cast<std::uint32_t>(std::popcount(row[b]));
        }
        else
        {
            for (std::uint32_t x = 0; x < m_Width; ++x)
                m_Counts[x / m_Scale] += (row[x >> 3] >> (7 - (x & 7))) & 1u;
        }
        const std::uint32_t oy = y / m_Scale, y0 = oy * m_Scale;
        const std::uint32_t y1 = std::min(m_Height, y0 + m_Scale);
        if (y + 1 != y1)
            return;
        for (std::uint32_t ox = 0; ox < m_OutWidth; ++ox)
        {
            const std::uint32_t w = std::min(m_Width, (ox + 1) * m_Scale) - ox * m_Scale;
            const std::uint64_t area = std::uint64_t{w} * (y1 - y0);
            m_Out[std::size_t{oy} * m_OutWidth + ox] =
                static_cast<std::uint8_t>((std::uint64_t{m_Counts[ox]} * 255 + area / 2) / area);
        }
        std::fill(m_Counts.begin(), m_Counts.end(), 0);
    }

    std::vector<std::uint8_t> Take() { return std::move(m_Out); }

private:
    std::uint32_t m_Width, m_Height, m_Scale, m_OutWidth;
    std::vector<std::uint32_t> m_Counts;
    std::vector<std::uint8_t> m_Out;
};

// The contone coverage of one ink along a device row: one byte per block of 2^shift pixels.
struct BlockRows
{
    std::function<const std::uint8_t*(std::uint32_t y)> row;
    unsigned shift = 0;
};

BlockRows ArtRows(const Art& art, int role)
{
    return {[&art, role](std::uint32_t y) { return art.BlockRow(role, y); },
            static_cast<unsigned>(std::countr_zero(art.BlockPixels()))};
}

// The dense plate of an ink: a tone that drifts slowly between 45 and 55 % over the sheet, so that
// every tile is a mid-tone screen but no two inks nor two regions are the same flat tint. Held one
// block row at a time.
class DenseTone
{
public:
    DenseTone(const Geometry& g, int ink)
        : m_Shift(static_cast<unsigned>(std::countr_zero(BlockPixels(g.dpi)))),
          m_Across((g.width + (1u << m_Shift) - 1) >> m_Shift), m_Row(m_Across), m_Height(g.height),
          m_Ink(ink)
    {
        m_TermX.resize(m_Across);
        for (std::uint32_t bx = 0; bx < m_Across; ++bx)
        {
            const double u = (bx + 0.5) * (1u << m_Shift) / g.width;
            m_TermX[bx] = 0.5 * std::sin(2 * Pi * (1.5 * u + 0.37 * ink));
        }
    }

    const std::uint8_t* Row(std::uint32_t y)
    {
        const std::uint32_t by = y >> m_Shift;
        if (by != m_BlockRow)
        {
            m_BlockRow = by;
            const double v = (by + 0.5) * (1u << m_Shift) / m_Height;
            const double termY = 0.5 * std::sin(2 * Pi * (1.1 * v + 0.23 * m_Ink));
            // 127.5 +- 8: 119.5 to 135.5 of 255, 46.9 to 53.1 %, leaving room for the screen's
            // own granularity in a tile cut off at the sheet's edge.
            for (std::uint32_t bx = 0; bx < m_Across; ++bx)
                m_Row[bx] =
                    static_cast<std::uint8_t>(std::lround(127.5 + 8 * (m_TermX[bx] + termY)));
        }
        return m_Row.data();
    }

    unsigned Shift() const { return m_Shift; }

private:
    static constexpr double Pi = 3.14159265358979323846;
    unsigned m_Shift;
    std::uint32_t m_Across;
    std::vector<std::uint8_t> m_Row;
    std::vector<double> m_TermX;
    std::uint32_t m_Height;
    int m_Ink;
    std::uint32_t m_BlockRow = UINT32_MAX;
};

// Screens one ink row by row as the writer asks for its bands, and measures the reduced image from
// the same rows: neither the bitmap nor the file is ever held whole.
void WriteFile(const std::string& path, const BlockRows& blocks, const KRN_SampleInk& ink,
               const KRNDirectoryInfo& info, const Geometry& g, TIFX_KRNWriterOptions options = {})
{
    const double lpi = std::min(150.0, g.dpi / 8);
    const KRN_Halftone screen(ink.screenAngle, g.dpi / lpi);
    options.reducedScale = ReducedScale(g.dpi);
    if (ink.inkNames)
        options.inkNames = ink.name;
    options.resolution = static_cast<float>(g.dpi);
    RowReducer reducer(g.width, g.height, options.reducedScale);
    const std::size_t rowBytes = (std::size_t{g.width} + 7) / 8;
    TIFX_KRNWriter writer(options);
    writer.SetMainRows(g.width, g.height,
                       [&](std::uint32_t y0, std::uint32_t rows, std::uint8_t* band)
                       {
                           for (std::uint32_t r = 0; r < rows; ++r)
                           {
                               const std::uint32_t y = y0 + r;
                               const std::uint8_t* row = blocks.row(y);
                               const unsigned shift = blocks.shift;
                               std::uint8_t* bits = band + rowBytes * r;
                               screen.ScreenRow(
                                   y, g.width,
                                   [row, shift](std::uint32_t x) { return row[x >> shift]; }, bits);
                               reducer.AddRow(y, bits);
                           }
                       });
    if (options.writeReducedImage)
        writer.SetReducedImage([&reducer] { return reducer.Take(); });
    writer.SetDirectoryInfo(info);
    writer.Write(path);
}

// Writes one ink of a surface, from its art or, on a dense plate, from its drifting tone.
void WriteInk(const std::string& path, const Art* art, const KRN_SamplePlan& plan,
              const KRN_SampleInk& ink, const KRNDirectoryInfo& info, const Geometry& g)
{
    if (plan.content == KRN_SampleContent::Dense)
    {
        DenseTone tone(g, ink.role);
        WriteFile(path, {[&tone](std::uint32_t y) { return tone.Row(y); }, tone.Shift()}, ink, info,
                  g);
    }
    else
    {
        WriteFile(path, ArtRows(*art, ink.role), ink, info, g);
    }
}

std::unique_ptr<Art> Compose(const KRN_SamplePlan& plan, const KRN_SampleSurface& surface,
                             const Geometry& g, std::uint32_t seed, bool revised)
{
    auto art = std::make_unique<Art>(g.width, g.height, BlockPixels(g.dpi), RoleCount);
    for (const KRN_SamplePage& page : surface.pages)
        PaintPage(*art, page, plan, g, seed, revised);
    PaintMarks(*art, plan, surface, g);
    return art;
}
} // namespace

std::string KRN_SampleJob::FileName(const KRN_SamplePlan& plan, const KRN_SampleSurface& surface,
                                    const KRN_SampleInk& ink, const std::string& suffix)
{
    return Sanitised(plan.title) + "_S" + std::to_string(surface.signature) + "_" +
           std::to_string(surface.surface) + "_" + Sanitised(ink.name) + suffix + ".tif";
}

std::vector<std::uint8_t> KRN_SampleJob::Reduce(const std::vector<std::uint8_t>& bits,
                                                std::uint32_t width, std::uint32_t height,
                                                std::uint32_t scale)
{
    RowReducer reducer(width, height, scale);
    const std::size_t rowBytes = (std::size_t{width} + 7) / 8;
    for (std::uint32_t y = 0; y < height; ++y)
        reducer.AddRow(y, bits.data() + rowBytes * y);
    return reducer.Take();
}

std::vector<std::string> KRN_SampleJob::Write(const KRN_SamplePlan& plan, const std::string& folder,
                                              std::uint32_t seed, const Progress& progress)
{
    std::filesystem::create_directories(folder);
    const Geometry g = GeometryOf(plan);
    if (g.width == 0 || g.height == 0)
        throw std::runtime_error("the job has no size");
    std::size_t total = plan.rerenders.size();
    for (const KRN_SampleSurface& s : plan.surfaces)
        total += s.inks.size();

    std::vector<std::string> written;
    for (std::size_t si = 0; si < plan.surfaces.size(); ++si)
    {
        const KRN_SampleSurface& surface = plan.surfaces[si];
        // A dense plate needs no art: its tone is made row by row as the ink is screened.
        const bool dense = plan.content == KRN_SampleContent::Dense;
        std::unique_ptr<Art> art =
            dense ? nullptr
                  : Compose(plan, surface, g, seed + static_cast<std::uint32_t>(si), false);
        for (int index : surface.inks)
        {
            const KRN_SampleInk& ink = plan.inks[static_cast<std::size_t>(index)];
            const std::string path =
                (std::filesystem::path(folder) / FileName(plan, surface, ink)).string();
            if (progress)
                progress(written.size(), total, path);
            WriteInk(path, art.get(), plan, ink, InfoFor(plan, surface, ink, surface.printTime, g),
                     g);
            written.push_back(path);
        }
        for (const KRN_SampleRerender& again : plan.rerenders)
        {
            if (again.surface != si)
                continue;
            std::unique_ptr<Art> revised =
                dense ? nullptr
                      : Compose(plan, surface, g, seed + static_cast<std::uint32_t>(si), true);
            const KRN_SampleInk& ink = plan.inks[static_cast<std::size_t>(again.ink)];
            const std::string path =
                (std::filesystem::path(folder) / FileName(plan, surface, ink, "_r2")).string();
            if (progress)
                progress(written.size(), total, path);
            WriteInk(path, revised.get(), plan, ink,
                     InfoFor(plan, surface, ink, again.printTime, g), g);
            written.push_back(path);
        }
    }
    if (progress)
        progress(written.size(), total, "");
    return written;
}

std::vector<std::string> KRN_SampleJob::WriteInvalid(const std::string& folder, std::uint32_t seed,
                                                     const Progress& progress)
{
    std::filesystem::create_directories(folder);
    const std::filesystem::path dir(folder);
    const std::size_t total = 6;
    std::vector<std::string> written;
    auto step = [&](const std::string& path)
    {
        if (progress)
            progress(written.size(), total, path);
        written.push_back(path);
    };

    // A small real job to take the preview files from.
    KRN_SamplePlan plan;
    plan.title = "Invalid Files";
    plan.workStyle = 0;
    plan.dpi = 300;
    plan.inks = {{"Black", 4, RoleBlack, 45, std::nullopt}};
    KRN_SampleSurface surface;
    surface.inks = {0};
    surface.printTime = "2026:12:08 09:30:00";
    surface.pages = {{1, 0, 0.5, 0.5, 3.0, 4.0}};
    plan.surfaces.push_back(surface);
    plan.imageWidth = 4.0;
    plan.imageHeight = 5.0;
    const Geometry g = GeometryOf(plan);
    std::unique_ptr<Art> art = Compose(plan, surface, g, seed, false);
    const KRN_SampleInk& ink = plan.inks[0];
    const KRNDirectoryInfo info = InfoFor(plan, surface, ink, surface.printTime, g);

    const std::string valid = (dir / "Valid_Reference.tif").string();
    step(valid);
    WriteFile(valid, ArtRows(*art, ink.role), ink, info, g);

    const std::string noQuor = (dir / "No_Private_Directory.tif").string();
    step(noQuor);
    TIFX_KRNWriterOptions options;
    options.writeQuorIFD = false;
    WriteFile(noQuor, ArtRows(*art, ink.role), ink, info, g, options);

    const std::string smallTiles = (dir / "Tiles_256.tif").string();
    step(smallTiles);
    options = {};
    options.tileSize = 256;
    WriteFile(smallTiles, ArtRows(*art, ink.role), ink, info, g, options);

    const std::string truncated = (dir / "Truncated.tif").string();
    step(truncated);
    WriteFile(truncated, ArtRows(*art, ink.role), ink, info, g);
    std::filesystem::resize_file(truncated, std::filesystem::file_size(truncated) * 2 / 5);

    const std::string text = (dir / "Read_Me.TIF").string();
    step(text);
    {
        std::ofstream out(text, std::ios::binary);
        out << "This is a text file with a preview file's name. It is not a TIFF file.\n";
    }

    // A plain grey TIFF in strips, with no job information at all.
    const std::string plain = (dir / "Plain_Grey.tif").string();
    step(plain);
    TIFF* tif = TIFFOpen(plain.c_str(), "w");
    if (tif == nullptr)
        throw std::runtime_error("cannot create " + plain);
    const std::uint32_t w = 256, h = 128;
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, w);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, h);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, h);
    std::vector<std::uint8_t> row(w);
    bool ok = true;
    for (std::uint32_t y = 0; y < h && ok; ++y)
    {
        for (std::uint32_t x = 0; x < w; ++x)
            row[x] = static_cast<std::uint8_t>((x + y) & 0xFF);
        ok = TIFFWriteScanline(tif, row.data(), y, 0) >= 0;
    }
    TIFFClose(tif);
    if (!ok)
        throw std::runtime_error("cannot write " + plain);
    if (progress)
        progress(written.size(), total, "");
    return written;
}
