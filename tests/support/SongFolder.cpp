#include "SongFolder.h"

#include <filesystem>
#include <stdexcept>

#include "SongBytes.h"
#include "TempDir.h"

namespace tt::test {

using namespace tt::songbytes;

void WriteSong(const std::string& path, const std::string& title, const std::string& tag) {
    Bytes events = TrackName(title);
    if (!tag.empty())
        events = Cat({events, TextEvent(tag)});
    WriteBytes(path, MidiFile(Cat({events, EndOfTrack()})));
}

void WriteUntitledSong(const std::string& path, const std::string& tag) {
    // The tag lies behind the track, where the title reader never looks.
    WriteBytes(path, Cat({MidiFile(Cat({NoteOn(60, 100), EndOfTrack()})), Text(tag)}));
}

std::string MidiSong(const std::string& title) {
    const Bytes bytes = MidiFile(Cat({TrackName(title), NoteOn(60, 100), EndOfTrack()}));
    return std::string(bytes.begin(), bytes.end());
}

Contents FolderContents(const std::string& folder) {
    Contents contents;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.is_regular_file())
            contents[entry.path().filename().string()] = ReadWholeFile(entry.path().string());
    }
    return contents;
}

std::int32_t EngineWithUi::IndexOf(const std::string& fileName) const {
    const SongFileList& list = engine.songFiles();
    for (std::int32_t i = 0; i < list.count(); ++i) {
        if (list.ElementAt(i).fileName == fileName)
            return i;
    }
    return -1;
}

const SongFileEntry& EngineWithUi::Entry(const std::string& fileName) const {
    const std::int32_t index = IndexOf(fileName);
    if (index < 0)
        throw std::runtime_error("no entry " + fileName);
    return engine.songFiles().ElementAt(index);
}

}  // namespace tt::test
