// A sheet exported as an ink-presetting file and read back by Ghostscript: every sample must be
// what this file counts itself, pixel by pixel, from the rule that drew each ink (never from the
// exporter's counts), in the cells the format's arithmetic lays out. Sheets are 1100 x 700 pixels
// at 600 dpi in 512-pixel tiles: three tiles across, two down, the last ones cut.

#include "IMPN_TreeTestFiles.h"
#include "KRN_Ghostscript.h"

#include "GFIL/GFIL_FileSpec.h"
#include "IMPN/IMPN_ColorDatabases.h"
#include "IMPN/IMPN_PpfExport.h"
#include "IMPN/IMPN_Registry.h"
#include "IMPN/IMPN_Sheet.h"
#include "IMPN/IMPN_SheetReference.h"
#include "IMPN/IMPN_WorkerPool.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace
{
constexpr std::uint32_t kWidth = 1100, kLength = 700;

// Ink k at (x, y): a scatter whose density changes from patch to patch, so that neighbouring
// cells differ and no two inks agree.
bool Bit(int k, std::uint32_t x, std::uint32_t y)
{
    std::uint32_t h = x * 2654435761u ^ (y + 977u * std::uint32_t(k)) * 2246822519u;
    h ^= h >> 15;
    h *= 2246822519u;
    h ^= h >> 13;
    const std::uint32_t density = ((x / 37 + y / 29 + 3 * std::uint32_t(k)) % 17) * 16;
    return (h & 255u) < density;
}

using Lost = std::function<bool(std::uint32_t x, std::uint32_t y)>;

// The preview of ink k counted here: w x h cells, cell (i, j) over columns floor(j W / w) to
// floor((j + 1) W / w) - 1 and the rows likewise; 255 less the ink share of 255 rounded half up.
std::vector<std::uint8_t> Expected(int k, std::uint32_t w, std::uint32_t h, const Lost& lost = {})
{
    std::vector<std::uint8_t> samples;
    for (std::uint32_t i = 0; i < h; ++i)
        for (std::uint32_t j = 0; j < w; ++j)
        {
            std::uint64_t inked = 0, pixels = 0;
            for (std::uint32_t y = i * kLength / h; y < (i + 1) * kLength / h; ++y)
                for (std::uint32_t x = j * kWidth / w; x < (j + 1) * kWidth / w; ++x)
                {
                    ++pixels;
                    inked += Bit(k, x, y) && !(lost && lost(x, y)) ? 1 : 0;
                }
            samples.push_back(std::uint8_t(255 - (510 * inked + pixels) / (2 * pixels)));
        }
    return samples;
}

// Points the offset of tile `index` of the main image far past the end of the file, so that the
// tile cannot be read (little-endian files, offsets stored out of line).
void LoseTile(const std::string& path, std::uint32_t index)
{
    std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
    auto read32 = [&f](std::streamoff at)
    {
        unsigned char b[4] = {};
        f.seekg(at);
        f.read(reinterpret_cast<char*>(b), 4);
        return std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
               std::uint32_t(b[3]) << 24;
    };
    const std::uint32_t directory = read32(4);
    const std::uint32_t entries = read32(directory) & 0xFFFFu;
    for (std::uint32_t e = 0; e < entries; ++e)
    {
        const std::streamoff entry = std::streamoff(directory) + 2 + std::streamoff(e) * 12;
        if ((read32(entry) & 0xFFFFu) != 324) // TileOffsets
            continue;
        f.seekp(std::streamoff(read32(entry + 8)) + std::streamoff(index) * 4);
        f.write("\xF0\xFF\xFF\x7F", 4);
    }
}

struct InkFile
{
    std::uint16_t surface;
    std::string name;
    int rule;
};

class PpfExport : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!KRN_GhostscriptAvailable())
            GTEST_SKIP() << "Ghostscript (gs, Debian package ghostscript) is not installed: the "
                            "files cannot be checked by a PostScript interpreter";
    }

    // The one sheet the files make; every ink's colour decided as preparing does.
    IMPN_SheetReference Make(std::uint16_t workStyle, const std::vector<InkFile>& inks,
                             TIFX_KRNWriterOptions::Compression compression =
                                 TIFX_KRNWriterOptions::Compression::CCITTGroup4)
    {
        std::vector<GFIL_FileSpec> specs;
        for (const InkFile& ink : inks)
        {
            IMPN_TestPreview p;
            p.title = "Job (2)";
            p.signature = 3;
            p.workStyle = workStyle;
            p.surface = ink.surface;
            p.colorName = ink.name;
            p.color.reset();
            p.width = kWidth;
            p.height = kLength;
            p.options.compression = compression;
            const int rule = ink.rule;
            p.fill = [rule](std::uint32_t x0, std::uint32_t y)
            {
                std::uint8_t byte = 0;
                for (std::uint32_t b = 0; b < 8; ++b)
                    if (x0 + b < kWidth && Bit(rule, x0 + b, y))
                        byte |= std::uint8_t(0x80u >> b);
                return byte;
            };
            const std::string path =
                m_Folder.Write(std::to_string(specs.size()) + "_" + ink.name + ".tif", p);
            m_Paths.push_back(path);
            specs.emplace_back(path);
        }
        IMPN_Registry registry;
        EXPECT_EQ(registry.AddFiles(specs, false), int(specs.size()));
        std::vector<IMPN_Sheet*> sheets;
        registry.CollectSheets(sheets);
        EXPECT_EQ(sheets.size(), 1u);
        IMPN_SheetReference sheet(sheets.at(0));
        for (IMPN_Surface* surface : {&sheet->GetFrontSurface(), &sheet->GetBackSurface()})
            for (const auto& separation : surface->GetSeparations())
                separation->Prepare();
        return sheet;
    }

    IMPN_PpfExport::Outcome Export(const IMPN_Sheet& sheet, const std::string& path,
                                   IMPN_PpfExport::Options options = {})
    {
        IMPN_WorkerPool pool(2);
        options.pool = &pool;
        options.software = "Quor KRN test";
        options.creationTime = "Wed Dec 09 10:00:00 2026";
        IMPN_PpfExport exporter(sheet, m_Databases, 3);
        return exporter.Write(path, options);
    }

    KRN_PpfFile Read(const std::string& path)
    {
        KRN_PpfFile file = KRN_ReadPpfWithGhostscript(path);
        EXPECT_TRUE(file.parsed) << file.output.substr(0, 2000);
        return file;
    }

    // Every separation of a surface: w x h samples at the resolution, each ink's own rule.
    static void ExpectSurface(const KRN_PpfSurface& surface, const std::vector<int>& rules,
                              std::uint32_t w, std::uint32_t h, const std::string& resolution)
    {
        ASSERT_EQ(surface.separations.size(), rules.size());
        for (std::size_t k = 0; k < rules.size(); ++k)
        {
            const KRN_PpfSeparation& s = surface.separations[k];
            ASSERT_TRUE(s.complete);
            EXPECT_EQ(s.entries.at("width"), std::to_string(w));
            EXPECT_EQ(s.entries.at("height"), std::to_string(h));
            EXPECT_EQ(s.entries.at("resolution"), resolution + " " + resolution);
            EXPECT_EQ(s.samples, Expected(rules[k], w, h)) << surface.side << " ink " << k;
        }
    }

    std::string Target(const std::string& name) const { return (m_Folder.Path() / name).string(); }

    static std::string Contents(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::size_t FilesInFolder() const
    {
        std::size_t n = 0;
        for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(m_Folder.Path()))
            ++n;
        return n;
    }

    IMPN_TestFolder m_Folder;
    IMPN_ColorDatabases m_Databases;
    std::vector<std::string> m_Paths;
};

struct EncodingCase
{
    IMPN_PpfWriter::Encoding encoding;
    TIFX_KRNWriterOptions::Compression compression;
    const char* name;
};

void PrintTo(const EncodingCase& c, std::ostream* out)
{
    *out << c.name;
}

class PpfExportEncodings : public PpfExport, public testing::WithParamInterface<EncodingCase>
{
};

TEST_P(PpfExportEncodings, EverySampleOfBothSurfacesIsTheInkShareOfItsCell)
{
    const IMPN_SheetReference sheet =
        Make(1, {{0, "Cyan", 0}, {0, "PANTONE 185 C", 1}, {1, "Black", 2}}, GetParam().compression);
    IMPN_PpfExport::Options options;
    options.encoding = GetParam().encoding;
    std::uint64_t last = 0, total = 0;
    bool growing = true;
    options.progress = [&](std::uint64_t done, std::uint64_t all)
    {
        growing = growing && done >= last && done <= all;
        last = done;
        total = all;
        return true;
    };
    const std::string path = Target("sheet.ppf");
    const IMPN_PpfExport::Outcome outcome = Export(*sheet, path, options);
    ASSERT_EQ(outcome.status, IMPN_PpfExport::Outcome::Status::Written) << outcome.reason;
    EXPECT_TRUE(outcome.warnings.empty());
    EXPECT_TRUE(growing && last == total);

    const KRN_PpfFile file = Read(path);
    EXPECT_EQ(file.sheet, (std::map<std::string, std::string>{
                              {"job", "Job (2)"},
                              {"sheetname", "Signature 3 Web 1"},
                              {"software", "Quor KRN test"},
                              {"created", "Wed Dec 09 10:00:00 2026"},
                              {"extent", "132 84"}})); // 1100 and 700 pixels at 600 dpi
    ASSERT_EQ(file.surfaces.size(), 2u);
    EXPECT_EQ(file.surfaces[0].side, "front");
    EXPECT_EQ(file.surfaces[0].names, (std::vector<std::string>{"Cyan", "PANTONE 185 C"}));
    EXPECT_EQ(file.surfaces[1].side, "back");
    EXPECT_EQ(file.surfaces[1].names, std::vector<std::string>{"Black"});
    // 1100 x 50.8 / 600 = 93.13 and 700 x 50.8 / 600 = 59.27.
    ExpectSurface(file.surfaces[0], {0, 1}, 93, 59, "50.8");
    ExpectSurface(file.surfaces[1], {2}, 93, 59, "50.8");
    EXPECT_EQ(file.surfaces[0].separations[0].entries.at("matrix"), "93 0 0 -59 0 59");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PpfExportEncodings,
    testing::Values(EncodingCase{IMPN_PpfWriter::Encoding::Binary,
                                 TIFX_KRNWriterOptions::Compression::CCITTGroup4, "BinaryGroup4"},
                    EncodingCase{IMPN_PpfWriter::Encoding::AsciiHex,
                                 TIFX_KRNWriterOptions::Compression::PackBits, "HexPackBits"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PpfExport, AWorkAndTurnSheetWritesBothSurfacesFromTheSameFilesUnmirrored)
{
    const IMPN_SheetReference sheet = Make(3, {{0, "Magenta", 3}, {0, "Yellow", 4}});
    IMPN_PpfExport::Options options;
    // Coarser than the default, and not a whole number of cells across: 41.25 x 26.25.
    options.resolution = *IMPN_PpfPreview::Resolution::Parse("22.5");
    const std::string path = Target("turn.ppf");
    ASSERT_EQ(Export(*sheet, path, options).status, IMPN_PpfExport::Outcome::Status::Written);
    const KRN_PpfFile file = Read(path);
    ASSERT_EQ(file.surfaces.size(), 2u);
    for (const KRN_PpfSurface& surface : file.surfaces)
    {
        EXPECT_EQ(surface.names, (std::vector<std::string>{"Magenta", "Yellow"}));
        ExpectSurface(surface, {3, 4}, 41, 26, "22.5");
    }

    // Finer than the device: one sample a pixel, and the file says at which resolution.
    options.resolution = *IMPN_PpfPreview::Resolution::Parse("900");
    ASSERT_EQ(Export(*sheet, path, options).status, IMPN_PpfExport::Outcome::Status::Written);
    ExpectSurface(Read(path).surfaces.at(0), {3, 4}, kWidth, kLength, "600");
}

TEST_F(PpfExport, AnUnreadableTileIsNamedCountedAsNoInkAndTheFileIsStillWritten)
{
    const IMPN_SheetReference sheet = Make(0, {{0, "Cyan", 6}, {0, "Black", 7}});
    LoseTile(m_Paths[1], 1); // the second tile of the first row: x 512..1023, y 0..511
    const std::string path = Target("lost.ppf");
    const IMPN_PpfExport::Outcome outcome = Export(*sheet, path);
    ASSERT_EQ(outcome.status, IMPN_PpfExport::Outcome::Status::Written) << outcome.reason;
    ASSERT_EQ(outcome.warnings.size(), 1u);
    EXPECT_NE(outcome.warnings[0].find(m_Paths[1] + ": the tile at pixel 512, 0"),
              std::string::npos)
        << outcome.warnings[0];
    const KRN_PpfFile file = Read(path);
    ASSERT_EQ(file.surfaces.size(), 1u);
    ASSERT_EQ(file.surfaces[0].separations.size(), 2u);
    EXPECT_EQ(file.surfaces[0].separations[0].samples, Expected(6, 93, 59));
    EXPECT_EQ(file.surfaces[0].separations[1].samples,
              Expected(7, 93, 59,
                       [](std::uint32_t x, std::uint32_t y)
                       { return x >= 512 && x < 1024 && y < 512; }));
}

TEST_F(PpfExport, InkColoursComeFromLabEntriesAndOnlyWhenEveryInkOfTheSurfaceHasOne)
{
    IMPN_ColorDatabase library;
    library.Set("PANTONE 185 C", *IMPN_ColorEntry::FromLab(48, 70.5, 36.5));
    library.Set("PANTONE 300 C", *IMPN_ColorEntry::FromLab(42.5, -10, -52.5));
    m_Databases.SetNamedColors(library);
    // Black is a process ink of the built-in library, known as CMYK only.
    const IMPN_SheetReference sheet = Make(
        1,
        {{0, "PANTONE 185", 1}, {0, "PANTONE 300 C", 2}, {1, "PANTONE 185 C", 3}, {1, "Black", 4}});
    const std::string path = Target("colours.ppf");
    ASSERT_EQ(Export(*sheet, path).status, IMPN_PpfExport::Outcome::Status::Written);
    const KRN_PpfFile file = Read(path);
    ASSERT_EQ(file.surfaces.size(), 2u);
    EXPECT_EQ(file.surfaces[0].colors,
              (std::vector<std::string>{"48 70.5 36.5", "42.5 -10 -52.5"}));
    EXPECT_TRUE(file.surfaces[1].colors.empty());
}

TEST_F(PpfExport, ACancelledOrFailedExportLeavesWhatWasAtThePathAndNoTemporary)
{
    const IMPN_SheetReference sheet = Make(0, {{0, "Cyan", 0}, {0, "Magenta", 1}});
    const std::string path = Target("kept.ppf");
    KRN_TestWriteBytes(path, "yesterday's file");
    const std::size_t before = FilesInFolder();
    using Status = IMPN_PpfExport::Outcome::Status;

    IMPN_PpfExport::Options options;
    // Stopped while the second ink is counted: the first is in the temporary already.
    options.progress = [](std::uint64_t done, std::uint64_t total) { return done <= total / 2; };
    EXPECT_EQ(Export(*sheet, path, options).status, Status::Cancelled);
    EXPECT_EQ(Contents(path), "yesterday's file");
    EXPECT_EQ(FilesInFolder(), before);

    // A folder that does not exist, a folder where the file should be, a preview file gone since
    // the sheet was read (the reason names it).
    EXPECT_EQ(Export(*sheet, Target("gone/sheet.ppf")).status, Status::Failed);
    std::filesystem::create_directory(Target("folder.ppf"));
    EXPECT_EQ(Export(*sheet, Target("folder.ppf")).status, Status::Failed);
    std::filesystem::remove(m_Paths[1]);
    const IMPN_PpfExport::Outcome gone = Export(*sheet, path);
    EXPECT_EQ(gone.status, Status::Failed);
    EXPECT_NE(gone.reason.find(m_Paths[1]), std::string::npos) << gone.reason;
    EXPECT_EQ(Contents(path), "yesterday's file");
    EXPECT_EQ(FilesInFolder(), before); // one folder more, one preview file less
}
} // namespace
