#pragma once
// The two colour databases of a run and the default colour for new inks.
//
// The named colours are the seven process and primary inks built in, followed by the shipped
// spot-colour library. The custom colours are the user's own, kept in one file in the per-user
// data folder; without such a folder they exist only in memory for the run and are never saved.
// Both are loaded once at start-up; the custom colours change when the user keeps a picked
// colour and are then saved.

#include "IMPN/IMPN_ColorDatabase.h"
#include "IMPN/IMPN_ColorDatabaseFile.h"

#include <filesystem>
#include <optional>
#include <string_view>

class IMPN_ColorDatabases
{
public:
    // The grey used for unknown inks until the preference says otherwise.
    static constexpr IMPN_ColorBGR kInitialDefaultColor{153, 153, 153};

    // The seven built-in named colours, no custom colours, no custom file.
    IMPN_ColorDatabases();

    // The databases of the process, used by the viewer and by separations being prepared.
    static IMPN_ColorDatabases& Global();

    // The built-in named colours followed by the entries of the given file (the shipped library).
    // A missing, unreadable or foreign file leaves the built-ins only; a damaged one adds what
    // could be read. Returns how the file was read.
    IMPN_ColorDatabaseFile::ReadResult
    LoadNamedColors(const std::optional<std::filesystem::path>& libraryFile);

    // The built-in named colours followed by the entries of a library already in memory.
    void SetNamedColors(const IMPN_ColorDatabase& library);

    // The custom colours from Custom.colordb in the given per-user folder. When the file does not
    // exist, the folder is created and an empty database written. Without a folder there are no
    // custom colours for the run. Returns how the file was read (Missing when it was created or
    // there is no folder).
    IMPN_ColorDatabaseFile::ReadResult
    LoadCustomColors(const std::optional<std::filesystem::path>& userDataFolder);

    // Both loads from the default places: the library beside the executable (or in the installed
    // share folder) and the custom colours in the per-user data folder.
    void LoadAtStartUp();

    // Found flag and display colour (Lab and CMYK entries converted).
    std::optional<IMPN_ColorBGR> LookUpNamedColor(std::string_view name) const;
    std::optional<IMPN_ColorBGR> LookUpCustomColor(std::string_view name) const;

    // Creates or replaces the custom colour of this name as RGB, unless the name is a named
    // colour: named colours are never shadowed. Returns whether it was stored.
    bool StoreCustomColor(std::string_view name, const IMPN_ColorBGR& color);
    void RemoveCustomColor(std::string_view name);
    void ClearCustomColors();

    // Writes the custom colours to their file; nothing when there is no per-user folder.
    // A file that was there at start-up but could not be understood is first kept as
    // Custom.colordb.bak, so that saving never destroys what an older or newer program wrote.
    // Throws std::system_error when the file cannot be written.
    void SaveCustomColors();

    const IMPN_ColorDatabase& NamedColors() const { return m_named; }
    const IMPN_ColorDatabase& CustomColors() const { return m_custom; }
    // The custom file, when custom colours are read and saved this run.
    const std::optional<std::filesystem::path>& CustomColorsFile() const { return m_customFile; }

    // Set once at start-up from the preference; later preference changes wait for the next run.
    void SetDefaultColor(const IMPN_ColorBGR& color) { m_defaultColor = color; }
    const IMPN_ColorBGR& DefaultColor() const { return m_defaultColor; }

private:
    IMPN_ColorDatabase m_named;
    IMPN_ColorDatabase m_custom;
    std::optional<std::filesystem::path> m_customFile;
    // The custom file existed but was refused or unreadable: keep a copy before overwriting it.
    bool m_keepUnreadCustomFile = false;
    IMPN_ColorBGR m_defaultColor = kInitialDefaultColor;
};
