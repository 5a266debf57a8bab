// The file list: mouse, focus and selection rules, painting from the provider,
// shortening of multibyte names and the texts offered to accessibility tools.
#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>
#include <set>

#include "GuiTestSupport.h"
#include "ui/FileListCtrl.h"

using namespace tt;
using RowList = std::vector<std::int32_t>;

namespace {

std::set<int> g_asked;  // rows the provider was asked for

bool ProvideTexts(int row, std::intptr_t, int, std::string* texts, void*) {
    g_asked.insert(row);
    texts[0] = "Song " + std::to_string(row) + ".mid";
    texts[1] = "<no title found>";
    return true;
}

// A list of `count` rows beside a line edit.
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
    }
    // Shows the list with rows 1 and 2 selected, five and a half rows high, the line
    // edit holding the focus, or `topRow` at the top and the focus in the list;
    // false when the window never showed.
    bool Show(int topRow = -1) {
        top.show();
        if (!QTest::qWaitForWindowExposed(&top))
            return false;
        top.resize(400, 300 + 5 * rowHeight + rowHeight / 2 - list->viewport()->height());
        QApplication::processEvents();
        other->setFocus();
        list->selectionModel()->clearCurrentIndex();
        for (int row : {1, 2})
            Select(row);
        if (topRow >= 0)
            list->verticalScrollBar()->setValue(topRow), list->setFocus();
        return true;
    }
    void Select(int row) {
        list->selectionModel()->select(list->model()->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    QWidget top;
    CFileListCtrl* list = new CFileListCtrl;
    QLineEdit* other = new QLineEdit;
    const int rowHeight = list->fontMetrics().height() + 4;
};

}  // namespace

class FileListCtrlTest : public QObject {
    Q_OBJECT

  private slots:
    // Below the last fully visible row a click, double click or right click only
    // focuses the list; on a row it does what a list does.
    void mouseRules_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<Qt::MouseButton>("button");  // NoButton: double click
        QTest::addColumn<double>("row");              // where, in rows from the top
        QTest::addColumn<RowList>("selected");
        QTest::newRow("click below the rows") << 3 << Qt::LeftButton << 4.0 << RowList{1, 2};
        QTest::newRow("double click below the rows") << 3 << Qt::NoButton << 4.0 << RowList{1, 2};
        QTest::newRow("right click below the rows") << 3 << Qt::RightButton << 4.0 << RowList{1, 2};
        QTest::newRow("click on a part row") << 20 << Qt::LeftButton << 5.2 << RowList{1, 2};
        QTest::newRow("double click on a part row") << 20 << Qt::NoButton << 5.2 << RowList{1, 2};
        QTest::newRow("right click on a part row") << 20 << Qt::RightButton << 5.2 << RowList{1, 2};
        QTest::newRow("click in an empty list") << 0 << Qt::LeftButton << 0.5 << RowList{};
        QTest::newRow("click on a row") << 20 << Qt::LeftButton << 3.5 << RowList{3};
        QTest::newRow("double click on a row") << 20 << Qt::NoButton << 4.5 << RowList{4};
    }
    void mouseRules() {
        QFETCH(int, count);
        QFETCH(Qt::MouseButton, button);
        QFETCH(double, row);
        QFETCH(RowList, selected);
        Window window(count);
        QVERIFY(window.Show());
        const QPoint point(20, static_cast<int>(row * window.rowHeight));
        if (button == Qt::NoButton)
            QTest::mouseDClick(window.list->viewport(), Qt::LeftButton, {}, point);
        else
            QTest::mouseClick(window.list->viewport(), button, {}, point);
        QVERIFY(window.list->hasFocus());
        QCOMPARE(window.list->GetSelectedItems(), selected);
    }

    // Gaining the focus with no focused row focuses the top row shown, unselected.
    void focusGoesToTheTopRowShown() {
        Window window(1000);
        QVERIFY(window.Show(500));
        QCOMPARE(window.list->currentIndex().row(), 500);
        QCOMPARE(window.list->GetSelectedItems(), (RowList{1, 2}));
    }

    // The bar shows whether the list has the focus.
    void barShowsTheFocus() {
        Window window(1000);
        QVERIFY(window.Show(500));
        CFileListCtrl& list = *window.list;
        window.Select(501);
        const QPoint inBar = list.viewport()->mapTo(&list, QPoint(290, window.rowHeight + 3));
        QCOMPARE(list.grab().toImage().pixelColor(inBar),
                 list.palette().color(QPalette::Active, QPalette::Highlight));
        window.other->setFocus();
        QCOMPARE(list.grab().toImage().pixelColor(inBar), list.UnfocusedBarColor());
    }

    // A paint asks only for the rows it shows.
    void paintAsksOnlyForTheRowsShown() {
        Window window(1000);
        QVERIFY(window.Show(500));
        g_asked.clear();
        window.list->grab();
        QVERIFY(!g_asked.empty() && *g_asked.begin() >= 500 && *g_asked.rbegin() <= 506);
    }

    // The display role gives the painted texts.
    void displayRoleGivesThePaintedTexts() {
        Window window(1000);
        const QModelIndex cell = window.list->model()->index(7, 0);
        QCOMPARE(cell.data().toString() + cell.siblingAtColumn(1).data().toString(),
                 QStringLiteral("Song 7.mid<no title found>"));
    }

    // Deselecting all drops the focus state only where the row was selected.
    void deselectAllDropsTheFocusOnlyOfASelectedRow() {
        Window window(1000);
        QVERIFY(window.Show(500));
        CFileListCtrl& list = *window.list;
        list.DeselectAllItems();
        QCOMPARE(list.currentIndex().row(), 500);
        list.SelectAllItems();
        list.DeselectAllItems();
        QVERIFY(list.GetSelectedCount() == 0 && !list.currentIndex().isValid());
    }

    void fitTextKeepsWholeCharacters() {
        CFileListCtrl list;
        const QFontMetrics metrics = list.fontMetrics();
        const int dots = metrics.horizontalAdvance(QStringLiteral("..."));
        for (const QString text : {"Grüße aus Köln, Straße über Öl.mid",
                                   "日本語の歌のとても長い題名.mid", "🎵🎶🎷🎸🎹🎺🎻 Song.mid"}) {
            const std::string name = text.toStdString();
            const int full = metrics.horizontalAdvance(text);
            for (int width = 0; width < full; width += 3) {
                std::string scratch;
                const std::string* shown = list.FitText(metrics, name, scratch, width);
                const std::string kept = shown->substr(0, shown->size() - 3);
                const QString keptText = QString::fromStdString(kept);
                QVERIFY(shown->ends_with("...") && name.starts_with(kept));
                QVERIFY2(keptText.toStdString() == kept, "a character was split");
                QVERIFY(kept.empty() || metrics.horizontalAdvance(keptText) + dots <= width);
            }
            std::string scratch;
            QCOMPARE(list.FitText(metrics, name, scratch, full), &name);
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
