// Measures the file list with 100,000 rows, offscreen: filling it and painting the
// first page, painting one full page of long (shortened) names, and scrolling
// through the whole list page by page while checking that every paint asks the
// row-text provider only for rows it shows.
#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "ui/FileListCtrl.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRows = 100000;

struct Texts {
    std::vector<std::string> oldNames;
    std::vector<std::string> newNames;
    int asked = 0;
    int lowest = kRows;
    int highest = -1;

    void ResetAsked() {
        asked = 0;
        lowest = kRows;
        highest = -1;
    }
};

// As cheap as the engine's own: an indexed look-up.
bool ProvideTexts(int row, std::intptr_t, int, std::string* texts, void* context) {
    auto* all = static_cast<Texts*>(context);
    ++all->asked;
    all->lowest = std::min(all->lowest, row);
    all->highest = std::max(all->highest, row);
    texts[0] = all->oldNames[static_cast<std::size_t>(row)];
    texts[1] = all->newNames[static_cast<std::size_t>(row)];
    return true;
}

Texts MakeTexts() {
    Texts texts;
    texts.oldNames.reserve(kRows);
    texts.newNames.reserve(kRows);
    for (int i = 0; i < kRows; ++i) {
        const std::string number = std::to_string(i);
        texts.oldNames.push_back("SONG" + number + ".MID");
        // Long enough to be shortened in its column, with multibyte characters.
        texts.newNames.push_back("Überlange Ballade für Chor und Orchester in Fünf Sätzen Nummer " +
                                 number + ".mid");
    }
    return texts;
}

double Milliseconds(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void Configure(tt::CFileListCtrl& list, Texts& texts) {
    list.Configure(2, ProvideTexts, &texts, 4, true, true);
    list.InsertColumn(0, QStringLiteral("Old Filename"), 200);
    list.InsertColumn(1, QStringLiteral("New Filename"), 335);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Texts texts = MakeTexts();

    tt::CFileListCtrl list;
    Configure(list, texts);
    list.resize(560, 480);
    list.show();
    QApplication::processEvents();

    // Filling and the first page, as after a folder scan.
    auto start = Clock::now();
    list.DeleteAllItems();
    list.AppendItems(kRows);
    list.viewport()->repaint();
    const double fillMs = Milliseconds(start);
    const int firstPageAsked = texts.asked;

    // One full page, many times over.
    list.SelectAllItems();
    list.setFocus();
    constexpr int kPaints = 200;
    start = Clock::now();
    const std::clock_t cpuStart = std::clock();
    for (int i = 0; i < kPaints; ++i)
        list.viewport()->repaint();
    const double pageMs = Milliseconds(start) / kPaints;
    // On a busy machine the wall time includes waiting for a core.
    const double pageCpuMs =
        1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC / kPaints;

    // Page by page through the whole list.
    const int perPage = list.viewport()->height() / (list.fontMetrics().height() + 4);
    int pages = 0;
    int strayPaints = 0;
    long long asked = 0;
    start = Clock::now();
    for (int top = 0; top < kRows; top += perPage) {
        list.verticalScrollBar()->setValue(top);
        texts.ResetAsked();
        list.viewport()->repaint();
        ++pages;
        asked += texts.asked;
        // The rows shown: the full page and the partly visible one below it.
        if (texts.asked == 0 || texts.lowest < top || texts.highest > top + perPage)
            ++strayPaints;
    }
    const double scrollMs = Milliseconds(start);

    std::printf(
        "File list with %d rows (offscreen, %d full rows per page):\n"
        "  filling and painting the first page: %.1f ms (limit 300) %s; rows asked %d\n"
        "  painting one full page of shortened names: %.2f ms (%.2f ms of processor time; "
        "limit 10) %s\n"
        "  scrolling page by page: %d pages in %.0f ms, %.1f rows asked per page,\n"
        "  pages that asked for a row not shown: %d %s\n",
        kRows, perPage, fillMs, fillMs <= 300 ? "OK" : "TOO SLOW", firstPageAsked, pageMs,
        pageCpuMs, pageMs < 10 ? "OK" : "TOO SLOW", pages, scrollMs,
        static_cast<double>(asked) / pages, strayPaints, strayPaints == 0 ? "OK" : "WRONG");
    return strayPaints == 0 ? 0 : 1;
}
