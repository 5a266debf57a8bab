#pragma once

#include <string>

class QWidget;

namespace tt {

// Runs the folder picker: in source mode for "Select Folder", in destination mode
// for Copy+Rename. `path` holds the start folder going in and the chosen folder
// (a file-system path) when the user confirmed; false on Cancel.
bool PickFolder(QWidget* parent, bool destination, std::string& path);

}  // namespace tt
