#include "engine/Messages.h"

#include "text/UiLanguage.h"

namespace tt {

std::string NothingFoundMessage(bool midFiles, bool styFiles, bool patFiles) {
    const int on = int(midFiles) + int(styFiles) + int(patFiles);
    if (on == 1 && midFiles)
        return Tr("No midi files found in this folder!",
                  "Keine Midi-Dateien in diesem Verzeichnis vorhanden!");
    if (on == 1 && styFiles)
        return Tr("No style files found in this folder!",
                  "Keine Style-Dateien in diesem Verzeichnis vorhanden!");
    if (on == 1 && patFiles)
        return Tr("No pattern files found in this folder!",
                  "Keine Pattern-Dateien in diesem Verzeichnis vorhanden!");
    return Tr("No matching files found in this folder!",
              "Keine passenden Dateien in diesem Verzeichnis vorhanden!");
}

std::string SourceChangedMessage() {
    return Tr(
        "Source files have been changed (probably floppy disk changed)!\n\n"
        "The current action will be aborted and the files are reloaded.",
        "Die Ouelldateien wurden ver\xC3\xA4ndert (evtl. durch einen Diskettenwechsel)!\n\n"
        "Der Vorgang wird abgebrochen und die Dateien werden neu geladen.");
}

std::string OverwriteQuestion(const std::string& path) {
    const std::string text = Tr("File  '%s'  already exists!\n\nOverwrite?",
                                "Datei  '%s'  ist bereits vorhanden!\n\n\xC3\x9C"
                                "berschreiben?");
    const auto pos = text.find("%s");
    return text.substr(0, pos) + path + text.substr(pos + 2);
}

std::string FileTooLargeMessage(const std::string& path) {
    return path + ": " +
           Tr("Files larger than 1 MB cannot be handled!",
              "Dateien gr\xC3\xB6\xC3\x9F"
              "er als 1 MB k\xC3\xB6nnen nicht verarbeitet werden!");
}

}  // namespace tt
