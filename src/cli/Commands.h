#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tt::cli {

// Each command takes its arguments (after the command word) and returns the exit
// status. Usage mistakes are thrown as UsageError.
struct CommandStreams {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    // Whether standard output and standard error are terminals (names printed to
    // one are escaped, see PrintableName).
    bool outIsTerminal = false;
    bool errIsTerminal = false;
};

int RunList(const std::vector<std::string>& args, CommandStreams io);
int RunExport(const std::vector<std::string>& args, CommandStreams io);
int RunRename(const std::vector<std::string>& args, CommandStreams io);
int RunCopy(const std::vector<std::string>& args, CommandStreams io);
int RunUndo(const std::vector<std::string>& args, CommandStreams io);

}  // namespace tt::cli
