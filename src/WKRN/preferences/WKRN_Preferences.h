#pragma once
// The fifteen per-user preferences. They live in memory for the run: read once at start-up,
// written when the program quits and whenever a page of the Preferences dialog is applied.
//
// The store is an INI file, group "Software/Quor/Varnex", value names "WKRN_" + the preference
// name. Colours are bytes in the order blue, green, red (navigation colours add an opacity byte in
// percent), integers 32-bit little-endian, booleans one byte, the folder path a string. A value of
// the wrong type or size, or out of its range, is ignored and the default stays; the ink limit
// and its measuring area, out of range, are taken to the nearer end of it. The ink zone presets
// are text, one press a line: name, zone width in micrometres and zone count, tab-separated.

#include <QString>
#include <QVariant>

#include <cstdint>
#include <functional>
#include <vector>

struct WKRN_ColorBytes
{
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    friend bool operator==(const WKRN_ColorBytes&, const WKRN_ColorBytes&) = default;
};

struct WKRN_NavigationColor
{
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    std::uint8_t opacity = 100; // percent
    friend bool operator==(const WKRN_NavigationColor&, const WKRN_NavigationColor&) = default;
};

// One press of the Ink Zones dialog's list: its zone width and number of zones. An empty name
// shows the geometry itself ("32 x 32.5 mm").
struct WKRN_ZonePreset
{
    QString name;
    std::int32_t width = 32500; // micrometres
    std::int32_t count = 32;
    friend bool operator==(const WKRN_ZonePreset&, const WKRN_ZonePreset&) = default;
};

struct WKRN_PreferenceValues
{
    WKRN_ColorBytes PageEdgeColor{255, 0, 0};
    WKRN_ColorBytes BleedEdgeColor{0, 0, 255};
    WKRN_ColorBytes PressSheetEdgeColor{0, 255, 0};
    bool ShowImpositionOnOpen = false;
    WKRN_ColorBytes DefaultSpotColor{153, 153, 153};
    WKRN_ColorBytes DefaultSurfaceColor{255, 255, 255};
    WKRN_NavigationColor NavigationFrame{0, 255, 255, 100};
    WKRN_NavigationColor NavigationScreen{255, 255, 255, 60};
    bool ZoomToFitWindowOnOpen = false;
    std::int32_t PreferredLinearUnits = 0;
    std::int32_t LinearUnitPrecision = 2;
    std::int32_t AngularUnitPrecision = 1;
    QString PreviousFolderPath;
    bool ShowEntireImpositionTree = false;
    bool ShowTileBoundaries = false;
    // Ink coverage: the densitometer's square aperture in micrometres, and the total-ink limit in
    // percent above which the overlay hatches.
    std::int32_t DensitometerAperture = 3000;
    std::int32_t InkLimit = 300;
    // The side of the square measuring area over which the ink limit is taken, in micrometres.
    std::int32_t InkLimitArea = 500;
    // The presses offered by the Ink Zones dialog.
    std::vector<WKRN_ZonePreset> ZonePresets{{QString(), 32500, 32}, {QString(), 30000, 23}};
    // Tile memory: the budget, in MiB, of each shown surface's tiles; past it the
    // least recently used of those not on screen are let go and made again when needed. The
    // default keeps panning a whole 96,000 x 72,000 eight-ink sheet at 1:1 under a gigabyte.
    std::int32_t TileMemory = 256;
    // Rendering: the worker threads that make the sheet view's tiles; 0, the default, gives one
    // per processor core. Read when a job window opens.
    std::int32_t RenderThreads = 0;
    // Comparing versions: the colours of the pixels only the shown version inks (a blue) and
    // only the other version inks (an orange), a pair told apart by every kind of colour vision
    // and on white paper.
    WKRN_ColorBytes CompareAddedColor{255, 90, 0};
    WKRN_ColorBytes CompareRemovedColor{0, 140, 255};
    // Exports: the folder the last ink presetting file went to, where the next save dialog opens.
    QString InkPresettingFolder;

    friend bool operator==(const WKRN_PreferenceValues&, const WKRN_PreferenceValues&) = default;
};

// A stored value by its name; an invalid QVariant when there is none.
using WKRN_PreferenceLookup = std::function<QVariant(const QString& name)>;

class WKRN_Preferences
{
public:
    // The process-wide values; defaults until ReadPreferences runs.
    static WKRN_PreferenceValues& Current();

    // Reads every value from the store at path into Current(), defaults first, and makes path the
    // store of the run. A missing or unreadable store leaves all defaults; the store is created
    // when missing.
    static void ReadPreferences(const QString& path = DefaultStorePath());
    // Writes every value of Current() to the store of the run (quitting and the Preferences
    // dialog alike); nothing without one. Returns why the store could not be written (its path
    // and the reason), empty when it was; the old store is then left as it was.
    static QString WritePreferences();
    // Writes every value of Current() to the store at path; returns as above.
    static QString WritePreferences(const QString& path);

    // The one store of the run: empty until ReadPreferences or SetStorePath names it.
    static QString StorePath();
    static void SetStorePath(const QString& path);

    // The same on explicit values, for the dialog and for tests.
    static WKRN_PreferenceValues Read(const QString& path);
    // The values from a lookup of stored values by name ("WKRN_" + preference), each checked
    // for its type, size and range; anything else keeps its default. Read is this over the store.
    static WKRN_PreferenceValues Decode(const WKRN_PreferenceLookup& value);
    // False, with the path and the reason in `problem`, when the store cannot be written.
    static bool Write(const WKRN_PreferenceValues& values, const QString& path,
                      QString* problem = nullptr);

    // $XDG_CONFIG_HOME/Quor/Varnex.conf (or ~/.config/Quor/Varnex.conf).
    static QString DefaultStorePath();

    static constexpr const char* kGroup = "Software/Quor/Varnex";
    // Inside kGroup: the ink-coverage values.
    static constexpr const char* kCoverageGroup = "InkCoverage";
    static constexpr int kMaxPathCharacters = 1024;
    static constexpr int kUnitCount = 5;
    static constexpr int kMaxPrecision = 6;
    static constexpr int kMinAperture = 50;      // micrometres
    static constexpr int kMaxAperture = 100000;  // 10 cm
    static constexpr int kMaxInkLimit = 1600;    // percent
    static constexpr int kMinInkLimitArea = 100; // micrometres
    static constexpr int kMaxInkLimitArea = 5000;
    // Zone presets kept at most, and the longest name.
    static constexpr int kMaxZonePresets = 64;
    static constexpr int kMaxZonePresetName = 100;
    // Inside kGroup: the rendering values.
    static constexpr const char* kRenderingGroup = "Rendering";
    // Tile memory in MiB (default 256). A stored number out of range is taken to the nearer end;
    // one that is not positive, or a value of the wrong type or size, leaves the default.
    static constexpr int kMinTileMemory = 16;
    static constexpr int kMaxTileMemory = 65536;
    static constexpr int kMaxRenderThreads = 64;
    // Inside kGroup: the colours of the comparison with another version.
    static constexpr const char* kCompareGroup = "Compare";
    // Inside kGroup: the folders exports remember.
    static constexpr const char* kExportGroup = "Export";
};
