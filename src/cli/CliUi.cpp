#include "cli/CliUi.h"

#include <istream>
#include <ostream>

namespace tt::cli {

void CliUi::ReportReadError(const std::string& text) {
    m_err << text << '\n';
    errorShown = true;
}

void CliUi::ShowWarning(const std::string& text) {
    m_err << text << '\n';
    ++warningCount;
}

OverwriteAnswer CliUi::AskOverwrite(const std::string& text) {
    if (presetOverwrite)
        return *presetOverwrite;
    m_err << text << " [y]es / [n]o / [c]ancel: " << std::flush;
    std::string answer;
    while (std::getline(m_in, answer)) {
        if (answer == "y" || answer == "Y" || answer == "yes")
            return OverwriteAnswer::yes;
        if (answer == "n" || answer == "N" || answer == "no")
            return OverwriteAnswer::no;
        if (answer == "c" || answer == "C" || answer == "cancel")
            return OverwriteAnswer::cancel;
        m_err << "Please answer y, n or c: " << std::flush;
    }
    m_err << '\n';
    return OverwriteAnswer::cancel;  // no answer at all: touch nothing
}

bool CliUi::EditName(std::string& name, std::string& ext) {
    m_err << "New name for '" << name << ext << "' (without " << ext
          << "; empty keeps it, end of input cancels): " << std::flush;
    std::string answer;
    if (!std::getline(m_in, answer)) {
        m_err << '\n';
        return false;
    }
    if (!answer.empty())
        name = answer;
    return true;
}

bool CliUi::PickDestinationFolder(const std::string&, std::string& chosen) {
    if (destination.empty())
        return false;
    chosen = destination;
    return true;
}

std::string CliUi::ReadSettingString(const std::string&, const std::string& defaultValue) {
    return defaultValue;
}

void CliUi::ClearRows() {
    rowCount = 0;
    selected.clear();
}

std::vector<std::int32_t> CliUi::SelectedRows() {
    return {selected.begin(), selected.end()};
}

}  // namespace tt::cli
