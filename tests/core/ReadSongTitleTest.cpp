#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <future>
#include <memory>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "PassThroughFileSystem.h"
#include "ReferenceTitles.h"
#include "SongBytes.h"
#include "TempDir.h"
#include "platform/FileError.h"
#include "title/ReadSongTitle.h"

namespace tt {
namespace {

using namespace songbytes;
using V = std::vector<std::string>;

const std::string kNotFound = "<not found>";
// The read error's standard text names the file.
std::string IoErrorText(const std::string& path) {
    return "A hardware I/O error was reported while accessing " + path + ".";
}

// The title in the bytes of a whole file, or kNotFound. The bytes are copied into
// a block of exactly their size, so a sanitizer build catches any read past them.
// Read in blocks as small as a byte, the bytes give the same title.
std::string TitleIn(const Bytes& file, bool isPattern = false) {
    auto exact = std::make_unique<unsigned char[]>(file.size());
    std::copy(file.begin(), file.end(), exact.get());
    std::string title = "stale";
    const bool found = ExtractSongTitle(exact.get(), file.size(), isPattern, title);
    for (const std::size_t firstBlock : {1, 5, 23}) {
        std::string inBlocks = "stale";
        EXPECT_EQ(test::ExtractSongTitleInBlocks(exact.get(), file.size(), isPattern, firstBlock,
                                                 inBlocks),
                  found);
        EXPECT_EQ(inBlocks, title) << "first block " << firstBlock;
    }
    if (!found) {
        EXPECT_EQ(title, "");
        return kNotFound;
    }
    return title;
}

// A MIDI file that ends where its one track of `events` ends.
Bytes Midi(const Bytes& events) {
    return Cat({MidiHeader(), Track(events)});
}

std::string MidiTitle(const Bytes& events) {
    return TitleIn(Midi(events));
}

struct RecordingReporter : TitleErrorReporter {
    V texts;
    void ReportReadError(const std::string& text) override { texts.push_back(text); }
};

// Counts the reads, the bytes they ask for and the advice, and makes the length
// query or the read fail on request, or every read that covers a bad byte.
class FaultyReads final : public test::PassThroughFileSystem {
  public:
    enum class Fault { none, lengthFails, readFails, readOutOfMemory, readShort };
    Fault fault = Fault::none;
    int reads = 0;
    int advised = 0;
    std::uint64_t asked = 0;
    std::uint64_t badByte = UINT64_MAX;

    void AdviseNoReadAhead(FileHandle& file) override {
        ++advised;
        PassThroughFileSystem::AdviseNoReadAhead(file);
    }

    std::uint64_t Length(FileHandle& file) override {
        if (fault == Fault::lengthFails)
            throw FileError(FileErrorCause::hardIO, {}, EIO);
        return PassThroughFileSystem::Length(file);
    }
    std::size_t Read(FileHandle& file, void* buffer, std::size_t size) override {
        ++reads;
        asked += size;
        const auto at = static_cast<std::uint64_t>(::lseek(file.fd(), 0, SEEK_CUR));
        if (badByte >= at && badByte - at < size)
            throw FileError(FileErrorCause::hardIO, {}, EIO);
        switch (fault) {
            case Fault::readFails:
                throw FileError(FileErrorCause::hardIO, {}, EIO);
            case Fault::readOutOfMemory:
                throw std::bad_alloc();
            case Fault::readShort:
                return PassThroughFileSystem::Read(file, buffer, size - 1);
            default:
                return PassThroughFileSystem::Read(file, buffer, size);
        }
    }
};

class ReadSongTitleFile : public ::testing::Test {
  protected:
    test::TempDir dir;
    RecordingReporter reporter;

    std::string ReadPath(const std::string& path, FileSystem& fs = SystemFileSystem()) {
        std::string title = "stale";
        if (!ReadSongTitle(fs, path, title, reporter)) {
            EXPECT_EQ(title, "") << path;
            return kNotFound;
        }
        return title;
    }
    std::string Read(const std::string& name, const Bytes& bytes,
                     FileSystem& fs = SystemFileSystem()) {
        WriteBytes(dir / name, bytes);
        return ReadPath(dir / name, fs);
    }
};

TEST_F(ReadSongTitleFile, ReadsOnlyFilesOf48To1000000Bytes) {
    const Bytes events = TrackName("Song");  // 30 bytes with header and track, zero-padded
    FaultyReads fs;
    EXPECT_EQ(Read("47.mid", MidiFile(events, 47), fs), kNotFound);
    EXPECT_EQ(Read("48.mid", MidiFile(events, 48), fs), "Song");
    EXPECT_EQ(Read("1000000.mid", MidiFile(events, 1000000), fs), "Song");
    EXPECT_EQ(Read("1000001.mid", MidiFile(events, 1000001), fs), kNotFound);
    EXPECT_EQ(fs.reads, 2);  // files outside the bounds are measured, never read
    EXPECT_TRUE(reporter.texts.empty());
}

TEST_F(ReadSongTitleFile, LayoutFollowsTheExtensionAndTheSignature) {
    const Bytes pattern = PatternFile("Disco 1 Extra", 0);
    const Bytes midi = MidiFile(TrackName("Blue"));
    EXPECT_EQ(Read("upper.PAT", pattern), "Disco 1");
    EXPECT_EQ(Read("mixed.pAt", pattern), "Disco 1");
    EXPECT_EQ(Read("midi.pat", midi), kNotFound);
    EXPECT_EQ(Read("kpat.mid", pattern), kNotFound);
    EXPECT_EQ(Read("kpat.sty", pattern), kNotFound);
    // Style files are MIDI files: the same bytes give the same title.
    EXPECT_EQ(Read("song.mid", midi), "Blue");
    EXPECT_EQ(Read("style.sty", midi), "Blue");
    EXPECT_EQ(Read("song.pat.mid", midi), "Blue");
    EXPECT_TRUE(reporter.texts.empty());
}

TEST_F(ReadSongTitleFile, ReadErrorsAreReportedAndGiveNoTitle) {
    const std::string path = dir / "song.mid";
    WriteBytes(path, MidiFile(TrackName("Blue")));
    FaultyReads fs;
    fs.fault = FaultyReads::Fault::readFails;
    EXPECT_EQ(ReadPath(path, fs), kNotFound);
    fs.fault = FaultyReads::Fault::lengthFails;
    EXPECT_EQ(ReadPath(path, fs), kNotFound);
    fs.fault = FaultyReads::Fault::readOutOfMemory;
    EXPECT_EQ(ReadPath(path, fs), kNotFound);
    EXPECT_EQ(reporter.texts, (V{IoErrorText(path), IoErrorText(path), "Out of memory."}));

    // A short read and a file that cannot be opened: no title, nothing shown.
    fs.fault = FaultyReads::Fault::readShort;
    EXPECT_EQ(ReadPath(path, fs), kNotFound);
    EXPECT_EQ(ReadPath(dir / "missing.mid"), kNotFound);
    EXPECT_EQ(ReadPath(dir / "no-folder/missing.mid"), kNotFound);
    EXPECT_EQ(reporter.texts.size(), 3u);

    fs.fault = FaultyReads::Fault::none;
    EXPECT_EQ(ReadPath(path, fs), "Blue");
}

// A song-like file at random: a first track of notes under running status, texts
// of every kind (blank, cut by a zero byte, long), system exclusive events, now and
// then a byte that stops the walk; a stated length that may miss the events; more
// bytes after the track. Now and then a pattern file or plain noise.
Bytes RandomSong(std::mt19937& random) {
    const auto pick = [&](unsigned n) { return static_cast<unsigned>(random() % n); };
    const auto bytes = [&](unsigned n, const char* from) {
        std::string text;
        for (unsigned i = 0; i < n; ++i)
            text += from[pick(static_cast<unsigned>(std::strlen(from)) + 1)];  // or a zero
        return text;
    };
    if (pick(20) == 0)
        return PatternFile(bytes(pick(12), "Ab ."), static_cast<unsigned char>(pick(2)), pick(100));
    if (pick(20) == 0)
        return Text(bytes(pick(5000), "MThdTrk\x01\xff\x90"));
    Bytes events;
    const auto add = [&](const Bytes& more) {
        events.insert(events.end(), more.begin(), more.end());
    };
    for (unsigned count = pick(60); count > 0; --count) {
        const unsigned kind = pick(100);
        if (kind < 50 || kind >= 80)  // a meta event brings its own
            add(Delta(pick(8) == 0 ? random() & 0x0FFFFFFF : pick(200)));
        if (kind < 50) {
            add({static_cast<unsigned char>(0x90 + pick(16)), 60, 100});
            for (unsigned notes = pick(400); notes > 0; --notes)
                add(Cat({Delta(pick(300)), {static_cast<unsigned char>(pick(128)), 0}}));
        } else if (kind < 80) {
            const unsigned char types[] = {1, 3, 6, 2, 0x51};
            add(Meta(types[pick(5)], bytes(pick(8) == 0 ? pick(256) : pick(12), " \tSong.")));
        } else if (kind < 90) {
            add(Cat({{0xF0, static_cast<unsigned char>(pick(256))}, Bytes(pick(256), 1)}));
        } else if (kind < 97) {
            add({static_cast<unsigned char>(0xC0 + pick(32)), 5, 6});
        } else {
            add({static_cast<unsigned char>(random())});
        }
    }
    const auto length = pick(4) == 0 ? pick(static_cast<unsigned>(events.size()) * 2 + 1)
                                     : static_cast<std::uint32_t>(events.size());
    return Cat({MidiHeader(), TrackWithLength(length, events), Bytes(pick(3000), 0x90)});
}

TEST_F(ReadSongTitleFile, ReadingInBlocksGivesTheTitlesOfTheWholeFile) {
    std::mt19937 random(15);
    FaultyReads fs;
    for (int i = 0; i < 600; ++i) {
        const Bytes song = RandomSong(random);
        const bool isPattern = i % 16 == 0 || (song.size() > 4 && song[0] == 'K');
        // A new file each time: truncating one that was written makes the system flush it.
        const std::string path = dir / (std::to_string(i) + (isPattern ? ".pat" : ".mid"));
        WriteBytes(path, song);
        std::string whole;
        const bool found = test::ReadSongTitleWhole(SystemFileSystem(), path, whole, reporter);
        fs.asked = 0;
        fs.advised = 0;
        fs.badByte = UINT64_MAX;
        std::string inBlocks = "stale";
        EXPECT_EQ(ReadSongTitle(fs, path, inBlocks, reporter), found) << i;
        EXPECT_EQ(inBlocks, whole) << i;
        // Never past the length; read-ahead is turned off when a block may not do.
        EXPECT_LE(fs.asked, song.size());
        const bool inBounds = song.size() >= 48 && song.size() <= 1000000;
        EXPECT_EQ(fs.advised, inBounds && song.size() > 4096 ? 1 : 0);
        EXPECT_TRUE(reporter.texts.empty());
        // Blocks from a single byte on, in memory.
        EXPECT_EQ(test::ExtractSongTitleInBlocks(song.data(), song.size(), isPattern, 1 + i % 50,
                                                 inBlocks),
                  ExtractSongTitle(song.data(), song.size(), isPattern, whole));
        EXPECT_EQ(inBlocks, whole) << i;

        // A bad byte: reported as the whole read reports it, unless the title does
        // not need its block; then the title is the same as without it.
        if (!inBounds)
            continue;
        test::ReadSongTitleWhole(SystemFileSystem(), path, whole, reporter);
        fs.badByte = random() % song.size();
        const bool foundDespite = ReadSongTitle(fs, path, inBlocks, reporter);
        if (reporter.texts.empty()) {
            EXPECT_EQ(foundDespite, found) << i;
            EXPECT_EQ(inBlocks, whole) << i;
            EXPECT_GE(fs.badByte, 4096u) << i;
        } else {
            EXPECT_EQ(reporter.texts, V{IoErrorText(path)}) << i;
            EXPECT_EQ(inBlocks, "");
            reporter.texts.clear();
        }
    }
}

TEST_F(ReadSongTitleFile, AFifoIsNotWaitedFor) {
    // Opening a FIFO for reading would wait for a writer; the scan must not hang.
    const std::string path = dir / "pipe.mid";
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    auto reading = std::async(std::launch::async, [&] { return ReadPath(path); });
    if (reading.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        // Give the blocked open a writer so the test can end.
        FileHandle writer(::open(path.c_str(), O_WRONLY | O_NONBLOCK));
        ADD_FAILURE() << "reading a FIFO waited for a writer";
    }
    EXPECT_EQ(reading.get(), kNotFound);
    EXPECT_TRUE(reporter.texts.empty());
}

TEST(MidiTitleLayout, OnlyASixByteHeaderFollowedByTheTrackIsRead) {
    EXPECT_EQ(TitleIn(MidiFile(TrackName("Blue"))), "Blue");
    // A RIFF container: "RIFF", size, "RMID", "data", size, then the MIDI file.
    const Bytes wrapped = Cat({Text("RIFF"),
                               {0x3C, 0x00, 0x00, 0x00},
                               Text("RMIDdata"),
                               {0x30, 0x00, 0x00, 0x00},
                               MidiFile(TrackName("Blue"))});
    EXPECT_EQ(TitleIn(wrapped), kNotFound);
    // Header chunk of 8 bytes: the track chunk starts at 16, not at 14.
    const Bytes longHeader =
        Cat({Text("MThd"), {0, 0, 0, 8}, {0, 0, 0, 1, 0, 96, 0, 0}, Track(TrackName("Blue"))});
    EXPECT_EQ(TitleIn(longHeader), kNotFound);
    // Signatures are compared byte for byte.
    Bytes lowerCase = MidiFile(TrackName("Blue"));
    lowerCase[0] = 'm';
    EXPECT_EQ(TitleIn(lowerCase), kNotFound);
    lowerCase = MidiFile(TrackName("Blue"));
    lowerCase[14] = 'm';
    EXPECT_EQ(TitleIn(lowerCase), kNotFound);
    // Too short to hold the track length.
    EXPECT_EQ(TitleIn(Cat({MidiHeader(), Text("MTrk"), {0, 0}})), kNotFound);
    EXPECT_EQ(TitleIn(Cat({MidiHeader(), TrackWithLength(0, {})})), kNotFound);
}

TEST(PatternTitle, NameFieldIsEightOrTenBytes) {
    EXPECT_EQ(TitleIn(PatternFile("Disco 1 Extra", 0), true), "Disco 1");  // "Disco 1 " trimmed
    EXPECT_EQ(TitleIn(PatternFile("Disco 1 Extra", 1), true), "Disco 1 Ex");
    EXPECT_EQ(TitleIn(PatternFile("Disco 1 Extra", 0x80), true), "Disco 1 Ex");
    // A blank name is still a found title, just an empty one.
    EXPECT_EQ(TitleIn(PatternFile("          ", 1), true), "");
    EXPECT_EQ(TitleIn(PatternFile(std::string_view("Ab\0cdefgh", 9), 1), true), "Ab");
    EXPECT_EQ(TitleIn(PatternFile("Rock.n/Roll", 1), true), "Rock_n_Rol");
    EXPECT_EQ(TitleIn(PatternFile("M\xFCller", 0), true), "M\xC3\xBCller");
    Bytes lowerCase = PatternFile("Disco", 0);
    lowerCase[0] = 'k';
    EXPECT_EQ(TitleIn(lowerCase, true), kNotFound);
    // The name field cut by the end of the data.
    EXPECT_EQ(TitleIn(Cat({Text("KPAT"), {1, 0, 0}, Text("Sho")}), true), "Sho");
}

TEST(MidiTitle, TrackNameWinsOverTextWhichWinsOverMarker) {
    EXPECT_EQ(MidiTitle(Cat({TextEvent("Hello"), TrackName("My Song")})), "My Song");
    EXPECT_EQ(MidiTitle(Cat({Marker("Intro"), TextEvent("Hello")})), "Hello");
    EXPECT_EQ(MidiTitle(Marker("Intro")), "Intro");
    EXPECT_EQ(MidiTitle(Cat({TrackName("First"), TrackName("Second")})), "First");
    EXPECT_EQ(MidiTitle(Cat({NoteOn(60, 64), EndOfTrack()})), kNotFound);
    // Copyright, instrument, lyric and cue point are no titles.
    EXPECT_EQ(MidiTitle(Cat({Meta(0x02, "(c) Someone"), Meta(0x04, "Piano"), Meta(0x05, "la"),
                             Meta(0x07, "Cue")})),
              kNotFound);
}

TEST(MidiTitle, CapsAt32BytesThenTrimsAndReplaces) {
    const std::string forty = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd";
    EXPECT_EQ(MidiTitle(TrackName(forty)), forty.substr(0, 32));
    // Leading blanks count against the 32 bytes.
    EXPECT_EQ(MidiTitle(TrackName("      " + forty)), forty.substr(0, 26));
    EXPECT_EQ(MidiTitle(TrackName(std::string(31, 'x') + "  tail")), std::string(31, 'x'));
    EXPECT_EQ(MidiTitle(TrackName("\t\n\v\f\r Song \r\n")), "Song");
    EXPECT_EQ(MidiTitle(TrackName("Mr. Jones: Live/Studio?")), "Mr_ Jones_ Live_Studio_");
    EXPECT_EQ(MidiTitle(TrackName("\"*./:<>?\\")), "_________");
    // Control bytes inside become '_' too; at the ends they are trimmed first.
    EXPECT_EQ(MidiTitle(TrackName("\tA\tB\x1b[2J\rC\nD\x7f\x01 ")), "A_B_[2J_C_D__");
    // Replacing comes after trimming, so a dot at either end survives as '_'.
    EXPECT_EQ(MidiTitle(TrackName(" .Song. ")), "_Song_");
    EXPECT_EQ(MidiTitle(TrackName("Rock | Roll")), "Rock | Roll");
    EXPECT_EQ(MidiTitle(TrackName("MiXeD cAsE")), "MiXeD cAsE");
    EXPECT_EQ(MidiTitle(TrackName(std::string_view("Ab\0cd", 5))), "Ab");
}

TEST(MidiTitle, AnEmptyTextLeavesTheSlotOpen) {
    EXPECT_EQ(MidiTitle(Cat({TrackName("   "), TextEvent("Text"), TrackName("Real")})), "Real");
    EXPECT_EQ(MidiTitle(Cat({TrackName(""), TrackName("Later")})), "Later");
    EXPECT_EQ(MidiTitle(Cat({TrackName(std::string_view("\0Hidden", 7)), TextEvent("Text")})),
              "Text");
}

TEST(MidiTitle, UnexpectedBytesStopTheWalk) {
    for (unsigned char status :
         {0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xFD, 0xFE}) {
        const Bytes events = Cat({TextEvent("Before"),
                                  {0x00, status, 0x00, 0x00},  // not an event the walk knows
                                  TrackName("After")});
        EXPECT_EQ(MidiTitle(events), "Before") << int(status);
    }
    EXPECT_EQ(MidiTitle(Cat({{0x00, 0xF2, 0x00, 0x00}, TrackName("After")})), kNotFound);
    // A data byte before any channel status; meta events set no running status.
    EXPECT_EQ(MidiTitle(Cat({{0x00, 0x3C, 0x40}, TrackName("After")})), kNotFound);
    EXPECT_EQ(MidiTitle(Cat({TextEvent("Before"), {0x00, 0x3C, 0x40}, TrackName("After")})),
              "Before");
}

TEST(MidiTitle, ChannelMessagesAreSteppedOverByTheirDataBytes) {
    const Bytes notes = {
        0x00, 0x90, 0x3C, 0x40,  // note-on with status
        0x00, 0x3E, 0x40,        // note-on under running status: two data bytes
        0x00, 0x40, 0x40,        // and another
    };
    EXPECT_EQ(MidiTitle(Cat({notes, TrackName("Notes")})), "Notes");
    const Bytes programs = {
        0x00, 0xC0, 0x05,  // program change with status
        0x00, 0x06,        // program change under running status: one data byte
        0x00, 0x07,        // and another
    };
    EXPECT_EQ(MidiTitle(Cat({programs, TrackName("Programs")})), "Programs");
    const Bytes others = {
        0x00, 0xD3, 0x10, 0x00, 0x11,              // channel pressure, then running status
        0x00, 0xE3, 0x00, 0x40, 0x00, 0x01, 0x40,  // pitch bend, then running status
        0x00, 0xB1, 0x07, 0x64, 0x00, 0x0A, 0x40,  // control change, then running status
        0x00, 0xA2, 0x3C, 0x10,                    // polyphonic pressure
        0x00, 0x83, 0x3C, 0x00,                    // note-off
    };
    EXPECT_EQ(MidiTitle(Cat({others, TrackName("Others")})), "Others");
    const Bytes across = {
        0x00, 0x90, 0x3C, 0x40,        // note-on with status
        0x00, 0xFF, 0x21, 0x01, 0x00,  // meta event (port)
        0x00, 0x3C, 0x00,              // running status still note-on
        0x00, 0xF0, 0x02, 0x7E, 0xF7,  // system exclusive, two data bytes
        0x00, 0x3E, 0x00,              // running status still note-on
        0x00, 0xF7, 0x01, 0x7E,        // escaped system exclusive, one data byte
    };
    EXPECT_EQ(MidiTitle(Cat({across, TrackName("Across")})), "Across");
    // Delta times of several bytes.
    EXPECT_EQ(MidiTitle(Cat({Delta(0x0FFFFFFF), {0x90, 0x3C, 0x40}, TrackName("Late")})), "Late");
}

TEST(MidiTitle, EventLengthsAreSingleBytesEvenFrom128) {
    // Were 0x81 the start of a variable-length number, the walk would land elsewhere.
    const Bytes sysex = Cat({{0x00, 0xF0, 0x81}, Bytes(129, 0x10)});
    EXPECT_EQ(MidiTitle(Cat({sysex, TrackName("After Sysex")})), "After Sysex");
    const Bytes meta = Cat({{0x00, 0xFF, 0x7F, 0xC8}, Bytes(200, 0x10)});
    EXPECT_EQ(MidiTitle(Cat({meta, TrackName("After Meta")})), "After Meta");
    // A text of 200 bytes: 32 are captured, the walk goes on after all 200.
    EXPECT_EQ(MidiTitle(Cat({Meta(0x01, std::string(200, 'T')), TrackName("After Text")})),
              "After Text");
    EXPECT_EQ(MidiTitle(Meta(0x06, std::string(255, 'M'))), std::string(32, 'M'));
}

TEST(MidiTitle, TheWalkStopsAtTheEndOfTheData) {
    // The track claims 1000 bytes, but the file ends right after the bytes of each
    // case; whatever the walk needs past them ends it, keeping what it captured.
    struct Case {
        const char* what;
        Bytes tail;
    };
    const Case cases[] = {
        {"nothing more", {}},
        {"delta time cut", {0x81}},
        {"delta time cut after two bytes", {0x81, 0x80}},
        {"status byte missing", {0x00}},
        {"meta type missing", {0x00, 0xFF}},
        {"meta length missing", {0x00, 0xFF, 0x03}},
        {"track name cut", {0x00, 0xFF, 0x03, 0x0A, 'C', 'u', 't'}},
        {"track name missing", {0x00, 0xFF, 0x03, 0x05}},
        {"system exclusive length missing", {0x00, 0xF0}},
        {"system exclusive cut", {0x00, 0xF0, 0x05, 0x01}},
        {"note-on cut", {0x00, 0x90, 0x3C}},
        {"running status cut", {0x00, 0x90, 0x3C, 0x40, 0x00, 0x3E}},
        {"other meta cut", {0x00, 0xFF, 0x51, 0x03, 0x07}},
    };
    for (const Case& c : cases) {
        const Bytes file = Cat({MidiHeader(), TrackWithLength(1000, TextEvent("Early")), c.tail});
        EXPECT_EQ(TitleIn(file), "Early") << c.what;
    }
    // A text that ends with the data, at its length or at a zero byte, or whose
    // first 32 bytes are all there, is captured.
    const auto lastEvent = [](const Bytes& tail) {
        return TitleIn(Cat({MidiHeader(), TrackWithLength(1000, TextEvent("Early")), tail}));
    };
    EXPECT_EQ(lastEvent({0x00, 0xFF, 0x03, 0x04, 'F', 'u', 'l', 'l'}), "Full");
    EXPECT_EQ(lastEvent({0x00, 0xFF, 0x03, 0x08, 'Z', 'e', 'r', 'o', 0x00}), "Zero");
    EXPECT_EQ(lastEvent(Cat({{0x00, 0xFF, 0x03, 0x28}, Bytes(32, 'L')})), std::string(32, 'L'));
}

TEST(MidiTitle, TheWalkReadsPastTheTrackEndInsideTheFile) {
    const Bytes events = TrackName("Past");  // 00 FF 03 04 'P' 'a' 's' 't'
    // The track covers only the delta time; the rest of the event lies after it.
    EXPECT_EQ(TitleIn(Cat({MidiHeader(), TrackWithLength(1, events)})), "Past");
    EXPECT_EQ(TitleIn(Cat({MidiHeader(), TrackWithLength(0, events)})), kNotFound);
    // No event starts at or after the track end.
    EXPECT_EQ(TitleIn(Cat({MidiHeader(), TrackWithLength(9, TextEvent("First")), events})),
              "First");
    // A delta time that reaches the track end ends its skipping there.
    const Bytes longDelta = {0x81, 0x00, 0xFF, 0x03, 0x04, 'L', 'o', 'n', 'g'};
    EXPECT_EQ(TitleIn(Cat({MidiHeader(), TrackWithLength(2, longDelta)})), "Long");
    EXPECT_EQ(TitleIn(Cat({MidiHeader(), TrackWithLength(1, longDelta)})), kNotFound);
}

TEST(MidiTitle, InvalidUtf8IsReadAsWindows1252) {
    EXPECT_EQ(MidiTitle(TrackName("Caf\xE9")), "Caf\xC3\xA9");
    EXPECT_EQ(
        MidiTitle(TrackName("\x80 \x8A \x9F \xFF")),
        "\xE2\x82\xAC \xC5\xA0 \xC5\xB8 \xC3\xBF");  // euro, S caron, Y diaeresis, y diaeresis
    // The five bytes the code page leaves undefined.
    EXPECT_EQ(MidiTitle(TrackName("a\x81"
                                  "b\x8D"
                                  "c\x8F"
                                  "d\x90"
                                  "e\x9D")),
              "a_b_c_d_e_");
    // Valid UTF-8 is kept, a stray byte beside it converted.
    const std::string valid = "Caf\xC3\xA9 \xE2\x99\xAA \xF0\x9F\x8E\xB5";
    EXPECT_EQ(MidiTitle(TrackName(valid)), valid);
    EXPECT_EQ(MidiTitle(TrackName("\xC3\xA9\xE9")), "\xC3\xA9\xC3\xA9");
    // An overlong '/', a surrogate and a code point above U+10FFFF are no UTF-8.
    EXPECT_EQ(MidiTitle(TrackName("\xC0\xAF")), "\xC3\x80\xC2\xAF");
    EXPECT_EQ(MidiTitle(TrackName("\xED\xA0\x80")), "\xC3\xAD\xC2\xA0\xE2\x82\xAC");
    EXPECT_EQ(MidiTitle(TrackName("\xF4\x90\x80\x80")), "\xC3\xB4_\xE2\x82\xAC\xE2\x82\xAC");
    // A non-breaking space is no white space to trim.
    EXPECT_EQ(MidiTitle(TrackName("\xA0Song\xA0")), "\xC2\xA0Song\xC2\xA0");
}

// A character the cap cuts goes whole, not as Windows-1252 letters; a byte at the
// cap that no next byte completes is one of those letters.
TEST(MidiTitle, TheCapKeepsWholeCharacters) {
    const std::string a29(29, 'a'), euros = "\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC";
    EXPECT_EQ(MidiTitle(TrackName(a29 + "a" + euros)), a29 + "a");
    EXPECT_EQ(MidiTitle(TrackName(a29 + "\xF0\x9F\x8E\xB5")), a29);
    EXPECT_EQ(MidiTitle(TrackName(a29 + "xx\xE9xyz")), a29 + "xx\xC3\xA9");
    EXPECT_EQ(TitleIn(PatternFile("1234567" + euros, 0), true), "1234567");
    EXPECT_EQ(TitleIn(PatternFile("1234567\xE9xy", 0), true), "1234567\xC3\xA9");
}

}  // namespace
}  // namespace tt
