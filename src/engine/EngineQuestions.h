#pragma once

#include <string>

#include "engine/OverwriteAnswer.h"
#include "title/TitleErrorReporter.h"

namespace tt {

// What the engine shows the user and asks of them: read errors (from the title
// reader), warnings, the overwrite question, the edit-name dialog and the
// destination folder picker.
class EngineQuestions : public TitleErrorReporter {
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
};

}  // namespace tt
