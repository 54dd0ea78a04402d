// The private lines of libtiff's directory report. Each line appears only when the fields it shows
// are present in the current directory; the formats are fixed because people compare reports. The
// lines, their order and their labels come from the private tag table.

#include "TIFX/TIFX_HandleState.h"
#include "TIFX/TIFX_Tags.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{
using Section = TIFX_TagPrint::Section;
using Format = TIFX_TagPrint::Format;

// The rows of one report line, in slot order.
struct PrintLine
{
    Section section;
    Format format;
    const char* label;
    std::vector<const TIFX_TagInfo*> rows;
};

// The report's lines in order, gathered once from the table.
const std::vector<PrintLine>& Lines()
{
    static const std::vector<PrintLine> lines = []
    {
        std::vector<const TIFX_TagInfo*> rows;
        for (const TIFX_TagInfo& row : TIFX_PrivateTags())
            if (row.print.section != Section::Hidden)
                rows.push_back(&row);
        std::stable_sort(rows.begin(), rows.end(),
                         [](const TIFX_TagInfo* a, const TIFX_TagInfo* b)
                         {
                             const TIFX_TagPrint& p = a->print;
                             const TIFX_TagPrint& q = b->print;
                             if (p.section != q.section)
                                 return p.section < q.section;
                             if (p.line != q.line)
                                 return p.line < q.line;
                             return p.slot < q.slot;
                         });
        std::vector<PrintLine> result;
        for (const TIFX_TagInfo* row : rows)
        {
            const TIFX_TagPrint& p = row->print;
            if (result.empty() || result.back().section != p.section ||
                result.back().rows.front()->print.line != p.line)
                result.push_back({p.section, p.format, p.label, {}});
            result.back().rows.push_back(row);
        }
        return result;
    }();
    return lines;
}

bool AllPresent(const KRNDirectoryInfo& info, const PrintLine& line)
{
    return std::all_of(line.rows.begin(), line.rows.end(),
                       [&](const TIFX_TagInfo* row) { return info.IsFieldSet(row->fieldBit); });
}

// Value `slot` of a line as the report's integers show it (page `page` for per-page rows).
int I(const KRNDirectoryInfo& info, const PrintLine& line, size_t slot, size_t page = 0)
{
    return static_cast<int>(line.rows[slot]->value.Integer(info, page));
}

unsigned U(const KRNDirectoryInfo& info, const PrintLine& line, size_t slot, size_t page = 0)
{
    return static_cast<unsigned>(line.rows[slot]->value.Integer(info, page));
}

double R(const KRNDirectoryInfo& info, const PrintLine& line, size_t slot, size_t page = 0)
{
    return line.rows[slot]->value.Real(info, page);
}

void PrintClipPaths(const KRNPageInfo& page, FILE* out)
{
    std::fprintf(out, "  Number of Source Clip Paths: %i\n",
                 static_cast<int>(page.clipPaths.size()));
    int pathNumber = 1;
    for (const std::vector<KRNPoint>& path : page.clipPaths)
    {
        std::fprintf(out, "    Source Clip Path #%i\n", pathNumber++);
        for (const KRNPoint& point : path)
            std::fprintf(out, "    +  ( %5i, %5i )\n", point.x, point.y);
    }
}

void PrintPages(const KRNDirectoryInfo& info, FILE* out)
{
    for (size_t index = 0; index < info.pages.size(); ++index)
    {
        std::fprintf(out, "  Index: %d", static_cast<int>(index));
        for (const PrintLine& line : Lines())
        {
            if (line.section != Section::Page || !AllPresent(info, line))
                continue;
            if (line.format == Format::Inline)
                std::fprintf(out, ", %s: %d", line.label, I(info, line, 0, index));
            else if (line.format == Format::InlineOrientation)
                std::fprintf(out, ", %s: %s (%d)", line.label,
                             TIFX_OrientationName(static_cast<unsigned>(I(info, line, 0, index))),
                             I(info, line, 0, index));
        }
        std::fprintf(out, "\n");
        for (const PrintLine& line : Lines())
        {
            if (line.section != Section::Page || !AllPresent(info, line))
                continue;
            switch (line.format)
            {
            case Format::Inline:
            case Format::InlineOrientation:
                break;
            case Format::Rect:
                std::fprintf(out, "    %s: (%u,%u)-(%u,%u)\n", line.label, U(info, line, 0, index),
                             U(info, line, 1, index), U(info, line, 2, index),
                             U(info, line, 3, index));
                break;
            case Format::Bottling:
                std::fprintf(out, "    %s: %6.2f degrees about (%u,%u)\n", line.label,
                             R(info, line, 0, index), U(info, line, 1, index),
                             U(info, line, 2, index));
                break;
            case Format::ClipPaths:
                PrintClipPaths(info.pages[index], out);
                break;
            default:
                std::fprintf(out, "    %s: %d\n", line.label, I(info, line, 0, index));
                break;
            }
        }
    }
}

void PrintLineOf(const KRNDirectoryInfo& info, const PrintLine& line, FILE* out)
{
    const char* label = line.label;
    switch (line.format)
    {
    case Format::Text:
        std::fprintf(out, "  %s: %s\n", label, line.rows[0]->value.Text(info).c_str());
        break;
    case Format::ColorText:
        std::fprintf(out, "  %s: %s (%s (%d))\n", label, line.rows[0]->value.Text(info).c_str(),
                     TIFX_ColorName(info.color), info.color);
        break;
    case Format::Seconds:
        std::fprintf(out, "  %s: %g (seconds)\n", label, R(info, line, 0));
        break;
    case Format::Ratio:
        std::fprintf(out, "  %s: %g:1\n", label, R(info, line, 0));
        break;
    case Format::Scale:
        std::fprintf(out, "  %s: 1:%d\n", label, I(info, line, 0));
        break;
    case Format::Orientation:
        std::fprintf(out, "  %s: %s\n", label,
                     TIFX_OrientationName(static_cast<unsigned>(I(info, line, 0))));
        break;
    case Format::WorkStyle:
        std::fprintf(out, "  %s: %s (%d)\n", label,
                     TIFX_WorkStyleName(static_cast<unsigned>(I(info, line, 0))), I(info, line, 0));
        break;
    case Format::Range:
        std::fprintf(out, "  %s: (%d-%d)\n", label, I(info, line, 0), I(info, line, 1));
        break;
    case Format::Size:
        std::fprintf(out, "  %s: %d x %d\n", label, I(info, line, 0), I(info, line, 1));
        break;
    case Format::Point:
        std::fprintf(out, "  %s: (%d, %d)\n", label, I(info, line, 0), I(info, line, 1));
        break;
    case Format::Rect:
        std::fprintf(out, "  %s: (%u,%u)-(%u,%u)\n", label, U(info, line, 0), U(info, line, 1),
                     U(info, line, 2), U(info, line, 3));
        break;
    case Format::Cmyk:
    {
        const auto v = [&](size_t i) { return I(info, line, 0, i); };
        std::fprintf(out, "  %s: ", label);
        std::fprintf(out, "[0x%04X,0x%04X,0x%04X,0x%04X]", v(0), v(1), v(2), v(3));
        std::fprintf(out, " (%.1f,%.1f,%.1f,%.1f) %%\n", v(0) * 100.0 / 65535, v(1) * 100.0 / 65535,
                     v(2) * 100.0 / 65535, v(3) * 100.0 / 65535);
        break;
    }
    case Format::PageCount:
        std::fprintf(out, "  %s: %d\n", label, I(info, line, 0));
        PrintPages(info, out);
        break;
    default:
        std::fprintf(out, "  %s: %d\n", label, I(info, line, 0));
        break;
    }
}
} // namespace

void TIFX_PrintPrivateDirectory(TIFF* tif, FILE* out, long flags)
{
    TIFX_HandleState* state = TIFX_StateOf(tif);
    if (!state)
        return;
    if (state->parentPrint)
        state->parentPrint(tif, out, flags);
    if (!state->privateFieldsHandled)
        return;

    const KRNDirectoryInfo& info = state->info;
    bool headerDone = false;
    for (const PrintLine& line : Lines())
    {
        if (line.section == Section::Page)
            continue;
        if (line.section == Section::Directory && !headerDone)
        {
            std::fprintf(out, "--- Quor Private IFD ---\n");
            headerDone = true;
        }
        if (AllPresent(info, line))
            PrintLineOf(info, line, out);
    }
    if (!headerDone)
        std::fprintf(out, "--- Quor Private IFD ---\n");
}
