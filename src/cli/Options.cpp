#include "cli/Options.h"

#include "platform/PathText.h"

namespace tt::cli {

SongTypes ParseTypes(const std::string& list) {
    SongTypes types{false, false, false};
    std::size_t start = 0;
    while (start <= list.size()) {
        const auto comma = list.find(',', start);
        // The kinds in any letter case, as file names carry them: MID, Sty ...
        const std::string item = FoldAsciiCase(
            list.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
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
           "       tunetitler-cli --help | --version\n"
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
           "      English (default) or German. An existing FILE is replaced whole;\n"
           "      - writes to standard output.\n"
           "  rename [--types LIST] [--companions|--no-companions] [--overwrite ask|yes|no]\n"
           "         [--edit] DIR [NAME...]\n"
           "      Renames the song files named NAME (old file names; default: every file\n"
           "      listed) in DIR to their new names, taking along the files that share a\n"
           "      song file's name and differ in extension (lyrics ...). Prints one line\n"
           "      'old -> new' per file renamed. Files without a title stay as they are.\n"
           "  copy [--types LIST] [--companions|--no-companions] [--overwrite ask|yes|no]\n"
           "       [--edit] --to DEST DIR [NAME...]\n"
           "      Copies those files under their new names into DEST instead; the\n"
           "      originals stay as they are.\n"
           "  undo [--list] [DIR]\n"
           "      Takes back the last rename or copy in DIR (default: the current folder):\n"
           "      every file goes back to its old name, in reverse order, printed as\n"
           "      'new -> old'; copies go to the trash, and files a rename or copy replaced\n"
           "      come back from it. A file changed since, or whose old name is taken, is\n"
           "      left as it is and named on standard error. Nothing is replaced or\n"
           "      deleted. Run again, undo takes back the operation before. --list shows\n"
           "      the operations kept for DIR, newest first.\n"
           "\n"
           "Every rename and copy keeps a journal in $XDG_STATE_HOME/Quillmoor/Tunetitler\n"
           "(~/.local/state/... by default; the last 20 operations). A run cut short (a\n"
           "kill, a power cut, a pulled stick) is put right the next time a command\n"
           "lists its folder, and what was done is told on standard error. Ctrl-C\n"
           "(SIGINT), SIGTERM and SIGHUP stop a rename or copy after the file at hand;\n"
           "each 'old -> new' line is printed as its file is done.\n"
           "\n"
           "Options:\n"
           "  --types LIST   comma-separated subset of mid,sty,pat, in any letter case\n"
           "                 (default: all three)\n"
           "  --companions   take files with the same name and another extension along\n"
           "                 (the default); --no-companions leaves them alone\n"
           "  --overwrite A  when a target exists: ask once on the terminal (ask, the\n"
           "                 default), or answer in advance: yes overwrites every existing\n"
           "                 target, no leaves every such file as it is; a song listed\n"
           "                 in DIR, or a file beside it that it claims as its companion,\n"
           "                 is never overwritten (the file that needs its name waits for\n"
           "                 it to move on, or is left as it is)\n"
           "  --edit         ask for each new name on the terminal before it is used\n"
           "                 (refused, and asked again: a leading dot, '/', control\n"
           "                 characters, more than 255 bytes)\n"
           "  --             ends the options, in every command (for a DIR or NAME that\n"
           "                 begins with '-')\n"
           "  --help         show this text\n"
           "  --version      show the version (alone, in place of COMMAND)\n"
           "\n"
           "A DIR or DEST that does not exist, is no folder or may not be used is\n"
           "reported before anything is done.\n"
           "\n"
           "Answers typed on the terminal may end in CR LF. Copies onto a medium that\n"
           "ignores letter case get numbered names where names differ in case alone\n"
           "(Tune.mid, TUNE_1.mid); the names printed are those on the medium.\n"
           "\n"
           "Exit status: 0 when every selected song was done or left by a No to the\n"
           "overwrite question (also when no song file is found); 1 when a file error\n"
           "or a warning was reported, a folder cannot be used, standard output cannot\n"
           "be written, the run was cancelled with files left (c, end of input;\n"
           "'cancelled' is said on standard error), or a song was left for another\n"
           "reason (its new name held, its file changed meanwhile), or undo could not\n"
           "take every file back (or found nothing to undo); 2 on a usage error; 128 +\n"
           "the signal's number after a stop by a signal (130 SIGINT, 143 SIGTERM, 129\n"
           "SIGHUP).\n";
}

}  // namespace tt::cli
