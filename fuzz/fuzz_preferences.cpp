// Fuzz target for the preference store. Inputs that start with "[" are taken as the per-user INI
// file and read through the store; any other input is a list of stored values handed straight to
// the value decoding, so that the fuzzer spends its time in our own type, size and range checks
// rather than in the INI parser. Either way every value that comes back must be one the viewer can
// use (the unit index in its table, precisions and opacities in range, the folder path within its
// limit).
//
// Structured input, repeated: one byte choosing the preference (modulo the fifteen names, or an
// unknown name), one byte choosing the stored type (bytes, text, integer, nothing), one length
// byte, then that many value bytes.

#include "WKRN/preferences/WKRN_Preferences.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>

namespace
{
const char* const kNames[] = {
    "PageEdgeColor",        "BleedEdgeColor",           "PressSheetEdgeColor",
    "ShowImpositionOnOpen", "DefaultSpotColor",         "DefaultSurfaceColor",
    "NavigationFrame",      "NavigationScreen",         "ZoomToFitWindowOnOpen",
    "PreferredLinearUnits", "LinearUnitPrecision",      "AngularUnitPrecision",
    "PreviousFolderPath",   "ShowEntireImpositionTree", "ShowTileBoundaries",
    "UnknownPreference"};

void CheckUsable(const WKRN_PreferenceValues& values)
{
    if (values.PreferredLinearUnits < 0 ||
        values.PreferredLinearUnits >= WKRN_Preferences::kUnitCount)
        std::abort();
    if (values.LinearUnitPrecision < 0 ||
        values.LinearUnitPrecision > WKRN_Preferences::kMaxPrecision)
        std::abort();
    if (values.AngularUnitPrecision < 0 ||
        values.AngularUnitPrecision > WKRN_Preferences::kMaxPrecision)
        std::abort();
    if (values.NavigationFrame.opacity > 100 || values.NavigationScreen.opacity > 100)
        std::abort();
    if (values.PreviousFolderPath.size() > WKRN_Preferences::kMaxPathCharacters)
        std::abort();
}

const QTemporaryDir& Folder()
{
    static QTemporaryDir folder;
    if (!folder.isValid())
        std::abort();
    return folder;
}

void ReadIniFile(const std::uint8_t* data, std::size_t size)
{
    const QString path = Folder().filePath(QStringLiteral("Varnex.conf"));
    std::FILE* f = std::fopen(path.toLocal8Bit().constData(), "wb");
    if (f == nullptr)
        std::abort();
    if (size > 0 && std::fwrite(data, 1, size, f) != size)
        std::abort();
    std::fclose(f);
    CheckUsable(WKRN_Preferences::Read(path));
}

void DecodeValues(const std::uint8_t* data, std::size_t size)
{
    QHash<QString, QVariant> stored;
    std::size_t at = 0;
    while (at + 3 <= size)
    {
        const char* name = kNames[data[at] % std::size(kNames)];
        const unsigned kind = data[at + 1] % 4;
        const std::size_t length = std::min<std::size_t>(data[at + 2], size - at - 3);
        const char* bytes = reinterpret_cast<const char*>(data + at + 3);
        at += 3 + length;
        const QString key = QStringLiteral("WKRN_") + QLatin1String(name);
        switch (kind)
        {
        case 0:
            stored[key] = QByteArray(bytes, qsizetype(length));
            break;
        case 1:
            stored[key] = QString::fromUtf8(bytes, qsizetype(length));
            break;
        case 2:
            stored[key] = QVariant(int(length));
            break;
        default:
            stored.remove(key);
            break;
        }
    }
    const WKRN_PreferenceValues values =
        WKRN_Preferences::Decode([&](const QString& key) { return stored.value(key); });
    CheckUsable(values);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 0 && data[0] == '[')
        ReadIniFile(data, size);
    else
        DecodeValues(data, size);
    return 0;
}
