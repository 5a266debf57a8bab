#pragma once

#include <string>

// Taking paths apart ('/' separated byte strings).
namespace tt {

// The part after the last '/' (the whole path when it has none).
std::string NameOf(const std::string& path);
// The part before the last '/': "/" for a name in the root, "." for a bare name.
std::string FolderOf(const std::string& path);

}  // namespace tt
