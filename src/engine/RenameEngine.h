#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "engine/EngineFrontEnd.h"
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
// their companions. It talks to the user and the rows only through the front end's
// collaborators it is given.
class RenameEngine {
  public:
    RenameEngine(FileSystem& fs, const EngineFrontEnd& frontEnd);

    // --- working state: the window's data exchange (or the command line) sets it
    // before each command ---
    void SetFolder(std::string folder) { m_strFolder = std::move(folder); }
    void SetFileTypes(bool mid, bool sty, bool pat) {
        m_bMidFiles = mid;
        m_bStyFiles = sty;
        m_bPatFiles = pat;
    }
    void SetEditNames(bool editNames) { m_bEditNames = editNames; }
    void SetCorrespondingFiles(bool correspondingFiles) {
        m_bCorrespondingFiles = correspondingFiles;
    }
    const std::string& folder() const { return m_strFolder; }
    bool midFiles() const { return m_bMidFiles; }
    bool styFiles() const { return m_bStyFiles; }
    bool patFiles() const { return m_bPatFiles; }
    bool editNames() const { return m_bEditNames; }
    bool correspondingFiles() const { return m_bCorrespondingFiles; }
    const std::string& destFolder() const { return m_strDestFolder; }
    bool firstDestPick() const { return m_bFirstDestPick; }
    const SongFileList& songFiles() const { return m_songFiles; }

    // The journal every rename and copy keeps, and the trash a file replaced after
    // a Yes goes to first; both optional (none: no journal, a replaced file is gone).
    void SetJournal(OperationJournal* journal, Trash* trash) {
        m_journal = journal;
        m_trash = trash;
    }

    // --- folder scan and names ---
    // Rebuilds the list from the folder: search, titles, sort, unique names, rows.
    // It also finds out whether the folder's file system ignores letter case: new
    // names are then kept apart ignoring case too.
    void RefreshFileList();
    // Gives repeated new names a numbered suffix, over the whole list. A name the user
    // confirmed in the edit dialog is the name of its file and stays: a namesake
    // gets the number instead.
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
    // listed song is never replaced, nor a file that a listed song claims as its
    // companion: in a rename, an entry whose new name, or one of whose companions'
    // new names, is held by a selected song still to be handled waits until the pass
    // over the selection has ended, and is taken again (in list order, round after
    // round while a round settles any); one whose name stays held is left as it is,
    // its row selected, and a companion whose name stays held stays behind. Every
    // song left is told to the UI with its reason (SongLeft).
    void RenameSelectedFiles(bool bCopy);
    // Asks the overwrite question once per operation. On proceed the caller
    // replaces the target in one step once the new content is complete.
    OverwriteDecision ConfirmOverwrite(const std::string& target);
    // Copies source to target whole; `replace` allows replacing an existing
    // target. False when the source is too large (with a warning) or read short.
    bool CopyWholeFile(const std::string& source, const std::string& target, bool replace);
    // Takes the companions of a song (same base name, other extension) along. `self`
    // is the song's entry (-1: none), whose own companions hold nothing against it.
    void RenameCorrespondingFiles(const std::string& oldPath, const std::string& newPath,
                                  bool bCopy, std::int32_t self = -1);

    FileSystem& fileSystem() { return m_fs; }

  private:
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
    // Reads the entry's file again (after a move or copy): its title and the new
    // name from it, size and time, reporting a read error. False when no file is at
    // its path now; the entry then has no title and keeps its size and time.
    bool ReadEntryFile(SongFileEntry& entry);

    // A companion of the song at oldPath, with the name it is to get.
    struct CompanionMove {
        std::string from;
        std::string to;
        bool plainFile = true;  // false for a device, pipe or socket, which stays
    };
    // The companions found for a song moving or copied from oldPath to newPath.
    std::vector<CompanionMove> FindCompanions(const std::string& oldPath,
                                              const std::string& newPath);
    // True when a companion of the song would take a name that another listed song,
    // selected and not yet settled, holds as its own companion. The song then waits
    // with its companions, so a song and its companions are never split by a wait.
    bool CompanionsMustWait(const std::string& oldPath, const std::string& newPath,
                            std::int32_t self);
    // The listed song (other than `self`) that claims the existing file at `target` as
    // its companion, by the rule that gives a name to the song claiming it most
    // closely; an unsettled one before a settled one.
    std::optional<std::int32_t> ListedCompanionOwner(const std::string& target, std::int32_t self);

    void ResetOperationState();
    // Entry `index` proposes `name`, confirmed in the edit dialog, from now on.
    void LetNameStand(std::int32_t index, const std::string& name);
    // False when the entry's file is missing, a folder, or differs in size or time.
    bool EntryMatchesDisk(const SongFileEntry& entry);
    bool SelectedSourcesChanged(const std::vector<std::int32_t>& rows);
    // Passes the entry over (SongLeft) when it no longer stands for its file: the
    // file differs from what was recorded, or this operation put another file on its
    // path. A change from outside is noted for ReloadChangedSources.
    bool PassedOverAsReplaced(std::int32_t index);
    // Warns that the source files changed and reads the list again; a listed folder
    // that is gone is dropped, leaving the list empty.
    void ReloadChangedSources();
    // For a copy to a folder other than the listed one: the names the selected entries
    // take there when that folder ignores letter case and the listed one does not.
    void PrepareDestinationNames(const std::vector<std::int32_t>& rows,
                                 const std::string& destFolder);
    // The name the entry's copy takes in `destFolder`: its new name, or, where that
    // folder ignores case, the name kept apart from the other copies' names.
    std::string NameOnDestination(std::int32_t index, const std::string& destFolder);
    // The destination folder; empty optional when the picker was cancelled.
    std::optional<std::string> ChooseDestination(bool bCopy);
    // Works through the selected rows, then the rows that waited, round after round.
    void ProcessRows(const std::vector<std::int32_t>& rows, bool bCopy,
                     const std::string& destFolder);
    // `name` is the name chosen for the entry (offered for editing once and kept
    // for the later tries of an entry that waits); empty optional before the first.
    EntryStep ProcessEntry(std::int32_t index, bool bCopy, const std::string& destFolder,
                           std::optional<std::string>& name);
    // `nameStands`: the name was confirmed in the edit dialog, so the entry proposes it
    // from now on instead of its title's name.
    void RenameEntry(std::int32_t index, const std::string& name, const std::string& target,
                     TargetAction action, bool nameStands);
    // Lists the copy at `target` (a new entry, or the listed one it replaced); its
    // index, unless nothing is there.
    std::optional<std::int32_t> UpdateListedCopy(const std::string& target, const std::string& name,
                                                 bool nameStands);
    // `mayWait`: a song being renamed may wait for a listed song at its target. `self`
    // is the entry being handled (-1: none). On skip, `why` tells the reason.
    TargetAction ResolveTarget(const std::string& source, const std::string& target,
                               LeftReason& why, bool mayWait = false, std::int32_t self = -1);
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

    // The stored "DestinationFolder"; empty without a settings store.
    std::string StoredDestination();

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
    EngineQuestions& m_questions;
    SongRows& m_rows;
    ProgressAndStop& m_progress;  // a silent one when the front end shows none
    ListViewHooks* m_view;        // null: no view to refresh
    OperationReport& m_report;    // a silent one when the front end logs nothing
    SettingSource* m_settings;    // null: the settings' defaults
    OperationJournal* m_journal = nullptr;
    Trash* m_trash = nullptr;
    UniqueNames m_uniqueNames;

    // --- operation state, reset at the start of each rename or copy ---
    bool m_bOverwriteAll = false;
    bool m_bAskOverwrite = true;
    bool m_bOverwriteCancelled = false;  // the one question was answered Cancel
    bool m_bSourcesChanged = false;      // a song was passed over: its file changed meanwhile
    std::unordered_set<std::string> m_doneBases;
    OperationFiles m_operationFiles;
    ListedNames m_listedNames;
    // Per entry index: a selected titled entry this operation has not yet settled.
    std::vector<bool> m_unsettled;
    // Entries proposing a name confirmed in the edit dialog, until the next scan.
    std::vector<std::int32_t> m_standingNames;
    // Per entry index, for a copy to a case-blind folder: the name kept apart from
    // the other copies' names ignoring case (empty vector: names as proposed).
    std::vector<std::string> m_destinationNames;
    // Whether the copy's destination ignores case, once a name there could tell.
    std::optional<bool> m_destIgnoresCase;
};

// Scan order: titled entries first, then by old name ignoring case.
int CompareEntries(const SongFileEntry& a, const SongFileEntry& b);
// Sorts the list as Shell's sort with halving gaps on CompareEntries does (it is not
// stable): by a quicker sort where no two entries tie, else by Shell's sort itself.
void SortEntries(SongFileList& list);
// Shell's sort with halving gaps on CompareEntries (kept for tests and ties).
void SortEntriesByGaps(SongFileList& list);

}  // namespace tt
