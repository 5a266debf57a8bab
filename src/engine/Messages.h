#pragma once

#include <string>

// The engine's texts, in the current UI language.
namespace tt {

// Nothing found after a scan, worded by which file kinds are switched on.
std::string NothingFoundMessage(bool midFiles, bool styFiles, bool patFiles);
// A selected file changed on disk since the scan.
std::string SourceChangedMessage();
// The overwrite question for `path`.
std::string OverwriteQuestion(const std::string& path);
// A copy source above the size limit, named by `path`.
std::string FileTooLargeMessage(const std::string& path);

}  // namespace tt
