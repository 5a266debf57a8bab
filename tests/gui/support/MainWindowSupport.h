#pragma once

#include <QFile>
#include <QTest>
#include <deque>
#include <memory>
#include <string>

#include "desktop/SettingsStore.h"
#include "text/UiLanguage.h"
#include "ui/FileListCtrl.h"
#include "ui/MainDlg.h"

namespace tt::test {

// A main window opened as the program opens it, on settings holding only the
// language (and what the test adds before Show), with a folder picker answering
// from `picks` (empty: Cancel), its engine working through `fs`.
struct OpenMainWindow {
    explicit OpenMainWindow(const char* language = "E", FileSystem& fs = SystemFileSystem())
        : window(std::make_unique<CMainDlg>(fs)) {
        QFile::remove(settings::FilePath());
        SetUiLanguage(UiLanguage::english);
        settings::WriteString(QStringLiteral("Language"), QString::fromLatin1(language));
        window->SetFolderPicker([this](QWidget*, bool, std::string& folder) {
            const bool picked = !picks.empty();
            if (picked)
                folder = picks.front(), picks.pop_front();
            return picked;
        });
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
            rows << List()->model()->index(row, 0).data().toString() + QStringLiteral(" -> ") +
                        List()->model()->index(row, 1).data().toString();
        return rows;
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
