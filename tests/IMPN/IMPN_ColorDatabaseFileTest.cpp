// The colour database file: names in case-insensitive order, exact round trips, and every way a
// damaged or foreign file can go wrong.

#include "IMPN/IMPN_ColorDatabaseFile.h"

#include "KRN_TestFolder.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <unistd.h>

namespace
{
// Builds file images by hand, independent of the writer under test.
class Bytes
{
public:
    Bytes& U32(std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            data.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        return *this;
    }
    Bytes& Real(double v)
    {
        const auto bits = std::bit_cast<std::uint64_t>(v);
        for (int i = 0; i < 8; ++i)
            data.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
        return *this;
    }
    Bytes& Text(const std::string& s)
    {
        U32(static_cast<std::uint32_t>(s.size()));
        data.insert(data.end(), s.begin(), s.end());
        return *this;
    }
    Bytes& Header(std::uint32_t count) { return U32(0x43434442).U32(1).U32(count); }
    Bytes& RGBEntry(const std::string& name, double r, double g, double b)
    {
        return Text(name).U32(114688).Real(r).Real(g).Real(b);
    }

    std::vector<std::uint8_t> data;
};

std::filesystem::path ScratchFolder(const std::string& name)
{
    return KRN_TestNamedFolder("colordb-file", name);
}

IMPN_ColorDatabase MixedDatabase()
{
    IMPN_ColorDatabase db;
    db.Set("PANTONE 185 C", *IMPN_ColorEntry::FromLab(49.5, 72.25, 43.5));
    db.Set("PANTONE 286 U", *IMPN_ColorEntry::FromLab(33.33, 17.1, -61.7));
    db.Set("Bright", *IMPN_ColorEntry::FromLab(100, -128, 127.99));
    db.Set("Warm Grey", IMPN_ColorEntry::FromCMYKPercent(0, 10, 20, 40));
    db.Set("signal red", IMPN_ColorEntry::FromBGR(IMPN_MakeColorBGR(230, 0, 35)));
    db.Set(std::string("with\0nul", 8), IMPN_ColorEntry::FromBGR(IMPN_MakeColorBGR(1, 2, 3)));
    db.Set("", IMPN_ColorEntry::FromCMYKPercent(1, 2, 3, 4));
    return db;
}
} // namespace

TEST(ColorDatabase, NamesCompareAsciiCaseInsensitivelyShorterFirst)
{
    using Less = IMPN_ColorDatabase::NameLess;
    EXPECT_EQ(Less::Compare("CYAN", "cyan"), 0);
    EXPECT_LT(Less::Compare("Cyan", "cyan2"), 0);
    EXPECT_LT(Less::Compare("abc", "ABD"), 0);
    // Underscore (0x5F) lies between upper and lower case: after folding it sorts before "a".
    EXPECT_LT(Less::Compare("_", "A"), 0);
    // Only ASCII letters fold.
    EXPECT_NE(Less::Compare("\xC3\x84", "\xC3\xA4"), 0);

    IMPN_ColorDatabase db;
    db.Set("Cyan", IMPN_ColorEntry::FromCMYKPercent(100, 0, 0, 0));
    db.Set("CYAN", IMPN_ColorEntry::FromCMYKPercent(50, 0, 0, 0));
    db.Set("blue", IMPN_ColorEntry::FromBGR({255, 0, 0}));
    ASSERT_EQ(db.Size(), 2u);
    // Replaced in place, keeping the first spelling.
    EXPECT_EQ(db.begin()->first, "blue");
    EXPECT_EQ(std::next(db.begin())->first, "Cyan");
    ASSERT_NE(db.Find("cyan"), nullptr);
    EXPECT_EQ(db.Find("cyan")->CMYKPercent()[0], 50);
    EXPECT_TRUE(db.Remove("cYaN"));
    EXPECT_FALSE(db.Contains("Cyan"));
}

TEST(ColorDatabaseFile, WrittenBytesFollowTheFormat)
{
    IMPN_ColorDatabase db;
    db.Set("Ab", IMPN_ColorEntry::FromBGR(IMPN_MakeColorBGR(255, 128, 0)));
    const auto expected = Bytes().Header(1).RGBEntry("Ab", 255, 128, 0).data;
    EXPECT_EQ(IMPN_ColorDatabaseFile::Serialize(db), expected);
    EXPECT_EQ(IMPN_ColorDatabaseFile::Serialize(IMPN_ColorDatabase()), Bytes().Header(0).data);
}

TEST(ColorDatabaseFile, RoundTripKeepsEveryEntryOfEverySpace)
{
    const IMPN_ColorDatabase db = MixedDatabase();
    const auto result = IMPN_ColorDatabaseFile::Parse(IMPN_ColorDatabaseFile::Serialize(db));
    EXPECT_EQ(result.status, IMPN_ColorDatabaseFile::Status::Complete);
    EXPECT_EQ(result.entriesRead, db.Size());
    EXPECT_EQ(result.database, db);
}

TEST(ColorDatabaseFile, EveryLabUnitSurvivesTheRoundTrip)
{
    // L is stored as L x 655.35 truncated: the written real must read back as the same unit.
    for (std::uint32_t l = 0; l <= 65535; ++l)
    {
        const auto entry = IMPN_ColorEntry::FromLabUnits(static_cast<std::uint16_t>(l),
                                                         static_cast<std::uint16_t>(l),
                                                         static_cast<std::uint16_t>(65535 - l));
        const auto reals = entry.ToReals();
        const auto back = IMPN_ColorEntry::FromLab(reals[0], reals[1], reals[2]);
        ASSERT_TRUE(back.has_value());
        ASSERT_EQ(*back, entry) << "L unit " << l;
    }
}

TEST(ColorDatabaseFile, ForeignFilesAreRejected)
{
    using Status = IMPN_ColorDatabaseFile::Status;
    // Version 1 alone does not make a colour database, nor does the magic with another version.
    EXPECT_EQ(IMPN_ColorDatabaseFile::Parse(Bytes().U32(0x46464952).U32(1).U32(1).data).status,
              Status::Rejected);
    EXPECT_EQ(IMPN_ColorDatabaseFile::Parse(Bytes().U32(0x43434442).U32(2).U32(0).data).status,
              Status::Rejected);
    // Shorter than the header.
    EXPECT_EQ(IMPN_ColorDatabaseFile::Parse(Bytes().U32(0x43434442).U32(1).data).status,
              Status::Rejected);
    EXPECT_EQ(IMPN_ColorDatabaseFile::Parse({}).status, Status::Rejected);

    const auto empty = IMPN_ColorDatabaseFile::Parse(Bytes().Header(0).data);
    EXPECT_EQ(empty.status, Status::Complete);
    EXPECT_TRUE(empty.database.Empty());
}

TEST(ColorDatabaseFile, DamagedFilesKeepTheEntriesBeforeTheDamage)
{
    using Status = IMPN_ColorDatabaseFile::Status;
    const Bytes good = Bytes().Header(2).RGBEntry("One", 1, 2, 3);
    struct Case
    {
        const char* what;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<Case> cases;
    cases.push_back({"ends after the first entry", good.data});
    cases.push_back({"ends inside the name length", Bytes(good).U32(7).data});
    cases.back().bytes.resize(cases.back().bytes.size() - 2);
    cases.push_back({"name longer than the file", Bytes(good).U32(0xFFFFFFF0).data});
    cases.push_back({"negative name length", Bytes(good).U32(0x80000000).Text("x").data});
    cases.push_back({"unknown space", Bytes(good).Text("Two").U32(3).Real(1).Real(2).Real(3).data});
    cases.push_back({"ends inside the values", Bytes(good).Text("Two").U32(15360).Real(1).data});
    cases.push_back({"NaN value", Bytes(good).RGBEntry("Two", 1, std::nan(""), 3).data});
    cases.push_back(
        {"NaN in Lab", Bytes(good).Text("Two").U32(224).Real(std::nan("")).Real(0).Real(0).data});

    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        const auto result = IMPN_ColorDatabaseFile::Parse(c.bytes);
        EXPECT_EQ(result.status, Status::Incomplete);
        EXPECT_TRUE(result.Accepted());
        EXPECT_EQ(result.entriesRead, 1u);
        ASSERT_EQ(result.database.Size(), 1u);
        EXPECT_TRUE(result.database.Contains("one"));
        EXPECT_FALSE(result.problem.empty());
    }
}

TEST(ColorDatabaseFile, HugeCountCostsNoMoreThanTheFile)
{
    // Four billion entries announced, two present: the reader must neither reserve nor loop on.
    const auto bytes =
        Bytes().Header(0xFFFFFFFF).RGBEntry("a", 1, 1, 1).RGBEntry("b", 2, 2, 2).data;
    const auto result = IMPN_ColorDatabaseFile::Parse(bytes);
    EXPECT_EQ(result.status, IMPN_ColorDatabaseFile::Status::Incomplete);
    EXPECT_EQ(result.announcedCount, 0xFFFFFFFFu);
    EXPECT_EQ(result.database.Size(), 2u);
}

TEST(ColorDatabaseFile, ExtraBytesAfterTheEntriesAreIgnored)
{
    auto bytes = Bytes().Header(1).RGBEntry("a", 1, 1, 1).U32(0xDEADBEEF).data;
    const auto result = IMPN_ColorDatabaseFile::Parse(bytes);
    EXPECT_EQ(result.status, IMPN_ColorDatabaseFile::Status::Complete);
    EXPECT_EQ(result.database.Size(), 1u);
}

TEST(ColorDatabaseFile, FileRoundTripAndFailures)
{
    const auto folder = ScratchFolder("roundtrip");
    const auto path = folder / "Custom.colordb";
    EXPECT_EQ(IMPN_ColorDatabaseFile::Read(path).status, IMPN_ColorDatabaseFile::Status::Missing);

    const IMPN_ColorDatabase db = MixedDatabase();
    IMPN_ColorDatabaseFile::Write(path, db);
    auto result = IMPN_ColorDatabaseFile::Read(path);
    EXPECT_EQ(result.status, IMPN_ColorDatabaseFile::Status::Complete);
    EXPECT_EQ(result.database, db);

    // Rewriting replaces the file and leaves no temporary behind.
    IMPN_ColorDatabase smaller;
    smaller.Set("Only", IMPN_ColorEntry::FromCMYKPercent(0, 0, 0, 100));
    IMPN_ColorDatabaseFile::Write(path, smaller);
    EXPECT_EQ(IMPN_ColorDatabaseFile::Read(path).database, smaller);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                            std::filesystem::directory_iterator()),
              1);

    // A folder is not a database.
    EXPECT_EQ(IMPN_ColorDatabaseFile::Read(folder).status,
              IMPN_ColorDatabaseFile::Status::Unreadable);
    // A missing folder is reported and nothing is created.
    EXPECT_THROW(IMPN_ColorDatabaseFile::Write(folder / "no" / "such" / "x.colordb", db),
                 std::system_error);
    EXPECT_FALSE(std::filesystem::exists(folder / "no"));
}
