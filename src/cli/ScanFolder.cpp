#include "cli/ScanFolder.h"

namespace tt::cli {

void ScanFolder(RenameEngine& engine, const std::string& folder, const SongTypes& types) {
    engine.SetFolder(folder);
    engine.SetFileTypes(types.mid, types.sty, types.pat);
    engine.RefreshFileList();
}

}  // namespace tt::cli
