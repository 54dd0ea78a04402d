// Fuzz target for the preference store: any bytes as the per-user INI file. Reading must never
// fail, and every value that comes back must be one the viewer can use (the unit index in its
// table, precisions and opacities in range, the folder path within its limit).

#include "WKRN/WKRN_Preferences.h"

#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir folder;
    if (!folder.isValid())
        std::abort();
    const QString path = folder.filePath(QStringLiteral("Varnex.conf"));
    std::FILE* f = std::fopen(path.toLocal8Bit().constData(), "wb");
    if (f == nullptr)
        std::abort();
    if (size > 0 && std::fwrite(data, 1, size, f) != size)
        std::abort();
    std::fclose(f);

    const WKRN_PreferenceValues values = WKRN_Preferences::Read(path);
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
    return 0;
}
