// Measures the file list with 100,000 rows, offscreen: filling it and painting the
// first page, painting one full page of long (shortened) names, and scrolling
// through the whole list page by page while checking that every paint asks the
// row-text provider only for rows it shows. Fails when a paint asks for a row it
// does not show (and, with --check-budgets, when a timing exceeds its budget).
//
//   bench_file_list [--quick] [--check-budgets]   (see BenchReport.h; a quick run
//                                                 paints the full page 20 times and
//                                                 scrolls through the first 10,000 rows)
#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "BenchReport.h"
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
    tt::bench::BenchReport report(argc, argv);
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
    const int kPaints = report.quick() ? 20 : 200;
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
    // A quick run scrolls through the first tenth.
    const int scrolled = report.quick() ? kRows / 10 : kRows;
    for (int top = 0; top < scrolled; top += perPage) {
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

    std::printf("File list with %d rows (offscreen, %d full rows per page):\n", kRows, perPage);
    report.Result(
        "filling and painting the first page: " + std::to_string(firstPageAsked) + " rows asked",
        firstPageAsked > 0 && firstPageAsked <= perPage + 1);
    report.Figure("filling and painting the first page", fillMs, " ms", 300);
    std::printf("painting one full page of shortened names: %.2f ms of processor time\n",
                pageCpuMs);
    report.Figure("painting one full page of shortened names", pageMs, " ms", 10);
    std::printf("scrolling page by page: %d pages in %.0f ms, %.1f rows asked per page\n", pages,
                scrollMs, static_cast<double>(asked) / pages);
    report.Result("scrolling: " + std::to_string(pages) + " pages, each asking only for rows shown",
                  strayPaints == 0 && pages == (scrolled + perPage - 1) / perPage);
    return report.ExitCode();
}
