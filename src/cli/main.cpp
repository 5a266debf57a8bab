// tunetitler-cli: the core's command-line tool.
#include <unistd.h>

#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/FolderArgument.h"
#include "cli/NameEscape.h"
#include "cli/Options.h"
#include "cli/StopSignals.h"
#include "platform/FileError.h"
#include "text/ControlBytes.h"
#include "text/UiLanguage.h"

int main(int argc, char** argv) {
    using namespace tt::cli;
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> all(argv + 1, argv + argc);
    // A usage error is one line: what is wrong, and where to read more.
    const auto usageError = [](const std::string& what) {
        std::cerr << "tunetitler-cli: " << tt::EscapeControlBytes(what)
                  << " (try 'tunetitler-cli --help')\n";
        return 2;
    };
    // What --help and --version print; a write error (a full disk, a closed pipe)
    // must not pass for success.
    const auto print = [](const char* text) {
        if (std::cout << text << std::flush)
            return 0;
        std::cerr << "tunetitler-cli: cannot write to standard output\n";
        return 1;
    };
    if (all.empty())
        return usageError("no command given");
    const std::string& command = all.front();
    if (command == "--help" || command == "-h" || command == "help")
        return print(UsageText());
    if (command == "--version")
        return print("tunetitler-cli " TUNETITLER_VERSION "\n");
    const std::vector<std::string> args(all.begin() + 1, all.end());
    for (const auto& arg : args) {
        if (arg == "--")
            break;  // what follows are names, even "--help"
        if (arg == "--help" || arg == "-h")
            return print(UsageText());
    }
    CatchStopSignals();
    const bool errIsTerminal = ::isatty(STDERR_FILENO) == 1;
    CommandStreams io{std::cin, std::cout, std::cerr, ::isatty(STDOUT_FILENO) == 1, errIsTerminal};
    try {
        if (command == "list")
            return RunList(args, io);
        if (command == "export")
            return RunExport(args, io);
        if (command == "rename")
            return RunRename(args, io);
        if (command == "copy")
            return RunCopy(args, io);
        if (command == "undo")
            return RunUndo(args, io);
        throw UsageError("unknown command '" + command + "'");
    } catch (const UsageError& error) {
        return usageError(error.what());
    } catch (const FolderArgumentError& error) {
        std::cerr << "tunetitler-cli: " << error.what() << '\n';
        return 1;
    } catch (const tt::FileError& error) {
        std::cerr << error.StandardText(PrintableName(error.path(), errIsTerminal)) << '\n';
        return 1;
    } catch (const std::bad_alloc&) {
        std::cerr << tt::kOutOfMemoryText << '\n';
        return 1;
    }
}
