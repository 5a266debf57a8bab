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

namespace {

// Puts "_<counter>" before the last four characters of `name` in place: the same
// as SuffixedName, moving only those characters.
void InsertSuffix(std::string& name, int counter, std::size_t times = 1) {
    std::string one(1, '_');
    one += std::to_string(counter);
    std::string suffixes;
    suffixes.reserve(one.size() * times);
    for (std::size_t n = 0; n < times; ++n)
        suffixes += one;
    name.insert(OffsetOfLastChars(name, 4), suffixes);
}

}  // namespace

void UniqueNames::SetIgnoreCase(bool ignoreCase) {
    if (ignoreCase == m_ignoreCase)
        return;
    Invalidate();
    m_ignoreCase = ignoreCase;
}

void UniqueNames::Invalidate() {
    m_valid = false;
    m_lookedForRepeats = false;
    m_keys.Clear();
    m_key.clear();
    m_changed.clear();
    m_states.clear();
    m_repeated.clear();
    m_chains.clear();
}

void UniqueNames::NoteEntryChanged(std::int32_t index) {
    if (m_valid)
        m_changed.push_back(index);
}

UniqueNames::KeyState& UniqueNames::State(Id id) {
    const auto at = static_cast<std::size_t>(id);
    if (at >= m_states.size())
        m_states.resize(std::max(at + 1, m_keys.size()));
    return m_states[at];
}

void UniqueNames::AddMember(Id id, std::int32_t index) {
    auto& members = State(id).members;
    members.insert(std::upper_bound(members.begin(), members.end(), index), index);
    if (members.size() == 2)
        m_repeated.insert(id);
}

void UniqueNames::RemoveMember(Id id, std::int32_t index) {
    auto& members = State(id).members;
    const auto at = std::lower_bound(members.begin(), members.end(), index);
    if (at == members.end() || *at != index)
        return;
    members.erase(at);
    if (members.size() < 2)
        m_repeated.erase(id);
    Left(id, index);
}

void UniqueNames::Build(const SongFileList& list) {
    Invalidate();
    m_keys.SetIgnoreCase(m_ignoreCase);
    const std::int32_t count = list.count();
    m_key.assign(static_cast<std::size_t>(count), -1);
    for (std::int32_t i = 0; i < count; ++i) {
        const SongFileEntry& entry = list.ElementAt(i);
        if (!entry.titleFound)
            continue;
        m_key[static_cast<std::size_t>(i)] = m_keys.Of(entry.newName);
        AddMember(m_key[static_cast<std::size_t>(i)], i);  // indices ascend: appended
    }
    m_valid = true;
}

void UniqueNames::Sync(const SongFileList& list) {
    const auto known = static_cast<std::int32_t>(m_key.size());
    for (std::int32_t i = known; i < list.count(); ++i)
        m_changed.push_back(i);
    m_key.resize(static_cast<std::size_t>(list.count()), -1);
    for (const std::int32_t i : m_changed) {
        if (!list.IsValidIndex(i))
            continue;
        const SongFileEntry& entry = list.ElementAt(i);
        const Id now = entry.titleFound ? m_keys.Of(entry.newName) : -1;
        Id& was = m_key[static_cast<std::size_t>(i)];
        if (now == was)
            continue;
        if (was >= 0)
            RemoveMember(was, i);
        was = now;
        if (now >= 0)
            AddMember(now, i);
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
    if (!m_valid || static_cast<std::int32_t>(m_key.size()) > list.count())
        Build(list);
    else
        Sync(list);

    // Only an entry with a namesake after it does anything; visit those in list
    // order. Renames below add more such entries, always after the current one.
    std::vector<std::int32_t> start;
    for (const Id id : m_repeated) {
        const auto& members = State(id).members;
        start.insert(start.end(), members.begin(), members.end() - 1);
    }
    Queue queue(std::greater<>(), std::move(start));
    std::vector<std::int32_t> pending;
    while (!queue.empty()) {
        const std::int32_t i = queue.top();
        while (!queue.empty() && queue.top() == i)
            queue.pop();
        if (Jump(list, i, queue))
            continue;
        Process(list, i, pending);
        for (const std::int32_t j : pending)
            queue.push(j);
        pending.clear();
    }
}

void UniqueNames::Process(SongFileList& list, std::int32_t i, std::vector<std::int32_t>& pending) {
    const Id id = m_key[static_cast<std::size_t>(i)];
    if (id < 0)
        return;
    std::vector<std::int32_t> namesakes;
    {
        auto& members = State(id).members;
        const auto firstAfter = std::upper_bound(members.begin(), members.end(), i);
        if (firstAfter == members.end())
            return;
        // Every later namesake of i gets renamed, so they all leave this name now.
        namesakes.assign(firstAfter, members.end());
        members.erase(firstAfter, members.end());
        if (members.size() < 2)
            m_repeated.erase(id);
    }
    for (const std::int32_t k : namesakes)
        Left(id, k);

    int counter = 0;
    for (const std::int32_t k : namesakes) {
        // Built from k's own name, which differs from i's in letter case alone
        // when case is ignored.
        std::string& name = list.ElementAt(k).newName;
        Id candidate;
        for (;;) {
            candidate = m_keys.Suffixed(id, name, ++counter);
            const auto& holders = State(candidate).members;
            if (holders.empty() || holders.back() < k)
                break;  // no entry after k holds it
        }
        InsertSuffix(name, counter);
        m_key[static_cast<std::size_t>(k)] = candidate;
        AddMember(candidate, k);
        // Earlier holders of the candidate that lie after i now have a namesake
        // after them and must be visited.
        for (const std::int32_t j : State(candidate).members)
            if (j > i && j < k)
                pending.push_back(j);
        if (counter == 1 && m_keys.HasFullTail(id))
            RecordStep(i, id, candidate, k);
    }
}

UniqueNames::Chain* UniqueNames::ChainOf(Id id) {
    const KeyState& state = State(id);
    if (state.chain < 0)
        return nullptr;
    Chain& chain = m_chains[static_cast<std::size_t>(state.chain)];
    const bool holds =
        chain.live && state.chainAt < chain.keys.size() && chain.keys[state.chainAt] == id;
    return holds ? &chain : nullptr;
}

// A holder leaving a name of a chain, but its first, ends the chain. Other
// entries joining its names need no watch: an entry sharing a name with another
// waits to be visited before both, which stops a jump short of that name.
void UniqueNames::Left(Id id, std::int32_t index) {
    Chain* chain = ChainOf(id);
    const std::size_t at = m_states[static_cast<std::size_t>(id)].chainAt;
    if (!chain || at == 0)
        return;
    if (chain->holders[at] == index)
        Break(*chain);
}

void UniqueNames::Break(Chain& chain) {
    chain.live = false;
    std::vector<Id>().swap(chain.keys);
    std::vector<std::int32_t>().swap(chain.holders);
}

void UniqueNames::Append(Chain& chain, Id id, std::int32_t holder) {
    if (Chain* other = ChainOf(id))
        Break(*other);
    KeyState& state = State(id);
    state.chain = static_cast<std::int32_t>(&chain - m_chains.data());
    state.chainAt = chain.keys.size();
    chain.keys.push_back(id);
    chain.holders.push_back(holder);
}

// Entry i, holding `from`, has just given its first namesake k the name `to` with
// counter 1. Where `to` is now held by k alone, or by k and one entry between i
// and k (visited next), the walk goes on along a chain: the one ending in `from`
// grows, or a new one starts there.
void UniqueNames::RecordStep(std::int32_t i, Id from, Id to, std::int32_t k) {
    const auto& members = State(to).members;
    std::int32_t holder;
    if (members.size() == 1)
        holder = k;
    else if (members.size() == 2 && members[1] == k && members[0] > i)
        holder = members[0];
    else
        return;
    Chain* chain = ChainOf(from);
    if (chain) {
        const std::size_t at = m_states[static_cast<std::size_t>(from)].chainAt;
        if (chain->holders[at] == i && at + 1 == chain->keys.size()) {
            Append(*chain, to, holder);
            return;
        }
        if (chain->holders[at] == i && chain->keys[at + 1] == to &&
            chain->holders[at + 1] == holder)
            return;  // walked on along it
        Break(*chain);
    }
    m_chains.emplace_back();
    Append(m_chains.back(), from, i);
    Append(m_chains.back(), to, holder);
}

// Entry i starts a chain and has one namesake k: each step along the chain would
// give k one more "_1" and visit the next holder, until a holder lies after k or
// after an entry waiting to be visited. Makes those steps at once and leaves the
// last to Process.
bool UniqueNames::Jump(SongFileList& list, std::int32_t i, Queue& queue) {
    const Id id = m_key[static_cast<std::size_t>(i)];
    if (id < 0)
        return false;
    Chain* chain = ChainOf(id);
    auto& members = State(id).members;
    if (!chain || m_states[static_cast<std::size_t>(id)].chainAt != 0 || chain->holders[0] != i ||
        members.size() != 2 || members[0] != i)
        return false;
    const std::int32_t k = members[1];
    const std::int32_t bound = queue.empty() ? k : std::min(k, queue.top());
    const auto& holders = chain->holders;
    const auto reach = std::lower_bound(holders.begin(), holders.end(), bound) - holders.begin();
    if (reach <= 1)
        return false;
    const auto steps = static_cast<std::size_t>(reach - 1);
    const Id to = chain->keys[steps];
    const std::int32_t next = holders[steps];
    members.pop_back();  // the chain's first name: no holder of it leaves
    m_repeated.erase(id);
    InsertSuffix(list.ElementAt(k).newName, 1, steps);
    m_key[static_cast<std::size_t>(k)] = to;
    AddMember(to, k);
    queue.push(next);
    return true;
}

}  // namespace tt
