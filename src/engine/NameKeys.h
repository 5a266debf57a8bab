#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tt {

// Gives every distinct proposed name an id, so that the name with a numbered
// suffix ("Song_1.mid" from "Song.mid") is found from its parent's id in constant
// time, however long the name has grown. A name is held as its part before the
// last four characters stripped of trailing "_<number>" groups, the last four
// characters, and the numbers stripped, in order: "Song_1_2.mid" is "Song" and
// ".mid" with 1, then 2. Adding a suffix appends a number, and any spelling of a
// name, made by suffixes or read from a title, comes to the same id. Where case
// is ignored, ids stand for names with ASCII letter case folded.
class NameKeys {
  public:
    using Id = std::int32_t;

    void SetIgnoreCase(bool ignoreCase);
    void Clear();
    // The id of `name`, made when it is new.
    Id Of(std::string_view name);
    // The id of SuffixedName(name, counter) for a `name` whose id is `id`.
    Id Suffixed(Id id, const std::string& name, int counter);
    // True when the names of `id` have four characters or more: their suffixes all
    // go in at one place, before the same last four characters.
    bool HasFullTail(Id id) const { return m_nodes[static_cast<std::size_t>(id)].fullTail; }
    std::size_t size() const { return m_nodes.size(); }

  private:
    struct Node {
        Id parent;
        int counter;
        bool fullTail;
    };
    Id Child(Id parent, int counter);
    Id NewNode(Id parent, int counter, bool fullTail);

    bool m_ignoreCase = false;
    std::vector<Node> m_nodes;
    std::unordered_map<std::string, Id> m_roots;       // by the stripped name
    std::unordered_map<std::uint64_t, Id> m_children;  // by parent and number
};

}  // namespace tt
