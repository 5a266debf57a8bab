#include <ctime>
#include <ostream>

#include "cli/Commands.h"
#include "cli/FolderArgument.h"
#include "cli/JournalServices.h"
#include "cli/NameEscape.h"
#include "cli/Options.h"
#include "engine/JournalMessages.h"
#include "engine/Undo.h"
#include "platform/JournalFile.h"
#include "platform/PathText.h"

namespace tt::cli {

namespace {

std::string LocalTime(long long seconds) {
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm local{};
    ::localtime_r(&time, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

// One line per journaled operation on `folder`, newest first: when, what, how
// many files it moved or copied, and whether it was taken back or cut short.
int ListOperations(const std::string& folder, CommandStreams io) {
    const std::string wanted = ResolvedFolder(folder);
    const auto journals = ReadJournals(SystemFileSystem(), DefaultJournalFolder());
    for (auto op = journals.rbegin(); op != journals.rend(); ++op) {
        if (op->folder != wanted)
            continue;
        int files = 0;
        for (const JournalStep& step : op->steps)
            files += step.kind != JournalStep::Kind::trash && step.done;
        io.out << LocalTime(op->startTime) << '\t' << (op->copy ? "copy" : "rename") << '\t'
               << files << (files == 1 ? " file" : " files") << '\t'
               << (op->undone  ? "undone"
                   : op->ended ? "done"
                               : "interrupted");
        if (op->copy)
            io.out << "\tto " << PrintableName(op->destination, io.outIsTerminal);
        io.out << '\n';
    }
    io.out.flush();
    return io.out ? 0 : 1;
}

}  // namespace

int RunUndo(const std::vector<std::string>& args, CommandStreams io) {
    bool list = false;
    std::string folder;
    for (const std::string& arg : args) {
        if (arg == "--list")
            list = true;
        else if (arg.size() > 1 && arg[0] == '-')
            throw UsageError("unknown option '" + arg + "' for undo");
        else if (folder.empty())
            folder = arg;
        else
            throw UsageError("undo takes one folder");
    }
    if (folder.empty())
        folder.push_back('.');  // the current folder
    CheckFolderArgument(folder, "folder", list ? FolderUse::read : FolderUse::write);
    RecoverFolder(folder, io.err, io.errIsTerminal);
    if (list)
        return ListOperations(folder, io);

    const std::unique_ptr<Trash> trash = MakeTrash();
    const UndoOutcome outcome =
        UndoLastOperation(SystemFileSystem(), trash.get(), DefaultJournalFolder(), folder);
    if (!outcome.found) {
        io.err << "tunetitler-cli: nothing to undo in " << PrintableName(folder, io.errIsTerminal)
               << '\n';
        return 1;
    }
    const auto name = [&io](const std::string& path) {
        return PrintableName(NameOf(path), io.outIsTerminal);
    };
    for (const auto& [from, to] : outcome.movedBack)
        io.out << name(from) << " -> " << name(to) << '\n';
    for (const std::string& path : outcome.trashed)
        io.out << PrintableName(CopyToTrash(NameOf(path)), io.outIsTerminal) << '\n';
    for (const std::string& path : outcome.restored)
        io.out << PrintableName(RestoredFromTrash(NameOf(path)), io.outIsTerminal) << '\n';
    io.out.flush();
    for (const std::string& problem : outcome.problems)
        io.err << PrintableName(problem, io.errIsTerminal) << '\n';
    return outcome.problems.empty() && io.out ? 0 : 1;
}

}  // namespace tt::cli
