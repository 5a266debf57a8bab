#pragma once

#include <string>

namespace tt {

// Receives the text of an input/output error met while reading a title, to show
// it to the user at once (a plain box with OK). The reader then goes on.
class TitleErrorReporter {
  public:
    virtual ~TitleErrorReporter() = default;
    virtual void ReportReadError(const std::string& text) = 0;
    // A file's path as it is to stand in a message text: as it is for a window; a
    // terminal escapes its control bytes, as it does in every other line it prints.
    virtual std::string PathInText(const std::string& path) const { return path; }
};

}  // namespace tt
