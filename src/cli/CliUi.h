#pragma once

#include <chrono>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/EngineFrontEnd.h"
#include "engine/RowSelection.h"

namespace tt::cli {

// The engine's user interface on a terminal: messages go to standard error,
// questions are read from standard input, and the rows are a set of selected
// row numbers that the command fills before it runs an operation.
class CliUi : public EngineQuestions,
              public RowSelection,
              public ProgressAndStop,
              public OperationReport {
  public:
    CliUi(std::istream& in, std::ostream& err) : m_in(in), m_err(err) {}

    // What the engine works with: everything but a view and a settings store.
    EngineFrontEnd FrontEnd() {
        return {.questions = *this, .rows = *this, .progress = this, .report = this};
    }

    // Answers to the overwrite question given on the command line; empty: ask.
    std::optional<OverwriteAnswer> presetOverwrite;
    // Destination of a copy (the picker's answer).
    std::string destination;
    // Set once any message reported an error.
    bool errorShown = false;
    // Warnings shown so far (file errors, changed sources, files too large ...).
    int warningCount = 0;

    // Standard error is a terminal: paths in messages and questions are escaped
    // there as the tool's own lines escape names (PrintableName).
    bool errIsTerminal = false;
    std::string PathInText(const std::string& path) const override;

    void ReportReadError(const std::string& text) override;
    void ShowWarning(const std::string& text) override;
    OverwriteAnswer AskOverwrite(const std::string& text) override;
    bool EditName(const std::string& oldName, std::string& name, std::string& ext) override;
    bool PickDestinationFolder(const std::string& startFolder, std::string& chosen) override;
    // Prints `old -> new` on `out` as soon as a file is done, when set.
    void FileTransferred(const std::string& from, const std::string& to) override;
    std::ostream* out = nullptr;
    bool outIsTerminal = false;
    // A stop signal (SIGINT, SIGTERM, SIGHUP) stops the run at the next file.
    bool StopRequested() override;

    // Progress ("123/4567", rewritten in place on standard error) is shown only
    // when standard error is a terminal and the work runs longer than a second.
    bool progressToTerminal = false;
    void WorkStarted(EngineWork kind, std::int32_t total) override;
    void WorkProgress(std::int32_t done, std::int32_t total) override;
    void WorkEnded() override { ClearProgress(); }

    void CompanionLeft(const std::string& path, LeftReason reason) override {
        companionsLeft.push_back(path);
        cancelled = cancelled || reason == LeftReason::cancelled;
    }
    void SongLeft(std::int32_t row, LeftReason reason) override {
        rowsLeft.insert(row);
        cancelled = cancelled || reason == LeftReason::cancelled;
        // Only the user's own No leaves a song as wanted.
        songLeftUnwanted = songLeftUnwanted || reason != LeftReason::declined;
    }

    // Rows of the songs that stayed where they were.
    std::set<std::int32_t> rowsLeft;
    // Companions that stayed where they were, in the order met.
    std::vector<std::string> companionsLeft;
    // The run was cancelled (Cancel, end of input) while files remained.
    bool cancelled = false;
    // A song stayed for another reason than a No to the overwrite question.
    bool songLeftUnwanted = false;
    // Files renamed or copied (source, target), in the order they were done.
    std::vector<std::pair<std::string, std::string>> transfers;

  private:
    using Clock = std::chrono::steady_clock;
    // Removes the progress line, so a message or question starts on a clean line.
    void ClearProgress();

    std::istream& m_in;
    std::ostream& m_err;
    Clock::time_point m_workStart;
    Clock::time_point m_lastDrawn;
    std::size_t m_progressWidth = 0;  // characters of the progress line shown, 0: none
};

}  // namespace tt::cli
