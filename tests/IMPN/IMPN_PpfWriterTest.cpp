// The ink-presetting file's syntax, checked by a real PostScript interpreter: every file these
// tests write is read back with Ghostscript (KRN_Ghostscript.h), and what it sees must be what
// the writer was given, byte for byte (names of any bytes, samples in both encodings).

#include "KRN_Ghostscript.h"
#include "KRN_TestFolder.h"

#include "IMPN/IMPN_PpfWriter.h"

#include <gtest/gtest.h>

#include <random>

namespace
{
using Writer = IMPN_PpfWriter;

class PpfWriterEncodings : public testing::TestWithParam<Writer::Encoding>
{
};

TEST_P(PpfWriterEncodings, APostScriptReaderFindsEveryEntryNameAndSampleAsWritten)
{
    if (!KRN_GhostscriptAvailable())
        GTEST_SKIP() << "Ghostscript (gs, Debian package ghostscript) is not installed: the "
                        "files cannot be checked by a PostScript interpreter";
    std::string everyByte;
    for (int b = 0; b < 256; ++b)
        everyByte += char(b);
    const std::vector<std::string> names = {everyByte,
                                            "Unbalanced ((( and )",
                                            "back\\slash\\",
                                            "\\053 looks like an escape",
                                            std::string(3000, ')'),
                                            ""};
    // Samples of every byte value, the ones PostScript syntax cares about included, on a width
    // that ends the hexadecimal lines inside a row; and random ones.
    const std::uint32_t w = 37, h = 11;
    std::vector<std::vector<std::uint8_t>> samples(names.size(), std::vector<std::uint8_t>(w * h));
    std::mt19937 random(5);
    for (std::size_t k = 0; k < names.size(); ++k)
        for (std::size_t i = 0; i < w * h; ++i)
            samples[k][i] = k == 0 ? std::uint8_t(i) : std::uint8_t(random());

    std::string bytes;
    Writer writer(
        [&bytes](const char* b, std::size_t n)
        {
            bytes.append(b, n);
            return true;
        },
        GetParam());
    ASSERT_TRUE(writer.BeginSheet({"Job (\xff) \\", "Signature 1 Web 2", "Quor KRN 9.9",
                                   "Tue Dec 08 16:52:07 2026", 2880, 2159.9996}));
    ASSERT_TRUE(writer.BeginSurface({false, names, {}}));
    for (const auto& s : samples)
        ASSERT_TRUE(writer.AddSeparation({w, h, "50.8", "50.8", s.data()}));
    ASSERT_TRUE(writer.EndSurface());
    ASSERT_TRUE(writer.BeginSurface({true, {"Black"}, {}}));
    ASSERT_TRUE(writer.AddSeparation({w, h, "50.8", "50.8", samples[0].data()}));
    ASSERT_TRUE(writer.EndSurface() && writer.EndSheet());
    EXPECT_EQ(bytes.rfind("%!PS-Adobe-3.0\n%%CIP3-File Version 3.0\nCIP3BeginSheet\n", 0), 0u);
    EXPECT_EQ(bytes.substr(bytes.size() - 29), "CIP3EndSheet\n%%CIP3EndOfFile\n");

    const KRN_TestFolder folder("impn-ppf");
    const KRN_PpfFile file = KRN_ReadPpfWithGhostscript(folder.WriteBytes("sheet.ppf", bytes));
    ASSERT_TRUE(file.parsed) << file.output.substr(0, 2000);
    EXPECT_EQ(file.sheet.at("job"), "Job (\xff) \\");
    EXPECT_EQ(file.sheet.at("sheetname"), "Signature 1 Web 2");
    EXPECT_EQ(file.sheet.at("software"), "Quor KRN 9.9");
    EXPECT_EQ(file.sheet.at("created"), "Tue Dec 08 16:52:07 2026");
    EXPECT_EQ(file.sheet.at("extent"), "2880 2160"); // three decimals at most
    ASSERT_EQ(file.surfaces.size(), 2u);
    EXPECT_EQ(file.surfaces[0].side, "front");
    EXPECT_EQ(file.surfaces[1].side, "back");
    EXPECT_EQ(file.surfaces[0].names, names);
    EXPECT_EQ(file.surfaces[1].names, std::vector<std::string>{"Black"});
    ASSERT_EQ(file.surfaces[0].separations.size(), names.size());
    ASSERT_EQ(file.surfaces[1].separations.size(), 1u);
    for (std::size_t k = 0; k < names.size(); ++k)
    {
        const KRN_PpfSeparation& s = file.surfaces[0].separations[k];
        EXPECT_TRUE(s.complete);
        EXPECT_EQ(s.samples, samples[k]);
        EXPECT_EQ(
            s.entries,
            (std::map<std::string, std::string>{
                {"width", "37"},
                {"height", "11"},
                {"bits", "8"},
                {"components", "1"},
                {"matrix", "37 0 0 -11 0 11"},
                {"resolution", "50.8 50.8"},
                {"encoding", GetParam() == Writer::Encoding::Binary ? "Binary" : "ASCIIHexDecode"},
                {"compression", "None"}}));
    }
    EXPECT_EQ(file.surfaces[1].separations[0].samples, samples[0]);
    // The escaped names themselves stay printable ASCII.
    for (char c : Writer::String(everyByte))
        EXPECT_TRUE(c >= 0x20 && c < 0x7F) << int(c);
}

INSTANTIATE_TEST_SUITE_P(Both, PpfWriterEncodings,
                         testing::Values(Writer::Encoding::Binary, Writer::Encoding::AsciiHex),
                         [](const auto& info) {
                             return info.param == Writer::Encoding::Binary ? "Binary" : "AsciiHex";
                         });

TEST(PpfWriter, ARefusedBlockStopsTheWritingForGood)
{
    int calls = 0;
    std::size_t size = 0;
    Writer writer(
        [&](const char*, std::size_t n)
        {
            size += n;
            return ++calls < 2;
        },
        Writer::Encoding::Binary);
    // A preview larger than the writer's block goes out in several calls.
    const std::vector<std::uint8_t> samples(300 * 1000, 7);
    ASSERT_TRUE(writer.BeginSheet({}) && writer.BeginSurface({false, {"Black"}, {}}));
    EXPECT_FALSE(writer.AddSeparation({300, 1000, "50.8", "50.8", samples.data()}));
    const std::size_t refused = size;
    EXPECT_FALSE(writer.EndSurface() || writer.EndSheet());
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(size, refused);
}
} // namespace
