// Which files are valid preview files, and that the test leaves the current directory as it was.

#include "TIFX/TIFX_KRNFile.h"
#include "TIFX/TIFX_KRNWriter.h"
#include "TIFX_TestFiles.h"

#include <functional>

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
} // namespace
