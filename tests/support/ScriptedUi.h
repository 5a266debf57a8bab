#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/EngineUi.h"

namespace tt::test {

// An EngineUi for tests: records every message and call, answers questions from
// queues the test fills, and keeps a simple model of the list view's rows.
class ScriptedUi : public EngineUi {
  public:
    // What was shown, in order.
    std::vector<std::string> readErrors;
    std::vector<std::string> warnings;
    std::vector<std::string> questions;
    std::vector<std::string> editedNames;     // name+ext shown in the edit dialog
    std::vector<std::string> editedOldNames;  // the old names it was shown for
    std::vector<std::string> pickerStarts;
    std::vector<std::string> companionsLeft;
    std::vector<LeftReason> companionReasons;                    // one per companionsLeft
    std::vector<std::pair<std::int32_t, LeftReason>> songsLeft;  // (row, reason)

    // Answers, taken from the front; an empty queue answers cancel / not confirmed.
    std::deque<OverwriteAnswer> overwriteAnswers;
    std::deque<std::optional<std::string>> editAnswers;  // nullopt = cancel; else new base name
    std::deque<std::string> editExtAnswers;  // new extensions, one per confirmed edit while any
    std::deque<std::optional<std::string>> pickerAnswers;  // nullopt = cancel
    std::string destinationSetting;
    // Run while the edit dialog or the overwrite question waits for its answer.
    std::function<void()> whileAsked;

    // List view model.
    std::int32_t rowCount = 0;
    std::set<std::int32_t> selected;
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

    void SelectAll() {
        for (std::int32_t i = 0; i < rowCount; ++i)
            selected.insert(i);
    }

    void ReportReadError(const std::string& text) override { readErrors.push_back(text); }
    void ShowWarning(const std::string& text) override { warnings.push_back(text); }
    OverwriteAnswer AskOverwrite(const std::string& text) override;
    bool EditName(const std::string& oldName, std::string& name, std::string& ext) override;
    bool PickDestinationFolder(const std::string& startFolder, std::string& chosen) override;
    std::string ReadSettingString(const std::string& key, const std::string& defaultValue) override;
    void ClearRows() override {
        rowCount = 0;
        selected.clear();
        ++clears;
    }
    void AppendRows(std::int32_t count) override { rowCount += count; }
    std::vector<std::int32_t> SelectedRows() override { return {selected.begin(), selected.end()}; }
    void DeselectRow(std::int32_t row) override { selected.erase(row); }
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
