#include "app/CommandLine.h"

#include <QDir>
#include <QString>
#include <cstdio>
#include <string_view>
#include <vector>

#include "desktop/HelpPage.h"
#include "desktop/MessageBoxes.h"
#include "text/UiLanguage.h"

namespace tt {
namespace {

enum class Request { none, help, version, helpPages };

// The first option of ours on the command line. Everything else is left to Qt
// (-platform, -style ...), which takes its options when the application starts.
Request FindRequest(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--")
            break;
        if (arg == "--help" || arg == "-h")
            return Request::help;
        if (arg == "--version")
            return Request::version;
        // Not in the usage text: prints the pages the Help button would open, in
        // English and in German, one line each (empty when there is none), so that
        // an installed copy can be checked without a window.
        if (arg == "--print-help-page")
            return Request::helpPages;
    }
    return Request::none;
}

std::string HelpPagesText(bool& bothFound) {
    const QString startDir = QDir::currentPath();
    const QString english = FindHelpPage(startDir, false);
    const QString german = FindHelpPage(startDir, true);
    bothFound = !english.isEmpty() && !german.isEmpty();
    // The paths' own bytes, as the file system knows them.
    return PathToCore(english) + '\n' + PathToCore(german) + '\n';
}

// Writes `text` to standard output; a failed write (a full disk, a closed pipe)
// is an error, not a success.
bool Print(const std::string& text) {
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    return std::fflush(stdout) == 0 && written;
}

// `path` with empty and "." steps dropped and each ".." taking the step before
// it away; absolute, without a trailing '/' (the root stays "/").
std::string CleanAbsolutePath(std::string_view path) {
    std::vector<std::string_view> steps;
    while (!path.empty()) {
        const std::size_t slash = path.find('/');
        const std::string_view step = path.substr(0, slash);
        path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
        if (step == "..") {
            if (!steps.empty())
                steps.pop_back();
        } else if (!step.empty() && step != ".") {
            steps.push_back(step);
        }
    }
    std::string clean;
    for (const std::string_view step : steps)
        (clean += '/') += step;
    return clean.empty() ? std::string("/") : clean;
}

}  // namespace

std::string FolderArgument(int argc, char** argv, const std::string& currentDir) {
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg.empty() || (!optionsEnded && arg.front() == '-'))
            continue;
        if (arg.front() == '/')
            return CleanAbsolutePath(arg);
        return CleanAbsolutePath(currentDir + '/' + std::string(arg));
    }
    return {};
}

std::optional<int> HandleCommandLine(int argc, char** argv) {
    std::string text;
    bool failed = false;
    switch (FindRequest(argc, argv)) {
        case Request::none:
            return std::nullopt;
        case Request::help:
            // The language is only known once the settings are read, which this
            // option must not do: the text is in the start language.
            text =
                Tr("Usage: Tunetitler [FOLDER]\n"
                   "       Tunetitler --help | --version\n"
                   "\n"
                   "Renames song files (Standard MIDI *.mid, style *.sty and pattern *.pat\n"
                   "files) after the title stored inside them. Started without options, it\n"
                   "opens its window. Given a FOLDER, it lists the song files there at once,\n"
                   "as if the folder had been chosen with Select Folder; when Tunetitler is\n"
                   "already running, that copy comes to the front and lists the FOLDER.\n"
                   "\n"
                   "Options:\n"
                   "  -h, --help  show this text\n"
                   "  --version   show the version\n"
                   "\n"
                   "The command-line tool tunetitler-cli does the same from a terminal.\n",
                   "Aufruf: Tunetitler [ORDNER]\n"
                   "        Tunetitler --help | --version\n"
                   "\n"
                   "Benennt Song-Dateien (Standard-MIDI *.mid, Style *.sty und Pattern *.pat)\n"
                   "nach dem darin gespeicherten Titel um. Ohne Optionen gestartet, öffnet es\n"
                   "sein Fenster. Mit einem ORDNER listet es gleich dessen Song-Dateien, als\n"
                   "wäre der Ordner mit „Ordner wählen“ gewählt worden; läuft Tunetitler\n"
                   "schon, kommt das laufende Programm nach vorn und listet den ORDNER.\n"
                   "\n"
                   "Optionen:\n"
                   "  -h, --help  diesen Text zeigen\n"
                   "  --version   die Version zeigen\n"
                   "\n"
                   "Das Kommandozeilenwerkzeug tunetitler-cli macht dasselbe im Terminal.\n");
            break;
        case Request::version:
            text = "Tunetitler " TUNETITLER_VERSION "\n";
            break;
        case Request::helpPages: {
            bool bothFound = false;
            text = HelpPagesText(bothFound);
            failed = !bothFound;
            break;
        }
    }
    if (!Print(text)) {
        std::perror("Tunetitler: standard output");
        return 1;
    }
    return failed ? 1 : 0;
}

}  // namespace tt
