#include "WKRN/preferences/WKRN_Preferences.h"

#include "GFIL/GFIL_SafeSave.h"
#include "IMPN/IMPN_InkZones.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QVariant>

#include <algorithm>
#include <array>
#include <cerrno>
#include <system_error>

namespace
{
QString Name(const char* preference)
{
    return QStringLiteral("WKRN_") + QLatin1String(preference);
}

// A binary value of exactly the given size, or nothing. The registry version read at most the
// stored size; bytes of another size are taken for a foreign value and ignored.
bool ReadBytes(const WKRN_PreferenceLookup& store, const char* preference, qsizetype size,
               QByteArray& out)
{
    const QVariant value = store(Name(preference));
    if (!value.isValid() || value.typeId() != QMetaType::QByteArray)
        return false;
    const QByteArray bytes = value.toByteArray();
    if (bytes.size() != size)
        return false;
    out = bytes;
    return true;
}

void ReadColor(const WKRN_PreferenceLookup& store, const char* preference, WKRN_ColorBytes& color)
{
    QByteArray bytes;
    if (!ReadBytes(store, preference, 3, bytes))
        return;
    color.blue = static_cast<std::uint8_t>(bytes[0]);
    color.green = static_cast<std::uint8_t>(bytes[1]);
    color.red = static_cast<std::uint8_t>(bytes[2]);
}

void ReadNavigationColor(const WKRN_PreferenceLookup& store, const char* preference,
                         WKRN_NavigationColor& color)
{
    QByteArray bytes;
    if (!ReadBytes(store, preference, 4, bytes))
        return;
    // An opacity beyond 100 percent cannot be drawn; keep the default rather than guess.
    if (static_cast<std::uint8_t>(bytes[3]) > 100)
        return;
    color.blue = static_cast<std::uint8_t>(bytes[0]);
    color.green = static_cast<std::uint8_t>(bytes[1]);
    color.red = static_cast<std::uint8_t>(bytes[2]);
    color.opacity = static_cast<std::uint8_t>(bytes[3]);
}

void ReadBool(const WKRN_PreferenceLookup& store, const char* preference, bool& flag)
{
    QByteArray bytes;
    if (ReadBytes(store, preference, 1, bytes))
        flag = bytes[0] != 0;
}

// Integers index tables (units) or set slider positions (precisions); a value outside the range
// would index past the table, so it is ignored like a value of the wrong size.
void ReadInt(const WKRN_PreferenceLookup& store, const char* preference, std::int32_t low,
             std::int32_t high, std::int32_t& number)
{
    QByteArray bytes;
    if (!ReadBytes(store, preference, 4, bytes))
        return;
    const std::uint32_t raw =
        std::uint32_t(std::uint8_t(bytes[0])) | std::uint32_t(std::uint8_t(bytes[1])) << 8 |
        std::uint32_t(std::uint8_t(bytes[2])) << 16 | std::uint32_t(std::uint8_t(bytes[3])) << 24;
    const auto value = static_cast<std::int32_t>(raw);
    if (value < low || value > high)
        return;
    number = value;
}

// A memory size is read by the same rules as other integers, except that a positive number out
// of range is taken to the nearer end of the range: a budget too small or too large for this
// machine still says which way the user leant, where a table index out of range says nothing.
void ReadMemory(const WKRN_PreferenceLookup& store, const char* preference, std::int32_t low,
                std::int32_t high, std::int32_t& number)
{
    std::int32_t value = 0;
    ReadInt(store, preference, 1, INT32_MAX, value);
    if (value > 0)
        number = std::clamp(value, low, high);
}

// A measure whose range is a matter of degree (a limit, an area): out of range it is taken to
// the nearer end, as a user who typed it past the end meant.
void ReadClamped(const WKRN_PreferenceLookup& store, const char* preference, std::int32_t low,
                 std::int32_t high, std::int32_t& number)
{
    std::int32_t value = 0;
    QByteArray bytes;
    if (!ReadBytes(store, preference, 4, bytes))
        return;
    ReadInt(store, preference, INT32_MIN, INT32_MAX, value);
    number = std::clamp(value, low, high);
}

// The zone presets: lines of name, width and count; lines that are not three fields of which the
// last two are numbers are dropped, numbers out of range taken to the nearer end.
void ReadZonePresets(const WKRN_PreferenceLookup& store, const char* preference,
                     std::vector<WKRN_ZonePreset>& presets)
{
    const QVariant value = store(Name(preference));
    if (!value.isValid() || value.typeId() != QMetaType::QString)
        return;
    std::vector<WKRN_ZonePreset> read;
    for (const QString& line : value.toString().split(QLatin1Char('\n'), Qt::SkipEmptyParts))
    {
        const QStringList fields = line.split(QLatin1Char('\t'));
        bool widthOk = false, countOk = false;
        const qlonglong width = fields.size() == 3 ? fields[1].toLongLong(&widthOk) : 0;
        const qlonglong count = fields.size() == 3 ? fields[2].toLongLong(&countOk) : 0;
        if (!widthOk || !countOk || read.size() >= std::size_t(WKRN_Preferences::kMaxZonePresets))
            continue;
        WKRN_ZonePreset preset;
        preset.name = fields[0].trimmed().left(WKRN_Preferences::kMaxZonePresetName);
        preset.width = std::int32_t(
            std::clamp<qlonglong>(width, IMPN_InkZones::kMinWidth, IMPN_InkZones::kMaxWidth));
        preset.count =
            std::int32_t(std::clamp<qlonglong>(count, 1, qlonglong(IMPN_InkZones::kMaxZones)));
        read.push_back(preset);
    }
    presets = std::move(read);
}

QString ZonePresetsText(const std::vector<WKRN_ZonePreset>& presets)
{
    QStringList lines;
    for (const WKRN_ZonePreset& preset : presets)
    {
        QString name = preset.name;
        name.replace(QLatin1Char('\t'), QLatin1Char(' '))
            .replace(QLatin1Char('\n'), QLatin1Char(' '));
        lines << name + QLatin1Char('\t') + QString::number(preset.width) + QLatin1Char('\t') +
                     QString::number(preset.count);
    }
    return lines.join(QLatin1Char('\n'));
}

void ReadPath(const WKRN_PreferenceLookup& store, const char* preference, QString& path)
{
    const QVariant value = store(Name(preference));
    if (!value.isValid() || value.typeId() != QMetaType::QString)
        return;
    const QString text = value.toString();
    if (text.size() > WKRN_Preferences::kMaxPathCharacters)
        return;
    path = text;
}

QByteArray ColorBytes(const WKRN_ColorBytes& color)
{
    const std::array<char, 3> bytes{char(color.blue), char(color.green), char(color.red)};
    return QByteArray(bytes.data(), 3);
}

QByteArray NavigationBytes(const WKRN_NavigationColor& color)
{
    const std::array<char, 4> bytes{char(color.blue), char(color.green), char(color.red),
                                    char(color.opacity)};
    return QByteArray(bytes.data(), 4);
}

QByteArray BoolBytes(bool flag)
{
    return QByteArray(1, flag ? char(1) : char(0));
}

QByteArray IntBytes(std::int32_t number)
{
    const auto raw = static_cast<std::uint32_t>(number);
    const std::array<char, 4> bytes{char(raw & 0xFF), char((raw >> 8) & 0xFF),
                                    char((raw >> 16) & 0xFF), char((raw >> 24) & 0xFF)};
    return QByteArray(bytes.data(), 4);
}
} // namespace

WKRN_PreferenceValues& WKRN_Preferences::Current()
{
    static WKRN_PreferenceValues values;
    return values;
}

QString WKRN_Preferences::DefaultStorePath()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/Quor/Varnex.conf");
}

WKRN_PreferenceValues WKRN_Preferences::Read(const QString& path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return WKRN_PreferenceValues();
    QSettings store(path, QSettings::IniFormat);
    if (store.status() != QSettings::NoError)
        return WKRN_PreferenceValues();
    store.beginGroup(QLatin1String(kGroup));
    return Decode([&](const QString& name) { return store.value(name); });
}

WKRN_PreferenceValues WKRN_Preferences::Decode(const WKRN_PreferenceLookup& store)
{
    WKRN_PreferenceValues values;
    ReadColor(store, "PageEdgeColor", values.PageEdgeColor);
    ReadColor(store, "BleedEdgeColor", values.BleedEdgeColor);
    ReadColor(store, "PressSheetEdgeColor", values.PressSheetEdgeColor);
    ReadBool(store, "ShowImpositionOnOpen", values.ShowImpositionOnOpen);
    ReadColor(store, "DefaultSpotColor", values.DefaultSpotColor);
    ReadColor(store, "DefaultSurfaceColor", values.DefaultSurfaceColor);
    ReadNavigationColor(store, "NavigationFrame", values.NavigationFrame);
    ReadNavigationColor(store, "NavigationScreen", values.NavigationScreen);
    ReadBool(store, "ZoomToFitWindowOnOpen", values.ZoomToFitWindowOnOpen);
    ReadInt(store, "PreferredLinearUnits", 0, kUnitCount - 1, values.PreferredLinearUnits);
    ReadInt(store, "LinearUnitPrecision", 0, kMaxPrecision, values.LinearUnitPrecision);
    ReadInt(store, "AngularUnitPrecision", 0, kMaxPrecision, values.AngularUnitPrecision);
    ReadPath(store, "PreviousFolderPath", values.PreviousFolderPath);
    ReadBool(store, "ShowEntireImpositionTree", values.ShowEntireImpositionTree);
    ReadBool(store, "ShowTileBoundaries", values.ShowTileBoundaries);
    // Values beyond the fifteen of the key live in a group of their own, so that the key keeps
    // exactly its fifteen values for every program that reads it.
    const WKRN_PreferenceLookup coverage = [&store](const QString& name)
    { return store(QLatin1String(kCoverageGroup) + QLatin1Char('/') + name); };
    ReadInt(coverage, "DensitometerAperture", kMinAperture, kMaxAperture,
            values.DensitometerAperture);
    ReadClamped(coverage, "InkLimit", 1, kMaxInkLimit, values.InkLimit);
    ReadClamped(coverage, "InkLimitArea", kMinInkLimitArea, kMaxInkLimitArea, values.InkLimitArea);
    ReadZonePresets(coverage, "ZonePresets", values.ZonePresets);
    const WKRN_PreferenceLookup rendering = [&store](const QString& name)
    { return store(QLatin1String(kRenderingGroup) + QLatin1Char('/') + name); };
    ReadMemory(rendering, "TileMemory", kMinTileMemory, kMaxTileMemory, values.TileMemory);
    ReadInt(rendering, "RenderThreads", 0, kMaxRenderThreads, values.RenderThreads);
    const WKRN_PreferenceLookup compare = [&store](const QString& name)
    { return store(QLatin1String(kCompareGroup) + QLatin1Char('/') + name); };
    ReadColor(compare, "AddedColor", values.CompareAddedColor);
    ReadColor(compare, "RemovedColor", values.CompareRemovedColor);
    const WKRN_PreferenceLookup exports = [&store](const QString& name)
    { return store(QLatin1String(kExportGroup) + QLatin1Char('/') + name); };
    ReadPath(exports, "InkPresettingFolder", values.InkPresettingFolder);
    return values;
}

namespace
{
// The whole content of `from` into a new file at `to`.
bool CopyBytes(QFile& from, const QString& to)
{
    if (!from.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = from.readAll();
    QFile copy(to);
    return from.error() == QFileDevice::NoError && copy.open(QIODevice::WriteOnly) &&
           copy.write(bytes) == bytes.size() && copy.flush();
}

// Every value into the store at `path` (whose other entries are kept); the store's status.
QSettings::Status WriteValues(const WKRN_PreferenceValues& values, const QString& path)
{
    QSettings store(path, QSettings::IniFormat);
    store.beginGroup(QLatin1String(WKRN_Preferences::kGroup));
    store.setValue(Name("PageEdgeColor"), ColorBytes(values.PageEdgeColor));
    store.setValue(Name("BleedEdgeColor"), ColorBytes(values.BleedEdgeColor));
    store.setValue(Name("PressSheetEdgeColor"), ColorBytes(values.PressSheetEdgeColor));
    store.setValue(Name("ShowImpositionOnOpen"), BoolBytes(values.ShowImpositionOnOpen));
    store.setValue(Name("DefaultSpotColor"), ColorBytes(values.DefaultSpotColor));
    store.setValue(Name("DefaultSurfaceColor"), ColorBytes(values.DefaultSurfaceColor));
    store.setValue(Name("NavigationFrame"), NavigationBytes(values.NavigationFrame));
    store.setValue(Name("NavigationScreen"), NavigationBytes(values.NavigationScreen));
    store.setValue(Name("ZoomToFitWindowOnOpen"), BoolBytes(values.ZoomToFitWindowOnOpen));
    store.setValue(Name("PreferredLinearUnits"), IntBytes(values.PreferredLinearUnits));
    store.setValue(Name("LinearUnitPrecision"), IntBytes(values.LinearUnitPrecision));
    store.setValue(Name("AngularUnitPrecision"), IntBytes(values.AngularUnitPrecision));
    store.setValue(Name("PreviousFolderPath"), values.PreviousFolderPath);
    store.setValue(Name("ShowEntireImpositionTree"), BoolBytes(values.ShowEntireImpositionTree));
    store.setValue(Name("ShowTileBoundaries"), BoolBytes(values.ShowTileBoundaries));
    store.beginGroup(QLatin1String(WKRN_Preferences::kCoverageGroup));
    store.setValue(Name("DensitometerAperture"), IntBytes(values.DensitometerAperture));
    store.setValue(Name("InkLimit"), IntBytes(values.InkLimit));
    store.setValue(Name("InkLimitArea"), IntBytes(values.InkLimitArea));
    store.setValue(Name("ZonePresets"), ZonePresetsText(values.ZonePresets));
    store.endGroup();
    store.beginGroup(QLatin1String(WKRN_Preferences::kRenderingGroup));
    store.setValue(Name("TileMemory"), IntBytes(values.TileMemory));
    store.setValue(Name("RenderThreads"), IntBytes(values.RenderThreads));
    store.endGroup();
    store.beginGroup(QLatin1String(WKRN_Preferences::kCompareGroup));
    store.setValue(Name("AddedColor"), ColorBytes(values.CompareAddedColor));
    store.setValue(Name("RemovedColor"), ColorBytes(values.CompareRemovedColor));
    store.beginGroup(QLatin1String(WKRN_Preferences::kExportGroup));
    store.setValue(Name("InkPresettingFolder"), values.InkPresettingFolder);
    store.endGroup();
    store.endGroup();
    store.sync();
    return store.status();
}
} // namespace

bool WKRN_Preferences::Write(const WKRN_PreferenceValues& values, const QString& path,
                             QString* problem)
{
    if (path.isEmpty())
        return false;
    QDir().mkpath(QFileInfo(path).absolutePath());
    const std::string native = QFile::encodeName(path).toStdString();
    const std::string failure = "Cannot write the preferences \"" + native + "\"";
    try
    {
        // QSettings replaces the file it writes, which would take it from under the save's lock
        // (and leave its own temporaries beside the store to a kill). So it writes a scratch copy
        // in a private folder of the temporary folder, seeded with the old store so that entries
        // of others survive, and the bytes go into the store the safe way.
        const QTemporaryDir scratch;
        if (!scratch.isValid())
            throw std::system_error(
                EIO, std::generic_category(),
                failure + ": no scratch folder: " + scratch.errorString().toStdString());
        const QString staged = scratch.filePath(QStringLiteral("store.conf"));
        QFile old(QFile::decodeName(GFIL_SafeSave::ResolveTarget(native).c_str()));
        if (old.exists() && !CopyBytes(old, staged))
            throw std::system_error(EACCES, std::generic_category(),
                                    failure + ": the present file cannot be read");
        if (WriteValues(values, staged) != QSettings::NoError)
            throw std::system_error(EIO, std::generic_category(), failure);
        QFile written(staged);
        if (!written.open(QIODevice::ReadOnly))
            throw std::system_error(EIO, std::generic_category(), failure);
        const QByteArray bytes = written.readAll();
        GFIL_SafeSave::ReplaceWith(native, bytes.constData(), std::size_t(bytes.size()), failure);
    }
    catch (const std::system_error& error)
    {
        if (problem != nullptr)
            *problem = QString::fromLocal8Bit(error.what());
        return false;
    }
    return true;
}

namespace
{
QString& RunStorePath()
{
    static QString path;
    return path;
}
} // namespace

QString WKRN_Preferences::StorePath()
{
    return RunStorePath();
}

void WKRN_Preferences::SetStorePath(const QString& path)
{
    RunStorePath() = path;
}

void WKRN_Preferences::ReadPreferences(const QString& path)
{
    RunStorePath() = path;
    Current() = Read(path);
    // The first start creates the store, as the registry key is created when missing.
    if (!path.isEmpty() && !QFileInfo::exists(path))
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile store(path);
        if (store.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            store.close();
    }
}

QString WKRN_Preferences::WritePreferences()
{
    const QString path = StorePath();
    return path.isEmpty() ? QString() : WritePreferences(path);
}

QString WKRN_Preferences::WritePreferences(const QString& path)
{
    QString problem;
    Write(Current(), path, &problem);
    return problem;
}
