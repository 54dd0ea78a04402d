#pragma once
// A colour database: an ordered map from ink name to colour entry. Names are compared ASCII
// case-insensitively ("cyan" finds "Cyan"), character by character, a name that is a prefix of
// another sorting first.

#include "IMPN/IMPN_ColorEntry.h"

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

class IMPN_ColorDatabase
{
public:
    // The order of names: bytes compared after mapping A..Z to a..z, shorter name first when one
    // is a prefix of the other. Every byte counts, a NUL included.
    struct NameLess
    {
        using is_transparent = void;
        static int Compare(std::string_view a, std::string_view b);
        bool operator()(std::string_view a, std::string_view b) const { return Compare(a, b) < 0; }
    };

    using Map = std::map<std::string, IMPN_ColorEntry, NameLess>;

    // Creates the entry or replaces the colour of the entry that has this name in any letter
    // case; a replaced entry keeps the spelling it was first stored with.
    void Set(std::string_view name, const IMPN_ColorEntry& entry);
    // The entry of this name in any letter case, or null.
    const IMPN_ColorEntry* Find(std::string_view name) const;
    bool Contains(std::string_view name) const { return Find(name) != nullptr; }
    // True when an entry was removed.
    bool Remove(std::string_view name);
    void Clear() { m_entries.clear(); }

    std::size_t Size() const { return m_entries.size(); }
    bool Empty() const { return m_entries.empty(); }
    const Map& Entries() const { return m_entries; }
    Map::const_iterator begin() const { return m_entries.begin(); }
    Map::const_iterator end() const { return m_entries.end(); }

    // Same names, spelled the same, with equal entries.
    bool operator==(const IMPN_ColorDatabase& other) const;

private:
    Map m_entries;
};
