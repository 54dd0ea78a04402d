#include "KRN_OptionParser.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{
using P = KRN_OptionParser;

// What one parse did: its result and what it printed.
struct Outcome
{
    std::optional<int> exit;
    std::string out;
    std::string err;
};

Outcome ParseCapturing(const P& parser, const std::vector<std::string>& args)
{
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    Outcome o;
    o.exit = parser.Parse(args);
    o.out = testing::internal::GetCapturedStdout();
    o.err = testing::internal::GetCapturedStderr();
    return o;
}

// A command shaped like the picture commands: files, a number, a colour, a required output.
struct PictureCommand
{
    std::vector<std::string> paths;
    long long level = -1;
    std::optional<IMPN_ColorBGR> paper;
    std::vector<long long> rect;
    std::vector<std::string> hidden;
    std::string out;
    bool quiet = false;
    P parser{"picture", "usage: krn picture PATH... --level L --out FILE"};

    PictureCommand()
    {
        parser.Operands(paths, 1, "no preview files given");
        parser.Option("--level", [this](const std::string& v)
                      { level = P::Integer(v, 0, 12, "--level is 0 to 12"); });
        parser.Option("--paper", [this](const std::string& v) { paper = P::Colour(v); });
        parser.Option("--rect", [this](const std::string& v)
                      { rect = P::IntegerList(v, ',', 4, "--rect needs T,L,W,H"); });
        parser.Repeated("--hide", hidden);
        parser.Alias("--conceal", "--hide");
        parser.Option("--out", out, P::kRequired);
        parser.Flag("--quiet", quiet);
    }
};
} // namespace

TEST(KRN_OptionParser, OptionsAndOperandsMixInAnyOrderWithBothValueSpellings)
{
    PictureCommand c;
    const Outcome o =
        ParseCapturing(c.parser, {"a.tif", "--level=6", "--hide", "Cyan", "b.tif", "--out", "x.png",
                                  "--conceal=PANTONE 185 C", "-", "--quiet"});
    ASSERT_FALSE(o.exit.has_value()) << o.err;
    EXPECT_EQ(c.paths, (std::vector<std::string>{"a.tif", "b.tif", "-"}));
    EXPECT_EQ(c.level, 6);
    EXPECT_EQ(c.hidden, (std::vector<std::string>{"Cyan", "PANTONE 185 C"}));
    EXPECT_EQ(c.out, "x.png");
    EXPECT_TRUE(c.quiet);
    EXPECT_TRUE(o.out.empty());
    EXPECT_TRUE(o.err.empty());
}

TEST(KRN_OptionParser, ValuesMayLookLikeOptionsAndDoubleDashEndsOptions)
{
    PictureCommand c;
    // A negative offset is a value, not an option; after "--" even "--help" is a file name.
    const Outcome o = ParseCapturing(c.parser, {"--rect", "-5,-10,20,30", "--out", "--odd.png",
                                                "--level", "0", "--", "--help", "-x.tif"});
    ASSERT_FALSE(o.exit.has_value()) << o.err;
    EXPECT_EQ(c.rect, (std::vector<long long>{-5, -10, 20, 30}));
    EXPECT_EQ(c.out, "--odd.png");
    EXPECT_EQ(c.paths, (std::vector<std::string>{"--help", "-x.tif"}));
    EXPECT_TRUE(o.out.empty());
}

TEST(KRN_OptionParser, HelpAnywhereWinsPrintsUsageOnStandardOutputAndEndsWithZero)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"-h"}, {"a.tif", "--help"}, {"--bogus", "--level", "99", "-h"}})
    {
        PictureCommand c;
        const Outcome o = ParseCapturing(c.parser, args);
        ASSERT_TRUE(o.exit.has_value());
        EXPECT_EQ(*o.exit, 0);
        EXPECT_EQ(o.out, "usage: krn picture PATH... --level L --out FILE\n");
        EXPECT_TRUE(o.err.empty()) << o.err;
        EXPECT_EQ(c.level, -1) << "no handler runs when help is asked for";
    }
}

TEST(KRN_OptionParser, UsageErrorsNameTheProblemThenTheUsageOnStandardErrorAndEndWithTwo)
{
    const struct
    {
        std::vector<std::string> args;
        std::string problem;
    } cases[] = {
        {{"a.tif", "--out", "x.png", "--level"}, "--level needs a value"},
        {{"a.tif", "--out", "x.png", "--zoom", "3"}, "unknown option --zoom"},
        {{"a.tif", "--out", "x.png", "-z"}, "unknown option -z"},
        {{"a.tif", "--level", "3"}, "--out is required"},
        {{"--out", "x.png"}, "no preview files given"},
        {{"a.tif", "--out", "x.png", "--level", "13"}, "--level is 0 to 12"},
        {{"a.tif", "--out", "x.png", "--paper", "#ffffff"},
         "'#ffffff' is not a colour RRGGBB in hexadecimal"},
        {{"a.tif", "--out", "x.png", "--quiet=yes"}, "--quiet takes no value"},
    };
    for (const auto& c : cases)
    {
        PictureCommand command;
        const Outcome o = ParseCapturing(command.parser, c.args);
        ASSERT_TRUE(o.exit.has_value()) << c.problem;
        EXPECT_EQ(*o.exit, 2);
        EXPECT_EQ(o.err, "krn picture: " + c.problem +
                             "\nusage: krn picture PATH... --level L --out FILE\n");
        EXPECT_TRUE(o.out.empty());
    }
}

TEST(KRN_OptionParser, WithoutOperandsDeclaredAnOperandIsAnError)
{
    std::string out;
    P parser("sample", "usage: krn sample --out DIR\n");
    parser.Option("--out", out);
    const Outcome o = ParseCapturing(parser, {"--out", "job", "stray"});
    ASSERT_TRUE(o.exit.has_value());
    EXPECT_EQ(*o.exit, 2);
    EXPECT_NE(o.err.find("unexpected argument 'stray'"), std::string::npos) << o.err;
}

TEST(KRN_OptionParser, TheLastValueOfAPlainOptionWins)
{
    std::string out;
    P parser("x", "usage");
    parser.Option("--out", out);
    EXPECT_FALSE(ParseCapturing(parser, {"--out", "a", "--out=b"}).exit.has_value());
    EXPECT_EQ(out, "b");
}

TEST(KRN_OptionParser, IntegersAreWholeDecimalTextsWithinInclusiveBounds)
{
    EXPECT_EQ(P::Integer("0", 0, 12, "p"), 0);
    EXPECT_EQ(P::Integer("12", 0, 12, "p"), 12);
    EXPECT_EQ(P::Integer("-2147483648", INT32_MIN, INT32_MAX, "p"), INT32_MIN);
    for (const char* bad :
         {"", "13", "-1", "3x", " 3", "3 ", "+3", "0x3", "3.0", "99999999999999999999999"})
        EXPECT_THROW(P::Integer(bad, 0, 12, "p"), KRN_UsageError) << bad;
    try
    {
        P::Integer("x", 0, 1, "--sheet needs a sheet number from 1");
        FAIL();
    }
    catch (const KRN_UsageError& e)
    {
        EXPECT_STREQ(e.what(), "--sheet needs a sheet number from 1");
    }
}

TEST(KRN_OptionParser, ByteSizesTakeBinaryAndDecimalUnitsAndNeverWrapIntoRange)
{
    const unsigned long long high = 64ull << 30;
    EXPECT_EQ(P::ByteSize("1048576", 1, high, "p"), 1ull << 20);
    EXPECT_EQ(P::ByteSize("256M", 1, high, "p"), 256ull << 20);
    EXPECT_EQ(P::ByteSize("256mib", 1, high, "p"), 256ull << 20);
    EXPECT_EQ(P::ByteSize("300MB", 1, high, "p"), 300000000ull);
    EXPECT_EQ(P::ByteSize("64GiB", 1, high, "p"), high);
    EXPECT_EQ(P::ByteSize("2k", 1, high, "p"), 2048ull);
    // 2^54 GiB is 2^84 bytes: multiplied blindly it would wrap to 0 and pass a low bound of 0.
    for (const char* bad : {"", "M", "-1M", "+1M", "1.5G", "1 M", "1MM", "1T", "65G", "64GiBx",
                            "18014398509481984G", "99999999999999999999999"})
        EXPECT_THROW(P::ByteSize(bad, 0, high, "p"), KRN_UsageError) << bad;
    EXPECT_THROW(P::ByteSize("15MiB", 16ull << 20, high, "p"), KRN_UsageError);
}

TEST(KRN_OptionParser, NumbersAreFiniteDecimalsWithinBounds)
{
    EXPECT_DOUBLE_EQ(P::Number("72", 1, 4800, "p"), 72.0);
    EXPECT_DOUBLE_EQ(P::Number("2540.5", 1, 4800, "p"), 2540.5);
    EXPECT_DOUBLE_EQ(P::Number("1e3", 1, 4800, "p"), 1000.0);
    EXPECT_DOUBLE_EQ(P::Number("4294967295", 0, 4294967295.0, "p"), 4294967295.0);
    for (const char* bad : {"", "0.5", "5000", "72dpi", "nan", "inf", "-inf", ".", "1e400"})
        EXPECT_THROW(P::Number(bad, 1, 4800, "p"), KRN_UsageError) << bad;
    EXPECT_THROW(P::Number("nan", -std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::infinity(), "p"),
                 KRN_UsageError);
}

TEST(KRN_OptionParser, ColoursAreSixHexDigitsRedFirstStoredBlueFirst)
{
    EXPECT_EQ(P::Colour("102030"), (IMPN_ColorBGR{0x30, 0x20, 0x10}));
    EXPECT_EQ(P::Colour("FFffFF"), (IMPN_ColorBGR{255, 255, 255}));
    for (const char* bad : {"", "12345", "1234567", "#12345", "12345g", "-12345", " 12345"})
        EXPECT_THROW(P::Colour(bad), KRN_UsageError) << bad;
}

TEST(KRN_OptionParser, AssignmentsSplitAtTheLastEqualsSign)
{
    EXPECT_EQ(P::Assignment("Cyan=50", "--opacity"),
              (std::pair<std::string, std::string>{"Cyan", "50"}));
    // Ink names may hold "=" and spaces; the value never holds "=".
    EXPECT_EQ(P::Assignment("A=B C=ff0000", "--colour"),
              (std::pair<std::string, std::string>{"A=B C", "ff0000"}));
    EXPECT_EQ(P::Assignment("Cyan=", "--opacity"),
              (std::pair<std::string, std::string>{"Cyan", ""}));
    EXPECT_THROW(P::Assignment("=50", "--opacity"), KRN_UsageError);
    EXPECT_THROW(P::Assignment("Cyan", "--opacity"), KRN_UsageError);
}

TEST(KRN_OptionParser, IntegerListsHaveExactlyTheirCountOfWholeFields)
{
    EXPECT_EQ(P::IntegerList("1,2,3,4", ',', 4, "p"), (std::vector<long long>{1, 2, 3, 4}));
    EXPECT_EQ(P::IntegerList("800x600", 'x', 2, "p"), (std::vector<long long>{800, 600}));
    for (const char* bad :
         {"", "1,2,3", "1,2,3,4,5", "1,2,3,", ",1,2,3", "1,,3,4", "1,2,3,4x", "1, 2,3,4"})
        EXPECT_THROW(P::IntegerList(bad, ',', 4, "p"), KRN_UsageError) << bad;
}

TEST(KRN_OptionParser, ChoicesGiveTheirPositionAndRefuseAnythingElse)
{
    EXPECT_EQ(P::OneOf("front", {"front", "back"}, "p"), 0u);
    EXPECT_EQ(P::OneOf("back", {"front", "back"}, "p"), 1u);
    EXPECT_THROW(P::OneOf("Back", {"front", "back"}, "p"), KRN_UsageError);
    EXPECT_THROW(P::OneOf("", {"front", "back"}, "p"), KRN_UsageError);
}
