#pragma once

#include <cstdint>

namespace tt {

// Long work the engine reports progress of.
enum class EngineWork {
    scan,    // reading the song titles of the folder ("Reading song titles…")
    rename,  // renaming the selected files ("Renaming files…")
    copy,    // copying the selected files ("Copying files…")
};

// Progress of long work and the user's stop (all optional: the defaults show
// nothing and never stop).
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
//   message is shown), and the listed folder stays as it is, so the next scan
//   reads the folder again;
// - rename or copy: it ends as Cancel in the edit dialog ends it: the files
//   handled stay handled with their rows updated and deselected, the rest stay
//   untouched and selected.
class ProgressAndStop {
  public:
    virtual ~ProgressAndStop() = default;
    virtual void WorkStarted(EngineWork /*kind*/, std::int32_t /*total*/) {}
    virtual void WorkProgress(std::int32_t /*done*/, std::int32_t /*total*/) {}
    virtual bool StopRequested() { return false; }
    virtual void WorkEnded() {}
};

// Brackets a piece of long work with WorkStarted and WorkEnded.
class WorkInProgress {
  public:
    WorkInProgress(ProgressAndStop& progress, EngineWork kind, std::int32_t total)
        : m_progress(progress) {
        m_progress.WorkStarted(kind, total);
    }
    WorkInProgress(const WorkInProgress&) = delete;
    WorkInProgress& operator=(const WorkInProgress&) = delete;
    ~WorkInProgress() { m_progress.WorkEnded(); }

  private:
    ProgressAndStop& m_progress;
};

}  // namespace tt
