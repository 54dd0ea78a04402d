// The ink-presetting file's syntax, checked by a real PostScript interpreter: every file these
// tests write is read back with Ghostscript (KRN_Ghostscript.h), and what it sees must be what
// the writer was given, byte for byte (names of any bytes, samples in both encodings).

#include "KRN_Ghostscript.h"
#include "KRN_TestFolder.h"

#include "IMPN/IMPN_PpfWriter.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

namespace
{
using Writer = IMPN_PpfWriter;

struct Written
{
    std::string bytes;
    bool ok = true;
};

// A sheet of two surfaces written into memory: the front with the given inks, the back with one.
Written WriteSheet(Writer::Encoding encoding, const std::vector<std::string>& frontInks,
                   const std::vector<std::vector<std::uint8_t>>& frontSamples, std::uint32_t width,
                   std::uint32_t height,
                   const std::vector<std::optional<std::array<double, 3>>>& colors = {},
                   const std::string& jobName = "Job")
{
    Written out;
    Writer writer(
        [&out](const char* b, std::size_t n)
        {
            out.bytes.append(b, n);
            return true;
        },
        encoding);
    Writer::SheetInfo sheet;
    sheet.jobName = jobName;
    sheet.sheetName = "Signature 1 Web 2";
    sheet.software = "Quor KRN 9.9";
    sheet.creationTime = "Tue Dec 08 16:52:07 2026";
    sheet.widthPoints = 2880;
    sheet.heightPoints = 2159.9996;
    Writer::SurfaceInfo front;
    front.inkNames = frontInks;
    front.inkColors = colors;
    Writer::SurfaceInfo back;
    back.back = true;
    back.inkNames = {"Black"};
    const std::vector<std::uint8_t> backSamples(std::size_t(width) * height, 200);
    out.ok = writer.BeginSheet(sheet) && writer.BeginSurface(front);
    for (const auto& samples : frontSamples)
    {
        Writer::Preview p{width, height, "50.8", "50.8", samples.data()};
        out.ok = out.ok && writer.AddSeparation(p);
    }
    Writer::Preview p{width, height, "50.8", "50.8", backSamples.data()};
    out.ok = out.ok && writer.EndSurface() && writer.BeginSurface(back) &&
             writer.AddSeparation(p) && writer.EndSurface() && writer.EndSheet();
    return out;
}

std::vector<std::uint8_t> RandomSamples(std::size_t n, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<std::uint8_t> s(n);
    for (auto& v : s)
        v = std::uint8_t(random());
    return s;
}

class PpfWriterFile : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!KRN_GhostscriptAvailable())
            GTEST_SKIP() << "Ghostscript (gs, Debian package ghostscript) is not installed: the "
                            "files cannot be checked by a PostScript interpreter";
    }

    KRN_PpfFile Read(const std::string& bytes)
    {
        const std::string path = m_Folder.WriteBytes("sheet.ppf", bytes);
        KRN_PpfFile file = KRN_ReadPpfWithGhostscript(path);
        EXPECT_TRUE(file.parsed) << file.output.substr(0, 2000);
        return file;
    }

    KRN_TestFolder m_Folder{"impn-ppf"};
};

class PpfWriterEncodings : public PpfWriterFile,
                           public testing::WithParamInterface<Writer::Encoding>
{
};

TEST_P(PpfWriterEncodings, APostScriptReaderFindsEveryEntryAndEverySampleAsWritten)
{
    // Samples of every byte value, the ones PostScript syntax cares about included; a width
    // that ends the hexadecimal lines inside a row.
    const std::uint32_t w = 37, h = 11;
    std::vector<std::uint8_t> every(std::size_t(w) * h);
    for (std::size_t i = 0; i < every.size(); ++i)
        every[i] = std::uint8_t(i);
    const auto random = RandomSamples(every.size(), 5);
    const Written written =
        WriteSheet(GetParam(), {"Cyan", "PANTONE 185 C"}, {every, random}, w, h);
    ASSERT_TRUE(written.ok);
    EXPECT_EQ(written.bytes.rfind("%!PS-Adobe-3.0\n%%CIP3-File Version 3.0\nCIP3BeginSheet\n", 0),
              0u);
    EXPECT_EQ(written.bytes.substr(written.bytes.size() - 29), "CIP3EndSheet\n%%CIP3EndOfFile\n");

    const KRN_PpfFile file = Read(written.bytes);
    EXPECT_EQ(file.jobName, "Job");
    EXPECT_EQ(file.sheetName, "Signature 1 Web 2");
    EXPECT_EQ(file.software, "Quor KRN 9.9");
    EXPECT_EQ(file.creationTime, "Tue Dec 08 16:52:07 2026");
    ASSERT_EQ(file.extent.size(), 2u);
    EXPECT_DOUBLE_EQ(file.extent[0], 2880);
    EXPECT_DOUBLE_EQ(file.extent[1], 2160); // three decimals at most
    ASSERT_EQ(file.surfaces.size(), 2u);
    EXPECT_EQ(file.surfaces[0].side, "front");
    EXPECT_EQ(file.surfaces[1].side, "back");
    EXPECT_EQ(file.surfaces[0].names, (std::vector<std::string>{"Cyan", "PANTONE 185 C"}));
    EXPECT_EQ(file.surfaces[1].names, (std::vector<std::string>{"Black"}));
    ASSERT_EQ(file.surfaces[0].separations.size(), 2u);
    ASSERT_EQ(file.surfaces[1].separations.size(), 1u);
    const char* encoding = GetParam() == Writer::Encoding::Binary ? "Binary" : "ASCIIHexDecode";
    for (const auto& surface : file.surfaces)
        for (const KRN_PpfSeparation& s : surface.separations)
        {
            EXPECT_TRUE(s.complete);
            EXPECT_EQ(s.width, w);
            EXPECT_EQ(s.height, h);
            EXPECT_EQ(s.bits, 8u);
            EXPECT_EQ(s.components, 1u);
            EXPECT_EQ(s.matrix, (std::vector<double>{37, 0, 0, -11, 0, 11}));
            EXPECT_EQ(s.resolution, (std::vector<double>{50.8, 50.8}));
            EXPECT_EQ(s.encoding, encoding);
            EXPECT_EQ(s.compression, "None");
        }
    EXPECT_EQ(file.surfaces[0].separations[0].samples, every);
    EXPECT_EQ(file.surfaces[0].separations[1].samples, random);
    EXPECT_EQ(file.surfaces[1].separations[0].samples, std::vector<std::uint8_t>(w * h, 200));
}

INSTANTIATE_TEST_SUITE_P(Both, PpfWriterEncodings,
                         testing::Values(Writer::Encoding::Binary, Writer::Encoding::AsciiHex),
                         [](const auto& info) {
                             return info.param == Writer::Encoding::Binary ? "Binary" : "AsciiHex";
                         });

TEST_F(PpfWriterFile, NamesOfAnyBytesReachTheReaderWholeAndUnchanged)
{
    std::string everyByte;
    for (int b = 0; b < 256; ++b)
        everyByte += char(b);
    const std::vector<std::string> names = {
        everyByte,
        "Unbalanced ((( and )",
        "back\\slash\\",
        "\\053 looks like an escape",
        "Gr\xc3\xbcn \xe2\x80\x94 Sonderfarbe",
        std::string(3000, ')'),
        "",
    };
    std::vector<std::vector<std::uint8_t>> samples(names.size(),
                                                   std::vector<std::uint8_t>(4, 0x28));
    const Written written =
        WriteSheet(Writer::Encoding::Binary, names, samples, 2, 2, {}, "Job (\xff) \\");
    ASSERT_TRUE(written.ok);
    const KRN_PpfFile file = Read(written.bytes);
    EXPECT_EQ(file.jobName, "Job (\xff) \\");
    ASSERT_EQ(file.surfaces.size(), 2u);
    EXPECT_EQ(file.surfaces[0].names, names);
    // The escaped text itself stays printable ASCII.
    for (const std::string& name : names)
        for (char c : Writer::String(name))
            EXPECT_TRUE(c >= 0x20 && c < 0x7F) << int(c);
}

TEST_F(PpfWriterFile, InkColoursAreWrittenOnlyWhenEveryInkOfTheSurfaceHasOne)
{
    const std::vector<std::vector<std::uint8_t>> samples(2, std::vector<std::uint8_t>(1, 0));
    const std::array<double, 3> red{56.4, 68.1, 46.7}, blue{17.0, 26.8, -63.7};

    const KRN_PpfFile both = Read(WriteSheet(Writer::Encoding::Binary, {"Warm Red", "Reflex Blue"},
                                             samples, 1, 1, {red, blue})
                                      .bytes);
    ASSERT_EQ(both.surfaces.size(), 2u);
    EXPECT_EQ(both.surfaces[0].colors, (std::vector<std::array<double, 3>>{red, blue}));
    EXPECT_TRUE(both.surfaces[1].colors.empty());

    // One ink without a known colour: a list would pair the colours with the wrong names.
    const KRN_PpfFile partly = Read(WriteSheet(Writer::Encoding::Binary, {"Cyan", "Reflex Blue"},
                                               samples, 1, 1, {std::nullopt, blue})
                                        .bytes);
    ASSERT_EQ(partly.surfaces.size(), 2u);
    EXPECT_TRUE(partly.surfaces[0].colors.empty());
}

TEST(PpfWriter, NumbersAreDecimalsWithoutExponentOrLocale)
{
    const struct
    {
        double value;
        int decimals;
        const char* text;
    } cases[] = {
        {2880, 3, "2880"}, {2159.9996, 3, "2160"}, {0.0001, 3, "0"},
        {-0.0001, 3, "0"}, {-63.7, 2, "-63.7"},    {1e20, 1, "100000000000000000000"},
        {1.25, 1, "1.2"},  {16.899, 2, "16.9"},    {std::nan(""), 2, "0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Writer::Number(c.value, c.decimals), c.text) << c.value;
}

TEST(PpfWriter, ARefusedBlockStopsTheWritingForGood)
{
    int calls = 0;
    std::string got;
    Writer writer(
        [&](const char* b, std::size_t n)
        {
            got.append(b, n);
            return ++calls < 2;
        },
        Writer::Encoding::Binary);
    // A preview larger than the writer's block goes out in several calls.
    const std::vector<std::uint8_t> samples(300 * 1000, 7);
    Writer::SheetInfo sheet;
    Writer::SurfaceInfo surface;
    surface.inkNames = {"Black"};
    ASSERT_TRUE(writer.BeginSheet(sheet));
    ASSERT_TRUE(writer.BeginSurface(surface));
    EXPECT_FALSE(writer.AddSeparation({300, 1000, "50.8", "50.8", samples.data()}));
    const std::size_t size = got.size();
    EXPECT_FALSE(writer.EndSurface());
    EXPECT_FALSE(writer.EndSheet());
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(got.size(), size);
}
} // namespace
