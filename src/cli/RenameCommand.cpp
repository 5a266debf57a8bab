#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "cli/FolderArgument.h"
#include "cli/JournalServices.h"
#include "cli/NameEscape.h"
#include "cli/Options.h"
#include "cli/ScanFolder.h"
#include "cli/StopSignals.h"
#include "engine/RenameEngine.h"
#include "platform/PathText.h"

namespace tt::cli {

namespace {

struct TransferOptions {
    SongTypes types;
    bool companions = true;
    std::optional<OverwriteAnswer> overwrite;  // empty: ask on the terminal
    bool edit = false;
    std::string destination;
    std::string folder;
    std::vector<std::string> names;  // empty: every entry
};

std::optional<OverwriteAnswer> ParseOverwrite(const std::string& value) {
    if (value == "ask")
        return std::nullopt;
    if (value == "yes")
        return OverwriteAnswer::yes;
    if (value == "no")
        return OverwriteAnswer::no;
    throw UsageError("unknown --overwrite answer '" + value + "' (use ask, yes, no)");
}

TransferOptions ParseTransferOptions(const std::vector<std::string>& args, bool bCopy) {
    const std::string command = bCopy ? "copy" : "rename";
    TransferOptions options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string value;
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            if (options.folder.empty())
                options.folder = arg;
            else
                options.names.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (TakeOption(args, i, "--types", value)) {
            options.types = ParseTypes(value);
        } else if (arg == "--companions") {
            options.companions = true;
        } else if (arg == "--no-companions") {
            options.companions = false;
        } else if (TakeOption(args, i, "--overwrite", value)) {
            options.overwrite = ParseOverwrite(value);
        } else if (arg == "--edit") {
            options.edit = true;
        } else if (bCopy && TakeOption(args, i, "--to", value)) {
            if (value.empty())
                throw UsageError("--to needs a folder");
            options.destination = value;
        } else {
            throw UsageError("unknown option '" + arg + "' for " + command);
        }
    }
    if (options.folder.empty())
        throw UsageError(command + " needs a folder");
    if (bCopy && options.destination.empty())
        throw UsageError("copy needs --to DEST");
    return options;
}

// Selects the rows of the entries named on the command line, or every row.
void SelectRows(const RenameEngine& engine, const TransferOptions& options, CliUi& ui) {
    const SongFileList& list = engine.songFiles();
    if (options.names.empty()) {
        for (std::int32_t row = 0; row < list.count(); ++row)
            ui.selected.insert(row);
        return;
    }
    for (const std::string& name : options.names) {
        std::int32_t row = 0;
        while (row < list.count() && list.ElementAt(row).fileName != name)
            ++row;
        if (row == list.count())
            throw UsageError("no song file named '" + name + "' is listed in " + options.folder);
        ui.selected.insert(row);
    }
}

int RunTransfer(const std::vector<std::string>& args, CommandStreams io, bool bCopy) {
    const TransferOptions options = ParseTransferOptions(args, bCopy);
    CheckFolderArgument(options.folder, "folder", FolderUse::read);
    if (bCopy)
        CheckFolderArgument(options.destination, "destination folder", FolderUse::write);

    CliUi ui(io.in, io.err);
    ui.progressToTerminal = io.errIsTerminal;
    ui.errIsTerminal = io.errIsTerminal;
    ui.presetOverwrite = options.overwrite;
    ui.destination = options.destination;
    RenameEngine engine(SystemFileSystem(), ui.FrontEnd());
    OperationJournal journal(SystemFileSystem(), DefaultJournalFolder());
    const std::unique_ptr<Trash> trash = MakeTrash();
    engine.SetJournal(&journal, trash.get());
    ScanFolder(engine, options.folder, options.types);
    SelectRows(engine, options, ui);

    // Entries the user named but that have no title are passed over by the
    // operation; say so, as silence would look like success. The names are kept:
    // a song found changed meanwhile makes the operation read the list again.
    std::map<std::int32_t, std::string> selectedNames;
    for (const std::int32_t row : ui.selected) {
        const SongFileEntry& entry = engine.songFiles().ElementAt(row);
        selectedNames[row] = entry.fileName;
        if (!entry.titleFound && !options.names.empty())
            io.err << PrintableName(entry.fileName, io.errIsTerminal) << ": " << kNoTitleFound
                   << ", left as it is\n";
    }

    engine.SetEditNames(options.edit);
    engine.SetCorrespondingFiles(options.companions);
    const int warningsBefore = ui.warningCount;
    // Every file is printed as it is done, so a stop or a kill leaves a true list.
    ui.out = &io.out;
    ui.outIsTerminal = io.outIsTerminal;
    engine.RenameSelectedFiles(bCopy);

    // The titled songs the operation left alone: the target existed and was not to
    // be overwritten, was held by a listed song or its companion, the file changed,
    // or the run was cancelled or ended by an error before them. A song that went
    // is not among them, also when its companions then failed.
    for (const std::int32_t row : ui.rowsLeft)
        io.err << PrintableName(selectedNames[row], io.errIsTerminal) << ": left as it is\n";
    for (const std::string& path : ui.companionsLeft)
        io.err << PrintableName(NameOf(path), io.errIsTerminal) << ": left as it is\n";

    if (const int signal = StopSignal())
        return ExitStatusAfter(signal);
    if (ui.cancelled)
        io.err << "tunetitler-cli: cancelled\n";

    // Done means every selected song went, or stayed by the user's own No.
    const bool failed =
        ui.errorShown || ui.warningCount > warningsBefore || ui.cancelled || ui.songLeftUnwanted;
    return failed || !io.out ? 1 : 0;
}

}  // namespace

int RunRename(const std::vector<std::string>& args, CommandStreams io) {
    return RunTransfer(args, io, false);
}

int RunCopy(const std::vector<std::string>& args, CommandStreams io) {
    return RunTransfer(args, io, true);
}

}  // namespace tt::cli
