// Which files are valid preview files, and that the test leaves the current directory as it was.

#include "TIFX/TIFX_KRNFile.h"
#include "TIFX/TIFX_KRNWriter.h"
#include "TIFX_TestFiles.h"

#include <functional>
#include <optional>

namespace
{
using Options = TIFX_KRNWriterOptions;

struct ValidityCase
{
    const char* name;
    std::function<void(Options&)> configure;
    bool valid;
    const char* failure; // part of the reported reason when invalid
};

void PrintTo(const ValidityCase& c, std::ostream* os)
{
    *os << c.name;
}

class TIFX_Validity : public TIFX_ScratchTest, public ::testing::WithParamInterface<ValidityCase>
{
protected:
    std::string WriteVariant(const std::function<void(Options&)>& configure)
    {
        Options options;
        options.compression = Options::Compression::Deflate;
        configure(options);
        return TIFX_WritePattern(PathOf("variant.tif"), KRN_TestFullInfo(), options, 600, 520);
    }
};

TEST_P(TIFX_Validity, VerdictAndDirectoryRestoredFromEveryDirectory)
{
    const ValidityCase& c = GetParam();
    TIFX_KRNFile file(WriteVariant(c.configure));
    file.Open();
    const uint16_t count = file.CountDirectories();
    ASSERT_GE(count, 1);
    for (uint16_t start = 0; start < count; ++start)
    {
        ASSERT_TRUE(file.SetDirectory(start));
        const KRNDirectoryInfo before = file.GetDirectoryInfo();
        EXPECT_EQ(file.IsValidPreviewFile(), c.valid) << "from directory " << start;
        EXPECT_EQ(file.GetDirectory(), start);
        // The record describes the restored directory again, not the last one visited.
        EXPECT_EQ(file.GetDirectoryInfo(), before) << "from directory " << start;
        if (c.valid)
            EXPECT_EQ(file.GetValidityFailure(), "");
        else
            EXPECT_NE(file.GetValidityFailure().find(c.failure), std::string::npos)
                << file.GetValidityFailure();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Variants, TIFX_Validity,
    ::testing::Values(
        ValidityCase{"miniswhite-1b-reduced-in-1", [](Options&) {}, true, ""},
        ValidityCase{"miniswhite-1b-reduced-in-2-behind-4b",
                     [](Options& o) { o.reducedDirectory = 2; }, true, ""},
        ValidityCase{"tags-in-directory-with-private-directory",
                     [](Options& o) { o.tagsInQuorIFD = false; }, true, ""},
        ValidityCase{"no-private-directory", [](Options& o) { o.writeQuorIFD = false; }, false,
                     "no private directory"},
        ValidityCase{"tiles-256", [](Options& o) { o.tileSize = 256; }, false, "256 x 256 tiles"},
        ValidityCase{"main-8b", [](Options& o) { o.mainBitsPerSample = 8; }, false,
                     "8 bits per sample instead of 1"},
        ValidityCase{"no-reduced-image", [](Options& o) { o.writeReducedImage = false; }, false,
                     "no reduced image"},
        ValidityCase{"big-endian-g4",
                     [](Options& o)
                     {
                         o.byteOrder = Options::ByteOrder::BigEndian;
                         o.compression = Options::Compression::CCITTGroup4;
                     },
                     true, ""}),
    [](const ::testing::TestParamInfo<ValidityCase>& p)
    {
        std::string name = p.param.name;
        for (char& ch : name)
            if (ch == '-')
                ch = '_';
        return name;
    });

TEST_F(TIFX_Validity, PrivateTagsInTheDirectoryItselfAreDecodedWithoutPrivateDirectory)
{
    TIFX_KRNFile file(WriteVariant([](Options& o) { o.writeQuorIFD = false; }));
    file.Open();
    EXPECT_FALSE(file.HasQuorIFD());
    EXPECT_EQ(file.GetDirectoryInfo(), TIFX_WithScale(KRN_TestFullInfo(), 1));
    EXPECT_FALSE(file.IsValidPreviewFile());
}

TEST_F(TIFX_Validity, ClosedFileIsNotValid)
{
    TIFX_KRNFile file(WriteVariant([](Options&) {}));
    EXPECT_FALSE(file.IsValidPreviewFile());
    file.Open();
    EXPECT_TRUE(file.IsValidPreviewFile());
    file.Close();
    EXPECT_FALSE(file.IsValidPreviewFile());
}

// The private directory must be one of its own: with no entries, or at bytes that belong to the
// file header or to an image directory, the file carries no job information and is not a preview
// file, the reason naming which.
TEST_F(TIFX_Validity, PrivateDirectoryEmptyOrInsideAnotherStructureIsNotAPreviewFile)
{
    struct Case
    {
        const char* name;
        std::optional<uint16_t> declared; // entries written: none, with this count in front
        unsigned directory;               // whose private directory is moved, if any
        int target;                       // -1: the header; else the directory it is moved to
        const char* failure;
    };
    const Case cases[] = {
        {"no entries", 0, 0, -2, "directory 0: the private directory (tag 34756) has no entries"},
        {"a count but no entry", 3, 0, -2,
         "directory 0: the private directory (tag 34756) has no entries"},
        {"at the header",
         {},
         0,
         -1,
         "directory 0: the private directory (tag 34756) lies in the file header"},
        {"at its own directory",
         {},
         0,
         0,
         "directory 0: the private directory (tag 34756) lies in directory 0"},
        {"at the next directory",
         {},
         0,
         1,
         "directory 0: the private directory (tag 34756) lies in directory 1"},
        {"reduced, at directory 0",
         {},
         1,
         0,
         "directory 1: the private directory (tag 34756) lies in directory 0"},
    };
    for (const auto order : {Options::ByteOrder::LittleEndian, Options::ByteOrder::BigEndian})
        for (const Case& c : cases)
        {
            SCOPED_TRACE(std::string(c.name) +
                         (order == Options::ByteOrder::BigEndian ? ", big" : ", little"));
            Options options;
            options.byteOrder = order;
            TIFX_KRNWriter writer(options);
            writer.SetMainBitmap(600, 520, TIFX_Pattern(600, 520));
            writer.SetDirectoryInfo(KRN_TestFullInfo());
            if (c.declared)
                writer.SetQuorIFDEntries({}, c.declared == 0 ? std::nullopt : c.declared);
            const std::string path = PathOf("private.tif");
            writer.Write(path);
            if (c.target >= -1)
            {
                TIFX_RawFile raw(path);
                const uint32_t to = c.target < 0 ? 0 : raw.DirectoryOffset(unsigned(c.target));
                ASSERT_TRUE(raw.SetEntryValue(c.directory, TIFX_Tag::QuorIFD, to, false));
            }
            TIFX_KRNFile file(path);
            file.Open();
            EXPECT_FALSE(file.IsValidPreviewFile());
            EXPECT_EQ(file.GetValidityFailure(), c.failure);
        }
}
} // namespace
