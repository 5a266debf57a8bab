#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "title/TitleErrorReporter.h"

namespace tt {

enum class OverwriteAnswer { yes, no, cancel };

// Everything the engine needs from the user and from the list view. The main
// window implements it; so do the command-line tool and the tests.
class EngineUi : public TitleErrorReporter {
  public:
    // A message box with the exclamation icon and OK.
    virtual void ShowWarning(const std::string& text) = 0;
    // The overwrite question: question icon, Yes/No/Cancel.
    virtual OverwriteAnswer AskOverwrite(const std::string& text) = 0;
    // The edit-name dialog; true when confirmed with OK (name and ext then hold the result).
    virtual bool EditName(std::string& name, std::string& ext) = 0;
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
    // A companion file that was to go along with its song stays where it is: its
    // new name was taken by another file of this operation, or the overwrite
    // question was answered No or Cancel. For a log; a window stays silent.
    virtual void CompanionLeft(const std::string& /*path*/) {}
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
