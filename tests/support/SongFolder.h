#pragma once

#include <initializer_list>
#include <map>
#include <string>

#include "ScriptedUi.h"
#include "TempDir.h"
#include "engine/RenameEngine.h"

namespace tt::test {

// Name -> content of the files in a folder.
using Contents = std::map<std::string, std::string>;

// Writes a MIDI file whose title is `title`; `tag` (a text event after the track
// name, which never becomes the title) tells files with the same title apart.
void WriteSong(const std::string& path, const std::string& title, const std::string& tag = "");
// Writes a MIDI file without a usable title.
void WriteUntitledSong(const std::string& path, const std::string& tag);
// The bytes of a MIDI file with one note whose title is `title` (none when empty).
std::string MidiSong(const std::string& title);

// A fresh folder holding a.mid (title Alpha) and b.mid (title Beta), each tagged
// with its base name: where most rename and copy cases start.
struct AlphaBetaFolder : TempDir {
    AlphaBetaFolder() {
        WriteSong(*this / "a.mid", "Alpha", "a");
        WriteSong(*this / "b.mid", "Beta", "b");
    }
};

// Every plain file in `folder` (hidden ones included).
Contents FolderContents(const std::string& folder);

// An engine on a file system with a scripted user interface, its list scanned from
// `folder`.
struct EngineWithUi {
    explicit EngineWithUi(FileSystem& fs = SystemFileSystem()) : engine(fs, ui.FrontEnd()) {}
    // Lists `folder` at once, its rows selected or not.
    enum class Rows { unselected, selected };
    EngineWithUi(const std::string& folder, Rows rows) : EngineWithUi() {
        Scan(folder);
        if (rows == Rows::selected)
            ui.SelectAll();
    }

    void Scan(const std::string& folder) {
        engine.SetFolder(folder);
        engine.RefreshFileList();
    }
    void ScanAndSelectAll(const std::string& folder) {
        Scan(folder);
        ui.SelectAll();
    }
    // Index of the entry whose old name is `fileName`, or -1.
    std::int32_t IndexOf(const std::string& fileName) const;
    const SongFileEntry& Entry(const std::string& fileName) const;
    void Select(const std::string& fileName) { ui.selected.insert(IndexOf(fileName)); }
    void Select(std::initializer_list<std::string> fileNames) {
        for (const std::string& fileName : fileNames)
            Select(fileName);
    }

    ScriptedUi ui;
    RenameEngine engine;
};

}  // namespace tt::test
