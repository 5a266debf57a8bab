// Measures the folder tree: expanding a folder that holds 10,000 folders, and
// finding a start folder 12 levels deep in a tree of 100 folders per level. Runs
// offscreen; exits non-zero when expanding finds other folders or the search
// leaves any branch but the target's open (and, with --check-budgets, when a
// measurement exceeds its budget).
//
//   bench_folder_tree [--quick] [--check-budgets]   (see BenchReport.h; a quick run
//                                                   expands 1,000 folders once and
//                                                   searches 20 folders per level)
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QTreeWidgetItemIterator>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "BenchReport.h"
#include "TempDir.h"
#include "shell/ShellFolder.h"
#include "ui/ShellTreeCtrl.h"

namespace {

using namespace tt;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void MakeFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0755) != 0) {
        std::perror(path.c_str());
        std::exit(2);
    }
}

std::shared_ptr<shell::Environment> HomeAt(const std::string& home) {
    auto environment = std::make_shared<shell::Environment>();
    environment->home = home;
    environment->readMountTable = [] { return std::string(); };
    return environment;
}

void ExpandWideFolder(bench::BenchReport& report) {
    const int count = report.quick() ? 1000 : 10000;
    test::TempDir dir;
    MakeFolder(dir / "wide");
    for (int i = 0; i < count; ++i)
        MakeFolder(dir / ("wide/Folder " + std::to_string(i)));
    // The setup's writes go to disk first, so they do not compete with the reads.
    ::sync();
    double best = 1e9;
    bool found = true;
    const int runs = report.quick() ? 1 : 3;
    for (int run = 0; run < runs; ++run) {
        CShellTreeCtrl tree(nullptr, HomeAt(dir.path()));
        tree.resize(400, 600);
        tree.show();
        tree.Populate(std::string());
        QTreeWidgetItem* home = tree.topLevelItem(0);
        home->setExpanded(true);
        QTreeWidgetItem* wide = home->child(0);
        const auto start = Clock::now();
        wide->setExpanded(true);
        QApplication::processEvents();
        best = std::min(best, Seconds(start));
        if (wide->childCount() != count || wide->child(2)->text(0) != QStringLiteral("Folder 2")) {
            std::printf("expanding gave %d folders\n", wide->childCount());
            found = false;
        }
    }
    const std::string what = "expand a folder with " + std::to_string(count) + " subfolders";
    report.Result(what + ": folders found", found);
    report.Figure(what + " (best of " + std::to_string(runs) + ")", best, " s", 0.5);
}

void SelectDeepPath(bench::BenchReport& report) {
    const int perLevel = report.quick() ? 20 : 100;
    test::TempDir dir;
    // `perLevel` folders per level; the search goes down through the last on each level.
    const std::string last = "Folder " + std::to_string(perLevel - 1);
    std::string level = dir.path();
    for (int depth = 0; depth < 12; ++depth) {
        for (int i = 0; i < perLevel; ++i)
            MakeFolder(level + "/Folder " + std::to_string(i));
        level += "/" + last;
    }
    CShellTreeCtrl tree(nullptr, HomeAt(dir.path()));
    tree.resize(400, 600);
    tree.show();
    tree.Populate(std::string());
    std::string target = level;
    const auto start = Clock::now();
    const bool found = tree.SelectPath(target);
    QApplication::processEvents();
    const double seconds = Seconds(start);
    int open = 0;
    for (QTreeWidgetItemIterator it(&tree); *it; ++it)
        open += (*it)->isExpanded() && (*it)->childCount() > 0 ? 1 : 0;
    std::string selected;
    tree.GetSelectedPath(selected);
    // Home and the 11 folders above the target are open, nothing else.
    if (!found || selected != target || open != 12)
        std::printf("search found=%d selected=%s open branches=%d\n", found, selected.c_str(),
                    open);
    const std::string what =
        "select a folder 12 levels deep, " + std::to_string(perLevel) + " folders per level";
    report.Result(what + ": found, only its branch open",
                  found && selected == target && open == 12);
    report.Figure(what, seconds, " s", 0.2);
}

}  // namespace

int main(int argc, char** argv) {
    bench::BenchReport report(argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ExpandWideFolder(report);
    SelectDeepPath(report);
    return report.ExitCode();
}
