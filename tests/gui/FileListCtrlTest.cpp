// The file list: mouse, focus and selection rules, painting from the provider,
// shortening of multibyte names and the texts offered to accessibility tools.
#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <set>

#include "GuiTestSupport.h"
#include "ui/FileListCtrl.h"

using namespace tt;
using RowList = std::vector<std::int32_t>;
Q_DECLARE_METATYPE(RowList)

namespace {

std::set<int> g_asked;  // rows the provider was asked for

bool ProvideTexts(int row, std::intptr_t, int, std::string* texts, void*) {
    g_asked.insert(row);
    texts[0] = "Song " + std::to_string(row) + ".mid";
    texts[1] = "<no title found>";
    return true;
}

// A list of `count` rows showing five and a half of them, beside a line edit
// that holds the focus.
struct Window {
    explicit Window(int count) {
        auto* layout = new QVBoxLayout(&top);
        layout->addWidget(list);
        layout->addWidget(other);
        list->Configure(2, ProvideTexts, nullptr, 4, true, true);
        list->InsertColumn(0, QStringLiteral("Old Filename"), 150);
        list->InsertColumn(1, QStringLiteral("New Filename"), 150);
        list->AppendItems(count);
        top.resize(400, 300);
        top.show();
        QVERIFY(QTest::qWaitForWindowExposed(&top));
        rowHeight = list->fontMetrics().height() + 4;
        top.resize(400, top.height() + 5 * rowHeight + rowHeight / 2 - list->viewport()->height());
        QApplication::processEvents();
        other->setFocus();
        list->selectionModel()->clearCurrentIndex();
    }
    void Click(Qt::MouseButton button, double row, Qt::KeyboardModifiers keys = {}) {
        const int top = list->verticalScrollBar()->value();
        QTest::mouseClick(list->viewport(), button, keys,
                          QPoint(20, static_cast<int>((row - top) * rowHeight)));
    }

    QWidget top;
    CFileListCtrl* list = new CFileListCtrl;
    QLineEdit* other = new QLineEdit;
    int rowHeight = 0;
};

}  // namespace

class FileListCtrlTest : public QObject {
    Q_OBJECT

  private slots:
    void mouseRules_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("button");  // 0: double click
        QTest::addColumn<double>("row");  // where, in rows from the top
        QTest::addColumn<RowList>("selected");
        for (const int button : {0, int(Qt::LeftButton), int(Qt::RightButton)}) {
            const QByteArray name = QByteArray::number(button);
            QTest::newRow(name + " below the last row") << 3 << button << 4.0 << RowList{1, 2};
            QTest::newRow(name + " on the partly visible row")
                << 20 << button << 5.2 << RowList{1, 2};
        }
        QTest::newRow("empty list") << 0 << int(Qt::LeftButton) << 0.5 << RowList{};
        QTest::newRow("click on a row") << 20 << int(Qt::LeftButton) << 3.5 << RowList{3};
        QTest::newRow("double click on a row") << 20 << 0 << 4.5 << RowList{4};
    }
    void mouseRules() {
        QFETCH(int, count);
        QFETCH(int, button);
        QFETCH(double, row);
        QFETCH(RowList, selected);
        Window window(count);
        for (int selectedRow : {1, 2})
            window.list->selectionModel()->select(
                window.list->model()->index(selectedRow, 0),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
        if (button == 0)
            QTest::mouseDClick(window.list->viewport(), Qt::LeftButton, {},
                               QPoint(20, static_cast<int>(row * window.rowHeight)));
        else
            window.Click(Qt::MouseButton(button), row);
        QVERIFY(window.list->hasFocus());
        QCOMPARE(window.list->GetSelectedItems(), selected);
    }

    void selectionAndFocusRules() {
        Window window(30);
        CFileListCtrl& list = *window.list;
        QSignalSpy changed(&list, &CFileListCtrl::itemChanged);
        // Gaining the focus with no focused row focuses the top row shown, unselected.
        list.verticalScrollBar()->setValue(10);
        list.setFocus();
        QCOMPARE(list.currentIndex().row(), 10);
        QVERIFY(list.GetSelectedItems().empty() && !changed.isEmpty());

        window.Click(Qt::LeftButton, 12.5);
        window.Click(Qt::LeftButton, 14.5, Qt::ShiftModifier);
        window.Click(Qt::LeftButton, 13.5, Qt::ControlModifier);
        window.Click(Qt::LeftButton, 11.5, Qt::ControlModifier);
        int first[2] = {};
        QCOMPARE(list.GetSelectedItems(2, first), 2);
        QCOMPARE(RowList(first, first + 2), (RowList{11, 12}));
        QCOMPARE(list.GetSelectedCount(), 3);

        QVERIFY(list.DeselectItem(11) && !list.DeselectItem(30));
        QCOMPARE(list.GetSelectedItems(), (RowList{12, 14}));
        QVERIFY(!list.currentIndex().isValid());  // the deselected row was the focused one
        // Deselecting all drops the focus state only where the row was selected.
        for (const bool selected : {true, false}) {
            list.SelectAllItems();
            if (!selected)
                list.DeselectItem(12);
            list.selectionModel()->setCurrentIndex(list.model()->index(12, 0),
                                                   QItemSelectionModel::NoUpdate);
            list.DeselectAllItems();
            QCOMPARE(list.GetSelectedCount(), 0);
            QCOMPARE(list.currentIndex().isValid(), !selected);
        }
    }

    // The bar shows whether the list has the focus; a paint asks only for the rows
    // it shows; the display role gives the painted texts.
    void paintsFromTheProvider() {
        Window window(1000);
        CFileListCtrl& list = *window.list;
        list.verticalScrollBar()->setValue(500);
        list.setFocus();
        window.Click(Qt::LeftButton, 501.5);
        const QPoint inBar = list.viewport()->mapTo(&list, QPoint(290, window.rowHeight + 3));
        g_asked.clear();
        QCOMPARE(list.grab().toImage().pixelColor(inBar),
                 list.palette().color(QPalette::Active, QPalette::Highlight));
        QVERIFY(!g_asked.empty() && *g_asked.begin() >= 500 && *g_asked.rbegin() <= 506);
        window.other->setFocus();
        QCOMPARE(list.grab().toImage().pixelColor(inBar),
                 list.palette().color(QPalette::Disabled, QPalette::Text));
        const QModelIndex cell = list.model()->index(7, 0);
        QCOMPARE(cell.data().toString() + cell.siblingAtColumn(1).data().toString(),
                 QStringLiteral("Song 7.mid<no title found>"));
    }

    void fitTextKeepsWholeCharacters_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("ascii") << QStringLiteral("A rather long song title.mid");
        QTest::newRow("umlauts") << QStringLiteral("Grüße aus Köln, Straße über Öl.mid");
        QTest::newRow("japanese") << QStringLiteral("日本語の歌のとても長い題名.mid");
        QTest::newRow("emoji") << QStringLiteral("🎵🎶🎷🎸🎹🎺🎻 Song.mid");
    }
    void fitTextKeepsWholeCharacters() {
        QFETCH(QString, text);
        CFileListCtrl list;
        const QFontMetrics metrics = list.fontMetrics();
        const std::string name = text.toStdString();
        const int full = metrics.horizontalAdvance(text);
        const int dots = metrics.horizontalAdvance(QStringLiteral("..."));
        for (int width = 0; width <= full; width += 3) {
            std::string scratch;
            const std::string* shown = list.FitText(metrics, name, scratch, width);
            QVERIFY(shown != nullptr && (full <= width) == (*shown == name));
            if (full <= width)
                continue;
            const std::string kept = shown->substr(0, shown->size() - 3);
            QVERIFY(shown->ends_with("...") && name.starts_with(kept));
            const QString keptText = QString::fromStdString(kept);
            QVERIFY2(keptText.toStdString() == kept, "a character was split");
            QVERIFY(kept.empty() || metrics.horizontalAdvance(keptText) + dots <= width);
            // The longest start that fits: one character more would not.
            const int next = keptText.size() + (text[keptText.size()].isHighSurrogate() ? 2 : 1);
            QVERIFY(metrics.horizontalAdvance(text.left(next)) + dots > width);
        }
    }
};

int main(int argc, char** argv) {
    tt::test::UseTemporaryConfigHome();
    QApplication app(argc, argv);
    FileListCtrlTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "FileListCtrlTest.moc"
