#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <future>
#include <random>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "FaultyFileSystem.h"
#include "PassThroughFileSystem.h"
#include "ReferenceTitles.h"
#include "ScriptedUi.h"
#include "SongBytes.h"
#include "TempDir.h"
#include "engine/ReadsInFlight.h"
#include "engine/RenameEngine.h"
#include "platform/FileError.h"
#include "text/NameText.h"

namespace tt {
namespace {

using namespace songbytes;
using Step = test::FaultyFileSystem::Step;

// Notes whether anything was shown, or asked, on a thread other than the scan's.
class WatchedUi : public test::ScriptedUi {
  public:
    const std::thread::id caller = std::this_thread::get_id();
    bool elsewhere = false;
    void ReportReadError(const std::string& text) override {
        elsewhere |= std::this_thread::get_id() != caller;
        ScriptedUi::ReportReadError(text);
    }
    void WorkProgress(std::int32_t done, std::int32_t total) override {
        elsewhere |= std::this_thread::get_id() != caller;
        ScriptedUi::WorkProgress(done, total);
    }
    bool StopRequested() override {
        elsewhere |= std::this_thread::get_id() != caller;
        return ScriptedUi::StopRequested();
    }
};

bool EndsWithNoCase(const std::string& name, const char* tail) {
    return EqualsNoCase(LastChars(name, 4), tail);
}

using Row = std::tuple<std::string, std::string, int, std::uint32_t>;

struct Scanned {
    std::vector<Row> rows;
    std::vector<std::string> readErrors;
    std::size_t progressCount = 0;
};

Scanned ScanWith(FileSystem& fs, const std::string& folder) {
    WatchedUi ui;
    RenameEngine engine(fs, ui.FrontEnd());
    engine.SetFolder(folder);
    engine.RefreshFileList();
    EXPECT_FALSE(ui.elsewhere);
    Scanned out{{}, ui.readErrors, ui.progress.size()};
    for (std::int32_t i = 0; i < engine.songFiles().count(); ++i) {
        const SongFileEntry& e = engine.songFiles().ElementAt(i);
        out.rows.emplace_back(e.fileName, e.newName, e.titleFound, e.size);
    }
    return out;
}

// A folder of many kinds of file, some of whose opens, measurings and reads fail:
// the scan with reads in flight lists and reports exactly what the scan with one
// read at a time does, and what reading each file whole gives, in list order.
TEST(ReadsInFlight, ListAndMessagesEqualOneReadAtATimeAndTheWholeFileRead) {
    test::TempDir dir;
    std::mt19937 random(21);
    test::FaultyFileSystem inFlight;
    test::FaultyFileSystem oneAtATime;
    oneAtATime.oneAtATime = true;
    constexpr FileErrorCause kCauses[] = {FileErrorCause::hardIO, FileErrorCause::accessDenied,
                                          FileErrorCause::sharingViolation};
    std::vector<std::string> names;
    for (int i = 0; i < 300; ++i) {
        const char* extension = i % 7 == 0 ? ".pat" : i % 5 == 0 ? ".STY" : ".mid";
        const std::string name = "f" + std::to_string(random() % 100000) + extension;
        const std::string title = "Title " + std::to_string(i);
        const int kind = static_cast<int>(random() % 10);
        if (kind == 0)
            WriteBytes(dir / name, Bytes(20, 'x'));  // too short to read
        else if (kind == 1)
            WriteBytes(dir / name, MidiFile(Cat({NoteOn(60, 1), EndOfTrack()})));  // no title
        else if (i % 7 == 0)
            WriteBytes(dir / name, PatternFile("P" + std::to_string(i), 0));
        else
            WriteBytes(dir / name, MidiFile(Cat({TrackName(title), EndOfTrack()}), 5000));
        if (kind == 2)
            ::mkdir((dir / ("d" + std::to_string(i) + ".mid")).c_str(), 0700);  // a folder
        if (random() % 6 == 0) {
            const Step step = std::array{Step::open, Step::length, Step::read}[random() % 3];
            const FileErrorCause cause = kCauses[random() % 3];
            for (test::FaultyFileSystem* fs : {&inFlight, &oneAtATime})
                fs->FailOnPath(step, dir / name, cause);
        }
        names.push_back(name);
    }

    const Scanned fast = ScanWith(inFlight, dir.path());
    const Scanned slow = ScanWith(oneAtATime, dir.path());
    EXPECT_EQ(fast.rows, slow.rows);
    EXPECT_EQ(fast.readErrors, slow.readErrors);
    EXPECT_EQ(fast.progressCount, slow.progressCount);

    // Each file read whole, in the scan's order: kinds in turn, each by name.
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    std::stable_partition(names.begin(), names.end(),
                          [](const std::string& n) { return EndsWithNoCase(n, ".mid"); });
    std::stable_partition(names.begin(), names.end(), [](const std::string& n) {
        return EndsWithNoCase(n, ".mid") || EndsWithNoCase(n, ".sty");
    });
    test::ScriptedUi wholeUi;
    std::vector<Row> whole;
    for (const std::string& name : names) {
        std::string title;
        const bool found = test::ReadSongTitleWhole(oneAtATime, dir / name, title, wholeUi);
        whole.emplace_back(name, found ? title + LastChars(name, 4) : "", found ? 1 : 0,
                           static_cast<std::uint32_t>(SystemFileSystem().Stat(dir / name)->size));
    }
    std::vector<Row> listed = fast.rows;
    std::sort(listed.begin(), listed.end());
    std::sort(whole.begin(), whole.end());
    EXPECT_EQ(listed, whole);
    EXPECT_EQ(fast.readErrors, wholeUi.readErrors);
    EXPECT_FALSE(fast.readErrors.empty());
}

void WriteAlikeSongs(const test::TempDir& dir, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        WriteBytes(dir / ("s" + std::to_string(i) + ".mid"), MidiFile(TrackName("T")));
}

// Counts the files opened, from any thread, and the most opens under way at once;
// each open can be made to wait, as on a share.
class CountedOpens final : public test::PassThroughFileSystem {
  public:
    std::atomic<std::size_t> opens{0};
    std::atomic<std::size_t> underWay{0};
    std::atomic<std::size_t> most{0};
    std::chrono::milliseconds wait{0};
    bool TakesReadsFromSeveralThreads() const override { return true; }
    FileHandle OpenRead(const std::string& path) override {
        ++opens;
        const std::size_t now = ++underWay;
        for (std::size_t seen = most; now > seen && !most.compare_exchange_weak(seen, now);) {
        }
        std::this_thread::sleep_for(wait);
        --underWay;
        return PassThroughFileSystem::OpenRead(path);
    }
};

TEST(ReadsInFlight, ReadsThatWaitBringMoreReaders) {
    test::TempDir dir;
    const std::size_t total = 2 * ReadsInFlight::kReadsAhead;
    WriteAlikeSongs(dir, total);
    CountedOpens fs;
    fs.wait = std::chrono::milliseconds(3);
    EXPECT_EQ(ScanWith(fs, dir.path()).rows.size(), total);
    EXPECT_GT(fs.most.load(), ReadsInFlight::kFirstReaderThreads);
    EXPECT_LE(fs.most.load(), ReadsInFlight::kReaderThreads);
}

// The scan opens its files relative to the folder it holds; a FIFO named as a song
// is still not waited for, and is listed as the file it is.
TEST(ReadsInFlight, AFifoInTheHeldFolderIsNotWaitedFor) {
    test::TempDir dir;
    WriteAlikeSongs(dir, 3);
    const std::string pipe = dir / "pipe.mid";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    auto scan =
        std::async(std::launch::async, [&] { return ScanWith(SystemFileSystem(), dir.path()); });
    if (scan.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        FileHandle writer(::open(pipe.c_str(), O_WRONLY | O_NONBLOCK));  // lets the open end
        ADD_FAILURE() << "the scan waited for a writer";
    }
    EXPECT_EQ(scan.get().rows.size(), 4u);
}

TEST(ReadsInFlight, AStopTakesUpNoFileBeyondTheReadsAhead) {
    test::TempDir dir;
    WriteAlikeSongs(dir, 3 * ReadsInFlight::kReadsAhead);
    CountedOpens fs;
    test::ScriptedUi ui;
    ui.stopAfterFiles = 5;
    RenameEngine engine(fs, ui.FrontEnd());
    engine.SetFolder(dir.path());
    engine.RefreshFileList();
    EXPECT_EQ(engine.songFiles().count(), 0);
    EXPECT_TRUE(ui.warnings.empty());
    EXPECT_LE(fs.opens.load(), 5 + ReadsInFlight::kReadsAhead);
}

}  // namespace
}  // namespace tt
