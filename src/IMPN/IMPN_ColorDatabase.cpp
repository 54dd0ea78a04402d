#include "IMPN/IMPN_ColorDatabase.h"

#include <algorithm>

namespace
{
unsigned char LowerAscii(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}
} // namespace

int IMPN_ColorDatabase::NameLess::Compare(std::string_view a, std::string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i)
    {
        const int diff = int(LowerAscii(a[i])) - int(LowerAscii(b[i]));
        if (diff != 0)
            return diff;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

void IMPN_ColorDatabase::Set(std::string_view name, const IMPN_ColorEntry& entry)
{
    auto it = m_entries.find(name);
    if (it != m_entries.end())
        it->second = entry;
    else
        m_entries.emplace(std::string(name), entry);
}

const IMPN_ColorEntry* IMPN_ColorDatabase::Find(std::string_view name) const
{
    auto it = m_entries.find(name);
    return it == m_entries.end() ? nullptr : &it->second;
}

bool IMPN_ColorDatabase::Remove(std::string_view name)
{
    auto it = m_entries.find(name);
    if (it == m_entries.end())
        return false;
    m_entries.erase(it);
    return true;
}

bool IMPN_ColorDatabase::operator==(const IMPN_ColorDatabase& other) const
{
    return std::equal(
        m_entries.begin(), m_entries.end(), other.m_entries.begin(), other.m_entries.end(),
        [](const auto& x, const auto& y) { return x.first == y.first && x.second == y.second; });
}
