// Measures the folder tree: expanding a folder that holds 10,000 folders, and
// finding a start folder 12 levels deep in a tree of 100 folders per level. Runs
// offscreen; exits non-zero when a measurement exceeds its budget or the search
// leaves any branch but the target's open.
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QTreeWidgetItemIterator>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

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

bool Report(const char* what, double seconds, double budget) {
    std::printf("%-55s %8.3f s (budget %.1f s) %s\n", what, seconds, budget,
                seconds <= budget ? "ok" : "TOO SLOW");
    return seconds <= budget;
}

bool ExpandWideFolder() {
    test::TempDir dir;
    MakeFolder(dir / "wide");
    for (int i = 0; i < 10000; ++i)
        MakeFolder(dir / ("wide/Folder " + std::to_string(i)));
    // The setup's writes go to disk first, so they do not compete with the reads.
    ::sync();
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
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
        if (wide->childCount() != 10000 || wide->child(2)->text(0) != QStringLiteral("Folder 2")) {
            std::printf("expanding gave %d folders\n", wide->childCount());
            return false;
        }
    }
    const double seconds = best;
    return Report("expand a folder with 10,000 subfolders (best of 3)", seconds, 0.5);
}

bool SelectDeepPath() {
    test::TempDir dir;
    // 100 folders per level; the search goes down through "Folder 99" on each level.
    std::string level = dir.path();
    for (int depth = 0; depth < 12; ++depth) {
        for (int i = 0; i < 100; ++i)
            MakeFolder(level + "/Folder " + std::to_string(i));
        level += "/Folder 99";
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
    if (!found || selected != target || open != 12) {
        std::printf("search found=%d selected=%s open branches=%d\n", found, selected.c_str(),
                    open);
        return false;
    }
    return Report("select a folder 12 levels deep, 100 folders per level", seconds, 0.2);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bool wide = ExpandWideFolder();
    const bool deep = SelectDeepPath();
    return wide && deep ? 0 : 1;
}
