// Every row of the private tag table, walked generically: a tag that is only added to the table is
// registered with libtiff, written both ways (embedded directory and the directory itself), read
// back and shown in the directory report. Values come from the row's position in the table, so
// two rows that share a member or a line of the report collide visibly.

#include "TIFX/TIFX_KRNFile.h"
#include "TIFX/TIFX_KRNWriter.h"
#include "TIFX/TIFX_Tags.h"
#include "TIFX_TestFiles.h"

#include <tiffio.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace
{
using Kind = TIFX_TagValue::Kind;
using Format = TIFX_TagPrint::Format;
constexpr size_t kPages = 3;

bool IsKept(const TIFX_TagInfo& row)
{
    const Kind kind = row.value.GetKind();
    return kind != Kind::None && kind != Kind::EmbeddedDirectory && kind != Kind::Reserved;
}

// The test's value of row k on page p: distinct four-digit numbers for every row and page.
int64_t IntegerOf(size_t k, size_t p)
{
    return 1000 + 40 * static_cast<int64_t>(k) + static_cast<int64_t>(p);
}

float RealOf(size_t k, size_t p)
{
    return static_cast<float>(k) + 0.25f + 0.5f * static_cast<float>(p);
}

std::string TextOf(const TIFX_TagInfo& row)
{
    return "text of tag " + std::to_string(row.tag);
}

std::vector<std::vector<KRNPoint>> ClipPathsOf(size_t k, size_t p)
{
    const auto v = static_cast<int32_t>(IntegerOf(k, p));
    return {{{v, v + 1}, {v + 2, v + 3}, {v + 4, v + 5}}};
}

size_t IndexOf(const TIFX_TagInfo& row)
{
    return static_cast<size_t>(&row - TIFX_PrivateTags().data());
}

const TIFX_TagInfo& PageCountRow()
{
    for (const TIFX_TagInfo& row : TIFX_PrivateTags())
        if (row.value.GetKind() == Kind::PageCount)
            return row;
    throw std::logic_error("the table has no page count");
}

// Stores the test's value of `row` in `info` and marks it present.
void Fill(KRNDirectoryInfo& info, const TIFX_TagInfo& row)
{
    const size_t k = IndexOf(row);
    const TIFX_TagValue& value = row.value;
    switch (value.GetKind())
    {
    case Kind::Text:
        value.Text(info) = TextOf(row);
        break;
    case Kind::Long:
    case Kind::Short:
    case Kind::Float:
        value.Store(info, 0, IntegerOf(k, 0), RealOf(k, 0));
        break;
    case Kind::PageCount:
        value.Store(info, 0, kPages, 0.0f);
        info.pages.resize(kPages);
        break;
    case Kind::PageLong:
    case Kind::PageShort:
    case Kind::PageFloat:
        for (size_t p = 0; p < kPages; ++p)
            value.Store(info, p, IntegerOf(k, p), RealOf(k, p));
        break;
    case Kind::ClipPaths:
        for (size_t p = 0; p < kPages; ++p)
            info.pages[p].clipPaths = ClipPathsOf(k, p);
        break;
    case Kind::Cmyk:
        for (size_t i = 0; i < 4; ++i)
            value.Store(info, i, IntegerOf(k, i), 0.0f);
        break;
    default:
        break;
    }
    info.SetField(row.fieldBit);
}

// Checks that `read` holds the test's value of `row`, as read from directory 0 (scale 1).
void ExpectRow(const KRNDirectoryInfo& read, const TIFX_TagInfo& row)
{
    SCOPED_TRACE(row.name);
    const size_t k = IndexOf(row);
    const TIFX_TagValue& value = row.value;
    EXPECT_TRUE(read.IsFieldSet(row.fieldBit));
    switch (value.GetKind())
    {
    case Kind::Text:
        EXPECT_EQ(value.Text(read), TextOf(row));
        break;
    case Kind::Long:
    case Kind::Short:
        // "Scale" is the directory's own, whatever the job information says.
        EXPECT_EQ(value.Integer(read), row.fieldBit == TIFX_Field::Scale ? 1 : IntegerOf(k, 0));
        break;
    case Kind::Float:
        EXPECT_EQ(value.Real(read), RealOf(k, 0));
        break;
    case Kind::PageCount:
        EXPECT_EQ(value.Integer(read), static_cast<int64_t>(kPages));
        EXPECT_EQ(read.pages.size(), kPages);
        break;
    case Kind::PageLong:
    case Kind::PageShort:
        ASSERT_EQ(read.pages.size(), kPages);
        for (size_t p = 0; p < kPages; ++p)
            EXPECT_EQ(value.Integer(read, p), IntegerOf(k, p)) << "page " << p;
        break;
    case Kind::PageFloat:
        ASSERT_EQ(read.pages.size(), kPages);
        for (size_t p = 0; p < kPages; ++p)
            EXPECT_EQ(value.Real(read, p), RealOf(k, p)) << "page " << p;
        break;
    case Kind::ClipPaths:
        ASSERT_EQ(read.pages.size(), kPages);
        for (size_t p = 0; p < kPages; ++p)
            EXPECT_EQ(read.pages[p].clipPaths, ClipPathsOf(k, p)) << "page " << p;
        break;
    case Kind::Cmyk:
        for (size_t i = 0; i < 4; ++i)
            EXPECT_EQ(read.cmykEquivalent[i], IntegerOf(k, i)) << "component " << i;
        break;
    default:
        break;
    }
}

std::vector<std::string> LinesWithLabel(const std::string& report, const std::string& label)
{
    std::vector<std::string> lines;
    std::istringstream in(report);
    for (std::string line; std::getline(in, line);)
        if (line.find("  " + label + ": ") != std::string::npos ||
            line.find(", " + label + ": ") != std::string::npos)
            lines.push_back(line);
    return lines;
}

std::string Printf(const char* format, double v)
{
    char text[64];
    std::snprintf(text, sizeof text, format, v);
    return text;
}

// What of the test's value of `row` the report shows for page (or component) p.
std::string ShownValue(const TIFX_TagInfo& row, size_t p)
{
    const size_t k = IndexOf(row);
    const int64_t integer = IntegerOf(k, p);
    switch (row.print.format)
    {
    case Format::Text:
    case Format::ColorText:
        return TextOf(row);
    case Format::Seconds:
    case Format::Ratio:
        return Printf("%g", RealOf(k, p));
    case Format::Bottling:
        return row.value.GetKind() == Kind::PageFloat ? Printf("%.2f", RealOf(k, p))
                                                      : std::to_string(integer);
    case Format::Scale:
        return "1:1";
    case Format::PageCount:
        return std::to_string(kPages);
    case Format::Orientation:
        return TIFX_OrientationName(static_cast<unsigned>(integer));
    case Format::Cmyk:
    {
        char text[16];
        std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(integer));
        return text;
    }
    default:
        return std::to_string(integer);
    }
}

bool ContainsInAny(const std::vector<std::string>& lines, const std::string& text)
{
    for (const std::string& line : lines)
        if (line.find(text) != std::string::npos)
            return true;
    return false;
}

class TIFX_TagTable : public TIFX_ScratchTest
{
protected:
    struct Way
    {
        const char* name;
        TIFX_KRNWriterOptions::ByteOrder order;
        bool inQuorIFD;
    };
    static constexpr Way kWays[] = {
        {"embedded, little-endian", TIFX_KRNWriterOptions::ByteOrder::LittleEndian, true},
        {"embedded, big-endian", TIFX_KRNWriterOptions::ByteOrder::BigEndian, true},
        {"directory, little-endian", TIFX_KRNWriterOptions::ByteOrder::LittleEndian, false},
        {"directory, big-endian", TIFX_KRNWriterOptions::ByteOrder::BigEndian, false},
    };

    std::string Write(const KRNDirectoryInfo& info, const Way& way)
    {
        TIFX_KRNWriterOptions options;
        options.byteOrder = way.order;
        options.tagsInQuorIFD = way.inQuorIFD;
        options.compression = TIFX_KRNWriterOptions::Compression::None;
        return TIFX_WritePattern(PathOf("table.tif"), info, options, 32, 32);
    }

    static KRNDirectoryInfo EveryRow()
    {
        KRNDirectoryInfo info;
        Fill(info, PageCountRow());
        for (const TIFX_TagInfo& row : TIFX_PrivateTags())
            if (IsKept(row))
                Fill(info, row);
        return info;
    }
};

TEST_F(TIFX_TagTable, EveryRowIsRegisteredWithItsTypeAndName)
{
    const std::string path = Write(EveryRow(), kWays[0]);
    TIFX_KRNFile file(path); // installs the tag extender
    file.Open();
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    ASSERT_NE(tif, nullptr);
    for (const TIFX_TagInfo& row : TIFX_PrivateTags())
    {
        const TIFFField* field = TIFFFindField(tif, row.tag, TIFF_ANY);
        ASSERT_NE(field, nullptr) << row.name;
        EXPECT_EQ(TIFFFieldDataType(field), row.type) << row.name;
        EXPECT_STREQ(TIFFFieldName(field), row.name);
        EXPECT_EQ(TIFFFieldPassCount(field) != 0, row.count != 1 && row.type != TIFF_ASCII)
            << row.name;
    }
    TIFFClose(tif);
}

TEST_F(TIFX_TagTable, EveryRowTogetherSurvivesBothWaysAndBothByteOrders)
{
    const KRNDirectoryInfo info = EveryRow();
    for (const Way& way : kWays)
    {
        SCOPED_TRACE(way.name);
        TIFX_KRNFile file(Write(info, way));
        file.Open();
        const KRNDirectoryInfo& read = file.GetDirectoryInfo();
        EXPECT_EQ(read, TIFX_WithScale(info, 1));
        for (const TIFX_TagInfo& row : TIFX_PrivateTags())
            if (IsKept(row))
                ExpectRow(read, row);
    }
}

TEST_F(TIFX_TagTable, EveryRowAloneIsWrittenAndReadWithoutTheOthers)
{
    const TIFX_TagInfo& pageCount = PageCountRow();
    for (const TIFX_TagInfo& row : TIFX_PrivateTags())
    {
        if (!IsKept(row))
            continue;
        SCOPED_TRACE(row.name);
        KRNDirectoryInfo info;
        // Per-page values need the page records that the count makes.
        if (row.value.IsPerPage())
            Fill(info, pageCount);
        Fill(info, row);
        KRNDirectoryInfo expectedBits;
        expectedBits.fieldsSet = info.fieldsSet;
        expectedBits.SetField(TIFX_Field::Scale);
        for (const Way& way : {kWays[1], kWays[2]})
        {
            SCOPED_TRACE(way.name);
            TIFX_KRNFile file(Write(info, way));
            file.Open();
            const KRNDirectoryInfo& read = file.GetDirectoryInfo();
            EXPECT_EQ(read.fieldsSet, expectedBits.fieldsSet);
            ExpectRow(read, row);
        }
    }
}

TEST_F(TIFX_TagTable, EveryShownRowAppearsInTheReportWithItsValue)
{
    TIFX_KRNFile file(Write(EveryRow(), kWays[0]));
    file.Open();
    const std::string report = TIFX_Report(file);
    for (const TIFX_TagInfo& row : TIFX_PrivateTags())
    {
        if (row.print.section == TIFX_TagPrint::Section::Hidden)
            continue;
        SCOPED_TRACE(row.name);
        const size_t k = IndexOf(row);
        if (row.print.format == Format::ClipPaths)
        {
            for (size_t p = 0; p < kPages; ++p)
            {
                const std::vector<std::vector<KRNPoint>> paths = ClipPathsOf(k, p);
                for (const KRNPoint& point : paths[0])
                {
                    char line[64];
                    std::snprintf(line, sizeof line, "    +  ( %5i, %5i )\n", point.x, point.y);
                    EXPECT_NE(report.find(line), std::string::npos) << line;
                }
            }
            EXPECT_NE(report.find("  Number of Source Clip Paths: 1\n"), std::string::npos);
            continue;
        }
        const std::vector<std::string> lines = LinesWithLabel(report, row.print.label);
        ASSERT_FALSE(lines.empty()) << row.print.label << "\n" << report;
        const size_t shown = row.value.IsPerPage()               ? kPages
                             : row.value.GetKind() == Kind::Cmyk ? 4
                                                                 : 1;
        for (size_t p = 0; p < shown; ++p)
            EXPECT_TRUE(ContainsInAny(lines, ShownValue(row, p)))
                << ShownValue(row, p) << " not on a line of " << row.print.label << "\n"
                << report;
    }
}
} // namespace
