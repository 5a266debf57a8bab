#include <ostream>

#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "cli/FolderArgument.h"
#include "cli/Options.h"
#include "cli/ScanFolder.h"
#include "engine/RenameEngine.h"
#include "export/NameListWriter.h"
#include "text/UiLanguage.h"

namespace tt::cli {

namespace {

NameListFormat ParseFormat(const std::string& value) {
    if (value == "tab")
        return NameListFormat::tabText;
    if (value == "blank")
        return NameListFormat::blankText;
    if (value == "xls")
        return NameListFormat::spreadsheet;
    throw UsageError("unknown format '" + value + "' (use tab, blank, xls)");
}

UiLanguage ParseLanguage(const std::string& value) {
    if (value == "en")
        return UiLanguage::english;
    if (value == "de")
        return UiLanguage::german;
    throw UsageError("unknown language '" + value + "' (use en, de)");
}

}  // namespace

int RunExport(const std::vector<std::string>& args, CommandStreams io) {
    SongTypes types;
    std::string formatName;
    UiLanguage language = UiLanguage::english;
    std::string output;
    std::string folder;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string value;
        if (!optionsEnded && args[i] == "--") {
            optionsEnded = true;
        } else if (optionsEnded || args[i].size() < 2 || args[i][0] != '-') {
            if (!folder.empty())
                throw UsageError("export takes one folder");
            folder = args[i];
        } else if (TakeOption(args, i, "--types", value)) {
            types = ParseTypes(value);
        } else if (TakeOption(args, i, "--format", value)) {
            formatName = value;
        } else if (TakeOption(args, i, "--language", value)) {
            language = ParseLanguage(value);
        } else if (TakeOption(args, i, "-o", value)) {
            output = value;
        } else {
            throw UsageError("unknown option '" + args[i] + "' for export");
        }
    }
    if (formatName.empty())
        throw UsageError("export needs --format");
    const NameListFormat format = ParseFormat(formatName);
    if (output.empty())
        throw UsageError("export needs -o FILE");
    if (folder.empty())
        throw UsageError("export needs a folder");

    CheckFolderArgument(folder, "folder", FolderUse::read);
    SetUiLanguage(language);
    CliUi ui(io.in, io.err);
    ui.progressToTerminal = io.errIsTerminal;
    ui.errIsTerminal = io.errIsTerminal;
    RenameEngine engine(SystemFileSystem(), ui.FrontEnd());
    ScanFolder(engine, folder, types);
    if (output == "-") {
        const std::string content = NameListContent(engine.songFiles(), format);
        io.out.write(content.data(), static_cast<std::streamsize>(content.size()));
        io.out.flush();
        return ui.errorShown || !io.out ? 1 : 0;
    }
    // Any other file error propagates to main, which prints its standard text.
    try {
        WriteNameList(SystemFileSystem(), output, engine.songFiles(), format);
    } catch (const NameListFolderError& error) {
        io.err << FolderTargetText(ui.PathInText(error.path())) << '\n';
        return 1;
    }
    return ui.errorShown ? 1 : 0;
}

}  // namespace tt::cli
