// Measures renaming 10,000 selected song files, each with one companion, through
// the engine (change check, collision checks, rename, companion search, title read
// again, names made unique again) against the bare cost of renaming the same
// 20,000 files with rename(2) and nothing else; and the scan that lists them first.
//
// Then 10,000 songs that all share one title against as many with titles of their
// own, without companions: keeping the names unique after each rename costs about
// the same either way, although each renamed song's name is numbered again through
// every namesake before it (the fourth becomes Tune_1_1_1.mid).
//
//   bench_rename [--quick] [--check-budgets]   (see BenchReport.h; a quick run
//                                              renames 1,000 songs once, and 1,000
//                                              alike)
//   bench_rename alike N                       only the one-title comparison, N songs
#include <stdio.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchReport.h"
#include "ScriptedUi.h"
#include "SongBytes.h"
#include "TempDir.h"
#include "engine/RenameEngine.h"
#include "platform/FileSystem.h"

namespace {

using namespace tt;
using Clock = std::chrono::steady_clock;

int kSongs = 10000;

std::string SongName(int i) {
    char name[32];
    std::snprintf(name, sizeof name, "song%05d", i);
    return name;
}

// Distinct titles, except that the last 1,000 songs repeat titles of the first.
std::string SongBytes(int i) {
    using namespace songbytes;
    const int title = i < kSongs - 1000 ? i : i % 1000;
    const Bytes bytes = MidiFile(
        Cat({TrackName("Tune number " + std::to_string(title)), NoteOn(60, 100), EndOfTrack()}));
    return std::string(bytes.begin(), bytes.end());
}

std::string CompanionText(int i) {
    return "lyrics of " + SongName(i) + "\n";
}

void MakeFolder(const std::string& folder) {
    for (int i = 0; i < kSongs; ++i) {
        test::WriteWholeFile(folder + "/" + SongName(i) + ".mid", SongBytes(i));
        test::WriteWholeFile(folder + "/" + SongName(i) + ".txt", CompanionText(i));
    }
}

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string Base(const std::string& name) {
    return name.substr(0, name.rfind('.'));
}

// Renames the folder's songs through the engine; checks the result afterwards.
// `scanSeconds` receives the time of the scan that lists them first.
double EngineRename(const std::string& folder, bool& correct, double& scanSeconds) {
    test::ScriptedUi ui;
    RenameEngine engine(SystemFileSystem(), ui.FrontEnd());
    engine.SetFolder(folder);
    engine.SetCorrespondingFiles(true);
    const auto scanStart = Clock::now();
    engine.RefreshFileList();
    scanSeconds = Seconds(scanStart);
    ui.SelectAll();
    std::vector<std::string> oldNames;
    for (std::int32_t i = 0; i < engine.songFiles().count(); ++i)
        oldNames.push_back(engine.songFiles().ElementAt(i).fileName);

    const auto start = Clock::now();
    engine.RenameSelectedFiles(false);
    const double seconds = Seconds(start);

    // Every song now lies under its new name with its own content, its companion
    // beside it, and nothing is left under an old name.
    int wrong = 0;
    for (std::int32_t i = 0; i < engine.songFiles().count(); ++i) {
        const SongFileEntry& entry = engine.songFiles().ElementAt(i);
        const int index = std::stoi(oldNames[i].substr(4, 5));
        const std::string base = folder + "/" + Base(entry.fileName);
        if (entry.fileName == oldNames[i] || entry.path != folder + "/" + entry.fileName ||
            test::ReadWholeFile(entry.path) != SongBytes(index) ||
            test::ReadWholeFile(base + ".txt") != CompanionText(index))
            ++wrong;
    }
    const auto names = test::ListFolder(folder);
    const bool oldLeft = std::any_of(names.begin(), names.end(), [](const std::string& name) {
        return name.rfind("song", 0) == 0;
    });
    correct = wrong == 0 && !oldLeft && names.size() == 2u * kSongs &&
              engine.songFiles().count() == kSongs && ui.warnings.empty() && ui.questions.empty() &&
              ui.selected.empty();
    if (!correct)
        std::printf(
            "  %d entries wrong, old names left: %s, %zu files, %zu warnings, %zu "
            "questions, %zu rows still selected\n",
            wrong, oldLeft ? "yes" : "no", names.size(), ui.warnings.size(), ui.questions.size(),
            ui.selected.size());
    return seconds;
}

// The same 20,000 renames with rename(2) alone, to the same kind of names.
double PlainRename(const std::string& folder) {
    std::vector<std::pair<std::string, std::string>> moves;
    for (int i = 0; i < kSongs; ++i) {
        const std::string from = folder + "/" + SongName(i);
        const std::string to = folder + "/Tune number " + std::to_string(i) + "_0";
        moves.push_back({from + ".mid", to + ".mid"});
        moves.push_back({from + ".txt", to + ".txt"});
    }
    const auto start = Clock::now();
    for (const auto& [from, to] : moves) {
        if (::rename(from.c_str(), to.c_str()) != 0)
            std::perror(from.c_str());
    }
    return Seconds(start);
}

// Renames `count` songs without companions, all titled alike or each its own way;
// true in `correct` when every song lies under its proposed name with its content.
double RenameTitled(int count, bool oneTitle, bool& correct) {
    using namespace songbytes;
    test::TempDir folder;
    std::vector<std::string> contents;
    for (int i = 0; i < count; ++i) {
        const std::string title = oneTitle ? "Tune" : "Tune number " + std::to_string(i);
        const Bytes bytes = MidiFile(Cat({TrackName(title), NoteOn(60, i % 128), EndOfTrack()}));
        contents.emplace_back(bytes.begin(), bytes.end());
        test::WriteWholeFile(folder / (SongName(i) + ".mid"), contents.back());
    }
    test::ScriptedUi ui;
    RenameEngine engine(SystemFileSystem(), ui.FrontEnd());
    engine.SetFolder(folder.path());
    engine.SetCorrespondingFiles(false);
    engine.RefreshFileList();
    ui.SelectAll();
    std::vector<std::string> targets;
    for (std::int32_t i = 0; i < engine.songFiles().count(); ++i)
        targets.push_back(engine.songFiles().ElementAt(i).newName);
    const auto start = Clock::now();
    engine.RenameSelectedFiles(false);
    const double seconds = Seconds(start);
    // Song i of one title, renamed, passed the i songs before it: Tune_1_..._1.mid.
    int wrong = 0;
    std::string proposal = "Tune";
    for (std::int32_t i = 0; i < engine.songFiles().count(); ++i, proposal += "_1") {
        const SongFileEntry& entry = engine.songFiles().ElementAt(i);
        const std::string& content = contents[static_cast<std::size_t>(i)];
        wrong += entry.fileName != targets[static_cast<std::size_t>(i)] ||
                 test::ReadWholeFile(entry.path) != content ||
                 (oneTitle && entry.newName != proposal + ".mid");
    }
    correct = wrong == 0 && engine.songFiles().count() == count && ui.warnings.empty() &&
              ui.selected.empty();
    return seconds;
}

void OneTitleAgainstDistinct(bench::BenchReport& report, int count) {
    bool alikeCorrect = false;
    bool distinctCorrect = false;
    const double alike = RenameTitled(count, true, alikeCorrect);
    const double distinct = RenameTitled(count, false, distinctCorrect);
    const std::string label = "rename of " + std::to_string(count) + " songs with one title";
    report.Result(label + " and of as many with titles of their own, every song checked",
                  alikeCorrect && distinctCorrect);
    std::printf("%s %.3f s, with titles of their own %.3f s\n", label.c_str(), alike, distinct);
    report.Figure(label + " / with titles of their own", alike / distinct, " x", 3);
}

}  // namespace

int main(int argc, char** argv) {
    bench::BenchReport report(argc, argv);
    if (report.args().size() == 2 && report.args()[0] == "alike") {
        OneTitleAgainstDistinct(report, std::stoi(report.args()[1]));
        return report.ExitCode();
    }
    if (report.quick())
        kSongs = 1000;
    double engineBest = 1e9;
    double plainBest = 1e9;
    double scanBest = 1e9;
    bool allCorrect = true;
    const int rounds = report.quick() ? 1 : 3;
    for (int round = 0; round < rounds; ++round) {
        test::TempDir enginesFolder;
        test::TempDir plainFolder;
        MakeFolder(enginesFolder.path());
        MakeFolder(plainFolder.path());
        bool correct = false;
        double scan = 0;
        const double engine = EngineRename(enginesFolder.path(), correct, scan);
        const double plain = PlainRename(plainFolder.path());
        std::printf("round %d: scan %.3f s, engine's rename %.3f s, rename(2) loop %.3f s\n",
                    round + 1, scan, engine, plain);
        engineBest = std::min(engineBest, engine);
        plainBest = std::min(plainBest, plain);
        scanBest = std::min(scanBest, scan);
        allCorrect = allCorrect && correct;
    }
    const std::string label = "rename of " + std::to_string(kSongs) + " songs with " +
                              std::to_string(kSongs) + " companions";
    report.Result(label + ", every song and companion checked", allCorrect);
    std::printf("%s (best of %d): engine %.3f s, rename(2) loop %.3f s, scan before it %.3f s\n",
                label.c_str(), rounds, engineBest, plainBest, scanBest);
    report.Figure(label + ": engine / rename(2) loop", engineBest / plainBest, " x", 3);
    report.Figure(label + ": scan and engine / rename(2) loop", (scanBest + engineBest) / plainBest,
                  " x", 4);
    OneTitleAgainstDistinct(report, report.quick() ? 1000 : 10000);
    return report.ExitCode();
}
