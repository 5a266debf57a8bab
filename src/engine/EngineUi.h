#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "title/TitleErrorReporter.h"

namespace tt {

enum class OverwriteAnswer { yes, no, cancel };

// Why a song or companion that was to go stays where it is.
enum class LeftReason {
    declined,      // the overwrite question was answered No (in this run, once for all)
    cancelled,     // the run was cancelled (Cancel, end of input, a stop) before it
    held,          // its new name is held by a song of the list, or by such a song's companion
    notPlainFile,  // it, or what is at its new name, is a folder or other file that is no plain
                   // file
    changed,       // its file changed, or was replaced by this run, since the list was read
    taken,         // a file this run put in place holds its new name
    failed,        // too large, read short, or an error ended the run before it
};

// Long work the engine reports progress of.
enum class EngineWork {
    scan,    // reading the song titles of the folder ("Reading song titles…")
    rename,  // renaming the selected files ("Renaming files…")
    copy,    // copying the selected files ("Copying files…")
};

// Everything the engine needs from the user and from the list view. The main
// window implements it; so do the command-line tool and the tests.
class EngineUi : public TitleErrorReporter {
  public:
    // A message box with the exclamation icon and OK.
    virtual void ShowWarning(const std::string& text) = 0;
    // The overwrite question: question icon, Yes/No/Cancel.
    virtual OverwriteAnswer AskOverwrite(const std::string& text) = 0;
    // The edit-name dialog for the file named `oldName`, proposing `name` + `ext`;
    // true when confirmed with OK (name and ext then hold the result, a plain file
    // name as CheckEditedName accepts it).
    virtual bool EditName(const std::string& oldName, std::string& name, std::string& ext) = 0;
    // The destination folder picker; true when confirmed (chosen then holds the folder).
    virtual bool PickDestinationFolder(const std::string& startFolder, std::string& chosen) = 0;
    // A string from the settings store, section "Settings".
    virtual std::string ReadSettingString(const std::string& key,
                                          const std::string& defaultValue) = 0;

    // The list view: row i shows entry i.
    virtual void ClearRows() = 0;
    virtual void AppendRows(std::int32_t count) = 0;
    // Indices of the selected rows, ascending.
    virtual std::vector<std::int32_t> SelectedRows() = 0;
    // Clears one row's selected and focused state.
    virtual void DeselectRow(std::int32_t row) = 0;
    virtual void RedrawList() = 0;

    virtual void UpdateButtonStates() = 0;
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;

    // A file (song or companion) now stands at `to`: moved there, or copied there
    // from `from`. For a log of what was done; a window needs nothing of it.
    virtual void FileTransferred(const std::string& /*from*/, const std::string& /*to*/) {}
    // --- progress and stop (all optional: the defaults show nothing, never stop) ---
    //
    // The scan and the rename or copy operation run in the caller's thread, one
    // file after another. Around that work the engine calls, in this order:
    //   WorkStarted(kind, total)     once, before the first file; total may be 0
    //   StopRequested()              before each file, at a file boundary
    //   WorkProgress(done, total)    after each file (done = 1 .. total; in a rename,
    //                                a file that waits for another song's name counts
    //                                once, when it is settled in a later round)
    //   WorkEnded()                  once, also when stopped or ended by an error
    // A file means one song file: for a rename or copy that includes its companion
    // files, so a stop never falls between a song and its companions. Questions
    // and messages (overwrite, edit name, warnings) may come between these calls.
    //
    // A window shows a progress window when the work runs (or is estimated to run)
    // longer than a second, and processes its events inside WorkProgress and
    // StopRequested, so the bar is repainted and Cancel is seen between files.
    // When StopRequested returns true the engine stops before the next file:
    // - scan: the list is left empty, as for a folder without song files (no
    //   message is shown), and m_strFolder stays as it is, so the next scan reads
    //   the folder again;
    // - rename or copy: it ends as Cancel in the edit dialog ends it: the files
    //   handled stay handled with their rows updated and deselected, the rest stay
    //   untouched and selected.
    virtual void WorkStarted(EngineWork /*kind*/, std::int32_t /*total*/) {}
    virtual void WorkProgress(std::int32_t /*done*/, std::int32_t /*total*/) {}
    virtual bool StopRequested() { return false; }
    virtual void WorkEnded() {}

    // A selected titled song stays where it is, for `reason`; its row stays selected.
    // For a front end that reports how a run ended; a window shows the rows.
    virtual void SongLeft(std::int32_t /*row*/, LeftReason /*reason*/) {}
    // A companion file that was to go along with its song stays where it is: its
    // new name was taken by another file of this operation, by a listed song or its
    // companion, or by a folder or other file that is no plain file, the companion
    // itself is no plain file, or the overwrite question was answered No or Cancel.
    // For a log; a window stays silent.
    virtual void CompanionLeft(const std::string& /*path*/, LeftReason /*reason*/) {}
};

// Brackets a piece of long work with WorkStarted and WorkEnded.
class WorkInProgress {
  public:
    WorkInProgress(EngineUi& ui, EngineWork kind, std::int32_t total) : m_ui(ui) {
        m_ui.WorkStarted(kind, total);
    }
    WorkInProgress(const WorkInProgress&) = delete;
    WorkInProgress& operator=(const WorkInProgress&) = delete;
    ~WorkInProgress() { m_ui.WorkEnded(); }

  private:
    EngineUi& m_ui;
};

// Shows the wait cursor for as long as it lives.
class WaitCursor {
  public:
    explicit WaitCursor(EngineUi& ui) : m_ui(ui) { m_ui.BeginWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    ~WaitCursor() { m_ui.EndWaitCursor(); }

  private:
    EngineUi& m_ui;
};

}  // namespace tt
