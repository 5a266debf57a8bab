#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "engine/EngineUi.h"
#include "engine/ListedNames.h"
#include "engine/OperationFiles.h"
#include "engine/OperationJournal.h"
#include "engine/SongFileList.h"
#include "engine/Trash.h"
#include "engine/UniqueNames.h"
#include "platform/FileSystem.h"

namespace tt {

// The program's working state and everything done to the list of song files: the
// folder scan, the proposed names, renaming and copying the selected files with
// their companions. It talks to the user and the list view only through EngineUi.
class RenameEngine {
  public:
    RenameEngine(FileSystem& fs, EngineUi& ui) : m_fs(fs), m_ui(ui) {}

    // --- working state, set by the main window before each command ---
    std::string m_strFolder;  // the listed folder
    bool m_bMidFiles = true;
    bool m_bStyFiles = true;
    bool m_bPatFiles = true;
    bool m_bEditNames = false;
    bool m_bCorrespondingFiles = true;
    // Destination last confirmed in the picker during this run.
    std::string m_strDestFolder;
    // While true, the picker starts at the stored "DestinationFolder".
    bool m_bFirstDestPick = true;

    SongFileList m_songFiles;

    // The journal every rename and copy keeps, and the trash a file replaced after
    // a Yes goes to first; both optional (none: no journal, a replaced file is gone).
    OperationJournal* m_journal = nullptr;
    Trash* m_trash = nullptr;

    // --- folder scan and names ---
    // Rebuilds the list from the folder: search, titles, sort, unique names, rows.
    // It also finds out whether the folder's file system ignores letter case: new
    // names are then kept apart ignoring case too.
    void RefreshFileList();
    // Sets the entry's newName and titleFound from its file.
    void ReadEntryTitle(SongFileEntry& entry);
    // Gives repeated new names a numbered suffix, over the whole list.
    void MakeNewNamesUnique();
    // Must be called after an entry's newName or titleFound changed outside a scan.
    void NoteEntryChanged(std::int32_t index) { m_uniqueNames.NoteEntryChanged(index); }
    // Texts of a row: old name and new name (or the placeholder). Rows outside the
    // list leave `texts` untouched. Always true.
    bool GetRowTexts(std::int32_t row, std::string texts[2]) const;
    // True when anything is at `path`.
    bool FileExists(const std::string& path);

    // --- rename and copy ---
    enum class OverwriteDecision { proceed, skip, cancel };

    // Renames (bCopy false) or copies (bCopy true) the selected titled entries. A
    // listed song is never replaced: in a rename, an entry whose new name is held by
    // a selected song still to be handled waits until the pass over the selection
    // has ended, and is taken again (in list order, round after round while a round
    // settles any); one whose name stays held is left as it is, its row selected.
    void RenameSelectedFiles(bool bCopy);
    // Asks the overwrite question once per operation. On proceed the caller
    // replaces the target in one step once the new content is complete.
    OverwriteDecision ConfirmOverwrite(const std::string& target);
    // Copies source to target whole; `replace` allows replacing an existing
    // target. False when the source is too large (with a warning) or read short.
    bool CopyWholeFile(const std::string& source, const std::string& target, bool replace);
    // Takes the companions of a song (same base name, other extension) along.
    void RenameCorrespondingFiles(const std::string& oldPath, const std::string& newPath,
                                  bool bCopy);

    FileSystem& fileSystem() { return m_fs; }
    EngineUi& ui() { return m_ui; }

  private:
    // How one transfer deals with what is at its target.
    enum class TargetAction {
        create,    // nothing there: the transfer must not replace anything
        replace,   // an existing file the user agreed to overwrite
        sameFile,  // the source itself under another spelling
        skip,      // leave this file alone
        wait,      // held by a listed song that this rename has still to move
        cancel,    // end the question's caller
    };
    enum class EntryStep {
        next,  // the entry is settled: moved, copied, passed over or left
        wait,  // its target is held by a song still to be handled: try again later
        stop,  // the operation ends here
    };

    // Reads the entries of `names` (in the listed folder) into the list, reporting
    // progress; false when the user asked to stop.
    bool ScanCandidates(const std::vector<const std::string*>& names);
    // Fills a scanned entry's title, size and time from its file; false when the
    // name is no file to list (nothing there, or a folder).
    bool ScanEntry(SongFileEntry& entry);
    // Sets titleFound and newName from a title read (or not found) into newName.
    void TakeTitle(SongFileEntry& entry, bool found);
    static void TakeFileInfo(SongFileEntry& entry, const FileInfo& info);
    // Takes size and last-write time from the file at `path`; false when nothing is
    // there (the entry then keeps its values).
    bool TakeFileInfoOf(SongFileEntry& entry, const std::string& path);
    // ReadEntryTitle, then TakeFileInfoOf the entry's path, in one open where the
    // file can be opened (the open file tells size and time).
    void ReadEntryTitleAndInfo(SongFileEntry& entry);
    // Lists a file whose content cannot be read, without a title; false when
    // nothing, or a folder, is at its path.
    bool ListWithoutTitle(SongFileEntry& entry);

    void ResetOperationState();
    // False when the entry's file is missing, a folder, or differs in size or time.
    bool EntryMatchesDisk(const SongFileEntry& entry);
    bool SelectedSourcesChanged(const std::vector<std::int32_t>& rows);
    // The destination folder; empty optional when the picker was cancelled.
    std::optional<std::string> ChooseDestination(bool bCopy);
    // Works through the selected rows, then the rows that waited, round after round.
    void ProcessRows(const std::vector<std::int32_t>& rows, bool bCopy,
                     const std::string& destFolder);
    // `name` is the name chosen for the entry (offered for editing once and kept
    // for the later tries of an entry that waits); empty optional before the first.
    EntryStep ProcessEntry(std::int32_t index, bool bCopy, const std::string& destFolder,
                           std::optional<std::string>& name);
    void RenameEntry(std::int32_t index, const std::string& name, const std::string& target,
                     TargetAction action);
    void UpdateListedCopy(const std::string& target, const std::string& name);
    // `mayWait`: a song being renamed may wait for a listed song at its target.
    TargetAction ResolveTarget(const std::string& source, const std::string& target,
                               bool mayWait = false);
    // The entry whose file an existing `target` is, when `target` lies in the listed
    // folder (however its folder is written) and names a listed song's file.
    std::optional<std::int32_t> ListedSongAt(const std::string& target);
    // True when `folder` is the listed folder, compared as a file, not a spelling.
    bool IsListedFolder(const std::string& folder);
    // True for a selected titled entry that this operation has not yet settled.
    bool IsUnsettled(std::int32_t index) const {
        return index >= 0 && static_cast<std::size_t>(index) < m_unsettled.size() &&
               m_unsettled[static_cast<std::size_t>(index)];
    }
    // Moves a file and keeps the operation's file knowledge up to date.
    void MoveFile(const std::string& from, const std::string& to, bool replace);

    // --- the journal around the file steps (JournalSteps.cpp) ---
    // Starts the operation's journal; false (with a message) when it cannot be written.
    bool BeginJournal(bool bCopy, const std::string& destFolder);
    void EndJournal();
    // Before `target` is replaced by `source`'s file: moves it to the trash, so that an
    // undo can bring it back. True when it went there (the step then replaces nothing).
    bool SetAsideReplaced(const std::string& source, const std::string& target);
    // Records a step about to happen; its number, 0 without a journal.
    int JournalStarting(JournalStep::Kind kind, const std::string& from, const std::string& to,
                        bool replace);
    void JournalDone(int number, const std::string& at);

    FileSystem& m_fs;
    EngineUi& m_ui;
    UniqueNames m_uniqueNames;

    // --- operation state, reset at the start of each rename or copy ---
    bool m_bOverwriteAll = false;
    bool m_bAskOverwrite = true;
    std::unordered_set<std::string> m_doneBases;
    OperationFiles m_operationFiles;
    ListedNames m_listedNames;
    // Per entry index: a selected titled entry this operation has not yet settled.
    std::vector<bool> m_unsettled;
};

// Scan order: titled entries first, then by old name ignoring case.
int CompareEntries(const SongFileEntry& a, const SongFileEntry& b);
// Sorts the list as Shell's sort with halving gaps on CompareEntries does (it is not
// stable): by a quicker sort where no two entries tie, else by Shell's sort itself.
void SortEntries(SongFileList& list);
// Shell's sort with halving gaps on CompareEntries (kept for tests and ties).
void SortEntriesByGaps(SongFileList& list);

}  // namespace tt
