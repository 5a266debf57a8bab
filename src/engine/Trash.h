#pragma once

#include <memory>
#include <optional>
#include <string>

namespace tt {

// The desktop's trash, as the front ends provide it. Undo never deletes: copies it
// takes back go here, and a file that a Yes to the overwrite question replaces is
// put here first, so that it can come back.
class Trash {
  public:
    virtual ~Trash() = default;
    // Moves the file at `path` into the trash; the path it has there, or an empty
    // optional when no trash could take it (the file is then where it was).
    virtual std::optional<std::string> MoveToTrash(const std::string& path) = 0;
};

// The desktop's own trash. Defined by the trash library over QtCore, which a front
// end links when it wants it; the core and the command-line tool see only this
// declaration, so no desktop header reaches them.
std::unique_ptr<Trash> MakeSystemTrash();

}  // namespace tt
