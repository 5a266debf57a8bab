#include "export/SaveNamesDlg.h"

namespace tt {

// Placeholder; the real dialog replaces it.
CSaveNamesDlg::CSaveNamesDlg(const SongFileList& songFiles, QWidget* parent)
    : QDialog(parent), m_songFiles(songFiles) {}

}  // namespace tt
