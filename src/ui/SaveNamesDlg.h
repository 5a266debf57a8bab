#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>

#include "engine/SongFileList.h"
#include "export/NameListFormat.h"
#include "platform/FileSystem.h"

class QButtonGroup;

namespace tt {

// "Save Midi Names": the user picks one of the three list formats; OK asks for
// the file name in a Save As dialog, which starts in the folder last saved to in
// this run (else in the listed folder) and proposes the listed folder's name with
// the format's extension, and writes the list. The format is remembered
// in "SaveFileType" on every OK that has a format chosen, also when nothing is
// written. There is no Cancel button: the close box and Esc end the dialog without
// writing. Controls carry their ids as object names ("1070", "1067"-"1069", "1").
class CSaveNamesDlg : public QDialog {
    Q_OBJECT

  public:
    CSaveNamesDlg(const SongFileList& songFiles, QWidget* parent);

    // 0 tab text, 1 blank text, 2 spreadsheet, -1 none selected.
    int m_nFileType = 0;
    // Where the list is written; the real file system unless a test says otherwise.
    FileSystem* m_pFileSystem = &SystemFileSystem();
    // The listed folder: where the Save As dialog starts until a list was saved in
    // this run, and whose name it proposes for the file.
    std::string m_strListedFolder;
    // The folder a list was last saved to in this run; empty before the first.
    inline static QString s_lastSaveFolder;

    // What the Save As step is asked with.
    struct SaveAsRequest {
        QString title;
        QStringList nameFilters;  // in Qt's form, "Textdatei (*.txt)"
        QString defaultSuffix;    // without the dot
        QString directory;        // where it starts; empty: the toolkit's choice
        QString fileName;         // the name it proposes; may be empty
    };
    // Replaces the Save As step (tests): returns the chosen path, empty for cancel.
    // Unset, the toolkit's Save As dialog asks, with its overwrite prompt.
    using SaveAsStep = std::function<QString(QWidget* parent, const SaveAsRequest& request)>;
    inline static SaveAsStep s_saveAsStep;

    // Reads the remembered format into the radio buttons and runs the dialog.
    int exec() override;
    int DoModal() { return exec(); }

    // The Save As filters of a format in Qt's form ("description (pattern)"), from
    // the "description|pattern||" form the format gives.
    static QStringList NameFilters(const char* barFilter);

  protected:
    // OK or Enter.
    void accept() override;

  private:
    void OnInitDialog();
    // True when the list was written; otherwise the user has been told why not.
    bool WriteList(const QString& path, NameListFormat format);

    const SongFileList& m_songFiles;
    QButtonGroup* m_group;
};

}  // namespace tt
