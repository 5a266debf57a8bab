#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/EngineFrontEnd.h"
#include "engine/RowSelection.h"

namespace tt::test {

// Every collaborator of the engine for tests: records every message and call,
// answers questions from queues the test fills, and keeps a simple model of the
// list view's rows.
class ScriptedUi : public EngineQuestions,
                   public RowSelection,
                   public ProgressAndStop,
                   public ListViewHooks,
                   public OperationReport,
                   public SettingSource {
  public:
    EngineFrontEnd FrontEnd() { return {*this, *this, this, this, this, this}; }

    // What was shown, in order.
    std::vector<std::string> readErrors;
    std::vector<std::string> warnings;
    std::vector<std::string> questions;
    std::vector<std::string> editedNames;     // name+ext shown in the edit dialog
    std::vector<std::string> editedOldNames;  // the old names it was shown for
    std::vector<std::string> pickerStarts;
    std::vector<std::string> companionsLeft;
    std::vector<std::pair<std::int32_t, LeftReason>> songsLeft;  // (row, reason)

    // Answers, taken from the front; an empty queue answers cancel / not confirmed.
    std::deque<OverwriteAnswer> overwriteAnswers;
    std::deque<std::optional<std::string>> editAnswers;  // nullopt = cancel; else new base name
    std::deque<std::string> editExtAnswers;  // new extensions, one per confirmed edit while any
    std::deque<std::optional<std::string>> pickerAnswers;  // nullopt = cancel
    std::string destinationSetting;
    // Run while the edit dialog or the overwrite question waits for its answer.
    std::function<void()> whileAsked;

    // List view model (the rows and selection come with RowSelection).
    int redraws = 0;
    int buttonUpdates = 0;
    int waitDepth = 0;
    int clears = 0;

    // Progress of the last work, (done, total) after each file; asks to stop once
    // stopAfterFiles files are done (-1: never).
    std::vector<std::pair<std::int32_t, std::int32_t>> progress;
    std::int32_t stopAfterFiles = -1;

    void WorkStarted(EngineWork, std::int32_t) override { progress.clear(); }
    void WorkProgress(std::int32_t done, std::int32_t total) override {
        progress.emplace_back(done, total);
    }
    bool StopRequested() override {
        return stopAfterFiles >= 0 &&
               (progress.empty() ? 0 : progress.back().first) >= stopAfterFiles;
    }

    void ReportReadError(const std::string& text) override { readErrors.push_back(text); }
    void ShowWarning(const std::string& text) override { warnings.push_back(text); }
    OverwriteAnswer AskOverwrite(const std::string& text) override;
    bool EditName(const std::string& oldName, std::string& name, std::string& ext) override;
    bool PickDestinationFolder(const std::string& startFolder, std::string& chosen) override;
    std::string ReadSettingString(const std::string& key, const std::string& defaultValue) override;
    void ClearRows() override {
        RowSelection::ClearRows();
        ++clears;
    }
    void RedrawList() override { ++redraws; }
    void UpdateButtonStates() override { ++buttonUpdates; }
    void CompanionLeft(const std::string& path, LeftReason) override {
        companionsLeft.push_back(path);
    }
    void SongLeft(std::int32_t row, LeftReason reason) override {
        songsLeft.emplace_back(row, reason);
    }
    void BeginWaitCursor() override { ++waitDepth; }
    void EndWaitCursor() override { --waitDepth; }
};

}  // namespace tt::test
