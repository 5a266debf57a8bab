#pragma once

#include <QAbstractItemModel>
#include <QApplication>
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

// A main window as the program opens it, with fresh settings holding only the
// language, and a folder picker that answers from `picks` (empty: Cancel).
struct OpenMainWindow {
    explicit OpenMainWindow(const char* language = "E") {
        QFile::remove(settings::FilePath());
        SetUiLanguage(UiLanguage::english);
        settings::WriteString(QStringLiteral("Language"), QString::fromLatin1(language));
        window = std::make_unique<CMainDlg>();
        window->SetFolderPicker([this](QWidget*, bool, std::string& folder) {
            if (picks.empty())
                return false;
            folder = picks.front();
            picks.pop_front();
            return true;
        });
    }
    // Initialises and shows the window; false when it failed to open.
    bool Show() {
        if (!window->OnInitDialog())
            return false;
        window->show();
        return QTest::qWaitForWindowExposed(window.get());
    }
    template <typename T>
    T* Control(const char* id) const {
        return window->findChild<T*>(QString::fromLatin1(id));
    }
    CFileListCtrl* List() const { return window->fileList(); }
    // "old -> new" for every row, as the list shows them.
    QStringList Rows() const {
        QStringList rows;
        const QAbstractItemModel* model = List()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            rows << model->index(row, 0).data().toString() + QStringLiteral(" -> ") +
                        model->index(row, 1).data().toString();
        return rows;
    }
    // Ctrl+clicks the rows, as a user adds them to the selection.
    void CtrlClickRows(std::initializer_list<int> rows) const {
        for (int row : rows) {
            const QRect cell = List()->visualRect(List()->model()->index(row, 0));
            QTest::mouseClick(List()->viewport(), Qt::LeftButton, Qt::ControlModifier,
                              cell.center());
        }
    }

    std::deque<std::string> picks;
    std::unique_ptr<CMainDlg> window;
};

}  // namespace tt::test
