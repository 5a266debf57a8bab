#include "cli/ScanFolder.h"

namespace tt::cli {

void ScanFolder(RenameEngine& engine, const std::string& folder, const SongTypes& types) {
    engine.m_strFolder = folder;
    engine.m_bMidFiles = types.mid;
    engine.m_bStyFiles = types.sty;
    engine.m_bPatFiles = types.pat;
    engine.RefreshFileList();
}

}  // namespace tt::cli
