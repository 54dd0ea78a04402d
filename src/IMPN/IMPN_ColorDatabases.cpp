#include "IMPN/IMPN_ColorDatabases.h"

#include "IMPN/IMPN_ColorDatabasePaths.h"

#include "GFIL/GFIL_ProgramData.h"

#include "GLIB/GLIB_Log.h"

#include <system_error>

namespace
{
void AddBuiltIns(IMPN_ColorDatabase& named)
{
    named.Set("Cyan", IMPN_ColorEntry::FromCMYKPercent(100, 0, 0, 0));
    named.Set("Magenta", IMPN_ColorEntry::FromCMYKPercent(0, 100, 0, 0));
    named.Set("Yellow", IMPN_ColorEntry::FromCMYKPercent(0, 0, 100, 0));
    named.Set("Black", IMPN_ColorEntry::FromCMYKPercent(0, 0, 0, 100));
    named.Set("Red", IMPN_ColorEntry::FromBGR(IMPN_MakeColorBGR(255, 0, 0)));
    named.Set("Green", IMPN_ColorEntry::FromBGR(IMPN_MakeColorBGR(0, 255, 0)));
    named.Set("Blue", IMPN_ColorEntry::FromBGR(IMPN_MakeColorBGR(0, 0, 255)));
}

// A damaged or foreign database is not worth a message box at start-up, but it must not go
// unnoticed either.
void LogIfDamaged(const std::filesystem::path& path, const IMPN_ColorDatabaseFile::ReadResult& r)
{
    using Status = IMPN_ColorDatabaseFile::Status;
    if (r.status == Status::Complete || r.status == Status::Missing)
        return;
    std::string text = "Colour database \"" + path.string() + "\": ";
    if (r.status == Status::Incomplete)
        text += "read " + std::to_string(r.entriesRead) + " of " +
                std::to_string(r.announcedCount) + " entries, " + r.problem;
    else
        text += "ignored, " + r.problem;
    GLIB_LOG(GLIB_SEVERITY_WARNING, text);
}

std::optional<IMPN_ColorBGR> DisplayColorOf(const IMPN_ColorDatabase& db, std::string_view name)
{
    const IMPN_ColorEntry* entry = db.Find(name);
    if (entry == nullptr)
        return std::nullopt;
    return entry->DisplayColor();
}
} // namespace

IMPN_ColorDatabases::IMPN_ColorDatabases()
{
    AddBuiltIns(m_named);
}

IMPN_ColorDatabases& IMPN_ColorDatabases::Global()
{
    static IMPN_ColorDatabases databases;
    return databases;
}

IMPN_ColorDatabaseFile::ReadResult
IMPN_ColorDatabases::LoadNamedColors(const std::optional<std::filesystem::path>& libraryFile)
{
    IMPN_ColorDatabaseFile::ReadResult result;
    if (!libraryFile)
    {
        SetNamedColors(IMPN_ColorDatabase());
        result.problem = "no colour library found";
        return result;
    }
    result = IMPN_ColorDatabaseFile::Read(*libraryFile);
    LogIfDamaged(*libraryFile, result);
    SetNamedColors(result.database);
    return result;
}

void IMPN_ColorDatabases::SetNamedColors(const IMPN_ColorDatabase& library)
{
    m_named.Clear();
    AddBuiltIns(m_named);
    for (const auto& [name, entry] : library)
        m_named.Set(name, entry);
}

IMPN_ColorDatabaseFile::ReadResult
IMPN_ColorDatabases::LoadCustomColors(const std::optional<std::filesystem::path>& userDataFolder)
{
    m_custom.Clear();
    m_customFile.reset();
    m_keepUnreadCustomFile = false;
    IMPN_ColorDatabaseFile::ReadResult result;
    if (!userDataFolder)
    {
        result.problem = "no per-user data folder";
        return result;
    }
    m_customFile = *userDataFolder / IMPN_ColorDatabasePaths::kCustomColorsFileName;
    result = IMPN_ColorDatabaseFile::Read(*m_customFile);
    LogIfDamaged(*m_customFile, result);
    switch (result.status)
    {
    case IMPN_ColorDatabaseFile::Status::Complete:
    case IMPN_ColorDatabaseFile::Status::Incomplete:
        m_custom = std::move(result.database);
        result.database = IMPN_ColorDatabase();
        break;
    case IMPN_ColorDatabaseFile::Status::Missing:
    {
        // First run: leave an empty database for the user to find. A folder that cannot be made
        // is not fatal here; saving will report it when there is something to save.
        std::error_code ec;
        std::filesystem::create_directories(*userDataFolder, ec);
        try
        {
            IMPN_ColorDatabaseFile::Write(*m_customFile, m_custom);
        }
        catch (const std::system_error& e)
        {
            result.problem = e.what();
            GLIB_LOG(GLIB_SEVERITY_WARNING, result.problem);
        }
        break;
    }
    case IMPN_ColorDatabaseFile::Status::Rejected:
    case IMPN_ColorDatabaseFile::Status::Unreadable:
        m_keepUnreadCustomFile = true;
        break;
    }
    return result;
}

void IMPN_ColorDatabases::LoadAtStartUp()
{
    LoadNamedColors(GFIL_ProgramData::Find(IMPN_ColorDatabasePaths::kNamedColorsFileName));
    LoadCustomColors(IMPN_ColorDatabasePaths::UserDataFolder());
}

std::optional<IMPN_ColorBGR> IMPN_ColorDatabases::LookUpNamedColor(std::string_view name) const
{
    return DisplayColorOf(m_named, name);
}

std::optional<IMPN_ColorBGR> IMPN_ColorDatabases::LookUpCustomColor(std::string_view name) const
{
    return DisplayColorOf(m_custom, name);
}

bool IMPN_ColorDatabases::StoreCustomColor(std::string_view name, const IMPN_ColorBGR& color)
{
    if (m_named.Contains(name))
        return false;
    m_custom.Set(name, IMPN_ColorEntry::FromBGR(color));
    return true;
}

void IMPN_ColorDatabases::RemoveCustomColor(std::string_view name)
{
    m_custom.Remove(name);
}

void IMPN_ColorDatabases::ClearCustomColors()
{
    m_custom.Clear();
}

void IMPN_ColorDatabases::SaveCustomColors()
{
    if (!m_customFile)
        return;
    if (m_keepUnreadCustomFile)
    {
        std::filesystem::path backup = *m_customFile;
        backup += ".bak";
        std::error_code ec;
        std::filesystem::copy_file(*m_customFile, backup,
                                   std::filesystem::copy_options::overwrite_existing, ec);
        // A file that vanished meanwhile needs no copy; any other failure stops the save rather
        // than destroy the only copy.
        std::error_code existsError;
        if (ec && std::filesystem::exists(*m_customFile, existsError))
        {
            throw std::system_error(ec, "Cannot keep a copy of the colour database \"" +
                                            m_customFile->string() + "\"");
        }
        m_keepUnreadCustomFile = false;
    }
    // The folder may have been removed, or could not be made at start-up.
    std::error_code ec;
    std::filesystem::create_directories(m_customFile->parent_path(), ec);
    IMPN_ColorDatabaseFile::Write(*m_customFile, m_custom);
}
