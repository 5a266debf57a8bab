#pragma once

#include "engine/Trash.h"

namespace tt {

// The desktop's trash through QtCore (the home trash, or the trash folder of the
// medium the file is on), for both the program and the command-line tool.
class SystemTrash final : public Trash {
  public:
    std::optional<std::string> MoveToTrash(const std::string& path) override;
};

}  // namespace tt
