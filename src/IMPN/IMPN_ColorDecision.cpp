#include "IMPN/IMPN_ColorDecision.h"

#include "IMPN/IMPN_ColorConversion.h"
#include "TIFX/TIFX_KRNFile.h"

#include <exception>

IMPN_ColorDecision::Result
IMPN_ColorDecision::Decide(const std::optional<std::string>& inkName,
                           const std::optional<std::array<std::uint16_t, 4>>& cmykEquivalent,
                           const std::string& ownName, const IMPN_ColorDatabases& databases)
{
    Result result;
    result.color.opacity = 100;
    result.color.background = IMPN_ColorBGR{255, 255, 255};

    if (inkName && cmykEquivalent)
    {
        result.hasCMYKEquivalent = true;
        result.cmykEquivalent = *cmykEquivalent;
        const auto& v = *cmykEquivalent;
        result.color.color =
            IMPN_ColorConversion::CMYKToRGB(IMPN_ColorConversion::CMYKEquivalentToPercent(v[0]),
                                            IMPN_ColorConversion::CMYKEquivalentToPercent(v[1]),
                                            IMPN_ColorConversion::CMYKEquivalentToPercent(v[2]),
                                            IMPN_ColorConversion::CMYKEquivalentToPercent(v[3]));
        result.color.name = *inkName;
        result.color.isDefault = false;
        return result;
    }

    if (const auto named = databases.LookUpNamedColor(NormalizeName(ownName)))
    {
        result.color.color = *named;
        result.color.name = inkName ? *inkName : std::string(kUnknownInkName);
        result.color.isDefault = false;
        return result;
    }
    if (const auto custom = databases.LookUpCustomColor(ownName))
    {
        result.color.color = *custom;
        result.color.name = ownName;
        result.color.isDefault = false;
        return result;
    }
    result.color.color = databases.DefaultColor();
    result.color.name = ownName;
    result.color.isDefault = true;
    return result;
}

std::optional<std::array<double, 3>>
IMPN_ColorDecision::KnownLab(const std::string& ownName, bool hasCMYKEquivalent,
                             const IMPN_ColorDatabases& databases)
{
    if (hasCMYKEquivalent)
        return std::nullopt;
    // The same order as Decide: a named colour hides a custom one of the same name.
    const IMPN_ColorEntry* entry = databases.NamedColors().Find(NormalizeName(ownName));
    if (entry == nullptr)
        entry = databases.CustomColors().Find(ownName);
    if (entry == nullptr || entry->Space() != IMPN_ColorSpace::Lab)
        return std::nullopt;
    const std::array<double, 4> reals = entry->ToReals();
    return std::array<double, 3>{reals[0], reals[1], reals[2]};
}

IMPN_ColorDecision::Result IMPN_ColorDecision::DecideForFile(TIFX_KRNFile& file,
                                                             const std::string& ownName,
                                                             const IMPN_ColorDatabases& databases)
{
    std::optional<std::string> inkName;
    std::optional<std::array<std::uint16_t, 4>> cmykEquivalent;
    try
    {
        file.Open();
        // The ink tags belong to the separation itself, i.e. the full-resolution directory.
        if (file.GetDirectory() == 0 || file.SetDirectory(0))
        {
            inkName = file.GetInkNames();
            cmykEquivalent = file.GetCMYKEquivalent();
        }
    }
    catch (const std::exception&)
    {
        // A missing tag or an unreadable file is an ordinary case here: the names decide.
    }
    return Decide(inkName, cmykEquivalent, ownName, databases);
}

IMPN_ColorDecision::Result IMPN_ColorDecision::DecideForFile(TIFX_KRNFile& file,
                                                             const std::string& ownName)
{
    return DecideForFile(file, ownName, IMPN_ColorDatabases::Global());
}

std::string IMPN_ColorDecision::NormalizeName(const std::string& name)
{
    if (name.find("PANTONE") == std::string::npos)
        return name;
    const std::size_t blank = name.rfind(' ');
    const std::string suffix = blank == std::string::npos ? name : name.substr(blank + 1);
    const std::string stem = blank == std::string::npos ? std::string() : name.substr(0, blank + 1);

    if (suffix == "C" || suffix == "U" || suffix == "CVS")
        return name;
    if (suffix == "CVU")
        return stem + "U";
    if (suffix == "CVC" || suffix == "CV" || suffix == "PC" || suffix == "EC")
        return stem + "C";
    return name + " C";
}
