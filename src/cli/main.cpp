// tunetitler-cli: the core's command-line tool.
#include <unistd.h>

#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/FolderArgument.h"
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
    if (all.empty())
        return usageError("no command given");
    const std::string& command = all.front();
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << UsageText();
        return 0;
    }
    if (command == "--version") {
        if (std::cout << "tunetitler-cli " TUNETITLER_VERSION "\n" << std::flush)
            return 0;
        std::cerr << "tunetitler-cli: cannot write to standard output\n";
        return 1;
    }
    const std::vector<std::string> args(all.begin() + 1, all.end());
    for (const auto& arg : args) {
        if (arg == "--help" || arg == "-h") {
            std::cout << UsageText();
            return 0;
        }
    }
    CatchStopSignals();
    CommandStreams io{std::cin, std::cout, std::cerr, ::isatty(STDOUT_FILENO) == 1,
                      ::isatty(STDERR_FILENO) == 1};
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
        std::cerr << error.StandardText() << '\n';
        return 1;
    } catch (const std::bad_alloc&) {
        std::cerr << tt::kOutOfMemoryText << '\n';
        return 1;
    }
}
