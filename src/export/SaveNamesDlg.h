#pragma once

#include <QDialog>

#include "engine/SongFileList.h"

namespace tt {

// "Save Midi Names": the user picks one of the three list formats; OK asks for
// the file name in a Save As dialog and writes the list. The format is remembered.
class CSaveNamesDlg : public QDialog {
    Q_OBJECT

  public:
    CSaveNamesDlg(const SongFileList& songFiles, QWidget* parent);

    // 0 tab text, 1 blank text, 2 spreadsheet, -1 none selected.
    int m_nFileType = 0;

    int DoModal() { return exec(); }

  private:
    const SongFileList& m_songFiles;
};

}  // namespace tt
