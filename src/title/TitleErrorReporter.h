#pragma once

#include <string>

namespace tt {

// Receives the text of an input/output error met while reading a title, to show
// it to the user at once (a plain box with OK). The reader then goes on.
class TitleErrorReporter {
  public:
    virtual ~TitleErrorReporter() = default;
    virtual void ReportReadError(const std::string& text) = 0;
};

}  // namespace tt
