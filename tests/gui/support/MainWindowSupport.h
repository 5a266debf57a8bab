#pragma once

#include <QFile>
#include <QTest>
#include <deque>
#include <memory>
#include <string>

#include "app/SettingsStore.h"
#include "app/UiLanguage.h"
#include "ui/FileListCtrl.h"
#include "ui/MainDlg.h"

namespace tt::test {

// A main window opened as the program opens it, on settings holding only the
// language, with a folder picker answering from `picks` (empty: Cancel).
struct OpenMainWindow {
    explicit OpenMainWindow(const char* language = "E") : window(Fresh(language)) {
        window->SetFolderPicker([this](QWidget*, bool, std::string& folder) {
            if (picks.empty())
                return false;
            folder = picks.front();
            picks.pop_front();
            return true;
        });
    }
    static CMainDlg* Fresh(const char* language) {
        QFile::remove(settings::FilePath());
        SetUiLanguage(UiLanguage::english);
        settings::WriteString(QStringLiteral("Language"), QString::fromLatin1(language));
        return new CMainDlg;
    }
    bool Show() {
        if (!window->OnInitDialog())
            return false;
        window->show();
        return QTest::qWaitForWindowExposed(window.get());
    }
    template <typename T = QWidget>
    T* Control(const char* id) const {
        return window->findChild<T*>(QString::fromLatin1(id));
    }
    CFileListCtrl* List() const { return window->fileList(); }
    // "old -> new" for every row, as the list shows them.
    QStringList Rows() const {
        QStringList rows;
        for (int row = 0; row < List()->model()->rowCount(); ++row)
            rows << Cell(row, 0) + QStringLiteral(" -> ") + Cell(row, 1);
        return rows;
    }
    QString Cell(int row, int column) const {
        return List()->model()->index(row, column).data().toString();
    }
    void CtrlClickRows(std::initializer_list<int> rows) const {
        for (int row : rows)
            QTest::mouseClick(List()->viewport(), Qt::LeftButton, Qt::ControlModifier,
                              List()->visualRect(List()->model()->index(row, 0)).center());
    }

    std::deque<std::string> picks;
    std::unique_ptr<CMainDlg> window;
};

}  // namespace tt::test
