#include <ostream>

#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "cli/FolderArgument.h"
#include "cli/NameEscape.h"
#include "cli/Options.h"
#include "cli/ScanFolder.h"
#include "engine/RenameEngine.h"

namespace tt::cli {

int RunList(const std::vector<std::string>& args, CommandStreams io) {
    SongTypes types;
    std::string folder;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string value;
        if (!optionsEnded && args[i] == "--") {
            optionsEnded = true;
        } else if (optionsEnded || args[i].size() < 2 || args[i][0] != '-') {
            if (!folder.empty())
                throw UsageError("list takes one folder");
            folder = args[i];
        } else if (TakeOption(args, i, "--types", value)) {
            types = ParseTypes(value);
        } else {
            throw UsageError("unknown option '" + args[i] + "' for list");
        }
    }
    if (folder.empty())
        throw UsageError("list needs a folder");

    CheckFolderArgument(folder, "folder", FolderUse::read);
    CliUi ui(io.in, io.err);
    ui.progressToTerminal = io.errIsTerminal;
    ui.errIsTerminal = io.errIsTerminal;
    RenameEngine engine(SystemFileSystem(), ui.FrontEnd());
    ScanFolder(engine, folder, types);

    std::string texts[2];
    for (std::int32_t row = 0; row < engine.songFiles().count(); ++row) {
        engine.GetRowTexts(row, texts);
        io.out << PrintableName(texts[0], io.outIsTerminal) << '\t'
               << PrintableName(texts[1], io.outIsTerminal) << '\n';
    }
    io.out.flush();
    // An input/output error while reading a title was shown; the list is still printed.
    return io.out && !ui.errorShown ? 0 : 1;
}

}  // namespace tt::cli
