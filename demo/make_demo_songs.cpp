// make-demo-songs DIR: writes a small folder of made-up song files to try the
// program on. It holds MIDI songs (some with upper-case names), style and pattern
// files, titles stored as track name, text or marker, titles that repeat (so the
// proposed names get numbered), one song without a title and a lyrics file that
// goes with one song.
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>

#include "SongBytes.h"

namespace {

using namespace tt::songbytes;

// A short tune: a program change, three notes under running status, then the end.
Bytes Tune() {
    return Cat({Bytes{0x00, 0xC0, 0x05}, NoteOn(60, 100), Delta(48), Bytes{64, 100}, Delta(48),
                Bytes{67, 100}, Delta(96), Bytes{60, 0}});
}

Bytes SongWith(const Bytes& titleEvents) {
    return MidiFile(Cat({titleEvents, Tune(), EndOfTrack()}));
}

void WriteDemoSongs(const std::string& folder) {
    std::filesystem::create_directories(folder);
    auto write = [&](const std::string& name, const Bytes& bytes) {
        WriteBytes(folder + "/" + name, bytes);
    };

    // Titles as track names; the text event after it is not the title.
    write("SONG0001.MID",
          SongWith(Cat({TrackName("Harbour Lights at Dusk"), TextEvent("Arranged 1994")})));
    write("song0002.mid", SongWith(TrackName("Harbour Lights at Dusk")));
    write("Track07.mid", SongWith(TrackName("  Harbour Lights at Dusk  ")));
    write("track08.mid", SongWith(Cat({TextEvent("Demo"), TrackName("Harbour Lights at Dusk")})));
    // Only a text event, after a blank track name.
    write("SONG0003.MID", SongWith(Cat({TrackName("   "), TextEvent("Morning over Fennmoor")})));
    // Only markers: the first one is the title.
    write("SONG0004.MID", SongWith(Cat({Marker("Copper Kettle Polka"), Marker("Chorus")})));
    // Characters a file name cannot hold become underscores.
    write("medley.mid", SongWith(TrackName("Mr. Lindqvist: Live/Studio?")));
    // Notes only: no title.
    write("intro.mid", SongWith(Bytes{}));

    // Style files share the MIDI layout.
    write("BOSSA1.STY", SongWith(TrackName("Bossa for a Rainy Sunday")));
    write("waltz.sty", SongWith(TextEvent("Lantern Waltz")));

    // Pattern files: the name field is 8 bytes wide with selector 0, else 10.
    write("DISCO1.PAT", PatternFile("Disco 1 Extra", 0));
    write("shuffle.pat", PatternFile("Slow Shuffle", 1));

    // Lyrics that go with the first song.
    const std::string lyrics =
        "Harbour Lights at Dusk\n\nThe boats come in, the ropes go tight,\n"
        "the harbour hums into the night.\n";
    write("SONG0001.txt", Text(lyrics));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 || std::string(argv[1]).empty() || argv[1][0] == '-') {
        std::cerr << "Usage: make-demo-songs DIR\n"
                     "Writes a few demo song files into DIR (created when missing).\n";
        return 2;
    }
    try {
        WriteDemoSongs(argv[1]);
    } catch (const std::exception& error) {
        std::cerr << "make-demo-songs: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
