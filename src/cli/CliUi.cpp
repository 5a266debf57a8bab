#include "cli/CliUi.h"

#include <algorithm>
#include <istream>
#include <ostream>

#include "cli/NameEscape.h"
#include "cli/StopSignals.h"
#include "engine/EditedName.h"
#include "platform/PathText.h"

namespace tt::cli {

namespace {

// Reads one typed line; a CR before the line feed (a line typed or piped from a
// system that ends lines with CR LF) is no part of it.
bool ReadLine(std::istream& in, std::string& line) {
    if (!std::getline(in, line))
        return false;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

}  // namespace

void CliUi::WorkStarted(EngineWork, std::int32_t) {
    m_workStart = Clock::now();
    m_lastDrawn = m_workStart;
}

void CliUi::WorkProgress(std::int32_t done, std::int32_t total) {
    if (!progressToTerminal)
        return;
    // Drawn ten times a second at most: a terminal is slower than a scan.
    const auto now = Clock::now();
    if (now - m_workStart < std::chrono::seconds(1) ||
        (now - m_lastDrawn < std::chrono::milliseconds(100) && done != total))
        return;
    m_lastDrawn = now;
    const std::string line = std::to_string(done) + "/" + std::to_string(total);
    m_err << '\r' << line;
    if (line.size() < m_progressWidth)
        m_err << std::string(m_progressWidth - line.size(), ' ');
    m_err << std::flush;
    m_progressWidth = std::max(m_progressWidth, line.size());
}

void CliUi::FileTransferred(const std::string& from, const std::string& to) {
    transfers.emplace_back(from, to);
    if (!out)
        return;
    ClearProgress();
    *out << PrintableName(NameOf(from), outIsTerminal) << " -> "
         << PrintableName(NameOf(to), outIsTerminal) << '\n'
         << std::flush;
}

bool CliUi::StopRequested() {
    return StopSignal() != 0;
}

void CliUi::ClearProgress() {
    if (m_progressWidth == 0)
        return;
    m_err << '\r' << std::string(m_progressWidth, ' ') << '\r' << std::flush;
    m_progressWidth = 0;
}

std::string CliUi::PathInText(const std::string& path) const {
    return PrintableName(path, errIsTerminal);
}

void CliUi::ReportReadError(const std::string& text) {
    ClearProgress();
    m_err << text << '\n';
    errorShown = true;
}

void CliUi::ShowWarning(const std::string& text) {
    ClearProgress();
    m_err << text << '\n';
    ++warningCount;
}

OverwriteAnswer CliUi::AskOverwrite(const std::string& text) {
    if (presetOverwrite)
        return *presetOverwrite;
    ClearProgress();
    m_err << text << " [y]es / [n]o / [c]ancel: " << std::flush;
    std::string answer;
    while (ReadLine(m_in, answer)) {
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

bool CliUi::EditName(const std::string& oldName, std::string& name, std::string& ext) {
    ClearProgress();
    const std::string prompt = "New name for '" + PrintableName(oldName, true) + "'";
    const std::string without = " without " + PrintableName(ext, true);
    m_err << prompt << " (proposed: " << PrintableName(name + ext, true) << "; type it" << without
          << ", empty keeps the proposal, end of input cancels): " << std::flush;
    std::string answer;
    while (ReadLine(m_in, answer)) {
        if (answer.empty())
            return true;
        const EditedNameFault fault = CheckEditedName(answer, ext);
        if (fault == EditedNameFault::none) {
            name = answer;
            return true;
        }
        // Refused: the reason, then the question again.
        m_err << InvalidFileNameText() << ' ' << EditedNameFaultReason(fault) << '\n'
              << prompt << " (" << without.substr(1) << "): " << std::flush;
    }
    m_err << '\n';
    return false;
}

bool CliUi::PickDestinationFolder(const std::string&, std::string& chosen) {
    if (destination.empty())
        return false;
    chosen = destination;
    return true;
}

}  // namespace tt::cli
