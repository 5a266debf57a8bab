// The file list: mouse, focus and selection rules, painting from the provider,
// shortening of multibyte names and the texts offered to accessibility tools.
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStringDecoder>
#include <QTest>
#include <QVBoxLayout>
#include <set>

#include "GuiTestSupport.h"
#include "ui/FileListCtrl.h"

using namespace tt;

namespace {

struct Rows {
    std::vector<std::string> oldNames;
    std::set<int> asked;  // rows the provider was asked for
};

bool ProvideTexts(int row, std::intptr_t, int columns, std::string* texts, void* context) {
    auto* rows = static_cast<Rows*>(context);
    rows->asked.insert(row);
    texts[0] = rows->oldNames.at(static_cast<std::size_t>(row));
    if (columns > 1)
        texts[1] = "<no title found>";
    return true;
}

// A list beside a line edit that can take the focus away from it.
struct Window {
    explicit Window(int count) {
        for (int i = 0; i < count; ++i)
            rows.oldNames.push_back("Song " + std::to_string(i) + ".mid");
        auto* layout = new QVBoxLayout(&top);
        layout->addWidget(list);
        layout->addWidget(other);
        list->Configure(2, ProvideTexts, &rows, 4, true, true);
        list->InsertColumn(0, QStringLiteral("Old Filename"), 150);
        list->InsertColumn(1, QStringLiteral("New Filename"), 150);
        list->AppendItems(count);
        top.resize(400, 300);
        top.show();
        QVERIFY(QTest::qWaitForWindowExposed(&top));
        rowHeight = list->visualRect(list->model()->index(0, 0)).height();
        // Five and a half rows fit: row 5 is the partly visible one.
        const int extra = 5 * rowHeight + rowHeight / 2 - list->viewport()->height();
        top.resize(400, 300 + extra);
        QApplication::processEvents();
        other->setFocus();
    }
    std::vector<std::int32_t> Selected() const { return list->GetSelectedItems(); }

    QWidget top;
    CFileListCtrl* list = new CFileListCtrl;
    QLineEdit* other = new QLineEdit;
    Rows rows;
    int rowHeight = 0;
};

using RowList = std::vector<std::int32_t>;

}  // namespace

Q_DECLARE_METATYPE(RowList)

class FileListCtrlTest : public QObject {
    Q_OBJECT

  private slots:
    void mouseRules_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("action");
        QTest::addColumn<double>("rowPosition");  // y in rows from the top
        QTest::addColumn<RowList>("selected");
        for (const QString action : {"click", "double", "right"}) {
            QTest::newRow(qPrintable(action + " below the last row"))
                << 3 << action << 4.0 << RowList{1, 2};
            QTest::newRow(qPrintable(action + " on the partly visible row"))
                << 20 << action << 5.2 << RowList{1, 2};
            QTest::newRow(qPrintable(action + " in an empty list"))
                << 0 << action << 0.5 << RowList{};
        }
        QTest::newRow("click on a row") << 20 << "click" << 3.5 << RowList{3};
        QTest::newRow("double click on a row") << 20 << "double" << 4.5 << RowList{4};
        QTest::newRow("right click on a selected row") << 20 << "right" << 2.5 << RowList{1, 2};
    }
    void mouseRules() {
        QFETCH(int, count);
        QFETCH(QString, action);
        QFETCH(double, rowPosition);
        QFETCH(RowList, selected);
        Window window(count);
        if (count > 2) {
            QTest::mouseClick(window.list->viewport(), Qt::LeftButton, {}, QPoint(20, 1));
            window.list->DeselectAllItems();
            for (int row : {1, 2})
                window.list->selectionModel()->select(
                    window.list->model()->index(row, 0),
                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
            window.other->setFocus();
        }
        QVERIFY(!window.list->hasFocus());
        const QPoint point(20, static_cast<int>(rowPosition * window.rowHeight));
        if (action == "click")
            QTest::mouseClick(window.list->viewport(), Qt::LeftButton, {}, point);
        else if (action == "right")
            QTest::mouseClick(window.list->viewport(), Qt::RightButton, {}, point);
        else
            QTest::mouseDClick(window.list->viewport(), Qt::LeftButton, {}, point);
        QVERIFY(window.list->hasFocus());
        QCOMPARE(window.Selected(), selected);
    }

    void selectionAndFocusRules() {
        Window window(30);
        CFileListCtrl& list = *window.list;
        QSignalSpy changed(&list, &CFileListCtrl::itemChanged);
        // Gaining the focus with no focused row focuses the top row shown, unselected.
        list.selectionModel()->clearCurrentIndex();
        list.verticalScrollBar()->setValue(10);
        list.setFocus();
        QCOMPARE(list.currentIndex().row(), 10);
        QVERIFY(list.GetSelectedItems().empty());
        QVERIFY(!changed.isEmpty());

        const auto click = [&](int row, Qt::KeyboardModifiers modifiers) {
            QTest::mouseClick(list.viewport(), Qt::LeftButton, modifiers,
                              QPoint(20, (row - 10) * window.rowHeight + 2));
        };
        click(12, {});
        click(14, Qt::ShiftModifier);
        QCOMPARE(window.Selected(), (RowList{12, 13, 14}));
        click(13, Qt::ControlModifier);
        click(11, Qt::ControlModifier);
        QCOMPARE(window.Selected(), (RowList{11, 12, 14}));
        int first[2] = {};
        QCOMPARE(list.GetSelectedItems(2, first), 2);
        QCOMPARE(first[1], 12);
        QTest::keyClick(&list, Qt::Key_Down);
        QTest::keyClick(&list, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(window.Selected(), (RowList{12, 13}));

        QVERIFY(list.DeselectItem(13));
        QVERIFY(!list.DeselectItem(30));
        QCOMPARE(window.Selected(), (RowList{12}));
        QVERIFY(!list.currentIndex().isValid());  // the deselected row was the focused one

        // Deselecting all drops the focus state only where the row was selected.
        list.SelectAllItems();
        QCOMPARE(list.GetSelectedCount(), 30);
        list.selectionModel()->setCurrentIndex(list.model()->index(12, 0),
                                               QItemSelectionModel::NoUpdate);
        list.DeselectAllItems();
        QCOMPARE(list.GetSelectedCount(), 0);
        QVERIFY(!list.currentIndex().isValid());
        list.selectionModel()->setCurrentIndex(list.model()->index(12, 0),
                                               QItemSelectionModel::NoUpdate);
        list.DeselectAllItems();
        QCOMPARE(list.currentIndex().row(), 12);
    }

    // The bar shows whether the list has the focus; a paint asks only for the rows
    // it shows; the display role gives the painted texts.
    void paintsFromTheProvider() {
        Window window(1000);
        CFileListCtrl& list = *window.list;
        list.verticalScrollBar()->setValue(500);
        list.setFocus();
        list.selectionModel()->select(list.model()->index(501, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
        const QPoint inBar = list.viewport()->mapTo(&list, QPoint(290, window.rowHeight + 3));
        window.rows.asked.clear();
        QCOMPARE(list.grab().toImage().pixelColor(inBar),
                 list.palette().color(QPalette::Active, QPalette::Highlight));
        QVERIFY(!window.rows.asked.empty());
        QVERIFY(*window.rows.asked.begin() >= 500 && *window.rows.asked.rbegin() <= 506);
        window.other->setFocus();
        QCOMPARE(list.grab().toImage().pixelColor(inBar),
                 list.palette().color(QPalette::Disabled, QPalette::Text));

        const QModelIndex cell = list.model()->index(7, 1);
        QCOMPARE(cell.data().toString(), QStringLiteral("<no title found>"));
        QCOMPARE(cell.siblingAtColumn(0).data().toString(), QStringLiteral("Song 7.mid"));
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
        const QByteArray utf8 = text.toUtf8();
        const std::string name(utf8.constData(), static_cast<std::size_t>(utf8.size()));
        const int full = metrics.horizontalAdvance(text);
        const int ellipsis = metrics.horizontalAdvance(QStringLiteral("..."));
        for (int width = 0; width <= full; width += 3) {
            std::string scratch;
            const std::string* shown = list.FitText(metrics, name, scratch, width);
            QVERIFY(shown != nullptr);
            if (full <= width) {
                QCOMPARE(*shown, name);
                continue;
            }
            QVERIFY(shown->size() >= 3 && shown->ends_with("..."));
            const std::string kept = shown->substr(0, shown->size() - 3);
            QVERIFY(name.starts_with(kept));
            QStringDecoder decode(QStringDecoder::Utf8);
            const QString keptText = decode(QByteArray::fromStdString(kept));
            QVERIFY2(!decode.hasError(), "a character was split");
            if (!kept.empty())
                QVERIFY(metrics.horizontalAdvance(keptText) + ellipsis <= width);
            // One more character would not fit.
            const QString longer =
                text.left(keptText.size() + (text[keptText.size()].isHighSurrogate() ? 2 : 1));
            QVERIFY(metrics.horizontalAdvance(longer) + ellipsis > width);
        }
        std::string scratch;
        const std::string empty;
        QCOMPARE(list.FitText(metrics, empty, scratch, 0), &empty);
    }
};

int main(int argc, char** argv) {
    tt::test::UseTemporaryConfigHome();
    QApplication app(argc, argv);
    FileListCtrlTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "FileListCtrlTest.moc"
