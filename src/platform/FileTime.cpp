#include "platform/FileTime.h"

namespace tt {

FileTime FileTimeFromUnix(std::int64_t seconds, std::int64_t nanoseconds) {
    // Seconds between 1601-01-01 and 1970-01-01.
    constexpr std::int64_t kEpochOffset = 11644473600;
    const auto ticks =
        static_cast<std::uint64_t>((seconds + kEpochOffset) * 10000000 + nanoseconds / 100);
    return FileTime{static_cast<std::uint32_t>(ticks & 0xFFFFFFFFu),
                    static_cast<std::uint32_t>(ticks >> 32)};
}

}  // namespace tt
