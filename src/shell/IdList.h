#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tt::shell {

// Item identifiers in the published layout: a run of records, each beginning with
// its 16-bit total size `cb` (the two size bytes included, little endian), ended by
// a 16-bit zero. A one-level ID is one record and the terminator; an absolute ID
// from the desktop holds one record per level. The bytes live in an IdList, so a
// copy is released with the object that holds it.
using IdList = std::vector<std::uint8_t>;

// 0 for an absent list; otherwise 2 plus the sum of all `cb` values.
std::size_t GetIdListSize(const std::uint8_t* list);
// The first list without its terminator followed by the whole second list. An
// absent first list gives a copy of the second.
IdList ConcatIdLists(const std::uint8_t* first, const std::uint8_t* second);
// The first record of `id` and the two bytes after it (for a one-level ID, its
// terminator).
IdList CopyItemId(const std::uint8_t* id);

// A one-level ID whose record holds `payload`; empty when the payload is too long
// for a 16-bit size.
IdList MakeItemId(std::string_view payload);
// The payload of the first record of `id`.
std::string_view ItemPayload(const std::uint8_t* id);

}  // namespace tt::shell
