#include "engine/ListedNames.h"

#include <algorithm>

#include "platform/PathText.h"

namespace tt {

void ListedNames::Build(const SongFileList& list) {
    if (m_built)
        return;
    for (std::int32_t i = 0; i < list.count(); ++i)
        m_byName[FoldAsciiCase(NameOf(list.ElementAt(i).path))].push_back(i);
    m_built = true;
}

void ListedNames::Renamed(std::int32_t index, const std::string& oldName,
                          const std::string& newName) {
    if (!m_built)
        return;  // the index is built from the list as it then stands
    const auto old = m_byName.find(FoldAsciiCase(oldName));
    if (old != m_byName.end())
        std::erase(old->second, index);
    auto& holders = m_byName[FoldAsciiCase(newName)];
    holders.insert(std::upper_bound(holders.begin(), holders.end(), index), index);
}

void ListedNames::Appended(std::int32_t index, const std::string& name) {
    if (m_built)
        m_byName[FoldAsciiCase(name)].push_back(index);
}

const std::vector<std::int32_t>& ListedNames::Find(const std::string& name) const {
    static const std::vector<std::int32_t> none;
    const auto found = m_byName.find(FoldAsciiCase(name));
    return found == m_byName.end() ? none : found->second;
}

}  // namespace tt
