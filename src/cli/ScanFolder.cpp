#include "cli/ScanFolder.h"

#include <unistd.h>

#include <iostream>

#include "cli/JournalServices.h"

namespace tt::cli {

void ScanFolder(RenameEngine& engine, const std::string& folder, const SongTypes& types) {
    // An operation on this folder that a kill or power cut left half-done is
    // finished first, so the list shows every song.
    RecoverFolder(folder, std::cerr, ::isatty(STDERR_FILENO) == 1);
    engine.SetFolder(folder);
    engine.SetFileTypes(types.mid, types.sty, types.pat);
    engine.RefreshFileList();
}

}  // namespace tt::cli
