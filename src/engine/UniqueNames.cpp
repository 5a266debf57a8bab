#include "engine/UniqueNames.h"

#include <algorithm>
#include <functional>
#include <queue>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/PathText.h"
#include "text/NameText.h"

namespace tt {

namespace {

// Hash and equality of names, ignoring ASCII letter case where the folder does.
struct NameHash {
    bool ignoreCase;
    std::size_t operator()(std::string_view name) const {
        std::uint64_t hash = 14695981039346656037u;  // FNV-1a
        for (const char c : name) {
            const auto byte = static_cast<unsigned char>(c);
            hash = (hash ^ (ignoreCase && byte >= 'A' && byte <= 'Z' ? byte + 32 : byte)) *
                   1099511628211u;
        }
        return static_cast<std::size_t>(hash);
    }
};

struct NameEqual {
    bool ignoreCase;
    bool operator()(std::string_view a, std::string_view b) const {
        return ignoreCase ? EqualsNoCase(a, b) : a == b;
    }
};

}  // namespace

std::string SuffixedName(const std::string& name, int counter) {
    const std::size_t cut = OffsetOfLastChars(name, 4);
    std::string out;
    out.reserve(name.size() + 12);
    out.append(name, 0, cut);
    out += '_';
    out += std::to_string(counter);
    out.append(name, cut, std::string::npos);
    return out;
}

void UniqueNames::SetIgnoreCase(bool ignoreCase) {
    if (ignoreCase == m_ignoreCase)
        return;
    Invalidate();
    m_ignoreCase = ignoreCase;
}

std::string UniqueNames::Key(const std::string& name) const {
    return m_ignoreCase ? FoldAsciiCase(name) : name;
}

void UniqueNames::Invalidate() {
    m_valid = false;
    m_lookedForRepeats = false;
    m_names.clear();
    m_titled.clear();
    m_changed.clear();
    m_members.clear();
    m_repeated.clear();
}

void UniqueNames::NoteEntryChanged(std::int32_t index) {
    if (m_valid)
        m_changed.push_back(index);
}

void UniqueNames::AddMember(const std::string& key, std::int32_t index) {
    auto& members = m_members[key];
    members.insert(std::upper_bound(members.begin(), members.end(), index), index);
    if (members.size() == 2)
        m_repeated.insert(key);
}

void UniqueNames::RemoveMember(const std::string& key, std::int32_t index) {
    const auto found = m_members.find(key);
    if (found == m_members.end())
        return;
    auto& members = found->second;
    const auto at = std::lower_bound(members.begin(), members.end(), index);
    if (at != members.end() && *at == index)
        members.erase(at);
    if (members.size() < 2)
        m_repeated.erase(key);
    if (members.empty())
        m_members.erase(found);
}

void UniqueNames::Build(const SongFileList& list) {
    Invalidate();
    const std::int32_t count = list.count();
    m_names.resize(static_cast<std::size_t>(count));
    m_titled.resize(static_cast<std::size_t>(count));
    m_members.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        const SongFileEntry& entry = list.ElementAt(i);
        m_titled[i] = entry.titleFound != 0;
        if (!m_titled[i])
            continue;
        m_names[i] = entry.newName;
        AddMember(Key(entry.newName), i);  // indices ascend, so this appends
    }
    m_valid = true;
}

void UniqueNames::Sync(const SongFileList& list) {
    const auto known = static_cast<std::int32_t>(m_names.size());
    for (std::int32_t i = known; i < list.count(); ++i)
        m_changed.push_back(i);
    m_names.resize(static_cast<std::size_t>(list.count()));
    m_titled.resize(static_cast<std::size_t>(list.count()));
    for (const std::int32_t i : m_changed) {
        if (!list.IsValidIndex(i))
            continue;
        const SongFileEntry& entry = list.ElementAt(i);
        const bool titled = entry.titleFound != 0;
        if (m_titled[i] == titled && (!titled || m_names[i] == entry.newName))
            continue;
        if (m_titled[i])
            RemoveMember(Key(m_names[i]), i);
        m_titled[i] = titled;
        m_names[i] = titled ? entry.newName : std::string();
        if (titled)
            AddMember(Key(m_names[i]), i);
    }
    m_changed.clear();
}

void UniqueNames::Run(SongFileList& list) {
    // Without a repeated name a run changes nothing. Only the first run after the
    // index was forgotten looks for one; later runs build the index, which keeps
    // a run after a single change as cheap as that change.
    if (!m_valid && !m_lookedForRepeats) {
        m_lookedForRepeats = true;
        if (!HasRepeatedName(list))
            return;
    }
    try {
        RunIndexed(list);
    } catch (...) {
        // An error (out of memory) may have left the index half updated; the next
        // run builds it afresh from the list.
        Invalidate();
        throw;
    }
}

bool UniqueNames::HasRepeatedName(const SongFileList& list) const {
    // The titled entries by a hash of their name that folds case as the names
    // compare: sorted by it, entries holding one name lie side by side, and only
    // entries of one hash are compared. No key is made or stored.
    const NameHash hash{m_ignoreCase};
    const NameEqual equal{m_ignoreCase};
    std::vector<std::pair<std::size_t, std::int32_t>> byHash;
    byHash.reserve(static_cast<std::size_t>(list.count()));
    for (std::int32_t i = 0; i < list.count(); ++i) {
        const SongFileEntry& entry = list.ElementAt(i);
        if (entry.titleFound)
            byHash.emplace_back(hash(entry.newName), i);
    }
    std::sort(byHash.begin(), byHash.end());
    for (auto run = byHash.begin(); run != byHash.end();) {
        const auto end = std::find_if(run, byHash.end(),
                                      [&](const auto& other) { return other.first != run->first; });
        for (auto a = run; a != end; ++a) {
            for (auto b = a + 1; b != end; ++b) {
                if (equal(list.ElementAt(a->second).newName, list.ElementAt(b->second).newName))
                    return true;
            }
        }
        run = end;
    }
    return false;
}

void UniqueNames::RunIndexed(SongFileList& list) {
    if (!m_valid || static_cast<std::int32_t>(m_names.size()) > list.count())
        Build(list);
    else
        Sync(list);

    // Only an entry with a namesake after it does anything; visit those in list
    // order. Renames below add more such entries, always after the current one.
    std::vector<std::int32_t> start;
    for (const std::string& key : m_repeated) {
        const auto& members = m_members.at(key);
        start.insert(start.end(), members.begin(), members.end() - 1);
    }
    std::priority_queue<std::int32_t, std::vector<std::int32_t>, std::greater<>> queue(
        std::greater<>(), std::move(start));
    std::vector<std::int32_t> pending;
    std::int32_t last = -1;
    while (!queue.empty()) {
        const std::int32_t i = queue.top();
        queue.pop();
        if (i == last)
            continue;
        last = i;
        Process(list, i, pending);
        for (const std::int32_t j : pending)
            queue.push(j);
        pending.clear();
    }
}

void UniqueNames::Process(SongFileList& list, std::int32_t i, std::vector<std::int32_t>& pending) {
    if (!m_titled[i])
        return;
    const std::string key = Key(m_names[i]);
    auto& members = m_members.at(key);
    const auto firstAfter = std::upper_bound(members.begin(), members.end(), i);
    if (firstAfter == members.end())
        return;
    // Every later namesake of i gets renamed, so they all leave this name now.
    const std::vector<std::int32_t> namesakes(firstAfter, members.end());
    members.erase(firstAfter, members.end());
    if (members.size() < 2)
        m_repeated.erase(key);

    int counter = 0;
    for (const std::int32_t k : namesakes) {
        // Built from k's own name, which differs from i's in letter case alone
        // when case is ignored.
        std::string candidate;
        std::string candidateKey;
        for (;;) {
            candidate = SuffixedName(m_names[k], ++counter);
            candidateKey = Key(candidate);
            const auto holders = m_members.find(candidateKey);
            if (holders == m_members.end() || holders->second.empty() || holders->second.back() < k)
                break;  // no entry after k holds it
        }
        list.ElementAt(k).newName = candidate;
        m_names[k] = candidate;
        AddMember(candidateKey, k);
        // Earlier holders of the candidate that lie after i now have a namesake
        // after them and must be visited.
        for (const std::int32_t j : m_members.at(candidateKey))
            if (j > i && j < k)
                pending.push_back(j);
    }
}

}  // namespace tt
