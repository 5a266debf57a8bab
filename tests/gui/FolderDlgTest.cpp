// The folder picker and its tree over a temporary folder tree and a fake mount table.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidgetItemIterator>
#include <memory>

#include "GuiTestSupport.h"
#include "desktop/MessageBoxes.h"
#include "shell/ShellFolder.h"
#include "text/UiLanguage.h"
#include "ui/FolderDlg.h"
#include "ui/ShellTreeCtrl.h"

using namespace tt;

class FolderDlgTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir m_root;
    std::string m_mounts;
    std::shared_ptr<shell::Environment> m_environment;

    std::string P(const char* relative) const { return PathToCore(m_root.filePath(relative)); }

    static std::string PathOf(QTreeWidgetItem* item) {
        const ShellTreeItemData* data = CShellTreeCtrl::ItemData(item);
        return data ? data->parentFolder->PathOf(data->relativeId.data()) : "?";
    }
    static QTreeWidgetItem* Find(QTreeWidget* tree, const std::string& path) {
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            if (PathOf(*it) == path)
                return *it;
        }
        return nullptr;
    }
    static std::vector<std::string> ExpandedPaths(QTreeWidget* tree) {
        std::vector<std::string> paths;
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            if ((*it)->isExpanded() && (*it)->childCount() > 0)
                paths.push_back(PathOf(*it));
        }
        return paths;
    }
    std::unique_ptr<CFolderDlg> Open(const std::string& start, bool destination = false) {
        auto dialog = std::make_unique<CFolderDlg>(destination, nullptr, m_environment);
        dialog->m_strPath = start;
        dialog->show();
        return dialog;
    }
    // A real double click: the view acts on it only after a press on the same item.
    static void DoubleClick(QTreeWidget* tree, QTreeWidgetItem* item) {
        const QPoint point = tree->visualItemRect(item).center();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, point);
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, point);
    }
    static QPushButton* Ok(CFolderDlg& dialog) { return dialog.findChild<QPushButton*>("1"); }
    // Types `text` into the next input box and confirms it.
    static void AnswerInput(const QString& text) {
        test::AnswerNextModal([text](QWidget* box) {
            box->findChild<QLineEdit*>()->setText(text);
            test::ClickButton(box, QStringLiteral("OK"));
        });
    }

  private slots:
    void init() {
        QVERIFY(m_root.isValid());
        QDir(m_root.path()).removeRecursively();
        for (const char* folder : {"home/Music/Track 10/Deep", "home/Music/Track 2/.hidden",
                                   "home/Leaf", "home/Empty", "media/STICK"})
            QVERIFY(QDir().mkpath(m_root.filePath(folder)));
        SetUiLanguage(UiLanguage::english);
        m_mounts = "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n";
        m_environment = std::make_shared<shell::Environment>();
        m_environment->home = P("home");
        m_environment->removableRoots = {P("media")};
        m_environment->readMountTable = [this] { return m_mounts; };
    }

    void startFolder_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QStringList>("open");  // the target itself is opened too
        const QStringList none;
        QTest::newRow("deep") << "home/Music/Track 10/Deep"
                              << "home/Music/Track 10/Deep"
                              << QStringList{"home", "home/Music", "home/Music/Track 10"};
        QTest::newRow("trailing slash") << "home/Music/"
                                        << "home/Music" << QStringList{"home", "home/Music"};
        QTest::newRow("home") << "home"
                              << "home" << QStringList{"home"};
        QTest::newRow("missing") << "home/Music/Gone/x"
                                 << "home" << none;
        QTest::newRow("case differs") << "home/music"
                                      << "home" << none;
        QTest::newRow("prefix of a name") << "home/Musi"
                                          << "home" << none;
    }
    void startFolder() {
        QFETCH(QString, start);
        QFETCH(QString, selected);
        QFETCH(QStringList, open);
        auto dialog = Open(P(qPrintable(start)));
        QCOMPARE(dialog->m_strPath, P(qPrintable(selected)));
        QVERIFY(Ok(*dialog)->isEnabled());
        // Only the branch down to the selection is open.
        std::vector<std::string> branch;
        for (const QString& folder : open)
            branch.push_back(P(qPrintable(folder)));
        QCOMPARE(ExpandedPaths(dialog->m_tree), branch);
    }

    void virtualItemCannotBeChosen() {
        auto dialog = Open(P("home/Leaf"));
        QTest::keyClick(dialog->m_tree, Qt::Key_Left);  // no subfolders: up in one press
        QCOMPARE(dialog->m_strPath, P("home"));
        QTreeWidgetItem* computer = dialog->m_tree->topLevelItem(1);
        QCOMPARE(computer->text(0), QStringLiteral("Computer"));
        dialog->m_tree->setCurrentItem(computer);
        QCOMPARE(dialog->m_strPath, std::string());
        QVERIFY(!Ok(*dialog)->isEnabled());
        QTest::keyClick(dialog->m_tree, Qt::Key_Return);
        DoubleClick(dialog->m_tree, computer);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->result(), 0);
    }

    void doubleClick_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("no subfolders") << "home/Leaf" << true;
        QTest::newRow("subfolders") << "home/Music" << false;
        QTest::newRow("only a hidden subfolder") << "home/Music/Track 2" << false;
    }
    void doubleClick() {
        QFETCH(QString, folder);
        QFETCH(bool, accepted);
        auto dialog = Open(P(qPrintable(folder)));
        QTreeWidgetItem* item = dialog->m_tree->currentItem();
        const bool expanded = item->isExpanded();
        DoubleClick(dialog->m_tree, item);
        QCOMPARE(dialog->result() == QDialog::Accepted, accepted);
        QCOMPARE(dialog->isVisible(), !accepted);
        QCOMPARE(dialog->m_strPath, P(qPrintable(folder)));
        if (!accepted)
            QCOMPARE(item->isExpanded(), !expanded);
    }

    void contextMenu() {
        auto dialog = Open(P("home/Music"));
        CShellTreeCtrl* tree = dialog->m_tree;
        QTreeWidgetItem* music = tree->currentItem();
        QStringList labels;
        const auto readMenu = [&labels] {
            for (QAction* action : QApplication::activePopupWidget()->actions())
                labels << action->text();
            QApplication::activePopupWidget()->close();
        };
        QTimer::singleShot(0, tree, readMenu);
        tree->HandleRightClick(tree->visualItemRect(music).center());
        QCOMPARE(labels,
                 QStringList({"Open", "New Folder", "Rename", "Move to Trash", "Copy Path"}));
        QTimer::singleShot(0, tree, readMenu);  // Shift+F10 opens the same menu
        QTest::keyClick(tree, Qt::Key_F10, Qt::ShiftModifier);
        QCOMPARE(labels.size(), 10);
        // Right of the label or left of the icon the row's item is selected, with
        // no menu; the empty area below the rows removes the selection.
        const QRect row = tree->visualItemRect(music);
        for (const int x : {tree->viewport()->width() - 3, row.left() - 3}) {
            tree->setCurrentItem(tree->topLevelItem(1));
            tree->HandleRightClick(QPoint(x, row.center().y()));
            QCOMPARE(tree->currentItem(), music);
        }
        tree->HandleRightClick(QPoint(5, tree->viewport()->height() - 2));
        QVERIFY(!Ok(*dialog)->isEnabled());

        // Each verb reads the parent again and selects what it made.
        AnswerInput(QStringLiteral("Fresh"));
        QVERIFY(tree->InvokeCommand(music, shell::Verb::newFolder));
        QCOMPARE(dialog->m_strPath, P("home/Music/Fresh"));
        QVERIFY(QFileInfo(m_root.filePath("home/Music/Fresh")).isDir());
        AnswerInput(QStringLiteral("Stale"));
        QVERIFY(tree->InvokeCommand(tree->currentItem(), shell::Verb::rename));
        QCOMPARE(dialog->m_strPath, P("home/Music/Stale"));
        QCOMPARE(tree->currentItem()->text(0), QStringLiteral("Stale"));
        QVERIFY(tree->InvokeCommand(tree->currentItem(), shell::Verb::moveToTrash));
        QCOMPARE(dialog->m_strPath, P("home/Music"));
        QVERIFY(!QFileInfo::exists(m_root.filePath("home/Music/Stale")));
        QVERIFY(!Find(tree, P("home/Music/Stale")));
        QVERIFY(tree->InvokeCommand(tree->currentItem(), shell::Verb::copyPath));
        QCOMPARE(QApplication::clipboard()->text(), m_root.filePath("home/Music"));

        // A rename onto an existing folder fails with the system's error number.
        QString message;
        test::AnswerNextModal([&message](QWidget* box) {
            test::AnswerNextModal([&message](QWidget* failure) {
                message = static_cast<QMessageBox*>(failure)->text();
                test::ClickButton(failure, QStringLiteral("OK"));
            });
            box->findChild<QLineEdit*>()->setText(QStringLiteral("Track 2"));
            test::ClickButton(box, QStringLiteral("OK"));
        });
        QVERIFY(!tree->InvokeCommand(Find(tree, P("home/Music/Track 10")), shell::Verb::rename));
        QCOMPARE(message, QStringLiteral("InvokeCommand failed. hr=11"));
        QVERIFY(QFileInfo(m_root.filePath("home/Music/Track 10/Deep")).isDir());
    }

    void mediaComeAndGo() {
        auto dialog = Open(std::string());
        QTreeWidgetItem* computer = dialog->m_tree->topLevelItem(1);
        computer->setExpanded(true);
        QCOMPARE(computer->childCount(), 1);
        m_mounts += "2 1 8:17 / " + P("media/STICK") + " rw - vfat /dev/sdb1 rw\n";
        computer->setExpanded(false);
        computer->setExpanded(true);
        QCOMPARE(computer->childCount(), 2);
        dialog->m_tree->setCurrentItem(computer->child(0));
        QCOMPARE(dialog->m_strPath, P("media/STICK"));
        // Found as a start folder below Computer, which the search reads only once.
        dialog->m_tree->Populate(P("media/STICK"));
        QCOMPARE(dialog->m_strPath, P("media/STICK"));
        QTest::keyClick(dialog->m_tree, Qt::Key_Return);
        QCOMPARE(dialog->result(), int(QDialog::Accepted));

        // Opening Computer again reads it again; the selection stays on the stick
        // while it is there, and goes to Computer once it is gone.
        dialog = Open(P("media/STICK"));
        computer = dialog->m_tree->topLevelItem(1);
        for (const std::string& selected : {P("media/STICK"), std::string()}) {
            computer->setExpanded(false);
            computer->setExpanded(true);
            QCOMPARE(dialog->m_strPath, selected);
            m_mounts = "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n";
        }
    }

    // Enter presses the focused button: from the tree it is OK, Tab leads to OK
    // and then Cancel.
    void enterPressesTheFocusedButton() {
        for (const QString keys : {"", "\t", "\t\t"}) {
            auto dialog = Open(P("home/Leaf"));
            dialog->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
            QTest::keyClicks(QApplication::focusWidget(), keys + '\r');
            QCOMPARE(dialog->result(), keys.size() < 2 ? QDialog::Accepted : QDialog::Rejected);
        }
    }

    // '/', '~' or Ctrl+L opens the path field; Enter selects the typed folder and
    // closes it, or reports a path that is no folder; Esc closes the field alone.
    void pathField_data() {
        QTest::addColumn<QString>("keys");    // the first opens the field ("^" is Ctrl+L)
        QTest::addColumn<QString>("result");  // the folder selected, or the message
        QTest::newRow("slash") << "/@/home/Music"
                               << "home/Music";  // @: the root
        QTest::newRow("tilde") << "~/Music/Track 2"
                               << "home/Music/Track 2";
        QTest::newRow("Ctrl+L, relative") << "^Deep"
                                          << "home/Music/Track 10/Deep";
        QTest::newRow("a file") << "~/Leaf/song.mid"
                                << "This is not a folder:\n@/home/Leaf/song.mid";
        QTest::newRow("German") << "~/Gone"
                                << "Das ist kein Ordner:\n@/home/Gone";
    }
    void pathField() {
        QFETCH(QString, keys);
        QFETCH(QString, result);
        SetUiLanguage(result.startsWith("Das") ? UiLanguage::german : UiLanguage::english);
        QFile(m_root.filePath("home/Leaf/song.mid")).open(QIODevice::WriteOnly);
        auto dialog = Open(P("home/Music/Track 10"));
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
        QLineEdit* field = dialog->pathField();
        if (keys[0] == '^')
            QTest::keyClick(dialog->m_tree, Qt::Key_L, Qt::ControlModifier);
        else
            QTest::keyClick(dialog->m_tree, keys[0].toLatin1());
        QVERIFY(field->isVisible() && dialog->focusWidget() == field);
        if (keys[0] == '^')  // the selected folder, to type over
            QCOMPARE(field->selectedText(), m_root.filePath("home/Music/Track 10"));
        QTest::keyClicks(field, keys.mid(1).replace('@', m_root.path()));
        QString message;
        if (result.contains('\n'))
            test::AnswerNextMessageBox(QMessageBox::NoButton, &message);
        QTest::keyClick(field, Qt::Key_Return);
        QVERIFY(dialog->isVisible());  // Enter in the field never ends the dialog
        if (!result.contains('\n')) {
            QCOMPARE(dialog->m_strPath, P(qPrintable(result)));
            QVERIFY(!field->isVisible() && dialog->focusWidget() == dialog->m_tree);
            return;
        }
        QTRY_COMPARE(message, result.replace('@', m_root.path()));
        QTest::keyClick(field, Qt::Key_Escape);
        QVERIFY(!field->isVisible() && dialog->isVisible());
    }

    void iconCacheHoldsAHundred() {
        CShellTreeCtrl tree(nullptr, m_environment);
        for (int i = 0; i < 100; ++i)
            QCOMPARE(tree.AddIconToCache(QStringLiteral("icon-%1").arg(i)), i);
        QCOMPARE(tree.AddIconToCache(QStringLiteral("icon-7")), 7);
        QCOMPARE(tree.AddIconToCache(QStringLiteral("one-too-many")), -1);
        tree.Populate(P("home/Leaf"));  // items beyond the cache go without an image
        QVERIFY(tree.currentItem()->icon(0).isNull());
    }

    void texts_data() {
        QTest::addColumn<bool>("german");
        QTest::addColumn<bool>("destination");
        QTest::addColumn<QStringList>("texts");  // title, OK, Cancel, the top level
        QTest::newRow("en source")
            << false << false
            << QStringList{"Select Folder", "OK", "Cancel", "Home", "Computer", "Network"};
        QTest::newRow("en destination")
            << false << true
            << QStringList{
                   "Select Destination Folder", "OK", "Cancel", "Home", "Computer", "Network"};
        QTest::newRow("de source")
            << true << false << QStringList{"Ordner wählen",       "OK",       "Abbrechen",
                                            "Persönlicher Ordner", "Computer", "Netzwerk"};
        QTest::newRow("de destination")
            << true << true << QStringList{"Zielordner wählen",   "OK",       "Abbrechen",
                                           "Persönlicher Ordner", "Computer", "Netzwerk"};
    }
    void texts() {
        QFETCH(bool, german);
        QFETCH(bool, destination);
        QFETCH(QStringList, texts);
        SetUiLanguage(german ? UiLanguage::german : UiLanguage::english);
        auto dialog = Open(std::string(), destination);
        QStringList shown{dialog->windowTitle(), Ok(*dialog)->text(),
                          dialog->findChild<QPushButton*>("2")->text()};
        for (int i = 0; i < dialog->m_tree->topLevelItemCount(); ++i)
            shown << dialog->m_tree->topLevelItem(i)->text(0);
        QCOMPARE(shown, texts);
        QVERIFY(!dialog->m_tree->accessibleName().isEmpty());
    }
};

int main(int argc, char** argv) {
    tt::test::UseTemporaryConfigHome();
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());  // the trash goes here
    QApplication app(argc, argv);
    tt::test::FailUnexpectedMessageBoxes();
    FolderDlgTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "FolderDlgTest.moc"
