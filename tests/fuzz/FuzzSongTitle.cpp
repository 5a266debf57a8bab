// Feeds arbitrary bytes to the title reader, as a pattern file and as a MIDI file,
// and checks what every title must be: valid UTF-8, at most 32 captured bytes each
// grown to at most four, and empty whenever nothing was found; and that reading the
// bytes in blocks as the walk needs them gives the same title as the whole bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ReferenceTitles.h"
#include "title/ReadSongTitle.h"
#include "title/TextEncoding.h"

namespace {

void Check(bool found, const std::string& title) {
    if (title.size() > 4 * 32)
        std::abort();
    if (!found && !title.empty())
        std::abort();
    for (std::size_t pos = 0; pos < title.size();) {
        const std::size_t length = tt::Utf8SequenceLength(title, pos);
        if (length == 0 || title[pos] == '\0')
            std::abort();
        pos += length;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (const bool isPattern : {false, true}) {
        std::string title = "stale";
        const bool found = tt::ExtractSongTitle(data, size, isPattern, title);
        Check(found, title);
        for (const std::size_t firstBlock : {std::size_t{1}, 1 + size % 61, std::size_t{4096}}) {
            std::string inBlocks = "stale";
            std::size_t bytesRead = 0;
            if (tt::test::ExtractSongTitleInBlocks(data, size, isPattern, firstBlock, inBlocks,
                                                   &bytesRead) != found ||
                inBlocks != title || bytesRead > size)
                std::abort();
        }
    }
    return 0;
}
