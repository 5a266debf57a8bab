#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileHandle.h"
#include "platform/FileSystem.h"

namespace tt {

// The journal of one rename or copy: a text file of its own, one record a line,
// written before every file step and flushed to the medium before the step is
// taken, so that an operation cut short (a signal, a pulled stick, a power cut)
// can be finished afterwards, and a finished one taken back. The format is
// described in docs/journal.md:
//
//   tunetitler-journal<TAB>1
//   begin<TAB>rename|copy<TAB>FOLDER<TAB>DESTINATION<TAB>PID<TAB>UNIX-TIME
//   group                       the song before is complete; the next one's
//                               steps (it and its companions) follow
//   do<TAB>N<TAB>move|copy<TAB>FROM<TAB>TO<TAB>0|1   step N is about to happen (1: TO
//                               is replaced); flushed before the step
//   do<TAB>N<TAB>trash<TAB>PATH<TAB><TAB>0           PATH, about to be replaced, goes
//                               to the trash first
//   did<TAB>N<TAB>SIZE<TAB>TIME<TAB>DEVICE<TAB>INODE[<TAB>TRASHED]   step N is done;
//                               the file now at TO (for trash: its path there)
//   gone<TAB>N                  no trash took PATH: it is replaced for good
//   undo<TAB>N / back<TAB>N     step N is being / has been taken back
//   end                         the operation ended
//   undone                      the operation was taken back
//
// Paths are written with backslash, tab, line feed and other control bytes
// escaped (\\, \t, \n, \xNN). A last line without its line feed (torn by a crash)
// and lines not understood are ignored on reading.
struct JournalStep {
    enum class Kind { move, copy, trash };
    int number = 0;
    int group = 0;
    Kind kind = Kind::move;
    std::string from;  // for trash: the file replaced
    std::string to;
    bool replace = false;
    bool done = false;
    bool gone = false;  // trash: no trash took the file
    bool undoing = false;
    bool back = false;
    // The file the step left (at `to`, or in the trash); valid when done.
    std::uint64_t size = 0;
    std::uint64_t time = 0;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::string trashed;
};

struct JournalOperation {
    std::string journalPath;
    bool copy = false;
    std::string folder;
    std::string destination;
    long pid = 0;
    long long startTime = 0;
    std::vector<JournalStep> steps;
    bool ended = false;
    bool undone = false;
    int lastGroup = 0;  // the group of the song handled last (it may have no steps)

    // Copies and moves done and not taken back: what an undo would take back.
    int FilesToUndo() const;
};

// Parses a journal's text (see above).
std::optional<JournalOperation> ParseJournal(const std::string& text);

// The folder of the journals: $XDG_STATE_HOME/Quillmoor/Tunetitler, by default
// ~/.local/state/Quillmoor/Tunetitler.
std::string DefaultJournalFolder();

// Every journal in `journalFolder`, oldest first.
std::vector<JournalOperation> ReadJournals(FileSystem& fs, const std::string& journalFolder);

// The journal of one running operation (or of an undo or recovery appending to an
// older one). Every write goes through the file system, so a test can fail it;
// a failing write throws FileError.
class OperationJournal {
  public:
    // How many journals are kept; older ones that ended are removed.
    static constexpr int kKept = 20;

    OperationJournal(FileSystem& fs, std::string journalFolder)
        : m_fs(fs), m_journalFolder(std::move(journalFolder)) {}
    OperationJournal(const OperationJournal&) = delete;
    OperationJournal& operator=(const OperationJournal&) = delete;
    ~OperationJournal();

    // Starts the journal of a new operation on `folder` (its real path is kept)
    // copying into, or renaming in, `destination`.
    void Begin(bool copy, const std::string& folder, const std::string& destination);
    // Opens an existing journal to append to it (undo, recovery).
    void Reopen(const std::string& journalPath);
    bool active() const { return m_file.isOpen(); }
    const std::string& path() const { return m_path; }

    // The song before (it and its companions) is complete; the steps that follow
    // belong to the next one. Not flushed on its own: after a kill the system
    // still writes it, and a power cut that loses it only makes the recovery take
    // back one complete song.
    void NextGroup();
    // Records step `kind` about to happen and flushes it; returns its number.
    int StepStarting(JournalStep::Kind kind, const std::string& from, const std::string& to,
                     bool replace);
    // Step `number` is done: the file now at `at` is recorded.
    void StepDone(int number, const std::string& at);
    // A trash step is done: the file is at `trashed` in the trash.
    void TrashDone(int number, const std::string& trashed);
    // No trash took the file of step `number`: it is replaced for good.
    void TrashGone(int number);
    void Undoing(int number);
    void Back(int number);
    // Ends the operation (`undone`: an undo ended) and closes the journal; then
    // drops the oldest ended journals beyond kKept.
    void End(bool undone = false);
    // Closes without ending (the journal stays open for recovery).
    void Close();

  private:
    void Append(const std::string& line, bool sync);
    void DropOldJournals();

    FileSystem& m_fs;
    std::string m_journalFolder;
    std::string m_path;
    FileHandle m_file;
    std::string m_base;  // relative paths are taken from here
    int m_nextStep = 1;
    int m_stepsInGroup = 0;
};

// Text escaping of the journal's fields.
std::string EscapeJournalField(const std::string& field);
std::string UnescapeJournalField(const std::string& field);

}  // namespace tt
