#pragma once

#include <iosfwd>
#include <memory>
#include <string>

#include "engine/Trash.h"

namespace tt::cli {

// The desktop's trash, or none where the tool was built without it.
std::unique_ptr<Trash> MakeTrash();

// Finishes the operations on `folder` that a run left open (see
// RecoverInterruptedOperations) and tells on `err` what was put right.
void RecoverFolder(const std::string& folder, std::ostream& err, bool errIsTerminal);

}  // namespace tt::cli
