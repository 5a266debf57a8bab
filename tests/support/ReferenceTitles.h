#pragma once

#include <cstddef>
#include <string>

#include "platform/FileSystem.h"
#include "title/TitleErrorReporter.h"

namespace tt::test {

// The plain ways to the title that the block-wise reading is held against in tests,
// the fuzz target and benchmarks.

// As ReadSongTitle, but reads the whole file in one read before looking at it.
bool ReadSongTitleWhole(FileSystem& fs, const std::string& path, std::string& title,
                        TitleErrorReporter& reporter);

// As ExtractSongTitle on the whole bytes, with the bytes handed to the walk in blocks
// as it reaches them, the first `firstBlock` bytes long; the bytes not yet handed over
// hold other values meanwhile, so a walk that looked at one would go astray.
// `bytesRead` (when given) receives how many were handed over.
bool ExtractSongTitleInBlocks(const unsigned char* data, std::size_t size, bool isPattern,
                              std::size_t firstBlock, std::string& title,
                              std::size_t* bytesRead = nullptr);

}  // namespace tt::test
