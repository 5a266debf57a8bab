#include "engine/RenameEngine.h"

namespace tt {

// Placeholders until the operation lands.
void RenameEngine::RenameSelectedFiles(bool) {}
RenameEngine::OverwriteDecision RenameEngine::ConfirmOverwrite(const std::string&) {
    return OverwriteDecision::cancel;
}
bool RenameEngine::CopyWholeFile(const std::string&, const std::string&, bool) {
    return false;
}
void RenameEngine::RenameCorrespondingFiles(const std::string&, const std::string&, bool) {}

}  // namespace tt
