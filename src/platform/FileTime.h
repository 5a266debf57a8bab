#pragma once

#include <cstdint>

namespace tt {

// A last-write time in 100-nanosecond intervals since 1 January 1601 (UTC), kept as
// two 32-bit halves, low half first.
struct FileTime {
    std::uint32_t low = 0;
    std::uint32_t high = 0;

    friend bool operator==(const FileTime&, const FileTime&) = default;
};

// Converts seconds and nanoseconds since 1970 (as `stat` gives them).
FileTime FileTimeFromUnix(std::int64_t seconds, std::int64_t nanoseconds);

}  // namespace tt
