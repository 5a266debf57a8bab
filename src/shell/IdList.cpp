#include "shell/IdList.h"

#include <algorithm>
#include <cstring>

namespace tt::shell {
namespace {

std::size_t RecordSize(const std::uint8_t* record) {
    return static_cast<std::size_t>(record[0]) | (static_cast<std::size_t>(record[1]) << 8);
}

}  // namespace

std::size_t GetIdListSize(const std::uint8_t* list) {
    if (list == nullptr)
        return 0;
    std::size_t size = 0;
    // A record smaller than its own size field would never advance; it ends the list.
    for (std::size_t cb = RecordSize(list); cb >= 2; cb = RecordSize(list + size))
        size += cb;
    return size + 2;
}

IdList ConcatIdLists(const std::uint8_t* first, const std::uint8_t* second) {
    const std::size_t firstSize = GetIdListSize(first);
    const std::size_t firstBody = firstSize == 0 ? 0 : firstSize - 2;
    const std::size_t secondSize = GetIdListSize(second);
    IdList result(firstBody + secondSize, 0);
    if (firstBody > 0)
        std::memcpy(result.data(), first, firstBody);
    if (secondSize > 0)
        std::memcpy(result.data() + firstBody, second, secondSize);
    return result;
}

IdList CopyItemId(const std::uint8_t* id) {
    if (id == nullptr)
        return {};
    const std::size_t size = RecordSize(id) + 2;
    return IdList(id, id + size);
}

IdList MakeItemId(std::string_view payload) {
    const std::size_t cb = payload.size() + 2;
    if (cb > 0xFFFF)
        return {};
    IdList id(cb + 2, 0);
    id[0] = static_cast<std::uint8_t>(cb & 0xFF);
    id[1] = static_cast<std::uint8_t>(cb >> 8);
    std::copy(payload.begin(), payload.end(), id.begin() + 2);
    return id;
}

std::string_view ItemPayload(const std::uint8_t* id) {
    if (id == nullptr || RecordSize(id) < 2)
        return {};
    return {reinterpret_cast<const char*>(id + 2), RecordSize(id) - 2};
}

}  // namespace tt::shell
