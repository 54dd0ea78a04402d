#include "WKRN_TestSupport.h"

#include "WKRN/preferences/WKRN_Preferences.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace
{
QString Key(const char* name)
{
    return QStringLiteral("Software/Quor/Varnex/WKRN_") + QLatin1String(name);
}

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int v : values)
        bytes.append(static_cast<char>(v));
    return bytes;
}

void Store(const QString& path, const char* name, const QVariant& value)
{
    QSettings store(path, QSettings::IniFormat);
    store.setValue(Key(name), value);
    store.sync();
}
} // namespace

TEST(WKRN_Preferences, Defaults_AreTheDocumentedValues)
{
    const WKRN_PreferenceValues d;
    EXPECT_EQ(d.PageEdgeColor, (WKRN_ColorBytes{255, 0, 0})); // blue, as B, G, R
    EXPECT_EQ(d.BleedEdgeColor, (WKRN_ColorBytes{0, 0, 255}));
    EXPECT_EQ(d.PressSheetEdgeColor, (WKRN_ColorBytes{0, 255, 0}));
    EXPECT_FALSE(d.ShowImpositionOnOpen);
    EXPECT_EQ(d.DefaultSpotColor, (WKRN_ColorBytes{153, 153, 153}));
    EXPECT_EQ(d.DefaultSurfaceColor, (WKRN_ColorBytes{255, 255, 255}));
    EXPECT_EQ(d.NavigationFrame, (WKRN_NavigationColor{0, 255, 255, 100})); // yellow
    EXPECT_EQ(d.NavigationScreen, (WKRN_NavigationColor{255, 255, 255, 60}));
    EXPECT_FALSE(d.ZoomToFitWindowOnOpen);
    EXPECT_EQ(d.PreferredLinearUnits, 0);
    EXPECT_EQ(d.LinearUnitPrecision, 2);
    EXPECT_EQ(d.AngularUnitPrecision, 1);
    EXPECT_TRUE(d.PreviousFolderPath.isEmpty());
    EXPECT_FALSE(d.ShowEntireImpositionTree);
    EXPECT_FALSE(d.ShowTileBoundaries);
}

TEST(WKRN_Preferences, FirstStart_UsesDefaultsAndCreatesTheStore_QuitWritesAllFifteen)
{
    WKRN_TestFolder folder;
    const QString path = folder.File("config/Quor/Varnex.conf");
    WKRN_Preferences::Current().LinearUnitPrecision = 5; // left over from elsewhere
    WKRN_Preferences::ReadPreferences(path);
    EXPECT_EQ(WKRN_Preferences::Current(), WKRN_PreferenceValues());
    EXPECT_TRUE(QFileInfo(path).isFile());

    WKRN_Preferences::WritePreferences(path);
    QSettings store(path, QSettings::IniFormat);
    store.beginGroup(QStringLiteral("Software/Quor/Varnex"));
    EXPECT_EQ(store.childKeys().size(), 15);
    for (const QString& key : store.childKeys())
        EXPECT_TRUE(key.startsWith(QStringLiteral("WKRN_"))) << key.toStdString();
}

TEST(WKRN_Preferences, Write_UsesTheDocumentedSizesAndByteOrders)
{
    WKRN_TestFolder folder;
    const QString path = folder.File("Varnex.conf");
    WKRN_PreferenceValues v;
    v.PageEdgeColor = {1, 2, 3};
    v.NavigationFrame = {10, 20, 30, 55};
    v.ShowTileBoundaries = true;
    v.LinearUnitPrecision = 6;
    v.PreferredLinearUnits = 3;
    v.PreviousFolderPath = QStringLiteral("/jobs/brochure");
    ASSERT_TRUE(WKRN_Preferences::Write(v, path));

    QSettings store(path, QSettings::IniFormat);
    EXPECT_EQ(store.value(Key("PageEdgeColor")).toByteArray(), Bytes({1, 2, 3}));
    EXPECT_EQ(store.value(Key("NavigationFrame")).toByteArray(), Bytes({10, 20, 30, 55}));
    EXPECT_EQ(store.value(Key("ShowTileBoundaries")).toByteArray(), Bytes({1}));
    EXPECT_EQ(store.value(Key("ShowImpositionOnOpen")).toByteArray(), Bytes({0}));
    EXPECT_EQ(store.value(Key("PreferredLinearUnits")).toByteArray(), Bytes({3, 0, 0, 0}));
    EXPECT_EQ(store.value(Key("AngularUnitPrecision")).toByteArray(), Bytes({1, 0, 0, 0}));
    EXPECT_EQ(store.value(Key("LinearUnitPrecision")).toByteArray(), Bytes({6, 0, 0, 0}));
    EXPECT_EQ(store.value(Key("PreviousFolderPath")).typeId(), QMetaType::QString);
    EXPECT_EQ(store.value(Key("PreviousFolderPath")).toString(), QStringLiteral("/jobs/brochure"));
}

TEST(WKRN_Preferences, WriteThenRead_GivesEveryValueBack)
{
    WKRN_TestFolder folder;
    const QString path = folder.File("Varnex.conf");
    WKRN_PreferenceValues v;
    v.PageEdgeColor = {9, 8, 7};
    v.BleedEdgeColor = {6, 5, 4};
    v.PressSheetEdgeColor = {3, 2, 1};
    v.ShowImpositionOnOpen = true;
    v.DefaultSpotColor = {11, 12, 13};
    v.DefaultSurfaceColor = {240, 250, 255};
    v.NavigationFrame = {1, 2, 3, 25};
    v.NavigationScreen = {4, 5, 6, 0};
    v.ZoomToFitWindowOnOpen = true;
    v.PreferredLinearUnits = 4;
    v.LinearUnitPrecision = 6;
    v.AngularUnitPrecision = 0;
    v.PreviousFolderPath = QStringLiteral("/jobs/Übersicht 2");
    v.ShowEntireImpositionTree = true;
    v.ShowTileBoundaries = true;
    v.RenderThreads = 3;
    v.CompareAddedColor = {21, 22, 23};
    v.CompareRemovedColor = {24, 25, 26};
    ASSERT_TRUE(WKRN_Preferences::Write(v, path));
    EXPECT_EQ(WKRN_Preferences::Read(path), v);
}

TEST(WKRN_Preferences, RenderThreadsOutOfRange_KeepsOnePerCore)
{
    WKRN_TestFolder folder;
    const QString path = folder.File("Varnex.conf");
    const QString key = QStringLiteral("Software/Quor/Varnex/Rendering/WKRN_RenderThreads");
    for (const QByteArray& bytes : {Bytes({65, 0, 0, 0}), Bytes({0xFF, 0xFF, 0xFF, 0xFF})})
    {
        {
            QSettings store(path, QSettings::IniFormat);
            store.setValue(key, bytes);
        }
        EXPECT_EQ(WKRN_Preferences::Read(path).RenderThreads, 0);
    }
    {
        QSettings store(path, QSettings::IniFormat);
        store.setValue(key, Bytes({64, 0, 0, 0}));
    }
    EXPECT_EQ(WKRN_Preferences::Read(path).RenderThreads, 64);
}

TEST(WKRN_Preferences, ValuesOfTheWrongTypeOrSize_AreIgnored)
{
    WKRN_TestFolder folder;
    const QString path = folder.File("Varnex.conf");
    // A path stored as bytes, colours of the wrong size, an integer as text, a boolean of two
    // bytes: each keeps its default.
    Store(path, "PreviousFolderPath", QByteArray("/jobs/x"));
    Store(path, "PageEdgeColor", Bytes({1, 2, 3, 4}));
    Store(path, "BleedEdgeColor", Bytes({1, 2}));
    Store(path, "NavigationFrame", Bytes({1, 2, 3}));
    Store(path, "LinearUnitPrecision", QStringLiteral("4"));
    Store(path, "ShowImpositionOnOpen", Bytes({1, 0}));
    Store(path, "ShowTileBoundaries", QStringLiteral("true"));
    // One well-formed value among them is still read.
    Store(path, "PressSheetEdgeColor", Bytes({7, 7, 7}));

    const WKRN_PreferenceValues read = WKRN_Preferences::Read(path);
    WKRN_PreferenceValues expected;
    expected.PressSheetEdgeColor = {7, 7, 7};
    EXPECT_EQ(read, expected);
}

TEST(WKRN_Preferences, OutOfRangeValues_AreIgnored)
{
    WKRN_TestFolder folder;
    const QString path = folder.File("Varnex.conf");
    Store(path, "PreferredLinearUnits", Bytes({5, 0, 0, 0}));            // five units: 0..4
    Store(path, "LinearUnitPrecision", Bytes({0xFF, 0xFF, 0xFF, 0xFF})); // -1
    Store(path, "AngularUnitPrecision", Bytes({7, 0, 0, 0}));
    Store(path, "NavigationScreen", Bytes({1, 2, 3, 101}));
    Store(path, "PreviousFolderPath", QString(1025, QLatin1Char('a')));
    EXPECT_EQ(WKRN_Preferences::Read(path), WKRN_PreferenceValues());

    // The limits themselves are accepted.
    Store(path, "PreferredLinearUnits", Bytes({4, 0, 0, 0}));
    Store(path, "AngularUnitPrecision", Bytes({6, 0, 0, 0}));
    Store(path, "PreviousFolderPath", QString(1024, QLatin1Char('a')));
    const WKRN_PreferenceValues read = WKRN_Preferences::Read(path);
    EXPECT_EQ(read.PreferredLinearUnits, 4);
    EXPECT_EQ(read.AngularUnitPrecision, 6);
    EXPECT_EQ(read.PreviousFolderPath.size(), 1024);
}

// The tile memory lives in a group of its own; a positive number out of range is taken to the
// nearer end, anything else that is odd leaves the default.
TEST(WKRN_Preferences, TileMemory_IsClampedWhenOutOfRangeAndFallsBackWhenOdd)
{
    WKRN_TestFolder folder;
    const QString path = folder.File("Varnex.conf");
    const WKRN_PreferenceValues defaults;
    auto read = [&path](const QVariant& value)
    {
        {
            QSettings store(path, QSettings::IniFormat);
            store.setValue(QStringLiteral("Software/Quor/Varnex/Rendering/WKRN_TileMemory"), value);
        }
        return WKRN_Preferences::Read(path).TileMemory;
    };
    EXPECT_EQ(read(Bytes({0, 2, 0, 0})), 512);
    EXPECT_EQ(read(Bytes({1, 0, 0, 0})), WKRN_Preferences::kMinTileMemory);
    EXPECT_EQ(read(Bytes({0xFF, 0xFF, 0xFF, 0x7F})), WKRN_Preferences::kMaxTileMemory);
    for (const QVariant& odd :
         {QVariant(Bytes({0, 0, 0, 0})), QVariant(Bytes({0xFF, 0xFF, 0xFF, 0xFF})),
          QVariant(Bytes({0, 2, 0})), QVariant(QStringLiteral("512")),
          QVariant(Bytes({0, 0, 0, 0x80}))})
        EXPECT_EQ(read(odd), defaults.TileMemory) << odd.toByteArray().toHex().toStdString();

    WKRN_PreferenceValues v;
    v.TileMemory = 1024;
    ASSERT_TRUE(WKRN_Preferences::Write(v, path));
    EXPECT_EQ(WKRN_Preferences::Read(path), v);
    QSettings store(path, QSettings::IniFormat);
    EXPECT_EQ(
        store.value(QStringLiteral("Software/Quor/Varnex/Rendering/WKRN_TileMemory")).toByteArray(),
        Bytes({0, 4, 0, 0}));
}

// The ink limit and its measuring area are taken to the nearer end of their ranges; the zone
// presets keep the lines they can read, their numbers taken into range.
TEST(WKRN_Preferences, InkLimitAreaAndZonePresets_AreTakenIntoRange)
{
    WKRN_TestFolder folder;
    const QString path = folder.File("Varnex.conf");
    const auto read = [&path](const char* name, const QVariant& value)
    {
        {
            QSettings store(path, QSettings::IniFormat);
            store.setValue(QStringLiteral("Software/Quor/Varnex/InkCoverage/WKRN_") +
                               QLatin1String(name),
                           value);
        }
        return WKRN_Preferences::Read(path);
    };
    const WKRN_PreferenceValues defaults;
    EXPECT_EQ(defaults.InkLimitArea, 500);
    EXPECT_EQ(read("InkLimitArea", Bytes({0xE8, 0x03, 0, 0})).InkLimitArea, 1000);
    EXPECT_EQ(read("InkLimitArea", Bytes({10, 0, 0, 0})).InkLimitArea, 100);
    EXPECT_EQ(read("InkLimitArea", Bytes({0xFF, 0xFF, 0xFF, 0xFF})).InkLimitArea, 100);
    EXPECT_EQ(read("InkLimitArea", Bytes({0, 0, 1, 0})).InkLimitArea, 5000);
    EXPECT_EQ(read("InkLimitArea", Bytes({0, 0})).InkLimitArea, 500);
    EXPECT_EQ(read("InkLimit", Bytes({0x10, 0x27, 0, 0})).InkLimit, 1600);

    const std::vector<WKRN_ZonePreset> presets =
        read("ZonePresets", QStringLiteral("Big press\t32500\t32\n"
                                           "broken line\n"
                                           "\t1\t99999\n"
                                           "Wide\t9999999\t0\n"
                                           "Bad\tx\t2"))
            .ZonePresets;
    EXPECT_EQ(presets, (std::vector<WKRN_ZonePreset>{{QStringLiteral("Big press"), 32500, 32},
                                                     {QString(), 1000, 1024},
                                                     {QStringLiteral("Wide"), 1000000, 1}}));
    EXPECT_TRUE(read("ZonePresets", QStringLiteral("")).ZonePresets.empty());
    EXPECT_EQ(read("ZonePresets", Bytes({1, 2})).ZonePresets, defaults.ZonePresets);

    WKRN_PreferenceValues v;
    v.InkLimitArea = 1234;
    v.ZonePresets = {{QStringLiteral("Tab\tin name"), 30000, 23}, {QString(), 32500, 32}};
    ASSERT_TRUE(WKRN_Preferences::Write(v, path));
    const WKRN_PreferenceValues back = WKRN_Preferences::Read(path);
    EXPECT_EQ(back.InkLimitArea, 1234);
    EXPECT_EQ(back.ZonePresets,
              (std::vector<WKRN_ZonePreset>{{QStringLiteral("Tab in name"), 30000, 23},
                                            {QString(), 32500, 32}}));
}

TEST(WKRN_Preferences, BrokenOrMissingStore_KeepsDefaults)
{
    WKRN_TestFolder folder;
    EXPECT_EQ(WKRN_Preferences::Read(folder.File("none.conf")), WKRN_PreferenceValues());
    const QString garbage = folder.File("garbage.conf");
    QFile file(garbage);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\x01\x02[[[\n=\xff\xfe\nWKRN_PageEdgeColor=@ByteArray(\\x1)\n");
    file.close();
    EXPECT_EQ(WKRN_Preferences::Read(garbage), WKRN_PreferenceValues());
    // A folder where the file should be cannot be written and changes nothing.
    EXPECT_FALSE(WKRN_Preferences::Write(WKRN_PreferenceValues(),
                                         QString::fromStdString(folder.Path().string())));
}

namespace
{
WKRN_PreferenceValues Alternative(int i)
{
    WKRN_PreferenceValues v;
    v.PageEdgeColor = {std::uint8_t(i), 2, 3};
    v.PreferredLinearUnits = i % 5;
    v.PreviousFolderPath = QStringLiteral("/jobs/%1").arg(i);
    return v;
}
} // namespace

TEST(WKRN_Preferences, WriteKilledAtAnyMoment_LeavesAWholeStoreAndTheNextWriteCleansUp)
{
    WKRN_TestFolder folder;
    const QString path = folder.File("Varnex.conf");
    // Someone else's entry in the same store survives every write.
    Store(path, "ForeignValue", QStringLiteral("kept"));
    ASSERT_TRUE(WKRN_Preferences::Write(Alternative(0), path));

    // A child writes two sets of values in turn until it is killed, somewhere inside a write.
    // What it leaves in its temporary folder goes with the test's.
    WKRN_TestFolder temporary;
    for (int round = 0; round < 3; ++round)
    {
        const pid_t child = ::fork();
        if (child == 0)
        {
            qputenv("TMPDIR", QFile::encodeName(QString::fromStdString(temporary.Path().string())));
            for (int i = 0;; ++i)
                WKRN_Preferences::Write(Alternative(i % 2), path);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(150 + 70 * round));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);

        const WKRN_PreferenceValues read = WKRN_Preferences::Read(path);
        EXPECT_TRUE(read == Alternative(0) || read == Alternative(1)) << round;
    }

    ASSERT_TRUE(WKRN_Preferences::Write(Alternative(7), path));
    EXPECT_EQ(WKRN_Preferences::Read(path), Alternative(7));
    QSettings store(path, QSettings::IniFormat);
    EXPECT_EQ(store.value(Key("ForeignValue")).toString(), QStringLiteral("kept"));
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        EXPECT_EQ(entry.path().filename().string(), "Varnex.conf");
}

TEST(WKRN_Preferences, Write_KeepsPermissionsAndReplacesTheLinkedFile)
{
    WKRN_TestFolder folder;
    std::filesystem::create_directory(folder.Path() / "dotfiles");
    const std::filesystem::path real = folder.Path() / "dotfiles" / "Varnex.conf";
    ASSERT_TRUE(WKRN_Preferences::Write(Alternative(1), QString::fromStdString(real.string())));
    std::filesystem::permissions(real, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::owner_write);
    const QString link = folder.File("Varnex.conf");
    std::filesystem::create_symlink(real, link.toStdString());

    ASSERT_TRUE(WKRN_Preferences::Write(Alternative(2), link));
    EXPECT_TRUE(std::filesystem::is_symlink(link.toStdString()));
    EXPECT_EQ(WKRN_Preferences::Read(QString::fromStdString(real.string())), Alternative(2));
    EXPECT_EQ(std::filesystem::status(real).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

// A store that cannot be written says so, naming the file and the reason, and whatever was there
// stays as it was: a folder or a link in its place, a link into a folder that does not exist, a
// loop of links, a file where its folder should be, and a disk that takes nothing more.
TEST(WKRN_Preferences, StoreThatCannotBeWritten_SaysWhyAndKeepsWhatWasThere)
{
    WKRN_TestFolder folder;
    namespace fs = std::filesystem;
    const fs::path root = folder.Path();
    fs::create_directory(root / "folder.conf");
    fs::create_symlink("missing/folder/Varnex.conf", root / "dangling.conf");
    fs::create_symlink("loop-b.conf", root / "loop-a.conf");
    fs::create_symlink("loop-a.conf", root / "loop-b.conf");
    std::ofstream(root / "plain") << "a file";
    for (const char* name : {"folder.conf", "dangling.conf", "loop-a.conf", "plain/Varnex.conf"})
    {
        SCOPED_TRACE(name);
        const QString path = QString::fromStdString((root / name).string());
        const QString problem = WKRN_Preferences::WritePreferences(path);
        EXPECT_TRUE(problem.contains(path)) << problem.toStdString();
        EXPECT_TRUE(problem.contains(QStringLiteral("\": "))) << problem.toStdString();
    }
    EXPECT_TRUE(fs::is_directory(root / "folder.conf"));
    EXPECT_TRUE(fs::is_symlink(root / "dangling.conf"));
    EXPECT_TRUE(fs::is_symlink(root / "loop-a.conf"));
    EXPECT_FALSE(fs::exists(root / "missing"));

    // A full disk: no file may grow past a few bytes.
    const QString store = folder.File("Varnex.conf");
    ASSERT_TRUE(WKRN_Preferences::Write(WKRN_PreferenceValues(), store));
    QFile before(store);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray bytes = before.readAll();
    before.close();
    WKRN_PreferenceValues changed;
    changed.LinearUnitPrecision = 5;
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 16;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    QString problem;
    const bool written = WKRN_Preferences::Write(changed, store, &problem);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);
    EXPECT_FALSE(written);
    EXPECT_TRUE(problem.contains(store)) << problem.toStdString();
    QFile after(store);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), bytes);
}
