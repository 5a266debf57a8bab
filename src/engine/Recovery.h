#pragma once

#include <string>
#include <vector>

#include "engine/Trash.h"
#include "platform/FileSystem.h"

namespace tt {

// Finishes every operation on `folder` (listed, or the destination of a copy)
// whose journal was left open by a run that ended without closing it (a kill, a
// power cut, a pulled stick) and that no running program holds: a song hidden
// under a temporary name gets its old name back, an unfinished copy and an empty
// name placeholder are removed, and the song that was being handled goes back
// with its companions to how it was before, so no song is split from them. What
// was done before that song stays done (and can be taken back by undo).
// Returns what was put right, a heading line per operation and one line per file,
// in the program's language; empty when nothing was left open.
std::vector<std::string> RecoverInterruptedOperations(FileSystem& fs, Trash* trash,
                                                      const std::string& journalFolder,
                                                      const std::string& folder);

}  // namespace tt
