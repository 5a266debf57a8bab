#pragma once

#include "engine/SongFileList.h"

namespace tt::test {

// Gives repeated proposed names a numbered suffix by comparing every pair of entries:
// the plain method that UniqueNames' indexed runs are held against.
void MakeNewNamesUniquePairwise(SongFileList& list, bool ignoreCase = false);

}  // namespace tt::test
