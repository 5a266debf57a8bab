#include "cli/Options.h"

namespace tt::cli {

SongTypes ParseTypes(const std::string& list) {
    SongTypes types{false, false, false};
    std::size_t start = 0;
    while (start <= list.size()) {
        const auto comma = list.find(',', start);
        const std::string item =
            list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (item == "mid")
            types.mid = true;
        else if (item == "sty")
            types.sty = true;
        else if (item == "pat")
            types.pat = true;
        else
            throw UsageError("unknown song type '" + item + "' (use mid, sty, pat)");
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return types;
}

bool TakeOption(const std::vector<std::string>& args, std::size_t& i, const std::string& option,
                std::string& value) {
    const std::string& arg = args[i];
    if (arg == option) {
        if (i + 1 >= args.size())
            throw UsageError(option + " needs a value");
        value = args[++i];
        return true;
    }
    if (arg.rfind(option + "=", 0) == 0) {
        value = arg.substr(option.size() + 1);
        return true;
    }
    return false;
}

const char* UsageText() {
    return "Usage: tunetitler-cli COMMAND [OPTIONS] DIR\n"
           "\n"
           "Reads the song title stored in every song file of DIR (Standard MIDI *.mid,\n"
           "style *.sty and pattern *.pat files) and proposes a new file name made from it.\n"
           "\n"
           "Commands:\n"
           "  list [--types LIST] DIR\n"
           "      Prints one line per song file, in list order: the old file name, a tab,\n"
           "      and the new name or <no title found>.\n"
           "  export [--types LIST] --format tab|blank|xls [--language en|de] -o FILE DIR\n"
           "      Saves the list of old and new names to FILE: tab text, text aligned\n"
           "      with blanks, or the tab text for a spreadsheet, with the headings in\n"
           "      English (default) or German. An existing FILE is replaced whole.\n"
           "\n"
           "Options:\n"
           "  --types LIST   comma-separated subset of mid,sty,pat (default: all three)\n"
           "  --help         show this text\n"
           "\n"
           "Exit status: 0 on success (also when no song file is found), 1 when a file\n"
           "error was reported, 2 on a usage error.\n";
}

}  // namespace tt::cli
