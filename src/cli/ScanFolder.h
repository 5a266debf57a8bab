#pragma once

#include <string>

#include "cli/Options.h"
#include "engine/RenameEngine.h"

namespace tt::cli {

// Lists `folder` in `engine` as a folder pick does: the chosen song kinds, their
// titles, the list order and unique new names. Messages go to the engine's ui.
void ScanFolder(RenameEngine& engine, const std::string& folder, const SongTypes& types);

}  // namespace tt::cli
