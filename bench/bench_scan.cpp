// Measures the folder scan (search, title reads, sort, unique names) against the
// cost of merely opening and reading the same files whole, on a warm cache.
//
//   bench_scan            runs all measurements in temporary folders
//   bench_scan realistic  only the scan of 10,000 files of realistic size
//   bench_scan memory DIR scans DIR once and prints the peak memory (used internally)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "SongBytes.h"
#include "TempDir.h"
#include "engine/RenameEngine.h"
#include "engine/UniqueNames.h"
#include "platform/FileSystem.h"

namespace {

using namespace tt;
using Clock = std::chrono::steady_clock;

// A user interface that shows nothing.
class SilentUi : public EngineUi {
  public:
    void ReportReadError(const std::string&) override {}
    void ShowWarning(const std::string&) override {}
    OverwriteAnswer AskOverwrite(const std::string&) override { return OverwriteAnswer::no; }
    bool EditName(const std::string&, std::string&, std::string&) override { return false; }
    bool PickDestinationFolder(const std::string&, std::string&) override { return false; }
    std::string ReadSettingString(const std::string&, const std::string& d) override { return d; }
    void ClearRows() override {}
    void AppendRows(std::int32_t) override {}
    std::vector<std::int32_t> SelectedRows() override { return {}; }
    void DeselectRow(std::int32_t) override {}
    void RedrawList() override {}
    void UpdateButtonStates() override {}
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
};

// A user interface that follows the progress as a window would: it takes every
// count and is asked whether to stop before every file.
class ProgressUi : public SilentUi {
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

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Opens, measures (fstat) and reads every file whole: the least any scan must do.
double ReadAllFiles(const std::string& folder, const std::vector<std::string>& names) {
    std::vector<unsigned char> buffer;
    const auto start = Clock::now();
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
    const double seconds = Seconds(start);
    if (total == 0)
        std::puts("nothing read?");
    return seconds;
}

double Scan(const std::string& folder, std::int32_t& count, bool withProgress = false) {
    SilentUi silent;
    ProgressUi following;
    EngineUi& ui = withProgress ? static_cast<EngineUi&>(following) : silent;
    RenameEngine engine(SystemFileSystem(), ui);
    engine.m_strFolder = folder;
    const auto start = Clock::now();
    engine.RefreshFileList();
    const double seconds = Seconds(start);
    count = engine.m_songFiles.count();
    return seconds;
}

// Best of a few runs of both, after one warm-up read. The files are read in the
// order the scan reads them (byte order of their names), so both meet the same
// cache and directory layout.
void Compare(const char* label, const std::string& folder, std::vector<std::string> names,
             double limit) {
    std::sort(names.begin(), names.end());
    ReadAllFiles(folder, names);
    double read = 1e9;
    double scan = 1e9;
    double scanWithProgress = 1e9;
    std::int32_t count = 0;
    for (int run = 0; run < 7; ++run) {
        read = std::min(read, ReadAllFiles(folder, names));
        scan = std::min(scan, Scan(folder, count));
        scanWithProgress = std::min(scanWithProgress, Scan(folder, count, true));
    }
    std::printf("%s: %d entries; open+read %.3f s, scan %.3f s, ratio %.2f (limit %.1f) %s\n",
                label, count, read, scan, scan / read, limit,
                scan / read <= limit ? "OK" : "TOO SLOW");
    const double extra = (scanWithProgress / scan - 1) * 100;
    std::printf("  the same scan reporting progress: %.3f s, %+.1f %% (limit 2 %%) %s\n",
                scanWithProgress, extra, extra <= 2 ? "OK" : "TOO SLOW");
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

void UniqueNamesAlone() {
    SongFileList list;
    for (int i = 0; i < 100000; ++i) {
        SongFileEntry entry;
        entry.newName = "Song number " + std::to_string(i % 1000) + ".MID";
        entry.titleFound = 1;
        list.Append(std::move(entry));
    }
    UniqueNames unique;
    const auto start = Clock::now();
    unique.Run(list);
    const double seconds = Seconds(start);
    std::printf(
        "MakeNewNamesUnique on 100,000 entries (1,000 titles x 100): %.3f s (limit 0.5) %s\n",
        seconds, seconds < 0.5 ? "OK" : "TOO SLOW");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "memory") {
        std::int32_t count = 0;
        Scan(argv[2], count);
        std::printf("%ld\n", PeakResidentKilobytes());
        return count > 0 ? 0 : 1;
    }
    const bool realisticOnly = argc == 2 && std::string(argv[1]) == "realistic";
    {
        test::TempDir folder;
        std::puts(
            "Writing 10,000 song files of 5 to 60 KB (formats 0 and 1, titles from "
            "track names, texts and markers) ...");
        const auto names = MakeRealisticSongs(folder.path(), 10000);
        Compare("10,000 realistic files of 5-60 KB", folder.path(), names, 1.3);
    }
    if (realisticOnly)
        return 0;
    {
        test::TempDir folder;
        std::puts("Writing 100,000 small song files (1,000 titles, each used 100 times) ...");
        const auto names = MakeSongs(folder.path(), 100000, 1000, 64);
        Compare("100,000 small files", folder.path(), names, 3.0);
        const long peak = PeakMemoryOfScan(folder.path());
        std::printf("Peak memory of that scan: %.1f MB (limit 100 MB) %s\n", peak / 1024.0,
                    peak >= 0 && peak < 100 * 1024 ? "OK" : "TOO MUCH");
    }
    UniqueNamesAlone();
    return 0;
}
