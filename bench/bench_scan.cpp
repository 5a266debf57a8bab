// Measures the folder scan (search, title reads, sort, unique names) against the
// least any scan must do, on a warm cache: opening, measuring and reading the same
// files whole, in the same order. Also how much of the files the title reader
// reads, a scan of a floppy through a file layer that waits for every byte, a scan
// on a cold cache against reading just the first block of every file (one at a
// time, and 8 at once), and a share whose every open and read waits 2 ms.
//
//   bench_scan [--quick] [--check-budgets]    every measurement (see BenchReport.h)
//   bench_scan realistic [--check-budgets]    only the files of realistic size and the floppy
//   bench_scan songs DIR                      writes the 10,000 realistic files into DIR (to
//                                             profile a scan of them)
//   bench_scan memory DIR                     scans DIR once and prints the peak memory
//                                             (used internally)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

#include "BenchReport.h"
#include "PassThroughFileSystem.h"
#include "ReferenceTitles.h"
#include "SongBytes.h"
#include "TempDir.h"
#include "engine/RenameEngine.h"
#include "engine/RowSelection.h"
#include "engine/UniqueNames.h"
#include "platform/FileSystem.h"
#include "text/NameText.h"
#include "title/ReadSongTitle.h"

namespace {

using namespace tt;

// A user interface that shows nothing.
class SilentUi : public EngineQuestions {
  public:
    void ReportReadError(const std::string&) override {}
    void ShowWarning(const std::string&) override {}
    OverwriteAnswer AskOverwrite(const std::string&) override { return OverwriteAnswer::no; }
    bool EditName(const std::string&, std::string&, std::string&) override { return false; }
    bool PickDestinationFolder(const std::string&, std::string&) override { return false; }
};

// Follows the progress as a window would: it takes every count and is asked
// whether to stop before every file.
class ProgressUi : public ProgressAndStop {
  public:
    void WorkProgress(std::int32_t done, std::int32_t total) override {
        m_done = done;
        m_total = total;
    }
    bool StopRequested() override { return m_total < 0; }

  private:
    std::int32_t m_done = 0;
    std::int32_t m_total = 0;
};

// Writes `count` MIDI files of `size` bytes; titles repeat every `titles` files.
std::vector<std::string> MakeSongs(const std::string& folder, int count, int titles,
                                   std::size_t size) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "SONG%06d.MID", i);
        const std::string title = "Song number " + std::to_string(i % titles);
        songbytes::WriteBytes(
            folder + "/" + name,
            songbytes::MidiFile(
                songbytes::Cat({songbytes::TrackName(title), songbytes::EndOfTrack()}), size));
        names.push_back(name);
    }
    return names;
}

// Song files as they come: 5 to 60 KB, most of them of format 1, whose first track
// holds the tempo map and the texts while the notes fill the other tracks; the rest
// of format 0, texts and notes in one track. The title is a track name, a text or a
// marker (or missing), not always the first event.
std::vector<std::string> MakeRealisticSongs(const std::string& folder, int count) {
    using namespace songbytes;
    std::mt19937 random(20261207);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const auto noteEvents = [&](std::size_t bytes) {
        Bytes events;
        events.reserve(bytes + 16);
        while (events.size() < bytes) {
            const auto key = static_cast<unsigned char>(36 + pick(48));
            const Bytes on = Cat({Delta(static_cast<std::uint32_t>(pick(200))),
                                  Bytes{0x90, key, static_cast<unsigned char>(40 + pick(80))}});
            const Bytes off =
                Cat({Delta(static_cast<std::uint32_t>(24 + pick(400))), Bytes{key, 0}});
            events.insert(events.end(), on.begin(), on.end());
            events.insert(events.end(), off.begin(), off.end());
        }
        return events;
    };
    const Bytes tempoMap = Cat({Meta(0x51, std::string("\x07\xA1\x20", 3)),
                                Meta(0x58, std::string("\x04\x02\x18\x08", 4))});
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        const std::string title = "Song number " + std::to_string(i);
        Bytes texts;
        // Most files name the song in a track name at the start; some only in a
        // text or a marker, some behind a copyright text, a few not at all.
        const int kind = pick(20);
        if (kind < 12)
            texts = Cat({TrackName(title), TextEvent("(c) 1994 Music Studio")});
        else if (kind < 14)
            texts = Cat({TextEvent("(c) 1994 Music Studio"), TrackName(title)});
        else if (kind < 17)
            texts = Cat({TextEvent(title), Marker("Intro")});
        else if (kind < 19)
            texts = Cat({Marker(title), Meta(0x02, "(c) 1994")});
        else
            texts = Meta(0x02, "(c) 1994");  // no title
        const std::size_t size = 5000 + static_cast<std::size_t>(pick(55001));
        Bytes file;
        if (pick(4) != 0) {
            const int noteTracks = 2 + pick(7);
            file = Cat({Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0,
                              static_cast<unsigned char>(noteTracks + 1), 0, 0x60},
                        Track(Cat({tempoMap, texts, EndOfTrack()}))});
            for (int t = 0; t < noteTracks; ++t) {
                const Bytes notes = noteEvents(size / static_cast<std::size_t>(noteTracks));
                file = Cat({file, Track(Cat({TrackName("Piano"), notes, EndOfTrack()}))});
            }
        } else {
            file = MidiFile(Cat({texts, tempoMap, noteEvents(size), EndOfTrack()}));
        }
        char name[32];
        std::snprintf(name, sizeof name, "%c%05d.MID", "ABCDEFGH"[pick(8)], i);
        WriteBytes(folder + "/" + name, file);
        names.push_back(name);
    }
    return names;
}

// Opens, measures (fstat) and reads every file whole: the least any scan must do.
bench::Elapsed ReadAllFiles(const std::string& folder, const std::vector<std::string>& names) {
    std::vector<unsigned char> buffer;
    const bench::Timer timer;
    std::size_t total = 0;
    for (const auto& name : names) {
        const int fd = ::open((folder + "/" + name).c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat st {};
        if (::fstat(fd, &st) != 0) {
            ::close(fd);
            continue;
        }
        buffer.resize(static_cast<std::size_t>(st.st_size));
        total += static_cast<std::size_t>(::read(fd, buffer.data(), buffer.size()));
        ::close(fd);
    }
    const bench::Elapsed elapsed = timer.Stop();
    if (total == 0)
        std::puts("nothing read?");
    return elapsed;
}

// Peak resident memory of this process in kB (the high-water mark of its own
// address space, so nothing of a parent that spawned it is counted).
long PeakResidentKilobytes() {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (status == nullptr)
        return -1;
    char line[256];
    long peak = -1;
    while (std::fgets(line, sizeof line, status) != nullptr)
        if (std::sscanf(line, "VmHWM: %ld kB", &peak) == 1)
            break;
    std::fclose(status);
    return peak;
}

// Scans `folder` in a fresh process, which reports its own peak memory.
long PeakMemoryOfScan(const std::string& folder) {
    const std::string command =
        "/proc/" + std::to_string(::getpid()) + "/exe memory '" + folder + "'";
    std::FILE* child = ::popen(command.c_str(), "r");
    if (child == nullptr)
        return -1;
    long peak = -1;
    if (std::fscanf(child, "%ld", &peak) != 1)
        peak = -1;
    return ::pclose(child) == 0 ? peak : -1;
}

bench::Elapsed Scan(FileSystem& fs, const std::string& folder, SongFileList* result = nullptr,
                    bool withProgress = false) {
    SilentUi silent;
    RowSelection rows;
    ProgressUi following;
    RenameEngine engine(
        fs, {.questions = silent, .rows = rows, .progress = withProgress ? &following : nullptr});
    engine.SetFolder(folder);
    const bench::Timer timer;
    engine.RefreshFileList();
    const bench::Elapsed elapsed = timer.Stop();
    if (result != nullptr) {
        const SongFileList& listed = engine.songFiles();
        result->Clear();
        for (std::int32_t i = 0; i < listed.count(); ++i)
            result->Append(listed.ElementAt(i));
    }
    return elapsed;
}

// Counts the bytes read through it.
class CountingFileSystem : public test::PassThroughFileSystem {
  public:
    using PassThroughFileSystem::PassThroughFileSystem;
    std::size_t Read(FileHandle& file, void* buffer, std::size_t size) override {
        const std::size_t got = PassThroughFileSystem::Read(file, buffer, size);
        bytes += got;
        return got;
    }
    std::uint64_t bytes = 0;
};

// A slow medium: every read waits as long as its bytes take at `bytesPerSecond`.
class WaitingFileSystem final : public CountingFileSystem {
  public:
    explicit WaitingFileSystem(double bytesPerSecond) : m_rate(bytesPerSecond) {}
    std::size_t Read(FileHandle& file, void* buffer, std::size_t size) override {
        const std::size_t got = CountingFileSystem::Read(file, buffer, size);
        std::this_thread::sleep_for(std::chrono::duration<double>(got / m_rate));
        return got;
    }

  private:
    double m_rate;
};

// The titles of the files read whole, as the list shows them: found, new name.
std::map<std::string, std::string> WholeFileTitles(FileSystem& fs, const std::string& folder,
                                                   const std::vector<std::string>& names) {
    SilentUi ui;
    std::map<std::string, std::string> titles;
    for (const std::string& name : names) {
        std::string title;
        const bool found = test::ReadSongTitleWhole(fs, folder + "/" + name, title, ui);
        titles[name] = found ? title + LastChars(name, 4) : "<no title found>";
    }
    return titles;
}

// True when the scanned list shows those titles (the titles here are all distinct,
// so no name gets a number).
bool ListShows(const SongFileList& list, const std::map<std::string, std::string>& titles) {
    std::size_t matching = 0;
    for (std::int32_t i = 0; i < list.count(); ++i) {
        const SongFileEntry& entry = list.ElementAt(i);
        const auto found = titles.find(entry.fileName);
        matching += found != titles.end() &&
                    found->second == (entry.titleFound ? entry.newName : "<no title found>");
    }
    return matching == titles.size() && static_cast<std::size_t>(list.count()) == titles.size();
}

std::uint64_t FolderBytes(const std::string& folder, const std::vector<std::string>& names) {
    std::uint64_t total = 0;
    for (const std::string& name : names)
        total += SystemFileSystem().Stat(folder + "/" + name)->size;
    return total;
}

// Best of a few runs of both, after one warm-up read. The files are read in the
// order the scan reads them (byte order of their names), so both meet the same
// cache and directory layout. The budget holds the scan's processor time over the
// reading's; the clock's ratio is printed beside it.
void Compare(bench::BenchReport& report, const std::string& label, const std::string& folder,
             std::vector<std::string> names, double budget) {
    std::sort(names.begin(), names.end());
    ReadAllFiles(folder, names);
    bench::Elapsed read;
    bench::Elapsed scan;
    bench::Elapsed scanWithProgress;
    SongFileList list;
    const int runs = report.quick() ? 1 : 9;
    for (int run = 0; run < runs; ++run) {
        read.KeepBest(ReadAllFiles(folder, names));
        scan.KeepBest(Scan(SystemFileSystem(), folder, &list));
        scanWithProgress.KeepBest(Scan(SystemFileSystem(), folder, nullptr, true));
    }
    report.Result(label + ": " + std::to_string(list.count()) + " entries listed",
                  static_cast<std::size_t>(list.count()) == names.size());
    std::printf(
        "%s: reading them whole %.3f s (processor %.3f s), scan %.3f s (processor %.3f s); "
        "best of %d\n",
        label.c_str(), read.wall, read.cpu, scan.wall, scan.cpu, runs);
    std::printf("%s: scan / reading them whole, processor time (all threads): %.2f x\n",
                label.c_str(), scan.cpu / read.cpu);
    report.Figure(label + ": scan / reading them whole, by the clock", scan.wall / read.wall, " x",
                  budget);
    report.Figure(label + ": the same scan reporting progress, extra time by the clock",
                  (scanWithProgress.wall / scan.wall - 1) * 100, " %", 5);
}

void Cold(bench::BenchReport& report, const std::string& label, const std::string& folder,
          std::vector<std::string> names);

// Files as they come: titles equal to the whole-file read, the share of their bytes
// the title reader reads, the scan's time; then a floppy's worth through a slow layer.
void Realistic(bench::BenchReport& report) {
    const int count = report.quick() ? 1000 : 10000;
    {
        test::TempDir folder;
        std::printf(
            "Writing %d song files of 5 to 60 KB (formats 0 and 1, titles from track "
            "names, texts and markers) ...\n",
            count);
        auto names = MakeRealisticSongs(folder.path(), count);
        std::sort(names.begin(), names.end());
        const std::string label = std::to_string(count) + " realistic files";

        CountingFileSystem counting;
        SongFileList list;
        Scan(counting, folder.path(), &list);
        const auto titles = WholeFileTitles(SystemFileSystem(), folder.path(), names);
        report.Result(label + ": titles equal to those of the whole-file read",
                      ListShows(list, titles));
        const std::uint64_t total = FolderBytes(folder.path(), names);
        std::printf("%s: %.1f MB, of which the scan read %.1f MB\n", label.c_str(), total / 1e6,
                    counting.bytes / 1e6);
        report.Figure(label + ": bytes read, share of the folder's bytes",
                      100.0 * static_cast<double>(counting.bytes) / static_cast<double>(total),
                      " %", 20);
        Compare(report, label, folder.path(), names, 0.5);
        if (!report.quick())
            Cold(report, label, folder.path(), names);
    }
    {
        // A floppy at 50 KB/s (a quick run takes one 20 times as fast).
        const double rate = report.quick() ? 1e6 : 50e3;
        test::TempDir folder;
        auto names = MakeRealisticSongs(folder.path(), 30);
        std::sort(names.begin(), names.end());
        WaitingFileSystem floppy(rate);
        SongFileList list;
        const double scan = Scan(floppy, folder.path(), &list).wall;
        const std::uint64_t scanBytes = floppy.bytes;
        floppy.bytes = 0;
        const bench::Timer timer;
        const auto titles = WholeFileTitles(floppy, folder.path(), names);
        const double whole = timer.Stop().wall;
        const std::string label =
            "30 songs on a floppy of " + std::to_string(int(rate / 1000)) + " KB/s";
        report.Result(label + ": titles equal to those of the whole-file read",
                      ListShows(list, titles));
        std::printf("%s: scan %.2f s reading %.0f KB, whole-file read %.2f s reading %.0f KB\n",
                    label.c_str(), scan, scanBytes / 1e3, whole, floppy.bytes / 1e3);
        report.Figure(label + ": whole-file read / scan", whole / scan, " x", 5, true);
    }
}

// Empties the page cache (as root), else drops each file's pages (which leaves the
// folder's own entries cached). Tells which it did.
bool DropCaches(const std::string& folder, const std::vector<std::string>& names) {
    ::sync();
    if (std::FILE* drop = std::fopen("/proc/sys/vm/drop_caches", "w")) {
        const bool done = std::fputs("3\n", drop) >= 0;
        if (std::fclose(drop) == 0 && done)
            return true;
    }
    for (const std::string& name : names) {
        const int fd = ::open((folder + "/" + name).c_str(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0) {
            ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
            ::close(fd);
        }
    }
    return false;
}

// Opens, measures and reads the first 4 KiB of every file, `threads` files at once:
// the least a scan must wait for on a cold cache.
double ReadFirstBlocks(const std::string& folder, const std::vector<std::string>& names,
                       unsigned threads) {
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> total{0};
    const auto reader = [&] {
        unsigned char block[4096];
        for (std::size_t i = next++; i < names.size(); i = next++) {
            const int fd = ::open((folder + "/" + names[i]).c_str(), O_RDONLY | O_CLOEXEC);
            if (fd < 0)
                continue;
            struct stat st {};
            if (::fstat(fd, &st) == 0) {
                const ssize_t got = ::read(fd, block, sizeof block);
                total += got > 0 ? static_cast<std::size_t>(got) : 0;
            }
            ::close(fd);
        }
    };
    const bench::Timer timer;
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < threads; ++t)
        pool.emplace_back(reader);
    reader();
    for (std::thread& thread : pool)
        thread.join();
    const double wall = timer.Stop().wall;
    if (total == 0)
        std::puts("nothing read?");
    return wall;
}

// The same files on a cold cache: the scan against the first blocks read one at a
// time and 8 at once.
void Cold(bench::BenchReport& report, const std::string& label, const std::string& folder,
          std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    double one = 1e9;
    double eight = 1e9;
    double scan = 1e9;
    bool dropped = true;
    for (int run = 0; run < 3; ++run) {
        dropped &= DropCaches(folder, names);
        one = std::min(one, ReadFirstBlocks(folder, names, 1));
        dropped &= DropCaches(folder, names);
        eight = std::min(eight, ReadFirstBlocks(folder, names, 8));
        dropped &= DropCaches(folder, names);
        scan = std::min(scan, Scan(SystemFileSystem(), folder).wall);
    }
    std::printf(
        "%s, cold cache (%s): first 4 KiB one at a time %.3f s, 8 at once %.3f s, "
        "scan %.3f s; best of 3\n",
        label.c_str(),
        dropped ? "page cache emptied before each run"
                : "no root: only the files' pages dropped, the folder stays cached",
        one, eight, scan);
    std::printf("%s, cold cache: scan / first blocks one at a time: %.2f x\n", label.c_str(),
                scan / one);
    report.Figure(label + ", cold cache: scan / first blocks 8 at once", scan / eight, " x", 1.5);
}

// A network share: every open and every read waits 2 ms. The scan reads one file
// at a time where the layer says it takes no calls from several threads.
class ShareFileSystem final : public test::PassThroughFileSystem {
  public:
    explicit ShareFileSystem(bool severalThreads) : m_severalThreads(severalThreads) {}
    bool TakesReadsFromSeveralThreads() const override { return m_severalThreads; }
    FileHandle OpenRead(const std::string& path) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        return PassThroughFileSystem::OpenRead(path);
    }
    std::size_t Read(FileHandle& file, void* buffer, std::size_t size) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        return PassThroughFileSystem::Read(file, buffer, size);
    }

  private:
    bool m_severalThreads;
};

void Share(bench::BenchReport& report) {
    const int count = report.quick() ? 40 : 400;
    test::TempDir folder;
    auto names = MakeRealisticSongs(folder.path(), count);
    std::sort(names.begin(), names.end());
    const auto titles = WholeFileTitles(SystemFileSystem(), folder.path(), names);
    ShareFileSystem oneAtATime(false);
    ShareFileSystem inFlight(true);
    SongFileList slowList;
    SongFileList fastList;
    const double slow = Scan(oneAtATime, folder.path(), &slowList).wall;
    const double fast = Scan(inFlight, folder.path(), &fastList).wall;
    const std::string label =
        std::to_string(count) + " songs on a share waiting 2 ms per open and read";
    report.Result(label + ": titles equal to those of the whole-file read, both ways",
                  ListShows(slowList, titles) && ListShows(fastList, titles));
    std::printf("%s: one read at a time %.2f s, reads in flight %.3f s\n", label.c_str(), slow,
                fast);
    report.Figure(label + ": one at a time / in flight", slow / fast, " x", 8, true);
}

void SmallFiles(bench::BenchReport& report) {
    const int count = report.quick() ? 10000 : 100000;
    test::TempDir folder;
    std::printf("Writing %d small song files (1,000 titles, each used %d times) ...\n", count,
                count / 1000);
    const auto names = MakeSongs(folder.path(), count, 1000, 64);
    Compare(report, std::to_string(count) + " small files", folder.path(), names, 3.0);
    const long peak = PeakMemoryOfScan(folder.path());
    report.Result("peak memory of that scan measured", peak >= 0);
    report.Figure("peak memory of that scan", peak / 1024.0, " MB", 100);
}

void UniqueNamesAlone(bench::BenchReport& report) {
    const int count = report.quick() ? 10000 : 100000;
    SongFileList list;
    for (int i = 0; i < count; ++i) {
        SongFileEntry entry;
        entry.newName = "Song number " + std::to_string(i % 1000) + ".MID";
        entry.titleFound = 1;
        list.Append(std::move(entry));
    }
    UniqueNames unique;
    const bench::Timer timer;
    unique.Run(list);
    const double seconds = timer.Stop().wall;
    std::unordered_set<std::string> distinct;
    for (std::int32_t i = 0; i < list.count(); ++i)
        distinct.insert(list.ElementAt(i).newName);
    const std::string label =
        "MakeNewNamesUnique on " + std::to_string(count) + " entries (1,000 titles)";
    report.Result(label + ": names distinct", distinct.size() == static_cast<std::size_t>(count));
    report.Figure(label, seconds, " s", 0.5);
}

}  // namespace

int main(int argc, char** argv) {
    bench::BenchReport report(argc, argv);
    const auto& args = report.args();
    if (args.size() == 2 && args[0] == "songs") {
        MakeRealisticSongs(args[1], 10000);
        return 0;
    }
    if (args.size() == 2 && args[0] == "folder") {
        Compare(report, args[1], args[1], *SystemFileSystem().ListNames(args[1]), 0.5);
        return report.ExitCode();
    }
    if (args.size() == 2 && args[0] == "memory") {
        SongFileList list;
        Scan(SystemFileSystem(), args[1], &list);
        std::printf("%ld\n", PeakResidentKilobytes());
        return list.count() > 0 ? 0 : 1;
    }
    Realistic(report);
    Share(report);
    if (args.empty() || args[0] != "realistic") {
        SmallFiles(report);
        UniqueNamesAlone(report);
    }
    return report.ExitCode();
}
