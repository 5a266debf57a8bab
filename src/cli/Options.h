#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace tt::cli {

// A mistake on the command line; the text says what is wrong, in one line.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Which song file kinds to list, from "--types mid,sty,pat" (any letter case).
struct SongTypes {
    bool mid = true;
    bool sty = true;
    bool pat = true;
};
SongTypes ParseTypes(const std::string& list);

// Takes the value of an option at args[i] (either "--opt=value" or "--opt value").
// Returns true and advances i when args[i] is that option.
bool TakeOption(const std::vector<std::string>& args, std::size_t& i, const std::string& option,
                std::string& value);

// Text of "--help" for the whole tool.
const char* UsageText();

}  // namespace tt::cli
