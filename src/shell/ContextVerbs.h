#pragma once

#include <string>
#include <vector>

#include "shell/IdList.h"

namespace tt::shell {

class ShellFolder;

// The commands of a folder's context menu.
enum class Verb { open, newFolder, rename, moveToTrash, copyPath };

// The menu label in the UI language.
const char* VerbLabel(Verb verb);

// The verbs offered for a child of `parent`, in menu order: a virtual folder can
// only be opened; the home folder, a volume and the root cannot be renamed or
// moved to the trash.
std::vector<Verb> VerbsOf(const ShellFolder& parent, const std::uint8_t* id);

// The file-system steps behind the verbs. Each returns 0 on success, else the
// system's error number of the failing step.

// Makes folder `name` in `parent`. The name must be a single valid file name.
int CreateFolder(const std::string& parent, const std::string& name);
// Gives the folder at `path` the name `newName` in the same parent folder; never
// replaces anything that exists under the new name.
int RenameFolder(const std::string& path, const std::string& newName);
// Moves the folder to the user's trash.
int MoveFolderToTrash(const std::string& path);

// "New Folder", or "New Folder (2)" and so on when that exists in `parent`.
std::string UnusedFolderName(const std::string& parent);

}  // namespace tt::shell
