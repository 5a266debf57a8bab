#pragma once

#include <string>
#include <string_view>

// Paths ('/' separated byte strings) taken apart, and names compared the way the
// program ignores case: A-Z fold to a-z, every other byte (UTF-8 sequences
// included) stands as it is, and bytes compare unsigned.
namespace tt {

// The part after the last '/' (the whole path when it has none).
std::string NameOf(const std::string& path);
// The part before the last '/': "/" for a name in the root, "." for a bare name.
std::string FolderOf(const std::string& path);

int CompareNoCase(std::string_view a, std::string_view b);
bool EqualsNoCase(std::string_view a, std::string_view b);
// `text` with A-Z folded to a-z.
std::string FoldAsciiCase(std::string text);

}  // namespace tt
