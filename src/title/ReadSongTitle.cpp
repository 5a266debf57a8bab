#include "title/ReadSongTitle.h"

namespace tt {

// Placeholder until the reader lands.
bool ReadSongTitle(FileSystem&, const std::string&, std::string& title, TitleErrorReporter&) {
    title.clear();
    return false;
}

bool ExtractSongTitle(const unsigned char*, std::size_t, bool, std::string& title) {
    title.clear();
    return false;
}

}  // namespace tt
